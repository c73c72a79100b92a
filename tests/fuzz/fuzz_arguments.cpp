// libFuzzer target: qmxcompile's argument parser on arbitrary arguments (the input split at NUL bytes),
// and the error line it would print.

#include "cli/Arguments.h"
#include "cli/CompileCommand.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args;
    std::istringstream in{std::string(input)};
    for (std::string arg; std::getline(in, arg, '\0');)
        args.push_back(arg);
    const qmx::cli::ParsedArguments parsed = qmx::cli::parseArguments(args);
    const qmx::cli::Arguments& a = parsed.arguments;
    if (a.help && parsed.error)
        std::abort(); // --help wins over every problem
    if (!parsed.error && !a.help && a.map.empty())
        std::abort();
    if (a.preset && (*a.preset < 1 || *a.preset > 4))
        std::abort();
    if (parsed.error) {
        // One line on standard error, whatever the argument held.
        const std::string line = qmx::cli::failureLine(
            {qmx::cli::ExitUsage, qmx::cli::usageText(parsed.error->problem), parsed.error->detail});
        if (std::any_of(line.begin(), line.end() - 1, [](unsigned char c) { return c < 0x20 || c == 0x7F; }))
            std::abort();
    }
    return 0;
}
