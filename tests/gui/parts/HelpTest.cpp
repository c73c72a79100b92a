// The help command lines built for Linux (built, never run): the first CHM viewer found, quoted, then the HTML
// copy in the browser. (Windows gets hh.exe and the path.)

#include "gui/parts/HelpCommand.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(HelpCommand, ViewerOrBrowserOnLinux)
{
    const QString home = QStringLiteral("/home/me/qmx gui \u00fc"), html = "open " + home + "/help/index.html";
    const std::tuple<QString, QString, QString> cases[] = {
        // viewers on the PATH, the help file's name, the attempts in order
        {"/opt/kde bin/kchmviewer|/usr/bin/xchm", "Help.CHM",
         "start \"/usr/bin/xchm\" \"" + home + "/Help.CHM\"|" + html},
        {"/opt/kde bin/kchmviewer", "help.chm", "start \"/opt/kde bin/kchmviewer\" \"" + home + "/help.chm\"|" + html},
        {"", "help.chm", html},
    };
    for (const auto& [installed, helpName, expected] : cases) {
        const auto finder = [&installed = installed](const QString& name) {
            const QStringList found = installed.split(QLatin1Char('|')).filter(QLatin1Char('/') + name);
            return found.isEmpty() ? QString() : found.first();
        };
        QStringList attempts;
        for (const auto& a :
             qmx::BuildHelpAttempts(qmx::HelpPlatform::Linux, "Z:\\x", home, home + '/' + helpName, finder))
            attempts << (a.kind == qmx::HelpAttempt::StartProgram ? "start " : "open ") + a.target;
        EXPECT_EQ(attempts.join(QLatin1Char('|')).toStdString(), expected.toStdString());
    }
}

} // namespace
