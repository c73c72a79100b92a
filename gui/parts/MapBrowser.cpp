#include "gui/parts/MapBrowser.h"

#include "gui/toolkit/Application.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/DriveList.h"
#include "gui/toolkit/FileList.h"
#include "gui/toolkit/Texts.h"

#include <QGridLayout>

namespace qmx {

namespace {
// The three characters of a stored path's drive ("C:\").
constexpr int kDrivePrefixLength = 3;
} // namespace

MapBrowser::MapBrowser(QWidget* parent)
    : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame2"));
    m_drives = new DriveList(QStringLiteral("Drive1"), this);
    m_drives->setAccessibleName(tr("Map drive"));
    m_dirs = new DirList(QStringLiteral("Dir1"), this);
    m_dirs->setAccessibleName(tr("Map directories"));
    m_files = new FileList(QStringLiteral("File1"), this);
    m_files->setAccessibleName(tr("Map files"));
    m_files->setPattern(QStringLiteral("*.vmf"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_drives, 0, 0);
    layout->addWidget(m_dirs, 1, 0);
    layout->addWidget(m_files, 0, 1, 2, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    connect(m_drives, &DriveList::Change, this, [this] { m_dirs->setPath(m_drives->Drive()); });
    connect(m_dirs, &DirList::Change, this, [this] { m_files->setPath(m_dirs->Path()); });
    connect(m_files, &FileList::Click, this, [this] {
        storeSetting(config::Setting::LastFile, mapFile());
        storeSetting(config::Setting::LastDir, mapDir());
    });
}

QString MapBrowser::mapFile() const
{
    return m_files->FileName();
}

QString MapBrowser::mapDir() const
{
    return m_dirs->Path();
}

void MapBrowser::restore()
{
    const QString stored = setting(config::Setting::LastDir);
    if (IsRestorableDirectory(stored))
        OpenOnDrive(*m_drives, *m_dirs, stored.left(kDrivePrefixLength), stored.mid(2));
}

void MapBrowser::setCaptions()
{
    setTitle(languageText(config::Text::Frame2));
}

bool IsRestorableDirectory(const QString& path)
{
    return !path.isEmpty() && !Dir(path + QStringLiteral("\\*.*")).trimmed().isEmpty();
}

void OpenOnDrive(DriveList& drives, DirList& dirs, const QString& drive, const QString& path)
{
    const char letter = DriveList::driveLetterOf(drive);
    drives.setDrive(drive);
    if (letter != 0 && DriveList::driveLetterOf(drives.Drive()) == letter)
        dirs.setPath(path);
}

} // namespace qmx
