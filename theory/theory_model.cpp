#include "theory_model.h"

#include <algorithm>
#include <cstdlib>

#include "analysis_report.h"
#include "chance_text.h"
#include "duration_text.h"
#include "number_text.h"

namespace tanabashigo {

namespace {

/// The laws of every start line for every rung count, computed once for every model.
const std::vector<LawsByStart>& everyStartLaws() {
    static const std::vector<LawsByStart> laws = exactLawsOfEveryStart();
    return laws;
}

/// Whether every line lands below itself more often than the fair 10 % and more often than
/// in any column three or more away: it favours the columns below it and its neighbours.
bool favoursTheColumnsBelow(const LawsByStart& laws) {
    for (int start = 1; start <= kLineCount; ++start) {
        const ColumnLaw& law = laws[start];
        if (law[start] <= 0.1 + kNearlyFairGap) {
            return false;
        }
        for (int column = 1; column <= kLineCount; ++column) {
            if (std::abs(column - start) >= 3 && law[column] >= law[start]) {
                return false;
            }
        }
    }
    return true;
}

/// Whether some line lands in another column more often than in the one below it.
bool leansToTheEdges(const LawsByStart& laws) {
    for (int start = 1; start <= kLineCount; ++start) {
        const ColumnLaw& law = laws[start];
        if (*std::max_element(law.begin(), law.end()) > law[start]) {
            return true;
        }
    }
    return false;
}

}  // namespace

TheoryModel::TheoryModel()
    : everyLineRows_(everyLineFairness(everyStartLaws())),
      everyLineNearlyFair_(nearlyFairRange(everyLineRows_)) {
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

void TheoryModel::setSpeed(int speed) {
    speed_ = std::clamp(speed, kSlowestSpeed, kFastestSpeed);
}

std::string TheoryModel::durationSentence() const {
    auto found = lengths_.find({start_, rungs_});
    if (found == lengths_.end()) {
        found = lengths_.emplace(std::pair(start_, rungs_), experimentLength(law())).first;
    }
    return tanabashigo::durationSentence(found->second, rungs_, start_, speed_);
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

std::string TheoryModel::predictionSentence() const {
    const Comparison* shown = shownComparison();
    return shown == nullptr ? std::string() : comparePrediction(*shown, law()).japanese;
}

LawChart TheoryModel::lawChart() const {
    LawChart chart{rungs_, start_, law(), std::nullopt, {}};
    if (const Comparison* shown = shownComparison()) {
        chart.compared = shown->counts;
        chart.comparedName = shown->name;
        chart.prediction = shown->prediction;
    }
    return chart;
}

void TheoryModel::setClassLadders(std::vector<Comparison> ladders) {
    classLadders_ = std::move(ladders);
}

AllLinesChart TheoryModel::allLinesChart() const {
    AllLinesChart chart{rungs_, everyStartLaws()[static_cast<std::size_t>(rungs_)], {}, {}};
    const LandingsByStart landings = landingsByStart(classLadders_, rungs_);
    if (std::any_of(landings.begin(), landings.end(),
                    [](const ColumnCounts& row) { return landingsOf(row) > 0; })) {
        chart.landings = landings;
        chart.landingsName = "クラスの記録";
    }
    return chart;
}

std::vector<std::string> TheoryModel::allLinesSentences() const {
    const FairnessRow& row = everyLineRows_[static_cast<std::size_t>(rungs_)];
    const bool fair = everyLineNearlyFair_ && rungs_ >= everyLineNearlyFair_->first &&
                      rungs_ <= everyLineNearlyFair_->last;
    std::vector<std::string> sentences;
    if (rungs_ == 0) {
        sentences.push_back("横線がないと、どの線もまっすぐ真下の列に着きます。");
    } else if (fair) {
        sentences.push_back(formatted(
            "横線 %d 本では、どの線からひいても、どの列にもほぼ同じ確率で着きます。", rungs_));
    } else if (favoursTheColumnsBelow(everyStartLaws()[static_cast<std::size_t>(rungs_)])) {
        sentences.push_back(formatted(
            "横線 %d 本では、どの線も真下の列とそのとなりの列に着きやすく、遠い列ほど着きにくく"
            "なります（濃い色がななめに並びます）。%s",
            rungs_,
            leansToTheEdges(everyStartLaws()[static_cast<std::size_t>(rungs_)])
                ? "はしに近い線は、はしの列のほうに寄ります。"
                : ""));
    } else {
        sentences.push_back(formatted(
            "横線 %d 本では、横線が多すぎてすき間がなくなり、道筋が決まってきて、線ごとに着き"
            "やすい列がかたよります。",
            rungs_));
    }
    sentences.push_back(
        "1 つのあみだくじでは、10 本の線はそれぞれちがう列に着き、どの列にもちょうど 1 本の線が"
        "着きます。だから表をたてに足しても、どの列も 100% になります。");
    if (!everyLineNearlyFair_) {
        sentences.push_back("横線を何本にしても、すべての線がほぼ公平になることはありません。");
    } else {
        std::string text = formatted(
            "どの線からひいても、どの列にも 9%%〜11%% で着く（ほぼ公平な）のは、横線が %d 本から "
            "%d 本のときです。",
            everyLineNearlyFair_->first, everyLineNearlyFair_->last);
        text += fair ? formatted("いまの %d 本は、どの線もほぼ公平です。", rungs_)
                     : formatted(
                           "いまの %d 本では、いちばん着きやすいマスが %s、いちばん着きに"
                           "くいマスが %sで、まだ公平ではありません。",
                           rungs_, percentText(row.maxP).c_str(), percentText(row.minP).c_str());
        sentences.push_back(text);
    }
    const AllLinesChart chart = allLinesChart();
    if (chart.landings) {
        std::uint64_t landings = 0;
        int lines = 0;
        for (const ColumnCounts& counts : *chart.landings) {
            landings += landingsOf(counts);
            lines += landingsOf(counts) > 0 ? 1 : 0;
        }
        sentences.push_back(
            formatted("クラスの記録（横線 %d 本）：%d 本の線から、合わせて %s "
                      "回。マスの数字が着いた回数です。",
                      rungs_, lines, groupedDigits(landings).c_str()));
    }
    return sentences;
}

void TheoryModel::setSettlingColumn(int column) {
    settlingColumn_ = column >= 1 && column <= kLineCount ? column : 0;
}

SettlingChart TheoryModel::settlingChart() const {
    SettlingChart chart{rungs_, start_, law(), {}, settlingColumn_, "クラスの記録"};
    if (const Comparison* shown = shownComparison(); shown != nullptr && !shown->order.empty()) {
        chart.landings = shown->order;
        chart.name = shown->name;
        return chart;
    }
    for (const Comparison& ladder : classLadders_) {
        if (ladder.rungs == rungs_ && ladder.start == start_) {
            chart.landings.insert(chart.landings.end(), ladder.order.begin(), ladder.order.end());
        }
    }
    return chart;
}

std::string TheoryModel::settlingSentence() const {
    const SettlingChart chart = settlingChart();
    const std::size_t trials = chart.landings.size();
    if (trials == 0) {
        return formatted(
            "クラスの記録を開くと、横線 %d 本・%d 本目からの結果が、回数がふえるにつれて理論の"
            "確率に近づいていくようすを表示します。",
            rungs_, start_);
    }
    const std::size_t first = 20;
    if (trials < 2 * first) {
        return formatted(
            "%s：%s 回。まだ回数が少ないので、割合は理論の確率から大きくはなれることがあります。"
            "回数をふやすほど、理論の確率に近づいていきます（大数の法則）。",
            chart.name.c_str(), groupedDigits(trials).c_str());
    }
    std::string text = formatted(
        "%s：%s 回。はじめの %zu 回では、割合と理論の確率の差がいちばん大きい列で %s ポイント"
        "でしたが、%s 回では %s ポイントです。",
        chart.name.c_str(), groupedDigits(trials).c_str(), first,
        fixedText(largestGap(chart, first) * 100.0, 1).c_str(), groupedDigits(trials).c_str(),
        fixedText(largestGap(chart, trials) * 100.0, 1).c_str());
    return text +
           "回数がふえるほど、割合は理論の確率に近づいていきます（大数の法則）。ただし、ちょうど"
           "同じになるとはかぎりません。";
}

Worksheet TheoryModel::worksheet() const {
    const Comparison* shown = shownComparison();
    return shown != nullptr ? filledWorksheet(*shown) : blankWorksheet(rungs_, start_);
}

FairnessChart TheoryModel::fairnessChart() const {
    return FairnessChart{start_, rows_, rungs_, nearlyFair_, {}};
}

}  // namespace tanabashigo
