// qmxcompile without a terminal: its command line, its paths and SDK directory, and every refusal with its
// exit status and one line. (The run in this terminal: tests/os.) Natively and in the mingw build under Wine.

#include "cli/CompileCommand.h"
#include "core/os/Os.h"
#include "support/OsTestDir.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qmx::cli;
using qmx::config::Text;

namespace {

std::string describe(const Arguments& a)
{
    std::string out = a.help ? "help" : "map=" + a.map;
    if (a.preset)
        out += " preset=" + std::to_string(*a.preset);
    if (a.options)
        out += " options=" + *a.options;
    if (a.copy)
        out += *a.copy ? " copy" : " no-copy";
    if (a.gameDir)
        out += " game=" + *a.gameDir;
    if (a.sdkDir)
        out += " sdk=" + *a.sdkDir;
    return out + (a.dryRun ? " dry" : "");
}

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
    const struct
    {
        std::vector<std::string> args;
        std::optional<UsageProblem> problem;
        std::string expected; // describe() of the result, or the problem's detail
    } cases[] = {
        {{"a.vmf"}, {}, "map=a.vmf"},
        {{"--preset", "2", "a.vmf", "--no-copy", "--dry-run"}, {}, "map=a.vmf preset=2 no-copy dry"},
        {{"--preset=4", "--copy", "--copy", "a.vmf"}, {}, "map=a.vmf preset=4 copy"},
        {{"a.vmf", "--options", "1,0,0|0|0|0|1"}, {}, "map=a.vmf options=1,0,0|0|0|0|1"},
        {{"a.vmf", "--options="}, {}, "map=a.vmf options="},
        {{"a.vmf", "--game-dir", "~/g", "--sdk-dir=C:\\sdk\\bin"}, {}, "map=a.vmf game=~/g sdk=C:\\sdk\\bin"},
        {{"--", "--odd.vmf"}, {}, "map=--odd.vmf"},
        {{"--bogus", "--help"}, {}, "help"},
        {{"-h"}, {}, "help"},
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
    for (const auto& c : cases) {
        const ParsedArguments parsed = parseArguments(c.args);
        const std::string trace = ::testing::PrintToString(c.args);
        EXPECT_EQ(parsed.error.has_value(), c.problem.has_value()) << trace;
        if (parsed.error && c.problem) {
            EXPECT_EQ(parsed.error->problem, *c.problem) << trace;
            EXPECT_EQ(parsed.error->detail, c.expected) << trace;
        } else if (!parsed.error) {
            EXPECT_EQ(describe(parsed.arguments), c.expected) << trace;
        }
    }
}

TEST(QmxcompilePaths, WindowsFormOfWhatTheTerminalGives)
{
    qmxtest::OsTestDir dir;
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.fsPath());
    std::vector<std::pair<std::string, std::string>> cases
        = {{"c:/maps/a.vmf", "C:\\maps\\a.vmf"}, {"D:\\games\\mod\\", "D:\\games\\mod"}, {"C:\\", "C:\\"}};
#ifdef _WIN32
    cases.push_back({"maps\\a.vmf", dir.path("maps\\a.vmf")});
#else
    // A prefix of its own: C: its drive_c, Z: the root.
    dir.mkdir("prefix/dosdevices");
    dir.mkdir("prefix/drive_c/maps");
    std::filesystem::create_symlink("../drive_c", dir.fsPath("prefix/dosdevices/c:"));
    std::filesystem::create_symlink("/", dir.fsPath("prefix/dosdevices/z:"));
    const qmxtest::ScopedEnv prefix("WINEPREFIX", dir.path("prefix")), home("HOME", "/home/someone");
    cases.insert(cases.end(),
                 {
                     {dir.path("prefix/drive_c/maps/a.vmf"), "C:\\maps\\a.vmf"},
                     {"/srv/x/../maps/", "Z:\\srv\\maps"},
                     {"~/maps/a.vmf", "Z:\\home\\someone\\maps\\a.vmf"},
                     {"maps/a.vmf", qmx::os::toWindowsPath(dir.path("maps/a.vmf"))},
                 });
#endif
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(windowsFormOf(given), expected) << given;
#ifndef _WIN32
    std::filesystem::remove(dir.fsPath("prefix/dosdevices/z:"));
    EXPECT_EQ(windowsFormOf("/srv/a.vmf"), ""); // no drive reaches it
#endif
    std::filesystem::current_path(cwd);
}

