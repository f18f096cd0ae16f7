#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "record_grouping.h"

namespace tanabashigo {

/// Experiments of `file` left out because they were counted already in `counted`.
struct Repeat {
    std::string file;
    std::string counted;
    int experiments = 0;
};

/// `files` with each experiment counted once, and where the others were.
struct CountedOnce {
    std::vector<NamedRecord> files;
    std::vector<Repeat> repeats;  ///< in the order of the files left out of
};

/// Whether `earlier` is `later` itself, or a copy of it taken while it ran: the same ladder
/// and the same lines as far as it goes (known for sure over its first eight lines, assumed
/// beyond them when the counts allow it).
bool isCopyOf(const RecordedExperiment& earlier, const RecordedExperiment& later);

/// The experiments of `files`, each counted as often as the one file that holds it most often:
/// one file's experiments are always apart, even when alike, while an experiment seen again in
/// another file (known by its ladder and the time, column and event of each line, not by the
/// file's name or bytes) is that file's own once more only where the other holds it too. Of an
/// experiment and a copy taken while it ran, the longer is kept.
CountedOnce countOnce(std::vector<NamedRecord> files);

/// What is said of `repeat`, in Japanese and in English.
std::pair<std::string, std::string> repeatNote(const Repeat& repeat);

/// What the teacher is told of a class's files: lines cut short, experiments counted once.
using PoolNote = std::pair<std::string, std::string>;  ///< Japanese, English

/// A class's record files, taken one after another as they are read, and pooled by ladder,
/// each experiment once. A refused file is left out on its own; the others still count.
class ClassPool {
public:
    /// Takes what reading file `name` found: its refusal, or nothing once it is kept.
    std::optional<RecordError> take(const std::string& name, RecordRead read);
    /// The kept files' experiments, each counted once, pooled by rung count, then start line,
    /// with what the teacher is told of them.
    std::pair<std::vector<PooledLadder>, std::vector<PoolNote>> pool() const;
    /// Forgets every file taken.
    void clear() { *this = {}; }

private:
    std::vector<NamedRecord> files_;
    std::vector<PoolNote> tornNotes_;
};

}  // namespace tanabashigo
