#include "core/os/ConsoleRun.h"

#include <windows.h>

namespace qmx::os {

struct ConsoleRun::Impl
{
    HANDLE process = nullptr;
    bool done = false;
};

namespace {

std::wstring widen(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string lastErrorText(DWORD code)
{
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = text ? text : "error " + std::to_string(code);
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

} // namespace

ConsoleRun::~ConsoleRun()
{
    if (m_impl && m_impl->process)
        CloseHandle(m_impl->process);
}

std::unique_ptr<ConsoleRun> ConsoleRun::start(std::string_view batchPath, std::string* error)
{
    // The short path has no blanks; a long one is quoted so that cmd still sees one file.
    std::wstring command = L"cmd /c ";
    const std::wstring path = widen(batchPath);
    if (path.find(L' ') != std::wstring::npos)
        command += L"\"" + path + L"\"";
    else
        command += path;

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr,
                        &startup, &info)) {
        if (error)
            *error = "cmd could not be started: " + lastErrorText(GetLastError());
        return nullptr;
    }
    CloseHandle(info.hThread);
    std::unique_ptr<ConsoleRun> run(new ConsoleRun);
    run->m_impl = std::make_unique<Impl>();
    run->m_impl->process = info.hProcess;
    return run;
}

bool ConsoleRun::finished()
{
    return wait(0);
}

bool ConsoleRun::wait(int timeoutMs)
{
    if (m_impl->done)
        return true;
    const DWORD r = WaitForSingleObject(m_impl->process, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
    if (r == WAIT_TIMEOUT)
        return false;
    DWORD code = 0;
    m_exitCode = GetExitCodeProcess(m_impl->process, &code) ? static_cast<int>(code) : -1;
    m_impl->done = true;
    return true;
}

} // namespace qmx::os
