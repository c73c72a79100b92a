// A second copy of the program for tests: takes the single-instance lock of the program directory given
// on its command line, says "held" (or "busy" when another copy holds it) and keeps the lock until its
// standard input closes. A process of its own, so no test forks one that runs Qt.

#include "core/os/Os.h"
#include "core/os/Terminal.h"

#include <cstdio>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments = qmx::os::terminalArguments(argc, argv); // UTF-8 on Windows too
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: instance_holder PROGRAM_DIR\n");
        return 2;
    }
    qmx::os::overrideProgramDirectory(arguments[0]);
    if (qmx::os::anotherInstanceRunning()) {
        std::puts("busy");
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    while (std::getchar() != EOF) { }
    return 0;
}
