// The game on the compiled map through the window: after a compile only when the map was copied, Ctrl+F9 on the
// map already in the game directory, a window that stays usable while the game runs, and the settings the game
// dialog keeps. The checks themselves are the game run's (tests/core). The game is the stand-in (tests/standin),
// through Wine on Linux: it records how it was started and holds while its folder has "hold" and no "go".

#include "support/CompileFixture.h"

#include "core/game/GameSettings.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// Drives the first window of that name that opens, from inside its modal loop.
void whenOpen(const char* name, std::function<void(QWidget*)> drive)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [=] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String(name) && window->isVisible()) {
                poll->deleteLater();
                poll->stop();
                drive(window);
                return;
            }
        }
    });
    poll->start(10);
}

class GameTest : public CompileFixture
{
protected:
    void SetUp() override
    {
        CompileFixture::SetUp();
        ASSERT_TRUE(QFile::copy(QStringLiteral(QMX_STANDIN_DIR "/qmxgame.exe"), m_exe));
        qmxtest::ScopedEnv::set("QMX_GAME_LOG", win(m_runs).toStdString());
        qmxtest::ScopedEnv::set("QMX_GAME_HOLD", win(mkdir(m_gameHold)).toStdString());
        ASSERT_TRUE(qmx::game::writeGameCommand(win(m_exe).toStdString(), "+map $map -dir \"$gamedir\""));
    }
    void TearDown() override
    {
        writeHost(m_gameHold + "/go", ""); // a held game never outlives the test
        CompileFixture::TearDown();
    }
    // The game's arguments once it has written them; "" when it did not start.
    QString run() const
    {
        QByteArray record;
        const bool started = QTest::qWaitFor([&] { return !(record = readHost(m_runs)).isEmpty(); }, 60000);
        QFile::remove(m_runs);
        return started ? QString::fromUtf8(record.mid(record.indexOf("argument:"))) : QString();
    }
    static QString text(qmx::config::Text id) { return qmx::languageText(id); }

    qmxtest::ScopedEnv m_gameEnvironment{"QMX_GAME_LOG", "QMX_GAME_HOLD"};
    const QString m_exe = m_sandbox.makeDir("game \u00f6/bin") + "/qmx g\u00e4me.exe";
    const QString m_runs = m_binDir + "/runs.txt";
    const QString m_gameHold = m_binDir + "/game";
    const QString m_expectedRun
        = "argument: +map\r\nargument: a\r\nargument: -dir\r\nargument: " + win(m_gameDir) + "\r\n";
};

} // namespace

// The game starts only on a map the compile has just copied; the status line says what happened.
TEST_F(GameTest, ACompileRunsTheGameOnlyOnTheMapItHasJustCopied)
{
    const std::tuple<QStringList, const char*, QString, int> cases[] = {
        // boxes ticked, QMX_STANDIN_FAIL, the status line's start, the one message's style
        {{"BSP", "CopyFile", "RunMap"}, "", text(qmx::config::Text::GameStarted), 64},
        {{"BSP", "RunMap"}, "", text(qmx::config::Text::GameNotCopied), 64},
        {{"BSP", "CopyFile"}, "", "qmxbsp.exe ", 64},
        {{"BSP", "CopyFile", "RunMap"}, "qmxbsp.exe:0", "qmxbsp.exe: ", 16}, // no new map: the compile failed
    };
    pickMap();
    for (const auto& [ticks, fail, start, style] : cases) {
        SCOPED_TRACE(ticks.join(' ').toStdString() + fail);
        qmxtest::resetRecorders();
        writeHost(m_gameDir + "/a.bsp", "old");
        qmxtest::ScopedEnv::set("QMX_STANDIN_FAIL", fail);
        for (const char* name : {"BSP", "CopyFile", "RunMap"})
            tick(name, ticks.contains(name));
        EXPECT_EQ(qmx::setting(qmx::config::Setting::RunMap), ticks.contains("RunMap") ? "1" : "0"); // at once
        compile();
        ASSERT_EQ(messages().size(), 1u); // the compile's own message and nothing else
        EXPECT_EQ(messages()[0].style, style);
        EXPECT_TRUE(status().startsWith(start)) << status().toStdString();
        if (start == text(qmx::config::Text::GameStarted)) {
            EXPECT_EQ(run(), m_expectedRun);
        }
    }
}

// Ctrl+F9 says why it cannot start the game, or starts it without compiling; while it runs, a whole compile goes
// through. (The other refusals, in their order: the game run's test.)
TEST_F(GameTest, CtrlF9RunsTheMapInTheGameDirectoryOrSaysWhyNot)
{
    QApplication::setActiveWindow(m_form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    QTest::keyClick(m_form.get(), Qt::Key_F9, Qt::ControlModifier);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, languageKey("nomap"));
    EXPECT_EQ(messages()[0].style, 64);

    pickMap();
    writeHost(m_gameDir + "/a.bsp", "compiled");
    writeHost(m_gameHold + "/hold", "");
    qmxtest::resetRecorders();
    QTest::keyClick(m_form.get(), Qt::Key_F9, Qt::ControlModifier);
    EXPECT_TRUE(status().startsWith(text(qmx::config::Text::GameStarted))) << status().toStdString();
    EXPECT_EQ(run(), m_expectedRun);
    tick("BSP");
    QTest::keyClick(m_form.get(), Qt::Key_F9);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form->compiling(); }, 60000));
    ASSERT_EQ(messages().size(), 1u) << "F9 did not compile while the game ran";
    EXPECT_EQ(messages()[0].style, 64);
}

// The dialog stores the browsed executable and the template exactly on OK and nothing on Cancel.
TEST_F(GameTest, GameSettingsAreStoredFromTheDialog)
{
    writeHost(QFileInfo(m_exe).path() + "/readme.txt", "not a program");
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        ASSERT_TRUE(qmx::game::writeGameCommand("", "-novid"));
        const QByteArray before = m_sandbox.readFile("settings.qmxII");
        whenOpen("GameDialog", [&](QWidget* dialog) {
            EXPECT_EQ(child<QLineEdit>(dialog, "GameParameters")->text(), "-novid");
            whenOpen("ExeChooser", [&](QWidget* chooser) {
                // It opens in the game directory and lists programs only.
                auto* dir = child<qmx::DirList>(chooser, "ExeDir");
                auto* list = child<qmx::FileList>(chooser, "ExeFile");
                EXPECT_EQ(dir->Path(), win(m_gameDir));
                dir->setPath(win(QFileInfo(m_exe).path()));
                ASSERT_EQ(list->count(), 1);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
                QTest::mouseClick(child<QPushButton>(chooser, "ExeOK"), Qt::LeftButton);
            });
            QTest::mouseClick(child<QPushButton>(dialog, "GameBrowse"), Qt::LeftButton);
            child<QLineEdit>(dialog, "GameParameters")->clear(); // an empty template is a choice, kept as such
            QTest::mouseClick(child<QPushButton>(dialog, ok ? "GameOK" : "GameCancel"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(m_form.get(), "GameCommand"), Qt::LeftButton);
        const qmx::game::GameSettings stored = qmx::game::readGameSettings();
        EXPECT_EQ(ok ? QString::fromStdString(stored.executable) + "|" + QString::fromStdString(stored.parameters)
                     : QString(m_sandbox.readFile("settings.qmxII")),
                  ok ? win(m_exe) + "|" : QString(before));
    }
}
