#include "class_pool.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>
#include <variant>

namespace tanabashigo {

bool isCopyOf(const RecordedExperiment& earlier, const RecordedExperiment& later) {
    if (earlier.rungs != later.rungs || earlier.start != later.start ||
        earlier.trials > later.trials || earlier.trials == 0) {
        return false;
    }
    if (earlier.trials == later.trials) {
        return earlier.fingerprint == later.fingerprint;
    }
    const std::size_t opened = std::min(std::size_t(earlier.trials), earlier.opening.size()) - 1;
    return !earlier.ended && earlier.opening[opened] == later.opening[opened] &&
           std::equal(earlier.counts.begin(), earlier.counts.end(), later.counts.begin(),
                      [](std::uint64_t before, std::uint64_t after) { return before <= after; });
}

CountedOnce countOnce(std::vector<NamedRecord> files) {
    struct Place {
        std::size_t file;
        std::size_t index;
    };
    const auto at = [&files](Place place) -> const RecordedExperiment& {
        return files[place.file].experiments[place.index];
    };
    std::vector<Place> kept;
    std::vector<std::size_t> lastFile;  // of each kept experiment, the last file that holds it
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> byOpening;  // into `kept`
    std::vector<std::vector<bool>> left(files.size());
    // (left out of, counted in) -> the (part, number) of each experiment left out: one whose
    // start line changed is left out once, however many start lines it took
    std::map<std::pair<std::size_t, std::size_t>, std::set<std::pair<int, int>>> repeats;
    for (std::size_t file = 0; file < files.size(); ++file) {
        left[file].resize(files[file].experiments.size());
        for (std::size_t index = 0; index < left[file].size(); ++index) {
            const Place here{file, index};
            std::vector<std::size_t>& same = byOpening[at(here).opening[0]];
            const auto seen = std::find_if(same.begin(), same.end(), [&](std::size_t other) {
                const Place there = kept[other];
                return lastFile[other] != file &&
                       (isCopyOf(at(here), at(there)) || isCopyOf(at(there), at(here)));
            });
            if (seen == same.end()) {
                same.push_back(kept.size());
                kept.push_back(here);
                lastFile.push_back(file);
                continue;
            }
            const bool keepSeen = isCopyOf(at(here), at(kept[*seen]));
            const Place out = keepSeen ? here : kept[*seen];
            const Place in = keepSeen ? kept[*seen] : here;
            left[out.file][out.index] = true;
            repeats[{out.file, in.file}].insert({at(out).part, at(out).experiment});
            kept[*seen] = in;
            lastFile[*seen] = file;
        }
    }
    for (std::size_t file = 0; file < files.size(); ++file) {
        std::vector<RecordedExperiment>& experiments = files[file].experiments;
        std::size_t counting = 0;
        for (std::size_t index = 0; index < experiments.size(); ++index) {
            if (!left[file][index]) {
                experiments[counting++] = std::move(experiments[index]);
            }
        }
        experiments.resize(counting);
    }
    CountedOnce counted;
    for (const auto& [where, experiments] : repeats) {
        counted.repeats.push_back(
            {files[where.first].name, files[where.second].name, int(experiments.size())});
    }
    counted.files = std::move(files);
    return counted;
}

std::pair<std::string, std::string> repeatNote(const Repeat& repeat) {
    const std::string count = std::to_string(repeat.experiments);
    const std::string plural = repeat.experiments == 1 ? " experiment" : " experiments";
    const bool sameName = repeat.file == repeat.counted;
    return {"「" + repeat.file + "」の実験 " + count + " 回分は" + (sameName ? "もう一つの" : "") +
                "「" + repeat.counted + "」にもあるので、一度だけ数えました。",
            repeat.file + ": " + count + plural + " also in " + (sameName ? "the other " : "") +
                repeat.counted + ", counted once."};
}

std::optional<RecordError> ClassPool::take(const std::string& name, RecordRead read) {
    if (const RecordError* error = std::get_if<RecordError>(&read)) {
        return *error;
    }
    auto& [experiments, tornLines] = std::get<RecordContents>(read);
    if (const auto [japanese, english] = tornLinesNote(tornLines); !japanese.empty()) {
        tornNotes_.emplace_back("「" + name + "」：" + japanese, name + ": " + english);
    }
    files_.push_back({name, std::move(experiments)});
    return std::nullopt;
}

std::pair<std::vector<PooledLadder>, std::vector<PoolNote>> ClassPool::pool() const {
    CountedOnce counted = countOnce(files_);
    std::vector<PoolNote> notes = tornNotes_;
    for (const Repeat& repeat : counted.repeats) {
        notes.push_back(repeatNote(repeat));
    }
    return {poolByLadder(counted.files), std::move(notes)};
}

}  // namespace tanabashigo
