#include "cli/Arguments.h"

#include <map>

namespace qmx::cli {

namespace {

// Options of one group exclude each other.
enum class Group
{
    None,
    OptionSource,
    Copy,
};

struct FlagInfo
{
    const char* name;
    bool takesValue;
    Group group;
    // Stores the value; false when the value is not acceptable, which is then reported as badValue.
    bool (*store)(Arguments&, const std::string& value);
    UsageProblem badValue;
};

bool storePreset(Arguments& arguments, const std::string& value)
{
    // Exactly one digit: "01", "+1" or " 1" are more likely typing errors than meant.
    if (value.size() != 1 || value[0] < '1' || value[0] > '0' + config::kPresetCount)
        return false;
    arguments.preset = value[0] - '0';
    return true;
}

// Every option in one table; a new one is a new row.
const FlagInfo kOptions[] = {
    {"--help", false, Group::None, [](Arguments& a, const std::string&) { return a.help = true; },
     UsageProblem::UnknownOption},
    {"-h", false, Group::None, [](Arguments& a, const std::string&) { return a.help = true; },
     UsageProblem::UnknownOption},
    {"--preset", true, Group::OptionSource, storePreset, UsageProblem::BadPreset},
    {"--options", true, Group::OptionSource,
     [](Arguments& a, const std::string& v) {
         a.options = v;
         return true;
     },
     UsageProblem::UnknownOption},
    {"--copy", false, Group::Copy,
     [](Arguments& a, const std::string&) {
         a.copy = true;
         return true;
     },
     UsageProblem::UnknownOption},
    {"--no-copy", false, Group::Copy,
     [](Arguments& a, const std::string&) {
         a.copy = false;
         return true;
     },
     UsageProblem::UnknownOption},
    {"--game-dir", true, Group::None,
     [](Arguments& a, const std::string& v) {
         a.gameDir = v;
         return true;
     },
     UsageProblem::UnknownOption},
    {"--sdk-dir", true, Group::None,
     [](Arguments& a, const std::string& v) {
         a.sdkDir = v;
         return true;
     },
     UsageProblem::UnknownOption},
    {"--run", false, Group::None, [](Arguments& a, const std::string&) { return a.run = true; },
     UsageProblem::UnknownOption},
    {"--dry-run", false, Group::None, [](Arguments& a, const std::string&) { return a.dryRun = true; },
     UsageProblem::UnknownOption},
};

const FlagInfo* findOption(const std::string& name)
{
    for (const FlagInfo& flag : kOptions) {
        if (name == flag.name)
            return &flag;
    }
    return nullptr;
}

bool looksLikeOption(const std::string& arg)
{
    return arg.size() > 1 && arg[0] == '-';
}

} // namespace

ParsedArguments parseArguments(const std::vector<std::string>& args)
{
    ParsedArguments result;
    Arguments& out = result.arguments;
    const auto fail = [&](UsageProblem problem, std::string detail) {
        if (!result.error)
            result.error = UsageError{problem, std::move(detail)};
    };
    std::map<Group, std::string> groupTakenBy;
    bool optionsEnded = false;
    bool haveMap = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !looksLikeOption(arg)) {
            if (haveMap)
                fail(UsageProblem::ExtraArgument, arg);
            out.map = arg;
            haveMap = true;
            continue;
        }

        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const FlagInfo* flag = findOption(name);
        if (!flag || (equals != std::string::npos && !flag->takesValue)) {
            fail(UsageProblem::UnknownOption, arg);
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (flag->takesValue) {
            // An option right behind is taken for a forgotten value, not for the value itself.
            if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) {
                fail(UsageProblem::MissingValue, name);
                continue;
            }
            value = args[++i];
        }
        if (flag->group != Group::None) {
            const auto [taken, first] = groupTakenBy.emplace(flag->group, name);
            if (!first && taken->second != name) {
                fail(UsageProblem::Conflict, taken->second + " " + name);
                continue;
            }
        }
        if (!flag->store(out, value))
            fail(flag->badValue, value);
    }
    if (out.map.empty())
        fail(UsageProblem::NoMap, {});
    if (out.help)
        result.error.reset();
    return result;
}

config::Text usageText(UsageProblem problem)
{
    switch (problem) {
    case UsageProblem::NoMap:
        return config::Text::NoMap;
    case UsageProblem::UnknownOption:
        return config::Text::CliUnknownOption;
    case UsageProblem::MissingValue:
        return config::Text::CliMissingValue;
    case UsageProblem::BadPreset:
        return config::Text::CliBadPreset;
    case UsageProblem::Conflict:
        return config::Text::CliConflict;
    case UsageProblem::ExtraArgument:
        return config::Text::CliExtraArgument;
    }
    return config::Text::CliUnknownOption;
}

std::string helpText()
{
    return R"(Usage: qmxcompile MAP.vmf [--preset N | --options STRING] [--copy | --no-copy]
                  [--game-dir DIR] [--sdk-dir DIR] [--run] [--dry-run]

Compiles MAP.vmf as the QMX GUI II window does: writes compile.bat into the SDK's bin
directory, runs its tool lines one after another with their output in this terminal,
stops at the first tool that fails, prints the time it took and copies the compiled .bsp
into the game directory when asked to. Ctrl+C stops the tools. The whole run is kept in
compile.log beside compile.bat.

MAP.vmf, DIR   A path of this system (on Linux a path such as ~/maps/a.vmf, mapped to
               Windows form through the drives of the Wine prefix, $WINEPREFIX or ~/.wine),
               or a Windows-form path such as C:\maps\a.vmf.

Options:
  --preset N         the options of preset N (1 to 4) instead of the last used ones
  --options STRING   the options as an option string, as settings.qmxII stores them
  --copy, --no-copy  copy the .bsp into the game directory, or do not; overrides the
                     copy flag of the options
  --game-dir DIR     where the .bsp is copied to
  --sdk-dir DIR      the SDK's bin directory, where compile.bat and the tools are
  --run              after the copy, start the game on the map, as the window's "Run the
                     map after compile" does (the game and its parameters as Game... set
                     them); a map that was not copied does not run
  --dry-run          print compile.bat's text (its exact bytes) and run nothing
  -h, --help         print this text

Defaults come from the files beside the program, as the window left them: the options
from settings.qmxII's last used option string, the game directory from its LastMapDir.
The SDK directory is found as the window finds it: the sourcesdk environment variable
with \bin appended, then the editor's registry value, then the SDKDir that the window's
SDK folder window stored. qmxcompile writes nothing into settings.qmxII; Linux runs the
tools through Wine's command interpreter in the Wine prefix.

Exit status:
  0    compiled (and copied and the game started when asked), or --dry-run printed
       compile.bat
  1    a tool failed (an exit status other than 0, or no new .bsp); nothing was copied
  64   the command line is wrong: no map, two maps, an unknown option, a missing value,
       a bad preset number, options that exclude each other, or a map, SDK or game
       path that the command interpreter would change (whatever else is wrong)
  65   refused before anything was written: map missing or not a .vmf, BSP off in the
       chosen options, options never saved, SDK or game directory not set, missing or
       not a directory, SDK directory too long, no language file
  66   compile.bat could not be written, or a tool could not be started (not there,
       or Wine missing)
  67   the compiled map could not be copied
  68   --run: the game could not be started (none set, not there, or the start failed)
  130  Ctrl+C stopped the tools
)";
}

} // namespace qmx::cli
