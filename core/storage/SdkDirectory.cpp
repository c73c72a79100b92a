#include "core/storage/SdkDirectory.h"

#include "core/os/Os.h"
#include "core/storage/Config.h"

#include <optional>

namespace qmx::config {

std::string detectSdkDirectory()
{
    const std::string fromEnvironment = os::getEnv("sourcesdk");
    if (!fromEnvironment.empty())
        return fromEnvironment + "\\bin";
    const std::optional<std::string> fromEditor
        = os::readRegistryString(os::kHkeyCurrentUser, "Software\\Valve\\Hammer\\General", "Directory");
    if (fromEditor && !fromEditor->empty())
        return *fromEditor;
    return read(Setting::SDKDir);
}

} // namespace qmx::config
