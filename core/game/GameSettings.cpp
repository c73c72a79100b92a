#include "core/game/GameSettings.h"

#include "core/storage/Config.h"

namespace qmx::game {

GameSettings readGameSettings()
{
    GameSettings settings;
    settings.executable = config::read(config::Setting::GameExe);
    settings.parameters = config::read(config::Setting::GameParameters);
    settings.runMap = config::read(config::Setting::RunMap) == "1";
    return settings;
}

bool writeGameCommand(const std::string& executable, const std::string& parameters)
{
    const bool exeStored = config::write(config::Setting::GameExe, executable);
    return config::write(config::Setting::GameParameters, parameters) && exeStored;
}

bool writeRunMap(bool runMap)
{
    return config::write(config::Setting::RunMap, runMap ? "1" : "0");
}

} // namespace qmx::game
