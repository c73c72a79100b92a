// The compile command in the window: its messages and their styles, what it stores, the run with the window
// locked, the copy and the game after it, and a failed or stopped run that copies nothing and starts no game. The order
// of the checks, compile.bat's lines and the tools' outcomes are the compile plan's and the runner's (tests/core), the
// lines the tools get the end-to-end test's.

#include "support/CompileFixture.h"

#include "core/compile/CompilePlan.h"

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTimer>

using qmx::compile::Refusal;

// A path the command interpreter would change, or an SDK directory that is gone, is refused with its message;
// nothing runs and nothing is copied. (No map or no BSP: the keyboard test and test_cli_gui.)
TEST_F(CompileFixture, RefusalsShowTheirMessageAndRunNothing)
{
    const std::tuple<Refusal, QString, bool> cases[] = {
        // the refusal, the SDK directory, settings written (before the SDK directory is found missing)
        {Refusal::UnsafeCharacter, win(m_sdkDir) + "\\100%", false},
        {Refusal::SdkDirMissing, win(m_sdkDir) + "\\gone", true},
    };
    pickMap();
    for (const char* name : {"BSP", "VIS", "RAD", "CopyFile"})
        tick(name);
    writeHost(m_mapDir + "/a.bsp", "from an earlier run");
    for (const auto& [refusal, sdkDir, stored] : cases) {
        SCOPED_TRACE(sdkDir.toStdString());
        qmxtest::resetRecorders();
        QFile::remove(m_sandbox.settingsFile());
        m_form->setSdkDirectory(sdkDir);
        compile();
        ASSERT_EQ(messages().size(), 1u);
        const QString text = languageKey(qmx::config::info(qmx::compile::refusalText(refusal)).key);
        EXPECT_TRUE(!text.isEmpty() && messages()[0].prompt.startsWith(text)) << messages()[0].prompt.toStdString();
        EXPECT_EQ(messages()[0].style, 16);
        EXPECT_EQ(qmx::setting(qmx::config::Setting::LastMapDir), stored ? win(m_gameDir) : QString());
        EXPECT_TRUE(stored || batchBytes().isEmpty());
        EXPECT_EQ(runRecord(), "");
        EXPECT_FALSE(QFile::exists(m_gameDir + "/a.bsp"));
    }
}

// While the run goes on the window is locked: no command but Stop, no control, closing asks, and the status line
// counts. Afterwards every command is back, the status line holds each tool's time, one message the whole time,
// and the settings the map and game directories.
TEST_F(CompileFixture, RunsWithTheWindowLockedThenReports)
{
    pickMap();
    for (const char* name : {"BSP", "VIS", "RAD"})
        tick(name);
    writeHost(m_binDir + "/hold", "");
    QAction* stop = action("MenuStop");
    QList<QAction*> commands;
    for (const char* name : {"MenuCompile", "presets", "MenuCredits", "MenuHelp", "RunGame"})
        commands << action(name);
    for (int slot = 1; slot <= 4; ++slot)
        commands << action(QString("loadpreset%1").arg(slot)) << action(QString("savepreset%1").arg(slot));
    bool checked = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (checked || runRecord().isEmpty())
            return;
        checked = true;
        for (QAction* command : commands)
            EXPECT_FALSE(command->isEnabled()) << command->objectName().toStdString();
        EXPECT_TRUE(stop->isEnabled() && m_form->menuBar()->actions().contains(stop));
        EXPECT_FALSE(m_form->centralWidget()->isEnabled());
        EXPECT_TRUE(status().startsWith(qmx::languageText(qmx::config::Text::CompileRunning)))
            << status().toStdString();
        EXPECT_FALSE(m_form->close()); // asked, and told no
        EXPECT_TRUE(m_form->isVisible());
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].prompt, qmx::languageText(qmx::config::Text::CompileCloseRunning));
        EXPECT_EQ(messages()[0].style, qmx::vbYesNo | qmx::vbQuestion);
        qmxtest::resetRecorders();
        writeHost(m_binDir + "/go", "");
    });
    probe.start(5);
    compile();
    EXPECT_TRUE(checked);
    for (QAction* command : commands)
        EXPECT_TRUE(command->isEnabled()) << command->objectName().toStdString();
    EXPECT_FALSE(m_form->menuBar()->actions().contains(stop));
    EXPECT_TRUE(m_form->centralWidget()->isEnabled());
    const QString time = "\\d:\\d\\d\\.\\d\\d";
    const QRegularExpression times(QString("^qmxbsp.exe %1, qmxvis.exe %1, qmxrad.exe %1$").arg(time));
    EXPECT_TRUE(times.match(status()).hasMatch()) << status().toStdString();
    ASSERT_EQ(messages().size(), 1u);
    const QRegularExpression done(QString("^\\Q%1\\E \\d+ \\S+").arg(qmx::languageText(qmx::config::Text::Compile)));
    EXPECT_TRUE(done.match(messages()[0].prompt).hasMatch()) << messages()[0].prompt.toStdString();
    EXPECT_EQ(messages()[0].style, 64);
    EXPECT_EQ(qmx::setting(qmx::config::Setting::LastFile) + "|" + qmx::setting(qmx::config::Setting::LastMapDir),
              "a.vmf|" + win(m_gameDir));
}

