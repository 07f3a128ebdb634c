#include "platform/db/Probes.h"

#include "platform/text/VbText.h"

namespace db {

namespace {

constexpr long kBookmarkNotValid = 3159;

}  // namespace

bool HasCurrentRow(const Recordset& rs)
{
    // A record just deleted is no current record, though neither BOF nor EOF is true.
    return rs.IsOpen() && !rs.Bof() && !rs.Eof() && rs.AbsolutePosition() >= 1;
}

std::optional<Bookmark> TryBookmark(const Recordset& rs)
{
    if (!HasCurrentRow(rs))
        return std::nullopt;
    return rs.bookmark();
}

bool TryGoTo(Recordset& rs, Bookmark mark)
{
    if (!rs.IsOpen())
        return false;
    try {
        rs.setBookmark(mark);
    } catch (const DbError& e) {
        if (e.Number() != kBookmarkNotValid)
            throw;
        return false;
    }
    return true;
}

bool TryGoToRowOf(Recordset& rs, const Recordset& other)
{
    const std::optional<Bookmark> mark = TryBookmark(other);
    return mark && TryGoTo(rs, *mark);
}

bool TryMoveLast(Recordset& rs)
{
    if (!rs.IsOpen() || rs.RecordCount() == 0)
        return false;
    rs.MoveLast();
    return true;
}

Value ValueOrNull(const Recordset& rs, const QString& field)
{
    const int k = rs.FieldIndex(field);
    if (k < 0 || !HasCurrentRow(rs))
        return {};
    try {
        return rs.value(k);
    } catch (const DbError&) {
        return {};
    }
}

Value NzValue(const Field& field)
{
    try {
        return vb::NzValue(field.value());
    } catch (...) {
        return QString();
    }
}

QString Nz(const Field& field)
{
    return NzValue(field).toString();
}

bool RequeryQuietly(Recordset& rs)
{
    try {
        rs.Requery();
    } catch (const DbError&) {
        return false;
    }
    return true;
}

}  // namespace db
