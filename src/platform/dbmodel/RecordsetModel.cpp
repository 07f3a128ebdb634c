#include "platform/dbmodel/RecordsetModel.h"

namespace dbmodel {

QString DisplayText(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime d = v.toDateTime();
        return d.time() == QTime(0, 0) ? d.toString(QStringLiteral("yyyy/MM/dd")) : d.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    }
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy/MM/dd"));
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.toString();
    }
}

RecordsetModel::RecordsetModel(QObject* parent) : QAbstractTableModel(parent) {}

RecordsetModel::RecordsetModel(const db::Recordset& rs, QObject* parent) : QAbstractTableModel(parent), rs_(rs)
{
    attach();
    shownRows_ = rowCount();
}

RecordsetModel::~RecordsetModel() { detach(); }

void RecordsetModel::attach()
{
    listener_ = rs_.Subscribe([this](db::RecordsetEvent e, int field) { onEvent(e, field); });
    readAhead();
}

void RecordsetModel::readAhead()
{
    if (!rs_.IsOpen() || rs_.RecordCount() > kReadAheadUpTo)
        return;
    if (!readAheadTimer_) {
        readAheadTimer_ = new QTimer(this);
        readAheadTimer_->setSingleShot(true);
        connect(readAheadTimer_, &QTimer::timeout, this, [this] {
            try {
                // About ten milliseconds a block, once the list has been left alone a moment
                // (kQuietMs): the program stays quick to answer meanwhile.
                // When a block reads nothing (a transaction is open), it waits a moment.
                const long before = rs_.IsOpen() ? rs_.RowsToRead() : 0;
                if (rs_.IsOpen() && rs_.ReadAhead(2000))
                    readAheadTimer_->start(rs_.RowsToRead() < before ? 0 : 250);
            } catch (const db::DbError&) {
                // The file is busy or gone: rows are read when they are used instead.
            }
        });
    }
    readAheadTimer_->start(kQuietMs);
}

void RecordsetModel::holdReadAhead()
{
    if (readAheadTimer_ && readAheadTimer_->isActive())
        readAheadTimer_->start(kQuietMs);
}

void RecordsetModel::detach()
{
    if (listener_)
        rs_.Unsubscribe(listener_);
    listener_ = 0;
}

void RecordsetModel::setRecordset(const db::Recordset& rs)
{
    beginResetModel();
    detach();
    rs_ = rs;
    attach();
    shownRows_ = rowCount();
    endResetModel();
    emit currentRowChanged(currentRow());
}

int RecordsetModel::currentRow() const
{
    if (!rs_.IsOpen())
        return -1;
    const long p = rs_.AbsolutePosition();
    return p > 0 ? int(p - 1) : -1;
}

void RecordsetModel::moveTo(int row)
{
    if (rs_.IsOpen() && row >= 0 && row < rowCount() && row != currentRow())
        rs_.SetAbsolutePosition(row + 1);
}

int RecordsetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !rs_.IsOpen() ? 0 : int(rs_.RecordCount());
}

int RecordsetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rs_.FieldCount();
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !rs_.IsOpen() || index.row() >= rowCount())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    try {
        const QVariant v = rs_.valueAt(index.row(), index.column());
        return role == Qt::DisplayRole ? QVariant(DisplayText(v)) : v;
    } catch (const db::DbError&) {
        return {};
    }
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const auto it = captions_.constFind(section);
    if (it != captions_.constEnd())
        return it.value();
    return section < rs_.FieldCount() ? QVariant(rs_.FieldName(section)) : QVariant();
}

bool RecordsetModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role)
{
    if (orientation != Qt::Horizontal || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    captions_.insert(section, value.toString());
    emit headerDataChanged(orientation, section, section);
    return true;
}

void RecordsetModel::onEvent(db::RecordsetEvent e, int field)
{
    // The list is in use: a move, a save or a delete is answered without a block read beside it.
    holdReadAhead();
    switch (e) {
    case db::RecordsetEvent::Moved:
        emit currentRowChanged(currentRow());
        break;
    case db::RecordsetEvent::FieldChanged: {
        const int row = currentRow();
        if (row >= 0) {
            const int first = field < 0 ? 0 : field;
            const int last = field < 0 ? columnCount() - 1 : field;
            emit dataChanged(index(row, first), index(row, last));
        }
        break;
    }
    case db::RecordsetEvent::RowRemoving:
        // One row leaves (a delete): the view drops just it and keeps its place and scroll,
        // which costs the same at a thousand rows as at a million.
        removing_ = field >= 0 && field < shownRows_ && rowCount() == shownRows_;
        if (removing_)
            beginRemoveRows({}, field, field);
        break;
    case db::RecordsetEvent::RowRemoved:
        if (removing_) {
            removing_ = false;
            shownRows_ = rowCount();
            endRemoveRows();
            emit currentRowChanged(currentRow());
            break;
        }
        [[fallthrough]];
    case db::RecordsetEvent::RowsChanged:
        if (rowCount() == shownRows_) {
            // The same rows, some changed: keep the view's selection and scroll.
            if (shownRows_ > 0)
                emit dataChanged(index(0, 0), index(shownRows_ - 1, columnCount() - 1));
            break;
        }
        [[fallthrough]];
    case db::RecordsetEvent::Reset:
    case db::RecordsetEvent::Closed:
        beginResetModel();
        shownRows_ = rowCount();
        endResetModel();
        emit currentRowChanged(currentRow());
        if (e == db::RecordsetEvent::Reset)
            readAhead();  // a Requery reads on demand again
        break;
    }
}

}  // namespace dbmodel
