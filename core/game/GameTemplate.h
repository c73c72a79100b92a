#pragma once

// The game's command line from its parameter template. The template's placeholders are $map (the map's
// name without extension), $bsp (the full path of the compiled map in the game directory) and $gamedir
// (the game directory), written in lower case; a placeholder followed by a letter, a digit or "_" is not
// one ($mapname stays as written), and any other text stays exactly as the user wrote it.
//
// Every value stays one argument for the game, whatever it holds:
// - outside the template's own quotation marks, a value with a blank or a tab, or an empty one, is put
//   in quotation marks; inside them it goes in as it is;
// - quotation marks inside a value are dropped (Windows paths cannot hold them);
// - backslashes that end a value right before a closing quotation mark are doubled, because the
//   Windows argument rules read \" as a quotation mark that belongs to the argument ("C:\" would
//   swallow the rest of the line; "C:\\" is the argument C:\).

#include <string>
#include <string_view>

namespace qmx::game {

// What the placeholders stand for; paths are Windows-form.
struct Placeholders
{
    std::string map; // "castle" for castle.vmf
    std::string bsp; // "C:\games\mod\maps\castle.bsp"
    std::string gameDir; // "C:\games\mod\maps"
};

std::string fillTemplate(std::string_view parameters, const Placeholders& values);

// The executable in quotation marks, then one blank and the filled template (nothing when it is empty).
std::string gameCommandLine(std::string_view executable, std::string_view filledParameters);

} // namespace qmx::game
