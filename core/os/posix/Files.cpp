#include "core/os/Os.h"

#include "core/os/Ascii.h"
#include "core/os/TempName.h"
#include "core/os/Wildcard.h"
#include "core/os/posix/HostPath.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qmx::os {

namespace {

enum class Kind
{
    Other,
    File,
    Directory
};

Kind kindOf(const std::string& dir, const dirent* e)
{
    // d_type saves a stat per entry in big directories; links and unknown types need the stat.
    if (e->d_type == DT_REG)
        return Kind::File;
    if (e->d_type == DT_DIR)
        return Kind::Directory;
    if (e->d_type != DT_LNK && e->d_type != DT_UNKNOWN)
        return Kind::Other;
    struct stat st
    {
    };
    if (::stat((dir + "/" + e->d_name).c_str(), &st) != 0)
        return Kind::Other;
    if (S_ISREG(st.st_mode))
        return Kind::File;
    if (S_ISDIR(st.st_mode))
        return Kind::Directory;
    return Kind::Other;
}

// Linux has no hidden attribute; a leading dot is the convention that stands for it.
bool isHidden(const char* name)
{
    return name[0] == '.';
}

void sortNames(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return ilessThan(a, b); });
}

std::string errorText(const char* what, const std::string& path, int err)
{
    return std::string(what) + " " + path + ": " + std::strerror(err);
}

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The one temporary file that writes of target go through (see replaceFile): target's name and ".qmxtmp",
// or where that would pass a limit (255 bytes a name, PATH_MAX a path) a name no longer than target's own.
std::string tempPathFor(const std::string& target)
{
    constexpr std::string_view kSuffix = ".qmxtmp";
    constexpr std::size_t kMaxName = 255; // NAME_MAX of the usual Linux file systems
    const std::size_t slash = target.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (target.size() - nameStart + kSuffix.size() <= kMaxName && target.size() + kSuffix.size() < PATH_MAX)
        return target + std::string(kSuffix);
    return target.substr(0, nameStart) + detail::shortTempName(std::string_view(target).substr(nameStart));
}

// Takes the lock on fd, waiting up to five seconds: a writer that hangs (a stopped process) must not
// hang us. False with errno set when the lock was not had.
bool lockWithin5Seconds(int fd)
{
    for (int tries = 0; tries < 500; ++tries) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        ::usleep(10000);
    }
    errno = EWOULDBLOCK;
    return false;
}

// Opens target's temporary file and locks it. A writer of the same target in another process holds the
// lock until it has renamed its file into place; the descriptor we then hold names the target itself,
// so we let it go and open the name again.
int openLockedTemp(const std::string& tmp)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        // No O_TRUNC: the file may still be another writer's until we hold the lock.
        const int fd = ::open(tmp.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return -1;
        if (!lockWithin5Seconds(fd)) {
            const int err = errno;
            ::close(fd);
            errno = err;
            return -1;
        }
        struct stat held
        {
        };
        struct stat named
        {
        };
        if (::fstat(fd, &held) == 0 && ::lstat(tmp.c_str(), &named) == 0 && held.st_dev == named.st_dev
            && held.st_ino == named.st_ino && S_ISREG(held.st_mode))
            return fd;
        ::close(fd);
    }
    errno = EBUSY;
    return -1;
}

