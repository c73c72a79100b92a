#include "core/os/UserReg.h"

#include <gtest/gtest.h>

using qmx::os::findUserRegString;

// A hive as Wine writes it: header and comment lines, timestamps, typed values, continued hex lines.
const char* const kHive = R"(WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000
#arch=win64

[Software\\Valve\\Hammer\\General] 1700000000
#time=1d9a1b2c3d4e5f6
"Directory"="E:\\tools\\bin"
"Expand"=str(2):"%SystemRoot%\\x"
"Binary"=hex:01,02,\
  03,04
"Escapes"="tab\there \"q\" nl\n"
"Unicode"="Gr\x00f6\x00dfe \x20ac"
"Embedded"="before\0after"
"Empty"=""
@="default value"

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
        {general, "Expand", std::nullopt}, // REG_SZ only
        {general, "Binary", std::nullopt},
        {general, "Escapes", "tab\there \"q\" nl\n"},
        {general, "Unicode", u8"Gr\u00f6\u00dfe \u20ac"},
        {general, "Embedded", "before"},
        {general, "Empty", ""},
        {general, "", "default value"},
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
