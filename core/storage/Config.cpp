#include "core/storage/Config.h"

#include "core/storage/IniFile.h"
#include "core/storage/ProgramFiles.h"

#include <vector>

namespace qmx::config {

namespace {

const std::vector<SettingInfo>& settingTable()
{
    static const std::vector<SettingInfo> table = {
        {Setting::SDKDir, "settings", "SDKDir"},
        {Setting::LastDir, "settings", "LastDir"},
        {Setting::LastFile, "settings", "LastFile"},
        {Setting::LastMapDir, "settings", "LastMapDir"},
        {Setting::LastUsedSettings, "settings", "LastUsedSettings"},
        {Setting::Preset1, "presets", "preset1"},
        {Setting::Preset2, "presets", "preset2"},
        {Setting::Preset3, "presets", "preset3"},
        {Setting::Preset4, "presets", "preset4"},
        {Setting::GameExe, "settings", "GameExe"},
        {Setting::GameParameters, "settings", "GameParameters", "-novid -dev +map $map", true},
        {Setting::RunMap, "settings", "RunMap"},
    };
    return table;
}

} // namespace

const SettingInfo& info(Setting setting)
{
    return settingTable().at(static_cast<std::size_t>(setting));
}

Setting presetSetting(int slot)
{
    constexpr Setting kSlots[kPresetCount] = {Setting::Preset1, Setting::Preset2, Setting::Preset3, Setting::Preset4};
    return slot >= 1 && slot <= kPresetCount ? kSlots[slot - 1] : Setting::Preset1;
}

std::string read(Setting setting)
{
    const SettingInfo& i = info(setting);
    return ini::readValue(settingsFilePath(), i.section, i.key, i.whenMissing ? i.whenMissing : "");
}

bool write(Setting setting, std::string_view value)
{
    const SettingInfo& i = info(setting);
    if (i.quoted)
        return ini::writeValue(settingsFilePath(), i.section, i.key, "\"" + std::string(value) + "\"");
    return ini::writeValue(settingsFilePath(), i.section, i.key, value);
}

const std::vector<TextInfo>& allTexts()
{
    // The section spelling follows each text's lookup; the file's section matches either.
    static const std::vector<TextInfo> table = {
        {Text::ProgramOpen, "language", "ProgramOpen", nullptr},
        {Text::Frame2, "Language", "Frame2", nullptr},
        {Text::Frame4, "Language", "Frame4", nullptr},
        {Text::MenuCompile, "Language", "MenuCompile", nullptr},
        {Text::Presets, "Language", "Presets", nullptr},
        {Text::Preset, "language", "preset", nullptr},
        {Text::Save, "Language", "save", nullptr},
        {Text::Load, "Language", "load", nullptr},
        {Text::CopyFile, "Language", "CopyFIle", nullptr}, // the file's own spelling
        {Text::Frame3, "Language", "Frame3", nullptr},
        {Text::NoMap, "language", "nomap", nullptr},
        {Text::NoBsp, "language", "nobsp", nullptr},
        {Text::Compile, "Language", "Compile", nullptr},
        {Text::Hour, "Language", "hour", nullptr},
        {Text::Minute, "Language", "minute", nullptr},
        {Text::Second, "Language", "second", nullptr},
        {Text::And, "language", "and", nullptr},
        {Text::Saved, "language", "saved", nullptr},
        {Text::Loaded, "language", "loaded", nullptr},
        {Text::Credits, "Language", "Credits", nullptr},
        {Text::Form3, "Language", "Form3", nullptr},
        {Text::CompileNoSdkDir, "language", "CompileNoSdkDir",
         "No SDK directory is set, so compile.bat cannot be written. Choose the SDK's bin directory and compile "
         "again."},
        {Text::CompileSdkDirMissing, "language", "CompileSdkDirMissing",
         "The SDK directory does not exist. Check that the SDK is installed there, or choose its bin directory "
         "again, and compile again."},
        {Text::CompileSdkDirTooLong, "language", "CompileSdkDirTooLong",
         "The path of the SDK directory is too long for compile.bat. Move the SDK to a directory with a shorter "
         "path and compile again."},
        {Text::CompileBatchFailed, "language", "CompileBatchFailed",
         "compile.bat could not be written into the SDK directory. Check that the directory is writable and the "
         "disk is not full, then compile again."},
        {Text::CompileRunning, "language", "CompileRunning", "Compiling, elapsed time:"},
        {Text::CompileUnsafeCharacter, "language", "CompileUnsafeCharacter",
         "A path holds a character that compile.bat would change: a line break, a quotation mark or \"%\". "
         "Rename the folder or file, then compile again."},
        {Text::CompileLineTooLong, "language", "CompileLineTooLong",
         "A tool's line in compile.bat would be longer than the 8,191 characters the command interpreter takes. "
         "Shorten the paths or option values, then compile again."},
        {Text::CompileNotInCodePage, "language", "CompileNotInCodePage",
         "A path holds a letter that compile.bat's code page cannot hold, so the tools would get \"?\" "
         "instead. Rename the folder or file, then compile again."},
        {Text::CompileExitStatus, "language", "CompileExitStatus", "exit status"},
        {Text::CompileToolNotStarted, "language", "CompileToolNotStarted", "could not be started:"},
        {Text::CompileToolStopped, "language", "CompileToolStopped", "stopped after"},
        {Text::CompileNoFreshBsp, "language", "CompileNoFreshBsp", "no new .bsp beside the map:"},
        {Text::CompileStoppedHere, "language", "CompileStoppedHere",
         "The compile stopped here: the map was not copied and the game was not started."},
        {Text::CompileStopped, "language", "CompileStopped", "Compile stopped."},
        {Text::CompileLastLines, "language", "CompileLastLines", "Its last lines of output:"},
        {Text::CompileLog, "language", "CompileLog", "The whole run is in the log:"},
        {Text::CompileOpenLog, "language", "CompileOpenLog", "Open log"},
        {Text::CompileStop, "language", "CompileStop", "Stop"},
        {Text::CompileOutputTitle, "language", "CompileOutputTitle", "Compile output"},
        {Text::CompileClose, "language", "CompileClose", "Close"},
        {Text::CompileCloseRunning, "language", "CompileCloseRunning",
         "A compile is running. Stop it and close the program?"},
        {Text::ValueCharsRefused, "language", "ValueCharsRefused",
         "\",\" and \"|\" cannot be stored in a value; use \".\" for decimals."},
        {Text::RunMap, "Language", "RunMap", "Run the map after compile"},
        {Text::GameCommand, "Language", "GameCommand", "Game..."},
        {Text::GameTitle, "Language", "GameTitle", "Game"},
        {Text::GameExe, "Language", "GameExe", "Game executable:"},
        {Text::GameBrowse, "Language", "GameBrowse", "Browse..."},
        {Text::GameParameters, "Language", "GameParameters", "Parameters:"},
        {Text::GamePlaceholders, "Language", "GamePlaceholders",
         "$map is the map's name without extension, $bsp the full path of the .bsp in the game directory, "
         "$gamedir the game directory. A value with blanks stays one parameter."},
        {Text::GameOK, "Language", "GameOK", "OK"},
        {Text::GameCancel, "Language", "GameCancel", "Cancel"},
        {Text::GameChooseExe, "Language", "GameChooseExe", "Choose the game's executable"},
        {Text::GameNoExe, "language", "GameNoExe",
         "No game executable is set. Choose it with Game... and run the map again."},
        {Text::GameExeMissing, "language", "GameExeMissing",
         "The game executable was not found. Choose it again with Game... and run the map again."},
        {Text::GameBspMissing, "language", "GameBspMissing",
         "The compiled map is not in the game directory. Compile it with the copy ticked, or choose the "
         "directory it was copied to, and run the map again."},
        {Text::GameStartFailed, "language", "GameStartFailed",
         "The game could not be started. On Linux, install Wine (it runs the game), then run the map again."},
        {Text::GameNotCopied, "language", "GameNotCopied",
         "The map was not copied into the game directory, so the game was not started."},
        {Text::GameStarted, "language", "GameStarted", "Game started:"},
        {Text::GameRunTip, "Language", "GameRunTip", "Run the map in the game without compiling"},
        {Text::GameExeFiles, "Language", "GameExeFiles", "Windows programs (*.exe)"},
        {Text::GameAllFiles, "Language", "GameAllFiles", "All files"},
        {Text::CliUnknownOption, "language", "CliUnknownOption",
         "Unknown option; qmxcompile --help lists the options."},
        {Text::CliMissingValue, "language", "CliMissingValue", "This option needs a value."},
        {Text::CliBadPreset, "language", "CliBadPreset", "--preset takes a preset number from 1 to 4."},
        {Text::CliConflict, "language", "CliConflict", "These options cannot be used together."},
        {Text::CliExtraArgument, "language", "CliExtraArgument", "Only one map can be compiled at a time."},
        {Text::CliNoLastOptions, "language", "CliNoLastOptions",
         "No last used options are stored yet: the window stores them when it closes. Close it once, or give "
         "--preset or --options."},
        {Text::CliPresetNotSaved, "language", "CliPresetNotSaved", "This preset has never been saved."},
        {Text::CliMapMissing, "language", "CliMapMissing", "The map file does not exist."},
        {Text::CliNotVmf, "language", "CliNotVmf", "The map must be a .vmf file."},
        {Text::CliOutsideDrives, "language", "CliOutsideDrives",
         "The path lies outside every drive of the Wine prefix, so the tools cannot reach it."},
        {Text::CliNoGameDir, "language", "CliNoGameDir",
         "No game directory is set to copy the compiled map into. Give one with --game-dir, or use --no-copy."},
        {Text::CliGameDirMissing, "language", "CliGameDirMissing", "The game directory does not exist."},
        {Text::CliRunFailed, "language", "CliRunFailed",
         "A compile tool could not be started. On Linux, install Wine (it provides the wine command)."},
        {Text::CliToolsFailed, "language", "CliToolsFailed",
         "The compile tools reported a failure; the compiled map is not copied."},
        {Text::CliCopyFailed, "language", "CliCopyFailed", "The compiled map could not be copied."},
    };
    return table;
}

const TextInfo& info(Text text)
{
    return allTexts().at(static_cast<std::size_t>(text));
}

std::string text(Text id)
{
    const TextInfo& i = info(id);
    std::string value = ini::readValue(languageFilePath(), i.section, i.key);
    if (value.empty() && i.builtIn)
        return i.builtIn;
    return value;
}

} // namespace qmx::config
