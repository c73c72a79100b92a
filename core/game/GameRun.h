#pragma once

// Running the compiled map in the game: the checks with their refusals, the command line, and the
// start in the game's own directory without waiting for it. The window (after a compile, and on its
// own key) and the terminal command both run the game through this; only how they tell the user differs.

#include "core/game/GameSettings.h"
#include "core/storage/Config.h"

#include <optional>
#include <string>

namespace qmx::game {

// Every reason the game does not start, in the order the checks come.
enum class Refusal
{
    NotCopied, // after a compile: the compiled map was not copied into the game directory
    NoMap, // no map file chosen
    NoExecutable, // no game executable is set
    ExecutableMissing, // the executable is not there
    BspMissing, // the compiled map is not in the game directory
    StartFailed, // the game could not be started
};

// The language text that tells the user about a refusal.
config::Text refusalText(Refusal refusal);

struct Refused
{
    Refusal reason;
    std::string detail; // the path or command line concerned; may be empty
};

// What a run works on; paths are Windows-form.
struct RunRequest
{
    std::string mapFile; // the map source's file name without directory ("castle.vmf")
    std::string gameDir; // the game directory the compiled map is copied to
    GameSettings game;
};

struct GameLaunch
{
    std::string commandLine; // the quoted executable and the filled template
    std::string workingDir; // the executable's own directory
};

struct RunResult
{
    std::optional<GameLaunch> launch; // what was started (planRun: what would be)
    std::optional<Refused> refused;
};

// The compiled map's name and path in the game directory, as the copy after a compile leaves it.
std::string compiledMapPath(const std::string& mapFile, const std::string& gameDir);

// The checks and the command line; starts nothing.
RunResult planRun(const RunRequest& request);
// The checks, then the start without waiting for the game.
RunResult runMap(const RunRequest& request);
// After a compile: runs the map only when the compile has just copied it, NotCopied otherwise, so an
// older copy in the game directory never runs in its place.
RunResult runCompiledMap(const RunRequest& request, bool copied);

} // namespace qmx::game
