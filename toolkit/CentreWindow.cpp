#include "toolkit/CentreWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

void CentreOnScreen(QWidget& window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->geometry();
    // A window never resized takes its layout's size when first shown; take that size now, so the
    // centre is right before the first show. Until then the frame is unknown: the client size counts.
    if (!window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    const QSize size = window.frameGeometry().size();
    const long long left = CentredOffset(area.width(), size.width());
    const long long top = CentredOffset(area.height(), size.height());
    window.move(area.x() + static_cast<int>(left), area.y() + static_cast<int>(top));
}

} // namespace qmx
