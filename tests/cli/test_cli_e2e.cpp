// qmxcompile as a user runs it: from a maps folder, with the settings the window left beside the program,
// through Wine's cmd with the stand-in tools. The tools' output and the time arrive on its standard output,
// the .bsp is copied, the game starts, and a failure or Ctrl+C ends with its exit status and one line.

#include "core/game/GameSettings.h"
#include "core/os/Os.h"
#include "core/storage/Config.h"
#include "support/OsTestDir.h"

#include <gtest/gtest.h>

#include <regex>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

TEST(QmxcompileEndToEnd, CompilesThroughWineAndEndsWithItsExitStatus)
{
    if (std::system("command -v wine >/dev/null 2>&1") != 0 || !std::filesystem::exists(QMX_STANDIN_DIR "/qmxbsp.exe"))
        GTEST_SKIP() << "needs Wine and the stand-in tools (mingw-w64)";
    qmxtest::OsTestDir dir("qmx cli e2e "); // ASCII: cmd reads compile.bat in another code page than ours
    for (const char* sub : {"prog", "sdk dir/bin", "my maps", "game", "empty"})
        dir.mkdir(sub);
    std::filesystem::copy_file(QMX_COMPILE_EXE, dir.fsPath("prog/qmxcompile"));
    std::filesystem::copy_file(QMX_SOURCE_DIR "/resources/language.qmxII", dir.fsPath("prog/language.qmxII"));
    for (const char* tool : {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"})
        std::filesystem::copy_file(QMX_STANDIN_DIR "/" + std::string(tool), dir.fsPath("sdk dir/bin") / tool);
    std::filesystem::copy_file(QMX_STANDIN_DIR "/qmxgame.exe", dir.fsPath("game/qmx game.exe"));
    dir.write("my maps/a.vmf", "versioninfo\n");
    const auto win = [&](const char* name) { return qmx::os::toWindowsPath(dir.path(name)); };
    qmx::os::overrideProgramDirectory(dir.path("prog"));
    using qmx::config::Setting;
    using qmx::config::Text;
    ASSERT_TRUE(qmx::config::write(Setting::LastUsedSettings, "1,1,1|0,0,0,0,0,1|1|0,0,1|1"));
    ASSERT_TRUE(qmx::config::write(Setting::SDKDir, win("sdk dir/bin")));
    ASSERT_TRUE(qmx::config::write(Setting::LastMapDir, win("game")));
    ASSERT_TRUE(qmx::game::writeGameCommand(win("game/qmx game.exe"), "-dev +map $map"));
    const std::string settings = dir.read("prog/settings.qmxII");
    // qmxcompile started from the maps folder, standard output and error into files.
    const auto command = [&](const std::string& args, const std::string& env) {
        return "cd '" + dir.path("my maps")
            + "' && exec /usr/bin/env -u sourcesdk vproject='Z:\\my mod' QMX_STANDIN_LOG='" + win("tools.log") + "' "
            + env + " '" + dir.path("prog/qmxcompile") + "' " + args + " >'" + dir.path("out.txt") + "' 2>'"
            + dir.path("err.txt") + "'";
    };
    const auto run = [&](const std::string& args, const std::string& env = {}) {
        std::filesystem::remove(dir.fsPath("tools.log"));
        const int status = std::system(command(args, env).c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };

    // The defaults: the last used options, the SDKDir the window stored, the last game directory; and the game
    // starts on the map just copied, in its own directory, without qmxcompile waiting for it. (compile.bat's
    // bytes: test_cli; here what the tools got through cmd.)
    EXPECT_EQ(run("a.vmf --run", "QMX_GAME_LOG='" + win("game.log") + "'"), 0) << dir.read("err.txt");
    EXPECT_EQ(dir.read("err.txt"), "");
    std::string batch;
    for (const char* tool : {"qmxbsp.exe\" -game \"%vproject%\"  -nowater", "qmxvis.exe\" -game \"%vproject%\" -fast",
                             "qmxrad.exe\" -game \"%vproject%\"  -noextra"})
        batch += "\"" + win("sdk dir/bin") + "\\" + tool + " \"" + win("my maps") + "\\a.vmf\"\r\n";
    EXPECT_EQ(dir.read("tools.log"), std::regex_replace(batch, std::regex("%vproject%"), "Z:\\my mod"));
    const std::string out = dir.read("out.txt"), game = dir.await("game.log");
    EXPECT_NE(out.find("qmxrad.exe: finished."), std::string::npos) << out; // the tools' own output
    EXPECT_NE(out.find(qmx::config::text(Text::GameStarted)), std::string::npos) << out; // (the time: test_cli)
    const std::string args = "\r\nargument: -dev\r\nargument: +map\r\nargument: a\r\n";
    EXPECT_NE(game.find("working directory: " + win("game") + args), std::string::npos) << game;

    // What only a real run meets: no Wine to start the tools. (A tool that fails: test_cli.)
    EXPECT_EQ(run("a.vmf", "PATH='" + dir.path("empty") + "'"), 66);
    const std::string err = dir.read("err.txt");
    EXPECT_EQ(err.rfind("qmxcompile: " + qmx::config::text(Text::CliRunFailed), 0), 0u) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;

    // Ctrl+C in the middle of a tool: the tools stop, and qmxcompile says so with its own status.
    dir.write("hold", "");
    std::filesystem::remove(dir.fsPath("tools.log"));
    const std::string held = command("a.vmf", "QMX_STANDIN_HOLD='" + win("") + "'");
    const char* argv[] = {"/bin/sh", "-c", held.c_str(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ), 0);
    EXPECT_NE(dir.await("tools.log", std::chrono::seconds(60)), ""); // the BSP tool runs, and holds
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 130);
    EXPECT_EQ(dir.read("err.txt"), "qmxcompile: " + qmx::config::text(Text::CompileStopped) + "\n");
    dir.write("go", "");
    EXPECT_EQ(dir.read("prog/settings.qmxII"), settings);
    qmx::os::overrideProgramDirectory({});
}
