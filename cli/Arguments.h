#pragma once

// The command line of qmxcompile, taken apart without looking at any file:
//   qmxcompile MAP.vmf [--preset N | --options STRING] [--copy | --no-copy] [--game-dir DIR] [--sdk-dir DIR]
//              [--run] [--dry-run]
// An option's value follows it as the next argument or after "=" (--preset=2); "--" ends the options.

#include "core/storage/Config.h"

#include <optional>
#include <string>
#include <vector>

namespace qmx::cli {

struct Arguments
{
    bool help = false;
    std::string map; // as given; "" when none
    std::optional<int> preset; // 1 to 4
    std::optional<std::string> options; // an option string
    std::optional<bool> copy; // --copy or --no-copy
    std::optional<std::string> gameDir; // as given
    std::optional<std::string> sdkDir; // as given
    bool run = false; // start the game on the map after the copy
    bool dryRun = false;
};

// What is wrong with a command line.
enum class UsageProblem
{
    NoMap,
    UnknownOption,
    MissingValue,
    BadPreset,
    Conflict,
    ExtraArgument,
};

struct UsageError
{
    UsageProblem problem;
    std::string detail; // the argument in question
};

struct ParsedArguments
{
    Arguments arguments;
    std::optional<UsageError> error; // the first problem; none when arguments.help is set
};

// The arguments after the program name. --help wins over every problem.
ParsedArguments parseArguments(const std::vector<std::string>& args);

// The language text that names a usage problem.
config::Text usageText(UsageProblem problem);

// What --help prints.
std::string helpText();

} // namespace qmx::cli
