#include "customers/CustomerListRpt.h"

using report::Align;
using report::Placed;

namespace {

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

constexpr int kLine1 = 30, kLine2 = 300;
constexpr int kReportWidth = 11115, kRule = kReportWidth - 45;

constexpr Placed Caption(const char* name, const char* text, Column c, int top)
{
    return Placed::Caption(name, text, c.left, top, c.width);
}
constexpr Placed Field(const char* column, Column c, int top)
{
    return Placed::Field(nullptr, column, c.left, top + 15, c.width);
}

constexpr Placed kHead[] = {
    Placed::Title("Label14", 7680, 90, 3285, 390),
    Placed::Text("Label16", "列印日期:", 150, 720, 855, 225),
    Placed::Text("Label15", "%d", 1050, 720, 1200, 225),
    Placed::Text("Label19", "列印頁數:", 9060, 720, 855, 225),
    Placed::Text("Label17", "%p", 9915, 720, 480, 225, Align::Right),
    Placed::Text("Label20", "／", 10410, 720, 225, 225, Align::Center),
    Placed::Text("Label18", "%P", 10650, 720, 480, 225),
    Placed::Rule("Line3", 45, 1020, kRule),
};

constexpr Placed kCaptions[] = {
    Caption("Label1", "客戶代號", kCode, kLine1),     Caption("Label2", "客戶簡稱", kCode, kLine2),
    Caption("Label3", "客戶全銜", kName, kLine1),     Caption("Label4", "電話", kPhone, kLine1),
    Caption("Label5", "傳真", kPhone, kLine2),        Caption("Label6", "負責人", kPerson, kLine1),
    Caption("Label7", "統一編號", kPerson, kLine2),   Caption("Label8", "公司地址", kAddress, kLine1),
    Caption("Label9", "發票地址", kAddress, kLine2),  Caption("Label10", "服務業務", kSales, kLine2),
    Caption("Label11", "客戶分類", kCategory, kLine2), Caption("Label12", "客戶級別", kGrade, kLine2),
    Placed::Rule("Line2", 45, 585, kRule),            Placed::Rule("Line4", 45, 630, kRule),
};

constexpr Placed kBlock[] = {
    Placed::Rule("Line1", 45, 600, kRule),
    Field("RV120", kCode, kLine1),     Field("RV123", kPhone, kLine1),   Field("客戶全銜", kName, kLine1),
    Field("RV128", kAddress, kLine1),  Field("RV126", kPerson, kLine1),  Field("RV121", kCode, kLine2),
    Field("RV124", kPhone, kLine2),    Field("RV129", kAddress, kLine2), Field("RV127", kPerson, kLine2),
    Field("RV1210", kSales, kLine2),   Field("類別", kCategory, kLine2), Field("級別", kGrade, kLine2),
};

}  // namespace

客戶資料管理Rpt::客戶資料管理Rpt()
    : ListReport({.title = QStringLiteral("客戶資料列表"),
                  .width = kReportWidth,
                  .reportHeader = {1035, kHead},
                  .pageHeader = {675, kCaptions},
                  .detail = {615, kBlock},
                  .normalStateOnClose = true,
                  .detailName = kDetail})
{
}

客戶資料管理Rpt& 客戶資料管理Rpt::Instance()
{
    return report::KeptInstance<客戶資料管理Rpt>();
}
