#pragma once

// Every GUI test runs with message boxes and program termination replaced by recorders, so no test
// blocks on a modal box or ends the test process. They are reset before each test.

#include <QString>

#include <vector>

namespace qmxtest {

struct ShownMessage
{
    QString prompt;
    int style = 0;
    QString title;
};

std::vector<ShownMessage>& messages();
int endProgramCount();
void resetRecorders();

} // namespace qmxtest
