#include "landing_recorder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "record_line.h"

namespace tanabashigo {
namespace {

/// The highest experiment number among the well-formed lines of `text`; 0 when none.
int highestExperiment(std::string_view text) {
    int highest = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        if (const auto line = parseRecordLine(text.substr(0, end))) {
            highest = std::max(highest, line->experiment);
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return highest;
}

}  // namespace

std::unique_ptr<AppendFile> AppendFile::open(const std::string& path) {
    constexpr int kFlags = O_APPEND | O_CREAT | O_CLOEXEC;
    int descriptor = ::open(path.c_str(), O_RDWR | kFlags, 0644);
    if (descriptor < 0 && errno == EACCES) {
        descriptor = ::open(path.c_str(), O_WRONLY | kFlags, 0644);
    }
    if (descriptor < 0) {
        return nullptr;
    }
    return std::unique_ptr<AppendFile>(new AppendFile(descriptor));
}

AppendFile::~AppendFile() {
    ::close(descriptor_);
}

std::string AppendFile::existingText() {
    std::string text;
    char buffer[8192];
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(descriptor_, buffer, sizeof buffer, offset);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return text;
        }
        text.append(buffer, std::size_t(got));
        offset += got;
    }
}

bool AppendFile::append(std::string_view text) {
    ssize_t written;
    do {
        written = ::write(descriptor_, text.data(), text.size());
    } while (written < 0 && errno == EINTR);
    return written == ssize_t(text.size()) && ::fsync(descriptor_) == 0;
}

CsvLandingRecorder::CsvLandingRecorder(RecordSink& sink, std::function<std::string()> now)
    : sink_(sink), now_(std::move(now)) {}

void CsvLandingRecorder::recordLanding(const RecordedLanding& landing) {
    std::string text;
    if (experiment_ == 0) {
        const std::string existing = sink_.existingText();
        experiment_ = highestExperiment(existing) + 1;
        trial_ = 0;
        if (existing.empty()) {
            text.append(recordHeader()).push_back('\n');
        } else if (existing.back() != '\n') {
            text.push_back('\n');
        }
    }
    text += formatRecordLine({now_(), experiment_, ++trial_, landing.rungs, landing.start,
                              landing.column, landing.count, landing.endsExperiment});
    if (!sink_.append(text) && !failureReported_) {
        failureReported_ = true;
        std::fputs(
            "たなばしご: 記録ファイルに書き込めませんでした。\n"
            "tanabashigo: could not write to the record file.\n",
            stderr);
    }
}

std::string localTimeNow() {
    // Always with a ±hh:mm offset, +00:00 too, so the reader sees the local clock's zone.
    const QDateTime local = QDateTime::currentDateTime();
    const int offset = local.offsetFromUtc();
    char zone[8];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+',
                  std::abs(offset) / 3600 % 100, std::abs(offset) / 60 % 60);
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toStdString() + zone;
}

}  // namespace tanabashigo
