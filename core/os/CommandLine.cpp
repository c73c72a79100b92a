#include "core/os/Os.h"

namespace qmx::os {

std::vector<std::string> splitCommandLine(std::string_view commandLine)
{
    std::vector<std::string> args;
    std::string current;
    bool inQuotes = false;
    bool have = false; // "" is an argument, though an empty one
    for (const char c : commandLine) {
        if (c == '"') {
            inQuotes = !inQuotes;
            have = true;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            if (have)
                args.push_back(current);
            current.clear();
            have = false;
        } else {
            current += c;
            have = true;
        }
    }
    if (have)
        args.push_back(current);
    return args;
}

} // namespace qmx::os
