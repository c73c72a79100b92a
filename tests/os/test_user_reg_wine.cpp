// Wine itself stores the registry values here (its reg.exe importing a .reg file), and our Linux reader
// of user.reg must find them as the Windows program would. Skipped when Wine is not installed.

#ifndef _WIN32

#include "toolkit/os/Os.h"

#include "OsTestDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>

namespace {

std::string testPrefix()
{
    // A prefix of its own beside the test program: made once (slow), reused by later runs.
    char exe[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string dir = n > 0 ? std::string(exe, static_cast<std::size_t>(n)) : std::string("/tmp/x");
    dir.erase(dir.rfind('/'));
    return dir + "/wineprefix-userreg";
}

int wine(const std::string& prefix, const std::string& args)
{
    const std::string cmd
        = "WINEPREFIX='" + prefix + "' WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= " + args + " >/dev/null 2>&1";
    return std::system(cmd.c_str());
}

// UTF-8 (letters of the first plane only) to UTF-16LE bytes, as .reg files and REG_SZ data hold them.
std::string utf16le(const std::string& utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        unsigned cp = b;
        int len = 1;
        if (b >= 0xE0) {
            cp = b & 0x0F;
            len = 3;
        } else if (b >= 0xC0) {
            cp = b & 0x1F;
            len = 2;
        }
        for (int k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        i += static_cast<std::size_t>(len);
        out += static_cast<char>(cp & 0xFF);
        out += static_cast<char>(cp >> 8);
    }
    return out;
}

std::string hexList(const std::string& bytes)
{
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(bytes[i]));
        out += (i ? "," : "") + std::string(buf);
    }
    return out;
}

} // namespace

TEST(WineUserReg, ReadsWhatWineWrote)
{
    if (std::system("command -v wine >/dev/null 2>&1 && command -v wineserver >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "Wine is not installed";
    const std::string prefix = testPrefix();
    const std::string key = "Software\\QMX Tests\\run " + std::to_string(std::random_device{}());
    const struct
    {
        const char* name;
        std::string regData; // as the .reg file writes it
        std::optional<std::string> expected;
    } cases[] = {
        {"Directory", "\"E:\\\\tools\\\\bin\"", "E:\\tools\\bin"},
        {"Letters", u8"\"Gr\u00fc\u00dfe \u20ac \\\"q\\\" \\\\ x\"", u8"Gr\u00fc\u00dfe \u20ac \"q\" \\ x"},
        {"Far East", u8"\"\u65e5\u672c\"", "??"}, // through the ANSI code page
        {"Expand", "hex(2):" + hexList(utf16le(std::string("%SystemRoot%\0", 13))), std::nullopt},
        {"Embedded", "hex(1):" + hexList(utf16le(std::string("before\0after\0", 13))), "before"},
        {"Number", "dword:0000002a", std::nullopt},
        {"Empty", "\"\"", ""},
        {"", "\"default\"", "default"},
    };
    // Earlier runs' keys go first, in the same (slow) Wine start.
    std::string reg = u8"\ufeffWindows Registry Editor Version 5.00\r\n\r\n"
                      "[-HKEY_CURRENT_USER\\Software\\QMX Tests]\r\n\r\n"
                      "[HKEY_CURRENT_USER\\"
        + key + "]\r\n";
    for (const auto& c : cases)
        reg += (*c.name ? "\"" + std::string(c.name) + "\"" : std::string("@")) + "=" + c.regData + "\r\n";
    qmxtest::OsTestDir dir;
    dir.write("values.reg", utf16le(reg));
    const std::string winPath = "Z:" + dir.path("values.reg");
    ASSERT_EQ(wine(prefix, "wine reg import '" + winPath + "'"), 0);
    ASSERT_EQ(wine(prefix, "wineserver -w"), 0); // user.reg is written when the server ends

    const char* old = std::getenv("WINEPREFIX");
    const std::string saved = old ? old : "";
    ::setenv("WINEPREFIX", prefix.c_str(), 1);
    for (const auto& c : cases)
        EXPECT_EQ(qmx::os::readRegistryString(qmx::os::kHkeyCurrentUser, key, c.name), c.expected) << c.name;
    if (old)
        ::setenv("WINEPREFIX", saved.c_str(), 1);
    else
        ::unsetenv("WINEPREFIX");
}

#endif
