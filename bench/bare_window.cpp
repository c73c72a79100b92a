// The yardstick for the start-up benchmark: a bare Qt program that shows an empty main window, with
// the same "shown" report as the real program.

#include "gui/toolkit/ShownReport.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(800, 600);
    window.show();
    if (qEnvironmentVariableIsSet("QMX_REPORT_SHOWN"))
        qmx::reportWhenShown(window);
    return QApplication::exec();
}
