// QMX GUI II: a front end for the map-compile tools. All behaviour lives in the libraries.

#include "main_window/Form1.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cstdio>

namespace {

// For the start-up benchmark only: with QMX_REPORT_SHOWN set, print the wall-clock time (ns) at which
// the main window is first on screen, then quit.
void reportWhenShown(QWidget& window)
{
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, poll] {
        if (window.windowHandle() == nullptr || !window.windowHandle()->isExposed())
            return;
        poll->stop();
        // Nanoseconds since the epoch, like `date +%s%N`; std::chrono because this mingw lacks timespec_get.
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("%lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    poll->start(0);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QMX GUI II"));
    Form1 form;
    form.Form1_Form_Load();
    if (qEnvironmentVariableIsSet("QMX_REPORT_SHOWN"))
        reportWhenShown(form);
    return QApplication::exec();
}
