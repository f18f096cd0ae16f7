#include <QImage>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>

#include "all_lines_chart.h"
#include "chart_frame.h"
#include "chart_view.h"
#include "fairness_chart.h"
#include "law_chart.h"
#include "number_text.h"
#include "reference_law.h"
#include "worksheet.h"

using namespace tanabashigo;

namespace {

const QSize kSize(1000, 600);
const Box kArea{0.0, 0.0, 1000.0, 600.0};

QColor qColour(Colour colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

/// Height in pixels, above the plot's bottom, of the highest pixel of `colour` in column
/// `column`'s tenth of the plot; 0 when the column has none.
double barHeight(const QImage& image, const Box& plot, int column, Colour colour) {
    const double width = plot.width / kLineCount;
    for (int y = static_cast<int>(plot.top); y < plot.bottom(); ++y) {
        for (int x = static_cast<int>(plot.left + (column - 1) * width) + 1;
             x < plot.left + column * width - 1; ++x) {
            if (image.pixelColor(x, y) == qColour(colour)) {
                return plot.bottom() - y;
            }
        }
    }
    return 0.0;
}

/// How far from `y` the nearest pixel of `colour` in pixel column `x` lies.
double distance(const QImage& image, int x, double y, Colour colour) {
    double nearest = image.height();
    for (int row = 0; row < image.height(); ++row) {
        if (image.pixelColor(x, row) == qColour(colour)) {
            nearest = std::min(nearest, std::abs(row - y));
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
            // Counts of another law, mirrored, so a compared bar can be told from its neighbour.
            ColumnCounts counts{};
            for (int column = 1; column <= kLineCount; ++column) {
                counts[column] = std::llround(chart.law[kLineCount + 1 - column] * 1e6);
            }
            chart.compared = counts;
            compared = sharesOf(counts);
        }
        const QImage image = chartImage(lawChartSvg(chart, kArea), kSize);
        const Box plot = lawChartPlot(kArea);
        const auto tallest = std::max_element(chart.law.begin(), chart.law.end());
        const double pixelsPerUnit =
            barHeight(image, plot, 1 + int(tallest - chart.law.begin()), chartColours::kExact) /
            *tallest;
        QVERIFY(pixelsPerUnit > plot.height * 0.5);
        const auto offBy = [&](int column, Colour colour, double p) {
            return std::abs(barHeight(image, plot, column, colour) - p * pixelsPerUnit);
        };
        for (int column = 1; column <= kLineCount; ++column) {
            QVERIFY2(offBy(column, chartColours::kExact, chart.law[column]) <= 2.0 &&
                         offBy(column, chartColours::kCompared, compared[column]) <= 2.0,
                     qPrintable(QStringLiteral("bars of column %1").arg(column)));
        }
        QVERIFY(offBy(1, chartColours::kFair, 0.1) <= 2.0);
    }

    // Every cell is shaded by the chance computed apart from this program; landings show in
    // the cells they fill, in their own colour, and nowhere else.
    void allLinesCellsShowTheIndependentLaw_data() {
        QTest::addColumn<int>("rungs");
        QTest::newRow("10 rungs") << 10;
        QTest::newRow("50 rungs") << 50;
        QTest::newRow("150 rungs") << 150;
    }
    void allLinesCellsShowTheIndependentLaw() {
        QFETCH(int, rungs);
        AllLinesChart chart{rungs, exactLawsOfEveryStart()[rungs], LandingsByStart{}, "クラス"};
        (*chart.landings)[2][3] = 7;
        (*chart.landings)[9][8] = 1234;
        const Box& area = kAllLinesChartArea;
        const QImage image =
            chartImage(allLinesChartSvg(chart, area), QSize(int(area.width), int(area.height)));
        const Box grid = allLinesGrid(area);
        const double w = grid.width / kLineCount, h = grid.height / kLineCount;
        for (int start = 1; start <= kLineCount; ++start) {
            for (int column = 1; column <= kLineCount; ++column) {
                const QRect cell(int(grid.left + (column - 1) * w) + 3,
                                 int(grid.top + (start - 1) * h) + 3, int(w) - 6, int(h) - 6);
                const QColor corner = image.pixelColor(cell.topLeft());
                const QColor shade = qColour(chanceShade(referenceLaw(rungs, start)[column]));
                QVERIFY2(std::abs(corner.red() - shade.red()) <= 2 &&
                             std::abs(corner.green() - shade.green()) <= 2 &&
                             std::abs(corner.blue() - shade.blue()) <= 2,
                         qPrintable(QStringLiteral("line %1, column %2").arg(start).arg(column)));
                int marked = 0;
                for (int y = cell.top(); y <= cell.bottom(); ++y) {
                    for (int x = cell.left(); x <= cell.right(); ++x) {
                        marked += image.pixelColor(x, y) == qColour(chartColours::kComparedText);
                    }
                }
                QCOMPARE(marked > 0, (*chart.landings)[start][column] > 0);
            }
        }
    }

    void worksheetHoldsTheTableOnOnePage_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("filled");
        QTest::newRow("blank, 10 rungs") << 10 << 3 << false;
        QTest::newRow("filled, 30 rungs from line 9") << 30 << 9 << true;
        QTest::newRow("filled, 150 rungs from line 1") << 150 << 1 << true;
    }
    // The page names its ladder and heads 予想 and 考察; filled, it holds every count, relative
    // frequency, chance of the independent law and hand raised, blank none of them; nothing
    // leaves the page.
    void worksheetHoldsTheTableOnOnePage() {
        QFETCH(int, rungs);
        QFETCH(int, start);
        QFETCH(bool, filled);
        Comparison comparison{"クラス", "", {}, rungs, start, {}, {}};
        for (int column = 1; column <= kLineCount; ++column) {
            comparison.counts[column] = column * 37 % 11 * 1000 + column;
            comparison.prediction.hands[column] = 40 + column;
        }
        const std::string svg =
            worksheetSvg(filled ? filledWorksheet(comparison) : blankWorksheet(rungs, start));
        QStringList texts;
        for (const auto& text :
             QRegularExpression(">([^<]*)</text>").globalMatch(QString::fromStdString(svg))) {
            texts << text.captured(1);
        }
        QVERIFY(texts.contains("予想") && texts.contains("考察") &&
                texts.contains(
                    QStringLiteral("横線 %1 本・%2 本目からスタート").arg(rungs).arg(start)));
        const ColumnLaw shares = sharesOf(comparison.counts);
        for (int column = 1; column <= kLineCount; ++column) {
            for (const std::string& cell :
                 {groupedDigits(comparison.counts[column]), relativeFrequencyText(shares[column]),
                  relativeFrequencyText(referenceLaw(rungs, start)[column]),
                  std::to_string(comparison.prediction.hands[column])}) {
                QVERIFY2(texts.contains(QString::fromStdString(cell)) == filled, cell.c_str());
            }
        }
        static const QRegularExpression place("(?:x|y|x1|y1|x2|y2|cx|cy)=\"(-?[0-9.]+)\"");
        for (const auto& at : place.globalMatch(QString::fromStdString(svg))) {
            const double limit =
                at.captured(0).contains('x') ? kWorksheetArea.width : kWorksheetArea.height;
            QVERIFY2(at.captured(1).toDouble() >= 0.0 && at.captured(1).toDouble() <= limit,
                     qPrintable(at.captured(0)));
        }
    }

    void fairnessLinesFollowTheLaw() {
        for (const int start : {1, 3, 8}) {
            const FairnessChart chart{start, fairnessTable(0, kSlotCount, 1, start), 70, {}, {}};
            const std::string svg = fairnessChartSvg(chart, kArea);
            const QImage image = chartImage(svg, kSize);
            const ChartFrame frame(fairnessChartPlot(kArea), 0, kSlotCount,
                                   fairnessChartTop(chart));
            for (const int rungs : {15, 40, 90}) {
                const ColumnLaw law = exactLandingLaw(rungs, start);
                const int x = static_cast<int>(std::lround(frame.x(rungs)));
                const auto [least, most] = std::minmax_element(law.begin(), law.end());
                QVERIFY2(distance(image, x, frame.y(*most), chartColours::kMost) <= 3.0 &&
                             distance(image, x, frame.y(*least), chartColours::kLeast) <= 3.0,
                         qPrintable(QStringLiteral("line %1, %2 rungs").arg(start).arg(rungs)));
            }
            // The few rungs and the full ladder run off the top: no point of a line leaves
            // the plot.
            const Box& plot = frame.plot();
            static const QRegularExpression point(QStringLiteral("(-?[0-9.]+),(-?[0-9.]+)"));
            int points = 0;
            for (const auto& line : QRegularExpression(QStringLiteral("points=\"([^\"]*)\""))
                                        .globalMatch(QString::fromStdString(svg))) {
                for (const auto& xy : point.globalMatch(line.captured(1))) {
                    const double px = xy.captured(1).toDouble(), py = xy.captured(2).toDouble();
                    QVERIFY2(px >= plot.left - 0.01 && px <= plot.right() + 0.01 &&
                                 py >= plot.top - 1.01 && py <= plot.bottom() + 1.01,
                             qPrintable(xy.captured(0)));
                    ++points;
                }
            }
            QVERIFY(points > kSlotCount);
        }
    }
};

QTEST_MAIN(ChartsTest)
#include "tst_charts.moc"
