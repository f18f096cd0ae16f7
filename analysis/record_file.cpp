#include "record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

#include "record_line.h"
#include "tally.h"

namespace tanabashigo {

namespace {

/// The longest line read: a record line is under a hundred bytes.
constexpr std::size_t kLongestLine = 4096;
constexpr std::size_t kReadBytes = 1 << 16;

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

/// Whether `line`, unreadable as it is, is the start of a record line: what a write cut
/// short leaves. Its last field is completed in a few ways and the fields after it are
/// filled in; one of those must read.
bool isCutShort(std::string_view line) {
    static constexpr std::array<std::string_view, 8> kFilling = {
        "2000-01-01T00:00:00+00:00", "1", "1", "0", "1", "1", "1", "landing"};
    const auto field = static_cast<std::size_t>(std::count(line.begin(), line.end(), ','));
    if (field >= kFilling.size()) {
        return false;
    }
    const std::size_t comma = line.rfind(',');
    const std::string_view last = comma == std::string_view::npos ? line : line.substr(comma + 1);
    std::string rest;
    for (std::size_t after = field + 1; after < kFilling.size(); ++after) {
        rest.append(",").append(kFilling[after]);
    }
    const std::string_view filling = kFilling[field];
    const std::string_view end = "end";
    for (const std::string& ending :
         {std::string(filling.substr(std::min(last.size(), filling.size()))), std::string("1"),
          std::string(end.starts_with(last) ? end.substr(last.size()) : "?")}) {
        if (parseRecordLine(std::string(line) + ending + rest)) {
            return true;
        }
    }
    return false;
}

RecordError fileError(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return {0, "ファイルがありません。", "the file does not exist"};
        case EACCES:
        case EPERM:
            return {0, "ファイルを読む許可がありません。", "permission to read it is denied"};
        default:
            return {0, std::string("ファイルを読めません（") + std::strerror(error) + "）。",
                    std::string("it cannot be read: ") + std::strerror(error)};
    }
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
    if (lineNumber_ == 1 && line.starts_with("\xEF\xBB\xBF")) {
        line.remove_prefix(3);  // the byte-order mark some editors write
    }
    if (line == recordHeader()) {
        ++headers_;
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
    const auto [at, isNew] = found_.try_emplace(key, contents_.experiments.size());
    std::vector<RecordedExperiment>& experiments = contents_.experiments;
    if (isNew) {
        experiments.push_back({read->experiment, read->rungs, read->start, {}, 0, false});
    }
    RecordedExperiment& experiment = experiments[at->second];
    if (auto broken = breaksExperiment(experiment, *read, lineNumber_)) {
        error_ = std::move(broken);
        return;
    }
    ++experiment.trials;
    experiment.counts[read->column] += read->endsExperiment ? 0 : 1;
    experiment.ended = read->endsExperiment;
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
        for (int column = 1; column <= kLineCount; ++column) {
            group.counts[column] += experiment.counts[column];
        }
        group.trials += std::uint64_t(experiment.trials);
        group.newestFirst.push_back(std::uint32_t(i));
    }
    return groups;
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

RecordRead readRecordFile(const std::string& path,
                          const std::function<bool(std::uint64_t, std::uint64_t)>& progress) {
    // Not blocking: a FIFO with no writer, or a device, is answered at once.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        return fileError(errno);
    }
    struct stat status {};
    const bool regular = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    RecordReader reader;
    std::vector<char> buffer(regular ? kReadBytes : 0);
    std::uint64_t done = 0;
    std::optional<RecordError> failed;
    if (!regular) {
        failed = RecordError{0, "ふつうのファイルではありません（フォルダー、FIFO、装置など）。",
                             "not a regular file (a folder, a FIFO or a device)"};
    }
    while (!failed) {
        const ssize_t got = ::read(descriptor, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            failed = fileError(errno);
        } else if (got == 0 || !reader.read({buffer.data(), std::size_t(got)})) {
            break;
        } else if (done += std::uint64_t(got);
                   progress && !progress(done, std::uint64_t(status.st_size))) {
            failed = RecordError{0, "読むのをやめました。", "the reading was stopped"};
        }
    }
    ::close(descriptor);
    if (failed) {
        return *failed;
    }
    return reader.finish();
}

}  // namespace tanabashigo
