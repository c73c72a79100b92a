#include "core/storage/IniFile.h"

#include "core/os/Os.h"
#include "support/OsTestDir.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <utility>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace std::string_literals; // "..."s keeps the NULs of a literal
using qmx::ini::readValue;
using qmx::ini::writeValue;
using qmxtest::OsTestDir;

// A file as Notepad saves "Unicode": a byte order mark, then UTF-16 in the order given.
static std::string utf16File(std::u16string_view text, bool bigEndian = false)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t u : text) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

#ifdef _WIN32
// What the Windows profile functions read from the file, as ANSI bytes: the reference for our rules.
static std::string windowsRead(const std::string& file, const std::string& section, const std::string& key)
{
    char buf[255] = {};
    const DWORD n = GetPrivateProfileStringA(qmx::os::toAnsi(section).c_str(), qmx::os::toAnsi(key).c_str(),
                                             "<default>", buf, sizeof buf, qmx::os::toAnsi(file).c_str());
    return std::string(buf, n);
}
#endif

// One table for our reader and, under Wine, the Windows one. Whatever the file holds, a read never crashes
// and a write keeps every old byte in front of its line.
TEST(IniRead, LookupRulesAndHostileFiles)
{
    std::string random(1 << 16, '\0');
    std::generate(random.begin(), random.end(), std::mt19937(12345));
    std::string many;
    for (int i = 0; i < 5000; ++i)
        many += "[section" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
    const struct
    {
        const char* name;
        std::string content, section, key;
        std::optional<std::string> expected; // nothing: the key is not there
        bool sameInWine = true; // false where we differ from the Windows functions on purpose
    } cases[] = {
        {"plain", "[settings]\r\nSDKDir=C:\\sdk\\bin\r\n", "settings", "SDKDir", "C:\\sdk\\bin"},
        {"names in any case", "[LANGUAGE]\r\npreset1=a|b\r\n", "Language", "Preset1", "a|b"},
        {"empty value is found", "[s]\r\nk=\r\n", "s", "k", ""},
        {"missing key", "[s]\r\nother=1\r\n", "s", "k", std::nullopt},
        {"blanks trimmed", "[ s ]\r\n k =   value with blanks  \t\r\n", " s ", "k ", "value with blanks"},
        {"double quotes keep inner blanks", "[s]\r\nk=\" is already running.\"\r\n", "s", "k", " is already running."},
        {"single or mismatched quotes", "[s]\r\nk=' \"abc' \r\n", "s", "k", " \"abc"},
        {"first section of a name wins", "[s]\r\na=1\r\n[S]\r\nb=2\r\n", "s", "b", std::nullopt},
        {"first key of a name wins", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1"},
        // A line without '=' is a key without a value: it reads as the default and hides later lines of that key.
        {"line without equals has no value", "[s]\r\nk\r\nk=2\r\n", "s", "k", std::nullopt},
        {"section name up to last bracket", "[a]b]\r\nk=1\r\n", "a]b", "k", "1"},
        {"bracket line without end is a key", "[s\r\nk=1\r\n", "s", "k", std::nullopt},
        {"comment is never a key", "[s]\r\n;k=1\r\n", "s", ";k", std::nullopt, false},
        {"comment line", "[s]\r\n;k=1\r\n", "s", "k", std::nullopt},
        {"CR, LF and CR LF end lines; text after the first equals", "[a]\r\nx=1\n[s]\rj=a=b\rk=v\r\n", "s", "j", "a=b"},
        {"no final line break", "[s]\r\nk=v", "s", "k", "v"},
        {"control characters trimmed", "\x1a[s]\x0b\r\nk=\x1av\x0c\x1a\r\n", "s", "k", "v"},
        {"NUL ends the value", "[s]\nk=ab\0cd\n"s, "s", "k", "ab"},
        {"ANSI code page", "[s]\r\nk=Gr\xf6\xdf \x80 \x93q\x94\r\n", "s", "k", u8"Gr\u00f6\u00df \u20ac \u201cq\u201d"},
        {"ANSI key name", "[s]\r\n\xe4=umlaut key\r\n", "s", u8"\u00e4", "umlaut key"},
        {"UTF-8 with byte order mark", "\xEF\xBB\xBF[language]\r\nk=gr\xC3\xBC\xC3\x9F\r\n", "Language", "k",
         u8"gr\u00fc\u00df"},
        {"cut to 254 bytes", "[s]\r\nk=" + std::string(300, 'x'), "s", "k", std::string(254, 'x')},
        // Letters are one byte each in an ANSI file; a UTF-8 letter is never split.
        {"cut ANSI letters", "[s]\r\nk=" + std::string(300, '\xe4'), "s", "k",
         qmx::os::fromAnsi(std::string(254, '\xe4'))},
        {"cut UTF-8 letters", "\xEF\xBB\xBF[s]\r\nk=" + qmx::os::fromAnsi(std::string(200, '\xe4')), "s", "k",
         qmx::os::fromAnsi(std::string(127, '\xe4')), false}, // Windows counts letters here
        {"random bytes", random, "s", "k", std::nullopt},
        // Names are C strings to the Windows functions: a NUL ends them.
        {"NUL ends a key name", "[s]\r\nk\0junk=v\r\n"s, "s", "k", "v"},
        {"NUL ends a section name", "[s\0junk]\r\nk=v\r\n"s, "s", "k", "v"},
        {"equals sign after a NUL", "[s]\r\nk\0a=b=v\r\n"s, "s", "k", "b=v"},
        {"blank before a NUL stays in the name", "[s]\r\nk \0x=v\r\n"s, "s", "k", std::nullopt},
        {"name starting with NUL is empty", "[s]\r\n\0k=v\r\n"s, "s", "k", std::nullopt},
        {"huge line", std::string(10u << 20, 'a') + "\n[s]\nk=v\n", "s", "k", "v"},
        {"many sections", many, "SECTION4999", "k", "4999"},
        {"UTF-8 with broken bytes", "\xEF\xBB\xBF[s]\r\nk=a\377b\303(\r\n", "s", "k", u8"a\uFFFDb\uFFFD("},
        // One U+FFFD for each broken sequence, the longest start of a valid one (the Unicode standard's practice).
        {"UTF-8 cut sequences", "\xEF\xBB\xBF[s]\r\nk=\xE4\xB8z\xF0\x9F\x98-\xF4\x8F\xBF\r\n", "s", "k",
         u8"\uFFFDz\uFFFD-\uFFFD"},
        // Wine takes the second byte of an overlong form or a surrogate along; the standard's practice does not.
        {"UTF-8 overlong and surrogate", "\xEF\xBB\xBF[s]\r\nk=\xE0\x80\xAF.\xED\xA0\x80\r\n", "s", "k",
         u8"\uFFFD\uFFFD\uFFFD.\uFFFD\uFFFD\uFFFD", false},
        // What Notepad saves as "Unicode", and its big-endian kin.
        {"UTF-16 LE", utf16File(u"[s]\r\nk=v\r\n"), "s", "k", "v"},
        {"UTF-16 letters", utf16File(u"[LANGUAGE]\r\nCredits=Zur\u00fcck \u20ac\r\n"), "language", "credits",
         u8"Zur\u00fcck \u20ac"},
        {"UTF-16 BE quotes and CR", utf16File(u"[s]\rk=\" v \"\r", true), "s", "k", " v "},
        {"UTF-16 lone surrogate", utf16File(u"[s]\r\nk=a\xD800-"), "s", "k", u8"a\uFFFD-"},
        {"UTF-16 NUL ends the value", utf16File(u"[s]\nk=a\0b"s), "s", "k", "a"},
        {"UTF-16 NUL ends a key name", utf16File(u"[s]\nk\0j=v"s), "s", "k", "v"},
        {"UTF-16 without a byte order mark", utf16File(u"[s]\nk=v").substr(2), "s", "k", std::nullopt},
        {"byte order mark alone", "\xFF\xFE", "s", "k", std::nullopt},
    };
    OsTestDir dir;
    const std::string file = dir.path("a.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("a.ini", c.content);
        const std::string ours = readValue(file, c.section, c.key, "<default>");
        EXPECT_EQ(ours, c.expected.value_or("<default>"));
#ifdef _WIN32
        const std::string windows = windowsRead(file, c.section, c.key);
        EXPECT_EQ(qmx::os::toAnsi(ours) == windows, c.sameInWine) << "Windows reads " << windows;
#endif
        EXPECT_TRUE(writeValue(file, "added", "LastDir", "C:\\x"));
        EXPECT_EQ(dir.read("a.ini").substr(0, c.content.size()), c.content);
        EXPECT_EQ(readValue(file, "added", "LastDir"), "C:\\x");
    }
    EXPECT_EQ(readValue(dir.path("missing dir/none.ini"), "s", "k", "def"), "def");
    EXPECT_EQ(dir.entryCount(), 1) << "a read creates nothing";
}

// Every byte outside the one changed line survives: comments, blank lines, line-end style. A write the
// reader could not find again is refused and leaves the file as it was.
TEST(IniWrite, ChangesOnlyItsLine)
{
    const std::string old = "[s]\r\nk=old\r\n";
    const struct
    {
        const char* name;
        std::string before; // "": no file yet
        std::string section, key, value;
        std::optional<std::string> after; // nothing: refused
        const char* readBack = nullptr; // nullptr: the value itself
        bool sameInWine = true; // false: the Windows writer stores something else on purpose
    } cases[] = {
        {"new file", "", "settings", "LastDir", "C:\\maps", "[settings]\r\nLastDir=C:\\maps\r\n"},
        {"replace in place", "; mine\r\n[s]\r\n\r\na=1\r\nk=old\r\n\r\n[t]\r\nk=x\r\n", "s", "k", "new",
         "; mine\r\n[s]\r\n\r\na=1\r\nk=new\r\n\r\n[t]\r\nk=x\r\n"},
        {"replace keeps the spacing of the line", "[s]\nk =  old  \n", "s", "K", "", "[s]\nk =    \n"},
        {"append after last non-blank line of section", "[s]\r\na=1\r\n\r\n\r\n[t]\r\nb=2\r\n", "s", "k", "v",
         "[s]\r\na=1\r\nk=v\r\n\r\n\r\n[t]\r\nb=2\r\n"},
        {"append into last section without final break", "[s]\r\na=1", "s", "k", "v", "[s]\r\na=1\r\nk=v"},
        {"new section at the end", "[s]\na=1\n", "presets", "preset3", "x|y", "[s]\na=1\n[presets]\npreset3=x|y\n"},
        {"CR-only file keeps CR", "[s]\ra=1\r", "s", "k", "v", "[s]\ra=1\rk=v\r"},
        {"BOM stays in front", "\xEF\xBB\xBF", "s", "k", "v", "\xEF\xBB\xBF[s]\r\nk=v\r\n"},
        {"UTF-8 file gets UTF-8", "\xEF\xBB\xBF[s]\r\nk=1\r\n", "s", "k", u8"\u00e4\u65e5",
         "\xEF\xBB\xBF[s]\r\nk=\xC3\xA4\xE6\x97\xA5\r\n", nullptr, false},
        {"ANSI file gets ANSI", "", "s", "k", u8"D:\\Gr\u00f6\u00df \u20ac", "[s]\r\nk=D:\\Gr\xf6\xdf \x80\r\n"},
        {"letters without ANSI form", "", "s", "k", u8"\u65e5\u672c", "[s]\r\nk=??\r\n", "??", false},
        {"line breaks dropped", "", "s", "k", "a\r\nb\nc\rd", "[s]\r\nk=abcd\r\n", "abcd", false},
        {"blanks at the ends dropped", "", "s", "k", "  padded  ", "[s]\r\nk=padded\r\n", "padded"},
        {"UTF-16 LE stays UTF-16 LE", utf16File(u"; c\r\n[s]\r\nk=old\r\n\r\n[t]\r\n"), "s", "k", u8"new \u20ac",
         utf16File(u"; c\r\n[s]\r\nk=new \u20ac\r\n\r\n[t]\r\n")},
        {"UTF-16 BE gets a new section", utf16File(u"[s]\nk=1", true), "presets", "preset3", "x|y",
         utf16File(u"[s]\nk=1\n[presets]\npreset3=x|y\n", true)},
        {"UTF-16 letters beyond the code page", utf16File(u"[s]\r\n"), "s", "k", u8"\u65e5\U0001F600",
         utf16File(u"[s]\r\nk=\u65e5\U0001F600\r\n"), nullptr, false},
        // An odd last byte is no character: it stays where it is, the last byte (Windows reads it as one).
        {"UTF-16 odd last byte", utf16File(u"[s]\r\nk=old") + "A", "s", "k", "new", utf16File(u"[s]\r\nk=new") + "A",
         nullptr, false},
        {"UTF-8 keeps broken bytes elsewhere", "\xEF\xBB\xBF[s]\r\nj=\xFF\r\nk=1\r\n", "s", "k", "2",
         "\xEF\xBB\xBF[s]\r\nj=\xFF\r\nk=2\r\n", nullptr, false}, // Windows rewrites them as U+FFFD
        {"a name up to its NUL is the key", "[s]\r\nk\0junk=old\r\n"s, "s", "k", "new", "[s]\r\nk\0junk=new\r\n"s},
        {"no section name", old, "", "k", "v", std::nullopt},
        {"no key name", old, "s", "", "v", std::nullopt},
        {"equals in the key", old, "s", "a=b", "v", std::nullopt},
        {"key that is a comment", old, "s", ";k", "v", std::nullopt},
        {"key that opens a section", old, "s", "[k", "v", std::nullopt},
        {"NUL in the key", old, "s", "k\0x"s, "v", std::nullopt},
        {"line break in the key", old, "s", "k\nx", "v", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OsTestDir dir;
        const std::string file = dir.path("ours.ini");
        if (!c.before.empty())
            dir.write("ours.ini", c.before);
        EXPECT_EQ(writeValue(file, c.section, c.key, c.value), c.after.has_value());
        EXPECT_EQ(dir.read("ours.ini"), c.after.value_or(c.before));
        EXPECT_EQ(dir.entryCount(), 1) << "no temporary file may be left behind";
        if (!c.after)
            continue;
        const std::string readBack = c.readBack ? c.readBack : c.value;
        EXPECT_EQ(readValue(file, c.section, c.key), readBack);
#ifdef _WIN32
        // Each side reads what the other side's writer stored (the bytes differ: it drops blank lines).
        if (!c.sameInWine)
            continue;
        const std::string theirs = dir.path("theirs.ini");
        if (!c.before.empty())
            dir.write("theirs.ini", c.before);
        EXPECT_TRUE(WritePrivateProfileStringA(c.section.c_str(), c.key.c_str(), qmx::os::toAnsi(c.value).c_str(),
                                               qmx::os::toAnsi(theirs).c_str()));
        EXPECT_EQ(windowsRead(file, c.section, c.key), qmx::os::toAnsi(readBack));
        EXPECT_EQ(readValue(theirs, c.section, c.key, "<default>"), readBack);
#endif
    }
}

// Targets that are no ordinary writable file are refused and stay as they were. A write cut short leaves its
// temporary file, which the next write of that target takes over.
TEST(IniWrite, RefusedTargetsAndLeftovers)
{
    OsTestDir dir;
    dir.mkdir("dir.ini");
    dir.write("ro.ini", "[s]\r\nk=old\r\n");
    std::filesystem::permissions(dir.fsPath("ro.ini"), std::filesystem::perms::owner_read);
    for (const char* target : {"dir.ini", "no such dir/a.ini", "ro.ini"})
        EXPECT_FALSE(writeValue(dir.path(target), "s", "k", "new")) << target;
    EXPECT_TRUE(std::filesystem::is_directory(dir.fsPath("dir.ini")));
    EXPECT_EQ(dir.read("ro.ini"), "[s]\r\nk=old\r\n");
    dir.write("settings.qmxII", "[settings]\r\nLastDir=C:\\old\r\n");
    dir.write("settings.qmxII.qmxtmp", "[settings]\r\nLastDir=half a wri");
    EXPECT_TRUE(writeValue(dir.path("settings.qmxII"), "settings", "LastDir", "C:\\new"));
    EXPECT_EQ(dir.read("settings.qmxII"), "[settings]\r\nLastDir=C:\\new\r\n");
    EXPECT_EQ(dir.entryCount(), 3);
#ifndef _WIN32
    // A name with no room for the suffix gets a short temporary name, which goes as well.
    const std::string longName(250, 'n');
    EXPECT_TRUE(writeValue(dir.path(longName), "s", "k", "v"));
    EXPECT_EQ(readValue(dir.path(longName), "s", "k"), "v");
    EXPECT_EQ(dir.entryCount(), 4);
    ASSERT_EQ(::mkfifo(dir.path("fifo.ini").c_str(), 0644), 0);
    EXPECT_EQ(readValue(dir.path("fifo.ini"), "s", "k", "def"), "def"); // without hanging
    EXPECT_FALSE(writeValue(dir.path("fifo.ini"), "s", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.fsPath("fifo.ini")));
#endif
}

// A target right at the longest path the system takes gets a temporary file that it takes too, whatever
// the length of the target's name.
TEST(IniWrite, TargetAtThePathLimit)
{
    OsTestDir dir;
    // Folders of 100 letters, down to where no further one fits: the limit lies within the last one's reach.
    const std::string hundred(100, 'd');
    std::filesystem::path base = dir.fsPath(), deepest = base;
    std::error_code error;
    int levels = 0;
    for (; std::filesystem::create_directory(deepest / hundred, error); ++levels)
        base = std::exchange(deepest, deepest / hundred);
    std::size_t longest = 0; // the longest name a file there can have
    while (longest < 100 && std::ofstream(deepest / std::string(longest + 1, 'f')))
        std::filesystem::remove(deepest / std::string(++longest, 'f'));
    const std::size_t limit = deepest.u8string().size() + 1 + longest;
    for (const std::string& name : {std::string("s"), std::string("settings.qmxII"), std::string(60, 'n')}) {
        SCOPED_TRACE(name);
        // A folder beside the deepest one, so long that the target is right at the limit.
        const std::filesystem::path folder = base / std::string(limit - base.u8string().size() - 2 - name.size(), 'e');
        std::filesystem::create_directory(folder);
        const std::string target = (folder / name).u8string();
        ASSERT_EQ(target.size(), limit);
        EXPECT_TRUE(writeValue(target, "s", "k", "v"));
        EXPECT_EQ(readValue(target, "s", "k"), "v");
        // Listed under a short name: a listing's own pattern would not fit behind the long one.
        const std::filesystem::path listed = base / "listed";
        std::filesystem::rename(folder, listed);
        EXPECT_EQ(qmx::os::filesMatching(listed.u8string(), "*").names, std::vector<std::string>{name});
        std::filesystem::remove(listed / name);
        std::filesystem::remove(listed);
    }
    // One by one: a whole tree's removal lists folders, which fails this deep on Windows.
    for (; levels > 0; --levels, deepest = deepest.parent_path())
        std::filesystem::remove(deepest);
}

namespace {

// One writer of WritersInTwoProcessesLoseNoKey: stores 1 to count under its own key, each time finding the
// last one still there, and says what it found. Starts once the other writer's first key is in the file.
int writeOwnKey(const std::string& file, const std::string& key, const std::string& other, int count)
{
    writeValue(file, "settings", key, "0");
    while (readValue(file, "settings", other).empty())
        std::this_thread::yield();
    int failed = 0, lost = 0;
    for (int n = 1; n <= count; ++n) {
        lost += readValue(file, "settings", key) != std::to_string(n - 1);
        failed += !writeValue(file, "settings", key, std::to_string(n));
    }
    std::printf("writer %s: %d writes, %d failed, %d found lost\n", key.c_str(), count, failed, lost);
    std::fflush(stdout);
    return failed + lost == 0 ? 0 : 1;
}

} // namespace

#ifdef _WIN32
// The second process's side; does nothing when run on its own.
TEST(IniWriterChild, Run)
{
    const std::string file = qmx::os::getEnv("QMX_WRITER_FILE");
    if (file.empty())
        GTEST_SKIP() << "only run by WritersInTwoProcessesLoseNoKey";
    std::exit(writeOwnKey(file, qmx::os::getEnv("QMX_WRITER_KEY"), qmx::os::getEnv("QMX_WRITER_OTHER"),
                          std::stoi(qmx::os::getEnv("QMX_WRITER_COUNT"))));
}
#endif

// Two processes (two copies of qmxcompile, or it and the window) writing different keys of one file at the
// same time: neither loses the other's keys, and no temporary file is left.
TEST(IniWrite, WritersInTwoProcessesLoseNoKey)
{
    OsTestDir dir;
    const std::string file = dir.path("settings.qmxII");
    const int count = 1000;
    std::vector<int> exitCodes;
#ifdef _WIN32
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::vector<intptr_t> children;
    for (const char* key : {"a", "b"}) {
        qmxtest::ScopedEnv env({"QMX_WRITER_FILE", "QMX_WRITER_KEY", "QMX_WRITER_OTHER", "QMX_WRITER_COUNT"});
        env.set("QMX_WRITER_FILE", file);
        env.set("QMX_WRITER_KEY", key);
        env.set("QMX_WRITER_OTHER", key[0] == 'a' ? "b" : "a");
        env.set("QMX_WRITER_COUNT", std::to_string(count));
        children.push_back(_spawnl(_P_NOWAIT, exe, ("\"" + std::string(exe) + "\"").c_str(),
                                   "--gtest_filter=IniWriterChild.Run", nullptr));
    }
    for (const intptr_t child : children) {
        int code = -1;
        _cwait(&code, child, 0);
        exitCodes.push_back(code);
    }
#else
    // fork() is safe here: test_os starts no threads.
    std::vector<pid_t> children;
    for (const char* key : {"a", "b"}) {
        const pid_t pid = ::fork();
        if (pid == 0)
            ::_exit(writeOwnKey(file, key, key[0] == 'a' ? "b" : "a", count));
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = -1;
        ::waitpid(pid, &status, 0);
        exitCodes.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }
#endif
    EXPECT_EQ(exitCodes, std::vector<int>(2, 0));
    EXPECT_EQ(readValue(file, "settings", "a"), std::to_string(count));
    EXPECT_EQ(readValue(file, "settings", "b"), std::to_string(count));
    EXPECT_EQ(dir.entryCount(), 1);
}

#ifndef _WIN32
// A writer killed at any moment never damages the file and leaves at most its one temporary file. (A
// thousand kills by hand: still at most one.) fork() is safe here: test_os starts no threads.
TEST(IniWrite, KilledWriters)
{
    OsTestDir dir;
    const std::string file = dir.path("settings.qmxII");
    // A process that writes the value again and again.
    const auto startWriter = [&] {
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (int n = 1;; ++n)
                writeValue(file, "settings", "LastUsedSettings", std::to_string(n) + std::string(3000, 'x'));
        }
        return pid;
    };
    // What a complete write leaves; anything else is a damaged file.
    const auto whole = [&] {
        const std::string content = dir.read("settings.qmxII"), head = "[settings]\r\nLastUsedSettings=";
        return content.rfind(head, 0) == 0 && content.size() > head.size() + 2
            && content.find_first_of("\r\n", head.size()) == content.size() - 2
            && content.compare(content.size() - 2, 2, "\r\n") == 0;
    };
    // The kill moments: QMX_SEED repeats a run.
    const std::string given = qmx::os::getEnv("QMX_SEED");
    const unsigned seed = given.empty() ? std::random_device{}() : static_cast<unsigned>(std::stoul(given));
    std::printf("kill moments' seed: %u (QMX_SEED)\n", seed);
    std::mt19937 random(seed);
    ASSERT_TRUE(writeValue(file, "settings", "LastUsedSettings", "0"));
    for (int kill = 0; kill < 40; ++kill) {
        SCOPED_TRACE(kill);
        const pid_t pid = startWriter();
        ::usleep(static_cast<useconds_t>(std::uniform_int_distribution<int>(0, 4000)(random)));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        EXPECT_TRUE(whole());
        EXPECT_LE(dir.entryCount(), 2);
    }
    EXPECT_TRUE(writeValue(file, "settings", "LastUsedSettings", "done"));
    EXPECT_EQ(readValue(file, "settings", "LastUsedSettings"), "done");
    EXPECT_EQ(dir.entryCount(), 1);
}

// A link is the user's: a write goes to what it points to, and a link that points nowhere or in a circle
// is refused. Either way the link stays as it was. A copy into a link fills what it points to as well.
TEST(IniWrite, LinksStayTheUsers)
{
    const std::string old = "[s]\r\nk=old\r\n";
    const char* const files[] = {"real.ini", "sub/real.ini", "ro.ini"};
    const struct
    {
        const char* name;
        std::vector<std::pair<const char*, const char*>> links; // name, what it points to
        const char* changedFile; // the file that then holds the new value; nullptr: the write is refused
    } cases[] = {
        {"link to a file", {{"a.ini", "real.ini"}}, "real.ini"},
        {"chain of links", {{"a.ini", "b.ini"}, {"b.ini", "real.ini"}}, "real.ini"},
        {"link into another folder", {{"a.ini", "sub/real.ini"}}, "sub/real.ini"},
        {"link that points nowhere", {{"a.ini", "nowhere.ini"}}, nullptr},
        {"link to itself", {{"a.ini", "a.ini"}}, nullptr},
        {"two links in a circle", {{"a.ini", "b.ini"}, {"b.ini", "a.ini"}}, nullptr},
        {"link to a folder", {{"a.ini", "sub"}}, nullptr},
        {"link to a read-only file", {{"a.ini", "ro.ini"}}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OsTestDir dir;
        dir.mkdir("sub");
        for (const char* file : files)
            dir.write(file, old);
        ::chmod(dir.path("ro.ini").c_str(), 0444);
        for (const auto& [link, to] : c.links)
            std::filesystem::create_symlink(to, dir.fsPath(link));
        const long entries = dir.entryCount();
        EXPECT_EQ(writeValue(dir.path("a.ini"), "s", "k", "new"), c.changedFile != nullptr);
        for (const auto& [link, to] : c.links)
            EXPECT_EQ(std::filesystem::read_symlink(dir.fsPath(link)).string(), to);
        for (const char* file : files)
            EXPECT_EQ(dir.read(file), c.changedFile && std::string(c.changedFile) == file ? "[s]\r\nk=new\r\n" : old);
        EXPECT_EQ(dir.entryCount(), entries) << "no file made, none left behind";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.fsPath("sub")), {}), 1);
    }
    OsTestDir dir;
    dir.write("map.bsp", "compiled");
    dir.write("real.bsp", "old");
    std::filesystem::create_symlink("real.bsp", dir.fsPath("link.bsp"));
    EXPECT_TRUE(qmx::os::copyFile(dir.path("map.bsp"), dir.path("link.bsp")));
    EXPECT_EQ(dir.read("real.bsp"), "compiled");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.fsPath("link.bsp")));
}
#endif
