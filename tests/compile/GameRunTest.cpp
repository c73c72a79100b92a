// The game on the compiled map through the window: after a compile only when the map was copied,
// Ctrl+F9 on the map already in the game directory, every refusal, the settings the window keeps, and a
// window that stays usable while the game runs. A fake "wine" first on the PATH records each start.

#include "compile/CompileFixture.h"

#include "aux_windows/ExeChooser.h"
#include "aux_windows/GameDialog.h"
#include "core/game/GameSettings.h"
#include "options/OptionString.h"
#include "toolkit/DriveList.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace {

// Drives the first T that opens under parent from inside its modal loop (polled: the loop starts only
// once the click that opens it has been handled).
template <class T> void whenOpen(QObject* parent, std::function<void(T*)> drive)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [=] {
        T* window = parent->findChild<T*>();
        if (!window || !window->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        drive(window);
    });
    poll->start(10);
}

class GameRunTest : public CompileFixture
{
protected:
    void SetUp() override
    {
        CompileFixture::SetUp();
        // Records its working directory and arguments; holds while "game hold" exists and "game over" does not.
        writeHost(
            m_binDir + "/wine",
            QString("#!/bin/sh\n{ printf 'cwd=%s\\n' \"$(pwd)\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; "
                    "echo end; } >> '%1/runs.txt'\n"
                    "if [ -e '%1/game hold' ]; then while [ ! -e '%1/game over' ]; do sleep 0.01; done; fi\n"
                    "echo ended >> '%1/ended.txt'\n")
                .arg(m_binDir)
                .toUtf8());
        QFile::setPermissions(m_binDir + "/wine", QFile::permissions(m_binDir + "/wine") | QFileDevice::ExeOwner);
        writeHost(m_exe, "MZ");
        ASSERT_TRUE(qmx::game::writeGameCommand(win(m_exe).toStdString(), "+map $map -bsp $bsp -dir \"$gamedir\""));
    }
    void TearDown() override
    {
        writeHost(m_binDir + "/game over", ""); // a held fake game never outlives the test
        CompileFixture::TearDown();
    }

    // Every start the fake wine saw: the working directory, then the arguments.
    QList<QStringList> runs() const
    {
        QList<QStringList> out;
        for (const QString& run :
             QString::fromUtf8(readHost(m_binDir + "/runs.txt")).split("end\n", Qt::SkipEmptyParts))
            out << run.split('\n', Qt::SkipEmptyParts);
        return out;
    }
    QStringList expectedRun() const
    {
        return {"cwd=" + QFileInfo(m_exe).path(), win(m_exe), "+map",        "a", "-bsp",
                win(m_gameDir) + "\\a.bsp",       "-dir",     win(m_gameDir)};
    }
    void setRunMap(bool on)
    {
        if ((m_form->RunMap->Value() == 1) != on)
            QTest::mouseClick(m_form->RunMap, Qt::LeftButton, {}, QPoint(8, m_form->RunMap->height() / 2));
        ASSERT_EQ(m_form->RunMap->Value(), on ? 1 : 0);
    }
    void pressCtrlF9()
    {
        QApplication::setActiveWindow(m_form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
        QTest::keyClick(m_form.get(), Qt::Key_F9, Qt::ControlModifier);
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
        const char* name;
        QStringList ticks;
        bool runMap;
        bool toolsLeaveMap;
        bool started;
        QString status;
    } cases[] = {
        {"copied and ticked", {"BSP", "CopyFile"}, true, true, true, text(qmx::config::Text::GameStarted)},
        {"ticked, copy unticked", {"BSP"}, true, true, false, text(qmx::config::Text::GameNotCopied)},
        {"copied, not ticked", {"BSP", "CopyFile"}, false, true, false, ""},
        {"the tools left no map; an older copy is there",
         {"BSP", "CopyFile"},
         true,
         false,
         false,
         text(qmx::config::Text::GameNotCopied)},
    };
    pickMap();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qmxtest::resetRecorders();
        m_form->statusBar()->clearMessage();
        QFile::remove(m_binDir + "/runs.txt");
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
        if (c.started) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return runs().size() == 1; }, 5000));
        }
        EXPECT_EQ(runs(), c.started ? QList<QStringList>{expectedRun()} : QList<QStringList>{});
    }
}

