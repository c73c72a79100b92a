// The game on the compiled map through the window: after a compile only when the map was copied, Ctrl+F9 on the
// map already in the game directory with the window's messages, a window that stays usable while the game runs,
// and the settings the game dialog keeps. The checks themselves are the game run's (tests/core). Each start is
// recorded; the game holds while its folder has "hold" and no "go", then leaves "ended".

#include "support/CompileFixture.h"

#include "core/game/GameSettings.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

namespace {

// Drives the first dialog of that name that opens, from inside its modal loop.
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
        mkdir(m_gameRun);
        installGame(true);
        ASSERT_TRUE(qmx::game::writeGameCommand(win(m_exe).toStdString(), "+map $map -bsp $bsp -dir \"$gamedir\""));
    }
    void TearDown() override
    {
        writeHost(m_gameRun + "/go", ""); // a held game never outlives the test
        CompileFixture::TearDown();
    }

    // The game records its start as the stand-in game (tests/standin) does: "command line", "working directory",
    // then each argument. On Windows that is the stand-in itself (a file that is no program cannot start); on
    // Linux a fake wine first on the PATH, which hands the compile's tools to the real one.
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
    // The last start as "working directory|program|arguments...", once it has come.
    QString run() const
    {
        QStringList lines;
        const bool came = QTest::qWaitFor(
            [&] {
                lines = QString::fromUtf8(readHost(m_gameRun + "/runs")).split("\r\n", Qt::SkipEmptyParts);
                return lines.size() >= 2;
            },
            60000);
        if (!came)
            return {};
        QStringList run = {win(lines[1].section(": ", 1)), lines[0].section('"', 1, 1)};
        for (const QString& line : lines.mid(2))
            run << line.section(": ", 1);
        return run.join('|');
    }
    QString expectedRun() const
    {
        return QStringList{win(QFileInfo(m_exe).path()), win(m_exe), "+map",        "a", "-bsp",
                           win(m_gameDir) + "\\a.bsp",   "-dir",     win(m_gameDir)}
            .join('|');
    }
    QString status() const
    {
        return m_form->statusBar()->currentMessage();
    }
    static QString text(qmx::config::Text id)
    {
        return qmx::languageText(id);
    }

    qmxtest::ScopedEnv m_gameEnvironment{"QMX_GAME_LOG", "QMX_GAME_HOLD"};
    const std::string m_realPath = qmxtest::ScopedEnv::get("PATH").value_or("");
    const QString m_exe = m_sandbox.makeDir("game \u00f6/bin") + "/qmx g\u00e4me.exe";
    const QString m_gameRun = m_binDir + "/game";
};

} // namespace

// The game starts only on a map the compile has just copied; the status line says what happened, and a game
// that did not start left no command line there.
TEST_F(GameTest, ACompileRunsTheGameOnlyOnTheMapItHasJustCopied)
{
    const struct
    {
        QStringList ticks;
        bool runMap;
        const char* fail; // QMX_STANDIN_FAIL
        QString status; // the status line's start
        int style; // of the one message
    } cases[] = {
        {{"BSP", "CopyFile", "RunMap"}, true, "", text(qmx::config::Text::GameStarted), 64},
        {{"BSP", "RunMap"}, true, "", text(qmx::config::Text::GameNotCopied), 64},
        {{"BSP", "CopyFile"}, false, "", "qmxbsp.exe ", 64},
        {{"BSP", "CopyFile", "RunMap"}, true, "qmxbsp.exe:0", "qmxbsp.exe: ", 16}, // no new map: the compile failed
    };
    pickMap();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks.join(' ').toStdString() + c.fail);
        qmxtest::resetRecorders();
        writeHost(m_gameDir + "/a.bsp", "old");
        qmxtest::ScopedEnv::set("QMX_STANDIN_FAIL", c.fail);
        for (const char* name : {"BSP", "CopyFile", "RunMap"})
            tick(name, c.ticks.contains(name));
        EXPECT_EQ(setting(qmx::config::Setting::RunMap), c.runMap ? "1" : "0"); // stored at once
        compile();

        ASSERT_EQ(messages().size(), 1u); // the compile's own message and nothing else
        EXPECT_EQ(messages()[0].style, c.style);
        EXPECT_TRUE(status().startsWith(c.status)) << status().toStdString();
        if (c.status == text(qmx::config::Text::GameStarted)) {
            EXPECT_EQ(run(), expectedRun());
            QFile::remove(m_gameRun + "/runs");
        }
    }
}

