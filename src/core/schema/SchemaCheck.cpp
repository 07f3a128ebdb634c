#include "core/schema/SchemaCheck.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "core/numbering/Numbering.h"
#include "core/schema/SchemaToolkit.h"
#include "platform/ui/Ui.h"

#include <exception>
#include <utility>
#include <vector>

namespace {

const QString kNotUpgraded = QStringLiteral(",資料庫並未升級");
const QString kCloseOthers = QStringLiteral("檢查是否所有使用者都已退出.包括螢幕右下角的快速搜尋程式");

void Say(const SchemaProgress& progress, const QString& text)
{
    if (progress)
        progress(text);
    ui::DoEvents();
}


// The common end of a failed pass: undo what this pass sent, then tell the user.
void Fail(const QString& description, const QString& tail)
{
    if (gConn.InTransaction()) {
        try {
            gConn.RollbackTrans();
        } catch (...) {
            // The file refuses even the rollback: the pass's own error below is what the user needs.
        }
    }
    ui::MsgBox(description + tail, ui::Buttons::OK);
}

// Runs one pass body; any error ends the pass through Fail.  Returns true when it completed.
template <typename Body>
bool Guarded(const Body& body, const QString& tail)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        Fail(ErrorText(e), tail);
    } catch (...) {
        Fail(QString(), tail);
    }
    return false;
}

void AddWhenMissing(db::Connection& c, const QString& table, const QString& column, const QString& sql)
{
    if (!FieldExists(table, column, c))
        c.Execute(sql);
}

// The detail tables are read a customer (or vendor) at a time and written back by their key:
// without these indexes every move through a long list scans the whole detail table.
void AddIndexWhenMissing(db::Connection& c, const QString& table, const QString& column)
{
    const QString name = table + QStringLiteral("_") + column;
    if (!c.IndexExists(name))
        c.Execute(QStringLiteral("CREATE INDEX ") + name + QStringLiteral(" ON ") + table + QStringLiteral(" (") + column +
                  QStringLiteral(")"));
}

// The columns a window looks records up by on every action - a duplicate check when a box is
// left, a pick by name, the next number on an add - so that one record's work reads one record.
// A text column's index keeps its case-blind comparison: "=" on it still ignores letter case.
void AddLookupIndexes(db::Connection& c)
{
    static const std::pair<const char*, const char*> kLookups[] = {
        {"RV12", "RV121"},    // customer short name: duplicate check, picks for labels and mail lists
        {"RV12", "類別"},     // customer category: the window's category list, on open
        {"RV11", "RV110"},    // vendor category: the category's next vendor number
        {"RV11", "RV111"},    // vendor number: duplicate check
        {"RV11", "RV112"},    // vendor short name: picks for labels and mail lists
        {"RV17A", "RV17A0"},  // employee department: the department's list and next number
        {"RV17A", "RV17A1"},  // employee number: duplicate check
        {"RV18A", "RV18A1"},  // personal-contact number: duplicate check
        {"RV18A", "RV18A2"},  // personal-contact name: the window's list opens down it
        {"RV18A", "類別"},    // personal-contact category: the window's category list, on open and after a save
    };
    for (const auto& [table, column] : kLookups)
        AddIndexWhenMissing(c, QString::fromUtf8(table), QString::fromUtf8(column));
    // Code columns numbered on every add: the greatest code is one step down this index.
    static const std::pair<const char*, const char*> kNumbered[] = {
        {"RV12", "RV120"}, {"RV18A", "RV18A1"}, {"RV17", "RV170"}, {"RV1", "RV10"}};
    for (const auto& [table, column] : kNumbered) {
        const QString t = QString::fromUtf8(table), col = QString::fromUtf8(column);
        if (!c.IndexExists(CodeOrderIndexName(t, col)))
            c.Execute(CodeOrderIndexSql(t, col));
    }
}

}  // namespace

