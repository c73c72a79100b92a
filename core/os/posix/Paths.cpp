#include "core/os/Os.h"

#include "core/os/Ascii.h"
#include "core/os/posix/HostPath.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// Windows-form paths are mapped through the Wine prefix's dosdevices links. The prefix is looked up on
// every call: tests switch WINEPREFIX between cases, and the links are cheap to read.

namespace qmx::os {

namespace {

struct DriveRoot
{
    char letter;
    std::string lexical; // the link target as written, made absolute
    std::string real; // the same with symlinks resolved ("" when it does not exist)
};

// Removes "." and empty components and resolves ".." without touching the file system.
std::string normalizeLexically(const std::string& path)
{
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i <= path.size()) {
        std::size_t j = path.find('/', i);
        if (j == std::string::npos)
            j = path.size();
        const std::string part = path.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string out;
    for (const auto& p : parts)
        out += "/" + p;
    return out.empty() ? "/" : out;
}

std::string realPath(const std::string& path)
{
    char buf[PATH_MAX];
    if (::realpath(path.c_str(), buf))
        return buf;
    return {};
}

std::string homeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

std::vector<DriveRoot> driveRoots()
{
    std::vector<DriveRoot> roots;
    const std::string dosdevices = winePrefix() + "/dosdevices";
    DIR* dir = ::opendir(dosdevices.c_str());
    if (!dir) {
        // No prefix yet: Wine itself would give Z: for the root of the file system.
        roots.push_back({'Z', "/", "/"});
        return roots;
    }
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        // "c:" is a drive; "c::" is the raw device behind it.
        if (name.size() != 2 || name[1] != ':')
            continue;
        char letter = name[0];
        if (letter >= 'a' && letter <= 'z')
            letter = static_cast<char>(letter - 'a' + 'A');
        if (letter < 'A' || letter > 'Z')
            continue;
        const std::string link = dosdevices + "/" + name;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
        std::string lexical;
        if (n > 0) {
            target[n] = '\0';
            lexical = target[0] == '/' ? std::string(target) : dosdevices + "/" + target;
        } else {
            lexical = link; // a real directory instead of a link
        }
        lexical = normalizeLexically(lexical);
        roots.push_back({letter, lexical, realPath(link)});
    }
    ::closedir(dir);
    std::sort(roots.begin(), roots.end(), [](const DriveRoot& a, const DriveRoot& b) { return a.letter < b.letter; });
    roots.erase(std::unique(roots.begin(), roots.end(),
                            [](const DriveRoot& a, const DriveRoot& b) { return a.letter == b.letter; }),
                roots.end());
    return roots;
}

// Length of root when it is a whole-component prefix of path, else 0.
std::size_t prefixLength(const std::string& root, const std::string& path)
{
    if (root.empty())
        return 0;
    if (root == "/")
        return 1;
    if (path.compare(0, root.size(), root) != 0)
        return 0;
    if (path.size() == root.size() || path[root.size()] == '/')
        return root.size();
    return 0;
}

bool hasDriveLetter(std::string_view p)
{
    return p.size() >= 2 && p[1] == ':' && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
}

// The host path with its last component as the directory spells it (see matchFileNameCase).
std::string matchHostNameCase(const std::string& host)
{
    struct stat st
    {
    };
    // Spelt as given when that exists, or when we cannot look (then the call that follows reports it).
    if (::lstat(host.c_str(), &st) == 0 || errno != ENOENT)
        return host;
    const std::size_t slash = host.rfind('/');
    const std::string name = slash == std::string::npos ? host : host.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        return host;
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : host.substr(0, slash));
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return host;
    std::string best;
    while (const dirent* e = ::readdir(d)) {
        // Byte order, so that the choice between two spellings never depends on the directory's order.
        if (iequals(e->d_name, name) && (best.empty() || best.compare(e->d_name) > 0))
            best = e->d_name;
    }
    ::closedir(d);
    return best.empty() ? host : host.substr(0, slash + 1) + best;
}

} // namespace

