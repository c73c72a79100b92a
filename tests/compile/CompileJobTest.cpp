#include "compile/CompileFixture.h"

#include "compile/JobMessages.h"
#include "storage/qt/Module1Ini.h"
#include "toolkit/CheckBox.h"
#include "toolkit/DirList.h"
#include "toolkit/MessageBox.h"
#include "toolkit/os/Os.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>

using qmx::compile::JobMessage;
using qmxtest::messages;

namespace {
QString languageText(const char* key)
{
    return Module1::LanguageText(key);
}
} // namespace

TEST_F(CompileFixture, NoMapSelectedWritesNothing)
{
    m_form->Dir1->setPath(win(m_mapDir));
    tick(QStringLiteral("BSP"));
    m_form->Form1_MenuCompile_Click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, languageText("nomap"));
    EXPECT_EQ(messages()[0].style, 64);
    EXPECT_EQ(messages()[0].title, qmx::ApplicationTitle());
    EXPECT_FALSE(QFile::exists(m_sandbox->settingsFile()));
    EXPECT_TRUE(batchBytes().isEmpty());
}

TEST_F(CompileFixture, BspOffRefusesEvenWithVisAndRad)
{
    pickMap(QStringLiteral("a.vmf"));
    tick(QStringLiteral("BSP"), false);
    tick(QStringLiteral("VIS"));
    tick(QStringLiteral("RAD"));
    m_form->Form1_MenuCompile_Click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, languageText("nobsp"));
    EXPECT_EQ(messages()[0].style, 64);
    EXPECT_TRUE(setting("LastMapDir").isEmpty()); // the pick wrote its two keys, the job none
    EXPECT_TRUE(batchBytes().isEmpty());
}

TEST_F(CompileFixture, WritesBatchRunsReportsAndCopies)
{
    pickMap(QStringLiteral("a.vmf"));
    tick(QStringLiteral("BSP"));
    tick(QStringLiteral("BSPnowater"));
    tick(QStringLiteral("RAD"));
    tick(QStringLiteral("RADbounce"));
    setText(QStringLiteral("RADbounce_text"), QStringLiteral("2 4"));
    tick(QStringLiteral("CopyFile"));
    writeHost(m_gameDir + QStringLiteral("/a.bsp"), "old"); // replaced without asking

    m_form->Form1_MenuCompile_Click();

    // compile.bat is ANSI; the sandbox's paths carry a non-ASCII letter.
    const QByteArray sdk = QByteArray::fromStdString(qmx::os::toAnsi(win(m_sdkDir).toStdString()));
    const QByteArray map = QByteArray::fromStdString(qmx::os::toAnsi(win(m_mapDir).toStdString())) + "\\a.vmf";
    EXPECT_EQ(batchBytes(),
              "\"" + sdk + "\\qmxbsp.exe\" -game \"%vproject%\"  -nowater \"" + map
                  + "\"\r\n"
                    "\""
                  + sdk + "\\qmxrad.exe\" -game \"%vproject%\"  -bounce 2 4 \"" + map + "\"\r\n");
    EXPECT_EQ(runnerArgs(), "cmd\n/c\n" + win(m_sdkDir).toUtf8() + "\\compile.bat\n");
    EXPECT_EQ(setting("LastFile"), QStringLiteral("a.vmf"));
    EXPECT_EQ(setting("LastDir"), win(m_mapDir));
    EXPECT_EQ(setting("LastMapDir"), win(m_gameDir));

    ASSERT_EQ(messages().size(), 1u);
    const QString compileText
        = Module1::ReadIniValue(Module1::LanguageFile(), QStringLiteral("Language"), QStringLiteral("Compile"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\Q%1\\E \\d+ \\S+").arg(compileText))
                    .match(messages()[0].prompt)
                    .hasMatch())
        << messages()[0].prompt.toStdString();
    EXPECT_EQ(messages()[0].style, 64);
    EXPECT_EQ(readHost(m_gameDir + QStringLiteral("/a.bsp")), "compiled");
    EXPECT_FALSE(m_form->compileRunning);
}

TEST_F(CompileFixture, CopyOffLeavesTheGameDirectoryAlone)
{
    pickMap(QStringLiteral("a.vmf"));
    tick(QStringLiteral("BSP"));
    tick(QStringLiteral("CopyFile"), false);
    m_form->Form1_MenuCompile_Click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(QFile::exists(m_mapDir + QStringLiteral("/a.bsp")));
    EXPECT_FALSE(QFile::exists(m_gameDir + QStringLiteral("/a.bsp")));
}

TEST_F(CompileFixture, WhileRunningCommandsAndClosingAreRefused)
{
    pickMap(QStringLiteral("a.vmf"));
    tick(QStringLiteral("BSP"));
    holdRunner();
    bool checked = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (checked || !QFile::exists(m_binDir + QStringLiteral("/args.txt")))
            return;
        checked = true;
        EXPECT_TRUE(m_form->compileRunning);
        EXPECT_FALSE(m_form->MenuCompile->isEnabled());
        EXPECT_FALSE(m_form->statusBar()->currentMessage().isEmpty());
        EXPECT_FALSE(m_form->close());
        EXPECT_TRUE(m_form->isVisible());
        m_form->Form1_MenuCompile_Click(); // a second job must not start inside the first
        release();
    });
    probe.start(5);
    m_form->Form1_MenuCompile_Click();
    EXPECT_TRUE(checked);
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_FALSE(m_form->compileRunning);
    EXPECT_TRUE(m_form->MenuCompile->isEnabled());
    EXPECT_TRUE(m_form->statusBar()->currentMessage().isEmpty());
}