void checkfilever(const SchemaProgress& progress)
{
    db::Connection& c = gConn;
    const QString tail = kNotUpgraded + gCrLf + kCloseOthers + gCrLf + QStringLiteral("位置: ") +
                         QStringLiteral("checkfilever");

    const bool done = Guarded(
        [&] {
            bool tableFlag = false;
            bool auditFlag = false;

            Say(progress, QStringLiteral("檢查資料庫,員工管理..."));
            c.BeginTrans();

            for (int n = 0; n <= 44; ++n) {
                const QString name = QStringLiteral("popedem") + QString::number(n);
                if (FieldExists(QStringLiteral("RV17A"), name, c)) {
                    c.Execute(QStringLiteral("ALTER TABLE RV17A ") + QStringLiteral("DROP COLUMN ") + name +
                              QStringLiteral(";"));
                    ui::DoEvents();
                }
            }

            AddWhenMissing(c, QStringLiteral("RV18A"), QStringLiteral("性別"),
                           QStringLiteral("ALTER TABLE RV18A ADD COLUMN 性別 nchar(4);"));

            Say(progress, QStringLiteral("檢查資料庫格式,員工資料檔.."));

            static const std::pair<const char*, const char*> kEmployeeColumns[] = {
                {"就職狀況", "Text(10)"},   {"婚姻狀況", "Text(10)"},  {"血型", "Text(10)"},
                {"介紹人", "Text(10)"},     {"保證人", "Text(10)"},    {"保人身分證", "Text(15)"},
                {"勞保投保日", "Date"},     {"健保投保日", "Date"},    {"學歷", "Text(50)"},
                {"經歷", "Text(50)"},       {"身家紀錄", "Memo"},      {"基本薪資", "Currency"},
                {"職務津貼", "Currency"},   {"勞保金額", "Currency"},  {"健保金額", "Currency"},
                {"眷口人數", "Integer"},    {"扶養人數", "Integer"},   {"轉帳帳號", "Text(15)"},
                {"AddInsuranceDate", "DateTime"}, {"EmployeePart", "Text(10)"}, {"建檔日期", "DateTime"},
            };
            for (const auto& [name, type] : kEmployeeColumns) {
                const QString column = QString::fromUtf8(name);
                AddWhenMissing(c, QStringLiteral("RV17A"), column,
                               QStringLiteral("ALTER TABLE RV17A  ") + QStringLiteral("ADD COLUMN ") + column +
                                   QStringLiteral(" ") + QString::fromUtf8(type) + QStringLiteral(" ;"));
            }

            AddWhenMissing(c, QStringLiteral("RV17A"), QStringLiteral("總序"),
                           QStringLiteral("ALTER TABLE RV17a ADD COLUMN 總序 Long Identity ;"));

            if (!FieldExists(QStringLiteral("RV17A"), QStringLiteral("EnglishName"), c)) {
                c.Execute(QStringLiteral("ALTER TABLE rv17A ") + QStringLiteral("ADD COLUMN EnglishName text(40)"));
                SetAllowZeroLength(c, QStringLiteral("rv17a"));
                c.Execute(QStringLiteral("Update RV17a SET EnglishName = RV17a3"));
                c.Execute(QStringLiteral("ALTER TABLE rv17a DROP COLUMN rv17a3"));
            }

            Say(progress, QStringLiteral("檢查資料庫,客戶管理..."));
            tableFlag = false;
            Say(progress, QStringLiteral("檢查資料庫,客戶資料..."));

            if (!FieldExists(QStringLiteral("RV12B"), QStringLiteral("送貨名稱"), c)) {
                c.Execute(QStringLiteral("ALTER TABLE rv12B ADD COLUMN 送貨名稱 Text(25)"));
                tableFlag = true;
                c.Execute(QStringLiteral("UPDATE rv12B SET 送貨名稱 = rv12B1"));
                c.Execute(QStringLiteral("ALTER TABLE rv12B DROP COLUMN RV12B1;"));
            }

            if (!GetFieldAllowZeroLength(c, QStringLiteral("Rv12B"), QStringLiteral("RV12B2")))
                SetAllowZeroLength(c, QStringLiteral("RV12B"));

            AddWhenMissing(c, QStringLiteral("RV12B"), QStringLiteral("序號"),
                           QStringLiteral("ALTER TABLE RV12B ADD COLUMN 序號 Long Identity ;"));

            for (const QString& column : {QStringLiteral("發票對象"), QStringLiteral("建檔日期")}) {
                if (!FieldExists(QStringLiteral("RV12"), column, c)) {
                    c.Execute(QStringLiteral("ALTER TABLE RV12  ") + QStringLiteral("ADD COLUMN ") + column +
                              QStringLiteral(" ") + QStringLiteral("Text(10)") + QStringLiteral(" ;"));
                    tableFlag = true;
                }
            }

            // The invoice status column: the old name is renamed in place, keeping its values.
            const bool oldInvoice = FieldExists(QStringLiteral("RV12"), QStringLiteral("隨貨附發票"), c);
            const bool newInvoice = FieldExists(QStringLiteral("RV12"), QStringLiteral("發票狀況"), c);
            if (oldInvoice && !newInvoice) {
                RenameField(c, QStringLiteral("RV12"), QStringLiteral("隨貨附發票"), QStringLiteral("發票狀況"));
            } else if (!oldInvoice && !newInvoice) {
                c.Execute(QStringLiteral("ALTER TABLE RV12 ") + QStringLiteral("ADD COLUMN ") +
                          QStringLiteral("發票狀況 Integer") + QStringLiteral(";"));
                tableFlag = true;
            }

            static const std::pair<const char*, const char*> kCustomerColumns[] = {
                {"類別", "ADD COLUMN 類別 Text(20)"},
                {"級別", "ADD COLUMN 級別 Text(20)"},
                {"付款條件方式", "ADD COLUMN 付款條件方式  Text(20)"},
                {"付款條件日", "ADD COLUMN 付款條件日  Integer"},
                {"帳戶別", "ADD COLUMN 帳戶別 Text(20)"},
            };
            for (const auto& [name, clause] : kCustomerColumns) {
                if (!FieldExists(QStringLiteral("RV12"), QString::fromUtf8(name), c)) {
                    c.Execute(QStringLiteral("ALTER TABLE rv12 ") + QString::fromUtf8(clause));
                    tableFlag = true;
                }
            }

            if (!FieldExists(QStringLiteral("RV12"), QStringLiteral("客戶全銜"), c)) {
                c.Execute(QStringLiteral("ALTER TABLE rv12 ") + QStringLiteral("ADD COLUMN 客戶全銜 text(50)"));
                SetAllowZeroLength(c, QStringLiteral("rv12"));
                c.Execute(QStringLiteral("Update RV12 SET 客戶全銜 = RV122"));
                c.Execute(QStringLiteral("ALTER TABLE rv12 DROP COLUMN rv122"));
                tableFlag = true;
            }

            if (tableFlag)
                SetAllowZeroLength(c, QStringLiteral("rv12"));

            if (!FieldExists(QStringLiteral("RV12A"), QStringLiteral("稱謂"), c)) {
                tableFlag = true;
                c.Execute(QStringLiteral("ALTER TABLE rv12A ") + QStringLiteral("ADD COLUMN 稱謂 Text(10)"));
            }

            if (!FieldExists(QStringLiteral("RV12A"), QStringLiteral("備註"), c)) {
                tableFlag = true;
                c.Execute(QStringLiteral("ALTER TABLE rv12A ") + QStringLiteral("ADD COLUMN 備註 Memo"));
                SetAllowZeroLength(c, QStringLiteral("rv12A"));
                c.Execute(QStringLiteral("Update RV12A SET 備註 = RV12A7"));
                c.Execute(QStringLiteral("ALTER TABLE rv12A DROP COLUMN rv12A7"));
            }

            if (tableFlag)
                SetAllowZeroLength(c, QStringLiteral("rv12A"));
            tableFlag = false;

            static const std::pair<const char*, const char*> kAuditColumns[] = {
                {"建檔者", "ADD COLUMN 建檔者 text(10);"},
                {"建檔日", "ADD COLUMN 建檔日 long;"},
                {"修改者", "ADD COLUMN 修改者 text(10);"},
                {"修改日期", "ADD COLUMN 修改日期 long;"},
            };
            for (const auto& [name, clause] : kAuditColumns) {
                if (!FieldExistsRs(c, QStringLiteral("RV12"), QString::fromUtf8(name))) {
                    c.Execute(QStringLiteral("ALTER TABLE RV12 ") + QString::fromUtf8(clause));
                    auditFlag = true;
                }
            }
            if (auditFlag)
                SetAllowZeroLength(c, QStringLiteral("RV12"));

            AddWhenMissing(c, QStringLiteral("RV12A"), QStringLiteral("序號"),
                           QStringLiteral("ALTER TABLE RV12A ADD COLUMN 序號 Long Identity ;"));

            for (const QString& table : {QStringLiteral("RV18a"), QStringLiteral("RV17"), QStringLiteral("RV1"),
                                        QStringLiteral("RV12"), QStringLiteral("RV18")}) {
                AddWhenMissing(c, table, QStringLiteral("總序"),
                               QStringLiteral("ALTER TABLE ") + table +
                                   QStringLiteral(" ADD COLUMN 總序 Long Identity ;"));
            }

            // The old column held a category code; the new one holds the category's name (from
            // RV18, cut to the new column's width), or the code when no category has that code.
            if (!FieldExists(QStringLiteral("RV18A"), QStringLiteral("類別"), c)) {
                c.Execute(QStringLiteral("ALTER TABLE RV18A ADD COLUMN 類別 Text(15) ;"));
                c.Execute(QStringLiteral(
                    "Update RV18A SET 類別 = Left(Nz((Select Min(RV18.RV181) From RV18 "
                    "Where RV18.RV180 = RV18A.RV18A0 And Trim(RV18.RV181) <> ''), RV18A.RV18A0), 15) "
                    "Where 類別 Is Null Or 類別 = ''"));
                c.Execute(QStringLiteral("ALTER TABLE rv18A DROP COLUMN rv18A0"));
                SetAllowZeroLength(c, QStringLiteral("rv18A"));
            }

            if (!FieldExistsRs(c, QStringLiteral("RV11"), QStringLiteral("結帳日")))
                c.Execute(QStringLiteral("ALTER TABLE RV11 ADD COLUMN 結帳日 Integer;"));
            if (!FieldExistsRs(c, QStringLiteral("RV11"), QStringLiteral("最後交易日")))
                c.Execute(QStringLiteral("ALTER TABLE RV11 ADD COLUMN 最後交易日 DateTime;"));

            AddIndexWhenMissing(c, QStringLiteral("RV12A"), QStringLiteral("RV12A0"));
            AddIndexWhenMissing(c, QStringLiteral("RV12A"), QStringLiteral("序號"));
            AddIndexWhenMissing(c, QStringLiteral("RV12B"), QStringLiteral("RV12B0"));
            AddIndexWhenMissing(c, QStringLiteral("RV12B"), QStringLiteral("序號"));
            AddLookupIndexes(c);

            c.CommitTrans();
        },
        tail);

    if (!done)
        return;
    CheckFactoryType(progress);
    CheckFactoryTables(progress);
}

