#include "staff/StaffListRpt.h"

using report::Align;
using report::Font;

namespace {

const Font kTitleFont{QStringLiteral("新細明體"), 18, true};
const Font kReportFont{QStringLiteral("新細明體"), 9};
const Font kCaptionFont{QStringLiteral("新細明體"), 9.75, true};
const Font kFieldFont{QStringLiteral("新細明體"), 9};

constexpr int kTextHeight = 240;

// Page-header labels: name, text, left, top, width.  Each caption stands over the field
// printed at the same place in the detail block; the page number sits at the right.
struct Caption {
    const char* name;
    const char* text;
    int left, top, width;
};
constexpr Caption kCaptions[] = {
    {"Label1", "部門名稱", 0, 15, 1000},      {"Label2", "中文姓名", 1005, 15, 1200},
    {"Label3", "出生日期", 2265, 15, 1200},   {"Label4", "職稱", 3570, 15, 1140},
    {"Label5", "性別", 4785, 15, 1140},       {"Label6", "電話", 6000, 15, 1440},
    {"Label7", "到職日", 7530, 15, 1110},     {"Label8", "e-mail", 8880, 15, 1200},
    {"Label9", "頁數:", 10155, 15, 840},      {"Label10", "員工編號", 0, 240, 1000},
    {"Label11", "英文姓名", 1005, 240, 1200}, {"Label12", "身份證字號", 2265, 240, 1290},
    {"Label13", "加保日期", 3570, 240, 1140}, {"Label14", "職級別", 4770, 240, 1140},
    {"Label15", "行動電話", 6000, 240, 1440}, {"Label16", "離職日", 7530, 240, 1110},
    {"Label17", "ICQ/MSN", 8865, 240, 1200},  {"Label18", "%p", 10125, 240, 330},
    {"Label19", "/", 10485, 240, 195},        {"Label20", "%P", 10695, 240, 330},
    {"Label21", "現住地址", 30, 510, 1200},   {"Label22", "戶籍地址", 5175, 510, 1200},
};

// Fields of the detail block: column, left, top, width.
struct Bound {
    const char* column;
    int left, top, width;
};
constexpr Bound kFields[] = {
    {"RV17A0", 0, 20, 930},           {"RV17A2", 1005, 20, 1185},     {"RV17A4", 2265, 30, 1215},
    {"RV17A8", 3555, 0, 1125},        {"RV17A6", 4770, 15, 1125},     {"RV17A9", 6060, 30, 1440},
    {"RV17A12", 7590, 30, 1110},      {"RV17A5", 8850, 30, 2205},     {"RV17A1", 0, 255, 900},
    {"EnglishName", 1005, 255, 1200}, {"RV17A7", 2265, 255, 1200},    {"AddInsuranceDate", 3570, 255, 1140},
    {"EmployeePart", 4770, 285, 1125}, {"RV17A11", 6060, 270, 1440},  {"RV17A13", 7590, 270, 1110},
    {"RV17A10", 8865, 285, 2175},     {"RV17A15", 30, 540, 4845},     {"RV17A14", 5130, 525, 5535},
};

}  // namespace

員工資料Rpt::員工資料Rpt()
    : Report(QStringLiteral("員工資料列表"), kReportHeader, kPageHeader, kDetail, kPageFooter, kReportFooter)
{
    setReportWidth(11040);
    setLeftMargin(400);

    report::Section& rh = section(kReportHeader);
    rh.height = 900;
    rh.addLabel("LabelTitle", "%i", 6660, 60, 4335, 450, kTitleFont, Align::Right);
    rh.addLabel("LabelDate", "列印日期:", 9195, 570, 840, 240, kReportFont);
    rh.addLabel("LabelToday", "%d", 10065, 570, 990, 240, kReportFont);
    rh.addLine("Line3", 45, 870, 10995);

    report::Section& ph = section(kPageHeader);
    ph.height = 765;
    for (const Caption& c : kCaptions) {
        const QString text = QString::fromUtf8(c.text);
        const bool pageCode = text.startsWith(QLatin1Char('%')) || text == QLatin1String("/");
        ph.addLabel(QString::fromUtf8(c.name), text, c.left, c.top, c.width, kTextHeight,
                    pageCode ? kReportFont : kCaptionFont, text == QLatin1String("%p") ? Align::Right : Align::Left);
    }
    ph.addLine("Line1", 15, 465, 10995);
    ph.addLine("Line2", 0, 750, 11025);

    report::Section& d = section(kDetail);
    d.height = 870;
    for (const Bound& f : kFields) {
        const QString column = QString::fromUtf8(f.column);
        d.addField(QStringLiteral("txt") + column, column, f.left, f.top, f.width, kTextHeight, kFieldFont);
    }
    d.addLine("Line4", 30, 225, 10995);
    d.addLine("Line5", 0, 480, 10995);
    d.addLine("Line6", 45, 840, 10995);

    section(kPageFooter).height = 0;
    section(kReportFooter).height = 0;
}

員工資料Rpt& 員工資料Rpt::Instance()
{
    // Kept for the life of the process: the preview may still be open when the program ends.
    static 員工資料Rpt* instance = new 員工資料Rpt;
    return *instance;
}
