// The compile job: compile.bat, the run in a console window, the time in words, the copy.

#include "compile/CompileJob.h"

#include "core/compile/BatchFile.h"
#include "core/compile/DurationText.h"
#include "core/compile/Timer.h"
#include "storage/Module1Ini.h"
#include "toolkit/MessageBox.h"

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

} // namespace

void RunCompileJob(const CompileRequest& request, const JobWindow& window)
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

    // Like the tools' own result, the copy's result is not reported.
    copyCompiledMap(plan);
}

} // namespace qmx::compile
