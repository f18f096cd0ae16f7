// Large records: how long the first landing of an experiment takes to be written at the end of
// a 1 GiB record, and how the theory window fares while it opens that record and one of a
// million experiments: the time, the resident memory, and the longest gap between ticks of a
// 5 ms timer. The records are made in /tmp (or the folder given) when they are missing.
// Usage: bench_record_figures [FOLDER]
#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "event_loop_gaps.h"
#include "process_figures.h"
#include "record_line.h"
#include "record_list.h"
#include "record_writer.h"
#include "theory_dialogs.h"
#include "theory_window.h"

using namespace tanabashigo;

namespace {

/// Opens the path it was given; warns on stdout.
class FixedDialogs : public TheoryDialogs {
public:
    explicit FixedDialogs(std::string path) : path_(std::move(path)) {}
    QStringList openRecordFiles(QWidget*) override { return {QString::fromStdString(path_)}; }
    QString saveFile(QWidget*, const QString&, const QString&, const QStringList&) override {
        return {};
    }
    void warn(QWidget*, const QString&, const QString& text) override {
        std::printf("warning: %s\n", qPrintable(text));
    }

private:
    std::string path_;
};

/// Writes a record of `experiments` experiments of `trials` landings each, unless it exists.
void makeRecord(const std::string& path, long experiments, int trials) {
    if (std::ifstream(path)) {
        return;
    }
    std::ofstream out(path, std::ios::binary);
    out << recordHeader() << '\n';
    for (long experiment = 1; experiment <= experiments; ++experiment) {
        for (int trial = 1; trial <= trials; ++trial) {
            const int column = trial % kLineCount + 1;
            out << formatRecordLine({"2026-12-07T09:15:02+09:00", int(experiment), trial, 30, 3,
                                     column, (trial - 1) / kLineCount + 1, false});
        }
    }
}

/// Opens `path` in a theory window and prints the time, the memory and the longest gap.
void openInTheoryWindow(const std::string& path, const char* what) {
    FixedDialogs dialogs(path);
    TheoryWindow window(dialogs);
    window.show();
    QTest::qWait(1000);  // its first paint done, before anything is measured
    const long before = residentKiB();
    double longestGapMs = 0.0;
    QElapsedTimer sinceTick, clock;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestGapMs = std::max(longestGapMs, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    QSignalSpy loaded(&window.recordLoad(), &RecordLoad::finished);
    clock.start();
    sinceTick.start();
    tick.start();
    window.onOpenRecord();
    loaded.wait(600'000);
    QCoreApplication::processEvents();
    const double openSeconds = clock.nsecsElapsed() / 1e9;
    // The largest group opened in the list and scrolled to its end, as a teacher would.
    QElapsedTimer expanding;
    expanding.start();
    auto* view = window.findChild<QTreeView*>();
    view->expand(window.recordList().index(0, 0));
    view->scrollToBottom();
    QCoreApplication::processEvents();
    std::printf(
        "%s: opened in %.2f s, longest event-loop gap %.1f ms, %+ld KiB resident; "
        "its largest group listed in %.1f ms\n",
        what, openSeconds, longestGapMs, residentKiB() - before, expanding.nsecsElapsed() / 1e6);
}

/// Resident memory gained per opening of the same small record, over `times` openings after
/// a warm-up.
void reopenGrowth(const std::string& path, int times) {
    FixedDialogs dialogs(path);
    TheoryWindow window(dialogs);
    window.show();
    QSignalSpy loaded(&window.recordLoad(), &RecordLoad::finished);
    long before = 0;
    for (int n = -times / 4; n < times; ++n) {
        before = n == 0 ? residentKiB() : before;
        window.onOpenRecord();
        loaded.wait(10'000);
    }
    std::printf("記録を開く %d times: %.2f KiB more resident per opening\n", times,
                double(residentKiB() - before) / times);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string folder = argc > 1 ? argv[1] : "/tmp";
    const std::string large = folder + "/tanabashigo-1gib.csv";
    const std::string many = folder + "/tanabashigo-1m-experiments.csv";
    makeRecord(large, 100'000, 200);  // about 1 GiB
    makeRecord(many, 1'000'000, 1);
    const std::string small = folder + "/tanabashigo-small.csv";
    makeRecord(small, 3, 20);
    reopenGrowth(small, 400);

    QElapsedTimer clock;
    clock.start();
    auto writer = std::get<0>(RecordWriter::open(large));
    std::printf("a 1 GiB record checked line by line when the writer opens it: %.2f s\n",
                clock.nsecsElapsed() / 1e9);
    clock.restart();
    const bool written = !writer->recordLanding({30, 3, 4, 1, false});
    std::printf("first landing at the end of a 1 GiB record: %s in %.2f ms\n",
                written ? "written" : "NOT written", clock.nsecsElapsed() / 1e6);

    std::printf("idle, 2 s: longest event-loop gap %.1f ms\n", idleGapMs(2000));
    openInTheoryWindow(large, "1 GiB record");
    openInTheoryWindow(many, "1,000,000 experiments");
    return 0;
}
