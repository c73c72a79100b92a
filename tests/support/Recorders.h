#pragma once

// Every GUI test runs with message boxes and program termination replaced by recorders, so no test
// blocks on a modal box or ends the test process. They are reset before each test.

#include "gui/toolkit/MessageBox.h"

#include <QString>

#include <vector>

namespace qmxtest {

using ShownMessage = qmx::MessageBoxContent;

std::vector<ShownMessage>& messages();
// The answer the next boxes give (vbOK until a test says otherwise); reset before each test.
void answerBoxes(int answer);
int endProgramCount();
void resetRecorders();

} // namespace qmxtest
