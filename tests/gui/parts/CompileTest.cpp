// The compile command in the window: its messages and their styles, what it stores, the run with the window
// locked, the copy and the game after it, and a refused, failed or stopped run that copies nothing and starts no
// game. The order of the checks, compile.bat's lines and the tools' outcomes are the compile plan's and the
// runner's (tests/core), the lines the tools get the end-to-end test's.

#include "support/CompileFixture.h"

#include "core/compile/CompilePlan.h"

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTimer>

using qmx::compile::Refusal;

// Each way a compile ends: one message that says so (none when stopped), the status line, the copy, and the game
// only on a map the compile has just copied. While a run goes on the window is locked: no command but Stop, no
// control, closing asks, and the status line counts; afterwards every command is back. A path the command
// interpreter would change, or an SDK directory that is gone, is refused: nothing runs. A tool that fails ends
// the compile there: the message (style 16) names it, says why and offers the log. Stop ends the run quietly;
// closing during a run asks, and stops it, then closes, or lets it go on. The old map in the game directory stays
// but for a fresh copy. (Which refusal comes first, how each tool fails: the compile plan's and the runner's tests.)
TEST_F(CompileFixture, EachEndSaysWhatHappenedAndTheGameRunsOnlyOnAFreshCopy)
{
    using Text = qmx::config::Text;
    const auto text = [](Text id) { return qmx::languageText(id); };
    const auto starts = [](const QString& s) { return '^' + QRegularExpression::escape(s); };
    const QString stopped = starts(text(Text::CompileStopped)) + '$', time = "\\d:\\d\\d\\.\\d\\d";
    const QString threeTimes = QString("^qmxbsp.exe %1, qmxvis.exe %1, qmxrad.exe %1$").arg(time);
    const QStringList all = {"VIS", "RAD", "CopyFile"}, andRun = {"VIS", "RAD", "CopyFile", "RunMap"};
    const std::tuple<QStringList, QString, int, int, QStringList, QString> cases[] = {
        // boxes ticked besides BSP; what goes wrong: the SDK directory's last part, a leaking map, QMX_STANDIN_FAIL,
        // or while the BSP tool holds Stop or closing the window, answered yes or no; the tools run; the one
        // message's style (0: none) and what it holds; the status line
        {{"CopyFile", "RunMap"}, "", 1, 64, {text(Text::Compile)}, starts(text(Text::GameStarted))},
        {{"RunMap"}, "", 1, 64, {}, starts(text(Text::GameNotCopied))},
        {{"CopyFile"}, "", 1, 64, {}, "^qmxbsp.exe " + time + '$'},
        {andRun, "\\100%", 0, 16, {text(refusalText(Refusal::UnsafeCharacter)), "\"%\""}, ""},
        {andRun, "\\gone", 0, 16, {text(refusalText(Refusal::SdkDirMissing))}, ""},
        {andRun, "standin_leak", 1, 16, {"qmxbsp.exe", "leaked", "compile.log"}, "^qmxbsp.exe: "},
        {all, "qmxvis.exe:3", 2, 16, {"qmxvis.exe", " 3,"}, "^qmxbsp.exe " + time + ", qmxvis.exe: "},
        {all, "Stop", 1, 0, {}, stopped},
        {all, "close: no", 3, 64, {text(Text::Compile)}, threeTimes},
        {all, "close: yes", 1, 36, {text(Text::CompileCloseRunning)}, stopped}, // last: the window is gone then
    };
    QAction* stop = action("MenuStop");
    QList<QAction*> commands;
    for (const char* name : {"MenuCompile", "presets", "MenuCredits", "MenuHelp", "RunGame"})
        commands << action(name);
    for (int slot = 1; slot <= 4; ++slot)
        commands << action(QString("loadpreset%1").arg(slot)) << action(QString("savepreset%1").arg(slot));
    const QRegularExpression done(starts(text(Text::Compile)) + " \\d+ \\S+");
    pickMap();
    for (const auto& [ticks, wrong, toolsRun, style, inMessage, statusLine] : cases) {
        SCOPED_TRACE((ticks.join(' ') + ' ' + wrong).toStdString());
        qmxtest::resetRecorders();
        for (const QString& file : {m_binDir + "/run.txt", m_binDir + "/go", m_sdkDir + "/compile.bat"})
            QFile::remove(file);
        qmx::storeSetting(qmx::config::Setting::LastMapDir, QString());
        writeHost(m_mapDir + "/a.vmf", wrong == "standin_leak" ? "standin_leak" : "x");
        writeHost(m_gameDir + "/a.bsp", "old");
        m_form->setSdkDirectory(win(m_sdkDir) + (wrong.startsWith('\\') ? wrong : QString()));
        qmxtest::ScopedEnv::set("QMX_STANDIN_FAIL", wrong.contains(".exe:") ? wrong.toStdString() : "");
        for (const char* name : {"BSP", "VIS", "RAD", "CopyFile", "RunMap"})
            tick(name, ticks.contains(name) || name == QLatin1String("BSP"));
        EXPECT_EQ(qmx::setting(qmx::config::Setting::RunMap), ticks.contains("RunMap") ? "1" : "0"); // at once
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&, wrong = wrong] {
            if (runRecord().isEmpty())
                return;
            probe.stop();
            for (QAction* command : commands)
                EXPECT_FALSE(command->isEnabled()) << command->objectName().toStdString();
            EXPECT_TRUE(stop->isEnabled() && m_form->menuBar()->actions().contains(stop));
            EXPECT_FALSE(m_form->centralWidget()->isEnabled());
            EXPECT_TRUE(status().startsWith(text(Text::CompileRunning))) << status().toStdString();
            if (wrong == "Stop")
                return stop->trigger();
            EXPECT_FALSE(m_form->close()); // asked first
            if (wrong == "close: no") {
                EXPECT_TRUE(m_form->isVisible() && messages().size() == 1u);
                qmxtest::resetRecorders();
                writeHost(m_binDir + "/go", "");
            }
        });
        if (wrong == "Stop" || wrong.startsWith("close")) {
            writeHost(m_binDir + "/hold", "");
            qmxtest::recorded().answer = wrong == "close: yes" ? qmx::vbYes : qmx::vbNo;
            probe.start(5);
        }
        compile();
        QFile::remove(m_binDir + "/hold");

        EXPECT_FALSE(probe.isActive()) << "the BSP tool never held";
        for (QAction* command : commands)
            EXPECT_TRUE(command->isEnabled()) << command->objectName().toStdString();
        EXPECT_TRUE(!m_form->menuBar()->actions().contains(stop) && m_form->centralWidget()->isEnabled());
        EXPECT_EQ(runRecord().count("\r\n"), toolsRun);
        EXPECT_EQ(batchBytes().isEmpty(), toolsRun == 0);
        // The directories are stored before the SDK directory is looked at, never for a path refused before.
        EXPECT_EQ(qmx::setting(qmx::config::Setting::LastMapDir), wrong == "\\100%" ? QString() : win(m_gameDir));
        EXPECT_TRUE(QRegularExpression(statusLine).match(status()).hasMatch()) << status().toStdString();
        const QByteArray inGame = readHost(m_gameDir + "/a.bsp");
        EXPECT_TRUE(style == 64 && ticks.contains("CopyFile") ? isCompiledMap(inGame) : inGame == "old");
        if (status().startsWith(text(Text::GameStarted))) {
            EXPECT_EQ(gameRun(), m_gameOnTheMap);
        }
        EXPECT_EQ(qmxtest::recorded().endProgramCount, wrong == "close: yes" ? 1 : 0);
        const QString output = child<QPlainTextEdit>(m_form.get(), "CompileOutputText")->toPlainText();
        EXPECT_TRUE(statusLine != stopped || output.endsWith(text(Text::CompileStopped))) << output.toStdString();
        ASSERT_EQ(messages().size(), style ? 1u : 0u);
        if (!style)
            continue;
        EXPECT_EQ(messages()[0].style, style);
        EXPECT_TRUE(style != 64 || done.match(messages()[0].prompt).hasMatch()) << messages()[0].prompt.toStdString();
        for (const QString& part : inMessage)
            EXPECT_TRUE(!part.isEmpty() && messages()[0].prompt.contains(part)) << messages()[0].prompt.toStdString();
        if (style == 16 && toolsRun) {
            EXPECT_EQ(messages()[0].action, text(Text::CompileOpenLog));
            EXPECT_TRUE(output.contains(messages()[0].prompt.section('\n', 0, 0))) << output.toStdString();
        }
    }
}
