// HKEY_CURRENT_USER values: Linux reads them from the Wine prefix's user.reg, Windows through the registry.

#include "core/os/Os.h"
#include "core/os/Utf8.h"
#include "support/OsTestDir.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

// Wine's reg.exe stores the values, and readRegistryString finds them: on Linux in the prefix's user.reg (Wine
// writes its header, timestamps, escapes and continued lines), on Windows through the registry functions.
TEST(WineUserReg, ReadsWhatWineWrote)
{
    const std::string parent = "Software\\QMX Tests";
    const std::string key = parent + u8"\\Gr\u00fc\u00df " + std::to_string(std::random_device{}());
    std::string binary = "hex:11"; // long enough for Wine to continue it over lines
    while (binary.size() < 120)
        binary += ",11";
    // REG_SZ data up to its first NUL, UTF-16 in the file; other types are not strings to us.
    const std::tuple<const char*, std::string, std::optional<std::string>> cases[] = {
        {"Binary", binary, std::nullopt},
        {"Directory", R"("E:\\tools\\bin")", "E:\\tools\\bin"},
        {"Escapes", "\"\\\"q\\\" \\\\ x\ttab\"", "\"q\" \\ x\ttab"},
        {"Letters", "hex(1):47,00,72,00,fc,00,df,00,20,00,ac,20,00,00", u8"Gr\u00fc\u00df \u20ac"},
        {"Embedded", "hex(1):62,00,00,00,61,00,00,00", "b"},
        {"NoTerminator", "hex(1):61,00,62,00", "ab"},
        {"Expand", "hex(2):25,00,78,00,25,00,00,00", std::nullopt},
        {"Number", "dword:0000002a", std::nullopt},
        {"Empty", R"("")", ""},
        {"", R"("default")", "default"},
    };
    // Earlier runs' keys go first, in the same (slow) Wine start.
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[-HKEY_CURRENT_USER\\" + parent
        + "]\r\n\r\n[HKEY_CURRENT_USER\\" + key + "]\r\n";
    for (const auto& [name, data, expected] : cases)
        text += (*name ? "\"" + std::string(name) + "\"" : std::string("@")) + "=" + data + "\r\n";
    text += "\r\n[HKEY_CURRENT_USER\\" + key + "\\Sub]\r\n\"Below\"=\"x\"\r\n";
    std::string reg;
    for (const char16_t unit : u"\xFEFF" + qmx::os::utf8ToUtf16(text))
        reg += std::string{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    qmxtest::OsTestDir dir("qmx user reg ");
    dir.write("values.reg", reg);
#ifdef _WIN32
    ASSERT_EQ(std::system(("reg import \"" + dir.path("values.reg") + "\" >nul 2>&1").c_str()), 0);
#else
    // A prefix of its own beside the test program: made once (slow), reused by later runs.
    const auto prefix = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "wineprefix-userreg";
    const std::string wine = "WINEPREFIX='" + prefix.string() + "' WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= ";
    const std::string import = wine + "wine reg import 'Z:" + dir.path("values.reg") + "'";
    // user.reg is written when the server ends.
    ASSERT_EQ(std::system(("(" + import + " && " + wine + "wineserver -w) >/dev/null 2>&1").c_str()), 0);
    const qmxtest::ScopedEnv env("WINEPREFIX", prefix.string());
#endif
    const auto read = [](const std::string& where, const char* name) {
        return qmx::os::readRegistryString(qmx::os::kHkeyCurrentUser, where, name);
    };
    for (const auto& [name, data, expected] : cases)
        EXPECT_EQ(read(key, name), expected) << name;
    EXPECT_EQ(read(key, "DIRECTORY"), "E:\\tools\\bin");
    EXPECT_EQ(read(key, "Below"), std::nullopt); // neither from a subkey
    EXPECT_EQ(read(parent, "Directory"), std::nullopt); // nor for the parent
    EXPECT_EQ(read(key + "\\SUB", "below"), "x");
}
