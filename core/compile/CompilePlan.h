#pragma once

// From a map, the SDK and game directories and an option set to everything a compile does: the
// checks and their refusals, the exact lines of compile.bat and where it goes, and the copy of the
// compiled map. The window and the terminal command both compile through this; only how they show
// messages and wait for the run differs.

#include "core/compile/BatchFile.h"
#include "core/options/OptionSet.h"
#include "core/storage/Config.h"

#include <optional>
#include <string>
#include <vector>

namespace qmx::compile {

// What a compile works on; paths are Windows-form.
struct CompileRequest
{
    std::string mapDir; // the map's directory
    std::string mapFile; // the map's file name without directory; "" when none is chosen
    std::string sdkDir; // the SDK's bin directory, long form
    std::string gameDir; // where the compiled map is copied when options.copyFile is set
    options::OptionSet options;
};

// Every reason a compile does not run, in the order the checks come.
enum class Refusal
{
    NoMap, // no map file chosen
    NoBsp, // the BSP tool is switched off
    NoSdkDir, // no SDK directory is set
    SdkDirMissing, // the SDK directory does not exist
    SdkDirTooLong, // its short form leaves no room for "\compile.bat"
    BatchFailed, // compile.bat could not be written
    UnsafeCharacter, // a path or value holds a character the command interpreter would act on
    LineTooLong, // a tool line longer than the command interpreter takes
    NotInCodePage, // a character that compile.bat's code page cannot hold
};

// The language text that tells the user about a refusal.
config::Text refusalText(Refusal refusal);

struct Refused
{
    Refusal reason;
    std::string detail; // what exactly was wrong (a path, a system message); may be empty
};

struct CopyStep
{
    std::string from; // the .bsp beside the map
    std::string to; // the same name in the game directory
};

struct PlannedTool
{
    Tool tool;
    std::string program; // the tool's path, Windows-form
    std::string line; // its line of compile.bat, without the line end
};

struct CompilePlan
{
    std::string batchPath; // the SDK directory's short form and "\compile.bat": no blanks, unquoted
    std::vector<PlannedTool> tools; // BSP, then VIS and RAD when switched on
    std::string bspPath; // where the BSP tool leaves the compiled map: beside the map
    std::string logPath; // the run's log beside compile.bat, named by the SDK directory's long form
    std::optional<CopyStep> copy; // set when the options ask for the copy

    // The file's text: every line ended by CR LF (UTF-8 here; written in the ANSI code page).
    std::string batchText() const;
    // The directory of compile.bat, where the runner keeps its scratch files (blank free).
    std::string batchDirectory() const;
};

// The checks that come before anything is written: a map chosen, the BSP tool on.
std::optional<Refusal> checkSelection(const CompileRequest& request);

// The command interpreter runs compile.bat's lines and the tools get them through it: the map, SDK and game
// paths must not hold what it would act on (a line break, a quotation mark, "%"), the letters of those in
// compile.bat must exist in its ANSI code page, and a line must fit the interpreter's 8,191 characters.
// Option values go as the user typed them, as in compile.bat. Checked after checkSelection and before
// anything is written; detail names the path and the character.
std::optional<Refused> checkLines(const CompileRequest& request);
// The longest line the command interpreter takes.
constexpr std::size_t kMaxToolLineLength = 8191;

// The SDK directory's checks and the plan: the BSP line always, the VIS and RAD lines for the tools
// switched on. Call after checkSelection.
struct PlanResult
{
    std::optional<CompilePlan> plan;
    Refused refused{Refusal::NoMap, {}}; // meaningful when there is no plan
};
PlanResult planCompile(const CompileRequest& request);

// Creates or truncates compile.bat with the plan's lines; the refusal when it cannot.
std::optional<Refused> writeBatch(const CompilePlan& plan);

// Copies the compiled map when the plan asks for it; the result is not reported to the user.
bool copyCompiledMap(const CompilePlan& plan);

} // namespace qmx::compile
