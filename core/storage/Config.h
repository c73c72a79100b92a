#pragma once

// Typed access to the two files the program keeps beside itself. Every stored setting and every
// language text is named once here, with its file, section and key; nothing else in the program spells
// them. Each access reads or writes the file anew (no cache), through the INI reader and writer.

#include <string>
#include <string_view>
#include <vector>

namespace qmx::config {

// ---- settings.qmxII ----

enum class Setting
{
    SDKDir, // the SDK's bin directory chosen in the SDK folder window
    LastDir, // the map directory of the last picked or compiled map
    LastFile, // the last picked or compiled map file, without its directory (written, never read)
    LastMapDir, // the game directory of the last compile
    LastUsedSettings, // the option string in use when the main window last closed
    Preset1, // the option strings of the four preset slots
    Preset2,
    Preset3,
    Preset4,
    GameExe, // the game's executable, Windows-form
    GameParameters, // the game's parameter template ($map, $bsp, $gamedir)
    RunMap, // "1" when the game runs the map after a compile whose map was copied, else "0"
};

struct SettingInfo
{
    Setting id;
    const char* section;
    const char* key;
    // What a missing key reads as; a key that is there but empty reads as "".
    const char* whenMissing = nullptr;
    // Written in quotation marks, which the reader removes again, so the value comes back exactly:
    // blanks at its ends, quotation marks of its own, and the empty text that differs from a missing key.
    bool quoted = false;
};

const SettingInfo& info(Setting setting);
// The preset slot's setting for slot 1 to 4; Preset1 for any other slot.
Setting presetSetting(int slot);
constexpr int kPresetCount = 4;

// The stored text; "" when the file, the section or the key is missing (or the setting's whenMissing).
std::string read(Setting setting);
// Stores the text; false when the file could not be written (it is then unchanged).
bool write(Setting setting, std::string_view value);

// ---- language.qmxII ----

enum class Text
{
    // The texts every language file has.
    ProgramOpen,
    Frame2,
    Frame4,
    MenuCompile,
    Presets,
    Preset,
    Save,
    Load,
    CopyFile,
    Frame3,
    NoMap,
    NoBsp,
    Compile,
    Hour,
    Minute,
    Second,
    And,
    Saved,
    Loaded,
    Credits,
    Form3,
    // Added later: a user's language file may lack them, so they have built-in English.
    CompileNoSdkDir,
    CompileSdkDirMissing,
    CompileSdkDirTooLong,
    CompileBatchFailed,
    CompileRunning,
    CompileUnsafeCharacter,
    CompileLineTooLong,
    CompileNotInCodePage,
    CompileExitStatus,
    CompileToolNotStarted,
    CompileToolStopped,
    CompileNoFreshBsp,
    CompileStoppedHere,
    CompileStopped,
    CompileLastLines,
    CompileLog,
    CompileOpenLog,
    CompileStop,
    CompileOutputTitle,
    CompileClose,
    CompileCloseRunning,
    ValueCharsRefused,
    RunMap,
    GameCommand,
    GameTitle,
    GameExe,
    GameBrowse,
    GameParameters,
    GamePlaceholders,
    GameOK,
    GameCancel,
    GameChooseExe,
    GameNoExe,
    GameExeMissing,
    GameBspMissing,
    GameStartFailed,
    GameNotCopied,
    GameStarted,
    GameRunTip,
    GameExeFiles,
    GameAllFiles,
    // The terminal command's refusals and reports.
    CliUnknownOption,
    CliMissingValue,
    CliBadPreset,
    CliConflict,
    CliExtraArgument,
    CliNoLastOptions,
    CliPresetNotSaved,
    CliMapMissing,
    CliNotVmf,
    CliOutsideDrives,
    CliNoGameDir,
    CliGameDirMissing,
    CliRunFailed,
    CliToolsFailed,
    CliCopyFailed,
};

struct TextInfo
{
    Text id;
    const char* section; // as the lookup spells it; the reader ignores case
    const char* key;
    const char* builtIn; // English for texts added later; nullptr for the original ones
};

const TextInfo& info(Text text);
// Every text, in the order the shipped files list them.
const std::vector<TextInfo>& allTexts();

// The language file's text; for a text added later, its built-in English when the file has none.
std::string text(Text text);

} // namespace qmx::config
