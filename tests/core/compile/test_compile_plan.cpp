// The compile plan without a window: the checks in their order, compile.bat's bytes and place, the copy.

#include "core/compile/BatchFile.h"
#include "core/compile/CompilePlan.h"
#include "core/options/OptionString.h"
#include "core/os/Os.h"
#include "support/OsTestDir.h"

#include <gtest/gtest.h>

using namespace qmx::compile;

namespace {

class CompilePlanTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_dir.mkdir("sdk dir/bin");
        m_request.mapDir = "C:\\maps";
        m_request.mapFile = "a.vmf";
        m_request.sdkDir = win("sdk dir/bin");
        m_request.gameDir = u8"D:\\game \u00f6";
        m_request.options.setMaster(qmx::Page::Bsp, true);
    }

    // Windows form, as the program keeps every path.
    std::string win(std::string_view name) const { return qmx::os::toWindowsPath(m_dir.path(name)); }

    qmxtest::OsTestDir m_dir{"qmx plan "};
    CompileRequest m_request;
};

} // namespace

TEST_F(CompilePlanTest, EveryRefusalInTheOrderOfTheChecks)
{
    // Deep enough that even the 8.3 form of the path (about nine characters a level) leaves no room for
    // "\\compile.bat"; short enough for a long path that Windows can still create.
    std::string deep;
    for (int level = 0; level < 16; ++level)
        deep += "dddddddddddd/";
    m_dir.mkdir(deep);
    m_dir.mkdir("blocked/compile.bat"); // a directory where compile.bat should go
    const std::tuple<const char*, std::string, bool, std::string, Refusal> cases[] = {
        // name, map file, BSP on, SDK directory, refusal
        {"no map beats everything", "", false, "", Refusal::NoMap},
        {"BSP off", "a.vmf", false, "", Refusal::NoBsp},
        {"no SDK directory", "a.vmf", true, "", Refusal::NoSdkDir},
        {"SDK directory gone", "a.vmf", true, win("gone"), Refusal::SdkDirMissing},
        {"SDK directory too long", "a.vmf", true, win(deep), Refusal::SdkDirTooLong},
        {"compile.bat not writable", "a.vmf", true, win("blocked"), Refusal::BatchFailed},
    };
    for (const auto& [name, mapFile, bsp, sdkDir, expected] : cases) {
        SCOPED_TRACE(name);
        CompileRequest request = m_request;
        request.mapFile = mapFile;
        request.options.setMaster(qmx::Page::Bsp, bsp);
        request.sdkDir = sdkDir;
        std::optional<Refusal> refusal = checkSelection(request);
        if (!refusal) {
            const PlanResult planned = planCompile(request);
            const std::optional<Refused> failed = planned.plan ? writeBatch(*planned.plan) : planned.refused;
            refusal = failed ? std::optional(failed->reason) : std::nullopt;
        }
        EXPECT_EQ(refusal, expected);
        EXPECT_EQ(m_dir.read("sdk dir/bin/compile.bat"), ""); // nothing written anywhere else
    }
}

// What the command interpreter would change or cut is refused before anything is written, naming the path and
// the character. Option values go as typed, as compile.bat has always passed them.
TEST_F(CompilePlanTest, PathsTheInterpreterWouldChangeAreRefused)
{
    using R = std::optional<Refusal>;
    const std::string longValue(8200, '1');
    const std::tuple<std::string, std::string, std::string, std::string, R, std::string> cases[] = {
        // map directory, map file, game directory, RADlights' value, refusal, its detail
        {"C:\\maps", "a\"b.vmf", "D:\\game", "", Refusal::UnsafeCharacter, "\"\"\" in C:\\maps\\a\"b.vmf"},
        {"C:\\maps\nx", "a.vmf", "D:\\game", "", Refusal::UnsafeCharacter, "a line break in C:\\maps\nx\\a.vmf"},
        {"C:\\maps", "a.vmf", "D:\\100%", "", Refusal::UnsafeCharacter, "\"%\" in D:\\100%"},
        {u8"C:\\\u0142\u00f3d\u017a", "a.vmf", "D:\\game", "", Refusal::NotInCodePage,
         u8"\"\u0142\" in C:\\\u0142\u00f3d\u017a\\a.vmf"},
        {"C:\\maps", "a.vmf", u8"D:\\\u0142", "%vproject%\\\"my lights\".rad &1", std::nullopt, ""},
        {"C:\\maps", "a.vmf", "D:\\game", longValue, Refusal::LineTooLong, "qmxrad.exe: "},
    };
    for (const auto& [mapDir, mapFile, gameDir, value, refusal, detail] : cases) {
        SCOPED_TRACE(detail);
        CompileRequest request = m_request;
        request.mapDir = mapDir;
        request.mapFile = mapFile;
        request.gameDir = gameDir;
        request.options = qmx::options::restoreOptionSet("1,0,1|0|0|0,0,0,0,0,0,0,0,0,1," + value + "|0");
        const std::optional<Refused> refused = checkLines(request);
        EXPECT_EQ(refused ? R(refused->reason) : R(), refusal);
        if (refused) {
            EXPECT_EQ(refused->detail.rfind(detail, 0), 0u) << refused->detail;
        }
    }
}

