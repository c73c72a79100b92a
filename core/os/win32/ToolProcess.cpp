#include "core/os/ToolProcess.h"

#include "core/os/Os.h"
#include "core/os/ToolStep.h"
#include "core/os/win32/Wide.h"

#include <atomic>

#include <windows.h>

namespace qmx::os {

struct ToolProcess::Impl
{
    detail::ToolStep step;
    HANDLE process = nullptr; // the command interpreter running the step
    HANDLE job = nullptr; // nullptr where the process could not be put into one
    HANDLE pipe = INVALID_HANDLE_VALUE; // our end, overlapped
    HANDLE readDone = nullptr; // the overlapped read's event
    OVERLAPPED pending{};
    bool reading = false;
    char buffer[65536];
    bool ended = false;
};

namespace {

std::string lastErrorText()
{
    const DWORD code = GetLastError();
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

// The interpreter, as Windows names it for batch files.
std::wstring commandInterpreter()
{
    const std::string comspec = getEnv("ComSpec");
    return comspec.empty() ? L"cmd.exe" : widen(comspec);
}

// A pipe whose reading end waits overlapped, so that a read can wait for the tool's end at the same time.
bool makePipe(HANDLE& readEnd, HANDLE& writeEnd)
{
    static std::atomic<unsigned> counter{0};
    const std::wstring name = L"\\\\.\\pipe\\qmx-tool-" + std::to_wstring(GetCurrentProcessId()) + L"-"
        + std::to_wstring(counter.fetch_add(1));
    readEnd = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                               PIPE_TYPE_BYTE | PIPE_WAIT, 1, 65536, 65536, 0, nullptr);
    if (readEnd == INVALID_HANDLE_VALUE)
        return false;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    writeEnd = CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (writeEnd != INVALID_HANDLE_VALUE)
        return true;
    CloseHandle(readEnd);
    readEnd = INVALID_HANDLE_VALUE;
    return false;
}

} // namespace

ToolProcess::ToolProcess()
    : m_impl(std::make_unique<Impl>())
{
}

std::unique_ptr<ToolProcess> ToolProcess::start(std::string_view batchLine, std::string_view scratchDir,
                                                std::string* error)
{
    const auto fail = [error](const std::string& why) -> std::unique_ptr<ToolProcess> {
        if (error)
            *error = why;
        return nullptr;
    };
    std::unique_ptr<ToolProcess> tool(new ToolProcess);
    Impl& impl = *tool->m_impl;
    std::string stepError;
    if (!impl.step.write(batchLine, scratchDir, &stepError))
        return fail(stepError);
    HANDLE writeEnd = INVALID_HANDLE_VALUE;
    if (!makePipe(impl.pipe, writeEnd))
        return fail("no pipe for the tool's output: " + lastErrorText());
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE nothing
        = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    const std::wstring interpreter = commandInterpreter();
    std::wstring commandLine = L"\"" + interpreter + L"\" /c \"" + widen(impl.step.batch) + L"\"";
    PROCESS_INFORMATION info{};
    // No console window: the output comes to us. Suspended until it is in its job, so nothing it starts
    // can slip out of it.
    const BOOL started = CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup, &info);
    const std::string why = started ? std::string() : lastErrorText();
    CloseHandle(writeEnd);
    if (nothing != INVALID_HANDLE_VALUE)
        CloseHandle(nothing);
    if (!started)
        return fail(why);
    impl.process = info.hProcess;
    impl.job = CreateJobObjectW(nullptr, nullptr);
    if (impl.job && !AssignProcessToJobObject(impl.job, info.hProcess)) {
        // Inside a job that allows no other (before Windows 8): only the tool itself can be ended.
        CloseHandle(impl.job);
        impl.job = nullptr;
    }
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    impl.readDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return tool;
}

ToolProcess::~ToolProcess()
{
    Impl& impl = *m_impl;
    if (impl.process && !impl.ended)
        kill();
    if (impl.reading) {
        CancelIoEx(impl.pipe, &impl.pending);
        DWORD n = 0;
        GetOverlappedResult(impl.pipe, &impl.pending, &n, TRUE);
    }
    for (HANDLE handle : {impl.process, impl.job, impl.readDone}) {
        if (handle)
            CloseHandle(handle);
    }
    if (impl.pipe != INVALID_HANDLE_VALUE)
        CloseHandle(impl.pipe);
    impl.step.remove();
}

