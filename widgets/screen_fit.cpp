#include "screen_fit.h"

#include <QScreen>
#include <QWidget>

namespace tanabashigo {

void fitAndCentre(QWidget* window, QScreen* screen) {
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    window->resize(window->size().boundedTo(available.size() - kFrameAllowance));
    QRect frame(QPoint(), window->size() + kFrameAllowance);
    frame.moveCenter(available.center());
    window->move(frame.topLeft());
}

}  // namespace tanabashigo
