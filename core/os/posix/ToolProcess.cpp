#include "core/os/ToolProcess.h"

#include "core/os/Os.h"
#include "core/os/ToolStep.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace qmx::os {

struct ToolProcess::Impl
{
    pid_t pid = -1; // "wine cmd /c", leader of the tool's process group
    int pipe = -1; // read end of the tools' standard output and error
    int pidfd = -1; // readable once the leader has ended; -1 where the kernel has none
    bool ended = false; // seen through waitid(WNOWAIT): the leader stays unreaped until the destructor
    int waitStatus = 0;
    detail::ToolStep step;
};

namespace {

bool onPath(const std::string& program)
{
    const std::string path = getEnv("PATH");
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string dir = end > start ? path.substr(start, end - start) : ".";
        if (::access((dir + "/" + program).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

int openPidfd(pid_t pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

// The leader's end, without reaping it: its process group stays valid for kill() until the destructor.
bool leaderEnded(pid_t pid, int& waitStatus)
{
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
        if (errno != EINTR)
            return true; // nothing to wait for any more
    }
    if (info.si_pid == 0)
        return false;
    waitStatus = info.si_code == CLD_EXITED ? info.si_status : 128 + info.si_status;
    return true;
}

void drain(int fd, std::string& bytes)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            bytes.append(buffer, static_cast<std::size_t>(n));
        else if (n < 0 && errno == EINTR)
            continue;
        else
            return; // end of the pipe, or nothing more right now
    }
}

// "wine cmd /c batch" with its output and errors into output, in a process group of its own; 0 or the error.
int spawnInterpreter(const std::string& batch, int output, pid_t& pid)
{
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, output, 1);
    ::posix_spawn_file_actions_adddup2(&actions, output, 2);
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    // A group of its own, for kill(); the terminal's Ctrl+C then reaches only us, and we decide.
    ::posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int signal : {SIGINT, SIGQUIT, SIGPIPE, SIGTERM})
        sigaddset(&defaults, signal);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setsigdefault(&attributes, &defaults);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    // By its path, Wine starts the interpreter itself; "cmd" alone goes through start.exe, a process more.
    static const std::string kInterpreter = "C:\\windows\\system32\\cmd.exe";
    std::vector<std::string> argv = {"wine", fileExists(kInterpreter) ? kInterpreter : "cmd", "/c", batch};
    std::vector<char*> args;
    for (std::string& arg : argv)
        args.push_back(arg.data());
    args.push_back(nullptr);
    // Wine's own debug messages would mix with the tools' output, unless the user asked for them.
    std::vector<char*> env;
    for (char** e = environ; *e; ++e)
        env.push_back(*e);
    std::string quiet = "WINEDEBUG=-all";
    if (!std::getenv("WINEDEBUG"))
        env.push_back(quiet.data());
    env.push_back(nullptr);

    const int spawned = ::posix_spawnp(&pid, "wine", &actions, &attributes, args.data(), env.data());
    ::posix_spawn_file_actions_destroy(&actions);
    ::posix_spawnattr_destroy(&attributes);
    return spawned;
}

} // namespace

ToolProcess::ToolProcess()
    : m_impl(std::make_unique<Impl>())
{
}

std::unique_ptr<ToolProcess> ToolProcess::start(std::string_view batchLine, std::string_view scratchDir,
                                                std::string* error)
{
    const auto fail = [error](std::string why) -> std::unique_ptr<ToolProcess> {
        if (error)
            *error = std::move(why);
        return nullptr;
    };
    if (!onPath("wine"))
        return fail("wine was not found on the PATH (is Wine installed?)");

    std::unique_ptr<ToolProcess> process(new ToolProcess);
    Impl& impl = *process->m_impl;
    std::string why;
    if (!impl.step.write(batchLine, scratchDir, &why))
        return fail(why);

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return fail(std::string("no pipe for the tool's output: ") + std::strerror(errno));
    const int spawned = spawnInterpreter(impl.step.batch, fds[1], impl.pid);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        impl.pid = -1;
        return fail(std::string("wine could not be started: ") + std::strerror(spawned));
    }
    impl.pipe = fds[0];
    impl.pidfd = openPidfd(impl.pid);
    return process;
}

