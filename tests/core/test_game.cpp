// The game on the compiled map without a window: the template filled in, the settings kept exactly,
// the checks in their order, and a real start of the stand-in game in its own directory.

#include "core/game/GameRun.h"
#include "core/game/GameSettings.h"
#include "core/game/GameTemplate.h"
#include "core/os/Os.h"
#include "os/OsTestDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <shellapi.h>
#include <windows.h>
#endif

using namespace qmx::game;

namespace {

// Windows form, as the program keeps every path.
std::string win(const std::string& host)
{
    return qmx::os::toWindowsPath(host);
}

#ifdef _WIN32
// How the game itself will split the line: the Windows argument rules.
std::vector<std::string> windowsArguments(const std::string& commandLine)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, commandLine.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, commandLine.c_str(), -1, wide.data(), n);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(wide.c_str(), &argc);
    std::vector<std::string> args;
    for (int i = 1; argv && i < argc; ++i) {
        const int m = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(static_cast<std::size_t>(m), '\0');
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, arg.data(), m, nullptr, nullptr);
        arg.resize(arg.size() - 1);
        args.push_back(arg);
    }
    LocalFree(argv);
    return args;
}

#endif

// Sets an environment variable (UTF-8) for one test; the started game inherits it.
struct ScopedEnv
{
    ScopedEnv(const char* name, const std::string& value)
        : m_name(name)
    {
#ifdef _WIN32
        const int n = MultiByteToWideChar(CP_UTF8, 0, value.c_str(), -1, nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(n), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, value.c_str(), -1, wide.data(), n);
        SetEnvironmentVariableW(std::wstring(name, name + std::strlen(name)).c_str(), wide.c_str());
#else
        ::setenv(name, value.c_str(), 1);
#endif
    }
    ~ScopedEnv()
    {
#ifdef _WIN32
        SetEnvironmentVariableA(m_name, nullptr);
#else
        ::unsetenv(m_name);
#endif
    }
    const char* m_name;
};

} // namespace

TEST(GameTemplate, EveryValueStaysOneArgument)
{
    const Placeholders plain{"castle", "C:\\games\\mod\\maps\\castle.bsp", "C:\\games\\mod\\maps"};
    const Placeholders spaced{"my castle", u8"Z:\\home\\me\\Spiele f\u00fcr mich\\maps\\my castle.bsp",
                              u8"Z:\\home\\me\\Spiele f\u00fcr mich\\maps"};
    const struct Case
    {
        const char* name;
        const char* parameters;
        Placeholders values;
        std::string filled;
        std::vector<std::string> arguments; // as the game's Windows argument rules give them
    } cases[] = {
        {"the default",
         "-novid -dev +map $map",
         plain,
         "-novid -dev +map castle",
         {"-novid", "-dev", "+map", "castle"}},
        {"values with blanks and non-ASCII letters are quoted",
         "+map $map -bsp $bsp -dir $gamedir",
         spaced,
         u8"+map \"my castle\" -bsp \"Z:\\home\\me\\Spiele f\u00fcr mich\\maps\\my castle.bsp\" -dir "
         u8"\"Z:\\home\\me\\Spiele f\u00fcr mich\\maps\"",
         {"+map", "my castle", "-bsp", spaced.bsp, "-dir", spaced.gameDir}},
        {"a non-ASCII letter alone needs no quotes",
         "-dir $gamedir",
         {"a", "", u8"C:\\Spiele\\gr\u00f6\u00dfe"},
         u8"-dir C:\\Spiele\\gr\u00f6\u00dfe",
         {"-dir", u8"C:\\Spiele\\gr\u00f6\u00dfe"}},
        {"the template's own quotes are not doubled",
         "+map \"$map\" -dir \"$gamedir\\sub dir\"",
         spaced,
         u8"+map \"my castle\" -dir \"Z:\\home\\me\\Spiele f\u00fcr mich\\maps\\sub dir\"",
         {"+map", "my castle", "-dir", spaced.gameDir + "\\sub dir"}},
        {"a root before a closing quote keeps its backslash",
         "-dir \"$gamedir\" -x",
         {"a", "", "C:\\"},
         "-dir \"C:\\\\\" -x",
         {"-dir", "C:\\", "-x"}},
        {"a quoted value ending in a backslash",
         "-dir $gamedir -x",
         {"a", "", "C:\\my dir\\"},
         "-dir \"C:\\my dir\\\\\" -x",
         {"-dir", "C:\\my dir\\", "-x"}},
        {"an empty value is still an argument", "-dir $gamedir -x", {"a", "", ""}, "-dir \"\" -x", {"-dir", "", "-x"}},
        {"quotes inside a value are dropped", "+map $map", {"a\"b c", "", ""}, "+map \"ab c\"", {"+map", "ab c"}},
        {"only whole lower-case names are placeholders",
         "$mapname $map_x $Map $$map $map.bsp $ $gamedirs",
         plain,
         "$mapname $map_x $Map $castle castle.bsp $ $gamedirs",
         {"$mapname", "$map_x", "$Map", "$castle", "castle.bsp", "$", "$gamedirs"}},
        {"glued to a switch, still one argument",
         "-bsp:$bsp",
         spaced,
         u8"-bsp:\"Z:\\home\\me\\Spiele f\u00fcr mich\\maps\\my castle.bsp\"",
         {"-bsp:" + spaced.bsp}},
        {"an empty template", "", plain, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string filled = fillTemplate(c.parameters, c.values);
        EXPECT_EQ(filled, c.filled);
        const std::string line = gameCommandLine(u8"C:\\Program Files\\G\u00e4me\\hl2.exe", filled);
        EXPECT_EQ(line, u8"\"C:\\Program Files\\G\u00e4me\\hl2.exe\"" + (filled.empty() ? "" : " " + filled));
#ifdef _WIN32
        EXPECT_EQ(windowsArguments(line), c.arguments);
#endif
    }
}

class GameTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_dir.mkdir("prog dir");
        m_dir.mkdir(u8"game f\u00fcr/bin");
        m_dir.mkdir(u8"game f\u00fcr/maps");
        qmx::os::overrideProgramDirectory(m_dir.path("prog dir"));
    }
    void TearDown() override { qmx::os::overrideProgramDirectory({}); }

    std::string settingsText() const { return m_dir.read("prog dir/settings.qmxII"); }

    qmxtest::OsTestDir m_dir{u8"qmx g\u00e4me "};
};

