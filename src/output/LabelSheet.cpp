#include "output/LabelSheet.h"

#include "core/SettingKeys.h"
#include "core/Settings.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const kFields[] = {"公司地址1", "公司地址2", "公司名稱1", "公司名稱2",
                               "收件人1",   "收件人2",   "郵遞區號1", "郵遞區號2"};
const int kSizes[] = {50, 50, 50, 50, 20, 20, 10, 10};

void Put(db::Recordset& rs, const char* field, const QVariant& value)
{
    rs.setValue(QString::fromUtf8(field), value);
}

int ReadOffset(const QString& key, int fallback)
{
    return OffsetTwips(ReadSetting(key, settings::kMain, 0), fallback);
}

}  // namespace

const LabelOffsetRow kLabelOffsetRows[4] = {
    {0, "adjustlabelUP", "與上面的距離", 180},
    {1, "adjustlabelLeft", "與左邊的距離", 100},
    {3, "PageFooter", "與下面留白", 400},
    {2, "ModelSpaceBetween", "模間距", 1600},
};

int OffsetTwips(const QString& text, int fallback)
{
    constexpr double kHeld = 1e9;
    const double v = vb::Val(text);
    if (v == 0)
        return fallback;
    return int(std::nearbyint(std::clamp(v, -kHeld, kHeld)));
}

QString CentimetreText(const QString& twipsText)
{
    const double v = vb::Val(twipsText);
    return QString::number(std::floor(v / 567.0 * 100.0) / 100.0, 'g', 15);
}

db::Recordset NewLabelSheet()
{
    db::Recordset rs;
    for (int i = 0; i < 8; ++i)
        rs.Append(QString::fromUtf8(kFields[i]), db::adLongVarWChar, kSizes[i]);
    rs.Open();
    return rs;
}

void LabelPairer::Write(const LabelParts& left, const LabelParts* right)
{
    sheet_.AddNew();
    Put(sheet_, "公司名稱1", left.company);
    Put(sheet_, "公司地址1", left.address);
    Put(sheet_, "收件人1", left.recipient);
    Put(sheet_, "郵遞區號1", left.postcode);
    if (right) {
        Put(sheet_, "公司名稱2", right->company);
        Put(sheet_, "公司地址2", right->address);
        Put(sheet_, "收件人2", right->recipient);
        Put(sheet_, "郵遞區號2", right->postcode);
    }
    sheet_.Update();
}

void LabelPairer::Add(const LabelParts& label)
{
    ++count_;
    if (count_ % 2 == 1) {
        held_ = label;
        return;
    }
    Write(*held_, &label);
    held_.reset();
}

void LabelPairer::AddTwin(const LabelParts& label)
{
    Write(label, &label);
}

db::Recordset LabelPairer::Finish()
{
    if (held_) {
        Write(*held_, nullptr);
        held_.reset();
    }
    return sheet_;
}

LabelOffsets ReadLabelOffsets()
{
    LabelOffsets o;
    o.up = ReadOffset(QStringLiteral("adjustlabelUP"), 180);
    o.left = ReadOffset(QStringLiteral("adjustlabelLeft"), 100);
    o.spaceBetween = ReadOffset(QStringLiteral("ModelSpaceBetween"), 1600);
    o.pageFooter = ReadOffset(QStringLiteral("PageFooter"), 400);
    return o;
}

namespace {

constexpr int kRightMargin = 400;  // both designs' right margin, the first to give way

}  // namespace

LabelOffsetRanges LabelOffsetLimits(const report::Report& report)
{
    const int half = (report::kA4Height - report.topMargin() - report.bottomMargin()) / 2;
    LabelOffsetRanges r;
    r.up = {0, half};
    r.pageFooter = {0, half};
    r.spaceBetween = {1, half};
    r.left = {0, std::max(0, report::kA4Width - report.reportWidth())};
    return r;
}

LabelOffsetRanges LabelOffsetLimits()
{
    const LabelOffsetRanges a = LabelOffsetLimits(*New客戶標籤列印Rpt());
    const LabelOffsetRanges b = LabelOffsetLimits(*New自訂標籤列印Rpt());
    const auto both = [](OffsetRange x, OffsetRange y) {
        return OffsetRange{std::max(x.least, y.least), std::min(x.most, y.most)};
    };
    return {both(a.up, b.up), both(a.left, b.left), both(a.pageFooter, b.pageFooter),
            both(a.spaceBetween, b.spaceBetween)};
}

OffsetRange LabelOffsetRangeOf(const LabelOffsetRanges& ranges, int box)
{
    const OffsetRange byBox[4] = {ranges.up, ranges.left, ranges.spaceBetween, ranges.pageFooter};
    return byBox[std::clamp(box, 0, 3)];
}

QString OffsetLimitText(int twips, OffsetRange range)
{
    if (range.Holds(twips))
        return {};
    const int bound = twips > range.most ? range.most : range.least;
    const QString amount = QStringLiteral("%1 (%2 cm)").arg(bound).arg(CentimetreText(QString::number(bound)));
    return twips > range.most ? QStringLiteral("最多只能 %1，再大標籤就印不到紙上。").arg(amount)
                              : QStringLiteral("最少要 %1。").arg(amount);
}

QString StoredLabelOffsetsProblem()
{
    const LabelOffsetRanges limits = LabelOffsetLimits();
    for (const LabelOffsetRow& row : kLabelOffsetRows) {
        const QString stored = vb::Trim(ReadSetting(QString::fromUtf8(row.key), settings::kMain, 0));
        const QString limit = OffsetLimitText(OffsetTwips(stored, row.fallback), LabelOffsetRangeOf(limits, row.box));
        if (!limit.isEmpty())
            return QStringLiteral("郵寄標籤列印微調的「%1」設定為 %2，").arg(QString::fromUtf8(row.caption), stored) + limit
                   + QStringLiteral("\r\n標籤沒有列印，請在「微調」中改正後再印。");
    }
    return {};
}

