#pragma once

#include <QComboBox>

namespace qmx {

// The classic drive list: Drive is the selected drive's text, beginning with the letter and colon
// ("c:"). Setting it, by the user or by code, raises Change at once.
class DriveList : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveList(const QString& name, QWidget* parent = nullptr);

    QString Drive() const;
    // Accepts any text that begins with a drive letter ("C:\", "c:/", "d:"); an unknown drive leaves
    // the list as it was.
    void setDrive(const QString& drive);
    // Re-reads the drives the system offers, keeping the selected one when it is still there.
    void refresh();

    // The drive letter of a text ("C:\maps" -> 'C'), or 0 when it does not begin with one.
    static char driveLetterOf(const QString& text);

signals:
    void Change();

private:
    void onUserSelection(int index);
    int indexOfLetter(char letter) const;
};

} // namespace qmx
