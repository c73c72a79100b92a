// qmxcompile as a user runs it: from a maps folder, with the settings the window left beside the program,
// through Wine's cmd with the stand-in tools. The tools' output and the time arrive on its standard output,
// the .bsp is copied, and every refusal and failure ends with its exit status and one line.

#include "core/game/GameSettings.h"
#include "core/os/Os.h"
#include "core/storage/Config.h"
#include "support/OsTestDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

struct Outcome
{
    int status;
    std::string out, err;
};

} // namespace

TEST(QmxcompileEndToEnd, CompilesThroughWineAndRefusesWithItsExitStatus)
{
    if (std::system("command -v wine >/dev/null 2>&1") != 0 || !std::filesystem::exists(QMX_STANDIN_DIR "/qmxbsp.exe"))
        GTEST_SKIP() << "needs Wine and the stand-in tools (mingw-w64)";
    qmxtest::OsTestDir dir("qmx cli e2e "); // ASCII: cmd reads compile.bat in another code page than ours
    for (const char* sub : {"prog", "sdk dir/bin", "my maps/c.bsp", "game", "empty"})
        dir.mkdir(sub);
    std::filesystem::copy_file(QMX_COMPILE_EXE, dir.fsPath("prog/qmxcompile"));
    std::filesystem::copy_file(QMX_SOURCE_DIR "/resources/language.qmxII", dir.fsPath("prog/language.qmxII"));
    for (const char* tool : {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"})
        std::filesystem::copy_file(std::string(QMX_STANDIN_DIR "/") + tool,
                                   dir.fsPath(std::string("sdk dir/bin/") + tool));
    dir.write("my maps/a.vmf", "versioninfo\n");
    dir.write("my maps/c.vmf", "versioninfo\n"); // its .bsp is a folder: the BSP stand-in fails
    dir.write("my maps/leak.vmf", "standin_leak\n"); // the BSP stand-in rejects it as leaking
    const auto win = [&](const char* name) { return qmx::os::toWindowsPath(dir.path(name)); };
    qmx::os::overrideProgramDirectory(dir.path("prog"));
    using qmx::config::Setting;
    ASSERT_TRUE(qmx::config::write(Setting::LastUsedSettings, "1,1,1|0,0,0,0,0,1|1|0,0,1|1"));
    ASSERT_TRUE(qmx::config::write(Setting::SDKDir, win("sdk dir/bin")));
    ASSERT_TRUE(qmx::config::write(Setting::LastMapDir, win("game")));
    std::filesystem::copy_file(QMX_STANDIN_DIR "/qmxgame.exe", dir.fsPath("game/qmx game.exe"));
    ASSERT_TRUE(qmx::game::writeGameCommand(win("game/qmx game.exe"), "-dev +map $map"));
    const std::string settings = dir.read("prog/settings.qmxII");

    const auto run = [&](const std::string& args, const std::string& env = {}) {
        const std::string command = "cd '" + dir.path("my maps")
            + "' && /usr/bin/env -u sourcesdk vproject='Z:\\my mod' " + "QMX_STANDIN_LOG='" + win("tools.log") + "' "
            + env + " '" + dir.path("prog/qmxcompile") + "' " + args + " >'" + dir.path("out.txt") + "' 2>'"
            + dir.path("err.txt") + "'";
        const int status = std::system(command.c_str());
        return Outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, dir.read("out.txt"), dir.read("err.txt")};
    };
    const auto line = [](qmx::config::Text text) { return "qmxcompile: " + qmx::config::text(text); };

    // The defaults: the last used options, the SDKDir the window stored, the last game directory.
    const Outcome compiled = run("a.vmf");
    EXPECT_EQ(compiled.status, 0) << compiled.err;
    EXPECT_EQ(compiled.err, "");
    std::string batch;
    for (const char* tool : {"qmxbsp.exe\" -game \"%vproject%\"  -nowater", "qmxvis.exe\" -game \"%vproject%\" -fast",
                             "qmxrad.exe\" -game \"%vproject%\"  -noextra"})
        batch += "\"" + win("sdk dir/bin") + "\\" + tool + " \"" + win("my maps") + "\\a.vmf\"\r\n";
    EXPECT_EQ(dir.read("sdk dir/bin/compile.bat"), batch);
    const std::string expanded = std::regex_replace(batch, std::regex("%vproject%"), "Z:\\my mod");
    EXPECT_EQ(dir.read("tools.log"), expanded);
    for (const char* tool : {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"})
        EXPECT_NE(compiled.out.find(std::string(tool) + ": finished."), std::string::npos) << compiled.out;
    EXPECT_TRUE(std::regex_search(
        compiled.out,
        std::regex(qmx::config::text(qmx::config::Text::Compile) + " (1 minute and )?\\d+ seconds?\r?\n$")))
        << compiled.out;
    EXPECT_EQ(dir.read("game/a.bsp").rfind("stand-in BSP compiled from ", 0), 0u);
    EXPECT_EQ(run("a.vmf --dry-run").out, batch);

    // --run: the game starts on the map just copied, in its own directory, and qmxcompile does not wait for it.
    const Outcome started = run("a.vmf --run", "QMX_GAME_LOG='" + win("game.log") + "'");
    EXPECT_EQ(started.status, 0) << started.err;
    EXPECT_NE(started.out.find(qmx::config::text(qmx::config::Text::GameStarted)), std::string::npos) << started.out;
    std::string record; // the game may still be starting when qmxcompile has ended
    for (int waited = 0; waited < 60000 && !qmx::os::readFile(dir.path("game.log"), record); waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_NE(
        record.find("working directory: " + win("game") + "\r\nargument: -dev\r\nargument: +map\r\nargument: a\r\n"),
        std::string::npos)
        << record;

    // The refusals themselves: test_cli.cpp. Here what only a real run meets.
    dir.write("game/leak.bsp", "yesterday's map");
    const std::tuple<std::string, std::string, int, qmx::config::Text> failures[] = {
        {"a.vmf", "PATH='" + dir.path("empty") + "'", 66, qmx::config::Text::CliRunFailed},
        {"c.vmf --options='1,0,0|0|0|0|1'", "", 1, qmx::config::Text::CliToolsFailed}, // the BSP stand-in's own code
        {"leak.vmf", "", 1, qmx::config::Text::CliToolsFailed},
    };
    for (const auto& [args, env, status, text] : failures) {
        SCOPED_TRACE(args + " " + env);
        std::filesystem::remove(dir.fsPath("tools.log"));
        const Outcome result = run(args, env);
        EXPECT_EQ(result.status, status);
        EXPECT_EQ(result.err.rfind(line(text), 0), 0u) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
        EXPECT_EQ(dir.read("tools.log").find("qmxvis.exe"), std::string::npos); // no tool after the failed one
    }
    EXPECT_FALSE(std::filesystem::exists(dir.fsPath("game/c.bsp")));
    EXPECT_EQ(dir.read("game/leak.bsp"), "yesterday's map");

    // Ctrl+C in the middle of a tool: the tools stop, and qmxcompile says so with its own status.
    dir.write("hold", "");
    const std::string held = "cd '" + dir.path("my maps") + "' && QMX_STANDIN_LOG='" + win("tools.log")
        + "' QMX_STANDIN_HOLD='" + win("") + "' exec '" + dir.path("prog/qmxcompile") + "' a.vmf >'"
        + dir.path("out.txt") + "' 2>'" + dir.path("err.txt") + "'";
    std::filesystem::remove(dir.fsPath("tools.log"));
    const char* argv[] = {"/bin/sh", "-c", held.c_str(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ), 0);
    for (int waited = 0; waited < 60000 && dir.read("tools.log").empty(); waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10)); // until the BSP tool holds
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 130);
    EXPECT_EQ(dir.read("err.txt"), line(qmx::config::Text::CompileStopped) + "\n");
    dir.write("go", "");
    EXPECT_EQ(dir.read("prog/settings.qmxII"), settings);
    qmx::os::overrideProgramDirectory({});
}
