#pragma once

// The map directory frame: the drive, directory and file lists in which the user picks a .vmf. A pick is
// stored at once, so the next start opens where the user left off.

#include <QGroupBox>

namespace qmx {

class DriveList;
class DirList;
class FileList;

class MapBrowser : public QGroupBox
{
    Q_OBJECT
public:
    explicit MapBrowser(QWidget* parent);

    // The picked map's name ("" while none is picked) and its directory, Windows-form.
    QString mapFile() const;
    QString mapDir() const;
    // Opens the stored "LastDir" when it is usable; otherwise the lists stay where they are.
    void restore();
    void setCaptions();

private:
    DriveList* m_drives = nullptr;
    DirList* m_dirs = nullptr;
    FileList* m_files = nullptr;
};

// A stored directory is usable when it is not empty and holds at least one ordinary file whose name is not
// blank (subdirectories, hidden and system files do not count).
bool IsRestorableDirectory(const QString& path);
// Sets the drive list to the drive, then the directory list to the path on it; the directory list is left
// alone when the drive is unknown, so the path is never opened on a wrong drive.
void OpenOnDrive(DriveList& drives, DirList& dirs, const QString& drive, const QString& path);

} // namespace qmx
