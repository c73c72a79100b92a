#include "compile/core/BatchFile.h"

#include "toolkit/os/Os.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>

using namespace qmx::compile;

namespace {

BatchRequest sampleRequest()
{
    BatchRequest r;
    r.sdkDir = "C:\\Program Files\\SDK\\bin";
    r.mapDir = "C:\\maps";
    r.mapFile = "a.vmf";
    return r;
}

} // namespace

TEST(BatchFile, ToolLineHasEveryPieceInOrder)
{
    EXPECT_EQ(
        toolLine(Tool::Bsp, "C:\\Program Files\\SDK\\bin", "-leaktest -nowater", "C:\\maps", "a.vmf"),
        "\"C:\\Program Files\\SDK\\bin\\qmxbsp.exe\" -game \"%vproject%\" -leaktest -nowater \"C:\\maps\\a.vmf\"");
}

TEST(BatchFile, SpacingAroundSwitches)
{
    struct Case
    {
        const char* switches;
        const char* middle; // between "%vproject%" and the map path
    };
    const Case cases[] = {
        {"", "\"%vproject%\"  \"C:"}, // no switch: two blanks
        {"-fast", "\"%vproject%\" -fast \"C:"}, // first row: one blank
        {" -nosort", "\"%vproject%\"  -nosort \"C:"}, // later row keeps its own blank
        {" -luxelscale ", "\"%vproject%\"  -luxelscale  \"C:"}, // empty value keeps trailing blank
    };
    for (const Case& c : cases) {
        const std::string line = toolLine(Tool::Vis, "C:\\sdk", c.switches, "C:\\m", "x.vmf");
        EXPECT_NE(line.find(c.middle), std::string::npos) << line;
    }
}

TEST(BatchFile, DriveRootMapDirectoryGetsDoubleBackslash)
{
    const std::string line = toolLine(Tool::Bsp, "C:\\sdk", "", "C:\\", "a.vmf");
    EXPECT_EQ(line.substr(line.size() - 11), "\"C:\\\\a.vmf\"");
}

TEST(BatchFile, LinesFollowTheTickedTools)
{
    struct Case
    {
        bool vis;
        bool rad;
        std::vector<std::string> tools;
    };
    const Case cases[] = {
        {false, false, {"qmxbsp.exe"}},
        {false, true, {"qmxbsp.exe", "qmxrad.exe"}},
        {true, false, {"qmxbsp.exe", "qmxvis.exe"}},
        {true, true, {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"}},
    };
    for (const Case& c : cases) {
        BatchRequest r = sampleRequest();
        r.bspSwitches = "-leaktest";
        if (c.vis)
            r.visSwitches = "-fast";
        if (c.rad)
            r.radSwitches = "";
        const std::vector<std::string> lines = batchLines(r);
        ASSERT_EQ(lines.size(), c.tools.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].find("\"C:\\Program Files\\SDK\\bin\\" + c.tools[i] + "\""), 0u) << lines[i];
            // Every line names the .vmf, not the .bsp.
            EXPECT_EQ(lines[i].substr(lines[i].size() - 15), "\"C:\\maps\\a.vmf\"");
        }
    }
}

TEST(BatchFile, CompiledFileName)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a.vmf", "a.bsp"},
        {"a.vmf.vmf", "a.bsp.bsp"},
        {"a.VMF", "a.VMF"}, // case-sensitive
        {"my.vmfmap.vmf", "my.bspmap.bsp"},
        {"", ""},
        {".vmf", ".bsp"},
        {"a.vm", "a.vm"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(compiledFileName(in), out) << in;
}

TEST(BatchFile, RoundingToWholeSecondsGoesHalfToEven)
{
    const std::pair<std::int64_t, std::int32_t> cases[] = {
        {902000, 90}, {25000, 2}, {35000, 4}, {5000, 0},  {15000, 2},   {24999, 2},
        {25001, 3},   {0, 0},     {9999, 1},  {-5000, 0}, {-15000, -2}, {-25001, -3},
    };
    for (const auto& [tenThousandths, seconds] : cases)
        EXPECT_EQ(roundToWholeSeconds(tenThousandths), seconds) << tenThousandths;
}

TEST(BatchFile, RoundingClampsToThe32BitRange)
{
    EXPECT_EQ(roundToWholeSeconds(std::numeric_limits<std::int64_t>::max()), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(roundToWholeSeconds(std::numeric_limits<std::int64_t>::min()), std::numeric_limits<std::int32_t>::min());
}

TEST(BatchFile, CounterReadingsInTenThousandths)
{
    EXPECT_EQ(counterToTenThousandths(3, 2), 15000);
    EXPECT_EQ(counterToTenThousandths(1, 3), 3333);
    EXPECT_EQ(counterToTenThousandths(2, 3), 6667);
    EXPECT_EQ(counterToTenThousandths(5, 0), 0); // no frequency: no crash
    // A long uptime at a fine frequency does not overflow.
    const std::int64_t freq = 1000000000;
    EXPECT_EQ(counterToTenThousandths(freq * 1000000 + freq / 2, freq), 1000000LL * 10000 + 5000);
}

TEST(BatchFile, AnsiBytesOfANonAsciiMapDirectory)
{
    BatchRequest r;
    r.sdkDir = "C:\\sdk";
    r.mapDir = "C:\\maps\\K\xC3\xA4se"; // "Käse"
    r.mapFile = "m.vmf";
    const std::vector<std::string> lines = batchLines(r);

    const std::string host = testing::TempDir() + "qmx_batch_ansi.bat";
    const std::string path = qmx::os::toWindowsPath(host).empty() ? host : qmx::os::toWindowsPath(host);
    std::string error;
    ASSERT_TRUE(qmx::os::writeAnsiTextFile(path, lines, &error)) << error;
    std::ifstream in(host, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(host.c_str());
    EXPECT_EQ(bytes, "\"C:\\sdk\\qmxbsp.exe\" -game \"%vproject%\"  \"C:\\maps\\K\xE4se\\m.vmf\"\r\n");
}
