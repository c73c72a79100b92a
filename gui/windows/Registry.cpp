#include "gui/windows/Registry.h"

#include "core/os/Os.h"

namespace Module1 {

std::optional<QString> ReadRegistryString(std::uint32_t root, const QString& keyPath, const QString& valueName)
{
    const std::optional<std::string> value
        = qmx::os::readRegistryString(root, keyPath.toStdString(), valueName.toStdString());
    if (!value)
        return std::nullopt;
    return QString::fromStdString(*value);
}

} // namespace Module1
