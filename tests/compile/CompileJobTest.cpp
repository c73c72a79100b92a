// The compile job in the window: its messages and their styles, what it stores, the run with the window
// locked, and the copy. The order of the checks and compile.bat's lines are the compile plan's (tests/core).

#include "compile/CompileFixture.h"

#include "core/compile/CompilePlan.h"
#include "options/OptionString.h"
#include "toolkit/MessageBox.h"

#include <QAction>
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
TEST_F(CompileFixture, RefusalsAndFailuresShowTheirMessageAndRunNothing)
{
    const QString sdk = win(m_sdkDir);
    const std::tuple<const char*, int, QString> cases[] = {
        // Message key, style, SDK directory. From the third row on, the job writes its settings before it fails.
        {"nomap", 64, sdk},
        {"nobsp", 64, sdk},
        {refusalKey(Refusal::NoSdkDir), 16, ""},
        {refusalKey(Refusal::SdkDirMissing), 16, sdk + "\\gone"},
        {refusalKey(Refusal::BatchFailed), 16, win(mkdir(m_toolRoot + "/blocked/compile.bat").section('/', 0, -2))},
        {refusalKey(Refusal::RunFailed), 16, sdk},
    };
    m_form->Dir1->setPath(win(m_mapDir));
    for (const char* name : {"VIS", "RAD", "CopyFile"})
        tick(name);
    writeHost(m_mapDir + "/a.bsp", "from an earlier run");
    for (const auto& [key, style, sdkDir] : cases) {
        SCOPED_TRACE(key);
        const QByteArray row = key;
        if (row == refusalKey(Refusal::RunFailed) && !takeAwayRunner())
            continue;
        qmxtest::resetRecorders();
        QFile::remove(m_sandbox.settingsFile());
        if (row == "nobsp")
            pickMap();
        tick("BSP", row != "nobsp");
        m_form->SDKDir = sdkDir;
        m_form->Form1_MenuCompile_Click();
        const QString text = Module1::LanguageText(key);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(!text.isEmpty() && messages()[0].prompt.startsWith(text)) << messages()[0].prompt.toStdString();
        EXPECT_EQ(messages()[0].style, style);
        EXPECT_EQ(messages()[0].title, qmx::ApplicationTitle());
        EXPECT_EQ(setting("LastMapDir"), style == 16 ? win(m_gameDir) : QString());
        EXPECT_TRUE(style == 16 || batchBytes().isEmpty());
        EXPECT_EQ(runRecord(), "");
        EXPECT_FALSE(QFile::exists(m_gameDir + "/a.bsp"));
    }
}

// One to three tool lines: compile.bat, the run, settings, message and copy. While the run goes on, the window
// is locked: no command, no control, no closing, and the status line says so.
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
    bool checked = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (checked || runRecord().isEmpty())
            return;
        checked = true;
        EXPECT_FALSE(m_form->MenuCompile->isEnabled());
        EXPECT_FALSE(m_form->centralWidget()->isEnabled());
        EXPECT_TRUE(m_form->statusBar()->currentMessage().startsWith(Module1::Text(qmx::config::Text::CompileRunning)));
        const QString options = Module1::StoredOptionString();
        QTest::mouseClick(m_form->CopyFile, Qt::LeftButton, {}, QPoint(8, m_form->CopyFile->height() / 2));
        m_form->Form1_MenuCompile_Click(); // a second job must not start inside the first
        for (QAction* action : m_form->findChildren<QAction*>())
            action->trigger();
        EXPECT_FALSE(m_form->close());
        EXPECT_TRUE(m_form->isVisible());
        EXPECT_EQ(Module1::StoredOptionString(), options);
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(qmxtest::endProgramCount(), 0);
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
        m_form->Form1_MenuCompile_Click();

        QString batch;
        for (const QString& line : lines)
            batch += QString("\"%1\\%2\" -game \"%vproject%\" %3 \"%4\\a.vmf\"\r\n")
                         .arg(win(m_sdkDir), line.section('|', 0, 0), line.section('|', 1), win(m_mapDir));
        EXPECT_EQ(batchBytes(), QByteArray::fromStdString(qmx::os::toAnsi(batch.toStdString())));
        EXPECT_EQ(runRecord(), expectedRun());
        EXPECT_EQ(setting("LastFile") + "|" + setting("LastDir") + "|" + setting("LastMapDir"),
                  "a.vmf|" + win(m_mapDir) + "|" + win(m_gameDir));
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(done.match(messages()[0].prompt).hasMatch()) << messages()[0].prompt.toStdString();
        EXPECT_EQ(messages()[0].style, 64);
        EXPECT_EQ(isCompiledMap(readHost(m_gameDir + "/a.bsp")), ticks.contains("CopyFile"));
        EXPECT_TRUE(m_form->MenuCompile->isEnabled() && m_form->statusBar()->currentMessage().isEmpty());
        EXPECT_TRUE(m_form->centralWidget()->isEnabled());
    }
    EXPECT_TRUE(checked);
}
