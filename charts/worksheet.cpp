#include "worksheet.h"

#include <algorithm>
#include <array>
#include <vector>

#include "chart_frame.h"
#include "law_chart.h"
#include "number_text.h"

namespace tanabashigo {

namespace {

constexpr double kMargin = 45.0;  ///< about 12 mm round the page
constexpr double kTextSize = 12.0;
constexpr double kHeadingSize = 16.0;
constexpr double kHeadingHeight = 28.0;  ///< a section's heading and the rule under it
constexpr double kRowHeight = 26.0;      ///< of the table, tall enough to write in by hand
constexpr double kRowHeadWidth = 96.0;
constexpr double kChartHeight = 360.0;
constexpr double kRuleSpacing = 30.0;  ///< between the ruled lines pupils write on
constexpr Colour kPrompt{100, 100, 100};
constexpr Colour kRuled{165, 165, 165};
constexpr Colour kShaded{240, 240, 240};

/// `text` centred in `cell`, shrunk where it would be wider.
void cellText(SvgDocument& svg, const Box& cell, const std::string& text, bool bold = false) {
    const double width = textWidth(text, kTextSize);
    const double size =
        width <= cell.width - 6.0 ? kTextSize : kTextSize * (cell.width - 6.0) / width;
    svg.text({cell.left + cell.width / 2.0, baselineFor(cell.top + cell.height / 2.0, size)}, text,
             size, chartColours::kText, Anchor::Middle, bold);
}

/// A section's heading across the page from `top`; answers where the section's body begins.
double heading(SvgDocument& svg, double top, const std::string& text, const std::string& note) {
    const double left = kMargin;
    const double right = kWorksheetArea.width - kMargin;
    const double baseline = top + kHeadingSize + 2.0;
    svg.text({left, baseline}, text, kHeadingSize, chartColours::kText, Anchor::Start, true);
    if (!note.empty()) {
        svg.text({left + textWidth(text, kHeadingSize) + 12.0, baseline}, note, kTextSize, kPrompt);
    }
    svg.line({left, baseline + 6.0}, {right, baseline + 6.0}, chartColours::kText, 1.5);
    return top + kHeadingHeight + 6.0;
}

/// Lines to write on across `box`, from its top, one every kRuleSpacing.
void ruledLines(SvgDocument& svg, const Box& box) {
    for (double y = box.top + kRuleSpacing; y <= box.bottom() + 0.01; y += kRuleSpacing) {
        svg.line({box.left, y}, {box.right(), y}, kRuled, 0.8, true);
    }
}

/// The page's head: title, where names are written, the question, and the ladder.
double drawHead(SvgDocument& svg, const Worksheet& sheet) {
    const double left = kMargin;
    const double right = kWorksheetArea.width - kMargin;
    double y = kMargin + 22.0;
    svg.text({left, y}, "たなばしご（あみだくじ）ワークシート", 22.0, chartColours::kText,
             Anchor::Start, true);
    const double nameFrom = right - 190.0;
    svg.text({nameFrom - 14.0, y}, "年　　組　　番", kTextSize + 1.0, chartColours::kText,
             Anchor::End);
    svg.text({nameFrom, y}, "名前", kTextSize + 1.0, chartColours::kText);
    svg.line({nameFrom + 30.0, y + 3.0}, {right, y + 3.0}, chartColours::kText, 0.8);
    y += 28.0;
    svg.text({left, y}, "あみだくじは、どこをひいてもほんとうに平等なのでしょうか。", 14.0,
             chartColours::kText);
    const Box ladder{left, y + 12.0, right - left, 30.0};
    svg.fillRect(ladder, kShaded);
    const double middle = ladder.top + ladder.height / 2.0;
    svg.text({ladder.left + 10.0, baselineFor(middle, 15.0)},
             "横線 " + std::to_string(sheet.rungs) + " 本・" + std::to_string(sheet.start) +
                 " 本目からスタート",
             15.0, chartColours::kText, Anchor::Start, true);
    if (sheet.counts) {
        const std::string whose =
            sheet.countsName + "：着地 " + groupedDigits(landingsOf(*sheet.counts)) + " 回";
        const double width = textWidth(whose, kTextSize + 1.0);
        const double size = std::min(kTextSize + 1.0, (kTextSize + 1.0) * 400.0 / width);
        svg.text({ladder.right() - 10.0, baselineFor(middle, size)}, whose, size,
                 chartColours::kText, Anchor::End);
    }
    return ladder.bottom() + 18.0;
}

/// A row of the worksheet's tables: its head, then columns 1..10 and the total.
using TableRow = std::pair<std::string, std::array<std::string, 11>>;

/// The header row of a table: 1..10 and 合計 under `head`.
TableRow columnNumbers(const std::string& head) {
    TableRow row{head, {}};
    for (int column = 1; column <= kLineCount; ++column) {
        row.second[column - 1] = std::to_string(column);
    }
    row.second[10] = "合計";
    return row;
}

/// `rows` ruled across the page from `top`, the first the shaded header; answers their bottom.
double drawRows(SvgDocument& svg, double top, const std::vector<TableRow>& rows) {
    const double left = kMargin;
    const double cellWidth = (kWorksheetArea.width - 2.0 * kMargin - kRowHeadWidth) / 11.0;
    const double width = kRowHeadWidth + 11.0 * cellWidth;
    svg.fillRect({left, top, width, kRowHeight}, kShaded);
    svg.fillRect({left, top, kRowHeadWidth, kRowHeight * double(rows.size())}, kShaded);
    double y = top;
    for (const auto& [head, cells] : rows) {
        const bool header = &head == &rows.front().first;
        cellText(svg, {left, y, kRowHeadWidth, kRowHeight}, head, true);
        for (std::size_t n = 0; n < cells.size(); ++n) {
            cellText(svg, {left + kRowHeadWidth + double(n) * cellWidth, y, cellWidth, kRowHeight},
                     cells[n], header);
        }
        y += kRowHeight;
    }
    for (std::size_t row = 0; row <= rows.size(); ++row) {
        const double at = top + double(row) * kRowHeight;
        svg.line({left, at}, {left + width, at}, chartColours::kText, row == 1 ? 1.2 : 0.8);
    }
    for (int n = 0; n <= 12; ++n) {
        const double at = n == 0 ? left : left + kRowHeadWidth + (n - 1) * cellWidth;
        svg.line({at, top}, {at, y}, chartColours::kText, n == 1 || n == 11 ? 1.2 : 0.8);
    }
    return y;
}

/// The slot for the class's prediction, a box headed 予想: the hands raised for each column
/// when the class has predicted, and lines to write why.
double drawPrediction(SvgDocument& svg, const ClassPrediction& prediction, double top) {
    top = heading(svg, top, "予想", "実験の前に");
    const double handsHeight = prediction.empty() ? 0.0 : 2.0 * kRowHeight + 10.0;
    const Box box{kMargin, top, kWorksheetArea.width - 2.0 * kMargin, 92.0 + handsHeight};
    svg.outlineRect(box, chartColours::kText, 1.0);
    svg.text({box.left + 8.0, box.top + 18.0},
             "どの列によく着くと思いますか。そう考えたわけも書きましょう。", kTextSize, kPrompt);
    if (!prediction.empty()) {
        TableRow hands{"手をあげた人数", {}};
        for (int column = 1; column <= kLineCount; ++column) {
            hands.second[column - 1] = std::to_string(prediction.hands[column]);
        }
        hands.second[10] = std::to_string(prediction.total());
        drawRows(svg, box.top + 28.0, {columnNumbers("予想した列"), hands});
    }
    ruledLines(svg, {box.left + 8.0, box.top + handsHeight + 2.0, box.width - 16.0,
                     box.height - handsHeight - 8.0});
    return box.bottom() + 16.0;
}

/// The table: each column's landings and relative frequency, and the exact chance.
double drawTable(SvgDocument& svg, const Worksheet& sheet, double top) {
    std::vector<TableRow> rows{columnNumbers("着いた列")};
    TableRow counts{"着いた回数", {}};
    TableRow shares{"相対度数", {}};
    if (sheet.counts) {
        const std::uint64_t total = landingsOf(*sheet.counts);
        const ColumnLaw share = sharesOf(*sheet.counts);
        for (int column = 1; column <= kLineCount; ++column) {
            counts.second[column - 1] = groupedDigits((*sheet.counts)[column]);
            shares.second[column - 1] =
                total == 0 ? std::string() : relativeFrequencyText(share[column]);
        }
        counts.second[10] = groupedDigits(total);
        shares.second[10] = total == 0 ? std::string() : "1";
    }
    rows.push_back(counts);
    rows.push_back(shares);
    if (sheet.showLaw) {
        TableRow law{"理論の確率", {}};
        for (int column = 1; column <= kLineCount; ++column) {
            law.second[column - 1] = relativeFrequencyText(sheet.law[column]);
        }
        law.second[10] = "1";
        rows.push_back(law);
    }
    return drawRows(svg, top, rows) + 18.0;
}

/// What the class concludes: ruled lines to the foot of the page, headed 考察.
void drawConclusion(SvgDocument& svg, double top) {
    top = heading(svg, top, "考察", "実験のあとで");
    const double bottom = kWorksheetArea.height - kMargin;
    svg.text({kMargin, top + 14.0},
             "表とグラフからわかったことを書きましょう。どこをひいても平等といえるでしょうか。",
             kTextSize, kPrompt);
    ruledLines(svg,
               {kMargin, top + 14.0, kWorksheetArea.width - 2.0 * kMargin, bottom - top - 14.0});
}

}  // namespace

Worksheet blankWorksheet(int rungs, int start) {
    return {rungs, start, exactLandingLaw(rungs, start), false, std::nullopt, {}, {}};
}

Worksheet filledWorksheet(const Comparison& comparison) {
    return {comparison.rungs,
            comparison.start,
            exactLandingLaw(comparison.rungs, comparison.start),
            true,
            comparison.counts,
            comparison.name,
            comparison.prediction};
}

std::optional<Worksheet> lessonWorksheet(int rungs, int start, bool startChanges,
                                         ColumnCounts shown, int endColumn,
                                         const ClassPrediction& prediction) {
    if (startChanges) {
        return std::nullopt;
    }
    if (endColumn >= 1 && endColumn <= kLineCount) {
        ++shown[endColumn];
    }
    Worksheet sheet =
        landingsOf(shown) == 0
            ? blankWorksheet(rungs, start)
            : filledWorksheet({"授業の実験", "クラスの結果", shown, rungs, start, {}, prediction});
    sheet.prediction = prediction;
    return sheet;
}

std::string relativeFrequencyText(double value) {
    if (value <= 0.0 || value >= 1.0) {
        return value <= 0.0 ? "0" : "1";
    }
    return value < 0.0005 ? "0.001未満" : fixedText(value, 3);
}

std::string worksheetSvg(const Worksheet& sheet) {
    SvgDocument svg(kWorksheetArea.width, kWorksheetArea.height,
                    "たなばしご ワークシート：横線 " + std::to_string(sheet.rungs) + " 本・" +
                        std::to_string(sheet.start) + " 本目から");
    svg.fillRect(kWorksheetArea, chartColours::kBackground);
    double y = drawHead(svg, sheet);
    y = drawPrediction(svg, sheet.prediction, y);
    y = heading(svg, y, "結果", sheet.counts ? "クラスの実験と理論" : "実験のあとで");
    const Box chart{kMargin, y, kWorksheetArea.width - 2.0 * kMargin, kChartHeight};
    drawLawChart(svg,
                 {sheet.rungs, sheet.start, sheet.law, sheet.counts, sheet.countsName,
                  sheet.prediction, sheet.showLaw},
                 chart);
    y = drawTable(svg, sheet, chart.bottom() + 10.0);
    drawConclusion(svg, y);
    return svg.finished();
}

}  // namespace tanabashigo
