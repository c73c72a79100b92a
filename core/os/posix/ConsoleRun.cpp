#include "core/os/ConsoleRun.h"

#include "core/os/Os.h"

#include <cerrno>
#include <cstring>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qmx::os {

struct ConsoleRun::Impl
{
    pid_t pid = -1;
    bool done = false;
};

namespace {

// posix_spawnp reports a missing program only through the child's exit, so look for it first to be
// able to say what is missing.
bool onPath(const std::string& program)
{
    const std::string path = getEnv("PATH");
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos)
            end = path.size();
        std::string dir = path.substr(start, end - start);
        if (dir.empty())
            dir = ".";
        if (access((dir + "/" + program).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

ConsoleRun::~ConsoleRun()
{
    // Reap the child if it has ended; one still running is left to itself (its console stays open).
    if (m_impl && !m_impl->done && m_impl->pid > 0)
        finished();
}

std::unique_ptr<ConsoleRun> ConsoleRun::start(std::string_view batchPath, std::string* error)
{
    std::string runner = "wineconsole";
    if (!onPath(runner)) {
        if (error)
            *error = "wineconsole was not found on the PATH (is Wine installed?)";
        return nullptr;
    }
    std::string windowsPath(batchPath);
    if (!windowsPath.empty() && windowsPath.front() == '/')
        windowsPath = toWindowsPath(windowsPath); // cmd would take a leading '/' for a switch
    if (windowsPath.empty()) {
        if (error)
            *error = "the batch file lies outside every drive of the Wine prefix: " + std::string(batchPath);
        return nullptr;
    }

    std::string cmd = "cmd";
    std::string slashC = "/c";
    char* argv[] = {runner.data(), cmd.data(), slashC.data(), windowsPath.data(), nullptr};
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, runner.c_str(), nullptr, nullptr, argv, environ);
    if (rc != 0) {
        if (error)
            *error = "wineconsole could not be started: " + std::string(std::strerror(rc));
        return nullptr;
    }
    std::unique_ptr<ConsoleRun> run(new ConsoleRun);
    run->m_impl = std::make_unique<Impl>();
    run->m_impl->pid = pid;
    return run;
}

bool ConsoleRun::finished()
{
    if (m_impl->done)
        return true;
    int status = 0;
    pid_t r;
    do {
        r = waitpid(m_impl->pid, &status, WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r == 0)
        return false;
    m_impl->done = true;
    if (r == m_impl->pid)
        m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    else
        m_exitCode = -1; // reaped elsewhere; nothing more to learn
    return true;
}

bool ConsoleRun::wait(int timeoutMs)
{
    if (finished())
        return true;
    if (timeoutMs < 0) {
        int status = 0;
        pid_t r;
        do {
            r = waitpid(m_impl->pid, &status, 0);
        } while (r < 0 && errno == EINTR);
        m_impl->done = true;
        m_exitCode = (r == m_impl->pid && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
        return true;
    }
    // No portable timed waitpid: short naps until the deadline.
    for (int waited = 0; waited < timeoutMs; waited += 5) {
        usleep(5000);
        if (finished())
            return true;
    }
    return finished();
}

} // namespace qmx::os
