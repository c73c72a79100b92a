// The compile runner with the stand-in tools (tests/standin), for real: through Wine's command interpreter
// on Linux, through Windows' own under Wine in the mingw build. It stops at the first tool that fails, says
// which and why, keeps the run in its log, and Stop ends the tool it is running.

#include "core/compile/CompileRunner.h"
#include "core/options/OptionString.h"
#include "core/os/Os.h"
#include "support/OsTestDir.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

using namespace qmx::compile;

namespace {

// What the runner reported, from its thread.
class Recorder : public RunObserver
{
public:
    void toolStarted(const PlannedTool& tool) override { record("> " + std::string(toolFileName(tool.tool))); }
    void outputLine(const std::string& utf8) override { record(utf8); }
    void toolEnded(const ToolReport&) override { }
    void runEnded(const RunReport& report) override { m_report = report; }

    // Waits until a line holding the text has come.
    bool awaitLine(const std::string& text)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_seen.wait_for(lock, std::chrono::minutes(1), [&] { return m_lines.find(text) != std::string::npos; });
    }
    const RunReport& report() const { return m_report; }
    std::string lines()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines;
    }

private:
    void record(const std::string& line)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_lines += line + "\n";
        m_seen.notify_all();
    }
    std::mutex m_mutex;
    std::condition_variable m_seen;
    std::string m_lines;
    RunReport m_report;
};

class CompileRunnerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_dir.mkdir("sdk/bin");
        m_dir.mkdir("maps");
        for (const char* tool : {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"})
            std::filesystem::copy_file(std::string(QMX_STANDIN_DIR "/") + tool,
                                       m_dir.fsPath(std::string("sdk/bin/") + tool));
        m_dir.write("maps/a.vmf", "versioninfo\n");
        m_env.unset("QMX_STANDIN_FAIL");
        m_env.set("QMX_STANDIN_LOG", win("tools.log"));
    }
    std::string win(std::string_view name) const { return qmx::os::toWindowsPath(m_dir.path(name)); }
    CompilePlan plan(const char* options) const
    {
        CompileRequest request;
        request.mapDir = win("maps");
        request.mapFile = "a.vmf";
        request.sdkDir = win("sdk/bin");
        request.options = qmx::options::restoreOptionSet(options);
        return *planCompile(request).plan;
    }

    // ASCII only: the command interpreter reads its batch files in another code page than ours.
    qmxtest::OsTestDir m_dir{"qmx runner "};
    qmxtest::ScopedEnv m_env{"QMX_STANDIN_FAIL", "QMX_STANDIN_LOG", "QMX_STANDIN_HOLD"};
};

#ifndef _WIN32
// Processes whose command line holds the text (zombies have none).
int processesWith(const std::string& text)
{
    int found = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream in(entry.path() / "cmdline", std::ios::binary);
        const std::string line(std::istreambuf_iterator<char>(in), {});
        found += line.find(text) != std::string::npos;
    }
    return found;
}
#endif

} // namespace

