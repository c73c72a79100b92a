// The compile job in the window: its messages and their styles, what it stores, the run with the window
// locked, the copy, and a failed or stopped run that copies nothing. The order of the checks and
// compile.bat's lines are the compile plan's (tests/core); the tools' outcomes are the runner's.

#include "support/CompileFixture.h"

#include "core/compile/CompilePlan.h"
#include "gui/parts/CompileController.h"
#include "gui/parts/CompileOutput.h"
#include "gui/parts/OptionString.h"
#include "gui/toolkit/MessageBox.h"

#include <QAction>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>

using qmx::compile::Refusal;

namespace {
const char* refusalKey(Refusal refusal)
{
    return qmx::config::info(qmx::compile::refusalText(refusal)).key;
}
} // namespace

// Every refusal shows its message and runs and copies nothing; each row builds on the state the one before left.
TEST_F(CompileFixture, RefusalsShowTheirMessageAndRunNothing)
{
    const QString sdk = win(m_sdkDir);
    const std::tuple<const char*, int, QString, bool> cases[] = {
        // Message key, style, SDK directory, settings written. From the fourth row on, the job writes its settings
        // before it fails.
        {"nomap", 64, sdk, false},
        {"nobsp", 64, sdk, false},
        {refusalKey(Refusal::UnsafeCharacter), 16, sdk + "\\100%", false},
        {refusalKey(Refusal::NoSdkDir), 16, "", true},
        {refusalKey(Refusal::SdkDirMissing), 16, sdk + "\\gone", true},
        {refusalKey(Refusal::BatchFailed), 16, win(mkdir(m_toolRoot + "/blocked/compile.bat").section('/', 0, -2)),
         true},
    };
    m_form->Dir1->setPath(win(m_mapDir));
    for (const char* name : {"VIS", "RAD", "CopyFile"})
        tick(name);
    writeHost(m_mapDir + "/a.bsp", "from an earlier run");
    for (const auto& [key, style, sdkDir, stored] : cases) {
        SCOPED_TRACE(key);
        const QByteArray row = key;
        qmxtest::resetRecorders();
        QFile::remove(m_sandbox.settingsFile());
        if (row == "nobsp")
            pickMap();
        tick("BSP", row != "nobsp");
        m_form->SDKDir = sdkDir;
        compile();
        const QString text = Module1::LanguageText(key);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(!text.isEmpty() && messages()[0].prompt.startsWith(text)) << messages()[0].prompt.toStdString();
        EXPECT_EQ(messages()[0].style, style);
        EXPECT_EQ(messages()[0].title, qmx::ApplicationTitle());
        EXPECT_EQ(setting("LastMapDir"), stored ? win(m_gameDir) : QString());
        EXPECT_TRUE(stored || batchBytes().isEmpty());
        EXPECT_EQ(runRecord(), "");
        EXPECT_FALSE(QFile::exists(m_gameDir + "/a.bsp"));
    }
}

// One to three tool lines: compile.bat, the run, settings, message and copy. While the run goes on, the window
// is locked: no command but Stop, no control, closing asks, and the status line counts. Afterwards every command
// is back and the status line holds each tool's time.
TEST_F(CompileFixture, WritesBatchRunsReportsAndCopies)
{
    const std::pair<QStringList, QStringList> cases[] = {
        // Check boxes clicked on, or "box=value" typed; then each tool and its switches.
        {{"BSP", "BSPnowater"}, {"qmxbsp.exe| -nowater"}},
        {{"BSP", "VIS", "VISfast", "RAD", "RADbounce", "RADbounce_text=2 4", "CopyFile"},
         {"qmxbsp.exe|", "qmxvis.exe|-fast", "qmxrad.exe| -bounce 2 4"}},
    };
    pickMap();
    writeHost(m_binDir + "/hold", "");
    const QList<QAction*> commands
        = {m_form->MenuCompile, m_form->presets->menuAction(), m_form->MenuCredits, m_form->MenuHelp, m_form->RunGame};
    bool checked = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (checked || runRecord().isEmpty())
            return;
        checked = true;
        for (QAction* command : commands)
            EXPECT_FALSE(command->isEnabled()) << command->objectName().toStdString();
        EXPECT_TRUE(m_form->menuBar()->actions().contains(m_form->MenuStop));
        EXPECT_FALSE(m_form->centralWidget()->isEnabled());
        EXPECT_TRUE(m_form->statusBar()->currentMessage().startsWith(Module1::Text(qmx::config::Text::CompileRunning)));
        const QString options = Module1::StoredOptionString();
        QTest::mouseClick(m_form->CopyFile, Qt::LeftButton, {}, QPoint(8, m_form->CopyFile->height() / 2));
        m_form->Form1_MenuCompile_Click(); // a second job must not start inside the first
        for (QAction* action : m_form->findChildren<QAction*>())
            if (action != m_form->MenuStop)
                action->trigger();
        EXPECT_FALSE(m_form->close()); // asked, and told no
        EXPECT_TRUE(m_form->isVisible());
        EXPECT_EQ(Module1::StoredOptionString(), options);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].prompt, Module1::Text(qmx::config::Text::CompileCloseRunning));
        EXPECT_EQ(messages()[0].style, qmx::vbYesNo | qmx::vbQuestion);
        EXPECT_EQ(qmxtest::endProgramCount(), 0);
        qmxtest::resetRecorders();
        writeHost(m_binDir + "/go", "");
    });
    probe.start(5);
    const QRegularExpression done(QString("^\\Q%1\\E \\d+ \\S+").arg(Module1::LanguageText("Compile")));
    for (const auto& [ticks, lines] : cases) {
        SCOPED_TRACE(ticks.join(' ').toStdString());
        qmxtest::resetRecorders();
        QFile::remove(m_sandbox.settingsFile());
        QFile::remove(m_binDir + "/run.txt");
        writeHost(m_gameDir + "/a.bsp", "old"); // replaced without asking
        Module1::RestoreOptionString(QString());
        for (const QString& name : ticks)
            tick(name);
        compile();

        QString batch, times;
        for (const QString& line : lines) {
            batch += QString("\"%1\\%2\" -game \"%vproject%\" %3 \"%4\\a.vmf\"\r\n")
                         .arg(win(m_sdkDir), line.section('|', 0, 0), line.section('|', 1), win(m_mapDir));
            times += (times.isEmpty() ? "" : ", ") + QRegularExpression::escape(line.section('|', 0, 0))
                + " \\d:\\d\\d.\\d\\d";
        }
        EXPECT_EQ(batchBytes(), QByteArray::fromStdString(qmx::os::toAnsi(batch.toStdString())));
        EXPECT_EQ(runRecord(), expectedRun());
        EXPECT_EQ(setting("LastFile") + "|" + setting("LastDir") + "|" + setting("LastMapDir"),
                  "a.vmf|" + win(m_mapDir) + "|" + win(m_gameDir));
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(done.match(messages()[0].prompt).hasMatch()) << messages()[0].prompt.toStdString();
        EXPECT_EQ(messages()[0].style, 64);
        EXPECT_EQ(isCompiledMap(readHost(m_gameDir + "/a.bsp")), ticks.contains("CopyFile"));
        for (QAction* command : commands)
            EXPECT_TRUE(command->isEnabled()) << command->objectName().toStdString();
        EXPECT_FALSE(m_form->menuBar()->actions().contains(m_form->MenuStop));
        EXPECT_TRUE(m_form->centralWidget()->isEnabled());
        const QString status = m_form->statusBar()->currentMessage();
        EXPECT_TRUE(QRegularExpression("^" + times + "$").match(status).hasMatch()) << status.toStdString();
    }
    EXPECT_TRUE(checked);
}

