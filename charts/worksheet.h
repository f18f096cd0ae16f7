#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "comparison_report.h"
#include "landing_law.h"
#include "svg_document.h"

namespace tanabashigo {

/// The lesson on one A4 page: the ladder, a slot for the class's prediction (予想), the class's
/// landings beside the exact law as a chart and as a table of counts and relative frequencies,
/// and ruled lines for what the class concludes (考察). Without landings it is the blank sheet
/// pupils fill in by hand before the experiment.
struct Worksheet {
    int rungs = 0;
    int start = 3;
    ColumnLaw law{};
    bool showLaw = true;                 ///< the exact law in the chart and in the table
    std::optional<ColumnCounts> counts;  ///< the class's landings; none on the blank sheet
    std::string countsName;        ///< whose they are, e.g. 「クラス全体（3 回分）」
    ClassPrediction prediction{};  ///< the class's hands per column; empty: a box to fill in
};

/// The blank sheet of `rungs` rungs from line `start`: an empty chart and empty cells, the
/// exact law left for the class to find.
Worksheet blankWorksheet(int rungs, int start);

/// The sheet filled with the landings of `comparison` beside the law of its ladder, and with
/// the class's prediction it holds.
Worksheet filledWorksheet(const Comparison& comparison);

/// Why a lesson whose start line changes from trial to trial has no worksheet.
inline constexpr std::string_view kNoWorksheetOfChangingLines =
    "スタートの線が毎回変わる実験は、線ごとに理論の確率がちがうので、1 枚のワークシートには"
    "まとめられません。線ごとの結果は「理論と実験」の「どこをひいても」で見られます。";

/// The sheet of a lesson of `rungs` rungs from line `start` whose tally shows `shown`, with the
/// landing that ended it in `endColumn` (0 while it runs) counted too, as the record counts it,
/// and the class's `prediction`; the blank sheet before the first landing. None when the start
/// line changes from trial to trial (`startChanges`): the landings of several lines have no one
/// law to stand beside.
std::optional<Worksheet> lessonWorksheet(int rungs, int start, bool startChanges,
                                         ColumnCounts shown, int endColumn,
                                         const ClassPrediction& prediction);

/// An A4 page, 210 × 297 mm, at 96 pixels to the inch.
inline constexpr Box kWorksheetArea{0.0, 0.0, 793.7, 1122.5};

/// The page as an SVG document of kWorksheetArea's size.
std::string worksheetSvg(const Worksheet& sheet);

/// A relative frequency or a chance as the worksheet's table writes it: "0.273", "0", "1",
/// and "0.001未満" for one too small to show.
std::string relativeFrequencyText(double value);

}  // namespace tanabashigo
