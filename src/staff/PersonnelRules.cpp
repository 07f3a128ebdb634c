#include "staff/PersonnelRules.h"

#include "core/Globals.h"
#include "core/Settings.h"
#include "core/numbering/Validators.h"
#include "platform/text/VbText.h"

#include <QRegularExpression>

namespace {

QString U8(const char* s) { return QString::fromUtf8(s); }

PersonnelField F1(int i, int page, const char* column, int max, int id, const char* caption, const char* tip,
                  bool multiLine = false)
{
    return {{BoxArray::Text1, i}, page, U8(column), max, id, U8(caption), U8(tip), multiLine};
}
PersonnelField F(BoxArray a, int i, int page, const char* column, int max, const char* caption, const char* tip,
                 bool multiLine = false)
{
    return {{a, i}, page, U8(column), max, 0, U8(caption), U8(tip), multiLine};
}

}  // namespace

const std::vector<PersonnelField>& PersonnelFields()
{
    using A = BoxArray;
    static const std::vector<PersonnelField> fields = {
        F1(0, 1, "RV17A0", 14, 430, "* 部門編號", "部門編號"),
        F1(1, 1, "RV17A1", 10, 431, "* 員工編號",
           "員工編號必須以部門編號開頭+ [-] + 編號, 例如部門編號為 [A1] 則員工編號可能是 A1-001"),
        F1(2, 1, "rv17a2", 10, 432, "* 中文姓名", "員工的中文姓名"),
        F1(3, 1, "EmployeePart", 10, 628, "職 級 別", "員工的職務等級"),
        F1(4, 1, "RV17A8", 10, 437, "職稱", "員工的職銜"),
        F1(5, 1, "EnglishName", 40, 433, "英文姓名", "員工的英文名稱"),
        F1(6, 1, "RV17A6", 14, 442, "性別", "按游標鍵選取男或女"),
        F1(7, 1, "RV17A4", 10, 434, "出生日期", "員工之出生日期 以西元格式(yyyy/mm/dd)"),
        F1(8, 1, "RV17A7", 20, 436, "身份證號", "您可以在選項中關閉身分證字號檢查"),
        F1(9, 1, "RV17A9", 30, 438, "電話", "員工的聯絡電話"),
        F1(10, 1, "RV17A11", 30, 440, "行動電話", "員工的行動電話號碼"),
        F1(11, 1, "RV17A10", 30, 439, "Skype/Msn", "ICQ 或是MSN號碼"),
        F1(12, 1, "RV17A12", 10, 441, "到職日期", "員工的到職日期, 以西元格式(yyyy/mm/dd)"),
        F1(13, 1, "RV17A13", 10, 443, "離職日期",
           "員工離職的日期.通常離職後再其他系統使用員工名稱清單時.不顯示已離職員工之名稱"),
        F1(14, 1, "AddInsuranceDate", 10, 629, "加保日期", "員工加入勞保日期"),
        F1(15, 1, "RV17A5", 50, 435, "e - mail", "F3 : .com.tw"),
        F1(16, 1, "RV17A17", 0, 444, "圖片路徑", "輸入 [P] 然後按Enter鍵或是點選旁邊的按鈕,可以呼叫瀏覽路徑視窗"),
        F1(17, 2, "RV17A14", 50, 625, "戶籍地址", "F3: 縣市區街路段巷弄號樓之"),
        F1(18, 2, "RV17A15", 255, 626, "目前住址", "F5 : 複製戶籍地址 / F3: 縣市區街路段巷弄號樓之"),
        F1(19, 2, "RV17A16", 255, 627, "備    註", "附加記載的備記說明", true),
        F(A::Text2, 0, 3, "就職狀況", 10, "就職狀況", "員工就職狀況"),
        F(A::Text2, 1, 3, "婚姻狀況", 10, "婚姻狀況", "已婚或是未婚"),
        F(A::Text2, 2, 3, "血型", 10, "血型", "員工的血型"),
        F(A::Text2, 3, 3, "介紹人", 10, "介紹人", "員工之介紹人"),
        F(A::Text2, 4, 3, "保證人", 10, "保證人", "員工之保證人"),
        F(A::Text2, 5, 3, "保人身分證", 15, "保證人身分證", "保證人之身分證號碼"),
        F(A::Text2, 6, 3, "勞保投保日", 10, "勞保投保日", "勞保投保之日期"),
        F(A::Text2, 7, 3, "健保投保日", 10, "健保投保日", "健保投保之日期"),
        F(A::Text2, 8, 3, "學歷", 50, "學歷", "員工之學歷"),
        F(A::Text2, 9, 3, "經歷", 50, "經歷", "員工之經歷"),
        F(A::Text2, 10, 3, "身家紀錄", 0, "身家記錄", "", true),
        F(A::Text3, 0, 4, "基本薪資", 10, "基本薪資", "員工之本薪"),
        F(A::Text3, 1, 4, "職務津貼", 10, "職務津貼", "職務上給予的固定津貼"),
        F(A::Text3, 2, 4, "健保金額", 10, "健保金額", "健保的投保的自負額(每月固定從員工薪資扣除之保費)"),
        F(A::Text3, 3, 4, "勞保金額", 10, "勞保金額", "勞保的投保的自負額(每月固定從員工薪資扣除之保費)"),
        F(A::Text3, 4, 4, "眷口人數", 4, "眷口人數", "輸入健保的眷口人數"),
        F(A::Text3, 5, 4, "扶養人數", 4, "扶養人數", "輸入所得稅的扶養人數"),
        F(A::Text3, 6, 4, "轉帳帳號", 15, "轉帳帳號", "如果薪資是用銀行轉帳,這裡輸入員工在銀行的帳號"),
    };
    return fields;
}

