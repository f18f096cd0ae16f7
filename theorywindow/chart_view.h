#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>
#include <functional>
#include <string>

#include "svg_document.h"

namespace tanabashigo {

/// Writes a chart's SVG document for an area of the given size.
using ChartDocument = std::function<std::string(const Box& area)>;

/// The chart document drawn on a white image of `size` pixels, scaled to fill it.
QImage chartImage(const std::string& svg, const QSize& size);

/// The chart document as PNG bytes of `size` pixels.
QByteArray chartPng(const std::string& svg, const QSize& size);

/// The document (a worksheet) filling one A4 page, as PDF bytes named by its title; its text
/// is text, in the chart font embedded. It is painted element by element, since the SVG
/// renderer of Qt 6.4 turns text into outlines.
QByteArray pagePdf(const std::string& svg);

/// Shows a chart document written for the widget's size, afresh at every paint, so its text
/// keeps its size in a small window as in a large one.
class ChartView : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(ChartDocument document, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartDocument document_;
};

}  // namespace tanabashigo
