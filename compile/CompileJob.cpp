// The compile job: compile.bat, the run in a console window, the time in words, the copy.

#include "main_window/Form1.h"

#include "compile/ConsoleWait.h"
#include "compile/ElapsedTime.h"
#include "compile/JobMessages.h"
#include "compile/Timer.h"
#include "core/compile/BatchFile.h"
#include "core/os/Os.h"
#include "core/storage/LanguageKeys.h"
#include "core/storage/SettingsKeys.h"
#include "options/ToolArguments.h"
#include "storage/Module1Ini.h"
#include "toolkit/CheckBox.h"
#include "toolkit/DirList.h"
#include "toolkit/FileList.h"
#include "toolkit/MessageBox.h"

using qmx::compile::JobMessage;

namespace {

void failJob(JobMessage message, const QString& detail)
{
    qmx::MsgBox(qmx::compile::jobMessagePrompt(message, detail), qmx::vbCritical);
}

} // namespace

void Form1::Form1_MenuCompile_Click()
{
    if (compileRunning)
        return; // a shortcut can still arrive while the console runs

    const QString mapFile = File1->FileName();
    if (mapFile.isEmpty()) {
        qmx::MsgBox(Module1::LanguageText(qmx::language::kNoMap), qmx::vbInformation);
        return;
    }
    if (BSP->Value() == 0) {
        qmx::MsgBox(Module1::LanguageText(qmx::language::kNoBsp), qmx::vbInformation);
        return;
    }

    // Taken once: the window stays usable during the run, and the copy must match what was compiled.
    const QString mapDir = Dir1->Path();
    const QString gameDir = Dir2->Path();
    const QString settings = Module1::SettingsFile();
    const QString section = QString::fromLatin1(qmx::settings::kSection);
    Module1::WriteIniValue(settings, section, QString::fromLatin1(qmx::settings::kLastFile), mapFile);
    Module1::WriteIniValue(settings, section, QString::fromLatin1(qmx::settings::kLastDir), mapDir);
    Module1::WriteIniValue(settings, section, QString::fromLatin1(qmx::settings::kLastMapDir), gameDir);

    if (SDKDir.isEmpty()) {
        failJob(JobMessage::NoSdkDir, QString());
        return;
    }
    const QString shortSdkDir = Module1::GetShortPath(SDKDir);
    if (shortSdkDir.isEmpty()) {
        // No short form: the directory is gone (or its short form would not fit the buffer).
        failJob(qmx::os::directoryExists(SDKDir.toStdString()) ? JobMessage::SdkDirTooLong : JobMessage::SdkDirMissing,
                SDKDir);
        return;
    }
    if (qmx::os::toAnsi(shortSdkDir.toStdString()).size() > qmx::compile::kMaxShortSdkDirLength) {
        failJob(JobMessage::SdkDirTooLong, shortSdkDir);
        return;
    }
    const QString batchPath = shortSdkDir + QStringLiteral("\\compile.bat");

    qmx::compile::BatchRequest request;
    request.sdkDir = SDKDir.toStdString();
    request.mapDir = mapDir.toStdString();
    request.mapFile = mapFile.toStdString();
    request.bspSwitches = Module1::BuildBspArguments().toStdString();
    if (VIS->Value() == 1)
        request.visSwitches = Module1::BuildVisArguments().toStdString();
    if (RAD->Value() == 1)
        request.radSwitches = Module1::BuildRadArguments().toStdString();
    std::string writeError;
    if (!qmx::os::writeAnsiTextFile(batchPath.toStdString(), qmx::compile::batchLines(request), &writeError)) {
        failJob(JobMessage::BatchFailed, batchPath + QStringLiteral(": ") + QString::fromStdString(writeError));
        return;
    }

    const qint64 start = Module1::ReadPerformanceTenThousandths();
    QString runError;
    if (!qmx::compile::ConsoleWait(this).run(batchPath, &runError)) {
        failJob(JobMessage::RunFailed, runError);
        return;
    }
    const qint64 end = Module1::ReadPerformanceTenThousandths();
    const qint32 seconds = qmx::compile::roundToWholeSeconds(end - start);

    const QString compileText
        = Module1::ReadIniValue(Module1::LanguageFile(), QString::fromLatin1(qmx::language::kSectionCapital),
                                QString::fromLatin1(qmx::language::kCompile));
    qmx::MsgBox(compileText + QLatin1Char(' ') + Module1::FormatElapsedTime(seconds, true), qmx::vbInformation);

    if (CopyFile->Value() == 1) {
        const QString bspName = QString::fromStdString(qmx::compile::compiledFileName(mapFile.toStdString()));
        // Like the tools' own result, the copy's result is not reported.
        qmx::os::copyFile((mapDir + QLatin1Char('\\') + bspName).toStdString(),
                          (gameDir + QLatin1Char('\\') + bspName).toStdString());
    }
}
