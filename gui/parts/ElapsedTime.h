#pragma once

// The compile time in words, with the unit words of the language file.

#include <QString>

namespace Module1 {

// "h:mm.ss", or with inWords the sentence of DescribeDuration.
QString FormatElapsedTime(qint32 seconds, bool inWords);

// The numeric text as a sentence; the unit words are read from the language file on every call.
QString DescribeDuration(const QString& numericText);

} // namespace Module1
