#include "core/compile/CompilePlan.h"

#include "core/compile/BatchFile.h"
#include "core/os/Os.h"
#include "core/os/Utf8.h"

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
    case Refusal::UnsafeCharacter:
        return config::Text::CompileUnsafeCharacter;
    case Refusal::LineTooLong:
        return config::Text::CompileLineTooLong;
    case Refusal::NotInCodePage:
        return config::Text::CompileNotInCodePage;
    }
    return config::Text::NoMap;
}

std::string CompilePlan::batchText() const
{
    std::string text;
    for (const PlannedTool& tool : tools)
        text += tool.line + "\r\n";
    return text;
}

std::string CompilePlan::batchDirectory() const
{
    return batchPath.substr(0, batchPath.rfind('\\'));
}

namespace {

constexpr Page kToolPages[] = {Page::Bsp, Page::Vis, Page::Rad};
constexpr Tool kTools[] = {Tool::Bsp, Tool::Vis, Tool::Rad};

// The BSP line always, then a line for each other tool switched on.
std::vector<PlannedTool> plannedTools(const CompileRequest& request)
{
    std::vector<PlannedTool> tools;
    for (int i = 0; i < 3; ++i) {
        if (i == 0 || request.options.master(kToolPages[i]))
            tools.push_back({kTools[i], request.sdkDir + "\\" + toolFileName(kTools[i]),
                             toolLine(kTools[i], request.sdkDir, options::toolArguments(request.options, kToolPages[i]),
                                      request.mapDir, request.mapFile)});
    }
    return tools;
}

// A path that goes to the command interpreter, and whether compile.bat holds it (so in its code page).
struct PassedPath
{
    std::string path;
    bool inBatch;
};

std::string quoted(std::string_view character)
{
    if (character == "\r" || character == "\n")
        return "a line break";
    return "\"" + std::string(character) + "\"";
}

// The first letter of the text that the ANSI code page cannot hold, as UTF-8; "" when there is none.
std::string firstLetterOutsideAnsi(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        std::uint32_t codePoint = 0;
        os::nextUtf8(text, i, codePoint);
        const std::string_view letter = text.substr(start, i - start);
        if (os::fromAnsi(os::toAnsi(letter)) != letter)
            return std::string(letter);
    }
    return {};
}

} // namespace

std::optional<Refused> checkLines(const CompileRequest& request)
{
    // The game directory goes to the game's command line, through no batch file.
    const PassedPath paths[]
        = {{request.mapDir + "\\" + request.mapFile, true}, {request.sdkDir, true}, {request.gameDir, false}};
    for (const PassedPath& passed : paths) {
        const std::size_t at = passed.path.find_first_of("\r\n\"%");
        if (at != std::string::npos)
            return Refused{Refusal::UnsafeCharacter, quoted(passed.path.substr(at, 1)) + " in " + passed.path};
    }
    for (const PassedPath& passed : paths) {
        const std::string letter = passed.inBatch ? firstLetterOutsideAnsi(passed.path) : std::string();
        if (!letter.empty())
            return Refused{Refusal::NotInCodePage, quoted(letter) + " in " + passed.path};
    }
    for (const PlannedTool& tool : plannedTools(request)) {
        const std::size_t length = os::toAnsi(tool.line).size();
        if (length > kMaxToolLineLength)
            return Refused{Refusal::LineTooLong,
                           std::string(toolFileName(tool.tool)) + ": " + std::to_string(length) + " characters"};
    }
    return std::nullopt;
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
    if (shortSdkDir.empty() || !os::directoryExists(request.sdkDir)) {
        // No short form: the directory is gone, or its short form would not fit the buffer. A file of that
        // name has a short form but is no directory.
        result.refused
            = {os::directoryExists(request.sdkDir) ? Refusal::SdkDirTooLong : Refusal::SdkDirMissing, request.sdkDir};
        return result;
    }
    if (os::toAnsi(shortSdkDir).size() > kMaxShortSdkDirLength) {
        result.refused = {Refusal::SdkDirTooLong, shortSdkDir};
        return result;
    }

    CompilePlan plan;
    plan.batchPath = shortSdkDir + "\\compile.bat";
    plan.tools = plannedTools(request);
    const std::string bsp = compiledFileName(request.mapFile);
    plan.bspPath = request.mapDir + "\\" + bsp;
    plan.logPath = request.sdkDir + "\\compile.log";
    if (request.options.copyFile)
        plan.copy = CopyStep{plan.bspPath, request.gameDir + "\\" + bsp};
    result.plan = std::move(plan);
    return result;
}

std::optional<Refused> writeBatch(const CompilePlan& plan)
{
    std::vector<std::string> lines;
    for (const PlannedTool& tool : plan.tools)
        lines.push_back(tool.line);
    std::string error;
    if (os::writeAnsiTextFile(plan.batchPath, lines, &error))
        return std::nullopt;
    return Refused{Refusal::BatchFailed, plan.batchPath + ": " + error};
}

bool copyCompiledMap(const CompilePlan& plan)
{
    return plan.copy && os::copyFile(plan.copy->from, plan.copy->to);
}

} // namespace qmx::compile
