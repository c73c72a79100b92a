// The compile plan without a window: the checks in their order, compile.bat's lines and place, the copy.

#include "core/compile/CompilePlan.h"
#include "core/options/OptionString.h"
#include "core/os/Os.h"
#include "os/OsTestDir.h"

#include <gtest/gtest.h>

using namespace qmx::compile;

namespace {

class CompilePlanTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_dir.mkdir("sdk dir/bin");
        m_dir.mkdir("maps");
        m_dir.mkdir(u8"game \u00f6");
        m_request.mapDir = win("maps");
        m_request.mapFile = "a.vmf";
        m_request.sdkDir = win("sdk dir/bin");
        m_request.gameDir = win(u8"game \u00f6");
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
    struct Case
    {
        const char* name;
        std::string mapFile;
        bool bsp;
        std::string sdkDir;
        Refusal expected;
    } const cases[] = {
        {"no map beats everything", "", false, "", Refusal::NoMap},
        {"BSP off", "a.vmf", false, "", Refusal::NoBsp},
        {"no SDK directory", "a.vmf", true, "", Refusal::NoSdkDir},
        {"SDK directory gone", "a.vmf", true, win("gone"), Refusal::SdkDirMissing},
        {"SDK directory too long", "a.vmf", true, win(deep), Refusal::SdkDirTooLong},
        {"compile.bat not writable", "a.vmf", true, win("blocked"), Refusal::BatchFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CompileRequest request = m_request;
        request.mapFile = c.mapFile;
        request.options.setMaster(qmx::Page::Bsp, c.bsp);
        request.sdkDir = c.sdkDir;
        std::optional<Refusal> refusal = checkSelection(request);
        if (!refusal) {
            const PlanResult planned = planCompile(request);
            refusal = planned.plan ? std::optional<Refusal>() : planned.refused.reason;
            if (planned.plan) {
                const std::optional<Refused> failed = writeBatch(*planned.plan);
                refusal = failed ? std::optional<Refusal>(failed->reason) : std::nullopt;
            }
        }
        EXPECT_EQ(refusal, c.expected);
        EXPECT_EQ(m_dir.read("sdk dir/bin/compile.bat"), ""); // nothing written anywhere else
    }
}

TEST_F(CompilePlanTest, LinesPlaceAndCopyFollowTheOptions)
{
    const struct Case
    {
        const char* stored;
        std::string mapFile;
        std::vector<std::string> tools; // tool and switch text per line
        const char* copied; // the compiled map's name, or nullptr
    } cases[] = {
        {"1,0,0|1,0,0,0,0,1", "a.vmf", {"qmxbsp.exe|-leaktest -nowater"}, nullptr},
        {"1,0,1|0|0|0,0,0,0,0,0,0,0,0,0,0,1,2 4|1",
         "a.vmf.vmf",
         {"qmxbsp.exe|", "qmxrad.exe| -bounce 2 4"},
         "a.bsp.bsp"},
        {"1,1,1|0|1,1,0|0,0,1|1",
         "a.vmf",
         {"qmxbsp.exe|", "qmxvis.exe|-fast -nosort", "qmxrad.exe| -noextra"},
         "a.bsp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        CompileRequest request = m_request;
        request.mapFile = c.mapFile;
        request.options = qmx::options::restoreOptionSet(c.stored);
        ASSERT_FALSE(checkSelection(request));
        const PlanResult planned = planCompile(request);
        ASSERT_TRUE(planned.plan);
        const CompilePlan& plan = *planned.plan;
        EXPECT_EQ(plan.batchPath, qmx::os::getShortPath(request.sdkDir) + "\\compile.bat");
#ifdef _WIN32
        // The short form has no blanks, so the command to run needs no quotes. Linux paths have no short form;
        // the runner there passes the path as one argument.
        EXPECT_EQ(plan.batchPath.find(' '), std::string::npos);
#endif
        std::string text;
        for (const std::string& tool : c.tools)
            text += "\"" + request.sdkDir + "\\" + tool.substr(0, tool.find('|')) + "\" -game \"%vproject%\" "
                + tool.substr(tool.find('|') + 1) + " \"" + request.mapDir + "\\" + c.mapFile + "\"\r\n";
        EXPECT_EQ(plan.batchText(), text);
        ASSERT_FALSE(writeBatch(plan));
        EXPECT_EQ(m_dir.read("sdk dir/bin/compile.bat"), qmx::os::toAnsi(text));

        m_dir.write("maps/a.bsp", "compiled");
        m_dir.write("maps/a.bsp.bsp", "compiled twice");
        m_dir.write(u8"game \u00f6/a.bsp", "old");
        EXPECT_EQ(plan.copy.has_value(), c.copied != nullptr);
        EXPECT_EQ(copyCompiledMap(plan), c.copied != nullptr);
        if (c.copied) {
            EXPECT_EQ(plan.copy->to, request.gameDir + "\\" + c.copied);
            EXPECT_EQ(m_dir.read(u8"game \u00f6/" + std::string(c.copied)),
                      m_dir.read("maps/" + std::string(c.copied)));
        } else {
            EXPECT_EQ(m_dir.read(u8"game \u00f6/a.bsp"), "old");
        }
    }
}
