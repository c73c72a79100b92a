#pragma once

// Our own reader and writer of the private-profile (INI) format, the same on every platform.
// The file is read anew on every call; nothing is cached. Text is UTF-8 here. In the file it is the ANSI
// code page, or what a byte order mark says: UTF-8, UTF-16 LE or UTF-16 BE (as Notepad saves "Unicode"),
// which the Windows profile functions read too. A write keeps the file in its encoding. Paths are
// Windows-form (mapped to host paths by the OS layer). Files over 32 MiB read as missing and are not
// rewritten.
//
// Lookup rules, those of the Windows profile functions: section and key names match without regard
// to ASCII case and are trimmed of blanks and control characters (0x09-0x0D, 0x1A), then end at a NUL
// (the functions keep names as C strings); the section name is the text between '[' and the line's
// last ']'; the first section of a name and its first key of a name win; the value is the text after
// the first '=', trimmed, with one pair of matching " or ' removed; a line without '=' is a key without
// a value (it reads as the default, and a later line of the same key is not seen); a line starting
// with ';' is a comment; CR, LF and CR LF end lines. A value is cut at a NUL and to at most 254 bytes
// (of the file in ANSI, of the UTF-8 text otherwise). A broken UTF-8 sequence in a UTF-8 file reads as
// one U+FFFD, as Windows decodes it.

#include <optional>
#include <string>
#include <string_view>

namespace qmx::ini {

constexpr std::size_t kMaxValueBytes = 254;

// The value of key in section, or def when the file, section or key is missing. Names match without
// regard to case; the first section and first key of a name win; the value is the text after the
// first '=', trimmed, with one pair of matching quotes removed; at most 254 characters.
std::string readValue(std::string_view path, std::string_view section, std::string_view key, std::string_view def = {});

// Stores value under key in section, creating the file, the section or the key line as needed; every
// other byte of the file stays as it was. The file is replaced atomically. Returns false when the
// write could not be done (the file is then unchanged). Values are single lines: CR, LF and NUL in
// value are dropped, and so are blanks at its ends, which the reader would drop anyway.
bool writeValue(std::string_view path, std::string_view section, std::string_view key, std::string_view value);

// The bytes of value that readValue counts against kMaxValueBytes in the file at path: its bytes in the
// ANSI code page in an ANSI file (and in a new one, which is written so), its UTF-8 bytes otherwise.
std::size_t storedValueBytes(std::string_view path, std::string_view value);

// The same two operations on file content held in memory, as raw file bytes. Names and values are file
// bytes too (ANSI or UTF-8 as the file is), except in a UTF-16 file, where they are UTF-8.
// findValue returns the value as the lookup rules give it (cut at a NUL, quotes removed) but neither
// cut to length nor converted; nothing when missing.
std::optional<std::string> findValue(std::string_view content, std::string_view section, std::string_view key);
// Returns the new file content, in the content's encoding, or nothing when the names could not be found
// again (empty, or holding a line break, a NUL, '=' in the key, or a key starting with '[' or ';').
std::optional<std::string> setValue(std::string_view content, std::string_view section, std::string_view key,
                                    std::string_view value);

} // namespace qmx::ini
