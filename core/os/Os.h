#pragma once

// The operating-system layer: every call that touches the operating system, without Qt, so that it
// builds natively and with mingw-w64. Text is UTF-8 on this interface; the ANSI code page conversion
// happens inside. Paths are Windows-form ("C:\maps", "Z:\home\me"); on Linux they are mapped to host
// paths through the Wine prefix's dosdevices links.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qmx::os {

// ---- text ----

// UTF-8 to the ANSI code page (Windows-1252 on Linux; the system's ANSI code page on Windows).
// Characters without a mapping become '?'.
std::string toAnsi(std::string_view utf8);
// ANSI code page bytes to UTF-8.
std::string fromAnsi(std::string_view ansi);

// ---- paths and drives ----

struct Drive
{
    char letter = 'C'; // upper case
    std::string hostRoot; // Linux: the folder the drive maps to; Windows: "C:\"
};

// The drives the user can browse, sorted by letter. Linux: the Wine prefix's drive letters
// ($WINEPREFIX, default ~/.wine), each mapped to its folder; with no prefix, Z: for "/".
std::vector<Drive> drives();

// The Wine prefix in use (Linux), or "" on Windows.
std::string winePrefix();

// Windows-form path to the host path (Linux); unchanged on Windows. A path that begins with '/' is
// already a host path. Drive letters are case-insensitive. Returns "" when the drive is unknown.
// Purely textual: the letter case of names on disk is matchFileNameCase's business.
std::string toHostPath(std::string_view windowsPath);
// Host path to Windows form (Linux: through the drive whose folder is the longest prefix; Windows: '/'
// becomes '\'). Returns "" when no drive maps the path.
std::string toWindowsPath(std::string_view hostPath);

// Windows ignores the letter case of file names; Linux does not. So that "Language.qmxII" is the file
// that both the probe and every read of "language.qmxII" find, every routine here that opens, writes,
// copies, starts or probes a file (Linux) takes the path's last component without regard to case: the
// spelling given when it exists, otherwise the first of the directory's entries of that name in byte
// order (of "Settings.qmxII" and "SETTINGS.QMXII", the latter). A new file gets the spelling given.
// Folder routines (directoryExists, the listings, getShortPath) take paths as given: the browsers
// match folder names themselves. This returns path with its last component spelt as that rule finds
// it on disk; path itself when nothing matches, and always on Windows.
std::string matchFileNameCase(std::string_view path);

// ---- application services ----

// Directory of the running executable, Windows-form, without a trailing backslash.
std::string programDirectory();
// Tests point the program at a sandbox directory (Windows-form or host path); "" undoes it.
void overrideProgramDirectory(std::string dir);
// The executable's file name without directory and extension.
std::string executableName();
// True when another copy of the program is running. The first call takes a lock that the system
// releases when this process ends, however it ends; later calls give the first call's answer.
bool anotherInstanceRunning();
// Gives up the lock that anotherInstanceRunning() took and forgets its answer, so that the next call
// asks anew (for the program directory then in force). For tests, and for a clean shut-down.
void releaseInstanceLock();
// Environment variable; "" when unset.
std::string getEnv(std::string_view name);
// The directory probe: the name of the first ordinary file matching the pattern (wildcards only in the
// last component; hidden and system files and directories are not returned), or "".
std::string probeFirstFile(std::string_view pattern);

// Creates or truncates the file and writes each line in the ANSI code page followed by CR LF.
// On failure returns false and says why in *error (when given).
bool writeAnsiTextFile(std::string_view path, const std::vector<std::string>& lines, std::string* error = nullptr);
// Creates or truncates the file and writes the bytes as they are. On failure returns false and says why.
bool writeFile(std::string_view path, std::string_view bytes, std::string* error = nullptr);

// A directory's entries for the browsers, sorted without regard to case. `ok` is false when the
// directory cannot be read.
struct Listing
{
    bool ok = false;
    std::vector<std::string> names;
};
Listing subdirectories(std::string_view dir);
// Ordinary files whose names match the wildcard pattern ("*.vmf"), compared without regard to case.
Listing filesMatching(std::string_view dir, std::string_view pattern);
bool directoryExists(std::string_view path);
bool fileExists(std::string_view path);
// When the file was last written, in the system's own units (only to compare two readings); nothing
// when it does not exist.
std::optional<std::int64_t> fileModifiedTime(std::string_view path);
// Deletes a file; false when it could not (a missing file included).
bool removeFile(std::string_view path);

// The whole file; false when it cannot be read (a missing file included) or is larger than maxBytes.
bool readFile(std::string_view path, std::string& bytes, std::size_t maxBytes = 64u << 20);
// Replaces the file's content atomically: the bytes go to a temporary file beside it, which then takes the
// old one's place (keeping its permissions); the directory is synced after that where the system allows.
// The temporary file's name is fixed per target (the target's name and ".qmxtmp"), so a write cut short
// leaves at most that one file, which the next write takes over. Writes of one target from several
// processes wait for each other. A symbolic link is kept: what it points to is replaced. A link that
// points nowhere or in a circle is refused. On failure the old file is untouched.
bool replaceFile(std::string_view path, std::string_view bytes, std::string* error = nullptr);
// Gets the file's content (nullptr when there is no file) and gives the new one, or nothing to refuse.
using FileEdit = std::function<std::optional<std::string>(const std::string* content)>;
// replaceFile with what edit makes of the file's content, read after the writers' lock is taken, so that
// writers in several processes each changing a part of one file never lose each other's changes. A file
// that is there but cannot be read (or is over maxBytes) is left as it is, and so is one that edit gives
// back unchanged (true).
bool updateFile(std::string_view path, const FileEdit& edit, std::size_t maxBytes, std::string* error = nullptr);

// ---- compile support ----

// GetShortPathNameA with a buffer of 164: the short form, or "" when the path does not exist or its
// short form does not fit. Linux: the path itself when it exists and fits.
std::string getShortPath(std::string_view path);
std::int64_t performanceFrequency();
std::int64_t performanceCounter();
// Copies a file, replacing an existing target.
bool copyFile(std::string_view from, std::string_view to);

constexpr std::uint32_t kHkeyCurrentUser = 0x80000001u;
// A REG_SZ value's text up to its first NUL, or nothing (missing key or value, other type).
// Linux: HKEY_CURRENT_USER values from the Wine prefix's user.reg.
std::optional<std::string> readRegistryString(std::uint32_t root, std::string_view keyPath, std::string_view valueName);

// ---- shell ----

// Starts a command line without waiting for it. False when it could not be started.
bool startProgram(std::string_view commandLine);
// The same, with the program's working directory set to workingDir (Windows-form). False when the
// directory does not exist or the program could not be started. Linux: a Windows program (one that
// starts with "MZ"; by its .exe name when it cannot be read) runs through "wine" in the Wine prefix of
// this process's environment, the one the compile uses; any other program (a native build) as itself.
bool startProgramIn(std::string_view commandLine, std::string_view workingDir);
// How startProgram splits a command line into the program and its arguments on Linux (Windows hands the
// line on whole): blanks and tabs separate, and double quotes group, so a path with blanks in quotes
// stays one argument; the quotes themselves are dropped, and "" gives an empty argument.
std::vector<std::string> splitCommandLine(std::string_view commandLine);
// Opens a document or web address with the desktop's handler ("open" verb). False on failure.
bool shellOpen(std::string_view target);

} // namespace qmx::os
