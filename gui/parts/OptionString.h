#pragma once

// The option string: one line recording the masters, the three pages and CopyFile.

#include <QString>

namespace Module1 {

QString SerializeBspOptions();
QString SerializeVisOptions();
QString SerializeRadOptions();
// Parts 0 to 3 joined by "|" (without the copy flag).
QString SerializeAllOptions();
// SerializeAllOptions() + "|" + CopyFile's Value: what the settings file stores.
QString StoredOptionString();
// Sets the page ("BSP", "VIS" or "RAD") from its part; only ticks.
void ApplyOptionString(const QString& section, const QString& part);
// Switches all pages off, then restores every control the stored text records. Short or damaged
// text restores missing flags as unticked and missing texts as empty.
void RestoreOptionString(const QString& stored);

} // namespace Module1
