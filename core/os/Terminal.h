#pragma once

// The terminal a command-line program was started from: its arguments, and text to its output streams.

#include <string>
#include <string_view>
#include <vector>

namespace qmx::os {

// The command line's arguments after the program name, in UTF-8. Windows reads the wide command line, so
// letters outside the ANSI code page arrive intact.
std::vector<std::string> terminalArguments(int argc, char** argv);

enum class TerminalStream
{
    Output,
    Error
};
// Writes UTF-8 text: a Windows console shows it as Unicode; a file, a pipe or a Linux terminal gets the
// UTF-8 bytes.
void writeTerminalText(TerminalStream stream, std::string_view utf8);
// Writes bytes exactly as given, with no line-end translation.
void writeTerminalBytes(TerminalStream stream, std::string_view bytes);

} // namespace qmx::os