// What the settings file holds, however it got there, comes back exactly; a missing key gives the default.
TEST_F(GameTest, SettingsAreWrittenAndReadBackExactly)
{
    const std::string exe = win(m_dir.path(u8"game f\u00fcr/bin/hl 2.exe"));
    const struct Case
    {
        const char* name;
        const char* fileText; // nullptr: written through writeGameCommand and writeRunMap instead
        std::string parameters; // written, and expected back
        bool runMap;
    } cases[] = {
        {"an empty file: the default template", "", "-novid -dev +map $map", false},
        {"an empty template is kept, unlike a missing one", nullptr, "", false},
        {"blanks at the ends and quotes of its own", nullptr, "  -dev +map \"$map\" ", true},
        {"a template that is one quoted argument", nullptr, "\"$bsp\"", true},
        {"typed by hand without quotes", "[settings]\r\nGameParameters=  -x $map\r\nRunMap=1\r\n", "-x $map", true},
        {"typed by hand, empty", "[settings]\r\nGameParameters=\r\nRunMap=yes\r\n", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(m_dir.fsPath("prog dir/settings.qmxII"));
        if (c.fileText) {
            m_dir.write("prog dir/settings.qmxII", c.fileText);
        } else {
            ASSERT_TRUE(writeGameCommand(exe, c.parameters));
            ASSERT_TRUE(writeRunMap(c.runMap));
            EXPECT_NE(settingsText().find("RunMap=" + std::string(c.runMap ? "1" : "0") + "\r\n"), std::string::npos);
        }
        const GameSettings read = readGameSettings();
        EXPECT_EQ(read.executable, c.fileText ? "" : exe);
        EXPECT_EQ(read.parameters, c.parameters);
        EXPECT_EQ(read.runMap, c.runMap);
    }
}

TEST_F(GameTest, EveryRefusalInTheOrderOfTheChecks)
{
    const std::string exe = win(m_dir.path(u8"game f\u00fcr/bin/hl 2.exe"));
    const std::string maps = win(m_dir.path(u8"game f\u00fcr/maps"));
    m_dir.write(u8"game f\u00fcr/bin/hl 2.exe", "MZ");
    m_dir.write(u8"game f\u00fcr/maps/castle.bsp", "compiled");
    const struct Case
    {
        const char* name;
        RunRequest request;
        bool copied;
        std::optional<Refusal> expected;
        std::string detail;
    } cases[] = {
        {"not copied wins, though an older copy is there",
         {"castle.vmf", maps, {exe, "", true}},
         false,
         Refusal::NotCopied,
         maps + "\\castle.bsp"},
        {"no map", {"", maps, {exe, "", true}}, true, Refusal::NoMap, ""},
        {"no executable", {"castle.vmf", maps, {"", "", true}}, true, Refusal::NoExecutable, ""},
        {"a blank executable", {"castle.vmf", maps, {"  ", "", true}}, true, Refusal::NoExecutable, ""},
        {"executable gone", {"castle.vmf", maps, {exe + "x", "", true}}, true, Refusal::ExecutableMissing, exe + "x"},
        {"executable without a directory",
         {"castle.vmf", maps, {"hl2.exe", "", true}},
         true,
         Refusal::ExecutableMissing,
         "hl2.exe"},
        {"the map is not in the game directory",
         {"keep.vmf", maps, {exe, "", true}},
         true,
         Refusal::BspMissing,
         maps + "\\keep.bsp"},
        {"no game directory", {"castle.vmf", "", {exe, "", true}}, true, Refusal::BspMissing, "castle.bsp"},
        {"everything there", {"castle.vmf", maps, {exe, "+map $map -bsp $bsp", true}}, true, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult result = c.copied ? planRun(c.request) : runCompiledMap(c.request, false);
        EXPECT_EQ(result.refused ? std::optional<Refusal>(result.refused->reason) : std::nullopt, c.expected);
        EXPECT_EQ(result.refused ? result.refused->detail : "", c.detail);
        EXPECT_EQ(result.launch.has_value(), !c.expected);
        if (result.launch) {
            EXPECT_EQ(result.launch->commandLine, "\"" + exe + "\" +map castle -bsp \"" + maps + "\\castle.bsp\"");
            EXPECT_EQ(result.launch->workingDir, win(m_dir.path(u8"game f\u00fcr/bin")));
        }
    }
}

// The real start: the stand-in game (a Windows program) records how it was started. On Linux it runs
// through Wine in this process's prefix; under Wine's Windows it is started directly.
TEST_F(GameTest, TheStandInGameStartsInItsOwnDirectoryWithTheFilledTemplate)
{
    std::string standin = QMX_STANDIN_DIR "/qmxgame.exe";
#ifdef _WIN32
    standin = "Z:" + standin; // built on Linux, run under Wine
    for (char& c : standin)
        c = c == '/' ? '\\' : c;
#else
    if (std::system("command -v wine >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs Wine";
#endif
    if (!qmx::os::fileExists(standin))
        GTEST_SKIP() << "needs the stand-in game (mingw-w64)";
    std::string bytes;
    ASSERT_TRUE(qmx::os::readFile(standin, bytes));
    m_dir.write(u8"game f\u00fcr/bin/qmx game.exe", bytes);
    m_dir.write(u8"game f\u00fcr/maps/my castle.bsp", "compiled");
    const std::string log = m_dir.path("game.log");
    const ScopedEnv logVariable("QMX_GAME_LOG", win(log));

    const std::string maps = win(m_dir.path(u8"game f\u00fcr/maps"));
    const RunRequest request{"my castle.vmf",
                             maps,
                             {win(m_dir.path(u8"game f\u00fcr/bin/qmx game.exe")), "-dev +map $map -bsp $bsp", false}};
    const RunResult result = runCompiledMap(request, true);
    ASSERT_FALSE(result.refused) << result.refused->detail;
    // A first start in a new Wine prefix takes a while.
    std::string record;
    for (int waited = 0; waited < 120000 && !qmx::os::readFile(log, record); waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::string expected = "working directory: " + win(m_dir.path(u8"game f\u00fcr/bin")) + "\r\n"
        + "argument: -dev\r\nargument: +map\r\nargument: my castle\r\nargument: -bsp\r\nargument: " + maps
        + "\\my castle.bsp\r\n";
    EXPECT_NE(record.find(expected), std::string::npos) << record;
    EXPECT_EQ(record.rfind("command line: ", 0), 0u) << record;
}

#ifndef _WIN32
TEST_F(GameTest, AStartWithoutWineIsAFailedStart)
{
    m_dir.write(u8"game f\u00fcr/bin/hl2.exe", "MZ");
    m_dir.write(u8"game f\u00fcr/maps/castle.bsp", "compiled");
    qmxtest::EnvOverride path("PATH", m_dir.path("no programs here"));
    const RunRequest request{"castle.vmf",
                             win(m_dir.path(u8"game f\u00fcr/maps")),
                             {win(m_dir.path(u8"game f\u00fcr/bin/hl2.exe")), "", false}};
    const RunResult result = runMap(request);
    ASSERT_TRUE(result.refused);
    EXPECT_EQ(result.refused->reason, Refusal::StartFailed);
    EXPECT_EQ(result.refused->detail, "\"" + request.game.executable + "\"");
    EXPECT_FALSE(result.launch);
}
#endif
