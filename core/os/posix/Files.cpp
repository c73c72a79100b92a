#include "core/os/Os.h"

#include "core/os/Ascii.h"
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

// Writes bytes to a fresh temporary file in dir and renames it to target.
bool writeViaTemp(const std::string& target, std::string_view bytes, mode_t mode, std::string* error)
{
    std::string tmp = target + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) {
        if (error)
            *error = errorText("Cannot create a file beside", target, errno);
        return false;
    }
    ::fchmod(fd, mode);
    bool ok = writeAll(fd, bytes.data(), bytes.size());
    int err = errno;
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        err = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        if (error)
            *error = errorText("Cannot write", target, err);
    }
    return ok;
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

bool writeAnsiTextFile(std::string_view path, const std::vector<std::string>& lines, std::string* error)
{
    const std::string host = detail::hostFilePath(path);
    if (host.empty()) {
        if (error)
            *error = "No drive maps " + std::string(path);
        return false;
    }
    std::string bytes;
    for (const auto& line : lines) {
        bytes += toAnsi(line);
        bytes += "\r\n";
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
    return writeViaTemp(dst, bytes, mode, nullptr);
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
    std::string host = detail::hostFilePath(path);
    if (host.empty()) {
        if (error)
            *error = "No drive maps " + std::string(path);
        return false;
    }
    struct stat st
    {
    };
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
        // Replace what a link points to, not the link.
        char real[PATH_MAX];
        if (::realpath(host.c_str(), real))
            host = real;
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    return writeViaTemp(host, bytes, mode, error);
}

} // namespace qmx::os
