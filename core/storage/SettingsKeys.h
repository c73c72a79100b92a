#pragma once

// The sections and keys of the settings file. Nothing else in the program spells these names.

namespace qmx::settings {

inline constexpr const char* kSection = "settings";
inline constexpr const char* kPresetsSection = "presets";

inline constexpr const char* kSDKDir = "SDKDir";
inline constexpr const char* kLastDir = "LastDir";
inline constexpr const char* kLastFile = "LastFile";
inline constexpr const char* kLastMapDir = "LastMapDir";
inline constexpr const char* kLastUsedSettings = "LastUsedSettings";

inline constexpr int kPresetCount = 4;
inline constexpr const char* kPresetKeys[kPresetCount] = {"preset1", "preset2", "preset3", "preset4"};

// Key of preset slot n (1 to 4); nullptr for any other n.
inline constexpr const char* presetKey(int n)
{
    return (n >= 1 && n <= kPresetCount) ? kPresetKeys[n - 1] : nullptr;
}

} // namespace qmx::settings
