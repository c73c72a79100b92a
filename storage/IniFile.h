#pragma once

// Our own reader and writer of the private-profile (INI) format, the same on every platform.
// The file is read anew on every call; nothing is cached. Text is UTF-8 here and the ANSI code page
// in the file. Paths are Windows-form (mapped to host paths by the OS layer).

#include <string>
#include <string_view>

namespace qmx::ini {

// The value of key in section, or def when the file, section or key is missing. Names match without
// regard to case; the first section and first key of a name win; the value is the text after the
// first '=', trimmed, with one pair of matching quotes removed; at most 254 characters.
std::string readValue(std::string_view path, std::string_view section, std::string_view key,
                      std::string_view def = {});

// Stores value under key in section, creating the file, the section or the key line as needed; every
// other byte of the file stays as it was. The file is replaced atomically. Returns false when the
// write could not be done (the file is then unchanged).
bool writeValue(std::string_view path, std::string_view section, std::string_view key, std::string_view value);

} // namespace qmx::ini
