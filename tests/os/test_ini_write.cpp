#include "storage/IniFile.h"

#include "OsTestDir.h"
#include "toolkit/os/Os.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

using qmx::ini::readValue;
using qmx::ini::setValue;
using qmx::ini::writeValue;

namespace {

struct EditCase
{
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

// Every byte outside the one changed line must survive: comments, blank lines, line-end style.
const EditCase kEdits[] = {
    {"new file", "", "settings", "LastDir", "C:\\maps", "[settings]\r\nLastDir=C:\\maps\r\n"},
    {"replace in place", "; mine\r\n[s]\r\n\r\na=1\r\nk=old\r\n\r\n[t]\r\nk=x\r\n", "s", "k", "new",
     "; mine\r\n[s]\r\n\r\na=1\r\nk=new\r\n\r\n[t]\r\nk=x\r\n"},
    {"replace keeps the spacing of the line", "[s]\nk =  old  \n", "s", "K", "new", "[s]\nk =  new  \n"},
    {"replace empty value", "[s]\r\nk=\r\nz=1\r\n", "s", "k", "v", "[s]\r\nk=v\r\nz=1\r\n"},
    {"key line without equals", "[s]\r\nk\r\n", "s", "k", "v", "[s]\r\nk=v\r\n"},
    {"replace with empty", "[s]\r\nk=old\r\n", "s", "k", "", "[s]\r\nk=\r\n"},
    {"append after last non-blank line of section", "[s]\r\na=1\r\n\r\n\r\n[t]\r\nb=2\r\n", "s", "k", "v",
     "[s]\r\na=1\r\nk=v\r\n\r\n\r\n[t]\r\nb=2\r\n"},
    {"append after a trailing comment", "[s]\na=1\n; end of s\n\n[t]\n", "s", "k", "v",
     "[s]\na=1\n; end of s\nk=v\n\n[t]\n"},
    {"append into empty section", "[s]\r\n[t]\r\n", "s", "k", "v", "[s]\r\nk=v\r\n[t]\r\n"},
    {"append into last section without final break", "[s]\r\na=1", "s", "k", "v", "[s]\r\na=1\r\nk=v"},
    {"append into header-only file without break", "[s]", "s", "k", "v", "[s]\r\nk=v"},
    {"new section at the end", "[s]\na=1\n", "presets", "preset3", "x|y", "[s]\na=1\n[presets]\npreset3=x|y\n"},
    {"new section after missing final break", "[s]\r\na=1", "t", "k", "v", "[s]\r\na=1\r\n[t]\r\nk=v\r\n"},
    {"CR-only file keeps CR", "[s]\ra=1\r", "s", "k", "v", "[s]\ra=1\rk=v\r"},
    {"value line breaks dropped", "", "s", "k", "a\r\nb\nc\rd", "[s]\r\nk=abcd\r\n"},
    {"first section is the one edited", "[s]\r\na=1\r\n[S]\r\nk=2\r\n", "s", "k", "v",
     "[s]\r\na=1\r\nk=v\r\n[S]\r\nk=2\r\n"},
    {"comment is not the key", "[s]\r\n;k=1\r\n", "s", "k", "v", "[s]\r\n;k=1\r\nk=v\r\n"},
    {"section name case kept", "[Language]\r\nx=1\r\n", "language", "y", "2", "[Language]\r\nx=1\r\ny=2\r\n"},
    {"BOM stays in front", "\xEF\xBB\xBF", "s", "k", "v", "\xEF\xBB\xBF[s]\r\nk=v\r\n"},
};

// Case names instead of raw bytes in test listings.
void PrintTo(const EditCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string caseName(const ::testing::TestParamInfo<EditCase>& info)
{
    std::string n;
    for (const char* p = info.param.name; *p; ++p)
        n += (std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_');
    return n;
}

class IniEdit : public ::testing::TestWithParam<EditCase>
{
};

} // namespace

TEST_P(IniEdit, InMemory)
{
    const EditCase& c = GetParam();
    EXPECT_EQ(setValue(c.before, c.section, c.key, c.value), c.after);
}

TEST_P(IniEdit, OnDiskThenReadBack)
{
    const EditCase& c = GetParam();
    qmxtest::OsTestDir dir;
    if (!c.before.empty())
        dir.write("a.ini", c.before);
    ASSERT_TRUE(writeValue(dir.path("a.ini"), c.section, c.key, c.value));
    EXPECT_EQ(dir.read("a.ini"), c.after);
    EXPECT_EQ(dir.entryCount(), 1u) << "no temporary file may be left behind";
    std::string expected;
    for (const char* p = c.value; *p; ++p) {
        if (*p != '\r' && *p != '\n')
            expected += *p;
    }
    EXPECT_EQ(readValue(dir.path("a.ini"), c.section, c.key), expected);
}

#ifdef _WIN32
namespace {
std::string windowsRead(const std::string& file, const char* section, const char* key)
{
    char buf[255] = {};
    const DWORD n = GetPrivateProfileStringA(section, key, "<default>", buf, sizeof buf, qmx::os::toAnsi(file).c_str());
    return std::string(buf, n);
}
} // namespace

// Each reader finds what the other side's writer stored. The bytes differ on purpose (see below).
TEST_P(IniEdit, InterchangeableWithTheWindowsFunctions)
{
    const EditCase& c = GetParam();
    if (std::string(c.value).find_first_of("\r\n") != std::string::npos)
        GTEST_SKIP() << "the Windows writer would store the line breaks; ours drops them";
    qmxtest::OsTestDir dir;
    if (!c.before.empty()) {
        dir.write("ours.ini", c.before);
        dir.write("theirs.ini", c.before);
    }
    ASSERT_TRUE(writeValue(dir.path("ours.ini"), c.section, c.key, c.value));
    ASSERT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, qmx::os::toAnsi(dir.path("theirs.ini")).c_str()));
    EXPECT_EQ(windowsRead(dir.path("ours.ini"), c.section, c.key), c.value);
    EXPECT_EQ(readValue(dir.path("theirs.ini"), c.section, c.key, "<default>"), c.value);
}

TEST(IniWrite, WeKeepBlankLinesTheWindowsWriterDrops)
{
    qmxtest::OsTestDir dir;
    const std::string before = "; settings\r\n[s]\r\n\r\na=1\r\n\r\n[t]\r\nb=2\r\n";
    dir.write("ours.ini", before);
    dir.write("theirs.ini", before);
    ASSERT_TRUE(writeValue(dir.path("ours.ini"), "s", "a", "2"));
    ASSERT_TRUE(WritePrivateProfileStringA("s", "a", "2", qmx::os::toAnsi(dir.path("theirs.ini")).c_str()));
    EXPECT_EQ(dir.read("ours.ini"), "; settings\r\n[s]\r\n\r\na=2\r\n\r\n[t]\r\nb=2\r\n");
    // A deliberate difference: the platform rewrites the whole file in its own layout.
    EXPECT_NE(dir.read("theirs.ini"), dir.read("ours.ini")) << dir.read("theirs.ini");
}
#endif

INSTANTIATE_TEST_SUITE_P(Bytes, IniEdit, ::testing::ValuesIn(kEdits), caseName);

TEST(IniWrite, RoundTripsTexts)
{
    qmxtest::OsTestDir dir;
    const std::string file = dir.path("settings.qmxII");
    const struct
    {
        std::string written;
        std::string readBack;
    } cases[] = {
        {"C:\\Program Files\\SDK\\bin", "C:\\Program Files\\SDK\\bin"},
        {u8"D:\\Karten\\Gr\u00f6\u00dfe \u20ac", u8"D:\\Karten\\Gr\u00f6\u00dfe \u20ac"},
        {u8"\u65e5\u672c", "??"}, // no such letters in the code page
        {"1|1|0|a,b,,c|0", "1|1|0|a,b,,c|0"},
        {"  padded  ", "padded"}, // the reader trims, as the Windows one does
        {"", ""},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(writeValue(file, "settings", "LastDir", c.written));
        EXPECT_EQ(readValue(file, "settings", "LastDir"), c.readBack) << c.written;
    }
    // Many rewrites leave one section with one key.
    EXPECT_EQ(dir.read("settings.qmxII"), "[settings]\r\nLastDir=\r\n");
}

TEST(IniWrite, Utf16FileIsLeftAlone)
{
    qmxtest::OsTestDir dir;
    const std::string utf16("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0v\0", 18);
    dir.write("a.ini", utf16);
    EXPECT_EQ(readValue(dir.path("a.ini"), "s", "k", "def"), "def");
    EXPECT_FALSE(writeValue(dir.path("a.ini"), "s", "k", "x"));
    EXPECT_EQ(dir.read("a.ini"), utf16);
}

TEST(IniWrite, Utf8FileGetsUtf8)
{
    qmxtest::OsTestDir dir;
    dir.write("a.ini", "\xEF\xBB\xBF[s]\r\nk=1\r\n");
    ASSERT_TRUE(writeValue(dir.path("a.ini"), "s", "k", u8"\u00e4\u65e5"));
    EXPECT_EQ(dir.read("a.ini"), "\xEF\xBB\xBF[s]\r\nk=\xC3\xA4\xE6\x97\xA5\r\n");
}

TEST(IniWrite, RefusesNamesItCouldNotReadBack)
{
    EXPECT_FALSE(setValue("", "", "k", "v"));
    EXPECT_FALSE(setValue("", "s", "", "v"));
    EXPECT_FALSE(setValue("", "s", "a=b", "v"));
    EXPECT_FALSE(setValue("", "s", ";k", "v"));
    EXPECT_FALSE(setValue("", "s", "[k", "v"));
    EXPECT_FALSE(setValue("", "s", std::string("k\0x", 3), "v"));
    EXPECT_FALSE(setValue("", "s\r\n[t]", "k", "v"));
    EXPECT_FALSE(setValue("", "s", "k\nx", "v"));
}

TEST(IniWrite, MissingDirectoryChangesNothing)
{
    qmxtest::OsTestDir dir;
    EXPECT_FALSE(writeValue(dir.path("no such dir/a.ini"), "s", "k", "v"));
    EXPECT_EQ(dir.entryCount(), 0u);
    EXPECT_FALSE(writeValue("Q:\\nowhere\\a.ini", "s", "k", "v"));
}

TEST(IniWrite, DirectoryInPlaceOfFileIsNotReplaced)
{
    qmxtest::OsTestDir dir;
    dir.mkdir("a.ini");
    EXPECT_FALSE(writeValue(dir.path("a.ini"), "s", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.fsPath("a.ini")));
}

#ifndef _WIN32
TEST(IniWrite, ReadOnlyFileOrDirectoryKeepsTheOldFile)
{
    qmxtest::OsTestDir dir;
    dir.write("a.ini", "[s]\r\nk=old\r\n");
    ::chmod(dir.path("a.ini").c_str(), 0444);
    EXPECT_FALSE(writeValue(dir.path("a.ini"), "s", "k", "new"));
    ::chmod(dir.path("a.ini").c_str(), 0644);
    if (::geteuid() != 0) { // root writes into any directory
        ::chmod(dir.path().c_str(), 0555);
        EXPECT_FALSE(writeValue(dir.path("a.ini"), "s", "k", "new"));
        ::chmod(dir.path().c_str(), 0755);
    }
    EXPECT_EQ(dir.read("a.ini"), "[s]\r\nk=old\r\n");
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(IniWrite, KeepsThePermissions)
{
    qmxtest::OsTestDir dir;
    dir.write("a.ini", "[s]\r\nk=old\r\n");
    ::chmod(dir.path("a.ini").c_str(), 0640);
    ASSERT_TRUE(writeValue(dir.path("a.ini"), "s", "k", "new"));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(dir.path("a.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(IniWrite, FifoInPlaceOfTheFileNeitherHangsNorIsReplaced)
{
    qmxtest::OsTestDir dir;
    ASSERT_EQ(::mkfifo(dir.path("a.ini").c_str(), 0644), 0);
    EXPECT_EQ(readValue(dir.path("a.ini"), "s", "k", "def"), "def");
    EXPECT_FALSE(writeValue(dir.path("a.ini"), "s", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.fsPath("a.ini")));
}

TEST(IniWrite, WritesThroughASymlink)
{
    qmxtest::OsTestDir dir;
    dir.write("real.ini", "[s]\r\nk=old\r\n");
    ASSERT_EQ(::symlink(dir.path("real.ini").c_str(), dir.path("link.ini").c_str()), 0);
    ASSERT_TRUE(writeValue(dir.path("link.ini"), "s", "k", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.fsPath("link.ini")));
    EXPECT_EQ(dir.read("real.ini"), "[s]\r\nk=new\r\n");
}
#endif

TEST(IniHostile, GarbageNeverCrashesAndWritesKeepIt)
{
    qmxtest::OsTestDir dir;
    std::mt19937 rng(12345);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(4096 + round * 997, '\0');
        for (auto& b : bytes)
            b = static_cast<char>(rng() & 0xFF);
        if (round % 2 == 0)
            bytes[0] = '[';
        dir.write("g.ini", bytes);
        (void)readValue(dir.path("g.ini"), "s", "k");
        if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0)
            continue;
        ASSERT_TRUE(writeValue(dir.path("g.ini"), "settings", "LastDir", "C:\\x"));
        EXPECT_EQ(readValue(dir.path("g.ini"), "settings", "LastDir"), "C:\\x");
        // The garbage itself is still all there, in front of what was added.
        EXPECT_EQ(dir.read("g.ini").compare(0, bytes.size(), bytes), 0);
    }
}

TEST(IniHostile, ThousandsOfSectionsAndBigFile)
{
    qmxtest::OsTestDir dir;
    std::string content;
    for (int i = 0; i < 5000; ++i)
        content += "[section" + std::to_string(i) + "]\r\nkey=" + std::to_string(i) + "\r\n";
    dir.write("many.ini", content);
    EXPECT_EQ(readValue(dir.path("many.ini"), "SECTION4999", "key"), "4999");
    ASSERT_TRUE(writeValue(dir.path("many.ini"), "section2500", "key", "x"));
    EXPECT_EQ(readValue(dir.path("many.ini"), "section2500", "key"), "x");
    EXPECT_EQ(readValue(dir.path("many.ini"), "section2501", "key"), "2501");

    std::string big(10u << 20, 'a'); // one 10 MiB line, then the section
    big += "\n[s]\nk=v\n";
    dir.write("big.ini", big);
    EXPECT_EQ(readValue(dir.path("big.ini"), "s", "k"), "v");
}
