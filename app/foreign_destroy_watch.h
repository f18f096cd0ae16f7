#pragma once

#include <QAbstractNativeEventFilter>
#include <QByteArray>

namespace tanabashigo {

/// Ends the program cleanly (status 0) when another X client destroys one of its windows.
///
/// Qt 6.4 keeps such a widget as if it were still shown, with its timers running, and a modal
/// box whose owner is gone keeps the program waiting; so every window is closed (not deleted:
/// a box may still be running inside one) and every event loop is left.
class ForeignDestroyWatch final : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
};

}  // namespace tanabashigo
