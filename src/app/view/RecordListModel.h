#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QSet>
#include <QUuid>

#include <utility>

// A list model over records derived anew on every change (rows keyed by id).
class RecordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

protected:
    // Brings `rows` to `fresh` by the row-level changes between them (rows
    // removed, moved, inserted, changed), so views keep the delegates of the
    // rows that stay. With `allChanged` every row's data is announced (the
    // clock or the formats moved on), otherwise only that of changed records.
    // When most rows are new (another section) the model is reset instead.
    // Returns whether the number of rows changed.
    template<typename Row>
    bool replaceRows(QList<Row> &rows, QList<Row> fresh, bool allChanged)
    {
        const qsizetype oldCount = rows.size();
        QSet<QUuid> freshIds;
        freshIds.reserve(fresh.size());
        for (const Row &row : std::as_const(fresh))
            freshIds.insert(row.id);
        qsizetype staying = 0;
        for (const Row &row : std::as_const(rows))
            staying += freshIds.contains(row.id);
        if (staying * 2 < rows.size() || staying * 2 < fresh.size()) {
            beginResetModel();
            rows = std::move(fresh);
            endResetModel();
            return rows.size() != oldCount;
        }

        for (qsizetype i = rows.size() - 1; i >= 0; --i) {
            if (freshIds.contains(rows[i].id))
                continue;
            qsizetype first = i;
            while (first > 0 && !freshIds.contains(rows[first - 1].id))
                --first;
            beginRemoveRows({}, int(first), int(i));
            rows.remove(first, i - first + 1);
            endRemoveRows();
            i = first;
        }

        qsizetype firstChanged = -1;
        qsizetype lastChanged = -1;
        for (qsizetype i = 0; i < fresh.size(); ++i) {
            if (i >= rows.size() || rows[i].id != fresh[i].id) {
                qsizetype from = i + 1;
                while (from < rows.size() && rows[from].id != fresh[i].id)
                    ++from;
                if (from < rows.size()) {
                    beginMoveRows({}, int(from), int(from), {}, int(i));
                    rows.move(from, i);
                    endMoveRows();
                } else {
                    beginInsertRows({}, int(i), int(i));
                    rows.insert(i, fresh[i]);
                    endInsertRows();
                    continue;
                }
            }
            if (!allChanged && rows[i] == fresh[i])
                continue;
            rows[i] = fresh[i];
            if (firstChanged < 0)
                firstChanged = i;
            lastChanged = i;
        }
        if (firstChanged >= 0)
            emit dataChanged(index(int(firstChanged)), index(int(lastChanged)));
        return rows.size() != oldCount;
    }
};
