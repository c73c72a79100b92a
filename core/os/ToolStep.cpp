#include "core/os/ToolStep.h"

#include "core/os/Os.h"

#include <atomic>
#include <cstdlib>

#ifdef _WIN32
#include <process.h>
#define QMX_GETPID _getpid
#else
#include <unistd.h>
#define QMX_GETPID getpid
#endif

namespace qmx::os::detail {

bool ToolStep::write(std::string_view batchLine, std::string_view dir, std::string* error)
{
    // Named per process and step, so two runs over one SDK directory keep apart.
    static std::atomic<unsigned> counter{0};
    const std::string name
        = std::string(dir) + "\\qmxstep-" + std::to_string(QMX_GETPID()) + "-" + std::to_string(counter.fetch_add(1));
    batch = name + ".bat";
    status = name + ".txt";
    removeFile(status);
    // "@": the line runs without being echoed; the runner shows it itself. The redirection stands first, as
    // "echo 1>file" would redirect handle 1.
    return writeAnsiTextFile(batch, {"@" + std::string(batchLine), "@>\"" + status + "\" echo %errorlevel%"}, error);
}

std::optional<std::int32_t> ToolStep::readStatus() const
{
    std::string text;
    if (status.empty() || !readFile(status, text, 64))
        return std::nullopt;
    char* end = nullptr;
    const long long code = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str())
        return std::nullopt;
    return static_cast<std::int32_t>(code);
}

void ToolStep::remove() const
{
    for (const std::string& file : {batch, status}) {
        if (!file.empty())
            removeFile(file);
    }
}

} // namespace qmx::os::detail