// A tool that fails ends the compile there: one message (style 16) names it, says why and offers the log; the
// old map in the game directory stays. Stop ends the run quietly; closing during a run stops it, then closes.
TEST_F(CompileFixture, AFailedOrStoppedCompileCopiesNothingAndSaysWhy)
{
    const QString stopped = Module1::Text(qmx::config::Text::CompileStopped);
    const struct
    {
        const char* name;
        const char* fail; // QMX_STANDIN_FAIL
        const char* map; // a.vmf's text
        const char* missing; // a tool taken away
        const char* stop; // "menu" or "close" while the BSP tool holds
        QStringList inMessage; // none: no message
        int toolsRun;
    } cases[] = {
        {"BSP leaks", "", "standin_leak", "", "", {"qmxbsp.exe", "**** leaked ****", "compile.log"}, 1},
        {"VIS fails", "qmxvis.exe:3", "x", "", "", {"qmxvis.exe", " 3,"}, 2},
        {"RAD is missing", "", "x", "qmxrad.exe", "", {"qmxrad.exe", "qmxrad.exe was not found"}, 2},
        {"stopped", "", "x", "", "menu", {}, 1},
        {"closed", "", "x", "", "close", {}, 1},
    };
    pickMap();
    for (const char* name : {"BSP", "VIS", "RAD", "CopyFile"})
        tick(name);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qmxtest::resetRecorders();
        QFile::remove(m_binDir + "/run.txt");
        QFile::remove(m_binDir + "/go");
        writeHost(m_mapDir + "/a.vmf", c.map);
        writeHost(m_gameDir + "/a.bsp", "old");
        if (*c.missing)
            QFile::remove(m_sdkDir + "/" + c.missing);
        qmxtest::ScopedEnv::set("QMX_STANDIN_FAIL", c.fail);
        // Once the BSP tool holds: Stop from the menu, or close the window and say yes.
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (runRecord().isEmpty())
                return;
            probe.stop();
            QByteArray(c.stop) == "menu" ? m_form->MenuStop->trigger() : void(m_form->close());
        });
        if (*c.stop) {
            writeHost(m_binDir + "/hold", "");
            qmxtest::answerBoxes(qmx::vbYes);
            probe.start(5);
        }
        compile();
        writeHost(m_binDir + "/go", "");
        QFile::remove(m_binDir + "/hold");

        EXPECT_EQ(readHost(m_gameDir + "/a.bsp"), "old");
        EXPECT_EQ(runRecord().count("\r\n"), c.toolsRun);
        const QString output = m_form->compileController()->output()->view()->toPlainText();
        if (c.inMessage.isEmpty()) {
            EXPECT_EQ(messages().size(), QByteArray(c.stop) == "close" ? 1u : 0u); // the question only
            EXPECT_EQ(m_form->statusBar()->currentMessage(), stopped);
            EXPECT_TRUE(output.endsWith(stopped)) << output.toStdString();
            EXPECT_EQ(qmxtest::endProgramCount(), QByteArray(c.stop) == "close" ? 1 : 0);
            continue;
        }
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].style, 16);
        EXPECT_EQ(messages()[0].action, Module1::Text(qmx::config::Text::CompileOpenLog));
        for (const QString& part : c.inMessage)
            EXPECT_TRUE(messages()[0].prompt.contains(part)) << messages()[0].prompt.toStdString();
        EXPECT_TRUE(output.contains(messages()[0].prompt.section('\n', 0, 0))) << output.toStdString();
        if (*c.missing) {
            ASSERT_TRUE(QFile::copy(QStringLiteral(QMX_STANDIN_DIR "/") + c.missing, m_sdkDir + "/" + c.missing));
        }
    }
}
