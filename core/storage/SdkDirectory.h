#pragma once

// Where the SDK's bin directory comes from, for the window's start-up and the terminal command alike.

#include <string>

namespace qmx::config {

// The first non-empty of: the "sourcesdk" variable followed by "\bin", the editor's registry value
// "Directory" as it stands, the stored "SDKDir". "" when every source is empty. Later sources are read
// only when the earlier ones give nothing; nothing is checked for existence.
std::string detectSdkDirectory();

} // namespace qmx::config
