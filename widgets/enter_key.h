#pragma once

class QWidget;

namespace tanabashigo {

/// Makes Enter and keypad Enter press every push button of `window` that has the focus, as
/// Space does. Buttons created later are not covered.
void pressButtonsOnEnter(QWidget* window);

}  // namespace tanabashigo
