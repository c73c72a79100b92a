#pragma once

// Every GUI test runs with message boxes and program termination replaced by recorders, so no test
// blocks on a modal box or ends the test process. They are reset before each test.

#include "gui/toolkit/MessageBox.h"

#include <vector>

namespace qmxtest {

using ShownMessage = qmx::MessageBoxContent;

struct Recorded
{
    std::vector<ShownMessage> messages;
    int endProgramCount = 0;
    int answer = qmx::vbOK; // what the next boxes answer; a yes/no box asked an OK gets its safe "no"
};

Recorded& recorded();
std::vector<ShownMessage>& messages();
void resetRecorders();

} // namespace qmxtest
