#include "core/game/GameRun.h"

#include "core/compile/BatchFile.h"
#include "core/game/GameTemplate.h"
#include "core/os/Os.h"

namespace qmx::game {

namespace {

std::string joined(const std::string& dir, const std::string& name)
{
    if (dir.empty() || dir.back() == '\\' || dir.back() == '/')
        return dir + name;
    return dir + '\\' + name;
}

// "C:\games\hl2.exe" -> "C:\games"; a root keeps its backslash ("C:\hl2.exe" -> "C:\"); "" without one.
std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return {};
    if (slash == 2 && path[1] == ':')
        return path.substr(0, 3);
    return path.substr(0, slash);
}

std::string withoutExtension(const std::string& name)
{
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

RunResult refuse(Refusal reason, std::string detail = {})
{
    RunResult result;
    result.refused = Refused{reason, std::move(detail)};
    return result;
}

} // namespace

config::Text refusalText(Refusal refusal)
{
    switch (refusal) {
    case Refusal::NotCopied:
        return config::Text::GameNotCopied;
    case Refusal::NoMap:
        return config::Text::NoMap;
    case Refusal::NoExecutable:
        return config::Text::GameNoExe;
    case Refusal::ExecutableMissing:
        return config::Text::GameExeMissing;
    case Refusal::BspMissing:
        return config::Text::GameBspMissing;
    case Refusal::StartFailed:
        return config::Text::GameStartFailed;
    }
    return config::Text::GameStartFailed;
}

std::string compiledMapPath(const std::string& mapFile, const std::string& gameDir)
{
    return joined(gameDir, compile::compiledFileName(mapFile));
}

RunResult planRun(const RunRequest& request)
{
    if (request.mapFile.empty())
        return refuse(Refusal::NoMap);
    const std::string& exe = request.game.executable;
    if (exe.find_first_not_of(" \t") == std::string::npos)
        return refuse(Refusal::NoExecutable);
    const std::string workingDir = directoryOf(exe);
    if (workingDir.empty() || !os::fileExists(exe))
        return refuse(Refusal::ExecutableMissing, exe);
    const std::string bsp = compiledMapPath(request.mapFile, request.gameDir);
    if (request.gameDir.empty() || !os::fileExists(bsp))
        return refuse(Refusal::BspMissing, bsp);

    Placeholders values;
    values.map = withoutExtension(compile::compiledFileName(request.mapFile));
    values.bsp = bsp;
    values.gameDir = request.gameDir;
    RunResult result;
    result.launch = GameLaunch{gameCommandLine(exe, fillTemplate(request.game.parameters, values)), workingDir};
    return result;
}

RunResult runMap(const RunRequest& request)
{
    RunResult result = planRun(request);
    if (result.launch && !os::startProgramIn(result.launch->commandLine, result.launch->workingDir)) {
        result.refused = Refused{Refusal::StartFailed, result.launch->commandLine};
        result.launch.reset();
    }
    return result;
}

RunResult runCompiledMap(const RunRequest& request, bool copied)
{
    if (!copied)
        return refuse(Refusal::NotCopied, compiledMapPath(request.mapFile, request.gameDir));
    return runMap(request);
}

} // namespace qmx::game
