#include "core/os/ProgramPath.h"

#include "core/os/Os.h"

namespace qmx::os {

namespace {
std::string g_programDirOverride;
} // namespace

void overrideProgramDirectory(std::string dir)
{
    g_programDirOverride = std::move(dir);
}

namespace detail {

const std::string& programDirectoryOverride()
{
    return g_programDirOverride;
}

std::string withoutTrailingSeparators(std::string dir)
{
    while (dir.size() > 1 && (dir.back() == '\\' || dir.back() == '/'))
        dir.pop_back();
    return dir;
}

std::string fileStem(std::string path)
{
    const std::size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos)
        path.erase(0, slash + 1);
    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot > 0)
        path.erase(dot);
    return path;
}

} // namespace detail
} // namespace qmx::os
