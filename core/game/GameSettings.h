#pragma once

// The game the compiled map runs in: its executable, its parameter template and whether a compile runs
// the map, as the settings file keeps them.

#include <string>

namespace qmx::game {

struct GameSettings
{
    std::string executable; // Windows-form; "" when none is chosen
    std::string parameters; // the template: "-novid -dev +map $map" until the user enters one
    bool runMap = false; // run the map after a compile whose map was copied
};

// What the settings file holds now; missing keys give the defaults above.
GameSettings readGameSettings();

// Stores the executable and the template exactly as given (an empty template included); false when the
// settings file could not be written.
bool writeGameCommand(const std::string& executable, const std::string& parameters);
// Stores the run-after-compile choice as "1" or "0".
bool writeRunMap(bool runMap);

} // namespace qmx::game
