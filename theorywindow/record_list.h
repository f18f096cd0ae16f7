#pragma once

#include <QAbstractItemModel>
#include <optional>
#include <vector>

#include "record_grouping.h"

namespace tanabashigo {

/// A record's experiments to choose from, as a tree: a row for each rung count and start line
/// (its experiments together), the group of the newest experiment first, and under it its
/// experiments, newest first. Rows are described only when shown, and a group's experiments
/// are listed a page at a time as the list is scrolled, so a million of them cost no more
/// than their counts. A class's files pooled are listed instead as one row for each ladder.
class RecordList : public QAbstractItemModel {
public:
    using QAbstractItemModel::QAbstractItemModel;

    /// Lists `experiments`, grouped as `groups`.
    void setRecord(std::vector<RecordedExperiment> experiments, std::vector<LadderGroup> groups);
    /// Lists the class total of each ladder in `pooled`, one row each, in its order.
    void setPooled(std::vector<PooledLadder> pooled);
    /// The pooled ladder of the row at `index`; null for no row or a single record's row.
    const PooledLadder* pooledAt(const QModelIndex& index) const;
    /// What the row at `index` sets beside the law; nothing for no row.
    std::optional<RecordChoice> choiceAt(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& = {}) const override { return 1; }
    QVariant data(const QModelIndex& index, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    /// How many experiments a page lists.
    static constexpr int kPage = 500;

private:
    std::vector<RecordedExperiment> experiments_;
    std::vector<LadderGroup> groups_;
    std::vector<int> listed_;  ///< per group, how many of its experiments are listed
    std::vector<PooledLadder> pooled_;
};

}  // namespace tanabashigo
