// HKEY_CURRENT_USER values: Linux reads them from the Wine prefix's user.reg, Windows through the registry.

#include "core/os/UserReg.h"

#include "core/os/Os.h"
#include "support/OsTestDir.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

using qmx::os::findUserRegString;

// A hive as Wine writes it: header and comment lines, timestamps, typed values, continued hex lines. The value
// types, escapes and letters that reg.exe writes are read in the next test from a hive Wine wrote itself.
const char* const kHive = R"(WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000
#arch=win64

[Software\\Valve\\Hammer\\General] 1700000000
#time=1d9a1b2c3d4e5f6
"Directory"="E:\\tools\\bin"
"Binary"=hex:01,02,\
  03,04
"Escapes"="tab\there \"q\" nl\n"
"Embedded"="before\0after"

[Software\\Valve\\Steam] 1700000001
"SteamExe"="c:/program files (x86)/steam/steam.exe"

[Software\\Valve\\Steam\\Apps] 1700000002
"Directory"="not this one"
[Software\\Gr\x00fc\x00df] 1700000003
"V"="umlaut key"
)";

TEST(UserReg, Lookups)
{
    const std::string general = "Software\\Valve\\Hammer\\General";
    const std::tuple<std::string, const char*, std::optional<std::string>> cases[] = {
        {general, "Directory", "E:\\tools\\bin"},
        {"software\\VALVE\\hammer\\general", "directory", "E:\\tools\\bin"},
        {general, "Binary", std::nullopt}, // REG_SZ only
        {general, "Escapes", "tab\there \"q\" nl\n"},
        {general, "Embedded", "before"},
        {general, "Missing", std::nullopt},
        {"Software\\Valve\\Steam", "SteamExe", "c:/program files (x86)/steam/steam.exe"},
        {"Software\\Valve\\Steam", "Directory", std::nullopt}, // not from the subkey
        {"Software\\Valve", "SteamExe", std::nullopt},
        {u8"Software\\Gr\u00fc\u00df", "V", "umlaut key"},
    };
    for (const auto& [key, value, expected] : cases)
        EXPECT_EQ(findUserRegString(kHive, key, value), expected) << key << " / " << value;
    // Damaged hives find nothing; CR LF line ends read like LF.
    const std::string head = "[Software\\\\Valve\\\\Steam] 1\n\"SteamExe";
    for (const std::string& damaged : {std::string("["), std::string("\\x"), head + "\"=\"no end", head + "\n",
                                       head + "\"=\"trailing backslash\\", head + "\"", head + "\"="})
        EXPECT_EQ(findUserRegString(damaged, "Software\\Valve\\Steam", "SteamExe"), std::nullopt) << damaged;
    const std::string crlf = "[Software\\\\Valve\\\\Steam] 1\r\n\"SteamExe\"=\"x\"\r\n";
    EXPECT_EQ(findUserRegString(crlf, "Software\\Valve\\Steam", "SteamExe"), "x");
}

// Wine's reg.exe stores the values, and readRegistryString finds them: on Linux in the prefix's user.reg, on
// Windows through the registry functions. Skipped without Wine.
TEST(WineUserReg, ReadsWhatWineWrote)
{
    const std::string key = "Software\\QMX Tests\\run " + std::to_string(std::random_device{}());
    // REG_SZ data up to its first NUL, UTF-16 in the file; other types are not strings to us.
    const std::tuple<const char*, const char*, std::optional<std::string>> cases[] = {
        {"Directory", R"("E:\\tools\\bin")", "E:\\tools\\bin"},
        {"Escapes", R"("\"q\" \\ x")", "\"q\" \\ x"},
        {"Letters", "hex(1):47,00,72,00,fc,00,df,00,20,00,ac,20,00,00", u8"Gr\u00fc\u00df \u20ac"},
        {"Far East", "hex(1):e5,65,2c,67,00,00", "??"}, // through the ANSI code page
        {"Embedded", "hex(1):62,00,00,00,61,00,00,00", "b"},
        {"NoTerminator", "hex(1):61,00,62,00", "ab"},
        {"Expand", "hex(2):25,00,78,00,25,00,00,00", std::nullopt},
        {"Multi", "hex(7):61,00,00,00,00,00", std::nullopt},
        {"Number", "dword:0000002a", std::nullopt},
        {"Empty", R"("")", ""},
        {"", R"("default")", "default"},
    };
    // Earlier runs' keys go first, in the same (slow) Wine start.
    std::string reg = "\xFF\xFE",
                text = "Windows Registry Editor Version 5.00\r\n\r\n"
                       "[-HKEY_CURRENT_USER\\Software\\QMX Tests]\r\n\r\n[HKEY_CURRENT_USER\\"
        + key + "]\r\n";
    for (const auto& [name, data, expected] : cases)
        text += (*name ? "\"" + std::string(name) + "\"" : std::string("@")) + "=" + data + "\r\n";
    for (const char c : text) // all ASCII: UTF-16 by a NUL after each byte
        reg += std::string{c, '\0'};
    qmxtest::OsTestDir dir("qmx user reg ");
    dir.write("values.reg", reg);
#ifdef _WIN32
    ASSERT_EQ(std::system(("reg import \"" + dir.path("values.reg") + "\" >nul 2>&1").c_str()), 0);
#else
    if (std::system("command -v wine >/dev/null 2>&1 && command -v wineserver >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "Wine is not installed";
    // A prefix of its own beside the test program: made once (slow), reused by later runs.
    const auto prefix = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "wineprefix-userreg";
    const std::string wine = "WINEPREFIX='" + prefix.string() + "' WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= ";
    const std::string import = wine + "wine reg import 'Z:" + dir.path("values.reg") + "'";
    // user.reg is written when the server ends.
    ASSERT_EQ(std::system(("(" + import + " && " + wine + "wineserver -w) >/dev/null 2>&1").c_str()), 0);
    const qmxtest::ScopedEnv env("WINEPREFIX", prefix.string());
#endif
    for (const auto& [name, data, expected] : cases)
        EXPECT_EQ(qmx::os::readRegistryString(qmx::os::kHkeyCurrentUser, key, name), expected) << name;
    EXPECT_EQ(qmx::os::readRegistryString(qmx::os::kHkeyCurrentUser, key, "DIRECTORY"), "E:\\tools\\bin");
    EXPECT_EQ(qmx::os::readRegistryString(qmx::os::kHkeyCurrentUser, key + "\\Missing", "Directory"), std::nullopt);
}
