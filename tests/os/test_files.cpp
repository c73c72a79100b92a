#include "core/os/Os.h"

#include "OsTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace os = qmx::os;
using Names = std::vector<std::string>;

// A map folder as the probe and the browsers see it: maps, other files, a folder named like a map, hidden entries.
TEST(Files, ProbeAndListingsOfAMapFolder)
{
    qmxtest::OsTestDir dir;
    for (const char* sub : {"maps/dir.vmf", "maps/Zeta", "maps/alpha", "maps/.hidden dir"})
        dir.mkdir(sub);
    for (const char* file :
         {"maps/.hidden.vmf", u8"maps/B \u00e4.VMF", "maps/a.vmf", "maps/notes.txt", "maps/a.vmf.bak"})
        dir.write(file, "x");
    const std::string maps = dir.path("maps");
    const Names eitherMap = {"a.vmf", u8"B \u00e4.VMF"}; // the directory order decides which
    const std::pair<std::string, Names> probes[] = {{maps + "\\*.vmf", eitherMap},
                                                    {maps + "/*.VMF", eitherMap},
                                                    {maps + "\\A.VMF", {"a.vmf"}},
                                                    {maps + "\\n?tes.*", {"notes.txt"}},
                                                    {maps + "\\dir.vmf", {""}},
                                                    {maps + "\\.hidden.vmf", {""}},
                                                    {maps + "\\*.xyz", {""}},
                                                    {maps + "\\", {""}},
                                                    {dir.path("no such dir") + "\\*.vmf", {""}},
                                                    {"Q:\\nowhere\\*.vmf", {""}},
                                                    {"", {""}}};
    for (const auto& [pattern, acceptable] : probes) {
        const std::string found = os::probeFirstFile(pattern);
        EXPECT_NE(std::find(acceptable.begin(), acceptable.end(), found), acceptable.end()) << pattern << ": " << found;
    }
    EXPECT_EQ(os::subdirectories(maps).names, (Names{"alpha", "dir.vmf", "Zeta"})); // sorted without regard to case
}

TEST(Files, ShortPathAndCopy)
{
    qmxtest::OsTestDir dir;
    dir.mkdir("sdk dir/bin");
    const std::string sdk = dir.path("sdk dir/bin"), longName(180 - dir.path().size(), 'x');
    dir.mkdir(longName);
    EXPECT_FALSE(os::getShortPath(sdk).empty());
    EXPECT_EQ(os::getShortPath(dir.path("no such dir")), "");
    EXPECT_EQ(os::getShortPath(""), "");
#ifdef _WIN32
    // The short form of a long path is short enough, and has no blanks.
    EXPECT_FALSE(os::getShortPath(dir.path(longName)).empty());
    EXPECT_EQ(os::getShortPath(dir.path(longName)).find(' '), std::string::npos);
#else
    EXPECT_EQ(os::getShortPath(dir.path(longName)), ""); // does not fit
    EXPECT_EQ(os::getShortPath(sdk), sdk);
#endif
    // A copy replaces the target; a failed one leaves it alone.
    dir.write("a.bsp", std::string("new\0bytes", 9));
    dir.write(u8"sdk dir/\u00f6.bsp", "old old old");
    EXPECT_TRUE(os::copyFile(dir.path("a.bsp"), dir.path(u8"sdk dir/\u00f6.bsp")));
    EXPECT_FALSE(os::copyFile(dir.path("missing.bsp"), dir.path(u8"sdk dir/\u00f6.bsp")));
    EXPECT_FALSE(os::copyFile(dir.path("a.bsp"), dir.path("missing dir/a.bsp")));
    EXPECT_EQ(dir.read(u8"sdk dir/\u00f6.bsp"), std::string("new\0bytes", 9));
    EXPECT_EQ(dir.entryCount(), 3); // the source stays, and no folder was made
}
