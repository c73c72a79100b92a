#pragma once

// The compile command of the main window: the checks with their messages, the settings it records,
// compile.bat, the run in a console window, the time in words, the copy, and the game on the copied map.

#include "compile/ConsoleWait.h"
#include "core/compile/CompilePlan.h"
#include "core/game/GameRun.h"

class QMainWindow;

namespace qmx::compile {

// Every input is taken from the request, which the window fills when the command starts; the window's
// controls are locked while compile.bat runs. With runMap the game then starts on the copied map.
void RunCompileJob(const CompileRequest& request, const JobWindow& window, bool runMap = false);

// Tells the user how a start of the game went: a refusal's message, or in the window's status line
// the command line that was started, or that the map was not copied and so nothing started.
void ShowGameRun(const game::RunResult& result, QMainWindow* window);

} // namespace qmx::compile