const PersonnelField& PersonnelFieldOf(BoxRef box)
{
    static const int starts[] = {0, 20, 31};
    return PersonnelFields()[size_t(starts[int(box.array)] + box.index)];
}

bool IsRequiredBox(BoxRef box) { return box.array == BoxArray::Text1 && box.index <= 2; }


// ---- Numbering ---------------------------------------------------------------------------------

QString GetWorkmanNewNo(db::Connection& conn, const QString& dept)
{
    const QString code = vb::Trim(dept);
    const QString prefix = code + QLatin1Char('-');
    db::Recordset rs;
    rs.Open(QStringLiteral("Select RV17A1 From RV17A Where RV17A0 = ?"), conn, db::adOpenStatic, db::adLockReadOnly,
            {code});
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    qint64 greatest = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString number = vb::Trim(vb::Nz(rs.value(0)));
        QString serial;
        if (number.startsWith(prefix, Qt::CaseInsensitive))
            serial = number.mid(prefix.size());
        else if (number.contains(QLatin1Char('-')))
            serial = number.mid(number.indexOf(QLatin1Char('-')) + 1);
        if (serial.size() > 15 || !digits.match(serial).hasMatch())
            continue;
        greatest = std::max(greatest, serial.toLongLong());
    }
    return prefix + QStringLiteral("%1").arg(greatest + 1, 3, 10, QLatin1Char('0'));
}

bool WorkmanAutoNumbering()
{
    return vb::Val(ReadSetting(QStringLiteral("WorkmanAutoNO"), QStringLiteral("Tessarine"), 0)) != 1;
}

QString NewWorkmanNumberText(db::Connection& conn, const QString& dept, bool autoNumber)
{
    return autoNumber ? GetWorkmanNewNo(conn, dept) : vb::Trim(dept) + QLatin1Char('-');
}

// ---- Checks --------------------------------------------------------------------------------------

WorkmanRefusal SaveCheck_Workman(const BoxTextFn& text)
{
    if (!text(1).startsWith(vb::Trim(text(0)) + QLatin1Char('-')))
        return {LoadResString(656), false, -1};
    for (int box : {7, 12, 13}) {
        const QString t = text(box);
        if (!vb::Trim(t).isEmpty() && !ReadDate(t, kEmployeeDateForm))
            return {LoadResString(657), false, -1};
    }
    for (int box = 0; box <= 17; ++box) {
        if (box == 4 || box == 5 || box == 12 || box == 13)
            continue;
        const int limit = PersonnelFieldOf({BoxArray::Text1, box}).maxLength;
        if (limit > 0 && vb::ByteLen(text(box)) > limit)
            return {LoadResString(658) + QString::number(limit) + LoadResString(659), true, box};
    }
    return {};
}

bool SaveButtonEnabled(const BoxTextFn& text)
{
    return !vb::Trim(text(0)).isEmpty() && !vb::Trim(text(1)).isEmpty() && !vb::Trim(text(2)).isEmpty();
}

int EmployedFlag(const QString& hireDate) { return vb::Trim(hireDate).isEmpty() ? 0 : 1; }

// ---- List ----------------------------------------------------------------------------------------

db::Statement WorkmanListQuery(bool allDepartments, const QString& deptCode, bool includeResigned, bool byName)
{
    const QString filter = includeResigned ? QString() : QStringLiteral("(RV17A13 is null Or RV17A13 ='')");
    const QString order = QStringLiteral(" Order by ") + (byName ? QStringLiteral("rv17a2") : QStringLiteral("rv17a1"));
    if (allDepartments) {
        QString sql = QStringLiteral("select * from RV17A");
        if (!filter.isEmpty())
            sql += QStringLiteral(" where ") + filter;
        return {sql + order, {}};
    }
    QString sql = QStringLiteral("select * from RV17A where RV17A0 = ?");
    if (!filter.isEmpty())
        sql += QStringLiteral(" And ") + filter;
    return {sql + order, {deptCode}};
}

