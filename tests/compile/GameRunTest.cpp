// The game on the compiled map through the window: after a compile only when the map was copied,
// Ctrl+F9 on the map already in the game directory with every refusal, a window that stays usable while
// the game runs, and the settings the window keeps. A fake "wine" first on the PATH records each start.

#include "compile/CompileFixture.h"

#include "aux_windows/ExeChooser.h"
#include "aux_windows/GameDialog.h"
#include "core/game/GameSettings.h"
#include "options/OptionString.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
        // One line per start: working directory and arguments. Holds while "hold" exists and "over" does not.
        const QString wine = m_binDir + "/wine";
        writeHost(wine,
                  QString("#!/bin/sh\n{ pwd | tr -d '\\n'; printf '|%s' \"$@\"; echo; } >> '%1/runs'\n"
                          "if [ -e '%1/hold' ]; then while [ ! -e '%1/over' ]; do sleep 0.01; done; fi\n"
                          "echo >> '%1/ended'\n")
                      .arg(m_binDir + "/game")
                      .toUtf8());
        QFile::setPermissions(wine, QFile::permissions(wine) | QFileDevice::ExeOwner);
        mkdir(m_binDir + "/game");
        writeHost(m_exe, "MZ");
        ASSERT_TRUE(qmx::game::writeGameCommand(win(m_exe).toStdString(), "+map $map -bsp $bsp -dir \"$gamedir\""));
    }
    void TearDown() override
    {
        writeHost(m_binDir + "/game/over", ""); // a held fake game never outlives the test
        CompileFixture::TearDown();
    }

    // The starts recorded so far; a line the fake wine is still writing does not count yet.
    QStringList runs() const
    {
        QString all = QString::fromUtf8(readHost(m_binDir + "/game/runs"));
        all.truncate(all.lastIndexOf('\n') + 1);
        return all.split('\n', Qt::SkipEmptyParts);
    }
    QString expectedRun() const
    {
        return QStringList{QFileInfo(m_exe).path(),    win(m_exe), "+map",        "a", "-bsp",
                           win(m_gameDir) + "\\a.bsp", "-dir",     win(m_gameDir)}
            .join('|');
    }
    void setRunMap(bool on)
    {
        if ((m_form->RunMap->Value() == 1) != on)
            QTest::mouseClick(m_form->RunMap, Qt::LeftButton, {}, QPoint(8, m_form->RunMap->height() / 2));
        ASSERT_EQ(m_form->RunMap->Value(), on ? 1 : 0);
    }
    QString status() const { return m_form->statusBar()->currentMessage(); }
    static QString text(qmx::config::Text id) { return Module1::Text(id); }

    const QString m_exe = m_sandbox.makeDir("game \u00f6/bin") + "/qmx g\u00e4me.exe";
};

} // namespace