TEST_F(GameRunTest, CtrlF9RunsTheMapInTheGameDirectoryOrSaysWhyNot)
{
    const struct
    {
        const char* name;
        std::function<void()> arrange;
        const char* key; // the message's language key; nullptr when the game starts
        int style;
        QString detail;
    } cases[] = {
        {"no map picked", [] {}, "nomap", 64, ""},
        {"no executable", [&] { qmx::game::writeGameCommand("", "+map $map"); }, "GameNoExe", 48, ""},
        {"executable gone", [&] { qmx::game::writeGameCommand(win(m_exe).toStdString() + "x", ""); }, "GameExeMissing",
         48, win(m_exe) + "x"},
        {"map not in the game directory", [&] { QFile::remove(m_gameDir + "/a.bsp"); }, "GameBspMissing", 48,
         win(m_gameDir) + "\\a.bsp"},
        {"no Wine", [&] { qputenv("PATH", m_binDir.toUtf8() + "/none"); }, "GameStartFailed", 16,
         "\"" + win(m_exe) + "\" +map a -bsp"},
        {"everything there", [] {}, nullptr, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (QString(c.name) != "no map picked" && m_form->File1->FileName().isEmpty())
            pickMap();
        writeHost(m_gameDir + "/a.bsp", "compiled");
        ASSERT_TRUE(qmx::game::writeGameCommand(win(m_exe).toStdString(), "+map $map -bsp $bsp -dir \"$gamedir\""));
        c.arrange();
        qmxtest::resetRecorders();
        m_form->statusBar()->clearMessage();
        const QByteArray settingsBefore = m_sandbox.readFile("settings.qmxII");
        pressCtrlF9();
        qputenv("PATH", m_binDir.toUtf8() + ':' + m_oldPath);

        EXPECT_EQ(m_sandbox.readFile("settings.qmxII"), settingsBefore); // a run never changes what is stored
        if (!c.key) {
            EXPECT_TRUE(messages().empty());
            EXPECT_TRUE(status().startsWith(text(qmx::config::Text::GameStarted))) << status().toStdString();
            EXPECT_TRUE(QTest::qWaitFor([&] { return runs().size() == 1; }, 5000));
            EXPECT_EQ(runs().value(0), expectedRun());
            continue;
        }
        ASSERT_EQ(messages().size(), 1u) << "Ctrl+F9 did nothing";
        const QString prompt = messages()[0].prompt;
        EXPECT_TRUE(prompt.startsWith(Module1::LanguageText(c.key))) << prompt.toStdString();
        EXPECT_TRUE(prompt.contains(c.detail)) << prompt.toStdString();
        EXPECT_EQ(messages()[0].style, c.style);
        EXPECT_TRUE(status().isEmpty());
        EXPECT_TRUE(runs().isEmpty());
    }
}

TEST_F(GameRunTest, TheWindowStaysUsableWhileTheGameRuns)
{
    writeHost(m_binDir + "/game hold", "");
    pickMap();
    writeHost(m_gameDir + "/a.bsp", "compiled");
    pressCtrlF9(); // returns while the game still runs
    ASSERT_TRUE(QTest::qWaitFor([&] { return runs().size() == 1; }, 5000));
    EXPECT_FALSE(QFile::exists(m_binDir + "/ended.txt"));

    // A whole compile while the game is still running.
    tick("BSP");
    QTest::keyClick(m_form.get(), Qt::Key_F9);
    ASSERT_EQ(messages().size(), 1u) << "F9 did not compile";
    EXPECT_EQ(messages()[0].style, 64);
    EXPECT_FALSE(QFile::exists(m_binDir + "/ended.txt"));

    writeHost(m_binDir + "/game over", "");
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(m_binDir + "/ended.txt"); }, 5000));
}

