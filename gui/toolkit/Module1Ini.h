#pragma once

// The INI routines, the program's two files and their typed keys, in Qt terms.

#include "core/storage/Config.h"

#include <QString>

namespace Module1 {

QString ReadIniValue(const QString& file, const QString& section, const QString& key, const QString& def = QString());
void WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value);

// Program directory + "\settings.qmxII" / "\language.qmxII".
QString SettingsFile();
QString LanguageFile();
// A text of the language file by its key (section "language").
QString LanguageText(const char* key);

// A stored setting ("" when missing), and storing one; the result of a write is not looked at.
QString Setting(qmx::config::Setting setting);
void SetSetting(qmx::config::Setting setting, const QString& value);
// A text of the language file, with the built-in English of texts added later.
QString Text(qmx::config::Text text);

} // namespace Module1
