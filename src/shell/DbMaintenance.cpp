#include "shell/DbMaintenance.h"
#include "core/ErrorText.h"

#include "platform/db/Db.h"
#include "platform/ui/Ui.h"

#include <QHash>
#include <QSet>
#include <vector>

namespace dbmaint {

namespace {


bool IsTextType(int type)
{
    return type == db::adWChar || type == db::adVarWChar || type == db::adLongVarWChar;
}

// Codes compare as the database compares text: ASCII letters without regard to case.
QString CodeKey(const QString& code)
{
    QString key = code;
    for (QChar& c : key)
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + 32);
    return key;
}

// The keys 序號 of the detail rows of each code (by CodeKey); rows without a code belong to none.
QHash<QString, QVector<qint64>> DetailKeysByCode(db::Connection& conn, const QString& table, const QString& codeColumn)
{
    QHash<QString, QVector<qint64>> keys;
    db::Recordset rs = conn.ExecuteQuery(
        QStringLiteral("Select 序號, %1 From %2 Order By 序號").arg(codeColumn, table));
    while (!rs.Eof()) {
        const QVariant code = rs.value(1);
        if (!code.isNull())
            keys[CodeKey(code.toString())].push_back(rs.value(0).toLongLong());
        rs.MoveNext();
    }
    return keys;
}

// Writes the new code into every detail row whose key has one, in one pass over the table.
void MoveDetails(db::Connection& conn, const QString& table, const QString& codeColumn,
                 const QHash<qint64, QString>& newCodes)
{
    if (newCodes.isEmpty())
        return;
    db::Recordset rs;
    rs.Open(QStringLiteral("Select 序號, %1 From %2").arg(codeColumn, table), conn, db::adOpenDynamic,
            db::adLockOptimistic);
    while (!rs.Eof()) {
        const auto it = newCodes.constFind(rs.value(0).toLongLong());
        if (it != newCodes.constEnd()) {
            rs.setValue(1, *it);
            rs.Update();
        }
        rs.MoveNext();
    }
    rs.Close();
}

// A prefix no stored code begins with: temporary codes made from it meet no other code.
QString TemporaryPrefix(const QStringList& codes)
{
    for (int n = 0;; ++n) {
        const QString prefix = QStringLiteral("~%1-").arg(n);
        bool used = false;
        for (const QString& c : codes)
            if (CodeKey(c).startsWith(prefix)) {
                used = true;
                break;
            }
        if (!used)
            return prefix;
    }
}

}  // namespace

QStringList LoadTableList(db::Connection& conn)
{
    QStringList names;
    db::Recordset rs = conn.OpenSchemaTables();
    if (rs.RecordCount() != 0) {
        rs.MoveFirst();
        while (!rs.Eof()) {
            names << rs.value(QStringLiteral("TABLE_NAME")).toString();
            rs.MoveNext();
        }
    }
    rs.Close();
    return names;
}

bool AllowZeroLengthAll(db::Connection& conn, const QStringList& tables)
{
    for (const QString& table : tables) {
        QVector<db::ColumnInfo> columns;
        if (!ui::RunSteps({[&] { columns = conn.Columns(table); }}, [](const std::exception& e) { return ErrorText(e); }))
            return false;
        std::vector<ui::Step> steps;
        // A column that already accepts the empty text has nothing to change.
        for (const db::ColumnInfo& c : columns)
            if (IsTextType(c.adoType) && !c.allowZeroLength)
                steps.push_back([&conn, table, name = c.name] { conn.SetAllowZeroLength(table, name, true); });
        if (!ui::RunSteps(steps, [](const std::exception& e) { return ErrorText(e); }))
            return false;
    }
    return true;
}

void ClearTables(db::Connection& conn, const QStringList& tables)
{
    for (const QString& t : tables) {
        if (ui::MsgBox(QStringLiteral("清空") + t + QStringLiteral("嗎?"), ui::Buttons::YesNo) != ui::Answer::Yes)
            continue;
        try {
            conn.Execute(QStringLiteral("Delete ") + t + QStringLiteral(".*from[") + t + QStringLiteral("]"));
        } catch (const std::exception& e) {
            ui::MsgBox(ErrorText(e));
        }
    }
}

QString RenumberCode(int n)
{
    return QStringLiteral("2005") + QString::number(n).rightJustified(4, QLatin1Char('0'));
}

RenumberOutcome RenumberCustomerCodes(db::Connection& conn, const std::function<void(const QString&)>& showCode)
{
    RenumberOutcome out;
    bool began = false;
    try {
        conn.BeginTrans();
        began = true;
        db::Recordset rs;
        rs.Open(QStringLiteral("Select RV12.* From RV12 Order By RV12.RV120"), conn, db::adOpenDynamic,
                db::adLockOptimistic);
        const int codeField = rs.FieldIndex(QStringLiteral("RV120"));
        if (codeField < 0)
            throw db::DbError(3265, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));

        // Everything the renumbering needs, read before the first write.
        QStringList oldCodes;
        for (long i = 0; i < rs.RecordCount(); ++i)
            oldCodes << rs.valueAt(i, codeField).toString();
        auto contacts = DetailKeysByCode(conn, QStringLiteral("RV12A"), QStringLiteral("RV12A0"));
        auto deliveries = DetailKeysByCode(conn, QStringLiteral("RV12B"), QStringLiteral("RV12B0"));

        // Phase one: every customer gets a temporary code that no old or new code can equal.
        const QString prefix = TemporaryPrefix(oldCodes);
        long n = 0;
        if (rs.RecordCount() > 0)
            rs.MoveFirst();
        while (!rs.Eof()) {
            rs.setValue(codeField, prefix + QString::number(++n));
            rs.Update();
            rs.MoveNext();
        }

        // Phase two: the final codes; the details found above follow by their keys.
        QHash<qint64, QString> contactCodes, deliveryCodes;
        qint16 counter = 0;
        long row = 0;
        if (rs.RecordCount() > 0)
            rs.MoveFirst();
        while (!rs.Eof()) {
            const QString key = CodeKey(oldCodes[row++]);
            ui::DoEvents();
            if (counter == 32767)
                throw db::DbError(6, QStringLiteral("溢位"));
            const QString code = RenumberCode(++counter);
            if (showCode)
                showCode(code);
            ui::DoEvents();
            rs.setValue(codeField, code);
            rs.Update();
            // Taken out once moved: two customers without a code cannot both claim them.
            for (qint64 k : contacts.take(key))
                contactCodes.insert(k, code);
            for (qint64 k : deliveries.take(key))
                deliveryCodes.insert(k, code);
            rs.MoveNext();
        }
        rs.Close();
        MoveDetails(conn, QStringLiteral("RV12A"), QStringLiteral("RV12A0"), contactCodes);
        MoveDetails(conn, QStringLiteral("RV12B"), QStringLiteral("RV12B0"), deliveryCodes);
        conn.CommitTrans();
        out.ok = true;
        out.customers = counter;
    } catch (const std::exception& e) {
        if (began && conn.InTransaction())
            conn.RollbackTrans();
        out.error = ErrorText(e);
    }
    return out;
}

}  // namespace dbmaint
