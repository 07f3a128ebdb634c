// A table model over a recordset (or one of its clones): the rows in the cursor's order,
// one column per field; it follows requeries, edits, additions and deletions.
#pragma once

#include "platform/db/Db.h"

#include <QAbstractTableModel>
#include <QTimer>
#include <QHash>

namespace dbmodel {

// How a grid shows a value: Null as "", dates as "yyyy/mm/dd" (with the time when it has one).
QString DisplayText(const QVariant& v);

class RecordsetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordsetModel(QObject* parent = nullptr);
    RecordsetModel(const db::Recordset& rs, QObject* parent = nullptr);
    ~RecordsetModel() override;

    // Shows another recordset (a handle on its cursor is kept).
    void setRecordset(const db::Recordset& rs);
    db::Recordset recordset() const { return rs_; }

    // The cursor's current row (0-based), -1 when it stands on no row.
    int currentRow() const;
    // Moves the cursor to a row (0-based); the bound boxes follow.
    void moveTo(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Column captions other than the field names.
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // The cursor moved (by code, a find, a bookmark or this model).
    void currentRowChanged(int row);

private:
    void attach();
    void detach();
    void onEvent(db::RecordsetEvent e, int field);
    // While the program is idle, the rest of a list read on demand is read a block at a time;
    // a list of more than kReadAheadUpTo rows is only ever read where it is used (holding a
    // million rows would cost seconds of work and hundreds of megabytes nobody asked for).
    void readAhead();
    // Puts the next block read off until the list has been left alone for kQuietMs.
    void holdReadAhead();
    static constexpr int kQuietMs = 300;
    static constexpr long kReadAheadUpTo = 200000;

    QTimer* readAheadTimer_ = nullptr;

    db::Recordset rs_;
    int listener_ = 0;
    QHash<int, QString> captions_;
    int shownRows_ = 0;
    bool removing_ = false;  // between a RowRemoving and its RowRemoved
};

}  // namespace dbmodel
