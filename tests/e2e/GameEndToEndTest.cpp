// The whole loop a level designer runs: pick a map, compile in Wine's console with the stand-in tools,
// copy, and the stand-in game started through Wine on the copied map, from a directory whose path holds
// a blank and a non-ASCII letter. The game records its command line and working directory.

#include "compile/CompileFixture.h"

#include "core/game/GameSettings.h"

#include <QAction>
#include <QStandardPaths>
#include <QStatusBar>

using GameEndToEnd = CompileFixtureT<true>;

TEST_F(GameEndToEnd, TheStandInGameStartsOnTheCopiedMapThroughWine)
{
    const QString standins = QStringLiteral(QMX_STANDIN_DIR);
    if (QStandardPaths::findExecutable("wineconsole").isEmpty() || !QFile::exists(standins + "/qmxgame.exe"))
        GTEST_SKIP() << "needs Wine and the stand-in tools (mingw-w64)";
    qputenv("PATH", m_realPath); // the real console and the real wine
    ASSERT_TRUE(QFile::copy(standins + "/qmxbsp.exe", m_sdkDir + "/qmxbsp.exe"));
    const QString gameBin = m_sandbox.makeDir("the g\u00e4me/bin");
    ASSERT_TRUE(QFile::copy(standins + "/qmxgame.exe", gameBin + "/qmx game.exe"));
    const QString log = m_sandbox.hostPath("game.log");
    qputenv("QMX_GAME_LOG", win(log).toUtf8());
    ASSERT_TRUE(qmx::game::writeGameCommand(win(gameBin + "/qmx game.exe").toStdString(),
                                            "-novid -dev +map $map -bsp $bsp -dir \"$gamedir\""));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    pickMap();
    tick("BSP");
    tick("CopyFile");
    QTest::mouseClick(m_form->RunMap, Qt::LeftButton, {}, QPoint(8, m_form->RunMap->height() / 2));
    ASSERT_EQ(m_form->RunMap->Value(), 1);

    m_form->MenuCompile->trigger(); // returns after the console has closed and the game was started
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].style, 64);
    EXPECT_TRUE(m_form->statusBar()->currentMessage().startsWith(Module1::Text(qmx::config::Text::GameStarted)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(log); }, 60000)) << "the game did not start";
    const QString record = QString::fromUtf8(readHost(log));
    const QString game = win(m_gameDir);
    EXPECT_TRUE(record.startsWith("command line: ")) << record.toStdString();
    EXPECT_TRUE(record.endsWith("working directory: " + win(gameBin)
                                + "\r\nargument: -novid\r\nargument: -dev\r\n"
                                  "argument: +map\r\nargument: a\r\nargument: -bsp\r\nargument: "
                                + game + "\\a.bsp\r\nargument: -dir\r\nargument: " + game + "\r\n"))
        << record.toStdString();
    qunsetenv("QMX_GAME_LOG");
}
