#include "enter_key.h"

#include <QKeyEvent>
#include <QPushButton>

namespace tanabashigo {
namespace {

/// Turns Enter on a focused button into a click.
class EnterPressesButton final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!enter || button == nullptr || !button->isEnabled() || key->isAutoRepeat()) {
            return false;
        }
        button->click();
        return true;
    }
};

}  // namespace

void pressButtonsOnEnter(QWidget* window) {
    auto* filter = new EnterPressesButton(window);
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        button->installEventFilter(filter);
    }
}

}  // namespace tanabashigo
