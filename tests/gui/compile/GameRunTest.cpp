// The game on the compiled map through the window: after a compile only when the map was copied,
// Ctrl+F9 on the map already in the game directory with the window's messages, a window that stays usable
// while the game runs, and the settings the window keeps. The checks themselves are the game run's
// (tests/core). Each start is recorded; the game holds while its folder has "hold" and no "go", then
// leaves "ended".

#include "support/CompileFixture.h"

#include "core/game/GameSettings.h"
#include "gui/parts/ExeChooser.h"
#include "gui/parts/GameDialog.h"
#include "gui/parts/OptionString.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

namespace {

// Drives the first T that opens under parent, from inside its modal loop.
template <class T> void whenOpen(QObject* parent, std::function<void(T*)> drive)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [=] {
        if (T* window = parent->findChild<T*>(); window && window->isVisible()) {
            poll->deleteLater();
            poll->stop();
            drive(window);
        }
    });
    poll->start(10);
}

class GameRunTest : public CompileFixture
{
protected:
    void SetUp() override
    {
        CompileFixture::SetUp();
        mkdir(m_gameRun);
        installGame(true);
        ASSERT_TRUE(qmx::game::writeGameCommand(win(m_exe).toStdString(), "+map $map -bsp $bsp -dir \"$gamedir\""));
    }
    void TearDown() override
    {
        writeHost(m_gameRun + "/go", ""); // a held game never outlives the test
        CompileFixture::TearDown();
    }

    // The game records its start as the stand-in game (tests/standin) does, replacing the record before:
    // "command line", "working directory", then each argument. On Windows that is the stand-in itself (a file
    // that is no program cannot start); on Linux a fake wine first on the PATH (off the PATH, nothing starts).
    void installGame(bool startable)
    {
#ifdef _WIN32
        QFile::remove(m_exe);
        if (startable)
            ASSERT_TRUE(QFile::copy(QStringLiteral(QMX_STANDIN_DIR "/qmxgame.exe"), m_exe));
        else
            writeHost(m_exe, "MZ");
        qmxtest::ScopedEnv::set("QMX_GAME_LOG", win(m_gameRun + "/runs").toStdString());
        qmxtest::ScopedEnv::set("QMX_GAME_HOLD", win(m_gameRun).toStdString());
#else
        // The compile's tools pass through to the real Wine.
        static const QString realWine = QStandardPaths::findExecutable("wine");
        const QString wine = m_binDir + "/wine";
        writeHost(wine,
                  QString("#!/bin/sh\ncase \"$1\" in *cmd.exe) exec '%2' \"$@\";; esac\n"
                          "{ printf 'command line: \"%s\"\\r\\nworking directory: %s\\r\\n' \"$1\" \"$PWD\"\n"
                          "shift; for a; do printf 'argument: %s\\r\\n' \"$a\"; done; } > '%1/new'\n"
                          "mv '%1/new' '%1/runs'\nif [ -e '%1/hold' ]; then\n"
                          " while [ ! -e '%1/go' ]; do sleep 0.01; done\n echo > '%1/ended'\nfi\n")
                      .arg(m_gameRun, realWine)
                      .toUtf8());
        QFile::setPermissions(wine, QFile::permissions(wine) | QFileDevice::ExeOwner);
        writeHost(m_exe, "MZ");
        qmxtest::ScopedEnv::set(
            "PATH", startable ? (m_binDir + ':').toStdString() + m_realPath : (m_binDir + "/none").toStdString());
#endif
    }
    // The last start as "working directory|program|arguments...", or nothing.
    QStringList runs() const
    {
        const QStringList lines = QString::fromUtf8(readHost(m_gameRun + "/runs")).split("\r\n", Qt::SkipEmptyParts);
        if (lines.size() < 2)
            return {};
        QStringList run = {win(lines[1].section(": ", 1)), lines[0].section('"', 1, 1)};
        for (const QString& line : lines.mid(2))
            run << line.section(": ", 1);
        return {run.join('|')};
    }
    QString expectedRun() const
    {
        return QStringList{win(QFileInfo(m_exe).path()), win(m_exe), "+map",        "a", "-bsp",
                           win(m_gameDir) + "\\a.bsp",   "-dir",     win(m_gameDir)}
            .join('|');
    }
    void setRunMap(bool on)
    {
        if ((m_form->RunMap->Value() == 1) != on)
            QTest::mouseClick(m_form->RunMap, Qt::LeftButton, {}, QPoint(8, m_form->RunMap->height() / 2));
        ASSERT_EQ(m_form->RunMap->Value(), on ? 1 : 0);
    }
    QString status() const
    {
        return m_form->statusBar()->currentMessage();
    }
    static QString text(qmx::config::Text id)
    {
        return Module1::Text(id);
    }

