#include "gui/parts/Timer.h"

#include "core/compile/Timer.h"
#include "core/os/Os.h"

namespace Module1 {

QString GetShortPath(const QString& path)
{
    return QString::fromStdString(qmx::os::getShortPath(path.toStdString()));
}

void InitPerformanceTimer()
{
    qmx::compile::initPerformanceTimer();
}

qint64 ReadPerformanceTenThousandths()
{
    return qmx::compile::readTenThousandths();
}

double ReadPerformanceSeconds()
{
    return static_cast<double>(ReadPerformanceTenThousandths()) / 10000.0;
}

} // namespace Module1
