// The help command lines built for each platform (built, never run).

#include "gui/parts/HelpCommand.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(HelpCommand, EachPlatformGetsItsCommandLines)
{
    using P = qmx::HelpPlatform;
    const QString home = QStringLiteral("/home/me/qmx gui \u00fc"), html = "open " + home + "/help/index.html";
    const std::tuple<P, QString, QString, QString, QString> cases[] = {
        // platform, Windows program directory, viewers on the PATH, help file name, the attempts in order
        // Windows: hh.exe with the unquoted path; viewers on a PATH are never used.
        {P::Windows, "D:\\Program Files\\K\u00e4rten", "/usr/bin/xchm", "help.chm",
         "start hh.exe D:\\Program Files\\K\u00e4rten\\help.chm"},
        // Linux: the first CHM viewer found, quoted, then the HTML copy in the browser.
        {P::Linux, "Z:\\x", "/opt/kde bin/kchmviewer|/usr/bin/xchm", "Help.CHM",
         "start \"/usr/bin/xchm\" \"" + home + "/Help.CHM\"|" + html},
        {P::Linux, "Z:\\x", "/opt/kde bin/kchmviewer", "help.chm",
         "start \"/opt/kde bin/kchmviewer\" \"" + home + "/help.chm\"|" + html},
        {P::Linux, "Z:\\x", "", "help.chm", html},
    };
    for (const auto& [platform, windowsDir, installed, helpName, expected] : cases) {
        const auto finder = [&installed = installed](const QString& name) {
            const QStringList found = installed.split(QLatin1Char('|')).filter(QLatin1Char('/') + name);
            return found.isEmpty() ? QString() : found.first();
        };
        QStringList attempts;
        for (const auto& a : qmx::BuildHelpAttempts(platform, windowsDir, home, home + '/' + helpName, finder))
            attempts << (a.kind == qmx::HelpAttempt::StartProgram ? "start " : "open ") + a.target;
        EXPECT_EQ(attempts.join(QLatin1Char('|')).toStdString(), expected.toStdString()) << windowsDir.toStdString();
    }
}

} // namespace
