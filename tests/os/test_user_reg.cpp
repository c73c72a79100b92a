#include "toolkit/os/UserReg.h"

#include <gtest/gtest.h>

using qmx::os::findUserRegString;

namespace {

const char* const kHive = "WINE REGISTRY Version 2\n"
                          ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
                          "\n"
                          "#arch=win64\n"
                          "\n"
                          "[Software\\\\Valve\\\\Hammer\\\\General] 1700000000\n"
                          "#time=1d9a1b2c3d4e5f6\n"
                          "\"Directory\"=\"E:\\\\tools\\\\bin\"\n"
                          "\"Expand\"=str(2):\"%SystemRoot%\\\\x\"\n"
                          "\"Multi\"=str(7):\"a\\0b\\0\"\n"
                          "\"Number\"=dword:0000002a\n"
                          "\"Binary\"=hex:01,02,\\\n"
                          "  03,04\n"
                          "\"Escapes\"=\"tab\\there \\\"q\\\" nl\\n\"\n"
                          "\"Unicode\"=\"Gr\\x00f6\\x00dfe \\x20ac\"\n"
                          "\"Octal\"=\"A\\101B\"\n"
                          "\"Embedded\"=\"before\\0after\"\n"
                          "\"Empty\"=\"\"\n"
                          "@=\"default value\"\n"
                          "\n"
                          "[Software\\\\Valve\\\\Steam] 1700000001\n"
                          "\"SteamExe\"=\"c:/program files (x86)/steam/steam.exe\"\n"
                          "\"Quote\\\"Name\"=\"odd\"\n"
                          "\n"
                          "[Software\\\\Valve\\\\Steam\\\\Apps] 1700000002\n"
                          "\"Directory\"=\"not this one\"\n"
                          "[Software\\\\Gr\\x00fc\\x00df] 1700000003\n"
                          "\"V\"=\"umlaut key\"\n";

struct Lookup
{
    const char* key;
    const char* value;
    std::optional<std::string> expected;
};

} // namespace

TEST(UserReg, Lookups)
{
    const Lookup cases[] = {
        {"Software\\Valve\\Hammer\\General", "Directory", "E:\\tools\\bin"},
        {"software\\VALVE\\hammer\\general", "directory", "E:\\tools\\bin"},
        {"Software\\Valve\\Hammer\\General", "Expand", std::nullopt},
        {"Software\\Valve\\Hammer\\General", "Multi", std::nullopt},
        {"Software\\Valve\\Hammer\\General", "Number", std::nullopt},
        {"Software\\Valve\\Hammer\\General", "Binary", std::nullopt},
        {"Software\\Valve\\Hammer\\General", "Escapes", "tab\there \"q\" nl\n"},
        {"Software\\Valve\\Hammer\\General", "Unicode", u8"Gr\u00f6\u00dfe \u20ac"},
        {"Software\\Valve\\Hammer\\General", "Octal", "AAB"},
        {"Software\\Valve\\Hammer\\General", "Embedded", "before"},
        {"Software\\Valve\\Hammer\\General", "Empty", ""},
        {"Software\\Valve\\Hammer\\General", "", "default value"},
        {"Software\\Valve\\Hammer\\General", "Missing", std::nullopt},
        {"Software\\Valve\\Steam", "SteamExe", "c:/program files (x86)/steam/steam.exe"},
        {"Software\\Valve\\Steam", "Directory", std::nullopt},
        {"Software\\Valve\\Steam", "Quote\"Name", "odd"},
        {"Software\\Valve", "SteamExe", std::nullopt},
        {"Software\\Valve\\Steam\\Apps", "Directory", "not this one"},
        {u8"Software\\Gr\u00fc\u00df", "V", "umlaut key"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(findUserRegString(kHive, c.key, c.value), c.expected) << c.key << " / " << c.value;
}

TEST(UserReg, DamagedHives)
{
    const char* const damaged[] = {
        "",
        "[",
        "[]",
        "[Software\\\\Valve\\\\Steam] 1\n\"SteamExe\"=\"no end",
        "[Software\\\\Valve\\\\Steam] 1\n\"SteamExe\n",
        "[Software\\\\Valve\\\\Steam] 1\n\"SteamExe\"=\"trailing backslash\\",
        "[Software\\\\Valve\\\\Steam] 1\n\"SteamExe\"",
        "[Software\\\\Valve\\\\Steam] 1\n\"SteamExe\"=",
        "\\x",
    };
    for (const char* hive : damaged)
        EXPECT_EQ(findUserRegString(hive, "Software\\Valve\\Steam", "SteamExe"), std::nullopt) << hive;
    // CR LF line ends are read like LF.
    EXPECT_EQ(findUserRegString("[Software\\\\Valve\\\\Steam] 1\r\n\"SteamExe\"=\"x\"\r\n", "Software\\Valve\\Steam",
                                "SteamExe"),
              "x");
}
