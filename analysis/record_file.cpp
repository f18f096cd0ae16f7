#include "record_file.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <utility>

#include "record_line.h"
#include "tally.h"

namespace tanabashigo {

namespace {

using Result = std::variant<std::vector<RecordedExperiment>, RecordError>;

RecordError fileTooLarge() {
    return {0, "ファイルが大きすぎます（64 MiB まで）。", "the file is larger than 64 MiB"};
}

/// Why `line` cannot continue `experiment`, or nothing when it can.
std::optional<RecordError> breaksExperiment(const RecordedExperiment& experiment,
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
    if (line.rungs != experiment.rungs || line.start != experiment.start) {
        return RecordError{lineNumber, "実験の途中で横線の本数かスタートの線が変わっています。",
                           "the rungs or the start line change within the experiment"};
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

}  // namespace

Result readRecordText(std::string_view text) {
    if (text.size() > kMaxRecordBytes) {
        return fileTooLarge();
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);  // the byte-order mark some editors write
    }
    if (text.empty()) {
        return RecordError{0, "ファイルが空です。", "the file is empty"};
    }
    std::vector<RecordedExperiment> experiments;
    std::map<std::pair<int, int>, std::size_t> found;  // (header, experiment) -> index
    int headers = 0;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        const bool complete = end != std::string_view::npos;
        std::string_view line = text.substr(0, end);
        text.remove_prefix(complete ? end + 1 : text.size());
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line == recordHeader()) {
            ++headers;
            continue;
        }
        if (lineNumber == 1) {
            return RecordError{1, "着地の記録ファイルではありません（1 行目が見出しと違います）。",
                               "not a landing record: the first line is not its header"};
        }
        if (line.empty()) {
            continue;
        }
        const auto read = parseRecordLine(line);
        if (!read) {
            if (!complete) {
                return RecordError{lineNumber, "最後の行が途中で切れています。",
                                   "the last line is cut short"};
            }
            return RecordError{lineNumber, "記録の行として読めません。", "not a record line"};
        }
        const auto [at, isNew] = found.try_emplace({headers, read->experiment}, experiments.size());
        if (isNew) {
            experiments.push_back(
                {read->experiment, read->rungs, read->start, {}, 0, false, read->time, read->time});
        }
        RecordedExperiment& experiment = experiments[at->second];
        if (const auto broken = breaksExperiment(experiment, *read, lineNumber)) {
            return *broken;
        }
        ++experiment.trials;
        experiment.counts[read->column] += read->endsExperiment ? 0 : 1;
        experiment.ended = read->endsExperiment;
        experiment.lastTime = read->time;
    }
    if (experiments.empty()) {
        return RecordError{0, "着地の記録がありません。", "the file holds no landing"};
    }
    return experiments;
}

Result readRecordFile(const std::string& path) {
    const RecordError unreadable{0, "ファイルを読めません。", "the file cannot be read"};
    std::error_code error;
    std::ifstream in(path, std::ios::binary);
    if (std::filesystem::is_directory(path, error) || !in) {
        return unreadable;
    }
    std::string text;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxRecordBytes) {
            return fileTooLarge();
        }
    }
    if (in.bad()) {
        return unreadable;
    }
    return readRecordText(text);
}

}  // namespace tanabashigo
