#include "core/os/ConsoleRun.h"

#include "core/os/Os.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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
    bool holdsInterrupts = false; // the terminal's Ctrl+C and Ctrl+\ go to the batch alone
    struct sigaction oldInt = {};
    struct sigaction oldQuit = {};
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

// The environment for the runner: unchanged, but in the terminal Wine's debug messages would mix with the
// tools' output, so they are off unless the user set WINEDEBUG.
std::vector<char*> runnerEnvironment(ConsoleRun::Mode mode, std::string& quietWine)
{
    std::vector<char*> env;
    for (char** e = environ; *e; ++e)
        env.push_back(*e);
    if (mode == ConsoleRun::InThisTerminal && !std::getenv("WINEDEBUG")) {
        quietWine = "WINEDEBUG=-all";
        env.push_back(quietWine.data());
    }
    env.push_back(nullptr);
    return env;
}

// A signal's end is reported as a shell does: 128 and the signal's number.
int exitCodeOf(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

} // namespace

ConsoleRun::~ConsoleRun()
{
    // Reap the child if it has ended; one still running is left to itself (its console stays open).
    if (m_impl && !m_impl->done && m_impl->pid > 0)
        finished();
    if (m_impl)
        ended();
}

void ConsoleRun::ended()
{
    if (!m_impl->holdsInterrupts)
        return;
    m_impl->holdsInterrupts = false;
    sigaction(SIGINT, &m_impl->oldInt, nullptr);
    sigaction(SIGQUIT, &m_impl->oldQuit, nullptr);
}

std::unique_ptr<ConsoleRun> ConsoleRun::start(std::string_view batchPath, std::string* error, Mode mode)
{
    std::string runner = mode == InThisTerminal ? "wine" : "wineconsole";
    if (!onPath(runner)) {
        if (error)
            *error = runner + " was not found on the PATH (is Wine installed?)";
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
    std::string quietWine;
    std::vector<char*> env = runnerEnvironment(mode, quietWine);
    if (mode == InThisTerminal) {
        // Whatever we buffered must not come after the tools' output.
        std::fflush(stdout);
        std::fflush(stderr);
    }
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, runner.c_str(), nullptr, nullptr, argv, env.data());
    if (rc != 0) {
        if (error)
            *error = runner + " could not be started: " + std::string(std::strerror(rc));
        return nullptr;
    }
    std::unique_ptr<ConsoleRun> run(new ConsoleRun);
    run->m_impl = std::make_unique<Impl>();
    run->m_impl->pid = pid;
    if (mode == InThisTerminal) {
        // The terminal sends Ctrl+C to the batch and to us alike; the batch decides, and we stay to report
        // how it ended. Set after the spawn, so the child keeps the default handling.
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGINT, &ignore, &run->m_impl->oldInt);
        sigaction(SIGQUIT, &ignore, &run->m_impl->oldQuit);
        run->m_impl->holdsInterrupts = true;
    }
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
    m_exitCode = r == m_impl->pid ? exitCodeOf(status) : -1; // -1: reaped elsewhere; nothing more to learn
    ended();
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
        m_exitCode = r == m_impl->pid ? exitCodeOf(status) : -1;
        ended();
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

std::vector<std::string> terminalArguments(int argc, char** argv)
{
    // Linux hands arguments over as the terminal wrote them: UTF-8.
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return args;
}

namespace {
void writeAllTo(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // a closed pipe or a full disk: nothing left to tell it to
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}
} // namespace

void writeTerminalText(TerminalStream stream, std::string_view utf8)
{
    writeTerminalBytes(stream, utf8);
}

void writeTerminalBytes(TerminalStream stream, std::string_view bytes)
{
    writeAllTo(stream == TerminalStream::Output ? STDOUT_FILENO : STDERR_FILENO, bytes);
}

} // namespace qmx::os