void CheckFactoryType(const SchemaProgress& progress)
{
    db::Connection& c = gConn;
    const QString tail = QStringLiteral(", 資料庫並未改變") + gCrLf + QStringLiteral("位置: ") +
                         QStringLiteral("CheckFactoryType");

    Say(progress, QStringLiteral("檢查資料庫,廠商預設資料..."));
    Guarded(
        [&] {
            c.BeginTrans();
            const auto isEmpty = [&](const QString& sql) {
                db::Recordset rs = c.ExecuteQuery(sql);
                const bool empty = rs.Eof();
                rs.Close();
                return empty;
            };
            if (isEmpty(QStringLiteral("Select RV12.* From RV12"))) {
                if (isEmpty(QStringLiteral("Select RV12A.* From RV12A"))) {
                    static const char* const kContacts[] = {
                        "('00001','王大明','經理','101')",
                        "('00001','林淑芬','會計','102')",
                        "('00002','陳志強','業務','201')",
                        "('00002','張美玲','採購','202')",
                    };
                    for (const char* values : kContacts) {
                        c.Execute(QStringLiteral("INSERT INTO  RV12A (RV12A0,rv12a1,RV12A2,RV12A3)  VALUES") +
                                  QString::fromUtf8(values));
                        ui::DoEvents();
                    }
                }
                if (isEmpty(QStringLiteral("Select RV12B.* From RV12B"))) {
                    static const char* const kDeliveries[] = {
                        "('00001','大明總公司','王大明','02-2345-6789','02-2345-6790','台北市中山區南京東路一段1號')",
                        "('00001','大明倉庫','林淑芬','02-2987-6543','02-2987-6544','新北市五股區五工路10號')",
                        "('00002','志強工廠','陳志強','04-2233-4455','04-2233-4456','台中市西屯區工業區一路5號')",
                        "('00002','志強門市','張美玲','04-2345-1122','04-2345-1123','台中市北區三民路三段8號')",
                    };
                    for (const char* values : kDeliveries) {
                        c.Execute(QStringLiteral(
                                      "INSERT INTO  RV12B (RV12B0,送貨名稱,RV12B2,RV12B3,RV12B4,RV12B5)  VALUES") +
                                  QString::fromUtf8(values));
                        ui::DoEvents();
                    }
                }
            }
            c.CommitTrans();
        },
        tail);
}

