#include "core/os/ConsoleRun.h"

#include "core/os/Os.h"
#include "core/os/win32/Wide.h"

#include <shellapi.h>
#include <windows.h>

namespace qmx::os {

struct ConsoleRun::Impl
{
    HANDLE process = nullptr;
    bool done = false;
    bool holdsInterrupts = false;
};

namespace {

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

// Ctrl+C and Ctrl+Break reach every process of the console; while the batch runs, it alone decides.
BOOL WINAPI leaveInterruptToBatch(DWORD event)
{
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
}

// The caller's standard handles, passed on so that the tools write where the caller writes, even when
// that is a file or a pipe.
void inheritStandardHandles(STARTUPINFOW& startup)
{
    const DWORD ids[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    HANDLE* slots[] = {&startup.hStdInput, &startup.hStdOutput, &startup.hStdError};
    for (int i = 0; i < 3; ++i) {
        HANDLE handle = GetStdHandle(ids[i]);
        if (handle && handle != INVALID_HANDLE_VALUE)
            SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        *slots[i] = handle;
    }
    startup.dwFlags |= STARTF_USESTDHANDLES;
}

} // namespace

ConsoleRun::~ConsoleRun()
{
    if (!m_impl)
        return;
    ended();
    if (m_impl->process)
        CloseHandle(m_impl->process);
}

void ConsoleRun::ended()
{
    if (!m_impl->holdsInterrupts)
        return;
    m_impl->holdsInterrupts = false;
    SetConsoleCtrlHandler(leaveInterruptToBatch, FALSE);
}

std::unique_ptr<ConsoleRun> ConsoleRun::start(std::string_view batchPath, std::string* error, Mode mode)
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
    DWORD flags = 0;
    BOOL inherit = FALSE;
    if (mode == InThisTerminal) {
        inheritStandardHandles(startup);
        inherit = TRUE;
    } else {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        flags = CREATE_NEW_CONSOLE;
    }
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, inherit, flags, nullptr, nullptr, &startup, &info)) {
        if (error)
            *error = "cmd could not be started: " + lastErrorText(GetLastError());
        return nullptr;
    }
    CloseHandle(info.hThread);
    std::unique_ptr<ConsoleRun> run(new ConsoleRun);
    run->m_impl = std::make_unique<Impl>();
    run->m_impl->process = info.hProcess;
    if (mode == InThisTerminal) {
        // Installed after the start: a handler is not inherited, but the "ignore Ctrl+C" flag would be.
        run->m_impl->holdsInterrupts = SetConsoleCtrlHandler(leaveInterruptToBatch, TRUE) != 0;
    }
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
    ended();
    return true;
}

std::vector<std::string> terminalArguments(int argc, char** argv)
{
    // argv is in the ANSI code page, which cannot hold every letter of a path; the wide command line can.
    std::vector<std::string> args;
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            args.push_back(narrow(wide[i]));
        LocalFree(wide);
        return args;
    }
    for (int i = 1; i < argc; ++i)
        args.push_back(fromAnsi(argv[i]));
    return args;
}

namespace {

HANDLE handleOf(TerminalStream stream)
{
    return GetStdHandle(stream == TerminalStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

void writeAll(HANDLE handle, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0)
            return; // a closed pipe or a full disk: nothing left to tell it to
        bytes.remove_prefix(written);
    }
}

} // namespace

void writeTerminalText(TerminalStream stream, std::string_view utf8)
{
    const HANDLE handle = handleOf(stream);
    if (!handle || handle == INVALID_HANDLE_VALUE)
        return;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        // A console shows its own code page; Unicode reaches it whatever that is.
        const std::wstring wide = widen(utf8);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    writeAll(handle, utf8);
}

void writeTerminalBytes(TerminalStream stream, std::string_view bytes)
{
    const HANDLE handle = handleOf(stream);
    if (handle && handle != INVALID_HANDLE_VALUE)
        writeAll(handle, bytes);
}

} // namespace qmx::os
