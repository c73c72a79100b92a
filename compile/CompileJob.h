#pragma once

// The compile command of the main window: the checks with their messages, the settings it records,
// compile.bat, the run in a console window, the time in words, and the copy.

#include "compile/ConsoleWait.h"
#include "core/compile/CompilePlan.h"

namespace qmx::compile {

// Every input is taken from the request, which the window fills when the command starts; the window's
// controls are locked while compile.bat runs.
void RunCompileJob(const CompileRequest& request, const JobWindow& window);

} // namespace qmx::compile
