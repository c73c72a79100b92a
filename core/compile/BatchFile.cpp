#include "core/compile/BatchFile.h"

#include "core/os/Ascii.h"

#include <limits>

namespace qmx::compile {

const char* toolFileName(Tool tool)
{
    switch (tool) {
    case Tool::Bsp:
        return "qmxbsp.exe";
    case Tool::Vis:
        return "qmxvis.exe";
    case Tool::Rad:
        return "qmxrad.exe";
    }
    return "";
}

std::string toolLine(Tool tool, std::string_view sdkDir, std::string_view switches, std::string_view mapDir,
                     std::string_view mapFile)
{
    std::string line;
    line.reserve(sdkDir.size() + switches.size() + mapDir.size() + mapFile.size() + 48);
    line += '"';
    line += sdkDir;
    line += '\\';
    line += toolFileName(tool);
    line += '"';
    line += " -game ";
    line += "\"%vproject%\"";
    line += ' ';
    line += switches;
    line += " \"";
    // A drive root already ends in a backslash and still gets one more: the tools accept "C:\\a.vmf".
    line += mapDir;
    line += '\\';
    line += mapFile;
    line += '"';
    return line;
}

std::string compiledFileName(std::string_view mapFile)
{
    static constexpr std::string_view kFrom = ".vmf";
    static constexpr std::string_view kTo = ".bsp";
    std::string name;
    std::size_t pos = 0;
    while (pos < mapFile.size()) {
        const std::size_t hit = mapFile.find(kFrom, pos);
        if (hit == std::string_view::npos)
            break;
        name += mapFile.substr(pos, hit - pos);
        name += kTo;
        pos = hit + kFrom.size();
    }
    if (pos < mapFile.size())
        name += mapFile.substr(pos);
    // Windows takes "A.VMF" for a map as well; its compiled map is "A.bsp", never the map itself.
    if (name.size() >= kFrom.size() && os::iequals(std::string_view(name).substr(name.size() - kFrom.size()), kFrom))
        name.replace(name.size() - kFrom.size(), kFrom.size(), kTo);
    return name;
}

std::int32_t roundToWholeSeconds(std::int64_t tenThousandths)
{
    constexpr std::int64_t kUnit = 10000;
    std::int64_t whole = tenThousandths / kUnit;
    std::int64_t rest = tenThousandths % kUnit; // same sign as the dividend
    if (rest < 0) {
        whole -= 1;
        rest += kUnit;
    }
    if (rest > kUnit / 2 || (rest == kUnit / 2 && whole % 2 != 0))
        whole += 1;
    if (whole > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (whole < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(whole);
}

std::int64_t counterToTenThousandths(std::int64_t counter, std::int64_t frequency)
{
    if (frequency <= 0)
        return 0;
    // Split to keep counter * 10000 from overflowing on long uptimes.
    const std::int64_t whole = counter / frequency;
    const std::int64_t rest = counter % frequency;
    const long double fraction = static_cast<long double>(rest) * 10000.0L / static_cast<long double>(frequency);
    return whole * 10000 + static_cast<std::int64_t>(fraction + 0.5L);
}

} // namespace qmx::compile
