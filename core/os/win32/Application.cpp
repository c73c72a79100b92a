#include "core/os/Os.h"

#include "core/os/ProgramPath.h"

#include "core/os/win32/Wide.h"

#include <cstdio>

namespace qmx::os {

namespace {

std::string modulePath()
{
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return {};
        if (n < buf.size()) {
            buf.resize(n);
            return narrow(buf);
        }
        buf.resize(buf.size() * 2);
    }
}

std::uint64_t hashText(std::string_view text)
{
    std::uint64_t h = 1469598103934665603ull;
    for (char c : text) {
        // Windows paths ignore case; so does the lock.
        h ^= static_cast<unsigned char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
        h *= 1099511628211ull;
    }
    return h;
}

} // namespace

std::string programDirectory()
{
    if (!detail::programDirectoryOverride().empty())
        return detail::withoutTrailingSeparators(detail::programDirectoryOverride());
    const std::string exe = modulePath();
    const std::size_t slash = exe.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : detail::withoutTrailingSeparators(exe.substr(0, slash));
}

std::string executableName()
{
    return detail::fileStem(modulePath());
}

// The mutex handle stays open until releaseInstanceLock(); Windows closes it however the process ends.
namespace {
HANDLE g_mutex = nullptr;
bool g_otherRunning = false;
} // namespace

bool anotherInstanceRunning()
{
    if (g_mutex || g_otherRunning)
        return g_otherRunning;
    char name[64];
    std::snprintf(name, sizeof name, "Local\\qmxgui-%016llx",
                  static_cast<unsigned long long>(hashText(programDirectory())));
    HANDLE h = CreateMutexA(nullptr, FALSE, name);
    if (!h)
        return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        g_otherRunning = true;
        return true;
    }
    g_mutex = h;
    return false;
}

void releaseInstanceLock()
{
    if (g_mutex)
        CloseHandle(g_mutex);
    g_mutex = nullptr;
    g_otherRunning = false;
}

std::string getEnv(std::string_view name)
{
    const std::string ansiName = toAnsi(name);
    const DWORD n = GetEnvironmentVariableA(ansiName.c_str(), nullptr, 0);
    if (n == 0)
        return {};
    std::string value(n, '\0');
    const DWORD got = GetEnvironmentVariableA(ansiName.c_str(), value.data(), n);
    if (got == 0 || got >= n)
        return {};
    value.resize(got);
    return fromAnsi(value);
}

} // namespace qmx::os
