// QMX GUI II: a front end for the map-compile tools. All behaviour lives in the libraries.

#include "gui/toolkit/ShownReport.h"
#include "gui/windows/MainWindow.h"

#include <QApplication>

#ifdef QMX_FONTCONFIG
#include <fontconfig/fontconfig.h>

#include <thread>
#endif

int main(int argc, char** argv)
{
#ifdef QMX_FONTCONFIG
    // Reading the font configuration (dozens of XML files) costs more than a bare Qt window does before its
    // first frame, and nothing needs it before the first text: it runs on the other core while Qt connects
    // to the display. Qt finds it loaded; the join keeps two threads from loading it at once.
    std::thread fontConfiguration([] { FcInit(); });
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QMX GUI II"));
#ifdef QMX_FONTCONFIG
    fontConfiguration.join();
#endif
    qmx::MainWindow window;
    window.start();
    if (qEnvironmentVariableIsSet("QMX_REPORT_SHOWN"))
        qmx::reportWhenShown(window);
    return QApplication::exec();
}