void CheckFactoryTables(const SchemaProgress& progress)
{
    db::Connection& c = gConn;
    const QString tail = kNotUpgraded + gCrLf + kCloseOthers + gCrLf + QStringLiteral("發生模組在廠商資料檢查");
    const QString contacts = QStringLiteral("廠商聯絡人");

    Say(progress, QStringLiteral("檢查資料庫,廠商管理..."));
    Guarded(
        [&] {
            if (!TableExists(c, contacts)) {
                c.BeginTrans();
                c.Execute(QStringLiteral("Create Table 廠商聯絡人 (") +
                          QStringLiteral("項次 Integer,"
                                         "聯絡人 Text(20) Not Null,"
                                         "部門 Text(20) Null,"
                                         "職銜 Text(20) Null,"
                                         "分機 Text(20) Null,"
                                         "電話 Text(50) Null,"
                                         "行動電話 Text(50) Null,"
                                         "e_mail Text(50) Null,"
                                         "備註 Text(50) Null,"
                                         "總序 Long IDENTITY,"
                                         "廠商編號 Text(10)") +
                          QStringLiteral(")"));
                c.Execute(QStringLiteral("CREATE UNIQUE INDEX 廠商聯絡人IDX ") + QStringLiteral("ON 廠商聯絡人(總序) ") +
                          QStringLiteral("WITH DISALLOW NULL;"));
                SetAllowZeroLength(c, contacts);
                c.CommitTrans();
            }

            if (!FieldExists(contacts, QStringLiteral("e_mail"), c)) {
                c.BeginTrans();
                c.Execute(QStringLiteral("ALTER TABLE 廠商聯絡人") + QStringLiteral(" ADD COLUMN e_mail text(50)"));
                SetAllowZeroLength(c, contacts);
                c.CommitTrans();
            }

            if (!FieldExists(contacts, QStringLiteral("項次"), c)) {
                c.BeginTrans();
                c.Execute(QStringLiteral("ALTER TABLE 廠商聯絡人") + QStringLiteral(" ADD COLUMN 項次    Integer "));
                SetAllowZeroLength(c, contacts);
                c.CommitTrans();
            }

            if (FieldExists(contacts, QStringLiteral("e-mail"), c)) {
                c.BeginTrans();
                c.Execute(QStringLiteral("ALTER TABLE 廠商聯絡人 ") + QStringLiteral("DROP COLUMN e-mail"));
                c.CommitTrans();
            }

            if (GetFieldOrdinal(c, contacts, QStringLiteral("總序")) != 40) {
                static const std::pair<const char*, short> kOrder[] = {
                    {"項次", 0}, {"聯絡人", 1},   {"部門", 2},   {"職銜", 3},  {"分機", 4},      {"電話", 5},
                    {"行動電話", 6}, {"e_mail", 7}, {"備註", 8}, {"總序", 40}, {"廠商編號", 41},
                };
                c.BeginTrans();
                for (const auto& [name, pos] : kOrder)
                    SetFieldOrdinal(c, contacts, QString::fromUtf8(name), pos);
                c.CommitTrans();
            }

            if (!c.IndexExists(contacts + QStringLiteral("_廠商編號"))) {
                c.BeginTrans();
                AddIndexWhenMissing(c, contacts, QStringLiteral("廠商編號"));
                c.CommitTrans();
            }

            // Vendor table: status, serial, cheque term and due day in one block.
            c.BeginTrans();
            AddWhenMissing(c, QStringLiteral("RV11"), QStringLiteral("廠商狀況"),
                           QStringLiteral("ALTER TABLE RV11  ") + QStringLiteral("ADD COLUMN ") +
                               QStringLiteral("廠商狀況") + QStringLiteral(" ") + QStringLiteral("Text(10)") +
                               QStringLiteral(" ;"));
            AddWhenMissing(c, QStringLiteral("RV11"), QStringLiteral("總序"),
                           QStringLiteral("ALTER TABLE RV11  ") + QStringLiteral("ADD COLUMN ") +
                               QStringLiteral("總序") + QStringLiteral(" ") + QStringLiteral("Long Identity") +
                               QStringLiteral(" ;"));
            if (!FieldExists(QStringLiteral("RV11"), QStringLiteral("付款票期"), c)) {
                c.Execute(QStringLiteral("ALTER TABLE rv11 ADD COLUMN 付款票期 Text(10),到期日 Integer"));
                SetAllowZeroLength(c, QStringLiteral("rv11"));
            }
            c.CommitTrans();

            static const char* const kTradeFlags[] = {"印前", "製版", "紙行", "印刷", "上光", "刀模",
                                                      "裱紙", "軋型", "貼糊", "裝裁", "其他", "貨運"};
            if (!FieldExists(QStringLiteral("RV11"), QStringLiteral("印前"), c)) {
                c.BeginTrans();
                c.Execute(QStringLiteral("ALTER TABLE rv11 ADD COLUMN ") +
                          QStringLiteral("印前       Integer  ,"
                                         "製版     Integer  ,"
                                         "紙行     Integer  ,"
                                         "印刷     Integer  ,"
                                         "上光     Integer  ,"
                                         "刀模     Integer  ,"
                                         "裱紙     Integer  ,"
                                         "軋型     Integer  ,"
                                         "貼糊     Integer  ,"
                                         "裝裁     Integer  ,"
                                         "其他     Integer  ,"
                                         "貨運     Integer  "));
                c.CommitTrans();
            }

            // The twelve flags get their default together or not at all.
            if (GetFieldDefault(c, QStringLiteral("RV11"), QStringLiteral("製版")).isEmpty()) {
                c.BeginTrans();
                for (const char* flag : kTradeFlags)
                    SetFieldDefault(c, QStringLiteral("RV11"), QString::fromUtf8(flag), QStringLiteral("0"));
                c.CommitTrans();
            }

            if (!FieldExistsRs(c, QStringLiteral("RV11"), QStringLiteral("建檔者"))) {
                static const std::pair<const char*, const char*> kAudit[] = {
                    {"建檔者", "ADD COLUMN 建檔者 text(10);"},
                    {"建檔日期", "ADD COLUMN 建檔日期 long;"},
                    {"修改者", "ADD COLUMN 修改者 text(10);"},
                    {"修改日期", "ADD COLUMN 修改日期 long;"},
                };
                c.BeginTrans();
                for (const auto& [name, clause] : kAudit) {
                    if (!FieldExistsRs(c, QStringLiteral("RV11"), QString::fromUtf8(name)))
                        c.Execute(QStringLiteral("ALTER TABLE RV11 ") + QString::fromUtf8(clause));
                }
                SetAllowZeroLength(c, QStringLiteral("RV11"));
                c.CommitTrans();
            }
        },
        tail);
}

