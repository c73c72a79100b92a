#include "gui/parts/ElapsedTime.h"

#include "core/compile/DurationText.h"

namespace Module1 {

QString FormatElapsedTime(qint32 seconds, bool inWords)
{
    return QString::fromStdString(qmx::compile::formatElapsedTime(seconds, inWords));
}

QString DescribeDuration(const QString& numericText)
{
    return QString::fromStdString(
        qmx::compile::describeDuration(numericText.toStdString(), qmx::compile::languageDurationWords()));
}

} // namespace Module1
