#include "record_choices.h"

#include <map>
#include <utility>

namespace tanabashigo {

namespace {

const QString kWhose = QStringLiteral("クラスの結果");

/// 「横線 30 本」, with the start line when it is not the window's third.
QString ladderText(int rungs, int start) {
    return start == 3 ? QStringLiteral("横線 %1 本").arg(rungs)
                      : QStringLiteral("横線 %1 本・%2 本目から").arg(rungs).arg(start);
}

}  // namespace

std::vector<RecordChoice> choicesByLadder(const std::vector<RecordedExperiment>& experiments) {
    std::map<std::pair<int, int>, RecordChoice> byLadder;
    std::map<std::pair<int, int>, int> trials;
    for (const RecordedExperiment& experiment : experiments) {
        const std::pair ladder{experiment.rungs, experiment.start};
        auto [entry, added] = byLadder.try_emplace(
            ladder,
            RecordChoice{
                QString(), {QString(), kWhose, ColumnCounts{}, ladder.first, ladder.second}, 0, 0});
        RecordChoice& choice = entry->second;
        for (int column = 1; column <= kLineCount; ++column) {
            choice.comparison.counts[column] += experiment.counts[column];
        }
        ++choice.experiments;
        choice.experiment = choice.experiments == 1 ? experiment.experiment : 0;
        trials[ladder] += experiment.trials;
    }
    std::vector<RecordChoice> choices;
    for (auto& [ladder, choice] : byLadder) {
        choice.comparison.name =
            choice.experiments == 1
                ? QStringLiteral("クラスの記録（実験 %1）").arg(choice.experiment)
                : QStringLiteral("クラスの記録（%1 回分）").arg(choice.experiments);
        choice.label = QStringLiteral("%1 の実験すべて（%2 回分、%3 回）")
                           .arg(ladderText(ladder.first, ladder.second))
                           .arg(choice.experiments)
                           .arg(trials[ladder]);
        choices.push_back(choice);
    }
    return choices;
}

std::vector<RecordChoice> recordChoices(const std::vector<RecordedExperiment>& experiments) {
    std::vector<RecordChoice> choices;
    for (const RecordedExperiment& experiment : experiments) {
        choices.push_back(
            {QStringLiteral("実験 %1（%2、%3 回、%4）")
                 .arg(experiment.experiment)
                 .arg(ladderText(experiment.rungs, experiment.start))
                 .arg(experiment.trials)
                 .arg(experiment.ended ? QStringLiteral("終わりまで") : QStringLiteral("途中まで")),
             {QStringLiteral("クラスの記録（実験 %1）").arg(experiment.experiment), kWhose,
              experiment.counts, experiment.rungs, experiment.start},
             1,
             experiment.experiment});
    }
    for (const RecordChoice& together : choicesByLadder(experiments)) {
        if (together.experiments > 1) {
            choices.push_back(together);
        }
    }
    return choices;
}

}  // namespace tanabashigo
