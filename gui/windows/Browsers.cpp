// The map and game directory browsers of the main window.

#include "gui/windows/Browsers.h"

#include "gui/toolkit/Application.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/DriveList.h"
#include "gui/toolkit/FileList.h"
#include "gui/toolkit/Module1Ini.h"
#include "gui/windows/Form1.h"

namespace {

// The launcher's own file name that the fallback cuts off, and the three characters of its drive.
constexpr int kLauncherNameLength = 9;
constexpr int kDrivePrefixLength = 3;

// Sets the drive list to the first three characters of a stored path, then the directory list to the
// rest; the directory list resolves the rest on the drive just chosen. Nothing happens to the
// directory list when the drive is unknown, so the path is never opened on a wrong drive.
void openOnDrive(qmx::DriveList& drives, qmx::DirList& dirs, const QString& drive, const QString& path)
{
    const char letter = qmx::DriveList::driveLetterOf(drive);
    drives.setDrive(drive);
    if (letter == 0 || qmx::DriveList::driveLetterOf(drives.Drive()) != letter)
        return;
    dirs.setPath(path);
}

} // namespace

void Form1::Form1_Drive1_Change()
{
    Dir1->setPath(Drive1->Drive());
}

void Form1::Form1_Dir1_Change()
{
    File1->setPath(Dir1->Path());
}

void Form1::Form1_Drive2_Change()
{
    Dir2->setPath(Drive2->Drive());
}

void Form1::Form1_File1_Click()
{
    Module1::SetSetting(qmx::config::Setting::LastFile, File1->FileName());
    Module1::SetSetting(qmx::config::Setting::LastDir, Dir1->Path());
}

namespace Module1 {

bool IsRestorableDirectory(const QString& path)
{
    if (path.isEmpty())
        return false;
    return !qmx::Dir(path + QStringLiteral("\\*.*")).trimmed().isEmpty();
}

void RestoreMapDirectory(Form1& form)
{
    const QString stored = Setting(qmx::config::Setting::LastDir);
    if (!IsRestorableDirectory(stored))
        return;
    openOnDrive(*form.Drive1, *form.Dir1, stored.left(kDrivePrefixLength), stored.mid(2));
}

void RestoreGameDirectory(Form1& form)
{
    const QString stored = Setting(qmx::config::Setting::LastMapDir);
    if (IsRestorableDirectory(stored)) {
        openOnDrive(*form.Drive2, *form.Dir2, stored.left(kDrivePrefixLength), stored.mid(2));
        return;
    }
    if (!form.LauncherPath)
        return;
    const QString& launcher = *form.LauncherPath;
    const int middle = launcher.size() - kDrivePrefixLength - kLauncherNameLength;
    if (middle < 0)
        return;
    QString steamapps = launcher.mid(kDrivePrefixLength, middle);
    steamapps.replace(QLatin1Char('/'), QLatin1Char('\\'));
    steamapps += QStringLiteral("Steamapps");
    openOnDrive(*form.Drive2, *form.Dir2, launcher.left(kDrivePrefixLength), steamapps);
}

} // namespace Module1
