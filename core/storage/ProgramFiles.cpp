#include "core/storage/ProgramFiles.h"

#include "core/os/Os.h"

namespace qmx {

namespace {
// The file as the directory spells it, so that the start-up check, every read and every write, and a
// help viewer handed the path all meet the same file; a file not there yet gets the name as given.
std::string inProgramDirectory(const char* name)
{
    return os::matchFileNameCase(os::programDirectory() + "\\" + name);
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
