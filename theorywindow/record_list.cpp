#include "record_list.h"

#include <algorithm>

namespace tanabashigo {

// A group's row has internal id 0; an experiment's row the number of its group's row plus 1.

void RecordList::setRecord(std::vector<RecordedExperiment> experiments,
                           std::vector<LadderGroup> groups) {
    beginResetModel();
    experiments_ = std::move(experiments);
    groups_ = std::move(groups);
    pooled_.clear();
    listed_.clear();
    for (const LadderGroup& group : groups_) {
        listed_.push_back(std::min<int>(kPage, int(group.newestFirst.size())));
    }
    endResetModel();
}

void RecordList::setPooled(std::vector<PooledLadder> pooled) {
    beginResetModel();
    experiments_.clear();
    groups_.clear();
    pooled_ = std::move(pooled);
    listed_.assign(pooled_.size(), 0);
    endResetModel();
}

const PooledLadder* RecordList::pooledAt(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() != 0 || pooled_.empty()) {
        return nullptr;
    }
    return &pooled_[static_cast<std::size_t>(index.row())];
}

std::optional<RecordChoice> RecordList::choiceAt(const QModelIndex& index) const {
    if (!index.isValid()) {
        return std::nullopt;
    }
    if (const PooledLadder* ladder = pooledAt(index)) {
        return ladder->total;
    }
    if (index.internalId() == 0) {
        return groupChoice(groups_[static_cast<std::size_t>(index.row())], experiments_);
    }
    const LadderGroup& group = groups_[index.internalId() - 1];
    return experimentChoice(experiments_[group.newestFirst[static_cast<std::size_t>(index.row())]]);
}

QModelIndex RecordList::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0 || row >= rowCount(parent)) {
        return {};
    }
    return createIndex(row, 0, parent.isValid() ? quintptr(parent.row()) + 1 : quintptr{0});
}

QModelIndex RecordList::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == 0) {
        return {};
    }
    return createIndex(int(child.internalId() - 1), 0, quintptr{0});
}

int RecordList::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return int(pooled_.empty() ? groups_.size() : pooled_.size());
    }
    if (parent.internalId() != 0) {
        return 0;
    }
    return listed_[static_cast<std::size_t>(parent.row())];
}

bool RecordList::canFetchMore(const QModelIndex& parent) const {
    const auto group = static_cast<std::size_t>(parent.row());
    return parent.isValid() && parent.internalId() == 0 && group < groups_.size() &&
           std::size_t(listed_[group]) < groups_[group].newestFirst.size();
}

void RecordList::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) {
        return;
    }
    int& listed = listed_[static_cast<std::size_t>(parent.row())];
    const int more = std::min<int>(
        kPage, int(groups_[static_cast<std::size_t>(parent.row())].newestFirst.size()) - listed);
    beginInsertRows(parent, listed, listed + more - 1);
    listed += more;
    endInsertRows();
}

QVariant RecordList::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) {
        return {};
    }
    const std::optional<RecordChoice> choice = choiceAt(index);
    return choice ? QVariant(QString::fromStdString(choice->label)) : QVariant();
}

}  // namespace tanabashigo
