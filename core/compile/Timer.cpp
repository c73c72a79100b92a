#include "core/compile/Timer.h"

#include "core/compile/BatchFile.h"
#include "core/os/Os.h"

namespace qmx::compile {

namespace {
std::int64_t g_frequency = 0;
}

void initPerformanceTimer()
{
    g_frequency = os::performanceFrequency();
}

std::int64_t readTenThousandths()
{
    // A reading before start-up stored the frequency still works.
    if (g_frequency <= 0)
        initPerformanceTimer();
    return counterToTenThousandths(os::performanceCounter(), g_frequency);
}

} // namespace qmx::compile
