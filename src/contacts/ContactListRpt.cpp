#include "contacts/ContactListRpt.h"

using report::Align;
using report::Font;

namespace {

const Font kTitleFont{QStringLiteral("新細明體"), 21.75, true};
const Font kReportFont{QStringLiteral("新細明體"), 9};
const Font kCaptionFont{QStringLiteral("新細明體"), 9.75, true};
const Font kFieldFont{QStringLiteral("新細明體"), 9};

constexpr int kLine1 = 30, kLine2 = 255;

// Seven columns of two lines: each caption stands over the field printed at its place.
struct Column {
    int left;
    const char* caption1;
    const char* label1;
    int captionWidth1;
    const char* column1;
    const char* field1;
    int left1, top1, width1, height1;
    const char* caption2;
    const char* label2;
    int captionWidth2;
    const char* column2;
    const char* field2;
    int left2, top2, width2, height2;
};

constexpr Column kColumns[] = {
    {10, "分類編號", "Label1", 810, "類別", "txtRV18A0", 15, 30, 735, 240,
     "編號", "Label2", 645, "RV18A1", "txtRV18A1", 10, 255, 735, 240},
    {870, "中文姓名", "Label3", 1140, "RV18A2", "txtRV18A2", 870, 30, 1200, 240,
     "英文姓名", "Label4", 1170, "RV18A3", "txtRV18A3", 870, 255, 1200, 240},
    {2130, "性別", "Label6", 690, "性別", "txtRV18A5", 2130, 30, 1050, 240,
     "出生日期", "Label5", 1065, "RV18A4", "txtRV18A4", 2130, 255, 1065, 240},
    {3300, "電話", "Label9", 1290, "RV18A9", "txtRV18A9", 3300, 30, 1650, 240,
     "行動電話", "Label11", 1290, "RV18A11", "txtRV18A11", 3300, 255, 1665, 255},
    {5025, "身份證號", "Label7", 1290, "RV18A7", "txtRV18A7", 5025, 30, 1155, 210,
     "關係", "Label8", 480, "RV18A8", "txtRV18A8", 5025, 255, 1170, 240},
    {6345, "公司電話", "Label12", 1290, "RV18A12", "txtRV18A12", 6345, 30, 1695, 240,
     "傳真", "Label13", 1290, "RV18A13", "txtRV18A13", 6345, 255, 1695, 240},
    {8025, "戶籍地址", "Label16", 3000, "RV18A15", "txtRV18A16", 8025, 30, 2955, 240,
     "現在地址", "Label17", 3030, "RV18A16", "txtRV18A17", 8025, 255, 2985, 240},
};

QString U(const char* text) { return QString::fromUtf8(text); }

}  // namespace

個人通訊Rpt::個人通訊Rpt()
    : Report(QStringLiteral("個人通訊列表"), kReportHeader, kPageHeader, kDetail, kPageFooter, kReportFooter)
{
    setReportWidth(11070);
    setLeftMargin(400);

    report::Section& rh = section(kReportHeader);
    rh.height = 840;
    rh.addLabel("LabelTitle", "%i", 6330, 75, 4650, 375, kTitleFont, Align::Right);
    rh.addLabel("Label22", "列印日期:", 30, 510, 840, 240, kReportFont);
    rh.addLabel("Label14", "%d", 870, 510, 1410, 240, kReportFont);
    rh.addLabel("Label21", "頁數:", 9120, 510, 450, 240, kReportFont);
    rh.addLabel("Label15", "%p", 10095, 510, 345, 240, kReportFont, Align::Right);
    rh.addLabel("Label20", "/", 10485, 510, 150, 210, kReportFont, Align::Center);
    rh.addLabel("Label19", "%P", 10650, 510, 330, 240, kReportFont);
    rh.addLine("Line3", 60, 780, 11010);

    report::Section& ph = section(kPageHeader);
    ph.height = 555;
    report::Section& d = section(kDetail);
    d.height = 510;
    for (const Column& c : kColumns) {
        ph.addLabel(U(c.label1), U(c.caption1), c.left, kLine1, c.captionWidth1, 240, kCaptionFont);
        ph.addLabel(U(c.label2), U(c.caption2), c.left, kLine2, c.captionWidth2, 240, kCaptionFont);
        d.addField(U(c.field1), U(c.column1), c.left1, c.top1, c.width1, c.height1, kFieldFont);
        d.addField(U(c.field2), U(c.column2), c.left2, c.top2, c.width2, c.height2, kFieldFont);
    }
    ph.addLine("Line2", 30, 495, 11010);
    d.addLine("Line1", 0, 495, 11010);

    section(kPageFooter).height = 0;
    section(kReportFooter).height = 0;
}

個人通訊Rpt& 個人通訊Rpt::Instance()
{
    // Kept for the life of the process: the preview may still be open when the program ends.
    static 個人通訊Rpt* instance = new 個人通訊Rpt;
    return *instance;
}
