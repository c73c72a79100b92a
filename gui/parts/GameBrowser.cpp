#include "gui/parts/GameBrowser.h"

#include "gui/parts/MapBrowser.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/DriveList.h"
#include "gui/toolkit/Texts.h"

#include <QVBoxLayout>

namespace qmx {

namespace {
// The launcher's own file name that the fallback cuts off, and the three characters of its drive.
constexpr int kLauncherNameLength = 9;
constexpr int kDrivePrefixLength = 3;
} // namespace

GameBrowser::GameBrowser(QWidget* parent)
    : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame4"));
    m_drives = new DriveList(QStringLiteral("Drive2"), this);
    m_drives->setAccessibleName(tr("Game drive"));
    m_dirs = new DirList(QStringLiteral("Dir2"), this);
    m_dirs->setAccessibleName(tr("Game directories"));
    m_rows = new QVBoxLayout(this);
    m_rows->addWidget(m_drives);
    m_rows->addWidget(m_dirs, 1);
    connect(m_drives, &DriveList::Change, this, [this] { m_dirs->setPath(m_drives->Drive()); });
}

QString GameBrowser::gameDir() const
{
    return m_dirs->Path();
}

void GameBrowser::restore(const std::optional<QString>& launcherPath)
{
    const QString stored = setting(config::Setting::LastMapDir);
    if (IsRestorableDirectory(stored)) {
        OpenOnDrive(*m_drives, *m_dirs, stored.left(kDrivePrefixLength), stored.mid(2));
        return;
    }
    if (!launcherPath)
        return;
    const QString& launcher = *launcherPath;
    const int middle = launcher.size() - kDrivePrefixLength - kLauncherNameLength;
    if (middle < 0)
        return;
    QString steamapps = launcher.mid(kDrivePrefixLength, middle);
    steamapps.replace(QLatin1Char('/'), QLatin1Char('\\'));
    OpenOnDrive(*m_drives, *m_dirs, launcher.left(kDrivePrefixLength), steamapps + QStringLiteral("Steamapps"));
}

void GameBrowser::setCaptions()
{
    setTitle(languageText(config::Text::Frame4));
}

} // namespace qmx