void ApplyLabelOffsets(report::Report& report, const LabelOffsets& offsets)
{
    const LabelOffsetRanges limits = LabelOffsetLimits(report);
    const auto held = [](int v, OffsetRange r) { return std::max(r.least, std::min(v, r.most)); };
    report.section(QStringLiteral("PageHeader")).height = held(offsets.up, limits.up);
    report.section(QStringLiteral("PageFooter")).height = held(offsets.pageFooter, limits.pageFooter);
    const int left = held(offsets.left, limits.left);
    report.setLeftMargin(left);
    report.setRightMargin(std::min(kRightMargin, report::kA4Width - report.reportWidth() - left));
    report.section(QStringLiteral("客戶標籤")).height = held(offsets.spaceBetween, limits.spaceBetween);
}

namespace {

struct BoxPlace {
    const char* name;
    const char* field;
    int left, top, width, height;
};

std::unique_ptr<report::Report> NewLabelReport(const QString& title, int width, int reportHeader, int pageFooter,
                                               const BoxPlace (&boxes)[8], bool boldPostcodes)
{
    auto r = std::make_unique<report::Report>(title, QStringLiteral("ReportHeader"), QStringLiteral("PageHeader"),
                                              QStringLiteral("客戶標籤"), QStringLiteral("PageFooter"),
                                              QStringLiteral("ReportFooter"));
    r->setReportWidth(width);
    r->setTopMargin(300);
    r->setBottomMargin(400);
    r->setRightMargin(kRightMargin);
    r->section(QStringLiteral("ReportHeader")).height = reportHeader;
    r->section(QStringLiteral("客戶標籤")).height = 1335;
    r->section(QStringLiteral("PageFooter")).height = pageFooter;
    r->section(QStringLiteral("ReportFooter")).height = 45;
    const report::Font text{QStringLiteral("新細明體"), 11.25};
    const report::Font postcode{QStringLiteral("Arial"), 11.25, true};
    report::Section& detail = r->section(QStringLiteral("客戶標籤"));
    for (const BoxPlace& b : boxes) {
        const bool isPostcode = QByteArray(b.field).startsWith("郵遞區號");
        detail.addField(QString::fromUtf8(b.name), QString::fromUtf8(b.field), b.left, b.top, b.width, b.height,
                        isPostcode && boldPostcodes ? postcode : text);
    }
    ApplyLabelOffsets(*r, ReadLabelOffsets());
    return r;
}

}  // namespace

std::unique_ptr<report::Report> New客戶標籤列印Rpt()
{
    static const BoxPlace boxes[8] = {
        {"txtRV18A0", "公司名稱1", 105, 135, 5385, 240}, {"Text5", "郵遞區號1", 135, 480, 1245, 240},
        {"Text2", "收件人1", 2325, 480, 3165, 240},      {"txtRV18A1", "公司地址1", 105, 795, 5400, 495},
        {"txtRV18A5", "公司名稱2", 5865, 135, 5355, 240}, {"Text4", "郵遞區號2", 5865, 495, 1260, 240},
        {"Text3", "收件人2", 8355, 480, 2850, 240},      {"Text1", "公司地址2", 5850, 810, 5400, 480},
    };
    return NewLabelReport(QStringLiteral("客戶標籤列印"), 11295, 15, 225, boxes, true);
}

std::unique_ptr<report::Report> New自訂標籤列印Rpt()
{
    static const BoxPlace boxes[8] = {
        {"txtRV18A0", "公司名稱1", 105, 75, 5385, 240},  {"Text5", "郵遞區號1", 135, 420, 1035, 240},
        {"Text2", "收件人1", 1545, 420, 3945, 240},      {"txtRV18A1", "公司地址1", 105, 735, 5400, 495},
        {"txtRV18A5", "公司名稱2", 5865, 75, 5145, 240}, {"Text4", "郵遞區號2", 5865, 420, 1140, 240},
        {"Text3", "收件人2", 7575, 420, 3390, 240},      {"Text1", "公司地址2", 5850, 750, 5145, 480},
    };
    // The design stores no report-header height for this layout: none is given.
    return NewLabelReport(QStringLiteral("自訂標籤列印"), 11025, 0, 300, boxes, false);
}

report::Report* ShowLabels(LabelLayout layout, const db::Recordset& sheet)
{
    // Never destroyed at exit: a preview window they still own must not outlive the application.
    static auto& customer = *new std::unique_ptr<report::Report>;
    static auto& custom = *new std::unique_ptr<report::Report>;
    std::unique_ptr<report::Report>& slot = layout == LabelLayout::Customer ? customer : custom;
    if (!slot || !slot->window()) {
        const QString problem = StoredLabelOffsetsProblem();
        if (!problem.isEmpty()) {
            ui::MsgBox(problem, ui::Buttons::OK, ui::Icon::Exclamation);
            return nullptr;
        }
        slot = layout == LabelLayout::Customer ? New客戶標籤列印Rpt() : New自訂標籤列印Rpt();
    }
    slot->setDataSource(sheet);
    slot->setOrientation(report::Orientation::Portrait);
    slot->Show();
    return slot.get();
}

LabelParts ImportedFirmLabel(const QVariant& f1, const QVariant& f2, const QVariant& f3, const QVariant& f4)
{
    LabelParts label;
    label.company = vb::Nz(f1);
    label.address = vb::Nz(f4);
    const QString chairman = vb::Nz(f2);
    label.recipient = !chairman.isEmpty() ? chairman + QStringLiteral(" 董事長") : vb::Nz(f3) + QStringLiteral(" 總經理");
    return label;
}
