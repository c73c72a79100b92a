// The help command lines built for each platform (built, never run).

#include "aux_windows/Help.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(HelpCommand, EachPlatformGetsItsCommandLines)
{
    using P = qmx::HelpPlatform;
    const std::map<QString, QString> both{{QStringLiteral("xchm"), QStringLiteral("/usr/bin/xchm")},
                                          {QStringLiteral("kchmviewer"), QStringLiteral("/usr/bin/kchmviewer")}};
    struct Case
    {
        P platform;
        QString windowsDir;
        std::map<QString, QString> installed; // programs on the PATH
        QString expected; // the attempts in order
        QString helpName = QStringLiteral("help.chm"); // as it lies in the program directory
    } const cases[] = {
        // Windows: hh.exe with the unquoted path; viewers on a PATH are never used.
        {P::Windows, QStringLiteral("C:\\QMX"), both, QStringLiteral("start hh.exe C:\\QMX\\help.chm")},
        {P::Windows,
         QStringLiteral("D:\\Program Files\\K\u00e4rten"),
         {},
         QStringLiteral("start hh.exe D:\\Program Files\\K\u00e4rten\\help.chm")},
        {P::Windows, QStringLiteral("C:"), {}, QStringLiteral("start hh.exe C:\\help.chm")},
        // Linux: the first CHM viewer found, quoted, then the HTML copy in the browser.
        {P::Linux, QStringLiteral("Z:\\x"), both,
         QStringLiteral("start \"/usr/bin/xchm\" \"/home/me/qmx gui \u00fc/help.chm\"|"
                        "open /home/me/qmx gui \u00fc/help/index.html")},
        {P::Linux,
         QStringLiteral("Z:\\x"),
         {{QStringLiteral("kchmviewer"), QStringLiteral("/opt/kde bin/kchmviewer")}},
         QStringLiteral("start \"/opt/kde bin/kchmviewer\" \"/home/me/qmx gui \u00fc/Help.CHM\"|"
                        "open /home/me/qmx gui \u00fc/help/index.html"),
         QStringLiteral("Help.CHM")},
        {P::Linux, QStringLiteral("Z:\\x"), {}, QStringLiteral("open /home/me/qmx gui \u00fc/help/index.html")},
    };
    for (const Case& c : cases) {
        const auto finder = [&c](const QString& name) {
            const auto it = c.installed.find(name);
            return it == c.installed.end() ? QString() : it->second;
        };
        QStringList attempts;
        for (const auto& a : qmx::BuildHelpAttempts(c.platform, c.windowsDir, QStringLiteral("/home/me/qmx gui \u00fc"),
                                                    QStringLiteral("/home/me/qmx gui \u00fc/") + c.helpName, finder))
            attempts << (a.kind == qmx::HelpAttempt::StartProgram ? QStringLiteral("start ") : QStringLiteral("open "))
                    + a.target;
        EXPECT_EQ(attempts.join(QLatin1Char('|')).toStdString(), c.expected.toStdString())
            << c.windowsDir.toStdString();
    }
}

} // namespace
