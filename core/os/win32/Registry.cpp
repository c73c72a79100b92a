#include "core/os/Os.h"

#include <windows.h>

namespace qmx::os {

std::optional<std::string> readRegistryString(std::uint32_t root, std::string_view keyPath, std::string_view valueName)
{
    // The predefined keys are sign-extended 32-bit values.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    HKEY key = nullptr;
    if (RegOpenKeyA(rootKey, toAnsi(keyPath).c_str(), &key) != ERROR_SUCCESS)
        return std::nullopt;
    const std::string name = toAnsi(valueName);
    std::optional<std::string> result;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
        std::string buf(size, ' ');
        DWORD size2 = size;
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size2)
                == ERROR_SUCCESS
            && type == REG_SZ) {
            const std::size_t nul = buf.find('\0');
            if (nul != std::string::npos)
                buf.resize(nul);
            result = fromAnsi(buf);
        }
    }
    RegCloseKey(key);
    return result;
}

} // namespace qmx::os
