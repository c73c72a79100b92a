// The compile command in the window: its messages and their styles, what it stores, the run with the window
// locked, the copy, and a failed or stopped run that copies nothing. The order of the checks, compile.bat's
// lines and the tools' outcomes are the compile plan's and the runner's (tests/core), the lines the tools get
// the end-to-end test's.

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
// the settings the map and game directories, and the map is copied over the old one without asking.
TEST_F(CompileFixture, RunsWithTheWindowLockedThenReportsAndCopies)
{
    pickMap();
    for (const char* name : {"BSP", "VIS", "RAD", "CopyFile"})
        tick(name);
    writeHost(m_gameDir + "/a.bsp", "old");
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
    EXPECT_TRUE(isCompiledMap(readHost(m_gameDir + "/a.bsp")));
}

// A tool that fails ends the compile there: one message (style 16) names it, says why and offers the log; the
// old map in the game directory stays. Stop ends the run quietly; closing during a run stops it, then closes.
TEST_F(CompileFixture, AFailedOrStoppedCompileCopiesNothingAndSaysWhy)
{
    const QString stopped = qmx::languageText(qmx::config::Text::CompileStopped);
    const std::tuple<const char*, const char*, QString, QStringList, int> cases[] = {
        // a.vmf's text, QMX_STANDIN_FAIL, while the BSP tool holds: the Stop command or "close" (and yes), what
        // the one message holds (none: no message), the tools run
        {"standin_leak", "", "", {"qmxbsp.exe", "**** leaked ****", "compile.log"}, 1},
        {"x", "qmxvis.exe:3", "", {"qmxvis.exe", " 3,"}, 2},
        {"x", "", "MenuStop", {}, 1},
        {"x", "", "close", {}, 1},
    };
    pickMap();
    for (const char* name : {"BSP", "VIS", "RAD", "CopyFile"})
        tick(name);
    for (const auto& [map, fail, stop, inMessage, toolsRun] : cases) {
        SCOPED_TRACE(QString("%1 %2 %3").arg(map, fail, stop).toStdString());
        qmxtest::resetRecorders();
        QFile::remove(m_binDir + "/run.txt");
        QFile::remove(m_binDir + "/go");
        writeHost(m_mapDir + "/a.vmf", map);
        writeHost(m_gameDir + "/a.bsp", "old");
        qmxtest::ScopedEnv::set("QMX_STANDIN_FAIL", fail);
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&, stop = stop] {
            if (runRecord().isEmpty())
                return;
            probe.stop();
            stop == "close" ? void(m_form->close()) : action(stop)->trigger();
        });
        if (!stop.isEmpty()) {
            writeHost(m_binDir + "/hold", "");
            qmxtest::recorded().answer = qmx::vbYes;
            probe.start(5);
        }
        compile();
        writeHost(m_binDir + "/go", "");
        QFile::remove(m_binDir + "/hold");

        EXPECT_EQ(readHost(m_gameDir + "/a.bsp"), "old");
        EXPECT_EQ(runRecord().count("\r\n"), toolsRun);
        const QString output = child<QPlainTextEdit>(m_form.get(), "CompileOutputText")->toPlainText();
        if (inMessage.isEmpty()) {
            EXPECT_EQ(messages().size(), stop == "close" ? 1u : 0u); // the question only
            EXPECT_EQ(status(), stopped);
            EXPECT_TRUE(output.endsWith(stopped)) << output.toStdString();
            EXPECT_EQ(qmxtest::recorded().endProgramCount, stop == "close" ? 1 : 0);
            continue;
        }
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].style, 16);
        EXPECT_EQ(messages()[0].action, qmx::languageText(qmx::config::Text::CompileOpenLog));
        for (const QString& part : inMessage)
            EXPECT_TRUE(messages()[0].prompt.contains(part)) << messages()[0].prompt.toStdString();
        EXPECT_TRUE(output.contains(messages()[0].prompt.section('\n', 0, 0))) << output.toStdString();
    }
}
