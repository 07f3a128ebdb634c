#include "contacts/MemberListRpt.h"

#include "contacts/MemberBirthday.h"
#include "platform/report/ReportWindow.h"

using report::Align;
using report::Font;

namespace {

const Font kTitleFont{QStringLiteral("新細明體"), 18, true};
const Font kReportFont{QStringLiteral("新細明體"), 9};
const Font kCaptionFont{QStringLiteral("新細明體"), 11.25, true};
const Font kFieldFont{QStringLiteral("新細明體"), 11.25};

const QString kBirthDate = QStringLiteral("出生日期");

struct Placed {
    const char* name;
    const char* text;  // caption, or the bound column
    int left, top, width;
};

constexpr Placed kCaptions[] = {
    {"Label1", "會員編號", 45, 30, 1095},   {"Label2", "中文姓名", 1395, 0, 1875},
    {"Label3", "英文姓名", 3420, 30, 3840}, {"Label4", "電話", 7395, 30, 615},
    {"Label8", "身份證號", 45, 345, 1200},  {"Label6", "類別", 1380, 345, 1080},
    {"Label11", "出生日期", 3405, 360, 1080}, {"Label5", "傳真", 7395, 375, 630},
    {"Label9", "通訊地址", 60, 645, 1290},  {"Label10", "戶籍地址", 5220, 675, 1290},
};

// Each field stands under its own caption: the mailing address under "通訊地址", the
// registered address under "戶籍地址", the company fax under "傳真", and the identity number
// fills the place under "身份證號".
constexpr Placed kFields[] = {
    {"txtRV120", "會員編號", 45, 45, 1140},  {"Text1", "中文姓名", 1290, 60, 1995},
    {"Text3", "英文姓名", 3390, 30, 3825},   {"Text4", "聯絡電話", 7275, 30, 3615},
    {"Text9", "身分證號", 45, 330, 1200},    {"Text2", "類別", 1305, 330, 1110},
    {"Text6", "出生日期", 3390, 345, 3825},  {"Text5", "公司傳真", 7290, 345, 3600},
    {"Text7", "通訊地址", 105, 690, 4830},   {"Text8", "戶籍住址", 5130, 660, 5790},
};

}  // namespace

會員資料管理Rpt::會員資料管理Rpt()
    : Report(QStringLiteral("會員資料列表"), kReportHeader, kPageHeader, kDetail, kPageFooter, kReportFooter)
{
    setReportWidth(11115);
    setLeftMargin(400);

    report::Section& rh = section(kReportHeader);
    rh.height = 1035;
    rh.addLabel("Label14", "%i", 7680, 90, 3285, 390, kTitleFont, Align::Right);
    rh.addLabel("Label16", "列印日期:", 150, 720, 855, 225, kReportFont);
    rh.addLabel("Label15", "%d", 1050, 690, 885, 240, kReportFont);
    rh.addLabel("Label19", "列印頁數:", 9210, 720, 855, 225, kReportFont);
    rh.addLabel("Label17", "%p", 10125, 720, 300, 240, kReportFont, Align::Right);
    rh.addLabel("Label20", "／", 10470, 720, 225, 225, kReportFont, Align::Center);
    rh.addLabel("Label18", "%P", 10710, 720, 315, 240, kReportFont);
    rh.addLine("Line3", 45, 1020, 10935);

    report::Section& ph = section(kPageHeader);
    ph.height = 1050;
    for (const Placed& c : kCaptions)
        ph.addLabel(QString::fromUtf8(c.name), QString::fromUtf8(c.text), c.left, c.top, c.width, 240, kCaptionFont);
    ph.addLine("Line2", 75, 960, 10890);
    ph.addLine("Line4", 75, 1005, 10890);

    report::Section& d = section(kDetail);
    d.height = 1200;
    for (const Placed& f : kFields)
        d.addField(QString::fromUtf8(f.name), QString::fromUtf8(f.text), f.left, f.top, f.width, 240, kFieldFont);
    d.addLine("Line1", 0, 1140, 10980);

    section(kPageFooter).height = 0;
    section(kReportFooter).height = 0;

    // Closing puts the preview back to its normal state and is never refused.
    onQueryClose = [](report::ReportWindow& window) {
        window.setWindowState(Qt::WindowNoState);
        return true;
    };
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
    // Kept for the life of the process: the preview may still be open when the program ends.
    static 會員資料管理Rpt* instance = new 會員資料管理Rpt;
    return *instance;
}
