#include "record_reader.h"

#include <algorithm>
#include <array>
#include <utility>

#include "record_line.h"
#include "tally.h"

namespace tanabashigo {

namespace {

/// The longest line read: a record line is under a hundred bytes.
constexpr std::size_t kLongestLine = 4096;

RecordError changedRungs(int lineNumber) {
    return {lineNumber, "実験の途中で横線の本数が変わっています。",
            "the rungs change within the experiment"};
}

/// Why `line` cannot continue `experiment`, or nothing when it can.
std::optional<RecordError> breaksExperiment(const ExperimentSoFar& experiment,
                                            const RecordLine& line, int lineNumber) {
    if (experiment.trials == 0 && line.trial != 1) {
        return RecordError{lineNumber, "実験の最初の行なのに、試行の番号が 1 ではありません。",
                           "an experiment's first line is not trial 1"};
    }
    if (experiment.ended) {
        return RecordError{lineNumber, "終わった実験の後に続く行です。",
                           "the line follows the end of its experiment"};
    }
    if (line.trial != experiment.trials + 1) {
        return RecordError{lineNumber, "試行の番号が前の行から続いていません。",
                           "the trial number does not follow the line before"};
    }
    if (line.rungs != experiment.rungs) {
        return changedRungs(lineNumber);
    }
    const std::uint64_t before = experiment.counts[line.column];
    const std::uint64_t after = line.endsExperiment ? before : before + 1;
    if (after != static_cast<std::uint64_t>(line.count) ||
        (line.endsExperiment && before != Tally::kColumnCapacity)) {
        return RecordError{lineNumber, "列のマーカーの数が、それまでの着地と合いません。",
                           "the column's count does not follow the earlier landings"};
    }
    return std::nullopt;
}

/// `fingerprint` with `bytes` folded in (FNV-1a).
std::uint64_t folded(std::uint64_t fingerprint, std::string_view bytes) {
    for (const char byte : bytes) {
        fingerprint = (fingerprint ^ static_cast<unsigned char>(byte)) * 0x100000001B3u;
    }
    return fingerprint;
}

/// The fingerprint of an experiment of `rungs` rungs from `start` before its first line.
std::uint64_t ladderFingerprint(int rungs, int start) {
    return folded(0xCBF29CE484222325u, std::to_string(rungs) + ',' + std::to_string(start));
}

/// Whether `line`, unreadable as it is, is the start of a record line: what a write cut
/// short leaves. Its last field is completed in a few ways and the fields after it are
/// filled in, for each event; one of those must read.
bool isCutShort(std::string_view line) {
    static constexpr std::array<std::string_view, 7> kFilling = {
        "2000-01-01T00:00:00+00:00", "1", "1", "0", "1", "1", "1"};
    const auto field = static_cast<std::size_t>(std::count(line.begin(), line.end(), ','));
    if (field > kFilling.size()) {
        return false;
    }
    const std::size_t comma = line.rfind(',');
    const std::string_view last = comma == std::string_view::npos ? line : line.substr(comma + 1);
    for (const std::string_view event : {"landing", "end", "prediction"}) {
        // A prediction's trial is 0: its filling then follows a landing's rules no further.
        std::string rest;
        for (std::size_t after = field + 1; after <= kFilling.size(); ++after) {
            rest.append(",").append(after == kFilling.size()              ? event
                                    : after == 2 && event == "prediction" ? "0"
                                                                          : kFilling[after]);
        }
        const std::string_view filling = field == kFilling.size() ? event : kFilling[field];
        for (const std::string_view ending :
             {filling.substr(std::min(last.size(), filling.size())), std::string_view("1")}) {
            if (parseRecordLine(std::string(line).append(ending).append(rest))) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

bool RecordReader::read(std::string_view piece) {
    while (!piece.empty() && !error_) {
        const std::size_t end = piece.find('\n');
        if (end == std::string_view::npos) {
            partial_.append(piece);
            if (partial_.size() > kLongestLine) {
                error_ = RecordError{lineNumber_ + 1, "行が長すぎます。", "a line is too long"};
            }
            break;
        }
        if (partial_.empty()) {
            readLine(piece.substr(0, end));
        } else {
            partial_.append(piece.substr(0, end));
            readLine(partial_);
            partial_.clear();
        }
        piece.remove_prefix(end + 1);
    }
    return !error_;
}

void RecordReader::readLine(std::string_view line) {
    ++lineNumber_;
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if (lineNumber_ == 1) {
        line = withoutByteOrderMark(line);
    }
    if (line == recordHeader()) {
        ++headers_;
        highest_ = 0;
        return;
    }
    if (lineNumber_ == 1) {
        error_ = RecordError{1, "着地の記録ファイルではありません（1 行目が見出しと違います）。",
                             "not a landing record: the first line is not its header"};
        return;
    }
    if (line.empty()) {
        return;
    }
    const auto read = parseRecordLine(line);
    if (!read) {
        if (isCutShort(line)) {
            ++contents_.tornLines;
        } else {
            error_ = RecordError{lineNumber_, "記録の行として読めません。", "not a record line"};
        }
        return;
    }
    const std::uint64_t key = std::uint64_t(headers_) << 32 | std::uint32_t(read->experiment);
    if (read->predicts) {
        readPrediction(*read, key);
        return;
    }
    const auto [at, isNew] = found_.try_emplace(key, ExperimentSoFar{.rungs = read->rungs});
    ExperimentSoFar& whole = at->second;
    if (isNew) {
        highest_ = std::max(highest_, read->experiment);
        if (const auto predicted = predicting_.find(key); predicted != predicting_.end()) {
            if (predicted->second.rungs != read->rungs) {
                error_ = changedRungs(lineNumber_);
                return;
            }
            whole.prediction = predicted->second.prediction;
            predicting_.erase(predicted);
        }
    }
    if (auto broken = breaksExperiment(whole, *read, lineNumber_)) {
        error_ = std::move(broken);
        return;
    }
    ++whole.trials;
    whole.counts[read->column] += read->endsExperiment ? 0 : 1;
    whole.ended = read->endsExperiment;
    std::vector<RecordedExperiment>& experiments = contents_.experiments;
    std::size_t& index = whole.byStart[std::size_t(read->start)];
    if (index == 0) {
        RecordedExperiment fromLine;
        fromLine.experiment = read->experiment;
        fromLine.rungs = read->rungs;
        fromLine.start = read->start;
        fromLine.part = headers_;
        fromLine.fingerprint = ladderFingerprint(read->rungs, read->start);
        fromLine.prediction = whole.prediction;
        experiments.push_back(fromLine);
        index = experiments.size();
    }
    RecordedExperiment& experiment = experiments[index - 1];
    ++experiment.trials;
    experiment.counts[read->column] += read->endsExperiment ? 0 : 1;
    if (read->endsExperiment) {
        experiment.endColumn = read->column;
        for (const std::size_t part : whole.byStart) {
            if (part != 0) {
                experiments[part - 1].ended = true;
            }
        }
    } else {
        experiment.order.push_back(static_cast<std::uint8_t>(read->column));
    }
    const std::array<char, 2> columnAndEvent{static_cast<char>(read->column),
                                             read->endsExperiment ? 'e' : 'l'};
    experiment.fingerprint = folded(folded(experiment.fingerprint, read->time),
                                    {columnAndEvent.data(), columnAndEvent.size()});
    if (std::size_t(experiment.trials) <= experiment.opening.size()) {
        experiment.opening[std::size_t(experiment.trials) - 1] =
            static_cast<std::uint32_t>(experiment.fingerprint);
    }
}

void RecordReader::readPrediction(const RecordLine& line, std::uint64_t key) {
    if (found_.contains(key)) {
        error_ = RecordError{lineNumber_, "予想の行が、実験の最初の着地より後にあります。",
                             "a prediction line follows the experiment's first landing"};
        return;
    }
    const auto [at, isNew] = predicting_.try_emplace(key, Predicting{line.rungs, {}});
    Predicting& predicting = at->second;
    if (predicting.rungs != line.rungs) {
        error_ = changedRungs(lineNumber_);
    } else if (predicting.prediction.hands[line.column] != 0) {
        error_ = RecordError{lineNumber_, "同じ列の予想が二度あります。",
                             "the prediction names a column twice"};
    } else {
        predicting.prediction.hands[line.column] = line.count;
        highest_ = std::max(highest_, line.experiment);
    }
}

const ExperimentSoFar* RecordReader::latest(int experiment) const {
    const auto at = found_.find(std::uint64_t(headers_) << 32 | std::uint32_t(experiment));
    return at == found_.end() ? nullptr : &at->second;
}
RecordRead RecordReader::finish() {
    if (!partial_.empty() && !error_) {
        readLine(partial_);
        partial_.clear();
    }
    if (error_) {
        return *error_;
    }
    if (lineNumber_ == 0) {
        return RecordError{0, "ファイルが空です。", "the file is empty"};
    }
    if (contents_.experiments.empty()) {
        return RecordError{0, "着地の記録がありません。", "the file holds no landing"};
    }
    return std::move(contents_);
}

std::pair<std::string, std::string> tornLinesNote(int tornLines) {
    if (tornLines == 0) {
        return {};
    }
    const std::string count = std::to_string(tornLines);
    return {"途中で切れた行が " + count + " 行ありました（読み飛ばしました）。",
            count + (tornLines == 1 ? " line was" : " lines were") + " cut short and skipped."};
}

RecordRead readRecordText(std::string_view text) {
    RecordReader reader;
    reader.read(text);
    return reader.finish();
}

}  // namespace tanabashigo