// Each way a compile ends: one message that says so (none when stopped), the status line, the copy, and the game
// only on a map the compile has just copied. A tool that fails ends the compile there: the message (style 16)
// names it, says why and offers the log, and the old map in the game directory stays. Stop ends the run quietly;
// closing during a run asks, stops it, then closes. (How each tool fails: the runner's test.)
TEST_F(CompileFixture, EachEndSaysWhatHappenedAndTheGameRunsOnlyOnAFreshCopy)
{
    using Text = qmx::config::Text;
    const auto text = [](Text id) { return qmx::languageText(id); };
    const std::tuple<QStringList, QString, int, int, QStringList, QString> cases[] = {
        // boxes ticked besides BSP; what goes wrong: a leaking map, QMX_STANDIN_FAIL, or while the BSP tool holds
        // the Stop command or closing the window; the tools run; the one message's style (0: none) and what it
        // holds; the status line's start
        {{"CopyFile", "RunMap"}, "", 1, 64, {text(Text::Compile)}, text(Text::GameStarted)},
        {{"RunMap"}, "", 1, 64, {}, text(Text::GameNotCopied)},
        {{"CopyFile"}, "", 1, 64, {}, "qmxbsp.exe "},
        {{"VIS", "RAD", "CopyFile", "RunMap"},
         "standin_leak",
         1,
         16,
         {"qmxbsp.exe", "**** leaked ****", "compile.log"},
         "qmxbsp.exe: "},
        {{"VIS", "RAD", "CopyFile"}, "qmxvis.exe:3", 2, 16, {"qmxvis.exe", " 3,"}, "qmxbsp.exe "},
        {{"VIS", "RAD", "CopyFile"}, "MenuStop", 1, 0, {}, text(Text::CompileStopped)},
        {{"VIS", "RAD", "CopyFile"}, "close", 1, 36, {text(Text::CompileCloseRunning)}, text(Text::CompileStopped)},
    };
    pickMap();
    for (const auto& [ticks, wrong, toolsRun, style, inMessage, statusStart] : cases) {
        SCOPED_TRACE((ticks.join(' ') + ' ' + wrong).toStdString());
        qmxtest::resetRecorders();
        QFile::remove(m_binDir + "/run.txt");
        QFile::remove(m_binDir + "/go");
        writeHost(m_mapDir + "/a.vmf", wrong == "standin_leak" ? "standin_leak" : "x");
        writeHost(m_gameDir + "/a.bsp", "old");
        qmxtest::ScopedEnv::set("QMX_STANDIN_FAIL", wrong.contains(".exe:") ? wrong.toStdString() : "");
        for (const char* name : {"BSP", "VIS", "RAD", "CopyFile", "RunMap"})
            tick(name, ticks.contains(name) || name == QLatin1String("BSP"));
        EXPECT_EQ(qmx::setting(qmx::config::Setting::RunMap), ticks.contains("RunMap") ? "1" : "0"); // at once
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&, wrong = wrong] {
            if (runRecord().isEmpty())
                return;
            probe.stop();
            wrong == "close" ? void(m_form->close()) : action(wrong)->trigger();
        });
        if (wrong == "MenuStop" || wrong == "close") {
            writeHost(m_binDir + "/hold", "");
            qmxtest::recorded().answer = qmx::vbYes;
            probe.start(5);
        }
        compile();
        writeHost(m_binDir + "/go", "");
        QFile::remove(m_binDir + "/hold");

        EXPECT_EQ(runRecord().count("\r\n"), toolsRun);
        EXPECT_TRUE(status().startsWith(statusStart)) << status().toStdString();
        const QByteArray inGame = readHost(m_gameDir + "/a.bsp");
        EXPECT_TRUE(style == 64 && ticks.contains("CopyFile") ? isCompiledMap(inGame) : inGame == "old");
        if (statusStart == text(Text::GameStarted)) {
            EXPECT_EQ(gameRun(), m_gameOnTheMap);
        }
        EXPECT_EQ(qmxtest::recorded().endProgramCount, wrong == "close" ? 1 : 0);
        const QString output = child<QPlainTextEdit>(m_form.get(), "CompileOutputText")->toPlainText();
        EXPECT_TRUE(statusStart != text(Text::CompileStopped) || output.endsWith(statusStart)) << output.toStdString();
        ASSERT_EQ(messages().size(), style ? 1u : 0u);
        if (!style)
            continue;
        EXPECT_EQ(messages()[0].style, style);
        for (const QString& part : inMessage)
            EXPECT_TRUE(messages()[0].prompt.contains(part)) << messages()[0].prompt.toStdString();
        if (style == 16) {
            EXPECT_EQ(messages()[0].action, text(Text::CompileOpenLog));
            EXPECT_TRUE(output.contains(messages()[0].prompt.section('\n', 0, 0))) << output.toStdString();
        }
    }
}
