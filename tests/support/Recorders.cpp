#include "support/Recorders.h"

#include "gui/toolkit/Application.h"

namespace qmxtest {

Recorded& recorded()
{
    static Recorded record;
    return record;
}

std::vector<ShownMessage>& messages()
{
    return recorded().messages;
}

void resetRecorders()
{
    recorded() = {};
    qmx::setMessageBoxHandler([](const qmx::MessageBoxContent& content) {
        recorded().messages.push_back(content);
        const int answer = recorded().answer;
        return (content.style & 0x0F) == qmx::vbYesNo && answer == qmx::vbOK ? int(qmx::vbNo) : answer;
    });
    qmx::setEndProgramHandler([] { ++recorded().endProgramCount; });
}

} // namespace qmxtest
