#include "customers/CustomerListRpt.h"

using report::Align;
using report::Placed;

namespace {

// Where a column stands: left edge and width in twips.  A caption stands over its field at the
// same place, the field 15 twips lower.
struct Span {
    int left, width;
};
constexpr Span kCode{45, 1335};         // code / short name
constexpr Span kName{1440, 3240};       // full name
constexpr Span kSales{1440, 1035};      // salesperson, category and grade share the second line
constexpr Span kCategory{2535, 1035};
constexpr Span kGrade{3630, 1050};
constexpr Span kPhone{4740, 1425};      // telephone / fax
constexpr Span kPerson{6225, 1080};     // person in charge / tax number
constexpr Span kAddress{7365, 3750};    // company address / invoice address

constexpr int kLine1 = 30, kLine2 = 300;
constexpr int kReportWidth = 11115, kRule = kReportWidth - 45;

constexpr report::Column At(const char* name, const char* caption, const char* field, Span at, int line)
{
    return {name, caption, {at.left, line, at.width}, nullptr, field, {at.left, line + 15, at.width}};
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

constexpr report::Column kColumns[] = {
    At("Label1", "客戶代號", "RV120", kCode, kLine1),       At("Label2", "客戶簡稱", "RV121", kCode, kLine2),
    At("Label3", "客戶全銜", "客戶全銜", kName, kLine1),    At("Label4", "電話", "RV123", kPhone, kLine1),
    At("Label5", "傳真", "RV124", kPhone, kLine2),          At("Label6", "負責人", "RV126", kPerson, kLine1),
    At("Label7", "統一編號", "RV127", kPerson, kLine2),     At("Label8", "公司地址", "RV128", kAddress, kLine1),
    At("Label9", "發票地址", "RV129", kAddress, kLine2),    At("Label10", "服務業務", "RV1210", kSales, kLine2),
    At("Label11", "客戶分類", "類別", kCategory, kLine2),   At("Label12", "客戶級別", "級別", kGrade, kLine2),
};

constexpr Placed kCaptionRules[] = {Placed::Rule("Line2", 45, 585, kRule), Placed::Rule("Line4", 45, 630, kRule)};
constexpr Placed kBlockRule[] = {Placed::Rule("Line1", 45, 600, kRule)};

}  // namespace

客戶資料管理Rpt::客戶資料管理Rpt()
    : ListReport({.title = QStringLiteral("客戶資料列表"),
                  .width = kReportWidth,
                  .reportHeader = {1035, kHead},
                  .pageHeader = {675, kCaptionRules},
                  .detail = {615, kBlockRule},
                  .columns = kColumns,
                  .normalStateOnClose = true,
                  .detailName = kDetail})
{
}

客戶資料管理Rpt& 客戶資料管理Rpt::Instance()
{
    return report::KeptInstance<客戶資料管理Rpt>();
}