// The dialog keeps the executable and the template exactly as typed on OK and changes nothing on Cancel;
// the run-after-compile box is stored at once.
TEST_F(GameRunTest, GameSettingsAreStoredFromTheWindow)
{
    const struct
    {
        const char* name;
        QString parameters;
        bool ok;
    } cases[] = {
        {"an empty template", "", true},
        {"blanks and quotes of its own", " -dev +map \"$map\" ", true},
        {"cancelled", "-whatever", false},
    };
    writeHost(QFileInfo(m_exe).path() + "/readme.txt", "not a program");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(qmx::game::writeGameCommand("", "-novid"));
        const QByteArray before = m_sandbox.readFile("settings.qmxII");
        bool driven = false;
        whenOpen<GameDialog>(m_form.get(), [&](GameDialog* dialog) {
            EXPECT_EQ(dialog->GameParameters->text(), "-novid");
            EXPECT_EQ(dialog->GameExe->accessibleName(), dialog->GameExeLabel->text());
            whenOpen<ExeChooser>(dialog, [&](ExeChooser* chooser) {
                // The browse opens in the game directory, in Windows form, and lists programs only.
                EXPECT_EQ(chooser->ExeDir->Path(), win(m_gameDir));
                chooser->ExeDir->setPath(win(QFileInfo(m_exe).path()));
                EXPECT_EQ(chooser->ExeFile->count(), 1);
                QListWidgetItem* item = chooser->ExeFile->item(0);
                if (item)
                    QTest::mouseClick(chooser->ExeFile->viewport(), Qt::LeftButton, {},
                                      chooser->ExeFile->visualItemRect(item).center());
                QTest::mouseClick(chooser->ExeOK, Qt::LeftButton);
            });
            QTest::mouseClick(dialog->GameBrowse, Qt::LeftButton);
            EXPECT_EQ(dialog->GameExe->text(), win(m_exe));
            dialog->GameParameters->setText(c.parameters);
            QTest::mouseClick(c.ok ? dialog->GameOK : dialog->GameCancel, Qt::LeftButton);
            driven = true;
        });
        QTest::mouseClick(m_form->GameCommand, Qt::LeftButton);
        ASSERT_TRUE(driven) << "the dialog did not open";
        const qmx::game::GameSettings stored = qmx::game::readGameSettings();
        if (c.ok) {
            EXPECT_EQ(QString::fromStdString(stored.executable), win(m_exe));
            EXPECT_EQ(QString::fromStdString(stored.parameters), c.parameters);
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
        const char* name;
        QByteArray language; // "" for the shipped English file
        QByteArray runMap;
        QString caption;
        QString command;
        int value;
    } cases[] = {
        {"shipped English", "", "1", "Run the map after compile", "Game...", 1},
        {"German", "[language]\r\nRunMap=Map im Spiel starten\r\nGameCommand=Spiel...\r\n", "0", "Map im Spiel starten",
         "Spiel...", 0},
        {"a file without the keys", "[language]\r\nFrame2=Maps\r\n", "", "Run the map after compile", "Game...", 0},
    };
    const QByteArray shipped = m_sandbox.readFile("language.qmxII");
    qputenv("sourcesdk", "C:\\sdk"); // found, so no SDK folder window opens
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_sandbox.writeFile("language.qmxII", c.language.isEmpty() ? shipped : c.language);
        m_sandbox.writeFile("settings.qmxII", c.runMap.isEmpty() ? "" : "[settings]\r\nRunMap=" + c.runMap + "\r\n");
        Form1 form;
        form.Form1_Form_Load();
        EXPECT_EQ(form.RunMap->Value(), c.value);
        EXPECT_EQ(form.RunMap->text(), c.caption);
        EXPECT_EQ(form.RunMap->accessibleName(), c.caption);
        EXPECT_EQ(form.GameCommand->text(), c.command);
        EXPECT_EQ(form.GameCommand->accessibleName(), c.command);
    }
    qunsetenv("sourcesdk");
}
