// qmxcompile without a terminal: its command line, its paths, and every way it ends, with its exit status and
// one line. Natively and in the mingw build under Wine.

#include "cli/CompileCommand.h"
#include "core/os/Os.h"
#include "support/OsTestDir.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qmx::cli;
using qmx::config::Text;

namespace {

class RecordingTerminal : public Terminal
{
public:
    void text(std::string_view utf8) override { out += utf8; }
    void bytes(std::string_view bytes) override { out += bytes; }
    void error(std::string_view utf8) override { err += utf8; }
    std::string out, err;
};

} // namespace

TEST(QmxcompileArguments, ParsedOrTheFirstProblem)
{
    using P = UsageProblem;
    const std::tuple<std::vector<std::string>, std::optional<UsageProblem>, std::string> cases[] = {
        // arguments, the problem, and its detail or what was understood
        {{"--preset", "2", "a.vmf", "--no-copy", "--dry-run", "--run"}, {}, "a.vmf 2 - false - - dry run"},
        {{"--preset=4", "--copy", "--copy", "a.vmf"}, {}, "a.vmf 4 - true - -"},
        {{"a.vmf", "--options=", "--game-dir", "~/g", "--sdk-dir=C:\\sdk\\bin"}, {}, "a.vmf -  - ~/g C:\\sdk\\bin"},
        {{"--options", "1,0,0|0|0|0|1", "--", "--odd.vmf"}, {}, "--odd.vmf - 1,0,0|0|0|0|1 - - -"},
        {{"--bogus", "--help"}, {}, "help"},
        {{}, P::NoMap, ""},
        {{"a.vmf", "--bogus", "--preset", "9"}, P::UnknownOption, "--bogus"},
        {{"a.vmf", "--dry-run=yes"}, P::UnknownOption, "--dry-run=yes"},
        {{"a.vmf", "--preset"}, P::MissingValue, "--preset"},
        {{"a.vmf", "--game-dir", "--copy"}, P::MissingValue, "--game-dir"},
        {{"a.vmf", "--preset", "0"}, P::BadPreset, "0"},
        {{"a.vmf", "--preset", "5"}, P::BadPreset, "5"},
        {{"a.vmf", "--preset", " 1"}, P::BadPreset, " 1"},
        {{"a.vmf", "--preset", "1", "--options", "1"}, P::Conflict, "--preset --options"},
        {{"a.vmf", "--copy", "--no-copy"}, P::Conflict, "--copy --no-copy"},
        {{"a.vmf", "b.vmf"}, P::ExtraArgument, "b.vmf"},
    };
    for (const auto& [args, problem, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const ParsedArguments parsed = parseArguments(args);
        const Arguments& a = parsed.arguments;
        const auto shown = [](const auto& value) { return value ? testing::PrintToString(*value) : "-"; };
        const std::string understood = a.help ? "help"
                                              : a.map + " " + shown(a.preset) + " " + a.options.value_or("-") + " "
                + shown(a.copy) + " " + a.gameDir.value_or("-") + " " + a.sdkDir.value_or("-")
                + (a.dryRun ? " dry" : "") + (a.run ? " run" : "");
        EXPECT_EQ(parsed.error ? std::optional(parsed.error->problem) : std::nullopt, problem);
        EXPECT_EQ(parsed.error ? parsed.error->detail : understood, expected);
    }
}

TEST(QmxcompilePaths, WindowsFormOfWhatTheTerminalGives)
{
    qmxtest::OsTestDir dir;
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.fsPath());
    // No Wine prefix yet: Z: is the root. (The drives of a prefix: the OS layer's test.)
    const qmxtest::ScopedEnv prefix("WINEPREFIX", dir.path("prefix")), home("HOME", "/home/someone");
    std::vector<std::pair<std::string, std::string>> cases
        = {{"c:/maps/a.vmf", "C:\\maps\\a.vmf"},
           {"D:\\games\\mod\\", "D:\\games\\mod"},
           {"C:\\", "C:\\"},
           {"maps/a.vmf", qmx::os::toWindowsPath(dir.path("maps/a.vmf"))}};
#ifndef _WIN32
    cases.insert(cases.end(),
                 {{"/srv/x/../maps/", "Z:\\srv\\maps"}, {"~/maps/a.vmf", "Z:\\home\\someone\\maps\\a.vmf"}});
#endif
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(windowsFormOf(given), expected) << given;
    std::filesystem::current_path(cwd);
}

