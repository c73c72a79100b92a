// One start of a program for the start-up benchmark, timed from outside the same way for every program:
//
//   startup_probe [--listed] -- PROGRAM [ARGUMENT...]
//
// Starts PROGRAM with its standard output on a pipe and waits until it has printed the wall clock at which its
// window was shown (QMX_REPORT_SHOWN) and ended. With --listed it waits instead until the program has printed the
// time and the window manager lists a window of its process (_NET_WM_PID) in the root window's _NET_CLIENT_LIST,
// then ends the program: run it with QMX_REPORT_SHOWN=keep, since a window that closes at once may leave the list
// before the list is read. Prints one line, times from just before the start, in microseconds: shown, listed ("-"
// without --listed), the whole process until it ended, its processor time (user and system), and its peak resident
// memory in KiB. Exits non-zero when the program printed no time, ended with a failure, or took longer than 60 s.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

long long nowNs(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

// The 32-bit items of a window's property (Xlib hands them as longs).
std::vector<unsigned long> property32(Display* display, Window window, Atom property, Atom type)
{
    std::vector<unsigned long> items;
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 65536, False, type, &actual, &format, &count, &after, &data)
            == Success
        && data != nullptr) {
        if (format == 32) {
            const auto* list = reinterpret_cast<const unsigned long*>(data);
            items.assign(list, list + count);
        }
        XFree(data);
    }
    return items;
}

// Whether the window manager lists a window of process pid. By process, not by a window new to the list: the
// X server hands a new client the window ids of one that just ended, while the list may still hold them.
bool listsWindowOf(Display* display, Atom clientList, Atom wmPid, pid_t pid)
{
    for (unsigned long window : property32(display, DefaultRootWindow(display), clientList, XA_WINDOW)) {
        const std::vector<unsigned long> owner = property32(display, window, wmPid, XA_CARDINAL);
        if (!owner.empty() && owner[0] == static_cast<unsigned long>(pid))
            return true;
    }
    return false;
}

// A listed window may be gone before its properties are read.
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

int fail(const char* what)
{
    std::fprintf(stderr, "startup_probe: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    bool listed = false;
    int first = 1;
    for (; first < argc && std::strcmp(argv[first], "--") != 0; ++first)
        listed = listed || std::strcmp(argv[first], "--listed") == 0;
    if (++first >= argc)
        return fail("usage: startup_probe [--listed] -- PROGRAM [ARGUMENT...]");

    Display* display = nullptr;
    Atom clientListAtom = None, wmPidAtom = None;
    if (listed) {
        display = XOpenDisplay(nullptr);
        if (display == nullptr)
            return fail("cannot open the display");
        XSetErrorHandler(ignoreXError);
        clientListAtom = XInternAtom(display, "_NET_CLIENT_LIST", False);
        wmPidAtom = XInternAtom(display, "_NET_WM_PID", False);
        XSelectInput(display, DefaultRootWindow(display), PropertyChangeMask);
        XSync(display, False);
    }

    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return fail("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const long long startReal = nowNs(CLOCK_REALTIME);
    const long long startMono = nowNs(CLOCK_MONOTONIC);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[first], &actions, nullptr, argv + first, environ) != 0)
        return fail("cannot start the program");
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);

    // The end of the program is seen through a pidfd, not through the end of the pipe: what it starts
    // (Wine's services) may keep the pipe open.
    const int ended = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (ended < 0)
        return fail("pidfd_open");
    std::string printed;
    long long listedNs = -1, wholeNs = -1;
    bool open = true;
    const long long deadline = startMono + 60 * 1000000000LL;
    const auto timePrinted = [&printed] { return printed.find('\n') != std::string::npos; };
    while (wholeNs < 0 && !(listed && listedNs >= 0 && timePrinted())) {
        const long long left = (deadline - nowNs(CLOCK_MONOTONIC)) / 1000000;
        if (left <= 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return fail("no window within 60 s");
        }
        pollfd fds[3] = {
            {open ? out[0] : -1, POLLIN, 0}, {display ? ConnectionNumber(display) : -1, POLLIN, 0}, {ended, POLLIN, 0}};
        if (poll(fds, 3, static_cast<int>(left)) < 0)
            continue;
        if (fds[2].revents != 0)
            wholeNs = nowNs(CLOCK_MONOTONIC) - startMono;
        if (fds[0].revents != 0) {
            char buffer[256];
            const ssize_t n = read(out[0], buffer, sizeof buffer);
            if (n > 0)
                printed.append(buffer, static_cast<std::size_t>(n));
            else
                open = false;
        }
        while (display != nullptr && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (listedNs >= 0 || event.type != PropertyNotify || event.xproperty.atom != clientListAtom)
                continue;
            if (listsWindowOf(display, clientListAtom, wmPidAtom, pid))
                listedNs = nowNs(CLOCK_REALTIME) - startReal;
        }
    }
    // What the program printed before it ended.
    fcntl(out[0], F_SETFL, O_NONBLOCK);
    for (char buffer[256]; open;) {
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n > 0)
            printed.append(buffer, static_cast<std::size_t>(n));
        else
            open = false;
    }
    if (listed) {
        if (listedNs < 0)
            return fail("the program ended before its window was listed");
        kill(pid, SIGKILL);
    }

    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return fail("wait4");
    if (wholeNs < 0)
        wholeNs = nowNs(CLOCK_MONOTONIC) - startMono;
    if (!listed && (!WIFEXITED(status) || WEXITSTATUS(status) != 0))
        return fail("the program failed");

    // The last line is the time; Wine may end it with CR LF.
    long long shownAt = 0;
    std::size_t line = printed.find_last_not_of("\r\n");
    if (line != std::string::npos) {
        line = printed.find_last_of('\n', line);
        shownAt = std::atoll(printed.c_str() + (line == std::string::npos ? 0 : line + 1));
    }
    if (shownAt <= startReal)
        return fail("the program printed no time");
    const auto us = [](long long ns) { return ns / 1000; };
    const long long cpuUs
        = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL + usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    std::string listedText = "-";
    if (listed)
        listedText = std::to_string(us(listedNs));
    std::printf("%lld %s %lld %lld %ld\n", us(shownAt - startReal), listedText.c_str(), us(wholeNs), cpuUs,
                usage.ru_maxrss);
    return 0;
}
