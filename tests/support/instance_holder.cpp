// A second copy of the program for tests: takes the single-instance lock of the program directory given
// on its command line, says "held" (or "busy" when another copy holds it) and stays until its standard
// input closes. A process of its own, so no test forks one that runs Qt.

#include "core/os/Os.h"
#include "core/os/Terminal.h"

#include <cstdio>

int main(int argc, char** argv)
{
    qmx::os::overrideProgramDirectory(qmx::os::terminalArguments(argc, argv).at(0)); // UTF-8 on Windows too
    std::puts(qmx::os::anotherInstanceRunning() ? "busy" : "held");
    std::fflush(stdout);
    while (std::getchar() != EOF) { }
    return 0;
}
