// The compile runner with the stand-in tools (demo/standin), for real: through Wine's command interpreter
// on Linux, through Windows' own under Wine in the mingw build. It stops at the first tool that fails, says
// which and why, keeps the run in its log, and Stop ends the tool it is running.

#include "core/compile/CompileRunner.h"
#include "core/options/OptionString.h"
#include "core/os/Os.h"
#include "support/OsTestDir.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

using namespace qmx::compile;

namespace {

// What the runner reported at its end; read after wait().
struct Recorder : RunObserver
{
    void toolStarted(const PlannedTool&) override { }
    void outputLine(const std::string&) override { }
    void toolEnded(const ToolReport&) override { }
    void runEnded(const RunReport& ended) override { report = ended; }
    RunReport report;
};

class CompileRunnerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_dir.mkdir("sdk/bin");
        m_dir.mkdir("maps");
        for (const char* tool : {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"})
            std::filesystem::copy_file(QMX_STANDIN_DIR "/" + std::string(tool), m_dir.fsPath("sdk/bin/") / tool);
        m_env.unset("QMX_STANDIN_FAIL");
        m_env.set("QMX_STANDIN_LOG", win("tools.log"));
        CompileRequest request{win("maps"), "a.vmf", win("sdk/bin"), "",
                               qmx::options::restoreOptionSet("1,1,1|0|0|0|0")};
        m_plan = *planCompile(request).plan;
    }
    std::string win(std::string_view name) const { return qmx::os::toWindowsPath(m_dir.path(name)); }

    // ASCII only: the command interpreter reads its batch files in another code page than ours.
    qmxtest::OsTestDir m_dir{"qmx runner "};
    qmxtest::ScopedEnv m_env{"QMX_STANDIN_FAIL", "QMX_STANDIN_LOG", "QMX_STANDIN_HOLD"};
    CompilePlan m_plan;
};

} // namespace

// (A tool that cannot start: qmxcompile's tests.)
TEST_F(CompileRunnerTest, StopsAtTheFirstFailureAndSaysWhichToolAndWhy)
{
    const std::tuple<const char*, const char*, std::size_t, ToolOutcome, std::int32_t, const char*> cases[] = {
        // QMX_STANDIN_FAIL, the map's text; the tools run, how the last ended, its exit status, among its last lines
        {"", "x", 3, ToolOutcome::Succeeded, 0, "finished."},
        {"", "standin_leak", 1, ToolOutcome::Failed, 1, "**** leaked"},
        {"qmxbsp.exe:0", "x", 1, ToolOutcome::NoFreshBsp, 0, "stand-in failure"}, // says 0, writes nothing
        {"qmxvis.exe:3", "x", 2, ToolOutcome::Failed, 3, "failure"},
        {"qmxrad.exe:256", "x", 3, ToolOutcome::Failed, 256, ""}, // Wine passes on only the low 8 bits
    };
    for (const auto& [fail, map, toolsRun, outcome, status, lastLine] : cases) {
        SCOPED_TRACE(std::string(fail) + map);
        m_dir.write("maps/a.vmf", map);
        m_dir.write("maps/a.bsp", "from an earlier compile"); // never taken for a new one
        std::filesystem::last_write_time(m_dir.fsPath("maps/a.bsp"),
                                         std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
        m_env.set("QMX_STANDIN_FAIL", fail);
        Recorder recorder;
        CompileRunner runner(recorder);
        ASSERT_TRUE(runner.start(m_plan));
        EXPECT_FALSE(runner.start(m_plan)); // one run at a time
        runner.wait();
        const RunReport& report = recorder.report;
        ASSERT_EQ(report.tools.size(), toolsRun);
        const ToolReport& last = report.tools.back();
        EXPECT_EQ(last.outcome, outcome);
        EXPECT_EQ(report.outcome, outcome == ToolOutcome::Succeeded ? RunOutcome::Succeeded : RunOutcome::Failed);
        EXPECT_EQ(last.exitStatus, status);
        EXPECT_NE(testing::PrintToString(last.lastLines).find(lastLine), std::string::npos);
        EXPECT_EQ(m_dir.read("maps/a.bsp").rfind("stand-in BSP", 0) == 0, toolsRun > 1);
        // The log holds every tool's line and how the last one ended; the step files are gone.
        const std::string log = m_dir.read("sdk/bin/compile.log");
        EXPECT_NE(log.find(toolHeading(m_plan.tools[toolsRun - 1])), std::string::npos) << log;
        EXPECT_NE(log.find(toolConclusion(last) + "\r\n"), std::string::npos) << log;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.fsPath("sdk/bin")))
            EXPECT_NE(entry.path().filename().string().rfind("qmxstep", 0), 0u);
    }
}

TEST_F(CompileRunnerTest, StopEndsTheRunningToolAndNoOtherStarts)
{
    m_dir.write("hold", "");
    m_env.set("QMX_STANDIN_HOLD", win(""));
    Recorder recorder;
    CompileRunner runner(recorder);
    runner.start(m_plan);
    ASSERT_NE(m_dir.await("tools.log"), ""); // the BSP tool runs, and holds
    runner.stop();
    runner.wait();
    EXPECT_EQ(recorder.report.outcome, RunOutcome::Stopped);
    ASSERT_EQ(recorder.report.tools.size(), 1u);
    EXPECT_EQ(recorder.report.tools[0].outcome, ToolOutcome::Stopped);
#ifndef _WIN32
    // The tool itself, not only Wine's process that started it: no process has the map in its command line
    // (zombies have none). A killed process takes a moment to go.
    EXPECT_TRUE(qmxtest::eventually([&] {
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            std::ifstream in(entry.path() / "cmdline", std::ios::binary);
            if (std::string(std::istreambuf_iterator<char>(in), {}).find(win("maps")) != std::string::npos)
                return false;
        }
        return true;
    }));
#endif
    m_dir.write("go", ""); // lets a tool that survived end
}

// A CR LF split between pieces is one break, and so is a lone CR; the ANSI code page; the last line without its break.
TEST(OutputLines, WholeLinesDecodedWhateverThePieces)
{
    OutputLines lines;
    std::string joined;
    for (const char* piece : {"one\r\ntw", "o\na\r", "\nb\rc\n\nK\xE4se\r\n", "end"})
        for (const std::string& line : lines.feed(piece))
            joined += line + "|";
    for (const std::string& line : lines.finish())
        joined += line + "|";
    EXPECT_EQ(joined, "one|two|a|b|c||K\xC3\xA4se|end|");
}
