#pragma once

#include <QWidget>

#include "chart_export.h"

namespace tanabashigo {

/// Shows a chart, drawn afresh into the widget at every paint.
class ChartView : public QWidget {
    Q_OBJECT
public:
    ChartView(ChartPainter paint, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartPainter paint_;
};

}  // namespace tanabashigo