// Each refusal shows one message and changes nothing; the last row starts the game and, while it still runs, a
// whole compile goes through.
TEST_F(GameTest, CtrlF9RunsTheMapInTheGameDirectoryOrSaysWhyNot)
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
        if (c.key != QString("nomap") && files()->FileName().isEmpty())
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
            EXPECT_TRUE(messages()[0].prompt.startsWith(languageKey(c.key))) << messages()[0].prompt.toStdString();
            EXPECT_TRUE(messages()[0].prompt.contains(c.detail)) << messages()[0].prompt.toStdString();
            EXPECT_EQ(messages()[0].style, c.style);
            EXPECT_FALSE(status().startsWith(text(qmx::config::Text::GameStarted)));
            continue;
        }
        EXPECT_TRUE(messages().empty());
        EXPECT_TRUE(status().startsWith(text(qmx::config::Text::GameStarted))) << status().toStdString();
        EXPECT_EQ(run(), expectedRun());

        tick("BSP");
        QTest::keyClick(m_form.get(), Qt::Key_F9);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form->compiling(); }, 60000));
        ASSERT_EQ(messages().size(), 1u) << "F9 did not compile while the game ran";
        EXPECT_EQ(messages()[0].style, 64);
        EXPECT_FALSE(QFile::exists(m_gameRun + "/ended"));
        writeHost(m_gameRun + "/go", "");
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(m_gameRun + "/ended"); }, 60000));
    }
}

// The dialog stores the browsed executable and the template exactly on OK and nothing on Cancel.
TEST_F(GameTest, GameSettingsAreStoredFromTheDialog)
{
    writeHost(QFileInfo(m_exe).path() + "/readme.txt", "not a program");
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        ASSERT_TRUE(qmx::game::writeGameCommand("", "-novid"));
        const QByteArray before = m_sandbox.readFile("settings.qmxII");
        bool driven = false;
        whenOpen("GameDialog", [&](QWidget* dialog) {
            auto* parameters = child<QLineEdit>(dialog, "GameParameters");
            EXPECT_EQ(parameters->text(), "-novid");
            whenOpen("ExeChooser", [&](QWidget* chooser) {
                // It opens in the game directory, in Windows form, and lists programs only.
                auto* dir = child<qmx::DirList>(chooser, "ExeDir");
                auto* list = child<qmx::FileList>(chooser, "ExeFile");
                EXPECT_EQ(dir->Path(), win(m_gameDir));
                dir->setPath(win(QFileInfo(m_exe).path()));
                EXPECT_EQ(list->count(), 1);
                if (QListWidgetItem* item = list->item(0))
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
                QTest::mouseClick(child<QPushButton>(chooser, "ExeOK"), Qt::LeftButton);
            });
            QTest::mouseClick(child<QPushButton>(dialog, "GameBrowse"), Qt::LeftButton);
            EXPECT_EQ(child<QLineEdit>(dialog, "GameExe")->text(), win(m_exe));
            parameters->clear(); // an empty template is a choice, kept as such
            QTest::mouseClick(child<QPushButton>(dialog, ok ? "GameOK" : "GameCancel"), Qt::LeftButton);
            driven = true;
        });
        QTest::mouseClick(child<QPushButton>(m_form.get(), "GameCommand"), Qt::LeftButton);
        ASSERT_TRUE(driven) << "the dialog did not open";
        if (ok) {
            EXPECT_EQ(QString::fromStdString(qmx::game::readGameSettings().executable), win(m_exe));
            EXPECT_EQ(qmx::game::readGameSettings().parameters, "");
        } else {
            EXPECT_EQ(m_sandbox.readFile("settings.qmxII"), before);
        }
    }
}
