// A class's record files as the page reads them: each file refused on its own with its line
// and reason, the good ones pooled by rung count and start line.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "class_pool.h"
#include "js_values.h"
#include "record_appender.h"

namespace tanabashigo {
namespace {

using emscripten::val;

/// A refusal as the page shows it: the line (0 for the record as a whole) and the reason.
val refusalOf(const RecordError& error) {
    val refusal = val::object();
    refusal.set("line", error.line);
    refusal.set("japanese", error.japanese);
    return refusal;
}

class PageRecords {
public:
    /// Starts reading file `name`, piece by piece.
    void begin(const std::string& name) {
        name_ = name;
        reader_ = {};
    }

    /// Reads the next piece of the file's bytes (a Uint8Array); false once it is refused.
    bool read(const val& bytes) {
        std::string piece(bytes["length"].as<std::size_t>(), '\0');
        val(emscripten::typed_memory_view(piece.size(),
                                          reinterpret_cast<unsigned char*>(piece.data())))
            .call<void>("set", bytes);
        return reader_.read(piece);
    }

    /// The file has ended: answers why it is refused, or null once it is kept.
    val finish() {
        const auto error = pool_.take(name_, reader_.finish());
        reader_ = {};
        return error ? refusalOf(*error) : val::null();
    }

    /// The kept files pooled by ladder, each experiment once: {ladders, notes}, the notes
    /// saying what the teacher is told (lines cut short, experiments seen twice).
    val pooled() const {
        const auto [ladders, notes] = pool_.pool();
        val pooled = val::object();
        pooled.set("notes", jsArray(notes, [](const PoolNote& note) { return val(note.first); }));
        pooled.set(
            "ladders", jsArray(ladders, [](const PooledLadder& ladder) {
                val object = val::object();
                object.set("rungs", ladder.total.comparison.rungs);
                object.set("start", ladder.total.comparison.start);
                object.set("counts", numberArray(ladder.total.comparison.counts));
                object.set("experiments", ladder.total.experiments);
                object.set("prediction", numberArray(ladder.total.comparison.prediction.hands));
                const std::vector<std::uint8_t>& order = ladder.total.comparison.order;
                object.set("order",
                           val::global("Uint8Array")
                               .new_(emscripten::typed_memory_view(order.size(), order.data())));
                object.set("perFile", jsArray(ladder.files, [](const auto& file) {
                               val entry = val::object();
                               entry.set("name", file.first);
                               entry.set("counts", numberArray(file.second.comparison.counts));
                               entry.set("experiments", file.second.experiments);
                               return entry;
                           }));
                return object;
            }));
        return pooled;
    }

    void clear() { pool_.clear(); }

private:
    std::string name_;
    RecordReader reader_;
    ClassPool pool_;
};

/// The page's record kept by the same rules as the desktop's: the stored text is read by the
/// reader, and each landing is numbered by the appender.
class PageRecordKeeper {
public:
    /// The record's whole text as the store now holds it; why it is refused, or null.
    val take(const std::string& text) {
        reader_ = {};
        reader_.read(text);
        return reader_.error() ? refusalOf(*reader_.error()) : val::null();
    }
    /// The tally starts empty: the landings that follow belong to a new experiment.
    void startExperiment() { appender_.startExperiment(); }
    /// The class's prediction for the experiment (the hands of columns 1..10), written ahead
    /// of its first landing.
    void predict(const val& hands) {
        ClassPrediction prediction;
        for (int column = 1; column <= kLineCount; ++column) {
            prediction.hands[column] = hands[column - 1].as<int>();
        }
        appender_.predict(prediction);
    }
    /// What to append to the record taken last to keep a landing at `time`: {text}, or the
    /// refusal. `moved`: the stored record is another than the one this page wrote to.
    val append(int rungs, int start, int column, int count, bool ends, const std::string& time,
               bool moved) {
        auto appended = appender_.append(reader_, {rungs, start, column, count, ends}, time, moved);
        if (const RecordError* error = std::get_if<RecordError>(&appended)) {
            return refusalOf(*error);
        }
        pending_ = std::get<RecordAppend>(std::move(appended));
        val result = val::object();
        result.set("text", pending_.text);
        return result;
    }
    /// The text append() answered is stored now.
    void appended() {
        reader_.read(pending_.text);
        appender_.appended(std::move(pending_));
        pending_ = {};
    }
    /// Remembers which experiment the landings continue, for restore().
    void save() { saved_ = appender_; }
    /// Back to the experiment save() remembered: what was appended since was not stored.
    void restore() { appender_ = saved_; }

private:
    RecordReader reader_;
    RecordAppender appender_;
    RecordAppender saved_;
    RecordAppend pending_;
};

}  // namespace
}  // namespace tanabashigo

EMSCRIPTEN_BINDINGS(tanabashigo_records) {
    using namespace tanabashigo;
    emscripten::class_<PageRecords>("PageRecords")
        .constructor<>()
        .function("begin", &PageRecords::begin)
        .function("read", &PageRecords::read)
        .function("finish", &PageRecords::finish)
        .function("pooled", &PageRecords::pooled)
        .function("clear", &PageRecords::clear);
    emscripten::class_<PageRecordKeeper>("PageRecordKeeper")
        .constructor<>()
        .function("take", &PageRecordKeeper::take)
        .function("startExperiment", &PageRecordKeeper::startExperiment)
        .function("predict", &PageRecordKeeper::predict)
        .function("append", &PageRecordKeeper::append)
        .function("appended", &PageRecordKeeper::appended)
        .function("save", &PageRecordKeeper::save)
        .function("restore", &PageRecordKeeper::restore);
}
