#include "support/Recorders.h"

#include "gui/toolkit/Application.h"
#include "gui/toolkit/MessageBox.h"

namespace qmxtest {
namespace {
std::vector<ShownMessage> g_messages;
int g_endCount = 0;
int g_answer = qmx::vbOK;
} // namespace

std::vector<ShownMessage>& messages()
{
    return g_messages;
}

int endProgramCount()
{
    return g_endCount;
}

void answerBoxes(int answer)
{
    g_answer = answer;
}

void resetRecorders()
{
    g_messages.clear();
    g_endCount = 0;
    g_answer = qmx::vbOK;
    qmx::setMessageBoxHandler([](const qmx::MessageBoxContent& content) {
        g_messages.push_back(content);
        // A yes/no box asked an OK gets its "no": the safe answer.
        return (content.style & 0x0F) == qmx::vbYesNo && g_answer == qmx::vbOK ? int(qmx::vbNo) : g_answer;
    });
    qmx::setEndProgramHandler([] { ++g_endCount; });
}

} // namespace qmxtest
