#include "core/os/Os.h"

#include "OsTestDir.h"
#include "core/storage/ProgramFiles.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#ifndef _WIN32

using namespace qmx::os;

namespace {

// A fake Wine prefix in a folder whose name has a blank and a non-ASCII letter.
class FakePrefix : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir.mkdir("prefix/dosdevices");
        m_dir.mkdir("prefix/drive_c/maps");
        m_dir.mkdir(u8"other dir \u00e4/deep");
        const std::pair<std::string, const char*> links[]
            = {{"../drive_c", "c:"}, {"/", "z:"}, {m_dir.path(u8"other dir \u00e4"), "d:"}, {"/dev/null", "c::"}};
        for (const auto& [target, name] : links) // "c::" is a device entry, not a drive
            std::filesystem::create_symlink(target, m_dir.fsPath("prefix/dosdevices") / name);
    }
    void TearDown() override { overrideProgramDirectory({}); }
    std::string prefix() const { return m_dir.path("prefix"); }

    qmxtest::OsTestDir m_dir;
    qmxtest::ScopedEnv m_prefix{"WINEPREFIX", m_dir.path("prefix")};
};

} // namespace

// Windows form '>' to host, '<' from host, '=' both ways.
TEST_F(FakePrefix, PathsDrivesAndRegistry)
{
    const std::string c = prefix() + "/drive_c", d = m_dir.path(u8"other dir \u00e4");
    const std::tuple<std::string, char, std::string> cases[] = {
        {"C:\\maps\\a.vmf", '=', c + "/maps/a.vmf"},
        {"C:\\", '=', c},
        {u8"D:\\deep\\\u00fc b.vmf", '=', d + u8"/deep/\u00fc b.vmf"},
        {"Z:\\usr\\bin", '=', "/usr/bin"},
        {"Z:\\", '=', "/"},
        {"c:\\maps", '>', c + "/maps"}, // drive letters in either case
        {"Q:\\unknown", '>', ""},
        {"/already/host", '>', "/already/host"},
        {"", '>', ""},
        {"relative\\dir", '>', "relative/dir"},
        {"C:\\maps", '<', c + "/maps/"},
        {"C:\\maps", '<', c + "/../drive_c/maps"},
        {"C:\\already", '<', "C:\\already"},
    };
    for (const auto& [windows, way, host] : cases) {
        EXPECT_TRUE(way == '<' || toHostPath(windows) == host) << windows << " -> " << toHostPath(windows);
        EXPECT_TRUE(way == '>' || toWindowsPath(host) == windows) << host << " -> " << toWindowsPath(host);
    }
    // The longest drive folder wins: a sibling that only begins like D:'s folder is on Z:.
    EXPECT_EQ(toWindowsPath(m_dir.path("other dir")).rfind("Z:\\", 0), 0u);
    // Drives are sorted and skip device entries; the prefix is read anew on every call; without its
    // dosdevices Wine would make Z: the root.
    const auto list = drives();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(std::string({list[0].letter, list[1].letter, list[2].letter}), "CDZ");
    EXPECT_EQ(list[2].hostRoot, "/");
    overrideProgramDirectory(prefix() + "/drive_c/maps/");
    EXPECT_EQ(qmx::settingsFilePath(), "C:\\maps\\settings.qmxII");
    m_dir.write("prefix/user.reg",
                "WINE REGISTRY Version 2\n\n[Software\\\\Valve] 1\n\"Exe\"=\"c:\\\\s.exe\"\n\"Jp\"=\"\\x65e5\"\n");
    EXPECT_EQ(readRegistryString(kHkeyCurrentUser, "Software\\Valve", "Jp"), "?"); // through the ANSI code page
    qmxtest::ScopedEnv::set("WINEPREFIX", m_dir.path("no prefix here"));
    EXPECT_EQ(readRegistryString(kHkeyCurrentUser, "Software\\Valve", "Exe"), std::nullopt);
    EXPECT_EQ(toHostPath("C:\\maps"), "");
    EXPECT_EQ(toHostPath("Z:\\tmp"), "/tmp");
    EXPECT_EQ(toWindowsPath(prefix() + "/drive_c").rfind("Z:\\", 0), 0u);
    overrideProgramDirectory({});
    EXPECT_EQ(programDirectory().rfind("Z:\\", 0), 0u); // the test program lives under / and so on Z:
}

#else

// Windows paths are host paths; only the separators change, to the ones the program shows.
TEST(Paths, WindowsFormHasBackslashes)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:/users/me/my maps/a.vmf", "C:\\users\\me\\my maps\\a.vmf"},
        {"C:\\maps/sub\\", "C:\\maps\\sub\\"},
        {"//server/share/x", "\\\\server\\share\\x"},
        {"", ""},
    };
    for (const auto& [host, windows] : cases) {
        EXPECT_EQ(qmx::os::toWindowsPath(host), windows) << host;
        EXPECT_EQ(qmx::os::toHostPath(windows), windows) << windows;
    }
}

#endif
