// qmxcompile: compiles a map from the terminal with the options the window saved. See --help.

#include "cli/CompileCommand.h"
#include "core/os/Terminal.h"

namespace {

class StandardTerminal : public qmx::cli::Terminal
{
public:
    void text(std::string_view utf8) override { qmx::os::writeTerminalText(qmx::os::TerminalStream::Output, utf8); }
    void bytes(std::string_view bytes) override { qmx::os::writeTerminalBytes(qmx::os::TerminalStream::Output, bytes); }
    void error(std::string_view utf8) override { qmx::os::writeTerminalText(qmx::os::TerminalStream::Error, utf8); }
};

} // namespace

int main(int argc, char** argv)
{
    StandardTerminal terminal;
    return qmx::cli::runCompileCommand(qmx::cli::parseArguments(qmx::os::terminalArguments(argc, argv)), terminal);
}
