#include <QImage>
#include <QPainter>
#include <QTest>
#include <algorithm>

#include "chart_export.h"
#include "chart_frame.h"
#include "fairness_chart.h"
#include "law_chart.h"

using namespace tanabashigo;

namespace {

const QSize kSize(1000, 600);

/// Height in pixels, above the plot's bottom, of the highest pixel of `colour` in column
/// `column`'s tenth of the plot; 0 when the column has none.
double barHeight(const QImage& image, const QRectF& plot, int column, const QColor& colour) {
    const double width = plot.width() / kLineCount;
    const int left = static_cast<int>(plot.left() + (column - 1) * width) + 1;
    const int right = static_cast<int>(plot.left() + column * width) - 1;
    for (int y = static_cast<int>(plot.top()); y < plot.bottom(); ++y) {
        for (int x = left; x <= right; ++x) {
            if (image.pixelColor(x, y) == colour) {
                return plot.bottom() - y;
            }
        }
    }
    return 0.0;
}

/// The row inside the plot holding the most pixels of `colour`.
int busiestRow(const QImage& image, const QRectF& plot, const QColor& colour) {
    int best = -1;
    int bestCount = 0;
    for (int y = static_cast<int>(plot.top()); y < plot.bottom(); ++y) {
        int count = 0;
        for (int x = static_cast<int>(plot.left()); x < plot.right(); ++x) {
            count += image.pixelColor(x, y) == colour ? 1 : 0;
        }
        if (count > bestCount) {
            best = y;
            bestCount = count;
        }
    }
    return best;
}

/// The row of the pixel of `colour` in pixel column `x` nearest to `y`, or -1000.
int nearestRow(const QImage& image, int x, double y, const QColor& colour) {
    int nearest = -1000;
    for (int row = 0; row < image.height(); ++row) {
        if (image.pixelColor(x, row) == colour && std::abs(row - y) < std::abs(nearest - y)) {
            nearest = row;
        }
    }
    return nearest;
}

}  // namespace

class ChartsTest : public QObject {
    Q_OBJECT
private slots:
    void lawBarsStandInProportion_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("withComparison");
        QTest::newRow("no rungs: one bar under the start") << 0 << 3 << false;
        QTest::newRow("10 rungs from line 3") << 10 << 3 << false;
        QTest::newRow("50 rungs from line 1, compared") << 50 << 1 << true;
        QTest::newRow("30 rungs from line 10, compared") << 30 << 10 << true;
        QTest::newRow("150 rungs, nearly fair") << 150 << 6 << false;
        QTest::newRow("a full ladder") << 225 << 4 << true;
    }
    void lawBarsStandInProportion() {
        QFETCH(int, rungs);
        QFETCH(int, start);
        QFETCH(bool, withComparison);
        LawChart chart{rungs, start, exactLandingLaw(rungs, start), std::nullopt, "実験"};
        ColumnLaw compared{};
        if (withComparison) {
            // Another law, mirrored, so a compared bar can be told from its exact neighbour.
            std::reverse_copy(chart.law.begin(), chart.law.end(), compared.begin());
            chart.compared = compared;
        }
        const QImage image = chartImage(kSize, [&chart](QPainter& painter, const QRectF& area) {
            paintLawChart(painter, area, chart);
        });
        const QRectF plot = lawChartPlot(QRectF(QPointF(), kSize));
        const int tallest =
            1 + static_cast<int>(std::max_element(chart.law.begin(), chart.law.end()) -
                                 chart.law.begin());
        const double pixelsPerUnit =
            barHeight(image, plot, tallest, chartColours::kExact) / chart.law[tallest];
        QVERIFY(pixelsPerUnit > plot.height() * 0.5);
        for (int column = 1; column <= kLineCount; ++column) {
            QVERIFY2(std::abs(barHeight(image, plot, column, chartColours::kExact) -
                              chart.law[column] * pixelsPerUnit) <= 2.0,
                     qPrintable(QStringLiteral("exact bar of column %1").arg(column)));
            const double expected = withComparison ? compared[column] * pixelsPerUnit : 0.0;
            QVERIFY2(
                std::abs(barHeight(image, plot, column, chartColours::kCompared) - expected) <= 2.0,
                qPrintable(QStringLiteral("compared bar of column %1").arg(column)));
        }
        QVERIFY(std::abs(plot.bottom() - busiestRow(image, plot, chartColours::kFair) -
                         0.1 * pixelsPerUnit) <= 2.0);
    }

    void fairnessLinesFollowTheLaw_data() {
        QTest::addColumn<int>("start");
        QTest::newRow("line 1") << 1;
        QTest::newRow("line 3") << 3;
        QTest::newRow("line 8") << 8;
    }
    void fairnessLinesFollowTheLaw() {
        QFETCH(int, start);
        const FairnessChart chart{start, fairnessTable(0, kSlotCount, 1, start), 70, {}};
        const QImage image = chartImage(kSize, [&chart](QPainter& painter, const QRectF& area) {
            paintFairnessChart(painter, area, chart);
        });
        const ChartFrame frame(fairnessChartPlot(QRectF(QPointF(), kSize)), 0, kSlotCount,
                               fairnessChartTop(chart));
        for (const int rungs : {15, 40, 90}) {
            const ColumnLaw law = exactLandingLaw(rungs, start);
            const int x = static_cast<int>(std::lround(frame.x(rungs)));
            const double most = frame.y(*std::max_element(law.begin(), law.end()));
            const double least = frame.y(*std::min_element(law.begin(), law.end()));
            QVERIFY2(std::abs(nearestRow(image, x, most, chartColours::kMost) - most) <= 3.0,
                     qPrintable(QStringLiteral("most likely column at %1 rungs").arg(rungs)));
            QVERIFY2(std::abs(nearestRow(image, x, least, chartColours::kLeast) - least) <= 3.0,
                     qPrintable(QStringLiteral("least likely column at %1 rungs").arg(rungs)));
        }
    }

    void nearlyFairRungCounts_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        // From exact rational arithmetic, independently of this program.
        QTest::newRow("line 1") << 1 << 122 << 209;
        QTest::newRow("line 3") << 3 << 112 << 208;
        QTest::newRow("line 5") << 5 << 66 << 208;
        QTest::newRow("line 7") << 7 << 113 << 208;
    }
    void nearlyFairRungCounts() {
        QFETCH(int, start);
        QFETCH(int, first);
        QFETCH(int, last);
        QCOMPARE(nearlyFairRange(fairnessTable(0, kSlotCount, 1, start)),
                 std::optional(RungRange{first, last}));
        QCOMPARE(nearlyFairRange(fairnessTable(0, 100, 1, start)).has_value(), start == 5);
    }
};

QTEST_MAIN(ChartsTest)
#include "tst_charts.moc"
