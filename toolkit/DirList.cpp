#include "toolkit/DirList.h"

namespace qmx {

DirList::DirList(const QString& name, QWidget* parent)
    : QListWidget(parent)
{
    setObjectName(name);
}

void DirList::setPath(const QString& path)
{
    m_path = path;
    emit Change();
}

void DirList::refresh()
{
}

} // namespace qmx
