// A class's record files as the page reads them: each file refused on its own with its line
// and reason, the good ones pooled by rung count and start line.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "js_values.h"
#include "record_grouping.h"

namespace tanabashigo {
namespace {

using emscripten::val;

class PageRecords {
public:
    /// Reads the text of file `name`; answers why it is refused, or null once it is kept.
    val add(const std::string& name, const std::string& text) {
        auto read = readRecordText(text);
        if (const RecordError* error = std::get_if<RecordError>(&read)) {
            val refusal = val::object();
            refusal.set("line", error->line);
            refusal.set("japanese", error->japanese);
            return refusal;
        }
        RecordContents& contents = std::get<RecordContents>(read);
        if (const std::string note = tornLinesNote(contents.tornLines).first; !note.empty()) {
            notes_.push_back(name + "：" + note);
        }
        files_.push_back({name, std::move(contents.experiments)});
        return val::null();
    }

    /// What was said of the files kept: lines cut short, skipped.
    val notes() const {
        return jsArray(notes_, [](const std::string& note) { return val(note); });
    }

    val ladders() const {
        return jsArray(poolByLadder(files_), [](const PooledLadder& ladder) {
            val object = val::object();
            object.set("rungs", ladder.total.comparison.rungs);
            object.set("start", ladder.total.comparison.start);
            object.set("counts", numberArray(ladder.total.comparison.counts));
            object.set("experiments", ladder.total.experiments);
            object.set("perFile", jsArray(ladder.files, [](const auto& file) {
                           val entry = val::object();
                           entry.set("name", file.first);
                           entry.set("counts", numberArray(file.second.comparison.counts));
                           entry.set("experiments", file.second.experiments);
                           return entry;
                       }));
            return object;
        });
    }

    void clear() {
        files_.clear();
        notes_.clear();
    }

private:
    std::vector<NamedRecord> files_;
    std::vector<std::string> notes_;
};

}  // namespace
}  // namespace tanabashigo

EMSCRIPTEN_BINDINGS(tanabashigo_records) {
    using namespace tanabashigo;
    emscripten::class_<PageRecords>("PageRecords")
        .constructor<>()
        .function("add", &PageRecords::add)
        .function("notes", &PageRecords::notes)
        .function("ladders", &PageRecords::ladders)
        .function("clear", &PageRecords::clear);
}
