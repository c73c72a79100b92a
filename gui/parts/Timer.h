#pragma once

// The compile job's platform helpers in Module1: the short form of a path and the performance timer.

#include <QString>

namespace Module1 {

// The 8.3 form of an existing path (GetShortPathNameA with a buffer of 164), or "" when the path
// does not exist or its short form does not fit.
QString GetShortPath(const QString& path);

// Stores the performance counter's frequency; start-up calls it first.
void InitPerformanceTimer();

// The counter in seconds, rounded to four decimal places.
double ReadPerformanceSeconds();

// The same reading as a whole count of ten-thousandths, exact for the rounding of a difference.
qint64 ReadPerformanceTenThousandths();

} // namespace Module1
