#include "record_line.h"

#include "plain_number.h"
#include "tally.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tanabashigo {

namespace {

/// The whole of `text` as a decimal number in min..max: digits only, at most nine of them.
std::optional<int> numberIn(std::string_view text, int min, int max) {
    const auto value = text.size() <= 9 ? plainNumber(text, static_cast<std::uint64_t>(min),
                                                      static_cast<std::uint64_t>(max))
                                        : std::nullopt;
    return value ? std::optional(static_cast<int>(*value)) : std::nullopt;
}

/// Days in `month` (1..12) of `year`, by the Gregorian calendar.
int daysIn(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

/// Whether `text` is a date and time to the second with Z or a ±hh:mm offset.
bool isTimestamp(std::string_view text) {
    // 2026-12-07T09:15:02+09:00: the characters that separate the numbers.
    static constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:dd";
    if (text.size() != kShape.size() + 1 && text.size() != kShape.size() + 6) {
        return false;
    }
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        if (kShape[i] != 'd' && text[i] != kShape[i]) {
            return false;
        }
    }
    const auto year = numberIn(text.substr(0, 4), 1, 9999);
    const auto month = numberIn(text.substr(5, 2), 1, 12);
    if (!year || !month || !numberIn(text.substr(8, 2), 1, daysIn(*year, *month)) ||
        !numberIn(text.substr(11, 2), 0, 23) || !numberIn(text.substr(14, 2), 0, 59) ||
        !numberIn(text.substr(17, 2), 0, 60)) {
        return false;
    }
    const std::string_view zone = text.substr(kShape.size());
    if (zone == "Z") {
        return true;
    }
    return zone.size() == 6 && (zone[0] == '+' || zone[0] == '-') && zone[3] == ':' &&
           numberIn(zone.substr(1, 2), 0, 14) && numberIn(zone.substr(4, 2), 0, 59);
}

constexpr std::string_view kLandingEvent = "landing";
constexpr std::string_view kEndEvent = "end";
constexpr std::string_view kPredictionEvent = "prediction";
constexpr int kFieldCount = 8;

}  // namespace

RecordLine landingLine(const LandingEntry& entry, std::string time, int experiment, int trial) {
    return {std::move(time), experiment,   trial,       entry.rungs,
            entry.start,     entry.column, entry.count, entry.endsExperiment};
}

LandingEntry entryOf(const RecordLine& line) {
    return {line.rungs, line.start, line.column, line.count, line.endsExperiment};
}

std::string_view withoutByteOrderMark(std::string_view text) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    return text.starts_with(kMark) ? text.substr(kMark.size()) : text;
}

std::string_view recordHeader() {
    return "time,experiment,trial,rungs,start,column,count,event";
}

std::string formatRecordLine(const RecordLine& line) {
    std::string text = line.time;
    for (const int value :
         {line.experiment, line.trial, line.rungs, line.start, line.column, line.count}) {
        text += ',';
        text += std::to_string(value);
    }
    text += ',';
    text += line.predicts ? kPredictionEvent : line.endsExperiment ? kEndEvent : kLandingEvent;
    text += '\n';
    return text;
}

std::string formatPrediction(const ClassPrediction& prediction, const RecordLine& first) {
    std::string text;
    for (int column = 1; column <= kLineCount; ++column) {
        if (prediction.hands[column] > 0) {
            text += formatRecordLine({first.time, first.experiment, 0, first.rungs, first.start,
                                      column, prediction.hands[column], false, true});
        }
    }
    return text;
}

std::optional<RecordLine> parseRecordLine(std::string_view text) {
    if (std::count(text.begin(), text.end(), ',') != kFieldCount - 1) {
        return std::nullopt;
    }
    std::array<std::string_view, kFieldCount> fields;
    for (std::size_t field = 0, from = 0; field < fields.size(); ++field) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        fields[field] = text.substr(from, comma - from);
        from = comma + 1;
    }
    if (!isTimestamp(fields[0])) {
        return std::nullopt;
    }
    const bool predicts = fields[7] == kPredictionEvent;
    const bool ends = fields[7] == kEndEvent;
    const auto experiment = numberIn(fields[1], 1, kMostRecordNumber);
    const auto trial = numberIn(fields[2], predicts ? 0 : 1, predicts ? 0 : kMostRecordNumber);
    const auto rungs = numberIn(fields[3], 0, kSlotCount);
    const auto start = numberIn(fields[4], 1, 10);
    const auto column = numberIn(fields[5], 1, 10);
    const auto count =
        numberIn(fields[6], 1, predicts ? ClassPrediction::kMostHands : Tally::kColumnCapacity);
    if (!experiment || !trial || !rungs || !start || !column || !count ||
        (!ends && !predicts && fields[7] != kLandingEvent) ||
        (ends && *count != Tally::kColumnCapacity)) {
        return std::nullopt;
    }
    return RecordLine{std::string(fields[0]),
                      *experiment,
                      *trial,
                      *rungs,
                      *start,
                      *column,
                      *count,
                      ends,
                      predicts};
}

}  // namespace tanabashigo
