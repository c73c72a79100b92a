// libFuzzer target: qmxcompile's argument parser on arbitrary arguments (the input split at NUL bytes),
// and the error line it would print.

#include "cli/Arguments.h"
#include "cli/CompileCommand.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args;
    for (std::size_t start = 0; start <= input.size();) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        args.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
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
        for (std::size_t i = 0; i + 1 < line.size(); ++i) {
            if (static_cast<unsigned char>(line[i]) < 0x20 || line[i] == '\x7F')
                std::abort();
        }
    }
    return 0;
}
