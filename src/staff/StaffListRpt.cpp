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

// Each caption stands over the field printed at the same place in the detail block; the page
// number sits at the right.
constexpr Placed kCaptions[] = {
    Placed::Caption("Label1", "部門名稱", 0, 15, 1000),      Placed::Caption("Label2", "中文姓名", 1005, 15, 1200),
    Placed::Caption("Label3", "出生日期", 2265, 15, 1200),   Placed::Caption("Label4", "職稱", 3570, 15, 1140),
    Placed::Caption("Label5", "性別", 4785, 15, 1140),       Placed::Caption("Label6", "電話", 6000, 15, 1440),
    Placed::Caption("Label7", "到職日", 7530, 15, 1110),     Placed::Caption("Label8", "e-mail", 8880, 15, 1200),
    Placed::Caption("Label9", "頁數:", 10155, 15, 840),      Placed::Caption("Label10", "員工編號", 0, 240, 1000),
    Placed::Caption("Label11", "英文姓名", 1005, 240, 1200), Placed::Caption("Label12", "身份證字號", 2265, 240, 1290),
    Placed::Caption("Label13", "加保日期", 3570, 240, 1140), Placed::Caption("Label14", "職級別", 4770, 240, 1140),
    Placed::Caption("Label15", "行動電話", 6000, 240, 1440), Placed::Caption("Label16", "離職日", 7530, 240, 1110),
    Placed::Caption("Label17", "ICQ/MSN", 8865, 240, 1200),
    Placed::Text("Label18", "%p", 10125, 240, 330, 240, Align::Right),
    Placed::Text("Label19", "/", 10485, 240, 195, 240),
    Placed::Text("Label20", "%P", 10695, 240, 330, 240),
    Placed::Caption("Label21", "現住地址", 30, 510, 1200),   Placed::Caption("Label22", "戶籍地址", 5175, 510, 1200),
    Placed::Rule("Line1", 15, 465, 10995),                   Placed::Rule("Line2", 0, 750, 11025),
};

constexpr Placed kBlock[] = {
    Placed::Field(nullptr, "RV17A0", 0, 20, 930),           Placed::Field(nullptr, "RV17A2", 1005, 20, 1185),
    Placed::Field(nullptr, "RV17A4", 2265, 30, 1215),       Placed::Field(nullptr, "RV17A8", 3555, 0, 1125),
    Placed::Field(nullptr, "RV17A6", 4770, 15, 1125),       Placed::Field(nullptr, "RV17A9", 6060, 30, 1440),
    Placed::Field(nullptr, "RV17A12", 7590, 30, 1110),      Placed::Field(nullptr, "RV17A5", 8850, 30, 2205),
    Placed::Field(nullptr, "RV17A1", 0, 255, 900),          Placed::Field(nullptr, "EnglishName", 1005, 255, 1200),
    Placed::Field(nullptr, "RV17A7", 2265, 255, 1200),      Placed::Field(nullptr, "AddInsuranceDate", 3570, 255, 1140),
    Placed::Field(nullptr, "EmployeePart", 4770, 285, 1125), Placed::Field(nullptr, "RV17A11", 6060, 270, 1440),
    Placed::Field(nullptr, "RV17A13", 7590, 270, 1110),     Placed::Field(nullptr, "RV17A10", 8865, 285, 2175),
    Placed::Field(nullptr, "RV17A15", 30, 540, 4845),       Placed::Field(nullptr, "RV17A14", 5130, 525, 5535),
    Placed::Rule("Line4", 30, 225, 10995),                  Placed::Rule("Line5", 0, 480, 10995),
    Placed::Rule("Line6", 45, 840, 10995),
};

}  // namespace

員工資料Rpt::員工資料Rpt()
    : ListReport({.title = QStringLiteral("員工資料列表"),
                  .width = 11040,
                  .reportHeader = {900, kHead},
                  .pageHeader = {765, kCaptions},
                  .detail = {870, kBlock}})
{
}

員工資料Rpt& 員工資料Rpt::Instance()
{
    return report::KeptInstance<員工資料Rpt>();
}