// Each failure before the run ends the job with a critical message; the settings are already
// written, nothing runs and nothing is copied.
TEST_F(CompileFixture, FailuresBeforeTheRunStopTheJob)
{
    enum class Break
    {
        NoSdk,
        SdkGone,
        SdkTooLong,
        BatchIsADirectory,
        NoRunner
    };
    struct Case
    {
        Break what;
        JobMessage message;
    };
    const Case cases[] = {
        {Break::NoSdk, JobMessage::NoSdkDir},           {Break::SdkGone, JobMessage::SdkDirMissing},
        {Break::SdkTooLong, JobMessage::SdkDirTooLong}, {Break::BatchIsADirectory, JobMessage::BatchFailed},
        {Break::NoRunner, JobMessage::RunFailed},
    };
    pickMap(QStringLiteral("a.vmf"));
    tick(QStringLiteral("BSP"));
    tick(QStringLiteral("CopyFile"));
    writeHost(m_mapDir + QStringLiteral("/a.bsp"), "from an earlier run");
    const QString sdk = m_form->SDKDir;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.what));
        qmxtest::resetRecorders();
        QFile::remove(m_sandbox->settingsFile());
        m_form->SDKDir = sdk;
        switch (c.what) {
        case Break::NoSdk:
            m_form->SDKDir.clear();
            break;
        case Break::SdkGone:
            m_form->SDKDir = sdk + QStringLiteral("\\gone");
            break;
        case Break::SdkTooLong: {
            const QString deep = QString(100, QLatin1Char('d')) + QLatin1Char('/') + QString(100, QLatin1Char('e'));
            QDir().mkpath(m_sdkDir + QLatin1Char('/') + deep);
            m_form->SDKDir = win(m_sdkDir + QLatin1Char('/') + deep);
            break;
        }
        case Break::BatchIsADirectory:
            QDir().mkpath(m_sdkDir + QStringLiteral("/compile.bat"));
            break;
        case Break::NoRunner:
            qputenv("PATH", m_sandbox->makeDir(QStringLiteral("empty")).toUtf8());
            break;
        }
        m_form->Form1_MenuCompile_Click();
        QDir(m_sdkDir + QStringLiteral("/compile.bat")).removeRecursively();
        qputenv("PATH", m_binDir.toUtf8() + ':' + m_oldPath);

        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].style, 16);
        EXPECT_TRUE(messages()[0].prompt.startsWith(qmx::compile::jobMessageText(c.message)))
            << messages()[0].prompt.toStdString();
        EXPECT_EQ(setting("LastMapDir"), win(m_gameDir));
        EXPECT_FALSE(QFile::exists(m_binDir + QStringLiteral("/args.txt")));
        EXPECT_FALSE(QFile::exists(m_gameDir + QStringLiteral("/a.bsp")));
        EXPECT_FALSE(m_form->compileRunning);
    }
}

TEST_F(CompileFixture, FailureTextsComeFromTheLanguageFileOrFallBackToEnglish)
{
    const char* key = qmx::compile::jobMessageKey(JobMessage::RunFailed);
    m_sandbox->writeFile(QStringLiteral("language.qmxII"), QByteArray("[language]\r\n") + key + "=Kein Wine.\r\n");
    EXPECT_EQ(qmx::compile::jobMessageText(JobMessage::RunFailed), QStringLiteral("Kein Wine."));
    EXPECT_EQ(qmx::compile::jobMessagePrompt(JobMessage::RunFailed, QStringLiteral("why")),
              QStringLiteral("Kein Wine.\n\nwhy"));

    m_sandbox->writeFile(QStringLiteral("language.qmxII"), "[language]\r\nnomap=x\r\n");
    for (JobMessage m : {JobMessage::NoSdkDir, JobMessage::SdkDirMissing, JobMessage::SdkDirTooLong,
                         JobMessage::BatchFailed, JobMessage::RunFailed, JobMessage::Running})
        EXPECT_FALSE(qmx::compile::jobMessageText(m).isEmpty()) << qmx::compile::jobMessageKey(m);
}

TEST_F(CompileFixture, ShippedLanguageFileHasEveryFailureText)
{
    for (JobMessage m : {JobMessage::NoSdkDir, JobMessage::SdkDirMissing, JobMessage::SdkDirTooLong,
                         JobMessage::BatchFailed, JobMessage::RunFailed, JobMessage::Running})
        EXPECT_FALSE(languageText(qmx::compile::jobMessageKey(m)).isEmpty()) << qmx::compile::jobMessageKey(m);
}