    qmxtest::ScopedEnv m_gameEnvironment{"QMX_GAME_LOG", "QMX_GAME_HOLD"};
    const QString m_exe = m_sandbox.makeDir("game \u00f6/bin") + "/qmx g\u00e4me.exe";
    const QString m_gameRun = m_binDir + "/game";
};

} // namespace

TEST_F(GameRunTest, ACompileRunsTheGameOnlyOnTheMapItHasJustCopied)
{
    const struct
    {
        QStringList ticks;
        bool runMap;
        bool toolsLeaveMap;
        QString status; // the status line's start
        int style; // of the one message
    } cases[] = {
        {{"BSP", "CopyFile"}, true, true, text(qmx::config::Text::GameStarted), 64},
        {{"BSP"}, true, true, text(qmx::config::Text::GameNotCopied), 64},
        {{"BSP", "CopyFile"}, false, true, "qmxbsp.exe ", 64},
        {{"BSP", "CopyFile"}, true, false, "qmxbsp.exe: ", 16}, // an older copy is there: the compile failed
    };
    pickMap();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks.join(' ').toStdString() + (c.runMap ? " run" : "") + (c.toolsLeaveMap ? "" : " no map"));
        qmxtest::resetRecorders();
        m_form->statusBar()->clearMessage();
        QFile::remove(m_gameRun + "/runs");
        QFile::remove(m_mapDir + "/a.bsp");
        writeHost(m_gameDir + "/a.bsp", "old");
        qmxtest::ScopedEnv::set("QMX_STANDIN_FAIL", c.toolsLeaveMap ? "" : "qmxbsp.exe:0");
        Module1::RestoreOptionString(QString());
        for (const QString& name : c.ticks)
            tick(name);
        setRunMap(c.runMap);
        compile();

        ASSERT_EQ(messages().size(), 1u); // the compile's own message and nothing else
        EXPECT_EQ(messages()[0].style, c.style);
        EXPECT_TRUE(status().startsWith(c.status)) << status().toStdString();
        const bool started = c.status == text(qmx::config::Text::GameStarted);
        EXPECT_EQ(QTest::qWaitFor([&] { return !runs().isEmpty(); }, started ? 5000 : 0), started);
        EXPECT_EQ(runs().join("\n").toStdString(), started ? expectedRun().toStdString() : "");
    }
}

// Each refusal shows one message and changes nothing; the last row starts the game and, while it still
// runs, a whole compile goes through.
TEST_F(GameRunTest, CtrlF9RunsTheMapInTheGameDirectoryOrSaysWhyNot)
{
    const QString exe = win(m_exe);
    const struct
    {
        const char* key; // the message's language key; nullptr when the game starts
        int style;
        QString detail;
        std::function<void()> arrange;
    } cases[] = {
        {"nomap", 64, "", [] {}},
        {"GameExeMissing", 48, exe + "x", [&] { qmx::game::writeGameCommand(exe.toStdString() + "x", ""); }},
        {"GameStartFailed", 16, "\"" + exe + "\" +map a", [&] { installGame(false); }},
        {nullptr, 0, "", [&] { writeHost(m_gameRun + "/hold", ""); }},
    };
    QApplication::setActiveWindow(m_form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key ? c.key : "started");
        if (c.key != QString("nomap") && m_form->File1->FileName().isEmpty())
            pickMap();
        writeHost(m_gameDir + "/a.bsp", "compiled");
        ASSERT_TRUE(qmx::game::writeGameCommand(exe.toStdString(), "+map $map -bsp $bsp -dir \"$gamedir\""));
        installGame(true);
        c.arrange();
        qmxtest::resetRecorders();
        const QByteArray settingsBefore = m_sandbox.readFile("settings.qmxII");
        QTest::keyClick(m_form.get(), Qt::Key_F9, Qt::ControlModifier);
        EXPECT_EQ(m_sandbox.readFile("settings.qmxII"), settingsBefore);
        if (c.key) {
            ASSERT_EQ(messages().size(), 1u) << "Ctrl+F9 did nothing";
            EXPECT_TRUE(messages()[0].prompt.startsWith(Module1::LanguageText(c.key)))
                << messages()[0].prompt.toStdString();
            EXPECT_TRUE(messages()[0].prompt.contains(c.detail)) << messages()[0].prompt.toStdString();
            EXPECT_EQ(messages()[0].style, c.style);
            EXPECT_TRUE(runs().isEmpty());
            continue;
        }
        EXPECT_TRUE(messages().empty());
        EXPECT_TRUE(status().startsWith(text(qmx::config::Text::GameStarted))) << status().toStdString();
        ASSERT_TRUE(QTest::qWaitFor([&] { return runs().size() == 1; }, 5000));
        EXPECT_EQ(runs().value(0).toStdString(), expectedRun().toStdString());

        tick("BSP");
        QTest::keyClick(m_form.get(), Qt::Key_F9);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form->compiling(); }, 60000));
        ASSERT_EQ(messages().size(), 1u) << "F9 did not compile while the game ran";
        EXPECT_EQ(messages()[0].style, 64);
        EXPECT_FALSE(QFile::exists(m_gameRun + "/ended"));
        writeHost(m_gameRun + "/go", "");
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(m_gameRun + "/ended"); }, 5000));
    }
}

