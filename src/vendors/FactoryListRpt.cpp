#include "vendors/FactoryListRpt.h"

using report::Align;
using report::Placed;

namespace {

constexpr Placed kHead[] = {
    Placed::Title("Label14", 7680, 30, 3285, 390),
    Placed::Text("Label16", "列印日期:", 0, 630, 855, 225),
    Placed::Text("Label15", "%d", 900, 600, 885, 240),
    Placed::Text("Label19", "列印頁數:", 9210, 660, 855, 225),
    Placed::Text("Label17", "%p", 10125, 660, 300, 240, Align::Right),
    Placed::Text("Label20", "／", 10470, 660, 225, 225, Align::Center),
    Placed::Text("Label18", "%P", 10710, 660, 315, 240),
    Placed::Rule("Line3", 15, 915, 10935),
};

// Three lines of columns.
constexpr report::Column kColumns[] = {
    {"Label1", "廠商代號", {45, 30, 1080}, nullptr, "RV111", {45, 45, 975}},
    {"Label2", "廠商全銜", {1150, 30, 1080}, nullptr, "RV113", {1150, 45, 3510}},
    {"Label3", "統一編號", {4680, 30, 1080}, nullptr, "RV117", {4680, 45, 1080}},
    {"Label4", "負責人", {5940, 30, 1080}, nullptr, "RV115", {5940, 45, 1080}},
    {"Label5", "聯絡人", {7005, 30, 1080}, nullptr, "RV114", {7125, 45, 1080}},
    {"Label6", "付款方式", {8250, 30, 1080}, nullptr, "RV118", {8250, 45, 1080}},
    {"Label7", "廠商狀況", {9600, 30, 1080}, nullptr, "廠商狀況", {9600, 45, 1080}},
    {"Label8", "廠商簡稱", {45, 270, 1080}, nullptr, "RV112", {45, 285, 975}},
    {"Label9", "電話", {1150, 270, 1080}, nullptr, "RV1113", {1150, 285, 3540}},
    {"Label10", "傳真", {4680, 270, 1080}, nullptr, "RV1114", {4680, 285, 3540}},
    {"Label11", "行動電話", {8250, 270, 1080}, nullptr, "RV116", {8250, 285, 2460}},
    {"Label12", "公司地址", {1150, 525, 1080}, nullptr, "RV1111", {1150, 530, 4680}},
    {"Label13", "發票地址", {5925, 525, 1080}, nullptr, "RV1112", {5940, 530, 4845}},
};

constexpr Placed kCaptionRules[] = {Placed::Rule("Line2", 45, 780, 10890), Placed::Rule("Line4", 45, 825, 10890)};
constexpr Placed kBlockRule[] = {Placed::Rule("Line1", 15, 795, 10980)};

}  // namespace

廠商報表列印Rpt::廠商報表列印Rpt()
    : ListReport({.title = QStringLiteral("廠商資料列表"),
                  .width = 11025,
                  .reportHeader = {960, kHead},
                  .pageHeader = {840, kCaptionRules},
                  .detail = {810, kBlockRule},
                  .columns = kColumns,
                  .reportFooterHeight = 60,
                  .normalStateOnClose = true})
{
}

廠商報表列印Rpt& 廠商報表列印Rpt::Instance()
{
    return report::KeptInstance<廠商報表列印Rpt>();
}
