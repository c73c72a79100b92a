#pragma once

// Runs compile.bat in a new, visible console window. Windows: "cmd /c" in a new console;
// Linux: "wineconsole cmd /c" in the Wine prefix. The environment passes through unchanged.

#include <memory>
#include <string>
#include <string_view>

namespace qmx::os {

class ConsoleRun
{
public:
    ConsoleRun(const ConsoleRun&) = delete;
    ConsoleRun& operator=(const ConsoleRun&) = delete;
    ~ConsoleRun();

    // Starts the batch file (Windows-form path). Returns nullptr and sets *error when the runner
    // cannot be started.
    static std::unique_ptr<ConsoleRun> start(std::string_view batchPath, std::string* error);

    // True once the batch has ended; never blocks.
    bool finished();
    // Waits up to timeoutMs milliseconds (-1: forever); true when the batch has ended.
    bool wait(int timeoutMs);
    // The batch's exit code once finished.
    int exitCode() const { return m_exitCode; }

private:
    ConsoleRun() = default;
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    int m_exitCode = 0;
};

} // namespace qmx::os
