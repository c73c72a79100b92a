#pragma once

class QWidget;

namespace qmx {

// Where a window of the given extent starts when centred on a screen of the given extent: the
// difference rounded to a whole number (halves to even), then halved toward zero. Negative when the
// window is the larger.
long long CentredOffset(double screenExtent, double windowExtent);

// Moves a top-level window to the centre of the primary screen (logical pixels, full screen
// geometry), keeping its size. The window's frame counts: where the window manager frames the window
// only once it is shown (X11), it is centred again as soon as the frame is known.
void CentreOnScreen(QWidget& window);

} // namespace qmx
