#pragma once

// Finding the SDK's bin directory at start-up.

#include <QString>

class Form1;

namespace Module1 {

// The first non-empty of: the "sourcesdk" variable followed by "\bin", the editor's registry value
// "Directory" as it stands, the stored "SDKDir". "" when every source is empty. Later sources are
// read only when the earlier ones give nothing; nothing is checked for existence.
QString DetectSdkDirectory();

// Start-up's detection step on the main window: sets SDKDir and Label1, and when no source gives a
// directory shows the SDK folder window and hides the main window, without waiting for the user.
void DetectSdkDirectory(Form1& form);

} // namespace Module1
