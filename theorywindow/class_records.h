#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "record_grouping.h"

namespace tanabashigo {

/// A class's record files, read one after another and pooled by ladder. A file that cannot
/// be read is refused on its own, with its name, line and reason; the others still count.
class ClassRecords {
public:
    /// The files at `paths`, none read yet.
    explicit ClassRecords(QStringList paths = {}) : paths_(std::move(paths)) {}

    /// The path of the next file to read; empty once every file is read.
    QString nextPath() const;
    /// The next file's name, as the teacher sees it.
    QString nextName() const;
    /// Takes what reading the next file found, and moves on to the one after it.
    void take(RecordRead read);

    /// The good files' experiments pooled by rung count, then start line.
    std::vector<PooledLadder> pooled() const { return poolByLadder(files_); }
    /// One line for each refused file: its name, the line when there is one, and why.
    const QStringList& refusals() const { return refusals_; }
    /// One line for each good file with lines cut short.
    const QStringList& notes() const { return notes_; }

private:
    QStringList paths_;
    qsizetype read_ = 0;
    std::vector<NamedRecord> files_;
    QStringList refusals_;
    QStringList notes_;
};

}  // namespace tanabashigo
