#include "toolkit/FileList.h"

namespace qmx {

FileList::FileList(const QString& name, QWidget* parent)
    : QListWidget(parent)
{
    setObjectName(name);
}

void FileList::setPath(const QString& path)
{
    m_path = path;
    refresh();
}

void FileList::setPattern(const QString& pattern)
{
    m_pattern = pattern;
    refresh();
}

QString FileList::FileName() const
{
    const QListWidgetItem* item = currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void FileList::refresh()
{
}

} // namespace qmx
