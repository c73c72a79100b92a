#include "gui/toolkit/Application.h"

#include "core/os/Os.h"

#include <cstdio>
#include <cstdlib>

namespace qmx {
namespace {

EndProgramHandler& endHandler()
{
    static EndProgramHandler h;
    return h;
}

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

void EndProgram()
{
    if (endHandler()) {
        endHandler()();
        return;
    }
    // Immediate end: no destructors, no close events, nothing else gets written.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);
}

void setEndProgramHandler(EndProgramHandler handler)
{
    endHandler() = std::move(handler);
}

QString ProgramDirectory()
{
    return fromUtf8(os::programDirectory());
}

QString ExecutableName()
{
    return fromUtf8(os::executableName());
}

bool AnotherInstanceRunning()
{
    return os::anotherInstanceRunning();
}

QString Dir(const QString& pattern)
{
    return fromUtf8(os::probeFirstFile(pattern.toStdString()));
}

} // namespace qmx
