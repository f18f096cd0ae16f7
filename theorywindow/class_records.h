#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "class_pool.h"

namespace tanabashigo {

/// A class's record files, read one after another and pooled by ladder, each experiment once.
/// A file that cannot be read is refused on its own, with its name, line and reason; the
/// others still count.
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

    /// The good files' experiments pooled by rung count, then start line, and what the
    /// teacher is told of them (lines cut short, experiments seen twice).
    std::pair<std::vector<PooledLadder>, QStringList> pooled() const;
    /// One line for each refused file: its name, the line when there is one, and why.
    const QStringList& refusals() const { return refusals_; }

private:
    QStringList paths_;
    qsizetype read_ = 0;
    ClassPool pool_;
    QStringList refusals_;
};

}  // namespace tanabashigo
