#include "core/os/Os.h"

#include <ctime>

namespace qmx::os {

namespace {
constexpr std::int64_t kTicksPerSecond = 10'000'000; // the 100 ns unit that Windows reports
}

std::int64_t performanceFrequency()
{
    return kTicksPerSecond;
}

std::int64_t performanceCounter()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * kTicksPerSecond + ts.tv_nsec / 100;
}

} // namespace qmx::os
