#include "core/os/Os.h"

#include "core/os/Ascii.h"
#include "core/os/posix/HostPath.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qmx::os {

namespace {

bool endsWithExe(const std::string& s)
{
    return s.size() > 4 && iequals(std::string_view(s).substr(s.size() - 4), ".exe");
}

// Starts argv detached: a short-lived shell puts it in the background and reports 127 when the
// program cannot be found. We only wait for that shell, so no child is left for us to reap, and
// we never fork a process that may run other threads. A workingDir (host path) is where it starts.
bool spawnDetached(const std::vector<std::string>& argv, const std::string& workingDir = {})
{
    if (argv.empty())
        return false;
    std::vector<std::string> full
        = {"/bin/sh", "-c", "command -v \"$1\" >/dev/null 2>&1 || exit 127; \"$@\" </dev/null >/dev/null 2>&1 & exit 0",
           "qmx"};
    full.insert(full.end(), argv.begin(), argv.end());
    std::vector<char*> cargs;
    for (auto& a : full)
        cargs.push_back(a.data());
    cargs.push_back(nullptr);
    pid_t pid = 0;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (!workingDir.empty())
        ::posix_spawn_file_actions_addchdir_np(&actions, workingDir.c_str());
    const int spawned = ::posix_spawn(&pid, "/bin/sh", &actions, nullptr, cargs.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A Windows program starts with "MZ"; a game's native Linux build is run as itself, whatever its name.
// A program that cannot be read is judged by its name.
bool isWindowsProgram(const std::string& program)
{
    const std::string host = detail::hostFilePath(program);
    const int fd = host.empty() ? -1 : ::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return endsWithExe(program);
    char magic[2] = {};
    const bool mz = ::read(fd, magic, 2) == 2 && magic[0] == 'M' && magic[1] == 'Z';
    ::close(fd);
    return mz;
}

// The program and its arguments as Linux runs them: a Windows program through Wine (which takes
// Windows-form paths as they are), another Windows-form program path mapped to the host.
std::optional<std::vector<std::string>> hostArguments(std::string_view commandLine)
{
    std::vector<std::string> args = splitCommandLine(commandLine);
    if (args.empty())
        return std::nullopt;
    if (isWindowsProgram(args[0])) {
        args.insert(args.begin(), "wine");
    } else if (args[0].find('\\') != std::string::npos || (args[0].size() > 1 && args[0][1] == ':')) {
        args[0] = detail::hostFilePath(args[0]);
        if (args[0].empty())
            return std::nullopt;
    }
    return args;
}

} // namespace

bool startProgram(std::string_view commandLine)
{
    const std::optional<std::vector<std::string>> args = hostArguments(commandLine);
    return args && spawnDetached(*args);
}

bool startProgramIn(std::string_view commandLine, std::string_view workingDir)
{
    // Wine maps the host working directory back to its drive letter for the program.
    const std::string hostDir = toHostPath(workingDir);
    if (hostDir.empty() || !directoryExists(hostDir))
        return false;
    const std::optional<std::vector<std::string>> args = hostArguments(commandLine);
    return args && spawnDetached(*args, hostDir);
}

bool shellOpen(std::string_view target)
{
    if (target.empty())
        return false;
    std::string what(target);
    const bool isAddress = what.find("://") != std::string::npos || what.rfind("mailto:", 0) == 0;
    if (!isAddress) {
        what = detail::hostFilePath(target);
        if (what.empty() || ::access(what.c_str(), F_OK) != 0)
            return false;
    }
    return spawnDetached({"xdg-open", what});
}

} // namespace qmx::os
