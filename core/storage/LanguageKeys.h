#pragma once

// The section and keys of the language file. Nothing else in the program spells these names.

namespace qmx::language {

// One section; some lookups spell it with a capital, and the reader ignores case.
inline constexpr const char* kSection = "language";
inline constexpr const char* kSectionCapital = "Language";

inline constexpr const char* kProgramOpen = "ProgramOpen";
inline constexpr const char* kFrame2 = "Frame2";
inline constexpr const char* kFrame4 = "Frame4";
inline constexpr const char* kMenuCompile = "MenuCompile";
inline constexpr const char* kPresets = "Presets";
inline constexpr const char* kPreset = "preset";
inline constexpr const char* kSave = "save";
inline constexpr const char* kLoad = "load";
inline constexpr const char* kCopyFile = "CopyFIle"; // the file's own spelling
inline constexpr const char* kFrame3 = "Frame3";
inline constexpr const char* kNoMap = "nomap";
inline constexpr const char* kNoBsp = "nobsp";
inline constexpr const char* kCompile = "Compile";
inline constexpr const char* kHour = "hour";
inline constexpr const char* kMinute = "minute";
inline constexpr const char* kSecond = "second";
inline constexpr const char* kAnd = "and";
inline constexpr const char* kSaved = "saved";
inline constexpr const char* kLoaded = "loaded";
inline constexpr const char* kCredits = "Credits";
inline constexpr const char* kForm3 = "Form3";

// Every key, in the order the file lists them.
inline constexpr const char* kAllKeys[] = {
    kProgramOpen, kFrame2,  kFrame4, kMenuCompile, kPresets, kPreset, kSave,  kLoad,   kCopyFile, kFrame3, kNoMap,
    kNoBsp,       kCompile, kHour,   kMinute,      kSecond,  kAnd,    kSaved, kLoaded, kCredits,  kForm3,
};

} // namespace qmx::language
