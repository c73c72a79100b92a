#include "core/storage/IniFile.h"

#include "core/os/Os.h"
#include "support/OsTestDir.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <utility>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <csignal>
#include <sys/stat.h>
#include <sys/time.h>
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
    for (const char16_t u : text)
        out += bigEndian ? std::string{char(u >> 8), char(u)} : std::string{char(u), char(u >> 8)};
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

// One table for our reader and, under Wine, the Windows one; a write keeps every old byte in front of its line.
// (Arbitrary bytes: the fuzz targets.)
TEST(IniRead, LookupRulesAndHostileFiles)
{
    const struct
    {
        std::string content, section, key;
        std::optional<std::string> expected; // nothing: the key is not there
        bool sameInWine = true; // false where we differ from the Windows functions on purpose
    } cases[] = {
        {"[LANGUAGE]\r\npreset1=a|b\r\n", "Language", "Preset1", "a|b"}, // names in any case
        {"[ s ]\r\n k =   value with blanks  \t\r\n", " s ", "k ", "value with blanks"},
        {"[s]\r\nk=' \"abc' \r\n", "s", "k", " \"abc"}, // one pair of matching quotes goes
        {"[s]\r\na=1\r\n[S]\r\nb=2\r\n", "s", "b", std::nullopt}, // the first section of a name wins
        {"[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1"}, // and its first key of a name
        {"[s]\r\nk\r\nk=2\r\n", "s", "k", std::nullopt}, // a key without '=' has no value, and hides later ones
        {"[a]b]\r\nk=1\r\n", "a]b", "k", "1"}, // the section name goes up to the last bracket
        {"[s]\r\n;k=1\r\n", "s", ";k", std::nullopt, false}, // a comment is never a key
        {"[a]\r\nx=1\n[s]\rj=1\r\nk=a=b", "s", "k", "a=b"}, // CR, LF and CR LF end lines, and so does the end
        {"\x1a[s]\x0b\r\nk=\x1av\x0c\x1a\r\n", "s", "k", "v"}, // control characters trimmed
        {"[s]\nk=ab\0cd\n"s, "s", "k", "ab"},
        {"[s]\r\n\xe4=Gr\xf6\xdf \x80 \x93q\x94\r\n", "s", u8"\u00e4", u8"Gr\u00f6\u00df \u20ac \u201cq\u201d"},
        // At most 254 bytes of the file: letters are one byte each in an ANSI file; a UTF-8 letter is never
        // split (Windows counts letters there).
        {"[s]\r\nk=" + std::string(300, '\xe4'), "s", "k", qmx::os::fromAnsi(std::string(254, '\xe4'))},
        {"\xEF\xBB\xBF[s]\r\nk=" + qmx::os::fromAnsi(std::string(200, '\xe4')), "s", "k",
         qmx::os::fromAnsi(std::string(127, '\xe4')), false},
        {"[s\0junk]\r\nk\0junk=v\r\n"s, "s", "k", "v"}, // names are C strings to the Windows functions
        // One U+FFFD for each broken sequence, the longest start of a valid one (the Unicode standard's practice).
        {"\xEF\xBB\xBF[s]\r\nk=\377\xE4\xB8z\xF0\x9F\x98-\xF4\x8F\xBF\r\n", "s", "k", u8"\uFFFD\uFFFDz\uFFFD-\uFFFD"},
        // What Notepad saves as "Unicode", and its big-endian kin.
        {utf16File(u"[LANGUAGE]\r\nCredits=Zur\u00fcck \u20ac\xD800-\r\n"), "language", "credits",
         u8"Zur\u00fcck \u20ac\uFFFD-"}, // a lone surrogate
        {utf16File(u"[s]\rk\0j=\" v \"\r"s, true), "s", "k", " v "},
        {utf16File(u"[s]\nk=v").substr(2), "s", "k", std::nullopt}, // no byte order mark: not UTF-16
    };
    OsTestDir dir;
    const std::string file = dir.path("a.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content.substr(0, 60));
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
        bool sameInWine = true; // false: not for the Windows functions, which store or read it otherwise
    } cases[] = {
        {"replace in place", "; c\r\n[s]\r\n\r\nk=old\r\n\r\n[t]\r\nk=x\r\n", "s", "k", "new",
         "; c\r\n[s]\r\n\r\nk=new\r\n\r\n[t]\r\nk=x\r\n"},
        {"replace keeps the spacing of the line", "[s]\nk =  old  \n", "s", "K", "", "[s]\nk =    \n"},
        {"append after the last line that is not blank", "[s]\r\na=1\r\n\r\n[t]\r\n", "s", "k", "v",
         "[s]\r\na=1\r\nk=v\r\n\r\n[t]\r\n"},
        {"append into last section without final break", "[s]\r\na=1", "s", "k", "v", "[s]\r\na=1\r\nk=v"},
        {"new section at the end", "[s]\na=1\n", "presets", "preset3", "x|y", "[s]\na=1\n[presets]\npreset3=x|y\n"},
        {"CR-only file keeps CR", "[s]\ra=1\r", "s", "k", "v", "[s]\ra=1\rk=v\r"},
        {"UTF-8 file gets UTF-8, its BOM in front", "\xEF\xBB\xBF", "s", "k", u8"\u00e4\u65e5",
         "\xEF\xBB\xBF[s]\r\nk=\xC3\xA4\xE6\x97\xA5\r\n", nullptr, false},
        {"new ANSI file", "", "s", "k", u8"D:\\Gr\u00f6\u00df \u20ac", "[s]\r\nk=D:\\Gr\xf6\xdf \x80\r\n"},
        {"line breaks and outer blanks go", "", "s", "k", " a\r\nb\nc\rd  ", "[s]\r\nk=abcd\r\n", "abcd", false},
        {"UTF-16 LE", utf16File(u"; c\r\n[s]\r\nk=1\r\n\r\n[t]\r\n"), "s", "k", u8"\u20ac",
         utf16File(u"; c\r\n[s]\r\nk=\u20ac\r\n\r\n[t]\r\n")},
        {"UTF-16 BE, new section", utf16File(u"[s]\nk=1", true), "t", "k", "x|y",
         utf16File(u"[s]\nk=1\n[t]\nk=x|y\n", true)},
        {"UTF-16 letters beyond the code page", utf16File(u"[s]\r\n"), "s", "k", u8"\u65e5\U0001F600",
         utf16File(u"[s]\r\nk=\u65e5\U0001F600\r\n"), nullptr, false},
        // An odd last byte is no character: it stays where it is, the last byte (Windows reads it as one).
        {"UTF-16 odd last byte", utf16File(u"[s]\r\nk=old") + "A", "s", "k", "new", utf16File(u"[s]\r\nk=new") + "A",
         nullptr, false},
        {"UTF-8 keeps broken bytes elsewhere", "\xEF\xBB\xBF[s]\r\nj=\xFF\r\nk=1\r\n", "s", "k", "2",
         "\xEF\xBB\xBF[s]\r\nj=\xFF\r\nk=2\r\n", nullptr, false},
        {"a name up to its NUL is the key", "[s]\r\nk\0junk=old\r\n"s, "s", "k", "new", "[s]\r\nk\0junk=new\r\n"s},
        {"equals in the key", old, "s", "a=b", "v", std::nullopt},
        {"key that is a comment", old, "s", ";k", "v", std::nullopt},
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
        // The Windows functions read what we stored. (Our reader against theirs: the lookup table above.)
        EXPECT_TRUE(!c.sameInWine || windowsRead(file, c.section, c.key) == qmx::os::toAnsi(readBack));
#endif
    }
}

