// Windows that fit the screen they open on: the size they would like where there is room, the
// screen's free area where there is not.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace kestal {

// What a window's frame (title bar and borders) takes around its client area, at most.
inline constexpr QSize FrameRoom(16, 48);

// The client geometry of a window that would like `preferred` on a screen whose free area is
// `available`: as large as the room inside the frame allows, never below `minimum` (its layout's
// need), centred on the free area.
QRect FittedGeometry(QSize preferred, QSize minimum, const QRect& available);

// Sizes and places `window` so on the screen of `over` (by default the window's parent), or on the
// primary screen.
void FitToScreen(QWidget* window, QSize preferred, const QWidget* over = nullptr);

}  // namespace kestal
