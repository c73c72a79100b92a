#pragma once

// The files the program keeps beside itself, addressed as program directory + "\" + name.

#include <string>

namespace qmx {

std::string settingsFilePath();
std::string languageFilePath();
std::string helpFilePath();

} // namespace qmx
