// The whole loop a level designer runs, for real: pick a map, tick options on all three pages, compile
// through Wine with the stand-in tools, copy, and the stand-in game started through Wine on the copied
// map, from a directory whose path holds a blank and a non-ASCII letter. The tools and the game record how
// they were started.

#include "support/CompileFixture.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>

using EndToEnd = CompileFixture;

TEST_F(EndToEnd, CompileInWinesConsoleThenTheGameOnTheCopiedMap)
{
    if (QStandardPaths::findExecutable("wine").isEmpty())
        GTEST_SKIP() << "needs Wine";
    ASSERT_TRUE(
        qmx::game::writeGameCommand(win(m_gameExe).toStdString(), "-novid -dev +map $map -bsp $bsp -dir \"$gamedir\""));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    pickMap();

    // One page at a time, as a user would: the tab must be current for its boxes to be clickable.
    const QStringList pages[] = {{"BSP", "BSPnowater", "BSPblocks", "BSPblocks_text=4 4 12"},
                                 {"VIS", "VISfast"},
                                 {"RAD", "RADnoextra", "RADlights", "RADlights_text=my lights.rad", "CopyFile"}};
    for (int page = 0; page < 3; ++page) {
        tick(pages[page].front());
        child<QTabWidget>(m_form.get(), "SSTab1")->setCurrentIndex(page);
        ASSERT_TRUE(QTest::qWaitFor([&] { return child(m_form.get(), pages[page][1])->isVisible(); }, 5000));
        for (const QString& name : pages[page].mid(1))
            tick(name);
    }
    tick("RunMap");
    action("MenuCompile")->trigger();
    // The tools run while the window goes on; their end brings the time, the copy and the game.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form->compiling(); }, 120000));

    const char* tools[] = {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"};
    const QString switches[] = {" -nowater -blocks 4 4 12", "-fast", " -noextra -lights my lights.rad"};
    QString batch;
    for (int i = 0; i < 3; ++i)
        batch += QString("\"%1\\%2\" -game \"%vproject%\" %3 \"%4\\a.vmf\"\r\n")
                     .arg(win(m_sdkDir), tools[i], switches[i], win(m_mapDir));
    EXPECT_EQ(batchBytes(), batch.toLatin1());
    EXPECT_EQ(runRecord(), batchBytes().replace("%vproject%", "my mod")); // as the tools got them
    ASSERT_EQ(messages().size(), 1u);
    const QRegularExpression words(
        QString("^\\Q%1\\E (\\d+ minutes? and )?\\d+ seconds?$").arg(languageKey("Compile")));
    EXPECT_TRUE(words.match(messages()[0].prompt).hasMatch()) << messages()[0].prompt.toStdString();
    EXPECT_TRUE(isCompiledMap(readHost(m_gameDir + "/a.bsp")));
    const QString game = win(m_gameDir);
    EXPECT_EQ(gameRun(),
              "working directory: " + win(QFileInfo(m_gameExe).path())
                  + "\r\nargument: -novid\r\nargument: -dev\r\nargument: +map\r\nargument: a\r\n"
                    "argument: -bsp\r\nargument: "
                  + game + "\\a.bsp\r\nargument: -dir\r\nargument: " + game + "\r\n");
}