bool ToolProcess::read(std::string& bytes)
{
    Impl& impl = *m_impl;
    while (!impl.ended) {
        if (!impl.reading) {
            ResetEvent(impl.readDone);
            impl.pending = OVERLAPPED{};
            impl.pending.hEvent = impl.readDone;
            DWORD n = 0;
            if (ReadFile(impl.pipe, impl.buffer, sizeof impl.buffer, &n, &impl.pending)) {
                bytes.append(impl.buffer, n);
                return true;
            }
            if (GetLastError() != ERROR_IO_PENDING) {
                // The tools closed their end: what remains is the process's own end.
                WaitForSingleObject(impl.process, INFINITE);
                impl.ended = true;
                return false;
            }
            impl.reading = true;
        }
        HANDLE waits[2] = {impl.readDone, impl.process};
        const DWORD which = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (which == WAIT_OBJECT_0) {
            impl.reading = false;
            DWORD n = 0;
            if (GetOverlappedResult(impl.pipe, &impl.pending, &n, FALSE)) {
                bytes.append(impl.buffer, n);
                return true;
            }
            continue; // a broken pipe: the next ReadFile says so
        }
        impl.ended = true;
    }
    // Ended: the pending read gets what the tools wrote last, then what is still in the pipe. A process
    // they left behind may still hold the pipe open, so stop at what is there now.
    const std::size_t before = bytes.size();
    if (impl.reading) {
        CancelIoEx(impl.pipe, &impl.pending);
        DWORD n = 0;
        if (GetOverlappedResult(impl.pipe, &impl.pending, &n, TRUE))
            bytes.append(impl.buffer, n);
        impl.reading = false;
    }
    DWORD available = 0;
    while (PeekNamedPipe(impl.pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        ResetEvent(impl.readDone);
        impl.pending = OVERLAPPED{};
        impl.pending.hEvent = impl.readDone;
        DWORD n = 0;
        const DWORD want = available < sizeof impl.buffer ? available : sizeof impl.buffer;
        if (!ReadFile(impl.pipe, impl.buffer, want, &n, &impl.pending)
            && !(GetLastError() == ERROR_IO_PENDING && GetOverlappedResult(impl.pipe, &impl.pending, &n, TRUE)))
            break;
        bytes.append(impl.buffer, n);
    }
    return bytes.size() > before;
}

std::int32_t ToolProcess::exitStatus() const
{
    if (const std::optional<std::int32_t> status = m_impl->step.readStatus())
        return *status;
    DWORD code = 0;
    if (!GetExitCodeProcess(m_impl->process, &code))
        return -1;
    return static_cast<std::int32_t>(code);
}

void ToolProcess::kill()
{
    if (m_impl->job)
        TerminateJobObject(m_impl->job, 1);
    else if (m_impl->process)
        TerminateProcess(m_impl->process, 1);
}

// ---- interrupts ----

namespace {
std::atomic<InterruptWatch*> g_watch{nullptr};
} // namespace

struct InterruptWatch::Impl
{
    Handler handler;
    void* context;
    std::atomic<bool> interrupted{false};
    static BOOL WINAPI onConsoleEvent(DWORD event);
};

BOOL WINAPI InterruptWatch::Impl::onConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    if (InterruptWatch* watch = g_watch.load()) {
        watch->m_impl->interrupted = true;
        watch->m_impl->handler(watch->m_impl->context);
    }
    return TRUE;
}

InterruptWatch::InterruptWatch(Handler handler, void* context)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->handler = handler;
    m_impl->context = context;
    g_watch = this;
    SetConsoleCtrlHandler(Impl::onConsoleEvent, TRUE);
}

InterruptWatch::~InterruptWatch()
{
    SetConsoleCtrlHandler(Impl::onConsoleEvent, FALSE);
    g_watch = nullptr;
}

bool InterruptWatch::interrupted() const
{
    return m_impl->interrupted;
}

} // namespace qmx::os
