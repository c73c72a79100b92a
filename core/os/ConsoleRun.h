#pragma once

// Runs compile.bat and waits for it, and the terminal's own text in and out for the terminal command.
// A new console window: Windows "cmd /c" in a new console; Linux "wineconsole cmd /c" in the Wine prefix.
// This terminal: Windows "cmd /c" in the caller's console; Linux "wine cmd /c" with the caller's standard
// handles. The environment passes through unchanged, but for Wine's own debug messages, which are off in
// the terminal unless WINEDEBUG says otherwise.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qmx::os {

class ConsoleRun
{
public:
    // Where the batch runs and its tools write.
    enum Mode
    {
        NewConsoleWindow, // a visible console of its own (the window's compile)
        InThisTerminal, // the caller's terminal, as a command-line tool runs another
    };

    ConsoleRun(const ConsoleRun&) = delete;
    ConsoleRun& operator=(const ConsoleRun&) = delete;
    ~ConsoleRun();

    // Starts the batch file (Windows-form path). Returns nullptr and sets *error when the runner
    // cannot be started. In this terminal, an interrupt (Ctrl+C) while the batch runs is left to the batch:
    // the caller does not end on it, but learns the batch's exit code.
    static std::unique_ptr<ConsoleRun> start(std::string_view batchPath, std::string* error,
                                             Mode mode = NewConsoleWindow);

    // True once the batch has ended; never blocks.
    bool finished();
    // Waits up to timeoutMs milliseconds (-1: forever); true when the batch has ended.
    bool wait(int timeoutMs);
    // The batch's exit code once finished.
    int exitCode() const { return m_exitCode; }

private:
    ConsoleRun() = default;
    void ended(); // undoes what start() changed for the wait
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    int m_exitCode = 0;
};

// ---- the terminal the program was started from ----

// The command line's arguments after the program name, in UTF-8. Windows reads the wide command line, so
// letters outside the ANSI code page arrive intact.
std::vector<std::string> terminalArguments(int argc, char** argv);

enum class TerminalStream
{
    Output,
    Error
};
// Writes UTF-8 text: a Windows console shows it as Unicode; a file, a pipe or a Linux terminal gets the
// UTF-8 bytes.
void writeTerminalText(TerminalStream stream, std::string_view utf8);
// Writes bytes exactly as given, with no line-end translation.
void writeTerminalBytes(TerminalStream stream, std::string_view bytes);

} // namespace qmx::os
