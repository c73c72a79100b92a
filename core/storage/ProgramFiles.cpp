#include "core/storage/ProgramFiles.h"

#include "core/os/Os.h"

namespace qmx {

namespace {
std::string inProgramDirectory(const char* name)
{
    return os::programDirectory() + "\\" + name;
}
} // namespace

std::string settingsFilePath()
{
    return inProgramDirectory("settings.qmxII");
}

std::string languageFilePath()
{
    return inProgramDirectory("language.qmxII");
}

std::string helpFilePath()
{
    return inProgramDirectory("help.chm");
}

} // namespace qmx