TEST_F(GameRunTest, ACompileRunsTheGameOnlyOnTheMapItHasJustCopied)
{
    const struct
    {
        QStringList ticks;
        bool runMap;
        bool toolsLeaveMap;
        QString status; // "": nothing started and nothing said
    } cases[] = {
        {{"BSP", "CopyFile"}, true, true, text(qmx::config::Text::GameStarted)},
        {{"BSP"}, true, true, text(qmx::config::Text::GameNotCopied)},
        {{"BSP", "CopyFile"}, false, true, ""},
        {{"BSP", "CopyFile"}, true, false, text(qmx::config::Text::GameNotCopied)}, // an older copy is there
    };
    pickMap();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks.join(' ').toStdString() + (c.runMap ? " run" : "") + (c.toolsLeaveMap ? "" : " no map"));
        qmxtest::resetRecorders();
        m_form->statusBar()->clearMessage();
        QFile::remove(m_binDir + "/game/runs");
        QFile::remove(m_mapDir + "/a.bsp");
        writeHost(m_gameDir + "/a.bsp", "old");
        if (!c.toolsLeaveMap)
            writeHost(m_binDir + "/wineconsole", "#!/bin/sh\nexit 0\n");
        Module1::RestoreOptionString(QString());
        for (const QString& name : c.ticks)
            tick(name);
        setRunMap(c.runMap);
        m_form->Form1_MenuCompile_Click();

        ASSERT_EQ(messages().size(), 1u); // the compile's own message and nothing else
        EXPECT_EQ(messages()[0].style, 64);
        EXPECT_TRUE(c.status.isEmpty() ? status().isEmpty() : status().startsWith(c.status)) << status().toStdString();
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
        {"GameNoExe", 48, "", [] { qmx::game::writeGameCommand("", "+map $map"); }},
        {"GameExeMissing", 48, exe + "x", [&] { qmx::game::writeGameCommand(exe.toStdString() + "x", ""); }},
        {"GameBspMissing", 48, win(m_gameDir) + "\\a.bsp", [&] { QFile::remove(m_gameDir + "/a.bsp"); }},
        {"GameStartFailed", 16, "\"" + exe + "\" +map a", [&] { qputenv("PATH", m_binDir.toUtf8() + "/none"); }},
        {nullptr, 0, "", [&] { writeHost(m_binDir + "/game/hold", ""); }},
    };
    QApplication::setActiveWindow(m_form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key ? c.key : "started");
        if (c.key != QString("nomap") && m_form->File1->FileName().isEmpty())
            pickMap();
        writeHost(m_gameDir + "/a.bsp", "compiled");
        ASSERT_TRUE(qmx::game::writeGameCommand(exe.toStdString(), "+map $map -bsp $bsp -dir \"$gamedir\""));
        c.arrange();
        qmxtest::resetRecorders();
        const QByteArray settingsBefore = m_sandbox.readFile("settings.qmxII");
        QTest::keyClick(m_form.get(), Qt::Key_F9, Qt::ControlModifier);
        qputenv("PATH", m_binDir.toUtf8() + ':' + m_realPath);
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
        ASSERT_EQ(messages().size(), 1u) << "F9 did not compile while the game ran";
        EXPECT_EQ(messages()[0].style, 64);
        EXPECT_FALSE(QFile::exists(m_binDir + "/game/ended"));
        writeHost(m_binDir + "/game/over", "");
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(m_binDir + "/game/ended"); }, 5000));
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
                // It opens in the game directory, in Windows form, and lists programs only.
                EXPECT_EQ(chooser->ExeDir->Path(), win(m_gameDir));
                chooser->ExeDir->setPath(win(QFileInfo(m_exe).path()));
                EXPECT_EQ(chooser->ExeFile->count(), 1);
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

// Start-up ticks the box as stored and captions the game controls from the language file, with built-in
// English for a file that predates them.
TEST_F(GameRunTest, StartUpRestoresTheBoxAndItsCaption)
{
    const struct
    {
        QByteArray language;
        QByteArray settings;
        QString caption;
        QString command;
        int value;
    } cases[] = {
        {"[language]\r\nRunMap=Map im Spiel starten\r\nGameCommand=Spiel...\r\n", "[settings]\r\nRunMap=1\r\n",
         "Map im Spiel starten", "Spiel...", 1},
        {"[language]\r\nFrame2=Maps\r\n", "", "Run the map after compile", "Game...", 0},
    };
    qputenv("sourcesdk", "C:\\sdk"); // found, so no SDK folder window opens
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        m_sandbox.writeFile("language.qmxII", c.language);
        m_sandbox.writeFile("settings.qmxII", c.settings);
        Form1 form;
        form.Form1_Form_Load();
        EXPECT_EQ(form.RunMap->Value(), c.value);
        EXPECT_EQ(form.RunMap->text() + "|" + form.RunMap->accessibleName(), c.caption + "|" + c.caption);
        EXPECT_EQ(form.GameCommand->text() + "|" + form.GameCommand->accessibleName(), c.command + "|" + c.command);
    }
    qunsetenv("sourcesdk");
}
