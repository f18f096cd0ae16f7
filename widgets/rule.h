#pragma once

#include <QWidget>

namespace tanabashigo {

/// A 1-pixel horizontal rule in the window-text colour.
class HorizontalRule : public QWidget {
public:
    /// A rule at height y from x = left to x = right (logical pixels, both ends drawn).
    HorizontalRule(QWidget* parent, int left, int y, int right);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tanabashigo
