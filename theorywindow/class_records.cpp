#include "class_records.h"

#include <QFileInfo>

namespace tanabashigo {

QString ClassRecords::nextPath() const {
    return read_ < paths_.size() ? paths_[read_] : QString();
}

QString ClassRecords::nextName() const {
    return QFileInfo(nextPath()).fileName();
}

void ClassRecords::take(RecordRead read) {
    const QString name = nextName();
    ++read_;
    if (const auto error = pool_.take(name.toStdString(), std::move(read))) {
        const QString where =
            error->line > 0 ? QStringLiteral("（%1 行目）").arg(error->line) : QString();
        refusals_ << QStringLiteral("「%1」%2：%3")
                         .arg(name, where, QString::fromStdString(error->japanese));
    }
}

std::pair<std::vector<PooledLadder>, QStringList> ClassRecords::pooled() const {
    auto [ladders, notes] = pool_.pool();
    QStringList said;
    for (const PoolNote& note : notes) {
        said << QString::fromStdString(note.first);
    }
    return {std::move(ladders), said};
}

}  // namespace tanabashigo
