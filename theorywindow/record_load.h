#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "record_file.h"
#include "record_grouping.h"

namespace tanabashigo {

/// Reads one record file at a time on a worker thread, and groups its experiments there;
/// the GUI polls it, so it never waits for the disk however large the file.
class RecordLoad : public QObject {
    Q_OBJECT
public:
    explicit RecordLoad(QObject* parent = nullptr);
    /// Stops a reading still going and waits for it.
    ~RecordLoad() override;

    /// Starts reading the file at `path`, to be grouped unless it is `pooled` with others;
    /// false while a reading is going.
    bool start(const std::string& path, bool pooled = false);
    /// Asks the reading to stop; `finished` follows, with the file refused.
    void cancel() { cancel_ = true; }
    bool running() const { return worker_.joinable(); }
    bool cancelled() const { return cancel_; }

    /// What the reading found, and its experiments grouped; once, after `finished`.
    RecordRead takeRead() { return std::move(read_); }
    std::vector<LadderGroup> takeGroups() { return std::move(groups_); }

    /// Looks at the reading: reports progress, and the end once the worker has finished.
    void onPoll();

signals:
    void progressed(std::uint64_t done, std::uint64_t size);
    void finished();

private:
    QTimer poll_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> done_{false};
    std::atomic<std::uint64_t> bytesDone_{0};
    std::atomic<std::uint64_t> size_{0};
    RecordRead read_;
    std::vector<LadderGroup> groups_;
};

}  // namespace tanabashigo