// The dialog stores the browsed executable and the template exactly on OK and nothing on Cancel; the
// run-after-compile box is stored at once.
TEST_F(GameRunTest, GameSettingsAreStoredFromTheWindow)
{
    writeHost(QFileInfo(m_exe).path() + "/readme.txt", "not a program");
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        ASSERT_TRUE(qmx::game::writeGameCommand("", "-novid"));
        const QByteArray before = m_sandbox.readFile("settings.qmxII");
        bool driven = false;
        whenOpen<GameDialog>(m_form.get(), [&](GameDialog* dialog) {
            EXPECT_EQ(dialog->GameParameters->text(), "-novid");
            EXPECT_EQ(dialog->GameExe->accessibleName(), dialog->GameExeLabel->text());
            whenOpen<ExeChooser>(dialog, [&](ExeChooser* chooser) {
                // It opens in the game directory, in Windows form, and lists programs, or all files.
                EXPECT_EQ(chooser->ExeDir->Path(), win(m_gameDir));
                chooser->ExeDir->setPath(win(QFileInfo(m_exe).path()));
                EXPECT_EQ(chooser->ExeFile->count(), 1);
                chooser->ExeType->setCurrentIndex(1);
                EXPECT_EQ(chooser->ExeFile->findItems("hl2_linux", Qt::MatchFixedString).size(), 1);
                chooser->ExeType->setCurrentIndex(0);
                if (QListWidgetItem* item = chooser->ExeFile->item(0))
                    QTest::mouseClick(chooser->ExeFile->viewport(), Qt::LeftButton, {},
                                      chooser->ExeFile->visualItemRect(item).center());
                QTest::mouseClick(chooser->ExeOK, Qt::LeftButton);
            });
            QTest::mouseClick(dialog->GameBrowse, Qt::LeftButton);
            EXPECT_EQ(dialog->GameExe->text(), win(m_exe));
            dialog->GameParameters->clear(); // an empty template is a choice, kept as such
            QTest::mouseClick(ok ? dialog->GameOK : dialog->GameCancel, Qt::LeftButton);
            driven = true;
        });
        writeHost(QFileInfo(m_exe).path() + "/hl2_linux", ""); // a native build
        QTest::mouseClick(m_form->GameCommand, Qt::LeftButton);
        ASSERT_TRUE(driven) << "the dialog did not open";
        if (ok) {
            EXPECT_EQ(QString::fromStdString(qmx::game::readGameSettings().executable), win(m_exe));
            EXPECT_EQ(qmx::game::readGameSettings().parameters, "");
        } else {
            EXPECT_EQ(m_sandbox.readFile("settings.qmxII"), before);
        }
    }
    for (bool on : {true, false}) {
        setRunMap(on);
        EXPECT_EQ(setting("RunMap"), on ? "1" : "0");
    }
}
