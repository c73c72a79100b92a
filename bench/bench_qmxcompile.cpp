// qmxcompile's own overhead: the whole command (start, settings and language file, checks, compile.bat,
// the run, the time in words, the copy) minus a direct run of the same compile.bat with the same runner.
// Linux only. Both write to /dev/null, so the terminal's speed does not count.
//
//   bench_qmxcompile [runs] [--wine] [--no-copy]
// Without --wine a do-nothing "wine" first on the PATH isolates qmxcompile's own cost; with --wine the real
// Wine runs the batch with the stand-in tools (in $WINEPREFIX, or the build tree's test prefix). The copy
// of the .bsp is part of the command (it syncs the file to disk); --no-copy leaves it out.

#include "core/os/Os.h"
#include "core/storage/Config.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct Timing
{
    double wallMs = 0;
    double cpuMs = 0; // user and system time of the program and the children it waited for
};

// Runs a program with its output thrown away; its exit status, or -1.
int runQuietly(std::vector<std::string> argv, double& cpuMs)
{
    std::vector<char*> args;
    for (std::string& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (rc != 0 || wait4(pid, &status, 0, &usage) != pid)
        return -1;
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Timing timed(const std::vector<std::string>& argv, int& status)
{
    Timing t;
    const auto start = std::chrono::steady_clock::now();
    status = runQuietly(argv, t.cpuMs);
    t.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return t;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 30;
    bool realWine = false, copy = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--wine") == 0)
            realWine = true;
        else if (std::strcmp(argv[i], "--no-copy") == 0)
            copy = false;
        else if (std::atoi(argv[i]) > 0)
            runs = std::atoi(argv[i]);
    }

    const fs::path root = fs::temp_directory_path() / ("qmx bench cli " + std::to_string(::getpid()));
    const fs::path prog = root / "prog", sdk = root / "sdk bin", maps = root / "maps", game = root / "game";
    for (const fs::path& d : {prog, sdk, maps, game, root / "fake"})
        fs::create_directories(d);
    fs::copy_file(QMX_COMPILE_EXE, prog / "qmxcompile");
    fs::copy_file(QMX_SOURCE_DIR "/resources/language.qmxII", prog / "language.qmxII");
    for (const char* tool : {"qmxbsp.exe", "qmxvis.exe", "qmxrad.exe"}) {
        std::error_code failed;
        fs::copy_file(fs::path(QMX_STANDIN_DIR) / tool, sdk / tool, failed);
        if (failed && realWine) {
            std::fprintf(stderr, "stand-in %s not found in %s\n", tool, QMX_STANDIN_DIR);
            return 1;
        }
    }
    writeFile(maps / "m.vmf", "versioninfo\n");
    writeFile(maps / "m.bsp", "compiled"); // the do-nothing runner leaves none; the copy still has one to copy

    // Never the user's own prefix, unless asked for with WINEPREFIX.
    if (!std::getenv("WINEPREFIX"))
        ::setenv("WINEPREFIX", QMX_TEST_WINEPREFIX, 1);
    if (realWine) {
        ::setenv("WINEDEBUG", "-all", 1);
        ::setenv("QMX_STANDIN_SECONDS", "0", 1);
        ::setenv("QMX_STANDIN_LOG", "NUL", 1);
    } else {
        writeFile(root / "fake" / "wine", "#!/bin/sh\nexit 0\n");
        fs::permissions(root / "fake" / "wine", fs::perms::owner_all);
        ::setenv("PATH", ((root / "fake").string() + ":" + std::getenv("PATH")).c_str(), 1);
    }
    ::unsetenv("sourcesdk");
    qmx::os::overrideProgramDirectory(prog.string());
    using qmx::config::Setting;
    qmx::config::write(Setting::LastUsedSettings, "1,1,1|0,0,0,0,0,1|1|0,0,1|1"); // three tools and the copy
    qmx::config::write(Setting::SDKDir, qmx::os::toWindowsPath(sdk.string()));
    qmx::config::write(Setting::LastMapDir, qmx::os::toWindowsPath(game.string()));

    std::vector<std::string> command = {(prog / "qmxcompile").string(), (maps / "m.vmf").string()};
    if (!copy)
        command.push_back("--no-copy");
    const std::vector<std::string> direct
        = {"wine", "cmd", "/c", qmx::os::toWindowsPath((sdk / "compile.bat").string())};
    std::vector<double> commandMs, directMs, commandCpu, directCpu;
    for (int i = 0; i <= runs; ++i) { // the first round warms up (caches, Wine's server) and writes compile.bat
        int commandStatus = 0, directStatus = 0;
        Timing c, d;
        if (i % 2 == 0) { // alternate, so that neither always runs right after the other
            c = timed(command, commandStatus);
            d = timed(direct, directStatus);
        } else {
            d = timed(direct, directStatus);
            c = timed(command, commandStatus);
        }
        if (commandStatus != 0 || directStatus != 0) {
            std::fprintf(stderr, "run %d failed: qmxcompile %d, direct %d\n", i, commandStatus, directStatus);
            return 1;
        }
        if (i > 0) {
            commandMs.push_back(c.wallMs);
            directMs.push_back(d.wallMs);
            commandCpu.push_back(c.cpuMs);
            directCpu.push_back(d.cpuMs);
        }
    }
    fs::remove_all(root);

    const double c = median(commandMs), d = median(directMs);
    std::printf("runner: %s, runs: %d, copy: %s\n", realWine ? "wine cmd /c (Wine, stand-in tools)" : "do-nothing wine",
                runs, copy ? "yes" : "no");
    std::printf("median qmxcompile (whole command): %.2f ms\n", c);
    std::printf("median direct run of the same compile.bat: %.2f ms\n", d);
    std::printf("overhead: %.2f ms (target: at most 20 ms)\n", c - d);
    // The processor time does not wait for a busy machine's other work.
    std::printf("median processor time: qmxcompile %.2f ms, direct %.2f ms, overhead %.2f ms\n", median(commandCpu),
                median(directCpu), median(commandCpu) - median(directCpu));
    return 0;
}
