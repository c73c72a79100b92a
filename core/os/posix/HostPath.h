#pragma once

// Host paths for the routines that touch the file system (Linux).

#include <string>
#include <string_view>

namespace qmx::os::detail {

// toHostPath with the last component spelt as it is on disk (see matchFileNameCase); "" when no drive
// maps the path.
std::string hostFilePath(std::string_view path);

} // namespace qmx::os::detail