std::string winePrefix()
{
    if (const char* p = std::getenv("WINEPREFIX"); p && *p) {
        std::string prefix = p;
        while (prefix.size() > 1 && prefix.back() == '/')
            prefix.pop_back();
        return prefix;
    }
    return homeDirectory() + "/.wine";
}

std::vector<Drive> drives()
{
    std::vector<Drive> out;
    for (const auto& r : driveRoots())
        out.push_back({r.letter, r.real.empty() ? r.lexical : r.real});
    return out;
}

std::string toHostPath(std::string_view windowsPath)
{
    std::string p(windowsPath);
    std::replace(p.begin(), p.end(), '\\', '/');
    if (p.empty())
        return {};
    if (p[0] == '/')
        return p;
    if (!hasDriveLetter(p))
        return p.find(':') == std::string::npos ? p : std::string(); // relative paths stay relative
    char letter = p[0];
    if (letter >= 'a' && letter <= 'z')
        letter = static_cast<char>(letter - 'a' + 'A');
    for (const auto& r : driveRoots()) {
        if (r.letter != letter)
            continue;
        std::string rest = p.substr(2);
        while (!rest.empty() && rest.front() == '/')
            rest.erase(0, 1);
        std::string root = r.lexical;
        if (rest.empty())
            return root;
        if (root.back() != '/')
            root += '/';
        return root + rest;
    }
    return {};
}

std::string toWindowsPath(std::string_view hostPath)
{
    std::string p(hostPath);
    if (p.empty())
        return {};
    if (hasDriveLetter(p)) {
        std::replace(p.begin(), p.end(), '/', '\\');
        return p;
    }
    if (p[0] != '/') {
        char cwd[PATH_MAX];
        if (!::getcwd(cwd, sizeof cwd))
            return {};
        p = std::string(cwd) + "/" + p;
    }
    const auto roots = driveRoots();
    auto mapWith = [&](const std::string& path) -> std::string {
        std::size_t best = 0;
        const DriveRoot* bestRoot = nullptr;
        for (const auto& r : roots) {
            for (const std::string* root : {&r.lexical, &r.real}) {
                const std::size_t n = prefixLength(*root, path);
                if (n > best) {
                    best = n;
                    bestRoot = &r;
                }
            }
        }
        if (!bestRoot)
            return {};
        std::string rest = path.substr(best);
        while (!rest.empty() && rest.front() == '/')
            rest.erase(0, 1);
        while (!rest.empty() && rest.back() == '/')
            rest.pop_back();
        std::replace(rest.begin(), rest.end(), '/', '\\');
        return std::string(1, bestRoot->letter) + ":\\" + rest;
    };
    std::string out = mapWith(normalizeLexically(p));
    if (out.empty()) {
        const std::string real = realPath(p);
        if (!real.empty())
            out = mapWith(real);
    }
    return out;
}

namespace detail {

std::string hostFilePath(std::string_view path)
{
    const std::string host = toHostPath(path);
    return host.empty() ? host : matchHostNameCase(host);
}

} // namespace detail

std::string matchFileNameCase(std::string_view path)
{
    const std::string host = toHostPath(path);
    if (host.empty())
        return std::string(path);
    const std::string matched = matchHostNameCase(host);
    if (matched == host)
        return std::string(path);
    // Only the last component differs: put the found spelling into the path as it was given.
    const std::size_t given = path.find_last_of("\\/");
    const std::string head(path.substr(0, given == std::string_view::npos ? 0 : given + 1));
    return head + matched.substr(matched.rfind('/') + 1);
}

bool directoryExists(std::string_view path)
{
    const std::string host = toHostPath(path);
    struct stat st
    {
    };
    return !host.empty() && ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool fileExists(std::string_view path)
{
    const std::string host = detail::hostFilePath(path);
    struct stat st
    {
    };
    return !host.empty() && ::stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::int64_t> fileModifiedTime(std::string_view path)
{
    const std::string host = detail::hostFilePath(path);
    struct stat st
    {
    };
    if (host.empty() || ::stat(host.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

bool removeFile(std::string_view path)
{
    const std::string host = detail::hostFilePath(path);
    return !host.empty() && ::unlink(host.c_str()) == 0;
}

} // namespace qmx::os
