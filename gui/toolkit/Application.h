#pragma once

#include <QString>

#include <functional>

namespace qmx {

// Ends the program at once: no window's unload behaviour runs. Callers return right after it, since
// under test the seam only records the request.
void EndProgram();

// Tests replace termination with a recorder.
using EndProgramHandler = std::function<void()>;
void setEndProgramHandler(EndProgramHandler handler); // empty handler: real termination again

// Application services in Qt terms, over the OS layer.
QString ProgramDirectory(); // Windows-form, no trailing backslash
QString ExecutableName(); // without extension
bool AnotherInstanceRunning();
QString Dir(const QString& pattern); // the directory probe

} // namespace qmx
