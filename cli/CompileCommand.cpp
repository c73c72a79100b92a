#include "cli/CompileCommand.h"

#include "core/compile/CompileRunner.h"
#include "core/compile/DurationText.h"
#include "core/compile/Timer.h"
#include "core/game/GameRun.h"
#include "core/game/GameSettings.h"
#include "core/options/OptionString.h"
#include "core/os/Os.h"
#include "core/os/ToolProcess.h"
#include "core/storage/ProgramFiles.h"
#include "core/storage/SdkDirectory.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace qmx::cli {

namespace {

bool hasDriveLetter(std::string_view path)
{
    return path.size() >= 2 && path[1] == ':'
        && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool endsWithVmf(std::string_view name)
{
    if (name.size() < 4)
        return false;
    std::string extension(name.substr(name.size() - 4));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return extension == ".vmf"; // the window's map list ignores case too
}

// Where the options came from, for the messages about them.
std::string optionSource(const Arguments& arguments)
{
    if (arguments.options)
        return "--options";
    if (arguments.preset)
        return config::text(config::Text::Preset) + " " + std::to_string(*arguments.preset);
    return config::info(config::Setting::LastUsedSettings).key;
}

Failure refused(config::Text text, std::string detail = {})
{
    return Failure{ExitRefused, text, std::move(detail)};
}

// A directory from the command line; "" stays "" (and is refused as not set later).
std::optional<Failure> resolveDirectory(const std::string& given, std::string& out)
{
    out = windowsFormOf(given);
    if (out.empty() && !given.empty())
        return refused(config::Text::CliOutsideDrives, given);
    return std::nullopt;
}

} // namespace

std::string terminalSafe(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    char hex[8];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // C1 controls are two bytes in UTF-8; a terminal takes U+009B for an escape sequence too.
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            std::snprintf(hex, sizeof hex, "\\u%04X", next);
            out += hex;
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string failureLine(const Failure& failure)
{
    std::string line = config::text(failure.text);
    // Only the map's text is old enough to have no English of its own, and a usage error is reported
    // without a language file.
    if (line.empty() && failure.text == config::Text::NoMap)
        line = "Please select a map file first.";
    if (!failure.detail.empty())
        line += " (" + failure.detail + ")";
    // One line, whatever a system message or a path holds.
    return "qmxcompile: " + terminalSafe(line) + "\n";
}

std::string windowsFormOf(std::string_view given)
{
    std::string path(given);
    if (path.empty())
        return {};
    if (hasDriveLetter(path)) {
        std::replace(path.begin(), path.end(), '/', '\\');
        if (path[0] >= 'a' && path[0] <= 'z')
            path[0] = static_cast<char>(path[0] - 'a' + 'A');
    } else {
        // The shell expands "~" only at the start of a word, not after "--game-dir=".
        if (path[0] == '~' && (path.size() == 1 || path[1] == '/' || path[1] == '\\')) {
            const std::string home = os::getEnv("HOME");
            if (!home.empty())
                path = home + path.substr(1);
        }
        std::error_code failed;
        const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::u8path(path), failed);
        if (!failed)
            path = absolute.u8string();
        path = os::toWindowsPath(path);
        if (path.empty())
            return {};
    }
    // A directory as the window's lists give it: no trailing backslash but at a drive's root ("C:\").
    while (path.size() > 3 && (path.back() == '\\'))
        path.pop_back();
    return path;
}

ResolvedRequest resolveRequest(const Arguments& arguments)
{
    ResolvedRequest out;
    compile::CompileRequest& request = out.request;

    const std::string map = windowsFormOf(arguments.map);
    if (map.empty()) {
        out.failure = refused(config::Text::CliOutsideDrives, arguments.map);
        return out;
    }
    if (!endsWithVmf(map)) {
        out.failure = refused(config::Text::CliNotVmf, arguments.map);
        return out;
    }
    if (!os::fileExists(map)) {
        out.failure = refused(config::Text::CliMapMissing, arguments.map);
        return out;
    }
    const std::size_t slash = map.rfind('\\');
    request.mapDir = map.substr(0, slash);
    if (request.mapDir.size() == 2)
        request.mapDir += '\\'; // a drive's root, as the window's directory list gives it
    request.mapFile = map.substr(slash + 1);

    std::string stored;
    if (arguments.options) {
        // A stored string never holds a line break; in a value text one would start a line of its own in
        // compile.bat.
        stored = *arguments.options;
        stored.erase(std::remove_if(stored.begin(), stored.end(), [](char c) { return c == '\r' || c == '\n'; }),
                     stored.end());
    } else {
        stored = config::read(arguments.preset ? config::presetSetting(*arguments.preset)
                                               : config::Setting::LastUsedSettings);
        if (stored.empty()) {
            out.failure = refused(arguments.preset ? config::Text::CliPresetNotSaved : config::Text::CliNoLastOptions,
                                  arguments.preset ? optionSource(arguments) : std::string());
            return out;
        }
    }
    request.options = options::restoreOptionSet(stored);
    if (arguments.copy)
        request.options.copyFile = *arguments.copy;

    if (arguments.sdkDir)
        out.failure = resolveDirectory(*arguments.sdkDir, request.sdkDir);
    else
        request.sdkDir = config::detectSdkDirectory();
    if (!out.failure && arguments.gameDir)
        out.failure = resolveDirectory(*arguments.gameDir, request.gameDir);
    else if (!arguments.gameDir)
        request.gameDir = config::read(config::Setting::LastMapDir);
    return out;
}

namespace {

// The run as it goes, written from the runner's thread while the command waits for it.
class TerminalObserver : public compile::RunObserver
{
public:
    explicit TerminalObserver(Terminal& terminal)
        : m_terminal(terminal)
    {
    }
    void toolStarted(const compile::PlannedTool& tool) override
    {
        m_terminal.text(terminalSafe(compile::toolHeading(tool)) + "\n");
    }
    void outputLine(const std::string& utf8) override { m_terminal.text(utf8 + "\n"); }
    void toolEnded(const compile::ToolReport& report) override
    {
        m_terminal.text(compile::toolConclusion(report) + "\n");
    }
    void runEnded(const compile::RunReport& report) override { m_report = report; }

