#pragma once

// Runs a compile plan's tools one after another, each from its line of compile.bat as the batch would run
// it, in a thread of its own, and stops at the first that fails: a tool that exits with a status other
// than 0, one that cannot be started, or a BSP tool that leaves no new .bsp beside the map (some tools
// exit with 0 after an error). It reads the tools' output line by line, keeps the whole run in a log
// beside compile.bat, and times every tool. The window and the terminal command both drive it.

#include "core/compile/CompilePlan.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qmx::compile {

enum class ToolOutcome
{
    Succeeded,
    Failed, // an exit status other than 0
    NotStarted,
    NoFreshBsp, // the BSP tool left no .bsp newer than the one before it ran
    Stopped,
};

struct ToolReport
{
    Tool tool = Tool::Bsp;
    std::string line; // its line of compile.bat
    ToolOutcome outcome = ToolOutcome::Succeeded;
    std::int32_t exitStatus = 0;
    std::int64_t tenThousandths = 0; // how long it ran
    std::string detail; // why it could not start, or the .bsp it should have written
    std::vector<std::string> lastLines; // the last lines it wrote, oldest first
};

enum class RunOutcome
{
    Succeeded,
    Failed,
    Stopped,
};

struct RunReport
{
    RunOutcome outcome = RunOutcome::Succeeded;
    std::vector<ToolReport> tools; // every tool that was started or tried, in order
    std::int32_t seconds = 0; // the whole run, rounded to whole seconds
    std::string logPath; // Windows-form; "" when the log could not be written

    // The tool that failed or was stopped; nullptr when none did (a run stopped between two tools).
    const ToolReport* ended() const;
};

// What the runner reports as it goes, on its own thread, in this order.
class RunObserver
{
public:
    virtual ~RunObserver() = default;
    virtual void toolStarted(const PlannedTool& tool) = 0;
    virtual void outputLine(const std::string& utf8) = 0;
    virtual void toolEnded(const ToolReport& report) = 0;
    virtual void runEnded(const RunReport& report) = 0;
};

class CompileRunner
{
public:
    explicit CompileRunner(RunObserver& observer);
    CompileRunner(const CompileRunner&) = delete;
    CompileRunner& operator=(const CompileRunner&) = delete;
    // Stops a run that still goes on and waits for its end.
    ~CompileRunner();

    // Starts running the plan's tools; false while an earlier run has not been waited for.
    bool start(const CompilePlan& plan);
    // True from start() until wait() has returned: a run that has ended still counts until it is collected,
    // so whoever drives the runner handles its end before another can begin.
    bool running() const;
    // Waits until the run has ended and the observer has had runEnded.
    void wait();
    // Ends the running tool and everything it started; no later tool runs. Any thread may call it.
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// The lines of a tool's output as it comes in pieces: a line ends at LF, CR LF or a lone CR, and is decoded
// from the tools' code page (ANSI) to UTF-8 whole, never a piece at a time.
class OutputLines
{
public:
    // The lines that the new bytes complete.
    std::vector<std::string> feed(std::string_view bytes);
    // The last line, when the output ended without a line break; nothing otherwise.
    std::vector<std::string> finish();

private:
    std::string m_partial;
    bool m_afterCr = false;
};

// How the output, the log and the terminal show a tool: its line before it runs ("> " and the line), and
// after it how it ended: "qmxbsp.exe: exit status 0, 0:00.03", or why it failed, in the language file's
// words.
std::string toolHeading(const PlannedTool& tool);
std::string toolConclusion(const ToolReport& report);

} // namespace qmx::compile