TEST_F(CompileRunnerTest, StopsAtTheFirstFailureAndSaysWhichToolAndWhy)
{
    const struct
    {
        const char* name;
        const char* fail; // QMX_STANDIN_FAIL
        const char* map; // the map's text
        const char* missing; // a tool taken away
        RunOutcome outcome;
        std::size_t toolsRun;
        ToolOutcome last;
        std::int32_t status;
        const char* lastLine; // among the last lines of the tool that ended the run
        bool freshBsp;
    } cases[] = {
        {"all three", "", "x", "", RunOutcome::Succeeded, 3, ToolOutcome::Succeeded, 0, "finished.", true},
        {"BSP leaks", "", "standin_leak", "", RunOutcome::Failed, 1, ToolOutcome::Failed, 1, "**** leaked", false},
        {"BSP says 0, writes nothing", "qmxbsp.exe:0", "x", "", RunOutcome::Failed, 1, ToolOutcome::NoFreshBsp, 0,
         "stand-in failure", false},
        {"VIS fails", "qmxvis.exe:3", "x", "", RunOutcome::Failed, 2, ToolOutcome::Failed, 3, "failure", true},
        // Wine passes on only the low 8 bits of an exit status.
        {"status above 255", "qmxrad.exe:256", "x", "", RunOutcome::Failed, 3, ToolOutcome::Failed, 256, "", true},
        {"RAD missing", "", "x", "qmxrad.exe", RunOutcome::Failed, 3, ToolOutcome::NotStarted, 0, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_dir.write("maps/a.vmf", c.map);
        m_dir.write("maps/a.bsp", "from an earlier compile"); // never taken for a new one
        std::filesystem::last_write_time(m_dir.fsPath("maps/a.bsp"),
                                         std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
        if (*c.missing)
            std::filesystem::rename(m_dir.fsPath(std::string("sdk/bin/") + c.missing), m_dir.fsPath("gone"));
        m_env.set("QMX_STANDIN_FAIL", c.fail);

        Recorder recorder;
        CompileRunner runner(recorder);
        const CompilePlan planned = plan("1,1,1|0|0|0|0");
        ASSERT_TRUE(runner.start(planned));
        EXPECT_FALSE(runner.start(planned)); // one run at a time
        runner.wait();
        const RunReport& report = recorder.report();
        EXPECT_EQ(report.outcome, c.outcome);
        ASSERT_EQ(report.tools.size(), c.toolsRun) << recorder.lines();
        const ToolReport& last = report.tools.back();
        EXPECT_EQ(last.outcome, c.last);
        EXPECT_EQ(last.exitStatus, c.status);
        EXPECT_EQ(report.ended(), c.outcome == RunOutcome::Succeeded ? nullptr : &last);
        const std::string lastLines = ::testing::PrintToString(last.lastLines);
        EXPECT_NE(lastLines.find(c.lastLine), std::string::npos) << lastLines;
        EXPECT_EQ(m_dir.read("maps/a.bsp").rfind("stand-in BSP", 0) == 0, c.freshBsp);
        // The log holds every tool's line and how the last one ended; the step files are gone.
        EXPECT_EQ(report.logPath, planned.logPath);
        const std::string log = m_dir.read("sdk/bin/compile.log");
        EXPECT_NE(log.find(toolConclusion(last) + "\r\n"), std::string::npos) << log;
        EXPECT_NE(log.find(toolHeading(planned.tools[c.toolsRun - 1])), std::string::npos) << log;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.fsPath("sdk/bin")))
            EXPECT_EQ(entry.path().filename().string().rfind("qmxstep", 0), std::string::npos);
        if (*c.missing)
            std::filesystem::rename(m_dir.fsPath("gone"), m_dir.fsPath(std::string("sdk/bin/") + c.missing));
    }
}

TEST_F(CompileRunnerTest, StopEndsTheRunningToolAndNoOtherStarts)
{
    m_dir.write("hold", "");
    m_env.set("QMX_STANDIN_HOLD", win(""));
    Recorder recorder;
    CompileRunner runner(recorder);
    runner.start(plan("1,1,1|0|0|0|0"));
    ASSERT_TRUE(recorder.awaitLine("Command line:")); // the BSP tool runs, and holds
    runner.stop();
    runner.wait();
    const RunReport& report = recorder.report();
    EXPECT_EQ(report.outcome, RunOutcome::Stopped);
    ASSERT_EQ(report.tools.size(), 1u);
    EXPECT_EQ(report.tools[0].outcome, ToolOutcome::Stopped);
#ifndef _WIN32
    // The tool itself, not only Wine's process that started it. A killed process takes a moment to go.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (processesWith(win("maps")) > 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_EQ(processesWith(win("maps")), 0);
#endif
    m_dir.write("go", ""); // lets a tool that survived end
}

TEST(OutputLines, WholeLinesDecodedWhateverThePieces)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"one\r\ntw", "o\n"}, "one|two|"},
        {{"a\r", "\nb\rc\n\n"}, "a|b|c||"}, // CR LF split between pieces is one break; a lone CR is one too
        {{"K\xE4se\r\n", "end"}, "K\xC3\xA4se|end|"}, // the ANSI code page; the last line without its break
    };
    for (const auto& [pieces, expected] : cases) {
        qmx::compile::OutputLines lines;
        std::string joined;
        for (const std::string& piece : pieces)
            for (const std::string& line : lines.feed(piece))
                joined += line + "|";
        for (const std::string& line : lines.finish())
            joined += line + "|";
        EXPECT_EQ(joined, expected);
    }
}
