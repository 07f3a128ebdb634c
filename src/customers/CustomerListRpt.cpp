#include "customers/CustomerListRpt.h"

#include "platform/report/ReportWindow.h"

using report::Font;

namespace {

const Font kTitleFont{QStringLiteral("新細明體"), 18, true};
const Font kReportFont{QStringLiteral("新細明體"), 9};
const Font kCaptionFont{QStringLiteral("新細明體"), 9.75, true};
const Font kFieldFont{QStringLiteral("新細明體"), 9};

// Columns of the two-line block: left edge and width in twips.  Each caption stands over the
// field printed at the same place in the detail.
struct Column {
    int left, width;
};
constexpr Column kCode{45, 1335};         // code / short name
constexpr Column kName{1440, 3240};       // full name
constexpr Column kSales{1440, 1035};      // salesperson, category and grade share the second line
constexpr Column kCategory{2535, 1035};
constexpr Column kGrade{3630, 1050};
constexpr Column kPhone{4740, 1425};      // telephone / fax
constexpr Column kPerson{6225, 1080};     // person in charge / tax number
constexpr Column kAddress{7365, 3750};    // company address / invoice address

constexpr int kLine1 = 30, kLine2 = 300, kTextHeight = 240;
constexpr int kReportWidth = 11115;

}  // namespace

客戶資料管理Rpt::客戶資料管理Rpt()
    : Report(QStringLiteral("客戶資料列表"), kReportHeader, kPageHeader, kDetail, kPageFooter, kReportFooter)
{
    setReportWidth(kReportWidth);
    setLeftMargin(400);

    report::Section& rh = section(kReportHeader);
    rh.height = 1035;
    rh.addLabel("Label14", "%i", 7680, 90, 3285, 390, kTitleFont, report::Align::Right);
    rh.addLabel("Label16", "列印日期:", 150, 720, 855, 225, kReportFont);
    rh.addLabel("Label15", "%d", 1050, 720, 1200, 225, kReportFont);
    rh.addLabel("Label19", "列印頁數:", 9060, 720, 855, 225, kReportFont);
    rh.addLabel("Label17", "%p", 9915, 720, 480, 225, kReportFont, report::Align::Right);
    rh.addLabel("Label20", "／", 10410, 720, 225, 225, kReportFont, report::Align::Center);
    rh.addLabel("Label18", "%P", 10650, 720, 480, 225, kReportFont);
    rh.addLine("Line3", 45, 1020, kReportWidth - 45);

    report::Section& ph = section(kPageHeader);
    ph.height = 675;
    auto caption = [&](const char* name, const char* text, Column c, int top) {
        ph.addLabel(QString::fromUtf8(name), QString::fromUtf8(text), c.left, top, c.width, kTextHeight, kCaptionFont);
    };
    caption("Label1", "客戶代號", kCode, kLine1);
    caption("Label2", "客戶簡稱", kCode, kLine2);
    caption("Label3", "客戶全銜", kName, kLine1);
    caption("Label4", "電話", kPhone, kLine1);
    caption("Label5", "傳真", kPhone, kLine2);
    caption("Label6", "負責人", kPerson, kLine1);
    caption("Label7", "統一編號", kPerson, kLine2);
    caption("Label8", "公司地址", kAddress, kLine1);
    caption("Label9", "發票地址", kAddress, kLine2);
    caption("Label10", "服務業務", kSales, kLine2);
    caption("Label11", "客戶分類", kCategory, kLine2);
    caption("Label12", "客戶級別", kGrade, kLine2);
    ph.addLine("Line2", 45, 585, kReportWidth - 45);
    ph.addLine("Line4", 45, 630, kReportWidth - 45);

    report::Section& d = section(kDetail);
    d.height = 615;
    auto field = [&](const char* column, Column c, int top) {
        const QString name = QString::fromUtf8(column);
        d.addField(QStringLiteral("txt") + name, name, c.left, top + 15, c.width, kTextHeight, kFieldFont);
    };
    d.addLine("Line1", 45, 600, kReportWidth - 45);
    field("RV120", kCode, kLine1);
    field("RV123", kPhone, kLine1);
    field("客戶全銜", kName, kLine1);
    field("RV128", kAddress, kLine1);
    field("RV126", kPerson, kLine1);
    field("RV121", kCode, kLine2);
    field("RV124", kPhone, kLine2);
    field("RV129", kAddress, kLine2);
    field("RV127", kPerson, kLine2);
    field("RV1210", kSales, kLine2);
    field("類別", kCategory, kLine2);
    field("級別", kGrade, kLine2);

    section(kPageFooter).height = 0;
    section(kReportFooter).height = 0;

    // The look of the report window comes from the program's style sheet; closing puts the
    // window back to its normal state and is never refused.
    onQueryClose = [](report::ReportWindow& window) {
        window.setWindowState(Qt::WindowNoState);
        return true;
    };
}

客戶資料管理Rpt& 客戶資料管理Rpt::Instance()
{
    // Kept for the life of the process: the preview may still be open when the program ends.
    static 客戶資料管理Rpt* instance = new 客戶資料管理Rpt;
    return *instance;
}
