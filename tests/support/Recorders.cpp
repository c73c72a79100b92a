#include "support/Recorders.h"

#include "toolkit/Application.h"
#include "toolkit/MessageBox.h"

namespace qmxtest {
namespace {
std::vector<ShownMessage> g_messages;
int g_endCount = 0;
} // namespace

std::vector<ShownMessage>& messages()
{
    return g_messages;
}

int endProgramCount()
{
    return g_endCount;
}

void resetRecorders()
{
    g_messages.clear();
    g_endCount = 0;
    qmx::setMessageBoxHandler([](const QString& prompt, int style, const QString& title) {
        g_messages.push_back({prompt, style, title});
    });
    qmx::setEndProgramHandler([] { ++g_endCount; });
}

} // namespace qmxtest
