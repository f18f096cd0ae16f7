// libFuzzer target for the record file reader: no crash; what it accepts adds up; CRLF line
// ends and a final line end change nothing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <string_view>

#include "record_reader.h"

namespace {

using Read = tanabashigo::RecordRead;

/// Stops the run with a message naming the broken property.
[[noreturn]] void fail(const char* what, std::string_view input) {
    std::fprintf(stderr, "record file reader: %s for input of %zu bytes\n", what, input.size());
    std::abort();
}

/// Whether two readings agree: the same experiments, or a refusal at the same line.
bool sameReading(const Read& a, const Read& b) {
    if (a.index() != b.index()) {
        return false;
    }
    if (const auto* error = std::get_if<tanabashigo::RecordError>(&a)) {
        return error->line == std::get<tanabashigo::RecordError>(b).line;
    }
    const auto& left = std::get<0>(a).experiments;
    const auto& right = std::get<0>(b).experiments;
    if (left.size() != right.size() || std::get<0>(a).tornLines != std::get<0>(b).tornLines) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (left[i].counts != right[i].counts || left[i].trials != right[i].trials ||
            left[i].ended != right[i].ended || left[i].prediction != right[i].prediction) {
            return false;
        }
    }
    return true;
}

/// Every experiment read holds its landings: each line a landing or the end, no column over
/// twenty, and a rung count and start line in range.
bool addsUp(const std::vector<tanabashigo::RecordedExperiment>& experiments) {
    for (const auto& e : experiments) {
        const std::uint64_t landings =
            std::accumulate(e.counts.begin(), e.counts.end(), std::uint64_t{0});
        for (const std::uint64_t count : e.counts) {
            if (count > 20) {
                return false;
            }
        }
        if (e.trials < 1 || landings + (e.endColumn != 0 ? 1 : 0) != std::uint64_t(e.trials) ||
            e.rungs < 0 || e.rungs > 225 || e.start < 1 || e.start > 10 || e.experiment < 1) {
            return false;
        }
    }
    return !experiments.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const Read read = tanabashigo::readRecordText(input);
    if (const auto* contents = std::get_if<0>(&read); contents && !addsUp(contents->experiments)) {
        fail("an accepted file does not add up", input);
    }
    if (input.find('\r') != std::string_view::npos) {
        return 0;
    }
    std::string crlf;
    for (const char c : input) {
        crlf += c == '\n' ? "\r\n" : std::string(1, c);
    }
    if (!sameReading(tanabashigo::readRecordText(crlf), read)) {
        fail("CRLF line ends changed the reading", input);
    }
    if (read.index() == 0 && !input.ends_with('\n') &&
        !sameReading(tanabashigo::readRecordText(std::string(input) + '\n'), read)) {
        fail("a final line end changed the reading", input);
    }
    return 0;
}
