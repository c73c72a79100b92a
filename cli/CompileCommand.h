#pragma once

// What qmxcompile does with its parsed command line: the inputs from the arguments and the files beside
// the program, the same checks and compile.bat as the window's compile, the run in this terminal, the
// time in words, the copy. Messages go through a Terminal, so tests can read them.

#include "cli/Arguments.h"
#include "core/compile/CompilePlan.h"

#include <functional>
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
    ExitNotRun = 66, // compile.bat could not be written or started
    ExitCopyFailed = 67, // the compiled map could not be copied
    ExitGameFailed = 68, // --run: the game could not be started
    // Otherwise the tools' failure: compile.bat's own exit code.
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

// The one line on standard error for a failure: "qmxcompile: <text> (<detail>)".
std::string failureLine(const Failure& failure);

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

// Runs compile.bat and waits; the batch's exit code, or nothing (and *error) when it could not start.
using BatchRunner = std::function<std::optional<int>(const std::string& batchPath, std::string* error)>;
// The runner of the terminal: the OS layer's console run in this terminal.
std::optional<int> runInThisTerminal(const std::string& batchPath, std::string* error);

// The whole command for a parsed command line; returns the exit status.
int runCompileCommand(const ParsedArguments& parsed, Terminal& terminal,
                      const BatchRunner& runBatch = runInThisTerminal);

} // namespace qmx::cli