void CheckMemberTable(const SchemaProgress& progress)
{
    db::Connection& c = gConn;
    const QString tail = gCrLf + QStringLiteral("模組 會員資料");
    const QString members = QStringLiteral("會員管理");

    Say(progress, QStringLiteral("檢查資料庫,會員管理資料..."));
    Guarded(
        [&] {
            if (!TableExists(c, members)) {
                c.BeginTrans();
                c.Execute(QStringLiteral("CREATE TABLE 會員管理 (") +
                          QStringLiteral("會員編號 Text(15),"
                                         "類別 Text(20),"
                                         "中文姓名 Text(30),"
                                         "英文姓名 Text(30),"
                                         "生日_年 Text(4),"
                                         "月日 Text(4),"
                                         "性別 Text(10),"
                                         "關係 Text(15),"
                                         "身分證號 Text(20),"
                                         "聯絡電話 Text(50),"
                                         "行動電話 Text(50),"
                                         "公司名稱 Text(50),"
                                         "公司電話 Text(50),"
                                         "公司傳真 Text(50),"
                                         "戶籍住址 Text(50),"
                                         "通訊地址 Text(50),"
                                         "Skype Text(50),"
                                         "Msn Text(50),"
                                         "即時通 Text(50),"
                                         "電子信箱 Text(50),"
                                         "累積點數 Long,"
                                         "總序 Long Identity,"
                                         "備註 Memo,"
                                         "建檔者 Text(10),"
                                         "建檔日期 Long,"
                                         "修改者 Text(10),"
                                         "修改日期 Long") +
                          QStringLiteral(")"));
                c.Execute(QStringLiteral("CREATE UNIQUE INDEX 會員管理Idx ") + QStringLiteral("ON 會員管理 (總序) ") +
                          QStringLiteral("WITH DISALLOW NULL;"));
                c.Execute(QStringLiteral("CREATE UNIQUE INDEX 會員管理Idx1 ") +
                          QStringLiteral("ON 會員管理 (會員編號) ") + QStringLiteral("WITH DISALLOW NULL;"));
                SetAllowZeroLength(c, members);
                c.CommitTrans();
            }

            if (!FieldExistsRs(c, members, QStringLiteral("生日_年"))) {
                c.BeginTrans();
                c.Execute(QStringLiteral("ALTER TABLE 會員管理 ") +
                          QStringLiteral("ADD COLUMN 生日_年 Text(4), 月日 Text(4) ;"));
                c.CommitTrans();
            }

            if (GetFieldOrdinal(c, members, QStringLiteral("總序")) != 32) {
                static const std::pair<const char*, short> kOrder[] = {
                    {"會員編號", 0},  {"類別", 1},      {"中文姓名", 2},  {"英文姓名", 3},  {"生日_年", 4},
                    {"月日", 5},      {"性別", 6},      {"關係", 7},      {"身分證號", 8},  {"聯絡電話", 9},
                    {"行動電話", 10}, {"公司名稱", 11}, {"公司電話", 12}, {"公司傳真", 13}, {"戶籍住址", 14},
                    {"通訊地址", 15}, {"Skype", 16},    {"Msn", 17},      {"即時通", 18},   {"電子信箱", 19},
                    {"累積點數", 20}, {"總序", 32},     {"備註", 40},     {"建檔者", 41},   {"建檔日期", 42},
                    {"修改者", 43},   {"修改日期", 44},
                };
                c.BeginTrans();
                for (const auto& [name, pos] : kOrder)
                    SetFieldOrdinal(c, members, QString::fromUtf8(name), pos);
                // A birth-date column is not part of the table we create; place it only where
                // an older file has one.
                if (FieldExists(members, QStringLiteral("出生日期"), c))
                    SetFieldOrdinal(c, members, QStringLiteral("出生日期"), 45);
                c.CommitTrans();
            }
        },
        tail);
}
