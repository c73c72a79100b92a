// The game on the compiled map without a window: the template filled in, the settings kept exactly and the
// checks in their order. (The real start of the stand-in game: tests/e2e, tests/gui and qmxcompile's test.)

#include "core/game/GameRun.h"
#include "core/game/GameTemplate.h"
#include "core/os/Os.h"
#include "support/OsTestDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifdef _WIN32
#include "core/os/win32/Wide.h"

#include <shellapi.h> // needs windows.h first
#endif

using namespace qmx::game;

using qmx::os::toWindowsPath;

TEST(GameTemplate, EveryValueStaysOneArgument)
{
    const auto same = [](const char* v) { return Placeholders{v, v, v}; };
    // template, values, filled in, arguments as the game's Windows argument rules split them (joined by "|"). (Plain
    // paths with blanks and letters beyond ASCII: the end-to-end test's game records its arguments.)
    const std::tuple<const char*, Placeholders, const char*, const char*> cases[] = {
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
    for (const auto& [parameters, values, filled, arguments] : cases) {
        SCOPED_TRACE(std::string(parameters) + " with " + values.map);
        EXPECT_EQ(fillTemplate(parameters, values), filled);
        const std::string line = gameCommandLine(u8"C:\\Program Files\\G\u00e4me\\hl2.exe", filled);
        EXPECT_EQ(line, u8"\"C:\\Program Files\\G\u00e4me\\hl2.exe\"" + std::string(*filled ? " " : "") + filled);
#ifdef _WIN32
        int argc = 0;
        wchar_t** argv = CommandLineToArgvW(qmx::os::widen(line).c_str(), &argc);
        std::wstring split;
        for (int i = 1; i < argc; ++i)
            split += (i > 1 ? L"|" : L"") + std::wstring(argv[i]);
        LocalFree(argv);
        EXPECT_EQ(split, qmx::os::widen(arguments));
#endif
    }
}

class GameTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* folder : {"prog dir", u8"game f\u00fcr/bin", u8"game f\u00fcr/maps"})
            m_dir.mkdir(folder);
        m_dir.write(u8"game f\u00fcr/bin/hl 2.exe", "MZ");
        m_dir.write(u8"game f\u00fcr/maps/castle.bsp", "compiled");
        qmx::os::overrideProgramDirectory(m_dir.path("prog dir"));
    }
    void TearDown() override { qmx::os::overrideProgramDirectory({}); }

    qmxtest::OsTestDir m_dir{u8"qmx g\u00e4me "};
    const std::string m_exe = toWindowsPath(m_dir.path(u8"game f\u00fcr/bin/hl 2.exe"));
    const std::string m_maps = toWindowsPath(m_dir.path(u8"game f\u00fcr/maps"));
};

// What the settings file holds comes back exactly, blanks at the ends of the template too; a missing key gives
// the default. (An empty template kept as one: the game dialog's test.)
TEST_F(GameTest, SettingsAreWrittenAndReadBackExactly)
{
    const auto read = [] {
        const GameSettings game = readGameSettings();
        return game.executable + "|" + game.parameters + "|" + "01"[game.runMap];
    };
    EXPECT_EQ(read(), "|-novid -dev +map $map|0");
    EXPECT_TRUE(writeGameCommand(m_exe, "  -dev +map \"$map\" ") && writeRunMap(true));
    EXPECT_EQ(read(), m_exe + "|  -dev +map \"$map\" |1");
    m_dir.write("prog dir/settings.qmxII", "[settings]\r\nRunMap=yes\r\n");
    EXPECT_EQ(read(), "|-novid -dev +map $map|0");
}

TEST_F(GameTest, EveryRefusalInTheOrderOfTheChecks)
{
    const std::string bsp = m_maps + "\\castle.bsp";
    // request, whether the compile copied the map, refusal and its detail
    const std::tuple<RunRequest, bool, std::optional<Refusal>, std::string> cases[] = {
        {{"castle.vmf", m_maps, {m_exe, "", true}}, false, Refusal::NotCopied, bsp}, // though an older copy is there
        {{"castle.vmf", m_maps, {"  ", "", true}}, true, Refusal::NoExecutable, ""},
        {{"castle.vmf", m_maps, {"hl2.exe", "", true}}, true, Refusal::ExecutableMissing, "hl2.exe"},
        {{"keep.vmf", m_maps, {m_exe, "", true}}, true, Refusal::BspMissing, m_maps + "\\keep.bsp"},
        {{"castle.vmf", "", {m_exe, "", true}}, true, Refusal::BspMissing, "castle.bsp"},
        {{"castle.vmf", m_maps, {m_exe, "+map $map -bsp $bsp", true}}, true, std::nullopt, ""},
    };
    for (const auto& [request, copied, expected, detail] : cases) {
        SCOPED_TRACE(detail + " " + request.mapFile + " " + request.game.executable);
        const RunResult result = copied ? planRun(request) : runCompiledMap(request, false);
        EXPECT_EQ(result.refused ? std::optional(result.refused->reason) : std::nullopt, expected);
        EXPECT_EQ(result.refused ? result.refused->detail : "", detail);
        EXPECT_EQ(result.launch.has_value(), !expected);
        if (result.launch) {
            EXPECT_EQ(result.launch->commandLine, "\"" + m_exe + "\" +map castle -bsp \"" + bsp + "\"");
            EXPECT_EQ(result.launch->workingDir, toWindowsPath(m_dir.path(u8"game f\u00fcr/bin")));
        }
    }
}

#ifndef _WIN32
// On Linux a program that is no Windows program is the game's native build: it runs as itself, .exe or not.
TEST_F(GameTest, ANativeGameRunsWithoutWine)
{
    for (const std::string name : {"hl2_linux", "launcher.exe"}) {
        const std::string game = u8"game f\u00fcr/bin/" + name;
        m_dir.write(game, "#!/bin/sh\necho \"$*\" > \"$0.log\"\n");
        std::filesystem::permissions(m_dir.fsPath(game), std::filesystem::perms::owner_all);
        const RunRequest request{"castle.vmf", m_maps, {toWindowsPath(m_dir.path(game)), "+map $map", false}};
        ASSERT_FALSE(runCompiledMap(request, true).refused) << name;
        EXPECT_EQ(m_dir.await(game + ".log", std::chrono::seconds(10)), "+map castle\n") << name;
    }
}
#endif