// Each row runs the whole command, with the stand-in tools where it gets that far: its exit status, its one
// line on standard error, what it wrote, ran and copied, and that the settings file stays as it was.
TEST(QmxcompileCommand, RefusalsRunAndCopy)
{
    qmxtest::OsTestDir dir("qmx cli "); // ASCII: the command interpreter reads batch files in another code page
    for (const char* sub : {"prog", "maps", "sdk", "game", "blocked/compile.bat", "no tools", "full/a.bsp"})
        dir.mkdir(sub);
    for (const char* tool : {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"})
        std::filesystem::copy_file(std::string(QMX_STANDIN_DIR "/") + tool, dir.fsPath(std::string("sdk/") + tool));
    for (const char* map : {"maps/a.vmf", "maps/A.VMF", "maps/b.map", "maps/50%.vmf", u8"maps/\u0142.vmf"})
        dir.write(map, "versioninfo\n");
    dir.write("prog/language.qmxII",
              "[language]\r\nnomap=Pick a map.\r\nnobsp=BSP is off.\r\nCompile=Done in\r\n"
              "second=second\r\npreset=Preset\r\n");
    qmx::os::overrideProgramDirectory(dir.path("prog"));
    const auto win = [&](const char* name) { return qmx::os::toWindowsPath(dir.path(name)); };
    const qmxtest::ScopedEnv tools({"QMX_STANDIN_FAIL", "QMX_STANDIN_LOG"});
    qmxtest::ScopedEnv::set("QMX_STANDIN_LOG", win("tools.log"));
    using qmx::config::Setting;
    ASSERT_TRUE(qmx::config::write(Setting::LastMapDir, win("game")));
    ASSERT_TRUE(qmx::config::write(Setting::Preset1, "1,0,0|0,0,0,0,0,1|0|0|1")); // BSPnowater, copy
    ASSERT_TRUE(qmx::config::write(Setting::Preset2, "0,1,1|0|1|1|1")); // BSP off
    const std::string settings = dir.read("prog/settings.qmxII");
    const std::string batch = qmx::os::toAnsi("\"" + win("sdk") + "\\qmxbsp.exe\" -game \"%vproject%\"  -nowater \""
                                              + win("maps") + "\\a.vmf\"\r\n");

    const std::string a = dir.path("maps/a.vmf"), p1 = "--preset=1", sdk = "--sdk-dir=" + dir.path("sdk");
    const std::string noSdk = "--sdk-dir=" + dir.path("gone"), noGame = "--game-dir=" + dir.path("gone");
    const std::string sdkFile = "--sdk-dir=" + dir.path("maps/a.vmf");
    const std::string notCopied = qmx::config::text(Text::GameNotCopied) + "\n";
    const struct
    {
        const char* name;
        std::vector<std::string> args;
        const char* fail; // QMX_STANDIN_FAIL
        int status;
        std::optional<Text> line; // the text of the line on standard error
        bool ran, copied;
        std::string outTail{}; // after the time, for a compile that went well
    } cases[] = {
        {"no map", {}, "", 64, Text::NoMap, false, false},
        {"usage", {a, "--bogus"}, "", 64, Text::CliUnknownOption, false, false},
        {"map missing", {dir.path("maps/gone.vmf"), p1, sdk}, "", 65, Text::CliMapMissing, false, false},
        {"not a map", {dir.path("maps/b.map"), p1, sdk}, "", 65, Text::CliNotVmf, false, false},
        {"nothing stored", {a, sdk}, "", 65, Text::CliNoLastOptions, false, false},
        {"preset never saved", {a, "--preset=3", sdk}, "", 65, Text::CliPresetNotSaved, false, false},
        {"BSP off", {a, "--preset=2", sdk}, "", 65, Text::NoBsp, false, false},
        {"% in the map's path",
         {dir.path("maps/50%.vmf"), p1, sdk},
         "",
         64,
         Text::CompileUnsafeCharacter,
         false,
         false},
        {"letter outside the code page",
         {dir.path(u8"maps/\u0142.vmf"), p1, sdk},
         "",
         64,
         Text::CompileNotInCodePage,
         false,
         false},
        {"SDK directory missing", {a, p1, noSdk}, "", 65, Text::CompileSdkDirMissing, false, false},
        {"SDK directory is a file", {a, p1, sdkFile}, "", 65, Text::CompileSdkDirMissing, false, false},
        {"SDK directory is a file, dry run",
         {a, p1, sdkFile, "--dry-run"},
         "",
         65,
         Text::CompileSdkDirMissing,
         false,
         false},
        {"control characters in a path",
         {dir.path("maps/\x1b[2J\x07.vmf"), p1, sdk},
         "",
         65,
         Text::CliMapMissing,
         false,
         false},
        {"no game directory", {a, p1, sdk, "--game-dir="}, "", 65, Text::CliNoGameDir, false, false},
        {"game directory missing", {a, p1, sdk, noGame}, "", 65, Text::CliGameDirMissing, false, false},
        {"compile.bat not writable",
         {a, p1, "--sdk-dir=" + dir.path("blocked")},
         "",
         66,
         Text::CompileBatchFailed,
         false,
         false},
        {"no tools", {a, p1, "--sdk-dir=" + dir.path("no tools")}, "", 66, Text::CliRunFailed, false, false},
        {"tools failed", {a, p1, sdk}, "qmxbsp.exe:3", 1, Text::CliToolsFailed, true, false},
        {"copy failed", {a, p1, sdk, "--game-dir=" + dir.path("full")}, "", 67, Text::CliCopyFailed, true, false},
        {"compiled and copied", {a, p1, sdk}, "", 0, std::nullopt, true, true},
        {"compiled, --no-copy", {a, p1, sdk, "--no-copy"}, "", 0, std::nullopt, true, false},
        {"dry run", {a, "--options=1,0,0|0,0,0,0,0,1|0|0|1", sdk, "--dry-run"}, "", 0, std::nullopt, false, false},
        {"--run, no game set", {a, p1, sdk, "--run"}, "", 68, Text::GameNoExe, true, true},
        {"--run, not copied", {a, p1, sdk, "--run", "--no-copy"}, "", 0, {}, true, false, notCopied},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* file : {"sdk/compile.bat", "maps/a.bsp", "game/a.bsp", "tools.log"})
            std::filesystem::remove(dir.fsPath(file));
        qmxtest::ScopedEnv::set("QMX_STANDIN_FAIL", c.fail);
        RecordingTerminal terminal;
        EXPECT_EQ(runCompileCommand(parseArguments(c.args), terminal), c.status);
        if (c.line) {
            const std::string start = "qmxcompile: " + qmx::config::text(*c.line);
            EXPECT_EQ(terminal.err.substr(0, start.size()), start) << terminal.err;
            // One line, which no character of a path can end early or turn into a terminal's command.
            const auto control = std::find_if(terminal.err.begin(), terminal.err.end(), [](char ch) {
                return static_cast<unsigned char>(ch) < 0x20 || ch == '\x7F' || ch == '\x9B';
            });
            EXPECT_EQ(control - terminal.err.begin(), terminal.err.size() - 1) << terminal.err;
        } else {
            EXPECT_EQ(terminal.err, "");
        }
        EXPECT_EQ(!dir.read("tools.log").empty(), c.ran);
        EXPECT_EQ(dir.read("game/a.bsp").rfind("stand-in BSP", 0) == 0, c.copied);
        if (c.ran) {
            EXPECT_EQ(dir.read("sdk/compile.bat"), batch);
        }
        if (!c.ran && c.status != 66) {
            EXPECT_FALSE(std::filesystem::exists(dir.fsPath("sdk/compile.bat"))); // refused or dry: nothing written
        }
        if (c.status == 0 && c.ran) {
            const std::size_t done = terminal.out.rfind("Done in ");
            EXPECT_NE(terminal.out.find("> \"" + win("sdk") + "\\qmxbsp.exe\""), std::string::npos) << terminal.out;
            EXPECT_EQ(terminal.out.substr(terminal.out.find('\n', done) + 1), c.outTail) << terminal.out;
        } else if (c.status == 0) {
            EXPECT_EQ(terminal.out, batch);
        }
        EXPECT_EQ(dir.read("prog/settings.qmxII"), settings);
    }
    // A map named in capitals compiles to its .bsp, never a copy of itself.
    RecordingTerminal capitals;
    EXPECT_EQ(runCompileCommand(parseArguments({dir.path("maps/A.VMF"), p1, sdk}), capitals), 0) << capitals.err;
    EXPECT_EQ(dir.read("game/A.bsp").rfind("stand-in BSP", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir.fsPath("game/A.VMF")));
    // A line break typed into --options stays out of compile.bat.
    RecordingTerminal terminal;
    const std::string broken = "--options=1,0,0|0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,2\r\n@echo x|0|0|0";
    EXPECT_EQ(runCompileCommand(parseArguments({a, broken, sdk, "--dry-run"}), terminal), 0);
    EXPECT_EQ(terminal.out.find("\r\n"), terminal.out.size() - 2) << terminal.out;
    // A wrong command line is a usage error whatever else is wrong: without a language file too, in English.
    std::filesystem::remove(dir.fsPath("prog/language.qmxII"));
    const std::pair<std::vector<std::string>, std::string> withoutLanguage[] = {
        {{}, "qmxcompile: Please select a map file first. (qmxcompile MAP.vmf [OPTION]...)\n"},
        {{a, "--bogus"}, "qmxcompile: Unknown option; qmxcompile --help lists the options. (--bogus)\n"},
        {{a, p1, sdk}, "qmxcompile: Language-File not found."},
    };
    for (const auto& [args, line] : withoutLanguage) {
        RecordingTerminal alone;
        EXPECT_EQ(runCompileCommand(parseArguments(args), alone), args.size() == 3 ? 65 : 64);
        EXPECT_EQ(alone.err.substr(0, line.size()), line);
    }
    qmx::os::overrideProgramDirectory({});
}
