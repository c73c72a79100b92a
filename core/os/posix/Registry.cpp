#include "core/os/Os.h"

#include "core/os/UserReg.h"

// Wine keeps HKEY_CURRENT_USER in the prefix's user.reg; reading the text is enough for the few string
// values we need and works without starting Wine.

namespace qmx::os {

std::optional<std::string> readRegistryString(std::uint32_t root, std::string_view keyPath, std::string_view valueName)
{
    if (root != kHkeyCurrentUser)
        return std::nullopt;
    std::string hive;
    if (!readFile(winePrefix() + "/user.reg", hive))
        return std::nullopt;
    auto value = findUserRegString(hive, keyPath, valueName);
    if (!value)
        return std::nullopt;
    // The Windows program gets the value through the ANSI call: characters the code page lacks
    // arrive as '?', here as there.
    return fromAnsi(toAnsi(*value));
}

} // namespace qmx::os
