#include "core/os/Os.h"

namespace qmx::os {

// The same on both systems: the bytes are made here, the write is the system's.
bool writeAnsiTextFile(std::string_view path, const std::vector<std::string>& lines, std::string* error)
{
    std::string bytes;
    for (const auto& line : lines) {
        bytes += toAnsi(line);
        bytes += "\r\n";
    }
    return writeFile(path, bytes, error);
}

} // namespace qmx::os
