// The compile plan without a window: the checks in their order, compile.bat's bytes and place, the copy; and
// the compile's time, from the counter to words.

#include "core/compile/BatchFile.h"
#include "core/compile/CompilePlan.h"
#include "core/compile/DurationText.h"
#include "core/options/OptionString.h"
#include "core/os/Os.h"
#include "support/OsTestDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

using namespace qmx::compile;
using qmx::options::restoreOptionSet;

namespace {

class CompilePlanTest : public testing::Test
{
protected:
    void SetUp() override { m_dir.mkdir("sdk dir/bin"); }
    // Windows form, as the program keeps every path.
    std::string win(std::string_view name) const { return qmx::os::toWindowsPath(m_dir.path(name)); }

    qmxtest::OsTestDir m_dir{"qmx plan "};
    CompileRequest m_request{"C:\\maps", "a.vmf", win("sdk dir/bin"), u8"D:\\game \u00f6", restoreOptionSet("1")};
};

} // namespace

// The checks in the order the window and qmxcompile make them, before anything is written. What the command
// interpreter would change or cut is refused naming the path and the character; option values go as typed, as
// compile.bat has always passed them. (A missing SDK directory and an unwritable compile.bat: qmxcompile's test.)
TEST_F(CompilePlanTest, RefusalsInTheOrderOfTheChecks)
{
    // Deep enough that even the 8.3 form of the path (about nine characters a level) leaves no room for
    // "\\compile.bat"; short enough for a long path that Windows can still create.
    std::string deep;
    for (int level = 0; level < 16; ++level)
        deep += "dddddddddddd/";
    m_dir.mkdir(deep);
    using R = CompileRequest&;
    // BSP off, no SDK directory and a "%" in the game's: what the map's and the BSP tool's checks come before.
    const auto worse = [](R r) -> R {
        r.options.setMaster(qmx::Page::Bsp, false);
        r.sdkDir = "";
        r.gameDir = "D:\\100%";
        return r;
    };
    const auto rad = [](R r, const std::string& value) -> R {
        r.options = restoreOptionSet("1,0,1|0|0|0,0,0,0,0,0,0,0,0,1," + value + "|0");
        return r;
    };
    const std::tuple<std::function<void(R)>, std::optional<Refusal>, std::string> cases[] = {
        {[&](R r) { worse(r).mapFile = ""; }, Refusal::NoMap, ""},
        {worse, Refusal::NoBsp, ""},
        {[](R r) { r.mapFile = "a\"b.vmf"; }, Refusal::UnsafeCharacter, "\"\"\" in C:\\maps\\a\"b.vmf"},
        {[](R r) { r.mapDir = "C:\\maps\nx"; }, Refusal::UnsafeCharacter, "a line break in C:\\maps\nx\\a.vmf"},
        {[](R r) { r.gameDir = "D:\\100%"; }, Refusal::UnsafeCharacter, "\"%\" in D:\\100%"},
        {[](R r) { r.mapDir = u8"C:\\\u0142\u00f3d\u017a"; }, Refusal::NotInCodePage,
         u8"\"\u0142\" in C:\\\u0142\u00f3d\u017a\\a.vmf"},
        {[&](R r) { rad(r, std::string(8200, '1')); }, Refusal::LineTooLong, "qmxrad.exe: "},
        {[](R r) { r.sdkDir = ""; }, Refusal::NoSdkDir, ""},
        {[&](R r) { r.sdkDir = win(deep); }, Refusal::SdkDirTooLong, ""},
        {[&](R r) { rad(r, "%vproject%\\\"my lights\".rad &1").gameDir = u8"D:\\\u0142"; }, std::nullopt, ""},
    };
    for (const auto& [change, expected, detail] : cases) {
        SCOPED_TRACE(detail);
        CompileRequest request = m_request;
        change(request);
        std::optional<Refused> refused = checkLines(request);
        if (const std::optional<Refusal> selection = checkSelection(request))
            refused = Refused{*selection, ""};
        else if (const PlanResult planned = planCompile(request); !refused && !planned.plan)
            refused = planned.refused;
        EXPECT_EQ(refused ? std::optional(refused->reason) : std::nullopt, expected);
        EXPECT_EQ(refused ? refused->detail.substr(0, detail.size()) : "", detail);
        EXPECT_EQ(m_dir.read("sdk dir/bin/compile.bat"), "");
    }
}