// Targets that are no ordinary writable file are refused. A link is the user's: a write goes to what it points
// to, and one that points nowhere or in a circle is refused. Either way every link and file stays as it was.
// (The copy of a compiled map replaces its target through the same code.)
TEST(IniWrite, RefusedTargetsAndLinks)
{
    const std::string old = "[s]\r\nk=old\r\n";
    const char* const files[] = {"real.ini", "sub/real.ini", "ro.ini"};
    using Links = std::vector<std::pair<const char*, const char*>>; // name, what it points to
    std::vector<std::tuple<const char*, Links, const char*>> cases = {
        // the target, the links, the file that then holds the new value (nullptr: refused)
        {"dir.ini", {}, nullptr},
        {"no such dir/a.ini", {}, nullptr},
        {"ro.ini", {}, nullptr},
    };
#ifndef _WIN32
    cases.insert(cases.end(),
                 {{"a.ini", {{"a.ini", "b.ini"}, {"b.ini", "real.ini"}}, "real.ini"},
                  {"a.ini", {{"a.ini", "sub/real.ini"}}, "sub/real.ini"}, // the temporary file goes there
                  {"a.ini", {{"a.ini", "nowhere.ini"}}, nullptr},
                  {"a.ini", {{"a.ini", "b.ini"}, {"b.ini", "a.ini"}}, nullptr}});
#endif
    for (const auto& [target, links, changed] : cases) {
        SCOPED_TRACE(links.empty() ? target : links.back().second);
        OsTestDir dir;
        dir.mkdir("dir.ini");
        dir.mkdir("sub");
        for (const char* file : files)
            dir.write(file, old);
        std::filesystem::permissions(dir.fsPath("ro.ini"), std::filesystem::perms::owner_read);
        for (const auto& [link, to] : links)
            std::filesystem::create_symlink(to, dir.fsPath(link));
        const long entries = dir.entryCount();
        EXPECT_EQ(writeValue(dir.path(target), "s", "k", "new"), changed != nullptr);
        for (const auto& [link, to] : links)
            EXPECT_EQ(std::filesystem::read_symlink(dir.fsPath(link)).string(), to);
        for (const char* file : files)
            EXPECT_EQ(dir.read(file), changed && std::string(changed) == file ? "[s]\r\nk=new\r\n" : old) << file;
        EXPECT_TRUE(std::filesystem::is_directory(dir.fsPath("dir.ini")));
        EXPECT_EQ(dir.entryCount(), entries) << "no file made, none left behind";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.fsPath("sub")), {}), 1);
    }
}

