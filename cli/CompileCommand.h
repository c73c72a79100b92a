#pragma once

// What qmxcompile does with its parsed command line: the inputs from the arguments and the files beside
// the program, the same checks, compile.bat and compile runner as the window's compile, the time in words,
// the copy. Messages go through a Terminal, so tests can read them.

#include "cli/Arguments.h"
#include "core/compile/CompilePlan.h"

#include <optional>
#include <string>
#include <string_view>

namespace qmx::cli {

// The exit status by kind; the README and --help list them.
enum ExitStatus : int
{
    ExitSuccess = 0,
    ExitUsage = 64, // the command line is wrong
    ExitRefused = 65, // a check failed before anything was written
    ExitNotRun = 66, // compile.bat could not be written, or a tool could not be started
    ExitCopyFailed = 67, // the compiled map could not be copied
    ExitGameFailed = 68, // --run: the game could not be started
    ExitToolFailed = 1, // a tool failed; nothing was copied
    ExitStopped = 130, // Ctrl+C stopped the tools
};

class Terminal
{
public:
    virtual ~Terminal() = default;
    virtual void text(std::string_view utf8) = 0; // standard output
    virtual void bytes(std::string_view bytes) = 0; // standard output, exactly these bytes
    virtual void error(std::string_view utf8) = 0; // standard error
};

// Why the command stops, in the words of the language file.
struct Failure
{
    int status;
    config::Text text;
    std::string detail; // the argument, path or code in question; may be empty
};

// The one line on standard error for a failure: "qmxcompile: <text> (<detail>)", control characters
// escaped.
std::string failureLine(const Failure& failure);
// Text with its control characters written as \xHH (C1 ones as \u00HH), so a path cannot drive the
// terminal or break the line.
std::string terminalSafe(std::string_view text);

// A path from the command line in the Windows form the batch needs: a Windows-form path as it is (drive
// letter in capitals, "/" as "\"), a path of this system made absolute and mapped through the Wine prefix's
// drives. A leading "~" is the home directory. "" when no drive maps it.
std::string windowsFormOf(std::string_view given);

// The compile request that the arguments and the files beside the program describe, or why there is none.
struct ResolvedRequest
{
    compile::CompileRequest request;
    std::optional<Failure> failure;
};
ResolvedRequest resolveRequest(const Arguments& arguments);

// The whole command for a parsed command line; returns the exit status. The tools' output, each tool's
// line and how it ended go to the terminal as they come; Ctrl+C stops the tools.
int runCompileCommand(const ParsedArguments& parsed, Terminal& terminal);

} // namespace qmx::cli
