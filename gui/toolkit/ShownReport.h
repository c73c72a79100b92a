#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>

namespace qmx {

// For the start-up benchmark, which starts the program and a bare Qt window alike: once the shown
// window's first expose has been handled (its first frame painted), prints the wall clock in
// nanoseconds since the epoch and quits, or with QMX_REPORT_SHOWN=keep stays until it is ended.
// Header-only, so that both compile the same code.
inline void reportWhenShown(QWidget& window)
{
    class Watch : public QObject
    {
    public:
        explicit Watch(QWindow* handle)
            : QObject(handle)
        {
            handle->installEventFilter(this);
        }

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            // Reported after the event, when the window has painted for it.
            if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
                QTimer::singleShot(0, this, [this] { report(); });
            return false;
        }

    private:
        void report()
        {
            if (m_done)
                return;
            m_done = true;
            // std::chrono: this mingw lacks timespec_get.
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::printf("%lld\n",
                        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
            std::fflush(stdout);
            if (qgetenv("QMX_REPORT_SHOWN") != "keep")
                QCoreApplication::quit();
        }

        bool m_done = false;
    };
    if (QWindow* handle = window.windowHandle())
        new Watch(handle);
}

} // namespace qmx
