#include "gui/parts/HelpCommand.h"

#include "core/os/Os.h"
#include "core/storage/ProgramFiles.h"
#include "gui/toolkit/Application.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace qmx {
namespace {

// One argument of a command line as startProgram splits it: double quotes group, so blanks in the
// program directory stay inside the one argument.
QString quotedArgument(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString joinedHostPath(QString dir, const QString& name)
{
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir.endsWith(QLatin1Char('/')) ? dir + name : dir + QLatin1Char('/') + name;
}

} // namespace

std::vector<HelpAttempt> BuildHelpAttempts(HelpPlatform platform, const QString& windowsProgramDir,
                                           const QString& hostProgramDir, const QString& hostHelpFile,
                                           const ProgramFinder& findProgram)
{
    if (platform == HelpPlatform::Windows)
        return {
            {HelpAttempt::StartProgram, QStringLiteral("hh.exe ") + windowsProgramDir + QStringLiteral("\\help.chm")}};

    std::vector<HelpAttempt> attempts;
    const QString& chm = hostHelpFile;
    for (const char* viewer : {"xchm", "kchmviewer"}) {
        const QString found = findProgram ? findProgram(QString::fromLatin1(viewer)) : QString();
        if (!found.isEmpty()) {
            attempts.push_back(
                {HelpAttempt::StartProgram, quotedArgument(found) + QLatin1Char(' ') + quotedArgument(chm)});
            break;
        }
    }
    // Also the fallback when the viewer is there but will not start.
    attempts.push_back({HelpAttempt::ShellOpen, joinedHostPath(hostProgramDir, QStringLiteral("help/index.html"))});
    return attempts;
}

HelpPlatform CurrentHelpPlatform()
{
#ifdef _WIN32
    return HelpPlatform::Windows;
#else
    return HelpPlatform::Linux;
#endif
}

bool OpenHelp(const std::vector<HelpAttempt>& attempts)
{
    for (const HelpAttempt& attempt : attempts) {
        const std::string target = attempt.target.toStdString();
        const bool started
            = attempt.kind == HelpAttempt::StartProgram ? os::startProgram(target) : os::shellOpen(target);
        if (started)
            return true;
    }
    return false;
}

void OpenHelpFile()
{
    const QString windowsDir = ProgramDirectory();
    QString hostDir = QString::fromStdString(os::toHostPath(windowsDir.toStdString()));
    if (hostDir.isEmpty())
        hostDir = QCoreApplication::applicationDirPath();
    QString hostHelp = QString::fromStdString(os::toHostPath(helpFilePath()));
    if (hostHelp.isEmpty())
        hostHelp = hostDir + QStringLiteral("/help.chm");
    OpenHelp(BuildHelpAttempts(CurrentHelpPlatform(), windowsDir, hostDir, hostHelp,
                               [](const QString& name) { return QStandardPaths::findExecutable(name); }));
}

} // namespace qmx
