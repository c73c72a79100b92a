#pragma once

#include <string_view>

namespace qmx::os {

// Matches a file name against a pattern with '*' and '?', without regard to ASCII case.
// "*.*" matches every name, also names without a dot, as on Windows.
bool wildcardMatch(std::string_view pattern, std::string_view name);

} // namespace qmx::os
