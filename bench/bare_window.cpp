// The yardstick for the start-up benchmark: a bare Qt program that shows an empty main window, with
// the same "shown" report as the real program.

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(800, 600);
    window.show();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &window, [&window, &poll] {
        if (window.windowHandle() == nullptr || !window.windowHandle()->isExposed())
            return;
        poll.stop();
        // Nanoseconds since the epoch, like `date +%s%N`; std::chrono because this mingw lacks timespec_get.
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("%lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    poll.start(0);
    return QApplication::exec();
}
