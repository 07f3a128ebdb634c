#include "contacts/ContactListRpt.h"

using report::Align;
using report::Placed;

namespace {

constexpr Placed kHead[] = {
    Placed::Title("LabelTitle", 6330, 75, 4650, 375),
    Placed::Text("Label22", "列印日期:", 30, 510, 840, 240),
    Placed::Text("Label14", "%d", 870, 510, 1410, 240),
    Placed::Text("Label21", "頁數:", 9120, 510, 450, 240),
    Placed::Text("Label15", "%p", 10095, 510, 345, 240, Align::Right),
    Placed::Text("Label20", "/", 10485, 510, 150, 210, Align::Center),
    Placed::Text("Label19", "%P", 10650, 510, 330, 240),
    Placed::Rule("Line3", 60, 780, 11010),
};

// Seven columns of two lines (tops 30 and 255), from the left.
constexpr report::Column kColumns[] = {
    {"Label1", "分類編號", {10, 30, 810}, "txtRV18A0", "類別", {15, 30, 735}},
    {"Label2", "編號", {10, 255, 645}, "txtRV18A1", "RV18A1", {10, 255, 735}},
    {"Label3", "中文姓名", {870, 30, 1140}, "txtRV18A2", "RV18A2", {870, 30, 1200}},
    {"Label4", "英文姓名", {870, 255, 1170}, "txtRV18A3", "RV18A3", {870, 255, 1200}},
    {"Label6", "性別", {2130, 30, 690}, "txtRV18A5", "性別", {2130, 30, 1050}},
    {"Label5", "出生日期", {2130, 255, 1065}, "txtRV18A4", "RV18A4", {2130, 255, 1065}},
    {"Label9", "電話", {3300, 30, 1290}, "txtRV18A9", "RV18A9", {3300, 30, 1650}},
    {"Label11", "行動電話", {3300, 255, 1290}, "txtRV18A11", "RV18A11", {3300, 255, 1665, 255}},
    {"Label7", "身份證號", {5025, 30, 1290}, "txtRV18A7", "RV18A7", {5025, 30, 1155, 210}},
    {"Label8", "關係", {5025, 255, 480}, "txtRV18A8", "RV18A8", {5025, 255, 1170}},
    {"Label12", "公司電話", {6345, 30, 1290}, "txtRV18A12", "RV18A12", {6345, 30, 1695}},
    {"Label13", "傳真", {6345, 255, 1290}, "txtRV18A13", "RV18A13", {6345, 255, 1695}},
    {"Label16", "戶籍地址", {8025, 30, 3000}, "txtRV18A16", "RV18A15", {8025, 30, 2955}},
    {"Label17", "現在地址", {8025, 255, 3030}, "txtRV18A17", "RV18A16", {8025, 255, 2985}},
};

constexpr Placed kCaptionRule[] = {Placed::Rule("Line2", 30, 495, 11010)};
constexpr Placed kBlockRule[] = {Placed::Rule("Line1", 0, 495, 11010)};

report::ListFonts Fonts()
{
    report::ListFonts fonts;
    fonts.title.pointSize = 21.75;
    return fonts;
}

}  // namespace

個人通訊Rpt::個人通訊Rpt()
    : ListReport({.title = QStringLiteral("個人通訊列表"),
                  .width = 11070,
                  .fonts = Fonts(),
                  .reportHeader = {840, kHead},
                  .pageHeader = {555, kCaptionRule},
                  .detail = {510, kBlockRule},
                  .columns = kColumns,
                  .detailName = kDetail})
{
}

個人通訊Rpt& 個人通訊Rpt::Instance()
{
    return report::KeptInstance<個人通訊Rpt>();
}