    const compile::RunReport& report() const { return m_report; }

private:
    Terminal& m_terminal;
    compile::RunReport m_report;
};

// Runs the tools; Ctrl+C meanwhile stops them instead of ending the command.
compile::RunReport runTools(const compile::CompilePlan& plan, Terminal& terminal)
{
    TerminalObserver observer(terminal);
    compile::CompileRunner runner(observer);
    const os::InterruptWatch interrupts([](void* r) { static_cast<compile::CompileRunner*>(r)->stop(); }, &runner);
    runner.start(plan);
    runner.wait();
    return observer.report();
}

// Says why the command stops, on one line of standard error, and gives its status.
int stopWith(Terminal& terminal, const Failure& failure)
{
    terminal.error(failureLine(failure));
    return failure.status;
}

// The game on the map just copied, as the window runs it after a compile.
int runGame(const compile::CompileRequest& request, bool copied, Terminal& terminal)
{
    const game::RunResult result
        = game::runCompiledMap({request.mapFile, request.gameDir, game::readGameSettings()}, copied);
    if (result.launch) {
        terminal.text(config::text(config::Text::GameStarted) + " " + terminalSafe(result.launch->commandLine) + "\n");
        return ExitSuccess;
    }
    const game::Refused& refused = *result.refused;
    // Not copied, so nothing to run: said, but the compile itself went well.
    if (refused.reason == game::Refusal::NotCopied) {
        terminal.text(config::text(game::refusalText(refused.reason)) + "\n");
        return ExitSuccess;
    }
    terminal.error(failureLine({ExitGameFailed, game::refusalText(refused.reason), refused.detail}));
    return ExitGameFailed;
}

// From the arguments to a plan, the checks in their order; or the failure that stops it.
struct Prepared
{
    compile::CompileRequest request;
    std::optional<compile::CompilePlan> plan;
    std::optional<Failure> failure;
};

Prepared prepare(const Arguments& arguments)
{
    Prepared out;
    ResolvedRequest resolved = resolveRequest(arguments);
    out.request = std::move(resolved.request);
    const compile::CompileRequest& request = out.request;
    if (resolved.failure) {
        out.failure = resolved.failure;
    } else if (const std::optional<compile::Refusal> refusal = compile::checkSelection(request)) {
        out.failure = refused(compile::refusalText(*refusal), optionSource(arguments));
    } else if (const std::optional<compile::Refused> unsafe = compile::checkLines(request)) {
        // What the command interpreter would change is a mistake in what was asked for.
        out.failure = Failure{ExitUsage, compile::refusalText(unsafe->reason), unsafe->detail};
    } else if (compile::PlanResult planned = compile::planCompile(request); !planned.plan) {
        out.failure = refused(compile::refusalText(planned.refused.reason), planned.refused.detail);
    } else if (planned.plan->copy && request.gameDir.empty()) { // checked now rather than after a long compile
        out.failure = refused(config::Text::CliNoGameDir);
    } else if (planned.plan->copy && !os::directoryExists(request.gameDir)) {
        out.failure = refused(config::Text::CliGameDirMissing, request.gameDir);
    } else {
        out.plan = std::move(planned.plan);
    }
    return out;
}

// How the tools ended, then the copy and the game.
int conclude(const compile::RunReport& report, const Prepared& prepared, bool runMap, Terminal& terminal)
{
    if (report.outcome == compile::RunOutcome::Stopped)
        return stopWith(terminal, {ExitStopped, config::Text::CompileStopped, {}});
    if (const compile::ToolReport* failed = report.ended()) {
        // An old .bsp may lie beside the map; copying it would hide the failure.
        if (!report.logPath.empty())
            terminal.text(config::text(config::Text::CompileLog) + " " + terminalSafe(report.logPath) + "\n");
        const bool started = failed->outcome != compile::ToolOutcome::NotStarted;
        return stopWith(terminal,
                        {started ? ExitToolFailed : ExitNotRun,
                         started ? config::Text::CliToolsFailed : config::Text::CliRunFailed,
                         compile::toolConclusion(*failed)});
    }
    terminal.text(config::text(config::Text::Compile) + " " + compile::formatElapsedTime(report.seconds, true) + "\n");
    const compile::CompilePlan& plan = *prepared.plan;
    if (plan.copy && !compile::copyCompiledMap(plan))
        return stopWith(terminal,
                        {ExitCopyFailed, config::Text::CliCopyFailed, plan.copy->from + " -> " + plan.copy->to});
    return runMap ? runGame(prepared.request, plan.copy.has_value(), terminal) : ExitSuccess;
}

} // namespace

int runCompileCommand(const ParsedArguments& parsed, Terminal& terminal)
{
    const Arguments& arguments = parsed.arguments;
    if (arguments.help) {
        terminal.text(helpText());
        return ExitSuccess;
    }
    // A wrong command line is 64 whatever else is wrong, said in English when there is no language file.
    if (parsed.error) {
        const std::string detail
            = parsed.error->problem == UsageProblem::NoMap ? "qmxcompile MAP.vmf [OPTION]..." : parsed.error->detail;
        return stopWith(terminal, {ExitUsage, usageText(parsed.error->problem), detail});
    }
    // The window will not start without its texts; neither does the command, in the window's words.
    if (!os::fileExists(languageFilePath())) {
        terminal.error("qmxcompile: Language-File not found. (" + terminalSafe(os::toHostPath(languageFilePath()))
                       + ")\n");
        return ExitRefused;
    }
    const Prepared prepared = prepare(arguments);
    if (prepared.failure)
        return stopWith(terminal, *prepared.failure);
    if (arguments.dryRun) {
        terminal.bytes(os::toAnsi(prepared.plan->batchText())); // what compile.bat would hold, byte for byte
        return ExitSuccess;
    }
    if (const std::optional<compile::Refused> failed = compile::writeBatch(*prepared.plan))
        return stopWith(terminal, {ExitNotRun, compile::refusalText(failed->reason), failed->detail});
    compile::initPerformanceTimer();
    return conclude(runTools(*prepared.plan, terminal), prepared, arguments.run, terminal);
}

} // namespace qmx::cli
