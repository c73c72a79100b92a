#include "compile/ElapsedTime.h"

#include "core/compile/DurationText.h"
#include "core/storage/LanguageKeys.h"
#include "storage/Module1Ini.h"

namespace Module1 {

QString FormatElapsedTime(qint32 seconds, bool inWords)
{
    const QString numeric = QString::fromStdString(qmx::compile::numericDuration(seconds));
    return inWords ? DescribeDuration(numeric) : numeric;
}

QString DescribeDuration(const QString& numericText)
{
    const QString file = LanguageFile();
    const QString unitSection = QString::fromLatin1(qmx::language::kSectionCapital);
    qmx::compile::DurationWords words;
    words.hour = ReadIniValue(file, unitSection, QString::fromLatin1(qmx::language::kHour)).toStdString();
    words.minute = ReadIniValue(file, unitSection, QString::fromLatin1(qmx::language::kMinute)).toStdString();
    words.second = ReadIniValue(file, unitSection, QString::fromLatin1(qmx::language::kSecond)).toStdString();
    words.andWord
        = ReadIniValue(file, QString::fromLatin1(qmx::language::kSection), QString::fromLatin1(qmx::language::kAnd))
              .toStdString();
    return QString::fromStdString(qmx::compile::describeDuration(numericText.toStdString(), words));
}

} // namespace Module1