// compile.bat as it lands in the SDK directory ("@" here): a line for each tool switched on, the switch texts
// with their spacing, the ANSI code page, CR LF. The copy takes the compiled map to the game directory.
TEST_F(CompilePlanTest, BatchBytesAndCopyFollowTheOptions)
{
    const struct Case
    {
        const char* stored;
        std::string mapDir, mapFile;
        std::vector<std::string> lines; // each ended by CR LF
        const char* copied; // the compiled map's name, or nullptr
    } cases[] = {
        // No switches: two blanks. A drive root doubles the backslash.
        {"1", "C:\\", "a.vmf", {R"("@\qmxbsp.exe" -game "%vproject%"  "C:\\a.vmf")"}, nullptr},
        {"1,0,0|1,0,0,0,0,1",
         u8"C:\\K\u00e4se",
         "a.vmf",
         {"\"@\\qmxbsp.exe\" -game \"%vproject%\" -leaktest -nowater \"C:\\K\xE4se\\a.vmf\""},
         nullptr},
        {"1,0,1|0|0|0,0,0,0,0,0,0,0,0,0,0,1,2 4|1",
         "C:\\maps",
         "a.vmf.vmf",
         {R"("@\qmxbsp.exe" -game "%vproject%"  "C:\maps\a.vmf.vmf")",
          R"("@\qmxrad.exe" -game "%vproject%"  -bounce 2 4 "C:\maps\a.vmf.vmf")"},
         "a.bsp.bsp"},
        {"1,1,1|0|1,1,0|0,0,1|1",
         "C:\\maps",
         "a.vmf",
         {R"("@\qmxbsp.exe" -game "%vproject%"  "C:\maps\a.vmf")",
          R"("@\qmxvis.exe" -game "%vproject%" -fast -nosort "C:\maps\a.vmf")",
          R"("@\qmxrad.exe" -game "%vproject%"  -noextra "C:\maps\a.vmf")"},
         "a.bsp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        CompileRequest request = m_request;
        request.mapDir = c.mapDir;
        request.mapFile = c.mapFile;
        request.options = qmx::options::restoreOptionSet(c.stored);
        ASSERT_FALSE(checkSelection(request));
        const PlanResult planned = planCompile(request);
        ASSERT_TRUE(planned.plan);
        const CompilePlan& plan = *planned.plan;
#ifdef _WIN32
        // The short form has no blanks, so the command to run needs no quotes. Linux paths have no short form;
        // the runner there passes the path as one argument.
        EXPECT_EQ(plan.batchPath.find(' '), std::string::npos);
#endif
        std::string bytes;
        for (const std::string& line : c.lines)
            bytes += "\"" + request.sdkDir + line.substr(2) + "\r\n";
        EXPECT_EQ(qmx::os::toAnsi(plan.batchText()), bytes);
        ASSERT_FALSE(writeBatch(plan));
        EXPECT_EQ(m_dir.read("sdk dir/bin/compile.bat"), bytes);
        ASSERT_EQ(plan.copy.has_value(), c.copied != nullptr);
        if (c.copied) {
            EXPECT_EQ(plan.copy->from, c.mapDir + "\\" + c.copied);
            EXPECT_EQ(plan.copy->to, request.gameDir + "\\" + c.copied);
        }
    }
}

TEST(CompiledFileName, EveryVmfBecomesBsp)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a.vmf", "a.bsp"},
        {"a.vmf.vmf", "a.bsp.bsp"},
        {"A.VMF", "A.bsp"},
        {"a.VMF.Vmf", "a.VMF.bsp"},
        {"my.vmfmap.vmf", "my.bspmap.bsp"},
        {"", ""},
        {".vmf", ".bsp"},
        {"a.vm", "a.vm"},
    };
    // Case-sensitive, left to right; and an extension in other letter cases, never the map's own name.
    for (const auto& [in, out] : cases)
        EXPECT_EQ(compiledFileName(in), out) << in;
}
