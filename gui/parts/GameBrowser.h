#pragma once

// The game directory frame: the drive and directory lists of the directory the compiled map is copied to,
// with room below them for the controls that go with the copy.

#include <QGroupBox>

#include <optional>

class QVBoxLayout;

namespace qmx {

class DriveList;
class DirList;

class GameBrowser : public QGroupBox
{
    Q_OBJECT
public:
    explicit GameBrowser(QWidget* parent);

    // The open directory, Windows-form.
    QString gameDir() const;
    // Opens the stored "LastMapDir" when it is usable, else the launcher's "Steamapps" folder.
    void restore(const std::optional<QString>& launcherPath);
    void setCaptions();
    // Where the controls under the lists go.
    QVBoxLayout* rows() const { return m_rows; }

private:
    DriveList* m_drives = nullptr;
    DirList* m_dirs = nullptr;
    QVBoxLayout* m_rows = nullptr;
};

} // namespace qmx
