#pragma once

// How the help command opens the help file on each platform. Building the attempts is kept apart from
// running them, so both platforms' command lines can be checked anywhere.

#include <QString>

#include <functional>
#include <vector>

namespace qmx {

enum class HelpPlatform
{
    Windows,
    Linux
};

// One way of opening the help: start a command line, or hand a file to the desktop's "open".
struct HelpAttempt
{
    enum Kind
    {
        StartProgram,
        ShellOpen
    };
    Kind kind = StartProgram;
    QString target;

    bool operator==(const HelpAttempt& other) const { return kind == other.kind && target == other.target; }
};

// Finds a program on the PATH: its full path, or "" when it is not there.
using ProgramFinder = std::function<QString(const QString& name)>;

// The ways to open the help, best first. windowsProgramDir is the program directory in Windows form
// (the command line hh.exe gets, unquoted); on Linux hostHelpFile, the help file as it lies in the
// program directory (whatever the letter case of its name), goes to the first CHM viewer found and,
// failing that, the HTML copy in hostProgramDir's help/ opens in the browser.
std::vector<HelpAttempt> BuildHelpAttempts(HelpPlatform platform, const QString& windowsProgramDir,
                                           const QString& hostProgramDir, const QString& hostHelpFile,
                                           const ProgramFinder& findProgram);

// The platform this build runs on.
HelpPlatform CurrentHelpPlatform();

// Runs the attempts in order until one starts; false when none did.
bool OpenHelp(const std::vector<HelpAttempt>& attempts);

// The help command: help.chm of the program directory in this platform's viewer. Nothing is said when no
// viewer starts: the help is a convenience, never a reason to stop.
void OpenHelpFile();

} // namespace qmx
