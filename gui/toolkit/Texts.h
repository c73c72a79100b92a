#pragma once

// The program's two files in Qt terms: the language file's texts and the settings, each read anew.

#include "core/storage/Config.h"

#include <QString>

namespace qmx {

// A text of the language file, with the built-in English of texts added later.
QString languageText(config::Text text);

// A stored setting ("" when missing), and storing one; a write that fails is not reported.
QString setting(config::Setting setting);
void storeSetting(config::Setting setting, const QString& value);

} // namespace qmx
