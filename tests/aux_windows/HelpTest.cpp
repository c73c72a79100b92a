// The help command: the command lines built for each platform, and what the main window's "?" starts.

#include "aux_windows/Help.h"
#include "FakeProgram.h"
#include "main_window/Form1.h"
#include "support/Recorders.h"
#include "support/Sandbox.h"

#include <QAction>
#include <QDir>

#include <gtest/gtest.h>

#include <map>

namespace qmx {
// Readable failures: found by the test framework beside the type.
void PrintTo(const HelpAttempt& a, std::ostream* os)
{
    *os << (a.kind == HelpAttempt::StartProgram ? "start " : "open ") << a.target.toStdString();
}
} // namespace qmx

namespace {

using qmx::HelpAttempt;
using qmx::HelpPlatform;

qmx::ProgramFinder finderOf(std::map<QString, QString> installed)
{
    return [installed](const QString& name) {
        const auto it = installed.find(name);
        return it == installed.end() ? QString() : it->second;
    };
}

TEST(HelpCommand, WindowsStartsTheHelpViewerWithTheUnquotedPath)
{
    struct Case
    {
        QString programDir;
        QString command;
    };
    const Case cases[] = {
        {QStringLiteral("C:\\QMX"), QStringLiteral("hh.exe C:\\QMX\\help.chm")},
        {QStringLiteral("C:\\Program Files\\QMX GUI II"),
         QStringLiteral("hh.exe C:\\Program Files\\QMX GUI II\\help.chm")},
        {QStringLiteral("D:\\Spiele\\K\u00e4rten"), QStringLiteral("hh.exe D:\\Spiele\\K\u00e4rten\\help.chm")},
        {QStringLiteral("C:"), QStringLiteral("hh.exe C:\\help.chm")},
    };
    for (const Case& c : cases) {
        // Viewers on a PATH play no part on Windows.
        const auto attempts
            = qmx::BuildHelpAttempts(HelpPlatform::Windows, c.programDir, QStringLiteral("/ignored"),
                                     finderOf({{QStringLiteral("xchm"), QStringLiteral("/usr/bin/xchm")}}));
        ASSERT_EQ(attempts.size(), 1u) << c.programDir.toStdString();
        EXPECT_EQ(attempts[0], (HelpAttempt{HelpAttempt::StartProgram, c.command}));
    }
}

TEST(HelpCommand, LinuxPrefersAChmViewerAndFallsBackToTheHtmlCopy)
{
    const QString dir = QStringLiteral("/home/me/qmx gui \u00fc");
    const QString chm = QStringLiteral("\"/home/me/qmx gui \u00fc/help.chm\"");
    const HelpAttempt browser{HelpAttempt::ShellOpen, QStringLiteral("/home/me/qmx gui \u00fc/help/index.html")};
    struct Case
    {
        const char* what;
        std::map<QString, QString> installed;
        std::vector<HelpAttempt> expected;
    };
    const Case cases[] = {
        {"both viewers",
         {{QStringLiteral("xchm"), QStringLiteral("/usr/bin/xchm")},
          {QStringLiteral("kchmviewer"), QStringLiteral("/usr/bin/kchmviewer")}},
         {{HelpAttempt::StartProgram, QStringLiteral("\"/usr/bin/xchm\" ") + chm}, browser}},
        {"kchmviewer only",
         {{QStringLiteral("kchmviewer"), QStringLiteral("/opt/kde bin/kchmviewer")}},
         {{HelpAttempt::StartProgram, QStringLiteral("\"/opt/kde bin/kchmviewer\" ") + chm}, browser}},
        {"no viewer", {}, {browser}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(qmx::BuildHelpAttempts(HelpPlatform::Linux, QStringLiteral("Z:\\home\\me\\qmx gui \u00fc"), dir,
                                         finderOf(c.installed)),
                  c.expected);
    }
}

#ifndef _WIN32
class HelpMenuTest : public testing::Test
{
protected:
    void SetUp() override { m_form = std::make_unique<Form1>(); }

    void chooseHelp()
    {
        auto* action = m_form->findChild<QAction*>(QStringLiteral("MenuHelp"));
        ASSERT_NE(action, nullptr);
        action->trigger();
    }

    qmxtest::Sandbox m_sandbox;
    std::unique_ptr<Form1> m_form;
};

TEST_F(HelpMenuTest, StartsTheViewerOnHelpChmInTheProgramDirectory)
{
    qmxtest::FakeProgram viewer(m_sandbox.makeDir(QStringLiteral("viewer bin")), QStringLiteral("xchm"));
    chooseHelp();
    EXPECT_EQ(viewer.waitForArguments(), QStringList{m_sandbox.hostPath(QStringLiteral("help.chm"))});
    EXPECT_TRUE(qmxtest::messages().empty());
}

TEST_F(HelpMenuTest, WithoutAViewerTheBrowserGetsTheHtmlCopy)
{
    QDir().mkpath(m_sandbox.hostPath(QStringLiteral("help")));
    m_sandbox.writeFile(QStringLiteral("help/index.html"), "<html></html>");
    qmxtest::FakeProgram browser(m_sandbox.makeDir(QStringLiteral("only browser")), QStringLiteral("xdg-open"),
                                 /*alone=*/true);
    chooseHelp();
    EXPECT_EQ(browser.waitForArguments(), QStringList{m_sandbox.hostPath(QStringLiteral("help/index.html"))});
}

TEST_F(HelpMenuTest, NothingToOpenTheHelpWithIsQuiet)
{
    qmxtest::FakeProgram unrelated(m_sandbox.makeDir(QStringLiteral("nothing")), QStringLiteral("unrelated"),
                                   /*alone=*/true);
    chooseHelp();
    EXPECT_TRUE(qmxtest::messages().empty());
    EXPECT_EQ(qmxtest::endProgramCount(), 0);
}
#endif

} // namespace
