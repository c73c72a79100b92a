#pragma once

// The files the program keeps beside itself, addressed as program directory + "\" + name. On Linux the
// name is spelt as the directory holds it when only its letter case differs ("Language.qmxII"); see
// os::matchFileNameCase.

#include <string>

namespace qmx {

std::string settingsFilePath();
std::string languageFilePath();
std::string helpFilePath();

} // namespace qmx