// A write cut short leaves its temporary file, which the next write of that target takes over. A target at the
// system's limit of a name's or a path's length gets a temporary name that fits too.
TEST(IniWrite, TemporaryFilesAndTheLimitsOfNames)
{
    OsTestDir dir;
    dir.write("settings.qmxII", "[settings]\r\nLastDir=C:\\old\r\n");
    dir.write("settings.qmxII.qmxtmp", "[settings]\r\nLastDir=half a wri");
    EXPECT_TRUE(writeValue(dir.path("settings.qmxII"), "settings", "LastDir", "C:\\new"));
    EXPECT_EQ(dir.read("settings.qmxII"), "[settings]\r\nLastDir=C:\\new\r\n");
    EXPECT_EQ(dir.entryCount(), 1);
#ifndef _WIN32
    const std::string longName(250, 'n'); // no room for the suffix
    EXPECT_TRUE(writeValue(dir.path(longName), "s", "k", "v"));
    EXPECT_EQ(readValue(dir.path(longName), "s", "k"), "v");
    EXPECT_EQ(dir.entryCount(), 2);
    ASSERT_EQ(::mkfifo(dir.path("fifo.ini").c_str(), 0644), 0);
    EXPECT_EQ(readValue(dir.path("fifo.ini"), "s", "k", "def"), "def"); // without hanging
    EXPECT_FALSE(writeValue(dir.path("fifo.ini"), "s", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.fsPath("fifo.ini")));
#endif
    // Folders of 100 letters, down to where no further one fits: the path limit lies within the last one's reach.
    const std::filesystem::path top = std::filesystem::u8path(dir.path());
    std::filesystem::path base = top, deepest = top;
    std::error_code error;
    while (std::filesystem::create_directory(deepest / std::string(100, 'd'), error))
        base = std::exchange(deepest, deepest / std::string(100, 'd'));
    std::size_t longest = 0; // the longest name a file there can have
    while (longest < 100 && std::ofstream(deepest / std::string(longest + 1, 'f')))
        std::filesystem::remove(deepest / std::string(++longest, 'f'));
    const std::size_t limit = deepest.u8string().size() + 1 + longest;
    for (const std::string& name : {"s"s, "settings.qmxII"s, std::string(60, 'n')}) {
        SCOPED_TRACE(name);
        const auto folder = base / std::string(limit - base.u8string().size() - 2 - name.size(), 'e');
        std::filesystem::create_directory(folder);
        ASSERT_EQ((folder / name).u8string().size(), limit);
        EXPECT_TRUE(writeValue((folder / name).u8string(), "s", "k", "v"));
        EXPECT_EQ(readValue((folder / name).u8string(), "s", "k"), "v");
        // Listed under a short name: a listing's own pattern would not fit behind the long one.
        std::filesystem::rename(folder, base / "listed");
        EXPECT_EQ(qmx::os::filesMatching((base / "listed").u8string(), "*").names, std::vector<std::string>{name});
        std::filesystem::remove(base / "listed" / name); // one by one: as a tree, its name stayed taken under Wine
        std::filesystem::remove(base / "listed");
    }
    // One by one: a whole tree's removal lists folders, which fails this deep on Windows.
    for (; deepest != top; deepest = deepest.parent_path())
        std::filesystem::remove(deepest);
}

