#include "storage/IniFile.h"

#include "OsTestDir.h"
#include "toolkit/os/Os.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

using qmx::ini::findValue;
using qmx::ini::readValue;

namespace {

struct LookupCase
{
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    std::optional<std::string> expected; // nothing: the key is not there
    bool sameInWine = true; // false where we differ from the Windows functions on purpose
};

const LookupCase kLookups[] = {
    {"plain", "[settings]\r\nSDKDir=C:\\sdk\\bin\r\n", "settings", "SDKDir", "C:\\sdk\\bin"},
    {"section case", "[Language]\r\nFrame3=Options\r\n", "language", "Frame3", "Options"},
    {"section in capitals", "[LANGUAGE]\r\nFrame3=Options\r\n", "Language", "Frame3", "Options"},
    {"key case", "[presets]\r\npreset1=a|b\r\n", "presets", "Preset1", "a|b"},
    {"empty value is found", "[s]\r\nk=\r\n", "s", "k", ""},
    {"missing key", "[s]\r\nother=1\r\n", "s", "k", std::nullopt},
    {"missing section", "[t]\r\nk=1\r\n", "s", "k", std::nullopt},
    {"blanks around value", "[s]\r\nk =   value with blanks  \t\r\n", "s", "k", "value with blanks"},
    {"blanks around key", "[s]\r\n   k   =v\r\n", "s", "k", "v"},
    {"double quotes keep inner blanks", "[s]\r\nk=\" is already running.\"\r\n", "s", "k", " is already running."},
    {"single quotes", "[s]\r\nk=' x '\r\n", "s", "k", " x "},
    {"mismatched quotes stay", "[s]\r\nk=\"abc'\r\n", "s", "k", "\"abc'"},
    {"lone quote stays", "[s]\r\nk=\"\r\n", "s", "k", "\""},
    {"empty quotes", "[s]\r\nk=\"\"\r\n", "s", "k", ""},
    {"only one pair removed", "[s]\r\nk=\"\"a\"\"\r\n", "s", "k", "\"a\""},
    {"text after first equals", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
    {"first section of a name wins", "[s]\r\na=1\r\n[S]\r\nb=2\r\n", "s", "b", std::nullopt},
    {"first key of a name wins", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1"},
    // A line without '=' is a key without a value: it reads as the default, and hides later lines of that key.
    {"line without equals has no value", "[s]\r\nk\r\n", "s", "k", std::nullopt},
    {"line without equals still counts as the first key", "[s]\r\nk\r\nk=2\r\n", "s", "k", std::nullopt},
    {"section name trimmed", "[ s ]\r\nk=1\r\n", "s", "k", "1"},
    {"section name up to last bracket", "[a]b]\r\nk=1\r\n", "a]b", "k", "1"},
    {"bracket line without end is a key", "[s\r\nk=1\r\n", "s", "k", std::nullopt},
    {"comment line", "[s]\r\n;k=1\r\n", "s", "k", std::nullopt},
    {"comment is never a key", "[s]\r\n;k=1\r\n", "s", ";k", std::nullopt, false},
    {"semicolon inside value", "[s]\r\nk=a ; b\r\n", "s", "k", "a ; b"},
    {"keys of other sections", "[a]\r\nk=1\r\n[b]\r\nk=2\r\n", "b", "k", "2"},
    {"key above any section", "k=1\r\n[s]\r\n", "s", "k", std::nullopt},
    {"LF line ends", "[s]\nk=v\n", "s", "k", "v"},
    {"CR line ends", "[s]\rk=v\r", "s", "k", "v"},
    {"mixed line ends", "[a]\r\nx=1\n[s]\rk=v\r\n", "s", "k", "v"},
    {"no final line break", "[s]\r\nk=v", "s", "k", "v"},
    {"control characters trimmed", "\x1a[s]\x0b\r\nk=\x1av\x0c\x1a\r\n", "s", "k", "v"},
    {"tab inside value kept", "[s]\r\nk=a \t b\r\n", "s", "k", "a \t b"},
    {"empty file", "", "s", "k", std::nullopt},
    {"blank lines between", "\r\n\r\n[s]\r\n\r\n\r\nk=v\r\n\r\n", "s", "k", "v"},
    {"lookup names trimmed", "[s]\r\nk=v\r\n", " s ", " k ", "v"},
};

class IniLookup : public ::testing::TestWithParam<LookupCase>
{
};

// Case names instead of raw bytes in test listings.
void PrintTo(const LookupCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string caseName(const ::testing::TestParamInfo<LookupCase>& info)
{
    std::string n;
    for (const char* p = info.param.name; *p; ++p)
        n += (std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_');
    return n;
}

} // namespace

TEST_P(IniLookup, InMemory)
{
    const LookupCase& c = GetParam();
    EXPECT_EQ(findValue(c.content, c.section, c.key), c.expected);
}

TEST_P(IniLookup, FromFile)
{
    const LookupCase& c = GetParam();
    qmxtest::OsTestDir dir;
    dir.write("a.ini", c.content);
    EXPECT_EQ(readValue(dir.path("a.ini"), c.section, c.key, "<default>"), c.expected.value_or("<default>"));
}

#ifdef _WIN32
// The Windows profile functions are the reference for the lookup rules.
TEST_P(IniLookup, SameAsGetPrivateProfileString)
{
    const LookupCase& c = GetParam();
    qmxtest::OsTestDir dir;
    dir.write("a.ini", c.content);
    char buf[255] = {};
    const DWORD n = GetPrivateProfileStringA(c.section, c.key, "<default>", buf, sizeof buf,
                                             qmx::os::toAnsi(dir.path("a.ini")).c_str());
    const std::string windows(buf, n);
    const std::string ours = readValue(dir.path("a.ini"), c.section, c.key, "<default>");
    if (c.sameInWine)
        EXPECT_EQ(ours, windows);
    else
        EXPECT_NE(ours, windows) << "a difference we chose; if the platform changed, look again";
}
#endif

INSTANTIATE_TEST_SUITE_P(Rules, IniLookup, ::testing::ValuesIn(kLookups), caseName);

TEST(IniRead, LongValueIsCutTo254Bytes)
{
    qmxtest::OsTestDir dir;
    const std::string value(300, 'x');
    dir.write("a.ini", "[s]\r\nk=" + value + "\r\n");
    EXPECT_EQ(readValue(dir.path("a.ini"), "s", "k"), value.substr(0, 254));
    // Non-ASCII letters are one byte each in the file, so the limit still counts 254 letters.
    const std::string umlauts(300, '\xe4');
    dir.write("b.ini", "[s]\r\nk=" + umlauts + "\r\n");
    const std::string read = readValue(dir.path("b.ini"), "s", "k");
    EXPECT_EQ(qmx::os::toAnsi(read), umlauts.substr(0, 254));
}

TEST(IniRead, ConvertsFromTheAnsiCodePage)
{
    qmxtest::OsTestDir dir;
    dir.write("a.ini",
              "[s]\r\nk=Gr\xf6\xdf"
              "e \x80 \x93q\x94\r\n\xe4=umlaut key\r\n");
    EXPECT_EQ(readValue(dir.path("a.ini"), "s", "k"), u8"Gr\u00f6\u00dfe \u20ac \u201cq\u201d");
    EXPECT_EQ(readValue(dir.path("a.ini"), "s", u8"\u00e4"), "umlaut key");
}

TEST(IniRead, Utf8FileWithByteOrderMark)
{
    qmxtest::OsTestDir dir;
    dir.write("a.ini",
              "\xEF\xBB\xBF[language]\r\nFrame3=\xC3\x9C"
              "bersicht\r\n");
    EXPECT_EQ(readValue(dir.path("a.ini"), "Language", "Frame3"), u8"\u00dcbersicht");
    // The cut never splits a letter.
    std::string longValue;
    for (int i = 0; i < 200; ++i)
        longValue += "\xC3\xA4";
    dir.write("b.ini", "\xEF\xBB\xBF[s]\r\nk=" + longValue + "\r\n");
    EXPECT_EQ(readValue(dir.path("b.ini"), "s", "k"), longValue.substr(0, 254));
}

TEST(IniRead, MissingFileGivesDefaultAndCreatesNothing)
{
    qmxtest::OsTestDir dir;
    EXPECT_EQ(readValue(dir.path("none.ini"), "s", "k"), "");
    EXPECT_EQ(readValue(dir.path("none.ini"), "s", "k", "def"), "def");
    EXPECT_EQ(readValue(dir.path("missing dir/none.ini"), "s", "k", "def"), "def");
    EXPECT_EQ(dir.entryCount(), 0u);
}

TEST(IniRead, NulEndsTheValue)
{
    EXPECT_EQ(findValue(std::string("[s]\nk=ab\0cd\n", 12), "s", "k"), "ab");
    EXPECT_EQ(findValue(std::string("[s]\nk=\"ab\0cd\"\n", 14), "s", "k"), "\"ab");
}
