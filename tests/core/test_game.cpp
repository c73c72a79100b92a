// The game on the compiled map without a window: the template filled in, the settings kept exactly,
// the checks in their order, and a real start of the stand-in game in its own directory.

#include "core/game/GameRun.h"
#include "core/game/GameTemplate.h"
#include "core/os/Os.h"
#include "os/OsTestDir.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#ifdef _WIN32
#include "core/os/win32/Wide.h"

#include <shellapi.h> // needs windows.h first
#endif

using namespace qmx::game;

using qmx::os::toWindowsPath;

TEST(GameTemplate, EveryValueStaysOneArgument)
{
    const auto same = [](const char* v) { return Placeholders{v, v, v}; };
    const struct Case
    {
        const char* parameters;
        Placeholders values;
        const char* filled;
        const char* arguments; // as the game's Windows argument rules split them, joined by "|"
    } cases[] = {
        {"-novid +map $map -bsp $bsp -dir $gamedir",
         {"castle", "C:\\g\\castle.bsp", "C:\\g"},
         "-novid +map castle -bsp C:\\g\\castle.bsp -dir C:\\g",
         "-novid|+map|castle|-bsp|C:\\g\\castle.bsp|-dir|C:\\g"},
        {"-bsp $bsp -x", same(u8"Z:\\Spiele f\u00fcr\\my castle.bsp"),
         u8"-bsp \"Z:\\Spiele f\u00fcr\\my castle.bsp\" -x", u8"-bsp|Z:\\Spiele f\u00fcr\\my castle.bsp|-x"},
        {"-dir $gamedir", same(u8"C:\\gr\u00f6\u00dfe"), u8"-dir C:\\gr\u00f6\u00dfe", u8"-dir|C:\\gr\u00f6\u00dfe"},
        {"+map \"$map\" -d \"$gamedir\\sub\"", same("a b"), "+map \"a b\" -d \"a b\\sub\"", "+map|a b|-d|a b\\sub"},
        {"-dir \"$gamedir\" -x", same("C:\\"), "-dir \"C:\\\\\" -x", "-dir|C:\\|-x"},
        {"-dir $gamedir -x", same("C:\\my dir\\"), "-dir \"C:\\my dir\\\\\" -x", "-dir|C:\\my dir\\|-x"},
        {"-dir $gamedir -x", same(""), "-dir \"\" -x", "-dir||-x"},
        {"+map $map", same("a\"b c"), "+map \"ab c\"", "+map|ab c"},
        {"$mapname $map_x $Map $$map $map.bsp $", same("a"), "$mapname $map_x $Map $a a.bsp $",
         "$mapname|$map_x|$Map|$a|a.bsp|$"},
        {"-bsp:$bsp", same("C:\\a b.bsp"), "-bsp:\"C:\\a b.bsp\"", "-bsp:C:\\a b.bsp"},
        {"", same("a"), "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.parameters) + " with " + c.values.map);
        EXPECT_EQ(fillTemplate(c.parameters, c.values), c.filled);
        const std::string line = gameCommandLine(u8"C:\\Program Files\\G\u00e4me\\hl2.exe", c.filled);
        EXPECT_EQ(line, u8"\"C:\\Program Files\\G\u00e4me\\hl2.exe\"" + std::string(*c.filled ? " " : "") + c.filled);
#ifdef _WIN32
        int argc = 0;
        wchar_t** argv = CommandLineToArgvW(qmx::os::widen(line).c_str(), &argc);
        std::wstring split;
        for (int i = 1; i < argc; ++i)
            split += (i > 1 ? L"|" : L"") + std::wstring(argv[i]);
        LocalFree(argv);
        EXPECT_EQ(split, qmx::os::widen(c.arguments));
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
        m_dir.write(u8"game f\u00fcr/bin/hl 2.exe", "MZ");
        m_dir.write(u8"game f\u00fcr/maps/castle.bsp", "compiled");
        qmx::os::overrideProgramDirectory(m_dir.path("prog dir"));
    }
    void TearDown() override { qmx::os::overrideProgramDirectory({}); }

    qmxtest::OsTestDir m_dir{u8"qmx g\u00e4me "};
    const std::string m_exe = toWindowsPath(m_dir.path(u8"game f\u00fcr/bin/hl 2.exe"));
    const std::string m_maps = toWindowsPath(m_dir.path(u8"game f\u00fcr/maps"));
};

// What the settings file holds comes back exactly, however it got there; a missing key gives the default.
TEST_F(GameTest, SettingsAreWrittenAndReadBackExactly)
{
    const struct Case
    {
        const char* fileText; // nullptr: written through writeGameCommand and writeRunMap instead
        std::string parameters; // written, and expected back
        bool runMap;
    } cases[] = {
        {"", "-novid -dev +map $map", false}, // an empty file: the default
        {nullptr, "", false}, // an empty template is kept, unlike a missing one
        {nullptr, "  -dev +map \"$map\" ", true},
        {nullptr, "\"$bsp\"", true},
        {"[settings]\r\nGameParameters=  -x $map\r\nRunMap=1\r\n", "-x $map", true}, // typed by hand
        {"[settings]\r\nGameParameters=\r\nRunMap=yes\r\n", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileText ? c.fileText : c.parameters);
        std::filesystem::remove(m_dir.fsPath("prog dir/settings.qmxII"));
        if (c.fileText) {
            m_dir.write("prog dir/settings.qmxII", c.fileText);
        } else {
            ASSERT_TRUE(writeGameCommand(m_exe, c.parameters) && writeRunMap(c.runMap));
            EXPECT_NE(m_dir.read("prog dir/settings.qmxII").find(c.runMap ? "RunMap=1\r\n" : "RunMap=0\r\n"),
                      std::string::npos);
        }
        const GameSettings read = readGameSettings();
        EXPECT_EQ(read.executable, c.fileText ? "" : m_exe);
        EXPECT_EQ(read.parameters, c.parameters);
        EXPECT_EQ(read.runMap, c.runMap);
    }
}

TEST_F(GameTest, EveryRefusalInTheOrderOfTheChecks)
{
    const std::string bsp = m_maps + "\\castle.bsp";
    const struct Case
    {
        RunRequest request;
        bool copied;
        std::optional<Refusal> expected;
        std::string detail;
    } cases[] = {
        {{"castle.vmf", m_maps, {m_exe, "", true}}, false, Refusal::NotCopied, bsp}, // though an older copy is there
        {{"", m_maps, {m_exe, "", true}}, true, Refusal::NoMap, ""},
        {{"castle.vmf", m_maps, {"  ", "", true}}, true, Refusal::NoExecutable, ""},
        {{"castle.vmf", m_maps, {m_exe + "x", "", true}}, true, Refusal::ExecutableMissing, m_exe + "x"},
        {{"castle.vmf", m_maps, {"hl2.exe", "", true}}, true, Refusal::ExecutableMissing, "hl2.exe"},
        {{"keep.vmf", m_maps, {m_exe, "", true}}, true, Refusal::BspMissing, m_maps + "\\keep.bsp"},
        {{"castle.vmf", "", {m_exe, "", true}}, true, Refusal::BspMissing, "castle.bsp"},
        {{"castle.vmf", m_maps, {m_exe, "+map $map -bsp $bsp", true}}, true, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.detail + " " + c.request.mapFile + " " + c.request.game.executable);
        const RunResult result = c.copied ? planRun(c.request) : runCompiledMap(c.request, false);
        EXPECT_EQ(result.refused ? std::optional<Refusal>(result.refused->reason) : std::nullopt, c.expected);
        EXPECT_EQ(result.refused ? result.refused->detail : "", c.detail);
        ASSERT_EQ(result.launch.has_value(), !c.expected);
        if (result.launch) {
            EXPECT_EQ(result.launch->commandLine, "\"" + m_exe + "\" +map castle -bsp \"" + bsp + "\"");
            EXPECT_EQ(result.launch->workingDir, toWindowsPath(m_dir.path(u8"game f\u00fcr/bin")));
        }
    }
}

// The real start of the stand-in game (a Windows program), which records how it was started: on Linux
// through Wine in this process's prefix, under Wine's Windows directly.
TEST_F(GameTest, TheStandInGameStartsInItsOwnDirectoryWithTheFilledTemplate)
{
#ifndef _WIN32
    if (std::system("command -v wine >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs Wine";
#endif
    std::string bytes;
    if (!qmx::os::readFile(QMX_STANDIN_DIR "/qmxgame.exe", bytes))
        GTEST_SKIP() << "needs the stand-in game (mingw-w64)";
    m_dir.write(u8"game f\u00fcr/bin/qmx game.exe", bytes);
    m_dir.write(u8"game f\u00fcr/maps/my castle.bsp", "compiled");
    const std::string log = m_dir.path("game.log");
    const qmxtest::ScopedEnv logVariable("QMX_GAME_LOG", toWindowsPath(log));

    const RunRequest request{
        "my castle.vmf",
        m_maps,
        {toWindowsPath(m_dir.path(u8"game f\u00fcr/bin/qmx game.exe")), "-dev +map $map -bsp $bsp", false}};
    const RunResult result = runCompiledMap(request, true);
    ASSERT_FALSE(result.refused) << result.refused->detail;
    std::string record; // a first start in a new Wine prefix takes a while
    for (int waited = 0; waited < 120000 && !qmx::os::readFile(log, record); waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(record.rfind("command line: ", 0), 0u) << record;
    EXPECT_NE(record.find("\r\nworking directory: " + toWindowsPath(m_dir.path(u8"game f\u00fcr/bin"))
                          + "\r\nargument: -dev\r\nargument: +map\r\nargument: my castle\r\nargument: -bsp\r\n"
                            "argument: "
                          + m_maps + "\\my castle.bsp\r\n"),
              std::string::npos)
        << record;
}