// One of two writers of a file: stores 1 to count under its own key, each time finding its last value still
// there. Starts once the other writer's first value is in the file.
static int writeOwnKey(const std::string& file, const std::string& key, int count = 1000)
{
    const std::string other = key == "a" ? "b" : "a";
    writeValue(file, "settings", key, "0");
    int lost = !qmxtest::eventually([&] { return !readValue(file, "settings", other).empty(); });
    for (int n = 1; n <= count; ++n)
        lost += readValue(file, "settings", key) != std::to_string(n - 1)
            || !writeValue(file, "settings", key, std::to_string(n));
    std::printf("writer %s: %d of %d writes lost or failed\n", key.c_str(), lost, count);
    std::fflush(stdout);
    return lost == 0 ? 0 : 1;
}

#ifdef _WIN32
// The second process's side; does nothing when run on its own.
TEST(IniWriterChild, Run)
{
    if (qmx::os::getEnv("QMX_WRITER_FILE").empty())
        GTEST_SKIP() << "only run by WritersInTwoProcessesLoseNoKey";
    std::exit(writeOwnKey(qmx::os::getEnv("QMX_WRITER_FILE"), "b"));
}
#endif

// Two processes (two copies of qmxcompile, or it and the window) writing different keys of one file at the
// same time: neither loses the other's keys, and no temporary file is left.
TEST(IniWrite, WritersInTwoProcessesLoseNoKey)
{
    OsTestDir dir;
    const std::string file = dir.path("settings.qmxII");
    int childStatus = -1;
#ifdef _WIN32
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const qmxtest::ScopedEnv env("QMX_WRITER_FILE", file);
    const intptr_t child = _spawnl(_P_NOWAIT, exe, ("\"" + std::string(exe) + "\"").c_str(),
                                   "--gtest_filter=IniWriterChild.Run", nullptr);
    EXPECT_EQ(writeOwnKey(file, "a"), 0);
    _cwait(&childStatus, child, 0);
#else
    const pid_t child = ::fork(); // safe: test_os starts no threads
    if (child == 0)
        ::_exit(writeOwnKey(file, "b"));
    EXPECT_EQ(writeOwnKey(file, "a"), 0);
    ::waitpid(child, &childStatus, 0);
    childStatus = WIFEXITED(childStatus) ? WEXITSTATUS(childStatus) : -1;
#endif
    EXPECT_EQ(childStatus, 0);
    EXPECT_EQ(readValue(file, "settings", "a") + readValue(file, "settings", "b"), "10001000");
    EXPECT_EQ(dir.entryCount(), 1);
}

#ifndef _WIN32
// A writer killed at any moment never damages the file and leaves at most its one temporary file. The kill
// moments are random: the seed is printed, and QMX_SEED=N repeats a run. fork() is safe: test_os starts no
// threads.
TEST(IniWrite, KilledWriters)
{
    OsTestDir dir;
    const std::string file = dir.path("settings.qmxII");
    const std::string given = qmx::os::getEnv("QMX_SEED");
    const unsigned seed = given.empty() ? std::random_device{}() : static_cast<unsigned>(std::stoul(given));
    std::printf("kill moments' seed: QMX_SEED=%u\n", seed);
    std::mt19937 random(seed);
    ASSERT_TRUE(writeValue(file, "settings", "LastUsedSettings", "0"));
    const std::regex whole("\\[settings\\]\r\nLastUsedSettings=\\d+x*\r\n");
    for (int kill = 0; kill < 40; ++kill) {
        // The writer ends itself at the moment drawn, into its run: SIGALRM's own action ends a process as
        // abruptly as a kill, and the test waits for that end rather than for a time.
        const itimerval moment{{0, 0}, {0, std::uniform_int_distribution<suseconds_t>(1, 4000)(random)}};
        const pid_t pid = ::fork();
        if (pid == 0 && (std::signal(SIGALRM, SIG_DFL) == SIG_ERR || ::setitimer(ITIMER_REAL, &moment, nullptr) != 0))
            ::_exit(2);
        for (int n = 1; pid == 0; ++n)
            writeValue(file, "settings", "LastUsedSettings", std::to_string(n) + std::string(3000, 'x'));
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) << "kill " << kill;
        EXPECT_TRUE(std::regex_match(dir.read("settings.qmxII"), whole)) << "kill " << kill;
        EXPECT_LE(dir.entryCount(), 2) << "kill " << kill;
    }
    EXPECT_TRUE(writeValue(file, "settings", "LastUsedSettings", "done"));
    EXPECT_EQ(readValue(file, "settings", "LastUsedSettings"), "done");
    EXPECT_EQ(dir.entryCount(), 1);
}
#endif
