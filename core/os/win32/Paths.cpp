#include "core/os/Os.h"

#include "core/os/win32/Wide.h"

#include <algorithm>

namespace qmx::os {

std::vector<Drive> drives()
{
    std::vector<Drive> out;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (mask & (1u << i)) {
            const char letter = static_cast<char>('A' + i);
            out.push_back({letter, std::string(1, letter) + ":\\"});
        }
    }
    return out;
}

std::string winePrefix()
{
    return {};
}

std::string toHostPath(std::string_view windowsPath)
{
    return std::string(windowsPath);
}

std::string toWindowsPath(std::string_view hostPath)
{
    // Host paths on Windows are Windows paths already, but may come with '/' (Qt and std::filesystem
    // write them so); the program keeps and shows every path with '\'.
    std::string path(hostPath);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string matchFileNameCase(std::string_view path)
{
    return std::string(path); // the file system itself ignores case
}

bool directoryExists(std::string_view path)
{
    if (path.empty())
        return false;
    const DWORD attr = GetFileAttributesW(widen(path).c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool fileExists(std::string_view path)
{
    if (path.empty())
        return false;
    const DWORD attr = GetFileAttributesW(widen(path).c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::int64_t> fileModifiedTime(std::string_view path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data)
        || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32)
                                     | data.ftLastWriteTime.dwLowDateTime);
}

bool removeFile(std::string_view path)
{
    return !path.empty() && DeleteFileW(widen(path).c_str());
}

} // namespace qmx::os
