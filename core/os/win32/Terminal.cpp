#include "core/os/Terminal.h"

#include "core/os/Os.h"
#include "core/os/win32/Wide.h"

#include <shellapi.h>
#include <windows.h>

namespace qmx::os {

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
