#include "gui/toolkit/DriveList.h"

#include "core/os/Os.h"

#include <QDir>
#include <QSignalBlocker>

namespace qmx {

DriveList::DriveList(const QString& name, QWidget* parent)
    : QComboBox(parent)
{
    setObjectName(name);
    setAccessibleName(name);
    refresh();
    // Like the classic control, start on the drive of the current directory.
    const char current = driveLetterOf(QString::fromStdString(os::toWindowsPath(QDir::currentPath().toStdString())));
    const int index = indexOfLetter(current);
    if (index >= 0) {
        const QSignalBlocker blocker(this);
        setCurrentIndex(index);
    }
    connect(this, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &DriveList::onUserSelection);
}

QString DriveList::Drive() const
{
    const QVariant letter = currentData();
    if (!letter.isValid())
        return QString();
    return QString(QChar(letter.toChar().toLower())) + QLatin1Char(':');
}

void DriveList::setDrive(const QString& drive)
{
    const int index = indexOfLetter(driveLetterOf(drive));
    if (index < 0)
        return;
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(index);
    }
    emit Change();
}

void DriveList::refresh()
{
    const char selected = driveLetterOf(Drive());
    const QSignalBlocker blocker(this);
    clear();
    for (const os::Drive& d : os::drives()) {
        const QChar letter = QChar::fromLatin1(d.letter).toUpper();
        addItem(QString(letter.toLower()) + QLatin1Char(':'), letter);
        setItemData(count() - 1, QString::fromStdString(d.hostRoot), Qt::ToolTipRole);
    }
    const int index = indexOfLetter(selected);
    setCurrentIndex(index >= 0 ? index : (count() > 0 ? 0 : -1));
}

char DriveList::driveLetterOf(const QString& text)
{
    if (text.size() < 2 || text.at(1) != QLatin1Char(':'))
        return 0;
    const QChar c = text.at(0).toUpper();
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? c.toLatin1() : 0;
}

void DriveList::onUserSelection(int index)
{
    if (index >= 0)
        emit Change();
}

int DriveList::indexOfLetter(char letter) const
{
    if (letter == 0)
        return -1;
    for (int i = 0; i < count(); ++i) {
        if (itemData(i).toChar() == QChar::fromLatin1(letter))
            return i;
    }
    return -1;
}

} // namespace qmx
