#include "shell/ClearAllTables.h"
#include "core/ErrorText.h"

#include "platform/db/Db.h"
#include "platform/ui/Ui.h"

bool ClearAllTables(db::Connection& conn)
{
    try {
        const QStringList tables = conn.TableNames();
        conn.BeginTrans();
        try {
            for (const QString& table : tables)
                conn.Execute(QStringLiteral("DELETE FROM [%1]").arg(table));
            conn.CommitTrans();
        } catch (...) {
            if (conn.InTransaction())
                conn.RollbackTrans();
            throw;
        }
    } catch (const db::DbError& e) {
        ui::MsgBox(ErrorDescription(e) + QStringLiteral("\r\n錯誤代號: ") + QString::number(e.Number()));
        return false;
    } catch (const std::exception& e) {
        ui::MsgBox(ErrorText(e));
        return false;
    }
    ui::MsgBox(QStringLiteral("資料已經清空,請結束程式重新進入系統"));
    ui::EndProcess(0);
    return true;
}
