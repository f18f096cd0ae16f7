#include "class_records.h"

#include <QFileInfo>
#include <variant>

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
    if (const RecordError* error = std::get_if<RecordError>(&read)) {
        const QString where =
            error->line > 0 ? QStringLiteral("（%1 行目）").arg(error->line) : QString();
        refusals_ << QStringLiteral("「%1」%2：%3")
                         .arg(name, where, QString::fromStdString(error->japanese));
        return;
    }
    auto& [experiments, tornLines] = std::get<RecordContents>(read);
    if (const std::string note = tornLinesNote(tornLines).first; !note.empty()) {
        notes_ << QStringLiteral("「%1」：%2").arg(name, QString::fromStdString(note));
    }
    files_.push_back({name.toStdString(), std::move(experiments)});
}

}  // namespace tanabashigo
