// The yardstick for the start-up benchmark: a bare Qt program that shows an empty main window, with
// the same "shown" report as the real program.

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <ctime>

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
        timespec now{};
        std::timespec_get(&now, TIME_UTC);
        std::printf("%lld%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    poll.start(0);
    return QApplication::exec();
}
