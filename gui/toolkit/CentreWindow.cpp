#include "gui/toolkit/CentreWindow.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace qmx {
namespace {

// Rounds halves to the even neighbour whatever the floating-point rounding mode is.
double roundHalfEven(double x)
{
    const double down = std::floor(x);
    const double fraction = x - down;
    if (fraction < 0.5)
        return down;
    if (fraction > 0.5)
        return down + 1.0;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

} // namespace

long long CentredOffset(double screenExtent, double windowExtent)
{
    const double difference = roundHalfEven(screenExtent - windowExtent);
    if (!std::isfinite(difference) || std::fabs(difference) > 9.0e15)
        return 0;
    // C++ integer division drops the remainder toward zero, also for negative differences.
    return static_cast<long long>(difference) / 2;
}

namespace {

// Moves the window so that its frame is centred; before the window manager has framed it, the frame is
// the client area.
void place(QWidget& window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->geometry();
    const QSize size = window.frameGeometry().size();
    const long long left = CentredOffset(area.width(), size.width());
    const long long top = CentredOffset(area.height(), size.height());
    const QPoint target(area.x() + static_cast<int>(left), area.y() + static_cast<int>(top));
    if (window.pos() != target)
        window.move(target);
}

// On X11 the window manager adds its frame only once the window is shown, and a window may still settle
// its size then; no one knows the final frame before. For the first second after showing, each new frame
// size is centred once: any other move is the user's, and the window stays where it is put.
class FrameWatch : public QObject
{
public:
    explicit FrameWatch(QWidget& window)
        : QObject(&window)
        , m_window(window)
    {
        setObjectName(QStringLiteral("qmx_frameWatch")); // tests wait for it to end
        connect(&m_poll, &QTimer::timeout, this, &FrameWatch::check);
        // Centred while it is being shown (from its show event): watch from now on.
        if (window.isVisible())
            start();
        else
            window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_window && event->type() == QEvent::Show && !m_poll.isActive())
            start();
        return false;
    }

private:
    void start()
    {
        m_clock.start();
        m_poll.start(10);
    }

    void check()
    {
        const QWindow* handle = m_window.windowHandle();
        if (handle && handle->isExposed() && !handle->frameMargins().isNull()) {
            if (m_window.frameGeometry().size() != m_centredSize) {
                m_centredSize = m_window.frameGeometry().size();
                place(m_window);
            }
        }
        if (m_clock.elapsed() > 1000)
            deleteLater(); // once settled, the window stays where the user puts it
    }

    QWidget& m_window;
    QTimer m_poll;
    QElapsedTimer m_clock;
    QSize m_centredSize; // the frame size it was last centred for
};

} // namespace

void CentreOnScreen(QWidget& window)
{
    // A window never resized takes its layout's size when first shown; take that size now, so the
    // centre is right before the first show.
    if (!window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    place(window);
    const QWindow* handle = window.windowHandle();
    if (handle == nullptr || handle->frameMargins().isNull())
        new FrameWatch(window);
}

} // namespace qmx
