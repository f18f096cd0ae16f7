#pragma once

#include <QWidget>

namespace tanabashigo {

/// A horizontal rule of the layout's line width in the window-text colour.
class HorizontalRule : public QWidget {
public:
    /// A rule from height y down, from x = left to x = right (logical pixels, both ends drawn).
    HorizontalRule(QWidget* parent, int left, int y, int right);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tanabashigo
