#pragma once

#include <QAbstractListModel>
#include <QList>

#include <algorithm>
#include <utility>

// A list model over records derived anew on every change (rows keyed by id).
class RecordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

protected:
    // When the same records come back in the same order only their data
    // change, so views keep their delegates (countdowns tick without rows
    // being rebuilt); otherwise the model is reset. Returns whether it was.
    template<typename Row>
    bool replaceRows(QList<Row> &rows, QList<Row> fresh)
    {
        const bool sameRecords = fresh.size() == rows.size()
            && std::equal(fresh.cbegin(), fresh.cend(), rows.cbegin(),
                          [](const Row &a, const Row &b) { return a.id == b.id; });
        if (sameRecords) {
            rows = std::move(fresh);
            if (!rows.isEmpty())
                emit dataChanged(index(0), index(int(rows.size()) - 1));
            return false;
        }
        beginResetModel();
        rows = std::move(fresh);
        endResetModel();
        return true;
    }
};
