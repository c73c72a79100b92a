#include "compile/Timer.h"

#include "core/compile/BatchFile.h"
#include "core/os/Os.h"

namespace Module1 {

namespace {
qint64 g_frequency = 0;
}

QString GetShortPath(const QString& path)
{
    return QString::fromStdString(qmx::os::getShortPath(path.toStdString()));
}

void InitPerformanceTimer()
{
    g_frequency = qmx::os::performanceFrequency();
}

qint64 ReadPerformanceTenThousandths()
{
    // A reading before start-up stored the frequency still works.
    if (g_frequency <= 0)
        InitPerformanceTimer();
    return qmx::compile::counterToTenThousandths(qmx::os::performanceCounter(), g_frequency);
}

double ReadPerformanceSeconds()
{
    return static_cast<double>(ReadPerformanceTenThousandths()) / 10000.0;
}

} // namespace Module1
