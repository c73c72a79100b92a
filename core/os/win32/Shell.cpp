#include "core/os/Os.h"

#include "core/os/win32/Wide.h"

#include <shellapi.h>

namespace qmx::os {

bool startProgram(std::string_view commandLine)
{
    if (commandLine.empty())
        return false;
    std::wstring line = widen(commandLine);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

bool startProgramIn(std::string_view commandLine, std::string_view workingDir)
{
    if (commandLine.empty() || !directoryExists(workingDir))
        return false;
    std::wstring line = widen(commandLine);
    const std::wstring dir = widen(workingDir);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

bool shellOpen(std::string_view target)
{
    if (target.empty())
        return false;
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

} // namespace qmx::os
