#include "theory_model.h"

#include <algorithm>

#include "analysis_report.h"
#include "chance_text.h"
#include "duration_text.h"
#include "number_text.h"

namespace tanabashigo {

TheoryModel::TheoryModel() {
    setStart(3);
}

void TheoryModel::setRungs(int rungs) {
    rungs_ = std::clamp(rungs, 0, kSlotCount);
}

void TheoryModel::setStart(int start) {
    start = std::clamp(start, 1, kLineCount);
    if (start == start_ && !laws_.empty()) {
        return;
    }
    start_ = start;
    laws_ = exactLandingLaws(start_);
    rows_.clear();
    for (int rungs = 0; rungs <= kSlotCount; ++rungs) {
        rows_.push_back(fairnessRow(rungs, laws_[static_cast<std::size_t>(rungs)]));
    }
    nearlyFair_ = nearlyFairRange(rows_);
}

std::string TheoryModel::fairnessSentence() const {
    std::string text =
        "「ほぼ公平」とは、どの列に着く確率も 10% との差が 1 ポイント"
        "以内（9%〜11%）であることとします。";
    if (!nearlyFair_) {
        return text + formatted(
                          "%d 本目からスタートすると、横線を何本にしてもほぼ公平には"
                          "なりません。",
                          start_);
    }
    text += formatted("%d 本目からスタートすると、横線が %d 本から %d 本のとき、ほぼ公平です。",
                      start_, nearlyFair_->first, nearlyFair_->last);
    const FairnessRow& row = rows_[static_cast<std::size_t>(rungs_)];
    if (rungs_ >= nearlyFair_->first && rungs_ <= nearlyFair_->last) {
        return text + formatted("いまの %d 本はほぼ公平です。", rungs_);
    }
    text += formatted(
        "いまの %d 本では、いちばん着きやすい %d 列目が %s、いちばん着きにくい "
        "%d 列目が %sで、公平ではありません。",
        rungs_, row.maxColumn, percentText(row.maxP).c_str(), row.minColumn,
        percentText(row.minP).c_str());
    if (rungs_ > nearlyFair_->last) {
        text +=
            "横線が多すぎてすき間がなくなると、道筋が決まってきて、また"
            "不公平になります。";
    }
    return text;
}

std::string TheoryModel::durationSentence() const {
    auto found = lengths_.find({start_, rungs_});
    if (found == lengths_.end()) {
        found = lengths_.emplace(std::pair(start_, rungs_), experimentLength(law())).first;
    }
    return tanabashigo::durationSentence(found->second, rungs_, start_);
}

std::string TheoryModel::tableCsv() const {
    return lawTableForSpreadsheet(rungs_, start_, law(),
                                  shownComparison() ? &shownComparison()->counts : nullptr);
}

void TheoryModel::setComparison(const Comparison& comparison) {
    comparison_ = comparison;
    setStart(comparison.start);
    setRungs(comparison.rungs);
}

const Comparison* TheoryModel::shownComparison() const {
    if (comparison_ && comparison_->rungs == rungs_ && comparison_->start == start_) {
        return &*comparison_;
    }
    return nullptr;
}

std::optional<PlainComparison> TheoryModel::plainComparison() const {
    const Comparison* shown = shownComparison();
    if (shown == nullptr) {
        return std::nullopt;
    }
    return compareCounts(shown->counts, law(), shown->whose);
}

LawChart TheoryModel::lawChart() const {
    LawChart chart{rungs_, start_, law(), std::nullopt, {}};
    if (const Comparison* shown = shownComparison()) {
        chart.compared = shown->counts;
        chart.comparedName = shown->name;
    }
    return chart;
}

FairnessChart TheoryModel::fairnessChart() const {
    return FairnessChart{start_, rows_, rungs_, nearlyFair_, {}};
}

}  // namespace tanabashigo
