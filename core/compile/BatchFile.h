#pragma once

// The lines of compile.bat and the small rules around the run: the compiled file's name and the
// rounding of the measured time. Qt-free, so the format is checked natively and under mingw alike.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qmx::compile {

enum class Tool
{
    Bsp,
    Vis,
    Rad
};

// "qmxbsp.exe", "qmxvis.exe" or "qmxrad.exe".
const char* toolFileName(Tool tool);

// One tool line without its line end: "SDK\tool.exe" -game "%vproject%" <switches> "mapDir\mapFile".
std::string toolLine(Tool tool, std::string_view sdkDir, std::string_view switches, std::string_view mapDir,
                     std::string_view mapFile);

// The compiled map's name: every ".vmf" (case-sensitive, left to right) becomes ".bsp", and an extension
// ".vmf" in other letter cases too ("A.VMF" gives "A.bsp"), so the name never stays the map's own.
std::string compiledFileName(std::string_view mapFile);

// Longest short SDK directory that still leaves room for "\compile.bat" in the 164-character buffer.
constexpr std::size_t kMaxShortSdkDirLength = 163;

// A time difference given in ten-thousandths of a second, rounded to whole seconds with halves going
// to the even neighbour, clamped to the 32-bit range.
std::int32_t roundToWholeSeconds(std::int64_t tenThousandths);

// Seconds as a fixed-point count of ten-thousandths (counter / frequency rounded to four places).
std::int64_t counterToTenThousandths(std::int64_t counter, std::int64_t frequency);

} // namespace qmx::compile
