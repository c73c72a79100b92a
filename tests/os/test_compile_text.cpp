#include "core/compile/BatchFile.h"
#include "core/compile/DurationText.h"

#include "OsTestDir.h"
#include "core/os/Os.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using namespace qmx::compile;

// compile.bat as it lands on disk: one line for each ticked tool, in the ANSI code page, CR LF ends.
TEST(BatchFile, LinesForTheTickedTools)
{
    qmxtest::OsTestDir dir;
    const std::pair<BatchRequest, std::vector<std::string>> cases[] = {
        {{"C:\\sdk", "C:\\maps", "a.vmf", "", {}, {}}, // no switches: two blanks
         {R"("C:\sdk\qmxbsp.exe" -game "%vproject%"  "C:\maps\a.vmf")"}},
        {{"C:\\sdk", "C:\\maps", "a.vmf", "-leaktest -nowater", {}, ""},
         {R"("C:\sdk\qmxbsp.exe" -game "%vproject%" -leaktest -nowater "C:\maps\a.vmf")",
          R"("C:\sdk\qmxrad.exe" -game "%vproject%"  "C:\maps\a.vmf")"}},
        // A switch row after the first keeps its own leading blank, an empty value its trailing one.
        {{"C:\\Program Files\\sdk", "C:\\maps", "a.vmf", "-fast", " -nosort", " -luxelscale "},
         {R"("C:\Program Files\sdk\qmxbsp.exe" -game "%vproject%" -fast "C:\maps\a.vmf")",
          R"("C:\Program Files\sdk\qmxvis.exe" -game "%vproject%"  -nosort "C:\maps\a.vmf")",
          R"("C:\Program Files\sdk\qmxrad.exe" -game "%vproject%"  -luxelscale  "C:\maps\a.vmf")"}},
        {{"C:\\sdk", "C:\\", "a.vmf", "", {}, {}}, // a drive root doubles the backslash
         {R"("C:\sdk\qmxbsp.exe" -game "%vproject%"  "C:\\a.vmf")"}},
        {{"C:\\sdk", u8"C:\\K\u00e4se", "a.vmf", "", {}, {}},
         {R"("C:\sdk\qmxbsp.exe" -game "%vproject%"  "C:\K)"
          "\xE4"
          R"(se\a.vmf")"}},
    };
    for (const auto& [request, lines] : cases) {
        SCOPED_TRACE(lines.front());
        EXPECT_TRUE(qmx::os::writeAnsiTextFile(dir.path("compile.bat"), batchLines(request)));
        std::string bytes;
        for (const std::string& line : lines)
            bytes += line + "\r\n";
        EXPECT_EQ(dir.read("compile.bat"), bytes);
    }
}

TEST(BatchFile, MapNameAndTime)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a.vmf", "a.bsp"}, {"a.vmf.vmf", "a.bsp.bsp"}, {"a.VMF", "a.VMF"}, {"my.vmfmap.vmf", "my.bspmap.bsp"},
        {"", ""},           {".vmf", ".bsp"},           {"a.vm", "a.vm"},
    };
    for (const auto& [in, out] : cases) // every ".vmf", case-sensitive
        EXPECT_EQ(compiledFileName(in), out) << in;
    // Ten-thousandths of a second to whole seconds: halves go to the even neighbour; clamped to 32 bits.
    const std::pair<std::int64_t, std::int32_t> rounding[] = {
        {902000, 90}, {25000, 2}, {35000, 4}, {5000, 0},  {15000, 2},   {24999, 2},
        {25001, 3},   {0, 0},     {9999, 1},  {-5000, 0}, {-15000, -2}, {-25001, -3},
    };
    for (const auto& [tenThousandths, seconds] : rounding)
        EXPECT_EQ(roundToWholeSeconds(tenThousandths), seconds) << tenThousandths;
    EXPECT_EQ(roundToWholeSeconds(INT64_MAX), INT32_MAX);
    EXPECT_EQ(roundToWholeSeconds(INT64_MIN), INT32_MIN);
}

TEST(ElapsedTime, NumericAndWords)
{
    const DurationWords english{"hour", "minute", "second", "and"};
    const std::tuple<std::int32_t, const char*, const char*> cases[] = {
        {0, "0:00.00", "0 seconds"},
        {1, "0:00.01", "1 second"},
        {59, "0:00.59", "59 seconds"},
        {60, "0:01.00", "1 minute and 0 seconds"},
        {61, "0:01.01", "1 minute and 1 second"},
        {125, "0:02.05", "2 minutes and 5 seconds"},
        {3600, "1:00.00", "1 hour, 0 minutes, and 0 seconds"},
        {3661, "1:01.01", "1 hour, 1 minute, and 1 second"},
        {7201, "2:00.01", "2 hours, 0 minutes, and 1 second"},
        {7322, "2:02.02", "2 hours, 2 minutes, and 2 seconds"},
        {360000, "100:00.00", "100 hours, 0 minutes, and 0 seconds"},
        {std::numeric_limits<std::int32_t>::max(), "596523:14.07", "596523 hours, 14 minutes, and 7 seconds"},
    };
    for (const auto& [seconds, numeric, words] : cases) {
        EXPECT_EQ(numericDuration(seconds), numeric) << seconds;
        EXPECT_EQ(describeDuration(numeric, english), words) << seconds;
    }
}

TEST(ElapsedTime, EmptyWordsLeaveTheirBlanks)
{
    const std::tuple<DurationWords, const char*, const char*> cases[] = {
        {{"hour", "minute", "second", ""}, "0:01.01", "1 minute  1 second"},
        {{"hour", "minute", "", "and"}, "0:00.02", "2 s"},
        {{"hour", "minute", "", "and"}, "0:00.01", "1 "},
        {{"", "", "", ""}, "1:00.00", "1 , 0 s,  0 s"},
        {{"Stunde", "Minute", "Sekunde", "und"}, "2:00.01", "2 Stundes, 0 Minutes, und 1 Sekunde"},
    };
    for (const auto& [words, numeric, expected] : cases)
        EXPECT_EQ(describeDuration(numeric, words), expected) << numeric;
}

// The unit words come from the language file on every call: each row writes a new file first.
TEST(ElapsedTime, UnitWordsAreReadFromTheLanguageFileOnEveryCall)
{
    qmxtest::OsTestDir dir;
    qmx::os::overrideProgramDirectory(dir.path());
    const std::pair<const char*, const char*> cases[] = {
        {"[Language]\r\nhour=hour\r\nminute=minute\r\nsecond=second\r\nand=and\r\n", "1 hour, 1 minute, and 1 second"},
        {"[LANGUAGE]\r\nhour=Stunde\r\nminute=Minute\r\nsecond=Sekunde\r\nand=und\r\n",
         "1 Stunde, 1 Minute, und 1 Sekunde"},
    };
    for (const auto& [file, words] : cases) {
        dir.write("language.qmxII", file);
        EXPECT_EQ(formatElapsedTime(3661, true), words) << file;
    }
    EXPECT_EQ(formatElapsedTime(3661, false), "1:01.01");
    qmx::os::overrideProgramDirectory({});
}