// Each row runs the whole command, with the stand-in tools where it gets that far: its exit status, its one
// line on standard error, what it ran and copied, and that it wrote nothing else: no compile.bat when it refused,
// and the settings file as it was. (The run through Wine's cmd as a user starts it: test_cli_e2e.)
TEST(QmxcompileCommand, RefusalsRunAndCopy)
{
    qmxtest::OsTestDir dir("qmx cli "); // ASCII: the command interpreter reads batch files in another code page
    for (const char* sub : {"prog", "maps", "sdk", "game", "blocked/compile.bat", "no tools", "full/a.bsp"})
        dir.mkdir(sub);
    for (const char* tool : {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"})
        std::filesystem::copy_file(QMX_STANDIN_DIR "/" + std::string(tool), dir.fsPath("sdk") / tool);
    for (const char* map : {"maps/a.vmf", "maps/b.map", "maps/50%.vmf"})
        dir.write(map, "versioninfo\n");
    dir.write("maps/leak.vmf", "standin_leak\n"); // the BSP stand-in fails on it
    dir.write("game/leak.bsp", "yesterday's map"); // which then stays
    dir.write("prog/language.qmxII", "[language]\r\nnomap=Pick a map.\r\nnobsp=BSP is off.\r\nCompile=Done in\r\n");
    qmx::os::overrideProgramDirectory(dir.path("prog"));
    const auto win = [&](const char* name) { return qmx::os::toWindowsPath(dir.path(name)); };
    const qmxtest::ScopedEnv tools("QMX_STANDIN_LOG", win("tools.log"));
    using qmx::config::Setting;
    ASSERT_TRUE(qmx::config::write(Setting::LastMapDir, win("game")));
    ASSERT_TRUE(qmx::config::write(Setting::Preset1, "1,0,0|0,0,0,0,0,1|0|0|1")); // BSPnowater, copy
    ASSERT_TRUE(qmx::config::write(Setting::Preset2, "0,1,1|0|1|1|1")); // BSP off
    const std::string settings = dir.read("prog/settings.qmxII");
    const std::string batch = qmx::os::toAnsi("\"" + win("sdk") + "\\qmxbsp.exe\" -game \"%vproject%\"  -nowater \""
                                              + win("maps") + "\\a.vmf\"\r\n");

    const std::string a = dir.path("maps/a.vmf"), p1 = "--preset=1", sdk = "--sdk-dir=" + dir.path("sdk");
    const std::string noCopy = "--no-copy", run = "--run", notCopied = qmx::config::text(Text::GameNotCopied) + "\n";
    const std::tuple<std::vector<std::string>, int, std::optional<Text>, const char*> cases[] = {
        // arguments, exit status, the line on standard error, the .bsp the tools made and the one copied
        {{}, 64, Text::NoMap, ""},
        {{dir.path("maps/b.map"), p1, sdk}, 65, Text::CliNotVmf, ""},
        {{dir.path("maps/\x1b[2J\x07.vmf"), p1, sdk}, 65, Text::CliMapMissing, ""}, // escaped in the line
        {{a, sdk}, 65, Text::CliNoLastOptions, ""},
        {{a, "--preset=3", sdk}, 65, Text::CliPresetNotSaved, ""},
        {{a, "--preset=2", sdk}, 65, Text::NoBsp, ""},
        {{dir.path("maps/50%.vmf"), p1, sdk}, 64, Text::CompileUnsafeCharacter, ""},
        {{a, p1, "--sdk-dir=" + a, "--dry-run"}, 65, Text::CompileSdkDirMissing, ""},
        {{a, p1, sdk, "--game-dir="}, 65, Text::CliNoGameDir, ""},
        {{a, p1, sdk, "--game-dir=" + dir.path("gone")}, 65, Text::CliGameDirMissing, ""},
        {{a, p1, "--sdk-dir=" + dir.path("blocked")}, 66, Text::CompileBatchFailed, ""},
        {{a, p1, "--sdk-dir=" + dir.path("no tools")}, 66, Text::CliRunFailed, ""},
        {{dir.path("maps/leak.vmf"), p1, sdk}, 1, Text::CliToolsFailed, ""},
        {{a, p1, sdk, "--game-dir=" + dir.path("full")}, 67, Text::CliCopyFailed, "maps"},
        {{a, p1, sdk}, 0, std::nullopt, "maps game"},
        {{a, "--options=1,0,0|0,0,0,0,0,1|0|0|1", sdk, "--dry-run"}, 0, std::nullopt, ""},
        {{a, p1, sdk, run}, 68, Text::GameNoExe, "maps game"},
        {{a, p1, sdk, run, noCopy}, 0, std::nullopt, "maps"}, // says so, and ends well
    };
    for (const auto& [args, status, line, bsp] : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        for (const char* file : {"sdk/compile.bat", "maps/a.bsp", "game/a.bsp"})
            std::filesystem::remove(dir.fsPath(file));
        RecordingTerminal terminal;
        EXPECT_EQ(runCompileCommand(parseArguments(args), terminal), status);
        const std::string start = line ? "qmxcompile: " + qmx::config::text(*line) : "";
        EXPECT_EQ(terminal.err.substr(0, start.size()), start);
        // One line, which no character of a path can end early or turn into a terminal's command.
        const auto control = [](unsigned char c) { return c < 0x20 || c == 0x7F; };
        EXPECT_EQ(std::count_if(terminal.err.begin(), terminal.err.end(), control), line ? 1 : 0);
        EXPECT_EQ(terminal.err.find('\n'), line ? terminal.err.size() - 1 : std::string::npos);
        const std::string map = args.empty() ? "a" : std::filesystem::u8path(args[0]).stem().u8string();
        const auto made = [&](const std::string& where) {
            return dir.read(where + "/" + map + ".bsp").rfind("stand-in BSP", 0) == 0 ? where : "";
        };
        EXPECT_EQ(made("maps") + (made("game").empty() ? "" : " game"), bsp);
        if (status == 64 || status == 65 || (status == 0 && !*bsp)) {
            EXPECT_FALSE(std::filesystem::exists(dir.fsPath("sdk/compile.bat"))); // refused or dry: nothing written
        } else if (map == "a" && status != 66) {
            EXPECT_EQ(dir.read("sdk/compile.bat"), batch);
        }
        if (status == 0 && *bsp) { // the tool's line, then the time, and whether the game ran
            EXPECT_NE(terminal.out.find("> \"" + win("sdk") + "\\qmxbsp.exe\""), std::string::npos) << terminal.out;
            const std::string tail = terminal.out.substr(terminal.out.find('\n', terminal.out.rfind("Done in ")) + 1);
            EXPECT_EQ(tail, std::count(args.begin(), args.end(), run) ? notCopied : "");
        } else if (status == 0) {
            EXPECT_EQ(terminal.out, batch);
        }
        EXPECT_EQ(dir.read("prog/settings.qmxII"), settings);
    }
    EXPECT_EQ(dir.read("game/leak.bsp"), "yesterday's map");
    // A line break typed into --options stays out of compile.bat.
    RecordingTerminal terminal;
    const std::string broken = "--options=1,0,0|0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,2\r\n@echo x|0|0|0";
    EXPECT_EQ(runCompileCommand(parseArguments({a, broken, sdk, "--dry-run"}), terminal), 0);
    EXPECT_EQ(terminal.out.find("\r\n"), terminal.out.size() - 2) << terminal.out;
    // A wrong command line is a usage error whatever else is wrong: without a language file too, in English.
    std::filesystem::remove(dir.fsPath("prog/language.qmxII"));
    const std::tuple<std::vector<std::string>, int, std::string> withoutLanguage[] = {
        {{}, 64, "qmxcompile: Please select a map file first. (qmxcompile MAP.vmf [OPTION]...)\n"},
        {{a, "--bogus"}, 64, "qmxcompile: Unknown option; qmxcompile --help lists the options. (--bogus)\n"},
        {{a, p1, sdk}, 65, "qmxcompile: Language-File not found."},
    };
    for (const auto& [args, status, line] : withoutLanguage) {
        RecordingTerminal alone;
        EXPECT_EQ(runCompileCommand(parseArguments(args), alone), status);
        EXPECT_EQ(alone.err.substr(0, line.size()), line);
    }
    qmx::os::overrideProgramDirectory({});
}
