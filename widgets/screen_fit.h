#pragma once

#include <QSize>

class QScreen;
class QWidget;

namespace tanabashigo {

/// Room a window manager's frame takes around a window: a title bar and thin borders.
inline constexpr QSize kFrameAllowance(16, 48);

/// Shrinks `window` where it would not fit in the available area of `screen` with a window
/// frame around it, and centres it there.
void fitAndCentre(QWidget* window, QScreen* screen);

}  // namespace tanabashigo
