#include "codetables/CodeTable.h"

#include "core/Globals.h"
#include "platform/text/VbText.h"

QString TableText::text() const { return id ? LoadResString(id) : literal; }

namespace {

TableText Id(int id) { return {id, {}}; }
TableText Fixed(const char* text) { return {0, QString::fromUtf8(text)}; }

}  // namespace

const CodeTableDef& VendorCategoryDef()
{
    static const CodeTableDef def = [] {
        CodeTableDef s;
        s.windowName = QStringLiteral("DevrItemFrm");
        s.caption = Id(689);
        s.table = QStringLiteral("RV1");
        s.boxes = {{QStringLiteral("RV10"), 4, Fixed("加工類別")},
                   {QStringLiteral("RV11"), 10, Fixed("類別名稱")},
                   {QStringLiteral("RV12"), 20, Fixed("說    明 ")}};
        s.gridCaptions[0] = Id(699);
        s.gridCaptions[1] = Id(700);
        s.buttons = {{CodeTableButton::Exit, 0, Id(690), 4},    {CodeTableButton::Add, 1, Id(691), 0},
                     {CodeTableButton::Change, 2, Id(692), 1},  {CodeTableButton::Delete, 3, Id(693), 2},
                     {CodeTableButton::Refresh, 4, Fixed("重新整理"), 3},
                     {CodeTableButton::Save, 5, Id(695), 0},    {CodeTableButton::Cancel, 6, Id(696), 1}};
        s.usedByTable = QStringLiteral("RV11");
        s.usedByColumn = QStringLiteral("RV110");
        s.tooWidePrefix = QStringLiteral("'' ");
        s.requiredMessage = Fixed("加工類別,類別名稱須輸入");
        s.inUseBefore = QStringLiteral("加工類別 [");
        s.inUseAfter = Fixed("已經有建立資料.不可以刪除");
        s.deleteQuestion = Fixed("確定要刪除");
        s.cancelQuestion = Fixed("確定要放棄嗎? ");
        s.errorNumber = Fixed("錯誤代號: ");
        s.sortAndFind = true;
        s.arrowsMove = true;
        return s;
    }();
    return def;
}

const CodeTableDef& DepartmentDef()
{
    static const CodeTableDef def = [] {
        CodeTableDef s;
        s.windowName = QStringLiteral("Dipartmant1FRM");
        s.caption = Id(707);
        s.table = QStringLiteral("RV17");
        s.boxes = {{QStringLiteral("RV170"), 4, Id(708)}, {QStringLiteral("RV171"), 10, Id(709)}};
        s.gridCaptions[0] = Id(708);
        s.gridCaptions[1] = Id(709);
        s.buttons = {{CodeTableButton::Add, 1, Id(701), 0},    {CodeTableButton::Change, 2, Id(702), 1},
                     {CodeTableButton::Delete, 3, Id(703), 2}, {CodeTableButton::Exit, 4, Id(704), 4},
                     {CodeTableButton::Save, 5, Id(705), 0},   {CodeTableButton::Cancel, 6, Id(706), 1}};
        s.usedByTable = QStringLiteral("RV17A");
        s.usedByColumn = QStringLiteral("RV17A0");
        s.tooWidePrefix = QStringLiteral("'");
        s.requiredMessage = Id(713);
        s.inUseBefore = QStringLiteral("部門: [");
        s.inUseAfter = Id(715);
        s.deleteQuestion = Id(714);
        s.cancelQuestion = Id(716);
        s.errorNumber = Id(717);
        s.codeChangeable = true;
        s.proposedCodeIsChange = true;
        s.saveNeedsTrimmedText = true;
        s.beepOnCancel = true;
        s.helpCaption = QStringLiteral("部門設定");
        s.lockedCodeHint = QStringLiteral("只有這個部門底下沒有任何有員工資料,才可以修改部門代號");
        return s;
    }();
    return def;
}

CodeTableRefusal CodeTableSaveCheck(const CodeTableDef& def, const std::vector<QString>& texts)
{
    auto textOf = [&](int i) { return i < int(texts.size()) ? texts[size_t(i)] : QString(); };
    for (int i = 0; i < def.boxCount(); ++i) {
        const int limit = def.box(i).maxLength;
        if (vb::ByteLen(textOf(i)) > limit) {
            return {def.tooWidePrefix + LoadResString(710) + QString::number(limit) + LoadResString(711),
                    LoadResString(712), true, i};
        }
    }
    if (vb::Trim(textOf(0)).isEmpty() || vb::Trim(textOf(1)).isEmpty())
        return {def.requiredMessage.text(), {}, false, -1};
    return {};
}

bool CodeTableSaveEnabled(const CodeTableDef& def, const QString& code, const QString& name)
{
    if (def.saveNeedsTrimmedText)
        return !vb::Trim(code).isEmpty() && !vb::Trim(name).isEmpty();
    return !code.isEmpty() && !name.isEmpty();
}

bool CodeInUse(db::Connection& conn, const CodeTableDef& def, const QString& code)
{
    db::Recordset rs;
    rs.Open(QStringLiteral("Select ") + def.usedByColumn + QStringLiteral(" From ") + def.usedByTable +
                QStringLiteral(" Where ") + def.usedByColumn + QStringLiteral(" = ? Or ") + def.usedByColumn +
                QStringLiteral(" = ?"),
            conn, db::adOpenStatic, db::adLockReadOnly, {code, vb::Trim(code)});
    return !rs.Eof();
}

QString InUseMessage(const CodeTableDef& def, const QString& name)
{
    return def.inUseBefore + name + QStringLiteral("] ") + def.inUseAfter.text();
}

QString CodeTableListSql(const CodeTableDef& def, const QString& sortChoice)
{
    QString sql = QStringLiteral("Select ") + def.table + QStringLiteral(".* From ") + def.table;
    if (def.sortAndFind) {
        if (sortChoice == QStringLiteral("代號"))
            sql += QStringLiteral(" Order By ") + def.box(0).column;
        else if (sortChoice == QStringLiteral("名稱"))
            sql += QStringLiteral(" Order By ") + def.box(1).column;
    }
    return sql;
}
