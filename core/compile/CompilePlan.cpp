#include "core/compile/CompilePlan.h"

#include "core/compile/BatchFile.h"
#include "core/os/Os.h"

namespace qmx::compile {

config::Text refusalText(Refusal refusal)
{
    switch (refusal) {
    case Refusal::NoMap:
        return config::Text::NoMap;
    case Refusal::NoBsp:
        return config::Text::NoBsp;
    case Refusal::NoSdkDir:
        return config::Text::CompileNoSdkDir;
    case Refusal::SdkDirMissing:
        return config::Text::CompileSdkDirMissing;
    case Refusal::SdkDirTooLong:
        return config::Text::CompileSdkDirTooLong;
    case Refusal::BatchFailed:
        return config::Text::CompileBatchFailed;
    case Refusal::RunFailed:
        return config::Text::CompileRunFailed;
    }
    return config::Text::NoMap;
}

std::string CompilePlan::batchText() const
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::optional<Refusal> checkSelection(const CompileRequest& request)
{
    if (request.mapFile.empty())
        return Refusal::NoMap;
    if (!request.options.master(Page::Bsp))
        return Refusal::NoBsp;
    return std::nullopt;
}

PlanResult planCompile(const CompileRequest& request)
{
    PlanResult result;
    if (request.sdkDir.empty()) {
        result.refused = {Refusal::NoSdkDir, {}};
        return result;
    }
    const std::string shortSdkDir = os::getShortPath(request.sdkDir);
    if (shortSdkDir.empty()) {
        // No short form: the directory is gone, or its short form would not fit the buffer.
        result.refused
            = {os::directoryExists(request.sdkDir) ? Refusal::SdkDirTooLong : Refusal::SdkDirMissing, request.sdkDir};
        return result;
    }
    if (os::toAnsi(shortSdkDir).size() > kMaxShortSdkDirLength) {
        result.refused = {Refusal::SdkDirTooLong, shortSdkDir};
        return result;
    }

    const options::OptionSet& set = request.options;
    BatchRequest batch;
    batch.sdkDir = request.sdkDir;
    batch.mapDir = request.mapDir;
    batch.mapFile = request.mapFile;
    batch.bspSwitches = options::toolArguments(set, Page::Bsp);
    if (set.master(Page::Vis))
        batch.visSwitches = options::toolArguments(set, Page::Vis);
    if (set.master(Page::Rad))
        batch.radSwitches = options::toolArguments(set, Page::Rad);

    CompilePlan plan;
    plan.batchPath = shortSdkDir + "\\compile.bat";
    plan.lines = batchLines(batch);
    if (set.copyFile) {
        const std::string bsp = compiledFileName(request.mapFile);
        plan.copy = CopyStep{request.mapDir + "\\" + bsp, request.gameDir + "\\" + bsp};
    }
    result.plan = std::move(plan);
    return result;
}

std::optional<Refused> writeBatch(const CompilePlan& plan)
{
    std::string error;
    if (os::writeAnsiTextFile(plan.batchPath, plan.lines, &error))
        return std::nullopt;
    return Refused{Refusal::BatchFailed, plan.batchPath + ": " + error};
}

bool copyCompiledMap(const CompilePlan& plan)
{
    return plan.copy && os::copyFile(plan.copy->from, plan.copy->to);
}

} // namespace qmx::compile
