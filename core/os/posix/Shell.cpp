#include "core/os/Os.h"

#include "core/os/Ascii.h"
#include "core/os/posix/HostPath.h"

#include <cerrno>
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
// we never fork a process that may run other threads.
bool spawnDetached(const std::vector<std::string>& argv)
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
    if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, cargs.data(), environ) != 0)
        return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

bool startProgram(std::string_view commandLine)
{
    std::vector<std::string> args = splitCommandLine(commandLine);
    if (args.empty())
        return false;
    // Windows programs run through Wine, which takes Windows-form paths as they are.
    if (endsWithExe(args[0])) {
        args.insert(args.begin(), "wine");
    } else if (args[0].find('\\') != std::string::npos || (args[0].size() > 1 && args[0][1] == ':')) {
        const std::string host = detail::hostFilePath(args[0]);
        if (host.empty())
            return false;
        args[0] = host;
    }
    return spawnDetached(args);
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
