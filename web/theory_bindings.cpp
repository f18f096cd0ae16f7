// 理論と実験 as the page calls it: the theory window's model, its charts as SVG documents and
// its sentences, and the worksheets to print, all from the same C++ as the desktop's.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "js_values.h"
#include "theory_model.h"
#include "worksheet.h"

namespace tanabashigo {
namespace {

using emscripten::val;

class PageTheory {
public:
    void setRungs(int rungs) { model_.setRungs(rungs); }
    void setStart(int start) { model_.setStart(start); }
    void setSpeed(int speed) { model_.setSpeed(speed); }
    int rungs() const { return model_.rungs(); }
    int start() const { return model_.start(); }

    val law() const { return numberArray(model_.law()); }
    std::string lawChartSvg() const { return tanabashigo::lawChartSvg(model_.lawChart()); }
    std::string fairnessChartSvg() const {
        return tanabashigo::fairnessChartSvg(model_.fairnessChart());
    }
    std::string fairnessSentence() const { return model_.fairnessSentence(); }
    std::string durationSentence() const { return model_.durationSentence(); }
    /// The table CSV as bytes: a string would lose its byte-order mark on the way.
    val tableCsv() const {
        const std::string csv = model_.tableCsv();
        const auto* bytes = reinterpret_cast<const unsigned char*>(csv.data());
        return val::global("Uint8Array").new_(emscripten::typed_memory_view(csv.size(), bytes));
    }

    /// Sets `counts` (ten landing counts) beside the law of `rungs` rungs from `start`, with
    /// the class's prediction `hands` (ten, or none).
    void setComparison(const std::string& name, const std::string& whose, const val& counts,
                       int rungs, int start, const val& hands) {
        Comparison comparison{name, whose, {}, rungs, start, {}};
        const bool predicted = hands["length"].as<int>() == kLineCount;
        for (int column = 1; column <= kLineCount; ++column) {
            comparison.counts[column] = static_cast<std::uint64_t>(counts[column - 1].as<double>());
            comparison.prediction.hands[column] = predicted ? hands[column - 1].as<int>() : 0;
        }
        model_.setComparison(comparison);
    }

    std::string allLinesChartSvg() const {
        return tanabashigo::allLinesChartSvg(model_.allLinesChart());
    }
    val allLinesSentences() const {
        val sentences = val::array();
        for (const std::string& sentence : model_.allLinesSentences()) {
            sentences.call<void>("push", sentence);
        }
        return sentences;
    }
    /// Sets the class's pooled ladders, each {rungs, start, counts}, to fill the all-lines
    /// picture.
    void setClassLadders(const val& ladders) {
        std::vector<Comparison> comparisons;
        const int length = ladders["length"].as<int>();
        for (int n = 0; n < length; ++n) {
            const val ladder = ladders[n];
            Comparison comparison{"", "", {}, ladder["rungs"].as<int>(), ladder["start"].as<int>(),
                                  {}};
            for (int column = 1; column <= kLineCount; ++column) {
                comparison.counts[column] =
                    static_cast<std::uint64_t>(ladder["counts"][column - 1].as<double>());
            }
            if (!ladder["order"].isUndefined()) {
                comparison.order =
                    emscripten::convertJSArrayToNumberVector<std::uint8_t>(ladder["order"]);
            }
            comparisons.push_back(comparison);
        }
        model_.setClassLadders(std::move(comparisons));
    }

    std::string settlingChartSvg() const {
        return tanabashigo::settlingChartSvg(model_.settlingChart());
    }
    std::string settlingSentence() const { return model_.settlingSentence(); }
    /// The worksheet of the shown counts, or the blank one, as one A4 page.
    std::string worksheetSvg() const { return tanabashigo::worksheetSvg(model_.worksheet()); }
    /// Chooses the column the settling chart draws, 0 for every column.
    void setSettlingColumn(int column) { model_.setSettlingColumn(column); }

    /// The shown counts compared with the law, or null.
    val comparison() const {
        const std::optional<PlainComparison> plain = model_.plainComparison();
        if (!plain) {
            return val::null();
        }
        val object = val::object();
        object.set("japanese", plain->japanese);
        object.set("figures", plain->figures);
        object.set("prediction", model_.predictionSentence());
        return object;
    }

private:
    TheoryModel model_;
};

/// The worksheet of a lesson of `rungs` rungs from `start` whose tally shows `shown` (ten
/// counts, column 1 first), which ended in `endColumn` (0 while it runs) and whose class raised
/// `hands` for columns 1..10: {svg}, or {refusal} when its start line changes.
val lessonWorksheetOf(int rungs, int start, bool startChanges, const val& shown, int endColumn,
                      const val& hands) {
    ColumnCounts counts{};
    ClassPrediction prediction;
    for (int column = 1; column <= kLineCount; ++column) {
        counts[column] = static_cast<std::uint64_t>(shown[column - 1].as<double>());
        prediction.hands[column] = hands[column - 1].as<int>();
    }
    val result = val::object();
    if (const auto sheet =
            lessonWorksheet(rungs, start, startChanges, counts, endColumn, prediction)) {
        result.set("svg", worksheetSvg(*sheet));
    } else {
        result.set("refusal", std::string(kNoWorksheetOfChangingLines));
    }
    return result;
}

}  // namespace
}  // namespace tanabashigo

EMSCRIPTEN_BINDINGS(tanabashigo_theory) {
    using namespace tanabashigo;
    emscripten::class_<PageTheory>("PageTheory")
        .constructor<>()
        .function("setRungs", &PageTheory::setRungs)
        .function("setStart", &PageTheory::setStart)
        .function("rungs", &PageTheory::rungs)
        .function("start", &PageTheory::start)
        .function("law", &PageTheory::law)
        .function("lawChartSvg", &PageTheory::lawChartSvg)
        .function("fairnessChartSvg", &PageTheory::fairnessChartSvg)
        .function("fairnessSentence", &PageTheory::fairnessSentence)
        .function("durationSentence", &PageTheory::durationSentence)
        .function("setSpeed", &PageTheory::setSpeed)
        .function("tableCsv", &PageTheory::tableCsv)
        .function("setComparison", &PageTheory::setComparison)
        .function("comparison", &PageTheory::comparison)
        .function("allLinesChartSvg", &PageTheory::allLinesChartSvg)
        .function("allLinesSentences", &PageTheory::allLinesSentences)
        .function("setClassLadders", &PageTheory::setClassLadders)
        .function("settlingChartSvg", &PageTheory::settlingChartSvg)
        .function("settlingSentence", &PageTheory::settlingSentence)
        .function("setSettlingColumn", &PageTheory::setSettlingColumn)
        .function("worksheetSvg", &PageTheory::worksheetSvg);
    emscripten::function("lessonWorksheet", &lessonWorksheetOf);
}
