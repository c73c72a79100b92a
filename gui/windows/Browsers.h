#pragma once

// Putting the map and game directory browsers back where they were.

#include <QString>

class Form1;

namespace Module1 {

// A stored directory is usable when it is not empty and holds at least one ordinary file whose name
// is not blank (subdirectories, hidden and system files do not count).
bool IsRestorableDirectory(const QString& path);

// The map browser from "LastDir"; left as it is when that directory is not usable.
void RestoreMapDirectory(Form1& form);
// The game directory browser from "LastMapDir", else from the launcher path's "Steamapps" folder.
void RestoreGameDirectory(Form1& form);

} // namespace Module1
