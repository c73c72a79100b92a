// The compile command in the window: its messages and their styles, what it stores, the run with the window
// locked, the copy, and a failed or stopped run that copies nothing. The order of the checks, compile.bat's
// lines and the tools' outcomes are the compile plan's and the runner's (tests/core).

#include "support/CompileFixture.h"

#include "core/compile/CompilePlan.h"
#include "gui/parts/CompileController.h"
#include "gui/parts/CompileOutput.h"
#include "gui/toolkit/MessageBox.h"

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTimer>

using qmx::compile::Refusal;

namespace {

QString key(Refusal refusal)
{
    return qmx::config::info(qmx::compile::refusalText(refusal)).key;
}

} // namespace

// Every refusal shows its message and runs and copies nothing; each row builds on the state the one before left.
TEST_F(CompileFixture, RefusalsShowTheirMessageAndRunNothing)
{
    const QString sdk = win(m_sdkDir);
    const std::tuple<QString, int, QString, bool> cases[] = {
        // message key, style, SDK directory, settings written (from the fourth row on, before the refusal)
        {"nomap", 64, sdk, false},
        {"nobsp", 64, sdk, false},
        {key(Refusal::UnsafeCharacter), 16, sdk + "\\100%", false},
        {key(Refusal::SdkDirMissing), 16, sdk + "\\gone", true},
    };
    dirList("Dir1")->setPath(win(m_mapDir));
    for (const char* name : {"VIS", "RAD", "CopyFile"})
        tick(name);
    writeHost(m_mapDir + "/a.bsp", "from an earlier run");
    for (const auto& [textKey, style, sdkDir, stored] : cases) {
        SCOPED_TRACE(textKey.toStdString());
        qmxtest::resetRecorders();
        QFile::remove(m_sandbox.settingsFile());
        if (textKey == "nobsp")
            pickMap();
        tick("BSP", textKey != "nobsp");
        m_form->setSdkDirectory(sdkDir);
        compile();
        ASSERT_EQ(messages().size(), 1u);
        const QString text = languageKey(textKey);
        EXPECT_TRUE(!text.isEmpty() && messages()[0].prompt.startsWith(text)) << messages()[0].prompt.toStdString();
        EXPECT_EQ(messages()[0].style, style);
        EXPECT_EQ(qmx::setting(qmx::config::Setting::LastMapDir), stored ? win(m_gameDir) : QString());
        EXPECT_TRUE(stored || batchBytes().isEmpty());
        EXPECT_EQ(runRecord(), "");
        EXPECT_FALSE(QFile::exists(m_gameDir + "/a.bsp"));
    }
}

// The run, settings, message and copy (compile.bat's lines: tests/e2e). While the run goes on the window is locked:
// no command but Stop, no control, closing asks, and the status line counts. Afterwards every command is back and
// the status line holds each tool's time.
TEST_F(CompileFixture, RunsWithTheWindowLockedThenReportsAndCopies)
{
    const std::pair<QStringList, QString> cases[] = {
        // check boxes clicked on; the status line afterwards
        {{"BSP"}, "qmxbsp.exe \\d:\\d\\d.\\d\\d"},
        {{"BSP", "VIS", "RAD", "CopyFile"}, "qmxbsp.exe \\S+, qmxvis.exe \\S+, qmxrad.exe \\d:\\d\\d.\\d\\d"},
    };
    pickMap();
    writeHost(m_binDir + "/hold", "");
    QAction* stop = action("MenuStop");
    QList<QAction*> commands = {stop};
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
            EXPECT_EQ(command->isEnabled(), command == stop) << command->objectName().toStdString();
        EXPECT_TRUE(m_form->menuBar()->actions().contains(stop));
        EXPECT_FALSE(m_form->centralWidget()->isEnabled());
        EXPECT_TRUE(status().startsWith(qmx::languageText(qmx::config::Text::CompileRunning)));
        EXPECT_FALSE(m_form->close()); // asked, and told no
        EXPECT_TRUE(m_form->isVisible());
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].prompt, qmx::languageText(qmx::config::Text::CompileCloseRunning));
        EXPECT_EQ(messages()[0].style, qmx::vbYesNo | qmx::vbQuestion);
        qmxtest::resetRecorders();
        writeHost(m_binDir + "/go", "");
    });
    probe.start(5);
    const QRegularExpression done(QString("^\\Q%1\\E \\d+ \\S+").arg(qmx::languageText(qmx::config::Text::Compile)));
    for (const auto& [ticks, times] : cases) {
        SCOPED_TRACE(ticks.join(' ').toStdString());
        qmxtest::resetRecorders();
        QFile::remove(m_binDir + "/run.txt");
        writeHost(m_gameDir + "/a.bsp", "old"); // replaced without asking
        for (const char* master : {"BSP", "VIS", "RAD", "CopyFile"})
            tick(master, false);
        for (const QString& name : ticks)
            tick(name);
        compile();
        EXPECT_EQ(runRecord(), expectedRun());
        EXPECT_EQ(qmx::setting(qmx::config::Setting::LastFile) + "|" + qmx::setting(qmx::config::Setting::LastMapDir),
                  "a.vmf|" + win(m_gameDir));
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(done.match(messages()[0].prompt).hasMatch()) << messages()[0].prompt.toStdString();
        EXPECT_EQ(messages()[0].style, 64);
        EXPECT_EQ(isCompiledMap(readHost(m_gameDir + "/a.bsp")), ticks.contains("CopyFile"));
        for (QAction* command : commands.mid(1))
            EXPECT_TRUE(command->isEnabled()) << command->objectName().toStdString();
        EXPECT_FALSE(m_form->menuBar()->actions().contains(stop));
        EXPECT_TRUE(m_form->centralWidget()->isEnabled());
        EXPECT_TRUE(QRegularExpression("^" + times + "$").match(status()).hasMatch()) << status().toStdString();
    }
    EXPECT_TRUE(checked);
}

