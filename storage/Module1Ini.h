#pragma once

// The INI routines and the program's two files, in Qt terms.

#include <QString>

namespace Module1 {

QString ReadIniValue(const QString& file, const QString& section, const QString& key, const QString& def = QString());
void WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value);

// Program directory + "\settings.qmxII" / "\language.qmxII".
QString SettingsFile();
QString LanguageFile();
// A text of the language file (section "language").
QString LanguageText(const char* key);

} // namespace Module1
