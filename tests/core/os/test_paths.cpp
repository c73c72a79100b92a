#include "core/os/Os.h"

#include "support/OsTestDir.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

using namespace qmx::os;

// (On Windows, paths are host paths with backslashes: every test there passes them through.)
#ifndef _WIN32
// Linux maps Windows paths through the Wine prefix's dosdevices links; here a fake prefix in a folder whose
// name has a blank and a non-ASCII letter. Windows form '>' to host, '<' from host, '=' both ways.
TEST(Paths, ThroughTheDrivesOfTheWinePrefix)
{
    qmxtest::OsTestDir dir;
    dir.mkdir("prefix/dosdevices");
    dir.mkdir("prefix/drive_c/maps");
    dir.mkdir(u8"other dir \u00e4/deep");
    const std::string prefix = dir.path("prefix"), c = prefix + "/drive_c", d = dir.path(u8"other dir \u00e4");
    const std::pair<std::string, const char*> links[]
        = {{"../drive_c", "c:"}, {"/", "z:"}, {d, "d:"}, {"/dev/null", "c::"}};
    for (const auto& [target, name] : links) // "c::" is a device entry, not a drive
        std::filesystem::create_symlink(target, dir.fsPath("prefix/dosdevices") / name);
    const qmxtest::ScopedEnv env("WINEPREFIX", prefix);
    const std::tuple<std::string, char, std::string> cases[] = {
        {"C:\\maps\\a.vmf", '=', c + "/maps/a.vmf"},
        {"C:\\", '=', c},
        {u8"D:\\deep\\\u00fc b.vmf", '=', d + u8"/deep/\u00fc b.vmf"},
        {"Z:\\usr\\bin", '=', "/usr/bin"},
        {"Z:\\", '=', "/"},
        {"c:\\maps", '>', c + "/maps"}, // drive letters in either case
        {"Q:\\unknown", '>', ""},
        {"relative\\dir", '>', "relative/dir"},
        {"C:\\maps", '<', c + "/maps/"},
        {"C:\\maps", '<', c + "/../drive_c/maps"},
    };
    for (const auto& [windows, way, host] : cases) {
        EXPECT_TRUE(way == '<' || toHostPath(windows) == host) << windows << " -> " << toHostPath(windows);
        EXPECT_TRUE(way == '>' || toWindowsPath(host) == windows) << host << " -> " << toWindowsPath(host);
    }
    // The longest drive folder wins: a sibling that only begins like D:'s folder is on Z:.
    EXPECT_EQ(toWindowsPath(dir.path("other dir")).rfind("Z:\\", 0), 0u);
    // Drives are sorted and skip device entries; the prefix is read anew on every call.
    std::string letters;
    for (const Drive& drive : drives())
        letters += drive.letter;
    EXPECT_EQ(letters, "CDZ");
    // Without its dosdevices Wine makes Z: the root, and there is no user.reg to read.
    qmxtest::ScopedEnv::set("WINEPREFIX", dir.path("no prefix here"));
    EXPECT_EQ(readRegistryString(kHkeyCurrentUser, "Software\\Valve", "Exe"), std::nullopt);
    EXPECT_EQ(toHostPath("C:\\maps"), "");
    EXPECT_EQ(toWindowsPath(c).rfind("Z:\\", 0), 0u);
    EXPECT_EQ(programDirectory().rfind("Z:\\", 0), 0u); // the test program lives under / and so on Z:
}
#endif
