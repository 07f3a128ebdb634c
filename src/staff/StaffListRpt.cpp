#include "staff/StaffListRpt.h"

using report::Align;
using report::Placed;

namespace {

constexpr Placed kHead[] = {
    Placed::Title("LabelTitle", 6660, 60, 4335, 450),
    Placed::Text("LabelDate", "列印日期:", 9195, 570, 840, 240),
    Placed::Text("LabelToday", "%d", 10065, 570, 990, 240),
    Placed::Rule("Line3", 45, 870, 10995),
};

// Three lines of columns.
constexpr report::Column kColumns[] = {
    {"Label1", "部門名稱", {0, 15, 1000}, nullptr, "RV17A0", {0, 20, 930}},
    {"Label2", "中文姓名", {1005, 15, 1200}, nullptr, "RV17A2", {1005, 20, 1185}},
    {"Label3", "出生日期", {2265, 15, 1200}, nullptr, "RV17A4", {2265, 30, 1215}},
    {"Label4", "職稱", {3570, 15, 1140}, nullptr, "RV17A8", {3555, 0, 1125}},
    {"Label5", "性別", {4785, 15, 1140}, nullptr, "RV17A6", {4770, 15, 1125}},
    {"Label6", "電話", {6000, 15, 1440}, nullptr, "RV17A9", {6060, 30, 1440}},
    {"Label7", "到職日", {7530, 15, 1110}, nullptr, "RV17A12", {7590, 30, 1110}},
    {"Label8", "e-mail", {8880, 15, 1200}, nullptr, "RV17A5", {8850, 30, 2205}},
    {"Label10", "員工編號", {0, 240, 1000}, nullptr, "RV17A1", {0, 255, 900}},
    {"Label11", "英文姓名", {1005, 240, 1200}, nullptr, "EnglishName", {1005, 255, 1200}},
    {"Label12", "身份證字號", {2265, 240, 1290}, nullptr, "RV17A7", {2265, 255, 1200}},
    {"Label13", "加保日期", {3570, 240, 1140}, nullptr, "AddInsuranceDate", {3570, 255, 1140}},
    {"Label14", "職級別", {4770, 240, 1140}, nullptr, "EmployeePart", {4770, 285, 1125}},
    {"Label15", "行動電話", {6000, 240, 1440}, nullptr, "RV17A11", {6060, 270, 1440}},
    {"Label16", "離職日", {7530, 240, 1110}, nullptr, "RV17A13", {7590, 270, 1110}},
    {"Label17", "ICQ/MSN", {8865, 240, 1200}, nullptr, "RV17A10", {8865, 285, 2175}},
    {"Label21", "現住地址", {30, 510, 1200}, nullptr, "RV17A15", {30, 540, 4845}},
    {"Label22", "戶籍地址", {5175, 510, 1200}, nullptr, "RV17A14", {5130, 525, 5535}},
};

// The page number stands at the right of the captions, under its own caption.
constexpr Placed kPageAndRules[] = {
    Placed::Caption("Label9", "頁數:", 10155, 15, 840),
    Placed::Text("Label18", "%p", 10125, 240, 330, 240, Align::Right),
    Placed::Text("Label19", "/", 10485, 240, 195, 240),
    Placed::Text("Label20", "%P", 10695, 240, 330, 240),
    Placed::Rule("Line1", 15, 465, 10995),
    Placed::Rule("Line2", 0, 750, 11025),
};

constexpr Placed kBlockRules[] = {
    Placed::Rule("Line4", 30, 225, 10995),
    Placed::Rule("Line5", 0, 480, 10995),
    Placed::Rule("Line6", 45, 840, 10995),
};

}  // namespace

員工資料Rpt::員工資料Rpt()
    : ListReport({.title = QStringLiteral("員工資料列表"),
                  .width = 11040,
                  .reportHeader = {900, kHead},
                  .pageHeader = {765, kPageAndRules},
                  .detail = {870, kBlockRules},
                  .columns = kColumns})
{
}

員工資料Rpt& 員工資料Rpt::Instance()
{
    return report::KeptInstance<員工資料Rpt>();
}
