#include "core/os/Terminal.h"

#include <cerrno>
#include <unistd.h>

namespace qmx::os {

std::vector<std::string> terminalArguments(int argc, char** argv)
{
    // Linux hands arguments over as the terminal wrote them: UTF-8.
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return args;
}

namespace {
void writeAllTo(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // a closed pipe or a full disk: nothing left to tell it to
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}
} // namespace

void writeTerminalText(TerminalStream stream, std::string_view utf8)
{
    writeTerminalBytes(stream, utf8);
}

void writeTerminalBytes(TerminalStream stream, std::string_view bytes)
{
    writeAllTo(stream == TerminalStream::Output ? STDOUT_FILENO : STDERR_FILENO, bytes);
}

} // namespace qmx::os
