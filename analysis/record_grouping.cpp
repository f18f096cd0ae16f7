#include "record_grouping.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace tanabashigo {

namespace {

constexpr char kWhose[] = "クラスの結果";

/// 「横線 30 本」, with the start line when it is not the window's third.
std::string ladderText(int rungs, int start) {
    return "横線 " + std::to_string(rungs) + " 本" +
           (start == 3 ? std::string() : "・" + std::to_string(start) + " 本目から");
}

std::string experimentName(int experiment) {
    return "クラスの記録（実験 " + std::to_string(experiment) + "）";
}

}  // namespace

ColumnCounts everyLanding(const RecordedExperiment& experiment) {
    ColumnCounts landings = experiment.counts;
    if (experiment.endColumn != 0) {
        ++landings[experiment.endColumn];
    }
    return landings;
}

std::vector<std::uint8_t> everyLandingInTurn(const RecordedExperiment& experiment) {
    std::vector<std::uint8_t> order = experiment.order;
    if (experiment.endColumn != 0) {
        order.push_back(static_cast<std::uint8_t>(experiment.endColumn));
    }
    return order;
}

std::vector<LadderGroup> groupByLadder(const std::vector<RecordedExperiment>& experiments) {
    std::vector<LadderGroup> groups;
    std::unordered_map<int, std::size_t> byLadder;  // rungs * 16 + start -> group
    for (std::size_t i = experiments.size(); i-- > 0;) {
        const RecordedExperiment& experiment = experiments[i];
        const auto [at, isNew] =
            byLadder.try_emplace(experiment.rungs * 16 + experiment.start, groups.size());
        if (isNew) {
            groups.push_back({experiment.rungs, experiment.start, {}, 0, {}});
        }
        LadderGroup& group = groups[at->second];
        const ColumnCounts landings = everyLanding(experiment);
        for (int column = 1; column <= kLineCount; ++column) {
            group.counts[column] += landings[column];
        }
        group.trials += std::uint64_t(experiment.trials);
        group.prediction += experiment.prediction;
        group.newestFirst.push_back(std::uint32_t(i));
    }
    return groups;
}

std::vector<RecordChoice> choicesByLadder(const std::vector<RecordedExperiment>& experiments) {
    std::vector<LadderGroup> groups = groupByLadder(experiments);
    std::sort(groups.begin(), groups.end(), [](const LadderGroup& a, const LadderGroup& b) {
        return std::pair(a.rungs, a.start) < std::pair(b.rungs, b.start);
    });
    std::vector<RecordChoice> choices;
    for (const LadderGroup& group : groups) {
        choices.push_back(groupChoice(group, experiments));
    }
    return choices;
}

RecordChoice experimentChoice(const RecordedExperiment& experiment) {
    return {
        "実験 " + std::to_string(experiment.experiment) + "（" +
            ladderText(experiment.rungs, experiment.start) + "、着地 " +
            std::to_string(landingsOf(everyLanding(experiment))) + " 回、" +
            (experiment.ended ? "終わりまで" : "途中まで") + "）",
        {experimentName(experiment.experiment), kWhose, everyLanding(experiment), experiment.rungs,
         experiment.start, everyLandingInTurn(experiment), experiment.prediction},
        1,
        experiment.experiment};
}

RecordChoice groupChoice(const LadderGroup& group,
                         const std::vector<RecordedExperiment>& experiments) {
    const int count = static_cast<int>(group.newestFirst.size());
    const int only = count == 1 ? experiments[group.newestFirst.front()].experiment : 0;
    const std::string together = std::to_string(count) + " 回分";
    std::vector<std::uint8_t> order;
    for (auto at = group.newestFirst.rbegin(); at != group.newestFirst.rend(); ++at) {
        const std::vector<std::uint8_t> inTurn = everyLandingInTurn(experiments[*at]);
        order.insert(order.end(), inTurn.begin(), inTurn.end());
    }
    return {ladderText(group.rungs, group.start) + "（" + together + "、着地 " +
                std::to_string(landingsOf(group.counts)) + " 回）",
            {count == 1 ? experimentName(only) : "クラスの記録（" + together + "）", kWhose,
             group.counts, group.rungs, group.start, std::move(order), group.prediction},
            count,
            only};
}

std::vector<RecordChoice> recordChoices(const std::vector<RecordedExperiment>& experiments) {
    std::vector<RecordChoice> choices;
    for (const RecordedExperiment& experiment : experiments) {
        choices.push_back(experimentChoice(experiment));
    }
    for (const RecordChoice& together : choicesByLadder(experiments)) {
        if (together.experiments > 1) {
            choices.push_back(together);
        }
    }
    return choices;
}

std::vector<PooledLadder> poolByLadder(const std::vector<NamedRecord>& files) {
    std::vector<RecordedExperiment> all;
    for (const NamedRecord& file : files) {
        all.insert(all.end(), file.experiments.begin(), file.experiments.end());
    }
    std::vector<PooledLadder> pooled;
    for (RecordChoice& total : choicesByLadder(all)) {
        total.comparison.name = "クラス全体（" + std::to_string(total.experiments) + " 回分）";
        pooled.push_back({std::move(total), {}});
    }
    for (const NamedRecord& file : files) {
        for (RecordChoice& share : choicesByLadder(file.experiments)) {
            for (PooledLadder& ladder : pooled) {
                if (ladder.total.comparison.rungs == share.comparison.rungs &&
                    ladder.total.comparison.start == share.comparison.start) {
                    ladder.files.emplace_back(file.name, std::move(share));
                }
            }
        }
    }
    for (PooledLadder& ladder : pooled) {
        const Comparison& total = ladder.total.comparison;
        ladder.total.label = "クラス全体：" + ladderText(total.rungs, total.start) + "（" +
                             std::to_string(ladder.files.size()) + " ファイル・" +
                             std::to_string(ladder.total.experiments) + " 回分・着地 " +
                             std::to_string(landingsOf(total.counts)) + " 回）";
    }
    return pooled;
}

}  // namespace tanabashigo
