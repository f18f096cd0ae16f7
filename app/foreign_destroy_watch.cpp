#include "foreign_destroy_watch.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <cstring>

namespace tanabashigo {

namespace {

constexpr quint8 kDestroyNotify = 17;  // X11 core protocol event code
constexpr quint8 kSentByClient = 0x80;
constexpr std::size_t kDestroyedWindowOffset = 8;  // after code, pad, sequence, event window

/// The native window that an X event reports destroyed, or 0 for any other event.
quint32 destroyedWindow(const QByteArray& eventType, const void* message) {
    const auto* bytes = static_cast<const unsigned char*>(message);
    if (eventType != "xcb_generic_event_t" || (bytes[0] & ~kSentByClient) != kDestroyNotify) {
        return 0;
    }
    quint32 window = 0;
    std::memcpy(&window, bytes + kDestroyedWindowOffset, sizeof window);
    return window;
}

}  // namespace

bool ForeignDestroyWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    const quint32 window = destroyedWindow(eventType, message);
    if (window == 0) {
        return false;
    }
    // The program's own windows are gone from this list before their native windows are.
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool ours = std::any_of(windows.begin(), windows.end(), [window](QWidget* widget) {
        return widget->internalWinId() == window;
    });
    if (ours) {
        for (QWidget* widget : windows) {
            widget->setAttribute(Qt::WA_DeleteOnClose, false);
            widget->close();
        }
        QCoreApplication::exit(0);
    }
    return false;
}

}  // namespace tanabashigo
