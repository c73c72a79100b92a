#pragma once

// The compile's clock: the performance counter read as seconds with four decimal places, as a whole
// count of ten-thousandths so that the rounding of a difference is exact.

#include <cstdint>

namespace qmx::compile {

// Stores the counter's frequency; start-up calls it first.
void initPerformanceTimer();
// The counter now, in ten-thousandths of a second.
std::int64_t readTenThousandths();

} // namespace qmx::compile
