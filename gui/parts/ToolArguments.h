#pragma once

// The switch text of each tool's command line, read from the main window's controls.

#include <QString>

namespace Module1 {

QString BuildBspArguments();
QString BuildVisArguments();
QString BuildRadArguments();

} // namespace Module1
