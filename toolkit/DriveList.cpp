#include "toolkit/DriveList.h"

namespace qmx {

DriveList::DriveList(const QString& name, QWidget* parent)
    : QComboBox(parent)
{
    setObjectName(name);
}

QString DriveList::Drive() const
{
    return currentText();
}

void DriveList::setDrive(const QString& drive)
{
    Q_UNUSED(drive);
    emit Change();
}

void DriveList::refresh()
{
}

} // namespace qmx
