#include "core/os/Os.h"

#include <windows.h>

namespace qmx::os {

std::int64_t performanceFrequency()
{
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
}

std::int64_t performanceCounter()
{
    LARGE_INTEGER c{};
    QueryPerformanceCounter(&c);
    return c.QuadPart;
}

} // namespace qmx::os
