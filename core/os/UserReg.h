#pragma once

// Reads string values from the text form of a Wine registry hive (user.reg), so that Linux builds see
// what Windows programs in the same Wine prefix stored.

#include <optional>
#include <string>
#include <string_view>

namespace qmx::os {

// The REG_SZ value valueName ("" for the default value) of the key keyPath ("Software\Vendor\App",
// relative to the hive's root), as UTF-8 up to its first NUL. Nothing when the key or value is
// missing or the value has another type. Names match without regard to ASCII case.
std::optional<std::string> findUserRegString(std::string_view hiveText, std::string_view keyPath,
                                             std::string_view valueName);

// Decodes one quoted registry string starting at text[pos] == '"'. On success sets *end to the index
// after the closing quote and returns the text as UTF-8.
std::optional<std::string> decodeRegString(std::string_view text, std::size_t pos, std::size_t* end);

} // namespace qmx::os