// A tool that fails ends the compile there: one message (style 16) names it, says why and offers the log; the
// old map in the game directory stays. Stop ends the run quietly; closing during a run stops it, then closes.
TEST_F(CompileFixture, AFailedOrStoppedCompileCopiesNothingAndSaysWhy)
{
    const QString stopped = qmx::languageText(qmx::config::Text::CompileStopped);
    const struct
    {
        const char* name;
        const char* fail; // QMX_STANDIN_FAIL
        const char* map; // a.vmf's text
        const char* stop; // "menu" or "close" while the BSP tool holds
        QStringList inMessage; // none: no message
        int toolsRun;
    } cases[] = {
        {"BSP leaks", "", "standin_leak", "", {"qmxbsp.exe", "**** leaked ****", "compile.log"}, 1},
        {"VIS fails", "qmxvis.exe:3", "x", "", {"qmxvis.exe", " 3,"}, 2},
        {"stopped", "", "x", "menu", {}, 1},
        {"closed", "", "x", "close", {}, 1},
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
        qmxtest::ScopedEnv::set("QMX_STANDIN_FAIL", c.fail);
        // Once the BSP tool holds: Stop from the menu, or close the window and say yes.
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (runRecord().isEmpty())
                return;
            probe.stop();
            QByteArray(c.stop) == "menu" ? action("MenuStop")->trigger() : void(m_form->close());
        });
        if (*c.stop) {
            writeHost(m_binDir + "/hold", "");
            qmxtest::recorded().answer = qmx::vbYes;
            probe.start(5);
        }
        compile();
        writeHost(m_binDir + "/go", "");
        QFile::remove(m_binDir + "/hold");

        EXPECT_EQ(readHost(m_gameDir + "/a.bsp"), "old");
        EXPECT_EQ(runRecord().count("\r\n"), c.toolsRun);
        const QString output = child<QPlainTextEdit>(m_form.get(), "CompileOutputText")->toPlainText();
        if (c.inMessage.isEmpty()) {
            EXPECT_EQ(messages().size(), QByteArray(c.stop) == "close" ? 1u : 0u); // the question only
            EXPECT_EQ(status(), stopped);
            EXPECT_TRUE(output.endsWith(stopped)) << output.toStdString();
            EXPECT_EQ(qmxtest::recorded().endProgramCount, QByteArray(c.stop) == "close" ? 1 : 0);
            continue;
        }
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].style, 16);
        EXPECT_EQ(messages()[0].action, qmx::languageText(qmx::config::Text::CompileOpenLog));
        for (const QString& part : c.inMessage)
            EXPECT_TRUE(messages()[0].prompt.contains(part)) << messages()[0].prompt.toStdString();
        EXPECT_TRUE(output.contains(messages()[0].prompt.section('\n', 0, 0))) << output.toStdString();
    }
}
