#include "vendors/FactoryListRpt.h"

#include "platform/report/ReportWindow.h"

using report::Align;
using report::Font;

namespace {

const Font kTitleFont{QStringLiteral("新細明體"), 18, true};
const Font kReportFont{QStringLiteral("新細明體"), 9};
const Font kCaptionFont{QStringLiteral("新細明體"), 9.75, true};
const Font kFieldFont{QStringLiteral("新細明體"), 9};

constexpr int kTextHeight = 240;

// Captions of the page header: name, text, left, top.  Each stands over the field printed
// at the same place in the detail block.
struct Caption {
    const char* name;
    const char* text;
    int left, top;
};
constexpr Caption kCaptions[] = {
    {"Label1", "廠商代號", 45, 30},    {"Label2", "廠商全銜", 1150, 30},  {"Label3", "統一編號", 4680, 30},
    {"Label4", "負責人", 5940, 30},    {"Label5", "聯絡人", 7005, 30},    {"Label6", "付款方式", 8250, 30},
    {"Label7", "廠商狀況", 9600, 30},  {"Label8", "廠商簡稱", 45, 270},   {"Label9", "電話", 1150, 270},
    {"Label10", "傳真", 4680, 270},    {"Label11", "行動電話", 8250, 270}, {"Label12", "公司地址", 1150, 525},
    {"Label13", "發票地址", 5925, 525},
};

// Fields of the detail block: column, left, top, width.
struct Bound {
    const char* column;
    int left, top, width;
};
constexpr Bound kFields[] = {
    {"RV111", 45, 45, 975},     {"RV113", 1150, 45, 3510},  {"RV117", 4680, 45, 1080},
    {"RV115", 5940, 45, 1080},  {"RV114", 7125, 45, 1080},  {"RV118", 8250, 45, 1080},
    {"廠商狀況", 9600, 45, 1080}, {"RV112", 45, 285, 975},    {"RV1113", 1150, 285, 3540},
    {"RV1114", 4680, 285, 3540}, {"RV116", 8250, 285, 2460}, {"RV1111", 1150, 530, 4680},
    {"RV1112", 5940, 530, 4845},
};

}  // namespace

廠商報表列印Rpt::廠商報表列印Rpt()
    : Report(QStringLiteral("廠商資料列表"), kReportHeader, kPageHeader, kDetail, kPageFooter, kReportFooter)
{
    setReportWidth(11025);
    setLeftMargin(400);

    report::Section& rh = section(kReportHeader);
    rh.height = 960;
    rh.addLabel("Label14", "%i", 7680, 30, 3285, 390, kTitleFont, Align::Right);
    rh.addLabel("Label16", "列印日期:", 0, 630, 855, 225, kReportFont);
    rh.addLabel("Label15", "%d", 900, 600, 885, 240, kReportFont);
    rh.addLabel("Label19", "列印頁數:", 9210, 660, 855, 225, kReportFont);
    rh.addLabel("Label17", "%p", 10125, 660, 300, 240, kReportFont, Align::Right);
    rh.addLabel("Label20", "／", 10470, 660, 225, 225, kReportFont, Align::Center);
    rh.addLabel("Label18", "%P", 10710, 660, 315, 240, kReportFont);
    rh.addLine("Line3", 15, 915, 10935);

    report::Section& ph = section(kPageHeader);
    ph.height = 840;
    for (const Caption& c : kCaptions)
        ph.addLabel(QString::fromUtf8(c.name), QString::fromUtf8(c.text), c.left, c.top, 1080, kTextHeight,
                    kCaptionFont);
    ph.addLine("Line2", 45, 780, 10890);
    ph.addLine("Line4", 45, 825, 10890);

    report::Section& d = section(kDetail);
    d.height = 810;
    for (const Bound& f : kFields) {
        const QString column = QString::fromUtf8(f.column);
        d.addField(QStringLiteral("txt") + column, column, f.left, f.top, f.width, kTextHeight, kFieldFont);
    }
    d.addLine("Line1", 15, 795, 10980);

    section(kPageFooter).height = 0;
    section(kReportFooter).height = 60;

    // Closing puts the preview back to its normal state and is never refused.
    onQueryClose = [](report::ReportWindow& window) {
        window.setWindowState(Qt::WindowNoState);
        return true;
    };
}

廠商報表列印Rpt& 廠商報表列印Rpt::Instance()
{
    // Kept for the life of the process: the preview may still be open when the program ends.
    static 廠商報表列印Rpt* instance = new 廠商報表列印Rpt;
    return *instance;
}