// ---- Checklist -------------------------------------------------------------------------------------

QString PersonnelChecklist(bool editing, const BoxTextFn& text)
{
    QString s;
    auto add = [&](const QString& line) { s += gCrLf + gCrLf + line; };
    if (editing) {
        add(QStringLiteral("※ 中文姓名以及編號一定要輸入才能存檔"));
    } else {
        add(QStringLiteral("※ 要編輯資料,要先按修改按鈕"));
        add(QStringLiteral("※ 要新增資料,請直接按新增按鈕"));
    }
    const std::pair<int, const char*> items[] = {{2, "◆ 中文姓名 未輸入"}, {1, "◆ 員工編號 未輸入"},
                                                 {8, "◆ 身分證字號"},      {9, "◆ 電話 未輸入"},
                                                 {17, "◆ 戶籍地址 未輸入"}, {18, "◆ 現在住址 未輸入"}};
    for (const auto& [box, line] : items)
        if (text(box).isEmpty())
            add(U8(line));
    return s;
}

// ---- Entry ---------------------------------------------------------------------------------------

QString JobGradeListText(const QString& setting)
{
    if (vb::Trim(setting).isEmpty())
        return QStringLiteral("正職職員") + gCrLf + QStringLiteral("約聘人員") + gCrLf + QStringLiteral("臨時人員");
    return vb::Trim(setting);
}

QStringList GenderItems() { return {LoadResString(679), LoadResString(680)}; }

QStringList EmploymentItems()
{
    return {QStringLiteral("試用"), QStringLiteral("約聘"), QStringLiteral("鍾點"), QStringLiteral("正式員工"),
            QStringLiteral("留職停薪"), QStringLiteral("離職")};
}

QStringList MaritalItems() { return {QStringLiteral("未婚"), QStringLiteral("已婚")}; }

bool IsDateBox(BoxRef box)
{
    if (box.array == BoxArray::Text1)
        return box.index == 7 || box.index == 12 || box.index == 13 || box.index == 14;
    return box.array == BoxArray::Text2 && (box.index == 6 || box.index == 7);
}

const std::vector<StockText>& PersonnelStockTexts()
{
    static const std::vector<StockText> texts = {
        {17, Qt::Key_F3, 687}, {18, Qt::Key_F3, 687}, {17, Qt::Key_F4, 687}, {18, Qt::Key_F4, 687},
        {15, Qt::Key_F3, 0, -1, QStringLiteral(".com.tw")},     {18, Qt::Key_F5, 0, 17},
    };
    return texts;
}

namespace {

// The last box of each array: Text1(19), Text2(10), Text3(6).
constexpr int kLast[] = {19, 10, 6};
int LastOf(BoxArray array) { return kLast[int(array)]; }

}  // namespace

const BoxMap& PersonnelEnterMap(BoxArray array)
{
    // Enter in the photo path stays (a "P" opens the file dialog); after the last box, box 1.
    static const BoxMap maps[] = {
        {{{16, -1}, {19, 1}}, [](int b) { return b + 1; }},
        {{{10, 1}}, [](int b) { return b + 1; }},
        {{{6, 1}}, [](int b) { return b + 1; }},
    };
    return maps[int(array)];
}

const BoxMap& PersonnelDownMap(BoxArray array)
{
    // The multi-line boxes keep their arrows; the salary page goes round to box 1.
    static const BoxMap maps[] = {
        {{{19, -1}}, [](int b) { return b + 1; }},
        {{{10, -1}}, [](int b) { return b + 1; }},
        {{{6, 1}}, [](int b) { return b + 1; }},
    };
    return maps[int(array)];
}

const BoxMap& PersonnelUpMap(BoxArray array)
{
    // Box 0 of the basic page is never reached by Up (the picker covers it).
    static const BoxMap maps[] = {
        {{{19, -1}}, [](int b) { return std::max(1, b - 1); }},
        {{{10, -1}}, [](int b) { return std::max(0, b - 1); }},
        {{}, [](int b) { return std::max(0, b - 1); }},
    };
    return maps[int(array)];
}

int NextOnEnter(BoxArray array, int index)
{
    return index > LastOf(array) ? -1 : PersonnelEnterMap(array)(index);
}

int NextOnDown(BoxArray array, int index)
{
    return index > LastOf(array) ? -1 : PersonnelDownMap(array)(index);
}

int NextOnUp(BoxArray array, int index)
{
    return index > LastOf(array) ? -1 : PersonnelUpMap(array)(index);
}