// compile.bat as it lands in the SDK directory ("@" here): the switch texts with their spacing, value texts as
// typed, the ANSI code page, CR LF; a page switched off writes nothing of its options. The copy takes the compiled
// map to the game directory. (The lines of all three tools: the end-to-end tests.)
TEST_F(CompilePlanTest, BatchBytesAndCopyFollowTheOptions)
{
    const std::tuple<const char*, std::string, std::string, std::string, const char*> cases[] = {
        // stored options, map directory and file, the line (ended by CR LF), the compiled map copied
        {"1,0,0|1,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,1, \"a b\" ,1,|1,1,0|0,0,0,1", u8"C:\\K\u00e4se", "a.vmf",
         "\"@\\qmxbsp.exe\" -game \"%vproject%\" -leaktest -nowater -blocks  \"a b\"  -luxelscale  "
         "\"C:\\K\xE4se\\a.vmf\"",
         nullptr},
        // No switches: two blanks. A drive root doubles the backslash. Every "vmf" becomes "bsp", case-sensitively,
        // and so does the extension in any letter case.
        {"1,0,0|0|0|0|1", "C:\\", "my.vmfmap.VMF", R"("@\qmxbsp.exe" -game "%vproject%"  "C:\\my.vmfmap.VMF")",
         "my.bspmap.bsp"},
    };
    for (const auto& [stored, mapDir, mapFile, line, copied] : cases) {
        SCOPED_TRACE(stored);
        CompileRequest request = m_request;
        request.mapDir = mapDir;
        request.mapFile = mapFile;
        request.options = restoreOptionSet(stored);
        ASSERT_FALSE(checkSelection(request) || checkLines(request));
        const PlanResult planned = planCompile(request);
        ASSERT_TRUE(planned.plan);
#ifdef _WIN32
        // The short form has no blanks, so the command to run needs no quotes. Linux paths have no short form;
        // the runner there passes the path as one argument.
        EXPECT_EQ(planned.plan->batchPath.find(' '), std::string::npos);
#endif
        ASSERT_FALSE(writeBatch(*planned.plan));
        EXPECT_EQ(m_dir.read("sdk dir/bin/compile.bat"), "\"" + request.sdkDir + line.substr(2) + "\r\n");
        ASSERT_EQ(planned.plan->copy.has_value(), copied != nullptr);
        if (copied) {
            EXPECT_EQ(planned.plan->copy->from + "|" + planned.plan->copy->to,
                      mapDir + "\\" + copied + "|" + request.gameDir + "\\" + copied);
        }
    }
}

// The counter reads as ten-thousandths of a second without overflowing, whatever its frequency and however long
// the machine has been up; a difference goes to whole seconds, halves to the even neighbour, clamped to 32 bits.
TEST(ElapsedTime, CounterAndRoundingUpToTheirLimits)
{
    // Counter and frequency (ticks a second) to ten-thousandths: an old 3.58 MHz, a rounding that carries into the
    // next second, 200 days at 3 GHz (counter times 10,000 is beyond 64 bits), the limits, no frequency.
    const std::int64_t days200 = 200 * 86'400 * 3'000'000'000LL, ghz3 = 3'000'000'000;
    const std::tuple<std::int64_t, std::int64_t, std::int64_t> counters[] = {
        {12'345, 3'579'545, 34},
        {ghz3 - 1, ghz3, 10'000},
        {days200, ghz3, 200 * 86'400 * 10'000LL},
        {INT64_MAX, ghz3, 30'744'573'456'183},
        {INT64_MAX, INT64_MAX, 10'000},
        {5, 0, 0},
    };
    for (const auto& [counter, frequency, tenThousandths] : counters)
        EXPECT_EQ(counterToTenThousandths(counter, frequency), tenThousandths) << counter << " at " << frequency;
    // Ten-thousandths to seconds; the even neighbour of INT32_MAX and a half lies beyond 32 bits. Last, a run of
    // ten and a half minutes on a machine up for 200 days.
    const std::pair<std::int64_t, std::int32_t> rounding[] = {
        {25'000, 2},
        {35'000, 4},
        {25'001, 3},
        {-15'000, -2},
        {-25'001, -3},
        {INT32_MAX * 10'000LL + 4'999, INT32_MAX},
        {INT32_MAX * 10'000LL + 5'000, INT32_MAX},
        {INT32_MIN * 10'000LL - 5'000, INT32_MIN},
        {INT64_MAX, INT32_MAX},
        {INT64_MIN, INT32_MIN},
        {counterToTenThousandths(days200 + 630 * ghz3, ghz3) - counterToTenThousandths(days200, ghz3), 630},
    };
    for (const auto& [tenThousandths, seconds] : rounding)
        EXPECT_EQ(roundToWholeSeconds(tenThousandths), seconds) << tenThousandths;
}

// h:mm.ss, then a sentence in the unit words: one unit, two joined by the joining word, three with commas; words
// the language file leaves empty leave their blanks.
TEST(ElapsedTime, NumericAndInWords)
{
    const DurationWords english{"hour", "minute", "second", "and"}, none{};
    const std::tuple<std::int32_t, const char*, const DurationWords*, const char*> cases[] = {
        {1, "0:00.01", &english, "1 second"},
        {61, "0:01.01", &english, "1 minute and 1 second"},
        {3600, "1:00.00", &english, "1 hour, 0 minutes, and 0 seconds"},
        {INT32_MAX, "596523:14.07", &english, "596523 hours, 14 minutes, and 7 seconds"},
        {3600, "1:00.00", &none, "1 , 0 s,  0 s"},
    };
    for (const auto& [seconds, numeric, words, sentence] : cases) {
        EXPECT_EQ(numericDuration(seconds), numeric) << seconds;
        EXPECT_EQ(describeDuration(numeric, *words), sentence) << numeric;
    }
}
