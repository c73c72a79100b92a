#include "toolkit/os/Os.h"

#include "OsTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace os = qmx::os;

namespace {

// A map folder as the probe sees it: files, a directory named like a map, a hidden map.
void makeMapFolder(const qmxtest::OsTestDir& dir)
{
    dir.mkdir("maps/dir.vmf");
    dir.mkdir("maps/Zeta");
    dir.mkdir("maps/alpha");
    dir.mkdir("maps/.hidden dir");
    dir.write("maps/.hidden.vmf", "x");
    dir.write(u8"maps/B \u00e4.VMF", "x");
    dir.write("maps/a.vmf", "x");
    dir.write("maps/notes.txt", "x");
    dir.write("maps/a.vmf.bak", "x");
}

} // namespace

TEST(Probe, FirstOrdinaryFileOnly)
{
    qmxtest::OsTestDir dir;
    makeMapFolder(dir);
    const std::string maps = dir.path("maps");
    const struct
    {
        std::string pattern;
        std::vector<std::string> acceptable; // readdir order decides which of several comes first
    } cases[] = {
        {maps + "\\*.vmf", {"a.vmf", u8"B \u00e4.VMF"}},
        {maps + "/*.VMF", {"a.vmf", u8"B \u00e4.VMF"}},
        {maps + "\\A.VMF", {"a.vmf"}},
        {maps + "\\n?tes.*", {"notes.txt"}},
        {maps + "\\dir.vmf", {""}},
        {maps + "\\.hidden.vmf", {""}},
        {maps + "\\*.xyz", {""}},
        {maps + "\\", {""}},
        {dir.path("no such dir") + "\\*.vmf", {""}},
        {"Q:\\nowhere\\*.vmf", {""}},
        {"", {""}},
    };
    for (const auto& c : cases) {
        const std::string found = os::probeFirstFile(c.pattern);
        EXPECT_NE(std::find(c.acceptable.begin(), c.acceptable.end(), found), c.acceptable.end())
            << c.pattern << " gave " << found;
    }
}

TEST(Probe, BigDirectory)
{
    qmxtest::OsTestDir dir;
    dir.mkdir("big");
#ifdef _WIN32
    const int count = 5000; // file creation under Wine is slow; the Linux run takes the full size
#else
    const int count = 50000;
#endif
    for (int i = 0; i < count; ++i) {
        std::ofstream f(dir.fsPath("big/f" + std::to_string(i) + ".txt"));
        ASSERT_TRUE(f.is_open());
    }
    dir.write("big/the.vmf", "x");
    EXPECT_EQ(os::probeFirstFile(dir.path("big") + "/*.vmf"), "the.vmf");
    EXPECT_EQ(os::probeFirstFile(dir.path("big") + "/*.bsp"), "");
}

TEST(Listing, SortedWithoutRegardToCase)
{
    qmxtest::OsTestDir dir;
    makeMapFolder(dir);
    const auto subdirs = os::subdirectories(dir.path("maps"));
    EXPECT_TRUE(subdirs.ok);
    EXPECT_EQ(subdirs.names, (std::vector<std::string>{"alpha", "dir.vmf", "Zeta"}));
    const auto maps = os::filesMatching(dir.path("maps"), "*.vmf");
    EXPECT_TRUE(maps.ok);
    EXPECT_EQ(maps.names, (std::vector<std::string>{"a.vmf", u8"B \u00e4.VMF"}));
    const auto all = os::filesMatching(dir.path("maps"), "*.*");
    EXPECT_EQ(all.names.size(), 4u);

    const auto missing = os::subdirectories(dir.path("missing"));
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.names.empty());
    EXPECT_FALSE(os::filesMatching(dir.path("missing"), "*.vmf").ok);
    const auto empty = os::subdirectories(dir.path("maps/alpha"));
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(empty.names.empty());

    EXPECT_TRUE(os::directoryExists(dir.path("maps")));
    EXPECT_FALSE(os::directoryExists(dir.path("maps/a.vmf")));
    EXPECT_TRUE(os::fileExists(dir.path("maps/a.vmf")));
    EXPECT_FALSE(os::fileExists(dir.path("maps")));
}

