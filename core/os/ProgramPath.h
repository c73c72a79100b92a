#pragma once

// Pieces of the program's own paths that both backends share.

#include <string>

namespace qmx::os::detail {

// The directory tests set with overrideProgramDirectory(), or "".
const std::string& programDirectoryOverride();
std::string withoutTrailingSeparators(std::string dir);
// The file name of a path ('/' or '\' separated) without its extension.
std::string fileStem(std::string path);

} // namespace qmx::os::detail
