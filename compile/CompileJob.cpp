// The compile job: compile.bat, the run in a console window, the time in words, the copy, the game.

#include "compile/CompileJob.h"

#include "core/compile/BatchFile.h"
#include "core/compile/DurationText.h"
#include "core/compile/Timer.h"
#include "storage/Module1Ini.h"
#include "toolkit/MessageBox.h"

#include <QMainWindow>
#include <QStatusBar>

namespace qmx::compile {

namespace {

// The refusal's text and, on a line of its own, what exactly was wrong.
void refuse(const Refused& refused)
{
    QString prompt = Module1::Text(refusalText(refused.reason));
    if (!refused.detail.empty())
        prompt += QStringLiteral("\n\n") + QString::fromStdString(refused.detail);
    MsgBox(prompt, vbCritical);
}

// A game that cannot start is the user's to fix (settings, a missing map); a failed start is an error.
int gameRefusalStyle(game::Refusal refusal)
{
    switch (refusal) {
    case game::Refusal::NoMap:
        return vbInformation;
    case game::Refusal::StartFailed:
        return vbCritical;
    default:
        return vbExclamation;
    }
}

} // namespace

void ShowGameRun(const game::RunResult& result, QMainWindow* window)
{
    QStatusBar* status = window ? window->statusBar() : nullptr;
    if (result.launch) {
        if (status)
            status->showMessage(Module1::Text(config::Text::GameStarted) + QLatin1Char(' ')
                                + QString::fromStdString(result.launch->commandLine));
        return;
    }
    if (!result.refused)
        return;
    const QString text = Module1::Text(game::refusalText(result.refused->reason));
    if (result.refused->reason == game::Refusal::NotCopied) {
        // Unticking the copy is a choice, not a fault: no box to close after every compile.
        if (status)
            status->showMessage(text);
        return;
    }
    QString prompt = text;
    if (!result.refused->detail.empty())
        prompt += QStringLiteral("\n\n") + QString::fromStdString(result.refused->detail);
    MsgBox(prompt, gameRefusalStyle(result.refused->reason));
}

void RunCompileJob(const CompileRequest& request, const JobWindow& window, bool runMap)
{
    if (const std::optional<Refusal> refusal = checkSelection(request)) {
        MsgBox(Module1::Text(refusalText(*refusal)), vbInformation);
        return;
    }

    Module1::SetSetting(config::Setting::LastFile, QString::fromStdString(request.mapFile));
    Module1::SetSetting(config::Setting::LastDir, QString::fromStdString(request.mapDir));
    Module1::SetSetting(config::Setting::LastMapDir, QString::fromStdString(request.gameDir));

    const PlanResult planned = planCompile(request);
    if (!planned.plan) {
        refuse(planned.refused);
        return;
    }
    const CompilePlan& plan = *planned.plan;
    if (const std::optional<Refused> failed = writeBatch(plan)) {
        refuse(*failed);
        return;
    }

    const std::int64_t start = readTenThousandths();
    QString runError;
    if (!ConsoleWait(window).run(QString::fromStdString(plan.batchPath), &runError)) {
        refuse({Refusal::RunFailed, runError.toStdString()});
        return;
    }
    const std::int32_t seconds = roundToWholeSeconds(readTenThousandths() - start);

    MsgBox(Module1::Text(config::Text::Compile) + QLatin1Char(' ')
               + QString::fromStdString(formatElapsedTime(seconds, true)),
           vbInformation);

    // Like the tools' own result, the copy's result is not reported; the game runs only on a fresh copy.
    const bool copied = copyCompiledMap(plan);
    if (runMap)
        ShowGameRun(game::runCompiledMap({request.mapFile, request.gameDir, game::readGameSettings()}, copied),
                    window.window);
}

} // namespace qmx::compile
