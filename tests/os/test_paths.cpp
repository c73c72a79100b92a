#include "toolkit/os/Os.h"

#include "OsTestDir.h"
#include "storage/ProgramFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

#ifndef _WIN32
#include <unistd.h>

namespace {

// A fake Wine prefix in a temporary directory whose name has a blank and a non-ASCII letter.
class FakePrefix : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const char* old = std::getenv("WINEPREFIX"))
            m_saved = old;
        m_hadPrefix = std::getenv("WINEPREFIX") != nullptr;
        m_dir.mkdir("prefix/dosdevices");
        m_dir.mkdir("prefix/drive_c/maps");
        m_dir.mkdir(u8"other dir \u00e4/deep");
        link("../drive_c", "c:");
        link("/", "z:");
        link(m_dir.path(u8"other dir \u00e4"), "d:");
        link("/dev/null", "c::"); // a device entry, not a drive
        ::setenv("WINEPREFIX", prefix().c_str(), 1);
    }
    void TearDown() override
    {
        if (m_hadPrefix)
            ::setenv("WINEPREFIX", m_saved.c_str(), 1);
        else
            ::unsetenv("WINEPREFIX");
        qmx::os::overrideProgramDirectory({});
    }
    void link(const std::string& target, const std::string& name)
    {
        ASSERT_EQ(::symlink(target.c_str(), (prefix() + "/dosdevices/" + name).c_str()), 0);
    }
    std::string prefix() const { return m_dir.path("prefix"); }
    static std::string zForm(std::string host)
    {
        for (auto& ch : host)
            ch = ch == '/' ? '\\' : ch;
        return "Z:" + host;
    }

    qmxtest::OsTestDir m_dir;
    std::string m_saved;
    bool m_hadPrefix = false;
};

} // namespace

TEST_F(FakePrefix, WindowsToHost)
{
    const std::string driveC = prefix() + "/drive_c";
    const std::string driveD = m_dir.path(u8"other dir \u00e4");
    const struct
    {
        std::string windows;
        std::string host;
    } cases[] = {
        {"C:\\maps\\a.vmf", driveC + "/maps/a.vmf"},
        {"c:\\maps", driveC + "/maps"},
        {"C:\\", driveC},
        {"C:", driveC},
        {"C:/maps/x", driveC + "/maps/x"},
        {u8"D:\\deep\\\u00fc b.vmf", driveD + u8"/deep/\u00fc b.vmf"},
        {"Z:\\usr\\bin", "/usr/bin"},
        {"z:\\", "/"},
        {"Q:\\unknown", ""},
        {"/already/host", "/already/host"},
        {"", ""},
        {"relative\\dir", "relative/dir"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qmx::os::toHostPath(c.windows), c.host) << c.windows;
}

TEST_F(FakePrefix, HostToWindowsTakesTheLongestDrive)
{
    const struct
    {
        std::string host;
        std::string windows;
    } cases[] = {
        {prefix() + "/drive_c/maps", "C:\\maps"},
        {prefix() + "/drive_c", "C:\\"},
        {prefix() + "/drive_c/maps/", "C:\\maps"},
        {prefix() + "/drive_c/../drive_c/maps", "C:\\maps"},
        {m_dir.path(u8"other dir \u00e4/deep"), "D:\\deep"},
        // A sibling whose name only begins like the drive's folder is not on that drive.
        {m_dir.path("other dir"), zForm(m_dir.path("other dir"))},
        {"/usr/share", "Z:\\usr\\share"},
        {"/", "Z:\\"},
        {"C:\\already", "C:\\already"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qmx::os::toWindowsPath(c.host), c.windows) << c.host;
}

TEST_F(FakePrefix, DrivesSkipDevicesAndAreSorted)
{
    const auto drives = qmx::os::drives();
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0].letter, 'C');
    EXPECT_EQ(drives[1].letter, 'D');
    EXPECT_EQ(drives[2].letter, 'Z');
    EXPECT_EQ(drives[2].hostRoot, "/");
}

TEST_F(FakePrefix, PrefixIsReadAnewEachCall)
{
    EXPECT_EQ(qmx::os::winePrefix(), prefix());
    ::setenv("WINEPREFIX", m_dir.path("no prefix here").c_str(), 1);
    // Without dosdevices Wine would make Z: the root.
    EXPECT_EQ(qmx::os::toHostPath("C:\\maps"), "");
    EXPECT_EQ(qmx::os::toHostPath("Z:\\tmp"), "/tmp");
    EXPECT_EQ(qmx::os::toWindowsPath(prefix() + "/drive_c"), zForm(prefix() + "/drive_c"));
    ::setenv("WINEPREFIX", prefix().c_str(), 1);
    EXPECT_EQ(qmx::os::toWindowsPath(prefix() + "/drive_c"), "C:\\");
}

TEST_F(FakePrefix, ProgramDirectoryAndItsFiles)
{
    qmx::os::overrideProgramDirectory(prefix() + "/drive_c/maps/");
    EXPECT_EQ(qmx::os::programDirectory(), "C:\\maps");
    EXPECT_EQ(qmx::settingsFilePath(), "C:\\maps\\settings.qmxII");
    EXPECT_EQ(qmx::languageFilePath(), "C:\\maps\\language.qmxII");
    EXPECT_EQ(qmx::helpFilePath(), "C:\\maps\\help.chm");
    qmx::os::overrideProgramDirectory("D:\\deep\\");
    EXPECT_EQ(qmx::os::programDirectory(), "D:\\deep");
    qmx::os::overrideProgramDirectory({});
    // The test executable lives under / and so on Z:.
    EXPECT_EQ(qmx::os::programDirectory().rfind("Z:\\", 0), 0u);
    EXPECT_EQ(qmx::os::executableName(), "test_os");
}

TEST_F(FakePrefix, RegistryFromUserReg)
{
    m_dir.write("prefix/user.reg",
                "WINE REGISTRY Version 2\n\n[Software\\\\Valve\\\\Steam] 1\n"
                "\"SteamExe\"=\"c:\\\\steam\\\\steam.exe\"\n\"Jp\"=\"\\x65e5\"\n");
    EXPECT_EQ(qmx::os::readRegistryString(qmx::os::kHkeyCurrentUser, "Software\\Valve\\Steam", "SteamExe"),
              "c:\\steam\\steam.exe");
    // Read through the ANSI code page, as the Windows program would.
    EXPECT_EQ(qmx::os::readRegistryString(qmx::os::kHkeyCurrentUser, "Software\\Valve\\Steam", "Jp"), "?");
    EXPECT_EQ(qmx::os::readRegistryString(0x80000002u, "Software\\Valve\\Steam", "SteamExe"), std::nullopt);
    ::setenv("WINEPREFIX", m_dir.path("no prefix here").c_str(), 1);
    EXPECT_EQ(qmx::os::readRegistryString(qmx::os::kHkeyCurrentUser, "Software\\Valve\\Steam", "SteamExe"),
              std::nullopt);
}
#endif
