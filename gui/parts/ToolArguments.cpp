// The switch text of each tool's command line, from the main window's option controls.

#include "gui/parts/ToolArguments.h"

#include "gui/parts/OptionControls.h"

namespace {

QString arguments(qmx::Page page)
{
    const qmx::OptionControls* controls = qmx::OptionControls::current();
    return controls ? QString::fromStdString(qmx::options::toolArguments(controls->state(), page)) : QString();
}

} // namespace

namespace Module1 {

QString BuildBspArguments()
{
    return arguments(qmx::Page::Bsp);
}

QString BuildVisArguments()
{
    return arguments(qmx::Page::Vis);
}

QString BuildRadArguments()
{
    return arguments(qmx::Page::Rad);
}

} // namespace Module1
