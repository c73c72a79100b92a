// Picks a map, ticks options on all three pages, chooses Compile, and lets Wine's console run
// compile.bat with the stand-in tools; then checks what the tools got and what the user saw.

#include "compile/CompileFixture.h"

#include <QAction>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>

using CompileEndToEnd = CompileFixtureT<true>;

TEST_F(CompileEndToEnd, StandInToolsGetTheirCommandLinesThroughWine)
{
    const QString standins = QStringLiteral(QMX_STANDIN_DIR);
    if (QStandardPaths::findExecutable("wineconsole").isEmpty() || !QFile::exists(standins + "/qmxbsp.exe"))
        GTEST_SKIP() << "needs Wine and the stand-in tools (mingw-w64)";
    qputenv("PATH", m_realPath); // the real console, not the fixture's fake one
    const char* tools[] = {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"};
    for (const char* tool : tools)
        ASSERT_TRUE(QFile::copy(standins + "/" + tool, m_sdkDir + "/" + tool));
    const QString log = m_sandbox.hostPath("tools.log");
    qputenv("QMX_STANDIN_LOG", win(log).toUtf8());
    qputenv("vproject", "Z:\\my mods\\castle mod");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    pickMap();

    // One page at a time, as a user would: the tab must be current for its boxes to be clickable.
    const QStringList pages[] = {{"BSP", "BSPnowater", "BSPblocks", "BSPblocks_text=4 4 12"},
                                 {"VIS", "VISfast"},
                                 {"RAD", "RADnoextra", "RADlights", "RADlights_text=my lights.rad", "CopyFile"}};
    for (int page = 0; page < 3; ++page) {
        tick(pages[page].front());
        m_form->SSTab1->setCurrentIndex(page);
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_form->checkBox(pages[page][1])->isVisible(); }, 5000));
        for (const QString& name : pages[page].mid(1))
            tick(name);
    }
    m_form->MenuCompile->trigger(); // returns once the console has closed and the message was shown

    const QString switches[] = {" -nowater -blocks 4 4 12", "-fast", " -noextra -lights my lights.rad"};
    QString batch;
    for (int i = 0; i < 3; ++i)
        batch += QString("\"%1\\%2\" -game \"%vproject%\" %3 \"%4\\a.vmf\"\r\n")
                     .arg(win(m_sdkDir), tools[i], switches[i], win(m_mapDir));
    EXPECT_EQ(batchBytes(), batch.toLatin1());
    EXPECT_EQ(readHost(log), batch.replace("%vproject%", "Z:\\my mods\\castle mod").toLatin1()); // expanded
    ASSERT_EQ(messages().size(), 1u);
    const QRegularExpression words(
        QString("^\\Q%1\\E (\\d+ minutes? and )?\\d+ seconds?$").arg(Module1::LanguageText("Compile")));
    EXPECT_TRUE(words.match(messages()[0].prompt).hasMatch()) << messages()[0].prompt.toStdString();
    EXPECT_EQ(messages()[0].style, 64);
    EXPECT_TRUE(readHost(m_gameDir + "/a.bsp").startsWith("stand-in BSP compiled from "));
}
