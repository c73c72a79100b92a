#include "core/compile/CompileRunner.h"

#include "core/compile/DurationText.h"
#include "core/compile/Timer.h"
#include "core/os/Os.h"
#include "core/os/ToolProcess.h"

#include <cstdio>
#include <ctime>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace qmx::compile {

namespace {

// Enough for a leak's report and what led to it, few enough for a message box.
constexpr std::size_t kLastLines = 12;

std::string statusText(std::int32_t status)
{
    std::string text = std::to_string(status);
    if (status < 0 || status > 0xFFFF) {
        // Crashes and system errors read as the hexadecimal codes that documentation lists.
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(status));
        text += std::string(" (") + hex + ")";
    }
    return text;
}

std::string localTime()
{
    const std::time_t now = std::time(nullptr);
    char text[32] = "";
    if (const std::tm* local = std::localtime(&now))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
    return text;
}

// The run as the log keeps it, saved after each tool so a crash of the program loses at most one tool's part.
class RunLog
{
public:
    explicit RunLog(std::string path)
        : m_path(std::move(path))
    {
    }
    void add(std::string_view line)
    {
        m_text += line;
        m_text += "\r\n";
    }
    // A plain write: the log is worth no wait for the disk.
    void save() { m_saved = os::writeFile(m_path, m_text); }
    std::string savedPath() const { return m_saved ? m_path : std::string(); }

private:
    std::string m_path;
    std::string m_text;
    bool m_saved = false;
};

std::string runConclusion(const RunReport& report)
{
    if (report.outcome == RunOutcome::Succeeded)
        return config::text(config::Text::Compile) + " " + formatElapsedTime(report.seconds, true);
    if (report.outcome == RunOutcome::Stopped)
        return config::text(config::Text::CompileStopped);
    return config::text(config::Text::CompileStoppedHere);
}

} // namespace

const ToolReport* RunReport::ended() const
{
    if (tools.empty() || tools.back().outcome == ToolOutcome::Succeeded)
        return nullptr;
    return &tools.back();
}

// ---- the lines of the output ----

std::vector<std::string> OutputLines::feed(std::string_view bytes)
{
    std::vector<std::string> lines;
    for (const char c : bytes) {
        const bool lf = c == '\n';
        if (lf && m_afterCr) {
            m_afterCr = false; // the second half of CR LF
            continue;
        }
        m_afterCr = c == '\r';
        if (lf || c == '\r') {
            lines.push_back(os::fromAnsi(m_partial));
            m_partial.clear();
        } else {
            m_partial += c;
        }
    }
    return lines;
}

std::vector<std::string> OutputLines::finish()
{
    std::vector<std::string> lines;
    if (!m_partial.empty())
        lines.push_back(os::fromAnsi(m_partial));
    m_partial.clear();
    m_afterCr = false;
    return lines;
}

std::string toolHeading(const PlannedTool& tool)
{
    return "> " + tool.line;
}

std::string toolConclusion(const ToolReport& report)
{
    const std::string name = std::string(toolFileName(report.tool)) + ": ";
    const std::string time = numericDuration(roundToWholeSeconds(report.tenThousandths));
    switch (report.outcome) {
    case ToolOutcome::NotStarted:
        return name + config::text(config::Text::CompileToolNotStarted) + " " + report.detail;
    case ToolOutcome::Stopped:
        return name + config::text(config::Text::CompileToolStopped) + " " + time;
    case ToolOutcome::NoFreshBsp:
        return name + config::text(config::Text::CompileExitStatus) + " " + statusText(report.exitStatus) + ", " + time
            + "; " + config::text(config::Text::CompileNoFreshBsp) + " " + report.detail;
    case ToolOutcome::Succeeded:
    case ToolOutcome::Failed:
        break;
    }
    return name + config::text(config::Text::CompileExitStatus) + " " + statusText(report.exitStatus) + ", " + time;
}

// ---- the runner ----

struct CompileRunner::Impl
{
    explicit Impl(RunObserver& o)
        : observer(o)
    {
    }

    void run(const CompilePlan& plan);
    ToolReport runTool(const CompilePlan& plan, const PlannedTool& tool, RunLog& log);
    // Hands every line the tool writes on and into the log; its last lines that say something.
    std::vector<std::string> readOutput(os::ToolProcess& tool, RunLog& log);

    RunObserver& observer;
    std::thread thread;
    std::mutex mutex; // guards what stop() touches
    bool stopRequested = false;
    os::ToolProcess* process = nullptr;
};

