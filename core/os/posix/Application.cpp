#include "core/os/Os.h"

#include "core/os/ProgramPath.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace qmx::os {

namespace {

std::string executablePath()
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    return std::string(buf, static_cast<std::size_t>(n));
}

// FNV-1a: a stable file name for the lock, whatever characters the directory holds.
std::uint64_t hashText(std::string_view text)
{
    std::uint64_t h = 1469598103934665603ull;
    for (char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

} // namespace

std::string programDirectory()
{
    const std::string& given = detail::programDirectoryOverride();
    if (!given.empty()) {
        if (given[0] != '/')
            return detail::withoutTrailingSeparators(given);
        const std::string win = toWindowsPath(given);
        return detail::withoutTrailingSeparators(win.empty() ? given : win);
    }
    const std::string exe = executablePath();
    const std::size_t slash = exe.rfind('/');
    const std::string dir = slash == std::string::npos || slash == 0 ? std::string("/") : exe.substr(0, slash);
    const std::string win = toWindowsPath(dir);
    // No drive maps it (a prefix without Z:): the host path still works with every routine here.
    return detail::withoutTrailingSeparators(win.empty() ? dir : win);
}

std::string executableName()
{
    return detail::fileStem(executablePath());
}

// The lock's descriptor stays open until releaseInstanceLock(); the kernel drops the lock however the
// process ends, so a crashed copy never blocks the next start.
namespace {
int g_lockFd = -1;
bool g_otherRunning = false;
} // namespace

bool anotherInstanceRunning()
{
    if (g_lockFd >= 0 || g_otherRunning)
        return g_otherRunning;
    std::string dir;
    if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run && *run && ::access(run, W_OK) == 0)
        dir = run;
    else
        dir = "/tmp";
    char name[64];
    std::snprintf(name, sizeof name, "/qmxgui-%016llx.lock",
                  static_cast<unsigned long long>(hashText(programDirectory())));
    const std::string path = dir + name;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false; // cannot tell: let the program run rather than refuse
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        g_otherRunning = errno == EWOULDBLOCK;
        ::close(fd);
        return g_otherRunning;
    }
    g_lockFd = fd;
    return false;
}

void releaseInstanceLock()
{
    if (g_lockFd >= 0)
        ::close(g_lockFd);
    g_lockFd = -1;
    g_otherRunning = false;
}

std::string getEnv(std::string_view name)
{
    const char* value = std::getenv(std::string(name).c_str());
    return value ? std::string(value) : std::string();
}

} // namespace qmx::os