TEST(TextFile, LinesInAnsiWithCrLf)
{
    qmxtest::OsTestDir dir;
    std::string error;
    ASSERT_TRUE(os::writeAnsiTextFile(dir.path("compile.bat"), {u8"echo \u00e4\u20ac", "", "x"}, &error)) << error;
    EXPECT_EQ(dir.read("compile.bat"), "echo \xe4\x80\r\n\r\nx\r\n");
    // Truncates what was there.
    ASSERT_TRUE(os::writeAnsiTextFile(dir.path("compile.bat"), {"y"}));
    EXPECT_EQ(dir.read("compile.bat"), "y\r\n");
    ASSERT_TRUE(os::writeAnsiTextFile(dir.path("compile.bat"), {}));
    EXPECT_EQ(dir.read("compile.bat"), "");

    EXPECT_FALSE(os::writeAnsiTextFile(dir.path("missing/compile.bat"), {"y"}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(os::writeAnsiTextFile(dir.path("missing/compile.bat"), {"y"})); // no error text wanted
}

TEST(ShortPath, ExistingPathsThatFit)
{
    qmxtest::OsTestDir dir;
    dir.mkdir("sdk dir/bin");
    const std::string sdk = dir.path("sdk dir/bin");
    std::string longPath = dir.path("") + std::string(180 - dir.path("").size(), 'x');
    std::filesystem::create_directories(std::filesystem::u8path(longPath));
    EXPECT_FALSE(os::getShortPath(sdk).empty());
    EXPECT_EQ(os::getShortPath(dir.path("no such dir")), "");
    EXPECT_EQ(os::getShortPath(""), "");
#ifdef _WIN32
    // The short form of a long path is short enough.
    EXPECT_FALSE(os::getShortPath(longPath).empty());
    EXPECT_EQ(os::getShortPath(longPath).find(' '), std::string::npos);
#else
    EXPECT_EQ(os::getShortPath(longPath), "");
    EXPECT_EQ(os::getShortPath(sdk), sdk);
#endif
}

TEST(CopyFile, ReplacesTheTarget)
{
    qmxtest::OsTestDir dir;
    dir.mkdir(u8"game \u00f6/maps");
    dir.write("a.bsp", std::string("new\0bytes", 9));
    dir.write(u8"game \u00f6/maps/a.bsp", "old old old");
    EXPECT_TRUE(os::copyFile(dir.path("a.bsp"), dir.path(u8"game \u00f6/maps/a.bsp")));
    EXPECT_EQ(dir.read(u8"game \u00f6/maps/a.bsp"), std::string("new\0bytes", 9));
    EXPECT_TRUE(dir.exists("a.bsp"));

    EXPECT_FALSE(os::copyFile(dir.path("missing.bsp"), dir.path(u8"game \u00f6/maps/a.bsp")));
    EXPECT_EQ(dir.read(u8"game \u00f6/maps/a.bsp"), std::string("new\0bytes", 9));
    EXPECT_FALSE(os::copyFile(dir.path("a.bsp"), dir.path("missing dir/a.bsp")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.fsPath(u8"game \u00f6/maps")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ReadFile, LimitsAndMissingFiles)
{
    qmxtest::OsTestDir dir;
    dir.write("f", "0123456789");
    std::string bytes = "stale";
    EXPECT_TRUE(os::readFile(dir.path("f"), bytes));
    EXPECT_EQ(bytes, "0123456789");
    EXPECT_FALSE(os::readFile(dir.path("f"), bytes, 9));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(os::readFile(dir.path("missing"), bytes));
    EXPECT_FALSE(os::readFile(dir.path(""), bytes)); // a directory
}

TEST(Timer, CountsForward)
{
    EXPECT_GE(os::performanceFrequency(), 1000000);
    const auto a = os::performanceCounter();
    const auto b = os::performanceCounter();
    EXPECT_GT(a, 0);
    EXPECT_GE(b, a);
}

TEST(Environment, SetAndUnset)
{
#ifdef _WIN32
    _putenv_s("QMX_TEST_VARIABLE", "C:\\sdk");
#else
    ::setenv("QMX_TEST_VARIABLE", "C:\\sdk", 1);
#endif
    EXPECT_EQ(os::getEnv("QMX_TEST_VARIABLE"), "C:\\sdk");
    EXPECT_EQ(os::getEnv("QMX_TEST_VARIABLE_THAT_IS_NOT_SET"), "");
}

namespace {
// The started program runs on its own; wait (bounded) until its work shows.
bool waitForFile(const qmxtest::OsTestDir& dir, const std::string& name)
{
    for (int i = 0; i < 1000; ++i) {
        if (dir.exists(name))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}
} // namespace

TEST(Shell, StartsWithoutWaiting)
{
    qmxtest::OsTestDir dir;
#ifdef _WIN32
    const std::string command = "cmd /c type nul > \"" + dir.path("started file") + "\"";
#else
    const std::string command = "touch \"" + dir.path("started file") + "\"";
#endif
    ASSERT_TRUE(os::startProgram(command));
    EXPECT_TRUE(waitForFile(dir, "started file"));
}

TEST(Shell, FailuresAreReported)
{
    EXPECT_FALSE(os::startProgram(""));
    EXPECT_FALSE(os::startProgram("qmx-no-such-program-anywhere --flag"));
    EXPECT_FALSE(os::shellOpen(""));
    EXPECT_FALSE(os::shellOpen("Q:\\no such drive\\help.chm"));
}