ToolProcess::~ToolProcess()
{
    if (m_impl->pid > 0) {
        if (!m_impl->ended)
            kill();
        while (::waitpid(m_impl->pid, nullptr, 0) < 0 && errno == EINTR) { }
    }
    for (int fd : {m_impl->pipe, m_impl->pidfd}) {
        if (fd >= 0)
            ::close(fd);
    }
    m_impl->step.remove();
}

bool ToolProcess::read(std::string& bytes)
{
    Impl& impl = *m_impl;
    while (!impl.ended) {
        pollfd watched[2] = {{impl.pipe, POLLIN, 0}, {impl.pidfd, POLLIN, 0}};
        // Without a pidfd the end is looked for now and then; with one, poll wakes for it.
        const int ready = ::poll(watched, 2, impl.pidfd >= 0 ? -1 : 100);
        if (ready < 0 && errno != EINTR)
            break;
        if (impl.pipe >= 0 && (watched[0].revents & (POLLIN | POLLHUP | POLLERR))) {
            char buffer[65536];
            const ssize_t n = ::read(impl.pipe, buffer, sizeof buffer);
            if (n > 0) {
                bytes.append(buffer, static_cast<std::size_t>(n));
                return true;
            }
            if (n == 0 || errno != EINTR) {
                ::close(impl.pipe); // the end of its output; what remains is its exit
                impl.pipe = -1;
            }
        }
        impl.ended = leaderEnded(impl.pid, impl.waitStatus);
    }
    if (impl.pipe < 0)
        return false;
    // Whatever the tools wrote before the end is in the pipe now; a process they left behind may still hold
    // it open, so read what is there and stop.
    ::fcntl(impl.pipe, F_SETFL, ::fcntl(impl.pipe, F_GETFL) | O_NONBLOCK);
    const std::size_t before = bytes.size();
    drain(impl.pipe, bytes);
    ::close(impl.pipe);
    impl.pipe = -1;
    return bytes.size() > before;
}

std::int32_t ToolProcess::exitStatus() const
{
    // Wine's own exit code keeps only the low 8 bits of the tool's (256 would read as 0).
    if (const std::optional<std::int32_t> status = m_impl->step.readStatus())
        return *status;
    // No status written: the interpreter itself failed, or the tool was ended. Never 0 then.
    return m_impl->waitStatus != 0 ? m_impl->waitStatus : -1;
}

void ToolProcess::kill()
{
    if (m_impl->pid > 0)
        ::kill(-m_impl->pid, SIGKILL);
}

// ---- interrupts ----

struct InterruptWatch::Impl
{
    Handler handler;
    void* context;
    sigset_t oldMask;
    std::atomic<bool> closing{false};
    std::atomic<bool> interrupted{false};
    std::thread waiter;
};

InterruptWatch::InterruptWatch(Handler handler, void* context)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->handler = handler;
    m_impl->context = context;
    // Blocked here, so threads started from now on inherit it and only the waiter takes the signal.
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    ::pthread_sigmask(SIG_BLOCK, &interrupt, &m_impl->oldMask);
    m_impl->waiter = std::thread([impl = m_impl.get(), interrupt] {
        int signal = 0;
        while (::sigwait(&interrupt, &signal) == 0 && !impl->closing) {
            impl->interrupted = true;
            impl->handler(impl->context);
        }
    });
}

InterruptWatch::~InterruptWatch()
{
    m_impl->closing = true;
    ::pthread_kill(m_impl->waiter.native_handle(), SIGINT);
    m_impl->waiter.join();
    ::pthread_sigmask(SIG_SETMASK, &m_impl->oldMask, nullptr);
}

bool InterruptWatch::interrupted() const
{
    return m_impl->interrupted;
}

} // namespace qmx::os
