#include "contacts/MemberListRpt.h"

#include "contacts/MemberBirthday.h"

using report::Align;
using report::Placed;

namespace {

const QString kBirthDate = QStringLiteral("出生日期");

constexpr Placed kMemberHead[] = {
    Placed::Title("Label14", 7680, 90, 3285, 390),
    Placed::Text("Label16", "列印日期:", 150, 720, 855, 225),
    Placed::Text("Label15", "%d", 1050, 690, 885, 240),
    Placed::Text("Label19", "列印頁數:", 9210, 720, 855, 225),
    Placed::Text("Label17", "%p", 10125, 720, 300, 240, Align::Right),
    Placed::Text("Label20", "／", 10470, 720, 225, 225, Align::Center),
    Placed::Text("Label18", "%P", 10710, 720, 315, 240),
    Placed::Rule("Line3", 45, 1020, 10935),
};

// Three lines of columns; the fields are wider than their captions.
constexpr report::Column kMemberColumns[] = {
    {"Label1", "會員編號", {45, 30, 1095}, "txtRV120", "會員編號", {45, 45, 1140}},
    {"Label2", "中文姓名", {1395, 0, 1875}, "Text1", "中文姓名", {1290, 60, 1995}},
    {"Label3", "英文姓名", {3420, 30, 3840}, "Text3", "英文姓名", {3390, 30, 3825}},
    {"Label4", "電話", {7395, 30, 615}, "Text4", "聯絡電話", {7275, 30, 3615}},
    {"Label8", "身份證號", {45, 345, 1200}, "Text9", "身分證號", {45, 330, 1200}},
    {"Label6", "類別", {1380, 345, 1080}, "Text2", "類別", {1305, 330, 1110}},
    {"Label11", "出生日期", {3405, 360, 1080}, "Text6", "出生日期", {3390, 345, 3825}},
    {"Label5", "傳真", {7395, 375, 630}, "Text5", "公司傳真", {7290, 345, 3600}},
    {"Label9", "通訊地址", {60, 645, 1290}, "Text7", "通訊地址", {105, 690, 4830}},
    {"Label10", "戶籍地址", {5220, 675, 1290}, "Text8", "戶籍住址", {5130, 660, 5790}},
};

constexpr Placed kCaptionRules[] = {Placed::Rule("Line2", 75, 960, 10890), Placed::Rule("Line4", 75, 1005, 10890)};
constexpr Placed kMemberBlockRule[] = {Placed::Rule("Line1", 0, 1140, 10980)};

report::ListFonts MemberFonts()
{
    report::ListFonts fonts;
    fonts.caption.pointSize = 11.25;
    fonts.field.pointSize = 11.25;
    return fonts;
}

}  // namespace

會員資料管理Rpt::會員資料管理Rpt()
    : ListReport({.title = QStringLiteral("會員資料列表"),
                  .width = 11115,
                  .fonts = MemberFonts(),
                  .reportHeader = {1035, kMemberHead},
                  .pageHeader = {1050, kCaptionRules},
                  .detail = {1200, kMemberBlockRule},
                  .columns = kMemberColumns,
                  .normalStateOnClose = true,
                  .reportHeaderName = kReportHeader,
                  .detailName = kDetail})
{
}

void 會員資料管理Rpt::SetMembers(const db::Recordset& rs)
{
    SetMembers(report::Snapshot::fromRecordset(rs));
}

void 會員資料管理Rpt::SetMembers(report::Snapshot rows)
{
    if (rows.columnIndex(kBirthDate) >= 0) {
        setDataSource(std::move(rows));
        return;
    }
    const int year = rows.columnIndex(QStringLiteral("生日_年"));
    const int monthDay = rows.columnIndex(QStringLiteral("月日"));
    report::Snapshot out(rows.columns() + QStringList{kBirthDate});
    for (int r = 0; r < rows.rowCount(); ++r) {
        QVariantList row = rows.row(r);
        row << MemberBirthDate(year < 0 ? QVariant() : row.value(year), monthDay < 0 ? QVariant() : row.value(monthDay));
        out.addRow(std::move(row));
    }
    setDataSource(std::move(out));
}

會員資料管理Rpt& 會員資料管理Rpt::Instance()
{
    return report::KeptInstance<會員資料管理Rpt>();
}
