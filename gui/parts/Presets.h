#pragma once

// The four preset slots: each keeps a whole option set in the settings file.

namespace qmx {

// Stores the current option set in slot 1 to 4 and says so.
void SavePreset(int slot);
// Clears every page, restores the slot's option set (a slot never saved restores as all off) and says so.
void LoadPreset(int slot);

} // namespace qmx