// Makes the rename into target's directory survive a power cut, where the file system can sync a directory.
void syncDirectory(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Under the lock of target's temporary file: reads target when edit is given and writes what it makes of
// it (else bytes) to the temporary file, which is then renamed to target.
bool writeViaTemp(const std::string& target, std::string_view bytes, const FileEdit* edit, std::size_t maxBytes,
                  mode_t mode, std::string* error)
{
    const std::string tmp = tempPathFor(target);
    const int fd = openLockedTemp(tmp);
    if (fd < 0) {
        if (error)
            *error = errorText("Cannot create a file beside", target, errno);
        return false;
    }
    // Read only now: a writer that read before it had the lock would write back what another just changed.
    std::string edited;
    if (edit) {
        std::string old;
        const bool read = readFile(target, old, maxBytes);
        struct stat st
        {
        };
        // A file that is there but cannot be read (or is too big) is never replaced.
        std::optional<std::string> made
            = read || ::lstat(target.c_str(), &st) != 0 ? (*edit)(read ? &old : nullptr) : std::nullopt;
        if (!made || (read && *made == old)) {
            ::unlink(tmp.c_str()); // still ours: we hold its lock
            ::close(fd);
            if (!made && error)
                *error = "Cannot change " + target;
            return made.has_value();
        }
        edited = std::move(*made);
        bytes = edited;
    }
    const bool ok = ::ftruncate(fd, 0) == 0 && ::fchmod(fd, mode) == 0 && writeAll(fd, bytes.data(), bytes.size())
        && ::fsync(fd) == 0 && ::rename(tmp.c_str(), target.c_str()) == 0;
    const int err = errno;
    if (ok)
        syncDirectory(target);
    else
        ::unlink(tmp.c_str());
    ::close(fd); // lets the next writer of the target go on
    if (!ok && error)
        *error = errorText("Cannot write", target, err);
    return ok;
}

// replaceFile and updateFile on a host path. The new content gets the mode given, or else the old file's,
// or for a new file the one the umask leaves.
bool replaceHostFile(std::string host, std::string_view bytes, const FileEdit* edit, std::size_t maxBytes,
                     std::optional<mode_t> newMode, std::string* error)
{
    struct stat st
    {
    };
    if (::lstat(host.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        // The link is the user's: what it points to is replaced, never the link. A link that leads in a
        // circle is refused, and so is one that points nowhere. Windows would create the file such a
        // link names; we do not, since it may lie on a drive that is not there now, and a settings
        // file created out of sight is worse than a value not stored.
        char real[PATH_MAX];
        if (!::realpath(host.c_str(), real)) {
            if (error)
                *error = errorText("Cannot write through the link", host, errno);
            return false;
        }
        host = real;
    }
    mode_t mode = 0644;
    if (::stat(host.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            if (error)
                *error = host + " is not a file";
            return false;
        }
        // A read-only file stays as it is, as on Windows, though its directory would allow a rename.
        if ((st.st_mode & 0222) == 0 || ::access(host.c_str(), W_OK) != 0) {
            if (error)
                *error = errorText("Cannot write", host, EACCES);
            return false;
        }
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    return writeViaTemp(host, bytes, edit, maxBytes, newMode.value_or(mode), error);
}

} // namespace

std::string probeFirstFile(std::string_view pattern)
{
    const std::string host = toHostPath(pattern);
    if (host.empty())
        return {};
    std::size_t slash = host.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : host.substr(0, slash));
    const std::string namePattern = slash == std::string::npos ? host : host.substr(slash + 1);
    if (namePattern.empty())
        return {};
    if (namePattern.find_first_of("*?") == std::string::npos) {
        // A plain name finds the very file that reads and writes of that name open.
        const std::string file = detail::hostFilePath(pattern);
        slash = file.rfind('/');
        const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
        struct stat st
        {
        };
        return !isHidden(name.c_str()) && ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? name : std::string();
    }
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return {};
    std::string found;
    while (const dirent* e = ::readdir(d)) {
        if (isHidden(e->d_name) || !wildcardMatch(namePattern, e->d_name))
            continue;
        if (kindOf(dir, e) == Kind::File) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

bool writeFile(std::string_view path, std::string_view bytes, std::string* error)
{
    const std::string host = detail::hostFilePath(path);
    if (host.empty()) {
        if (error)
            *error = "No drive maps " + std::string(path);
        return false;
    }
    const int fd = ::open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error)
            *error = errorText("Cannot create", host, errno);
        return false;
    }
    bool ok = writeAll(fd, bytes.data(), bytes.size());
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok && error)
        *error = errorText("Cannot write", host, err);
    return ok;
}

static Listing listDirectory(std::string_view dir, Kind want, std::string_view pattern)
{
    Listing out;
    const std::string host = toHostPath(dir);
    if (host.empty())
        return out;
    DIR* d = ::opendir(host.c_str());
    if (!d)
        return out;
    while (const dirent* e = ::readdir(d)) {
        if (isHidden(e->d_name))
            continue;
        if (!pattern.empty() && !wildcardMatch(pattern, e->d_name))
            continue;
        if (kindOf(host, e) == want)
            out.names.emplace_back(e->d_name);
    }
    ::closedir(d);
    sortNames(out.names);
    out.ok = true;
    return out;
}

Listing subdirectories(std::string_view dir)
{
    return listDirectory(dir, Kind::Directory, {});
}

Listing filesMatching(std::string_view dir, std::string_view pattern)
{
    return listDirectory(dir, Kind::File, pattern.empty() ? std::string_view("*") : pattern);
}

std::string getShortPath(std::string_view path)
{
    // Linux paths have no short form; the path itself stands in when it exists and would fit the
    // 164-character buffer that the Windows call gets.
    if (path.empty() || path.size() >= 164)
        return {};
    const std::string host = toHostPath(path);
    struct stat st
    {
    };
    if (host.empty() || ::stat(host.c_str(), &st) != 0)
        return {};
    return std::string(path);
}

bool copyFile(std::string_view from, std::string_view to)
{
    const std::string src = detail::hostFilePath(from);
    const std::string dst = detail::hostFilePath(to);
    if (src.empty() || dst.empty())
        return false;
    std::string bytes;
    if (!readFile(src, bytes, static_cast<std::size_t>(-1)))
        return false;
    struct stat st
    {
    };
    const mode_t mode = ::stat(src.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    return replaceHostFile(dst, bytes, nullptr, 0, mode, nullptr);
}

bool readFile(std::string_view path, std::string& bytes, std::size_t maxBytes)
{
    bytes.clear();
    const std::string host = detail::hostFilePath(path);
    if (host.empty())
        return false;
    // O_NONBLOCK: a FIFO in place of a file must not hang the program; regular files ignore it.
    const int fd = ::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return false;
    }
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        bytes.append(buf, static_cast<std::size_t>(n));
        if (bytes.size() > maxBytes) {
            ok = false; // the file grew while we read it
            break;
        }
    }
    ::close(fd);
    if (!ok)
        bytes.clear();
    return ok;
}

bool replaceFile(std::string_view path, std::string_view bytes, std::string* error)
{
    const std::string host = detail::hostFilePath(path);
    if (host.empty()) {
        if (error)
            *error = "No drive maps " + std::string(path);
        return false;
    }
    return replaceHostFile(host, bytes, nullptr, 0, std::nullopt, error);
}

bool updateFile(std::string_view path, const FileEdit& edit, std::size_t maxBytes, std::string* error)
{
    const std::string host = detail::hostFilePath(path);
    if (host.empty()) {
        if (error)
            *error = "No drive maps " + std::string(path);
        return false;
    }
    return replaceHostFile(host, {}, &edit, maxBytes, std::nullopt, error);
}

} // namespace qmx::os
