#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>
#include <functional>
#include <string>

#include "svg_document.h"

namespace tanabashigo {

/// Writes a chart's SVG document.
using ChartDocument = std::function<std::string()>;

/// The chart document drawn on a white image of `size` pixels, scaled to fill it.
QImage chartImage(const std::string& svg, const QSize& size);

/// The chart document as PNG bytes of `size` pixels.
QByteArray chartPng(const std::string& svg, const QSize& size);

/// Shows a chart document, rendered afresh at every paint, as large as fits the widget with its
/// proportions kept.
class ChartView : public QWidget {
    Q_OBJECT
public:
    /// `document` writes the document of `area`'s size.
    ChartView(ChartDocument document, const Box& area, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartDocument document_;
    QSizeF size_;
};

}  // namespace tanabashigo