CompileRunner::CompileRunner(RunObserver& observer)
    : m_impl(std::make_unique<Impl>(observer))
{
}

CompileRunner::~CompileRunner()
{
    stop();
    wait();
}

bool CompileRunner::start(const CompilePlan& plan)
{
    if (running())
        return false;
    m_impl->stopRequested = false;
    m_impl->thread = std::thread([impl = m_impl.get(), plan] { impl->run(plan); });
    return true;
}

bool CompileRunner::running() const
{
    return m_impl->thread.joinable();
}

void CompileRunner::wait()
{
    if (m_impl->thread.joinable())
        m_impl->thread.join();
}

void CompileRunner::stop()
{
    const std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->stopRequested = true;
    if (m_impl->process)
        m_impl->process->kill();
}

void CompileRunner::Impl::run(const CompilePlan& plan)
{
    RunLog log(plan.logPath);
    log.add("QMX GUI II, " + localTime() + ": " + plan.batchPath);
    RunReport report;
    const std::int64_t start = readTenThousandths();
    for (const PlannedTool& tool : plan.tools) {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            if (stopRequested) {
                report.outcome = RunOutcome::Stopped; // between two tools
                break;
            }
        }
        observer.toolStarted(tool);
        log.add("");
        log.add(toolHeading(tool));
        report.tools.push_back(runTool(plan, tool, log));
        const ToolReport& ended = report.tools.back();
        log.add(toolConclusion(ended));
        log.save();
        observer.toolEnded(ended);
        if (ended.outcome != ToolOutcome::Succeeded) {
            report.outcome = ended.outcome == ToolOutcome::Stopped ? RunOutcome::Stopped : RunOutcome::Failed;
            break;
        }
    }
    report.seconds = roundToWholeSeconds(readTenThousandths() - start);
    log.add("");
    log.add(runConclusion(report));
    log.save();
    report.logPath = log.savedPath();
    observer.runEnded(report);
}

std::vector<std::string> CompileRunner::Impl::readOutput(os::ToolProcess& tool, RunLog& log)
{
    std::deque<std::string> last;
    const auto take = [&](const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            observer.outputLine(line);
            log.add(line);
            if (line.find_first_not_of(" \t") == std::string::npos)
                continue; // blank lines say nothing in a message
            last.push_back(line);
            if (last.size() > kLastLines)
                last.pop_front();
        }
    };
    OutputLines lines;
    std::string bytes;
    while (tool.read(bytes)) {
        take(lines.feed(bytes));
        bytes.clear();
    }
    take(lines.finish());
    return {last.begin(), last.end()};
}

ToolReport CompileRunner::Impl::runTool(const CompilePlan& plan, const PlannedTool& tool, RunLog& log)
{
    ToolReport report;
    report.tool = tool.tool;
    report.line = tool.line;
    // An old .bsp beside the map must not pass for the new one.
    std::optional<std::int64_t> bspBefore;
    if (tool.tool == Tool::Bsp)
        bspBefore = os::fileModifiedTime(plan.bspPath);
    const std::int64_t start = readTenThousandths();

    std::string why;
    std::unique_ptr<os::ToolProcess> started;
    // The interpreter would say so in its own words and go on with an exit status that explains nothing.
    if (!os::fileExists(tool.program))
        why = tool.program + " was not found";
    else
        started = os::ToolProcess::start(tool.line, plan.batchDirectory(), &why);
    if (!started) {
        report.outcome = ToolOutcome::NotStarted;
        report.detail = why;
        report.tenThousandths = readTenThousandths() - start;
        return report;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex);
        process = started.get();
        if (stopRequested)
            process->kill();
    }
    report.lastLines = readOutput(*started, log);
    report.exitStatus = started->exitStatus();
    bool stopped = false;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        process = nullptr;
        stopped = stopRequested;
    }
    started.reset();
    report.tenThousandths = readTenThousandths() - start;

    if (stopped) {
        report.outcome = ToolOutcome::Stopped;
    } else if (report.exitStatus != 0) {
        report.outcome = ToolOutcome::Failed;
    } else if (tool.tool == Tool::Bsp) {
        const std::optional<std::int64_t> bspAfter = os::fileModifiedTime(plan.bspPath);
        if (!bspAfter || (bspBefore && *bspAfter == *bspBefore)) {
            report.outcome = ToolOutcome::NoFreshBsp;
            report.detail = plan.bspPath;
        }
    }
    return report;
}

} // namespace qmx::compile
