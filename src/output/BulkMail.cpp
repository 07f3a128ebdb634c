#include "output/BulkMail.h"

#include "core/Globals.h"
#include "output/ListPicker.h"
#include "output/PickedRows.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

// The addressees of the picked names, read together when the first one is asked for.
BulkMailLookup Addressees(const QString& selectFrom, const QString& column, const QStringList& picked,
                          const char* name, const char* address)
{
    auto rows = std::make_shared<PickedRows>(gConn, selectFrom, column, picked);
    return [rows, name, address](const QString& item) -> std::optional<BulkMailAddressee> {
        db::Recordset* rs = rows->Find(item);
        if (!rs)
            return std::nullopt;
        return BulkMailAddressee{vb::Nz(rs->value(QString::fromUtf8(name))), vb::Nz(rs->value(QString::fromUtf8(address)))};
    };
}

QString NumberAsText(double v) { return QString::number(v, 'g', 15); }

}  // namespace

BulkMailLookup CustomerAddressees(const QStringList& picked)
{
    return Addressees(QStringLiteral("Select RV12.* From RV12"), QStringLiteral("rv121"), picked, "客戶全銜", "RV128");
}

BulkMailLookup VendorAddressees(const QStringList& picked)
{
    return Addressees(QStringLiteral("Select RV11.* From RV11"), QStringLiteral("rv112"), picked, "RV113", "RV1111");
}

db::Recordset NewBulkMailSheet()
{
    db::Recordset rs;
    rs.Append(QStringLiteral("項次"), db::adDouble);
    // Long texts: a full name longer than the form's 20 characters is kept whole.
    const std::pair<const char*, int> texts[] = {{"掛號號碼", 20}, {"姓名", 20}, {"地址", 50}, {"回執", 10}, {"航空", 10},
                                                 {"印刷", 10},     {"重量", 10}, {"郵資", 10}, {"備考", 10}};
    for (const auto& [name, size] : texts)
        rs.Append(QString::fromUtf8(name), db::adLongVarWChar, size);
    rs.Open();
    return rs;
}

std::unique_ptr<report::Report> NewDrp大宗掛號單()
{
    auto r = std::make_unique<report::Report>(QStringLiteral("交寄大宗掛號函件執據"), QStringLiteral("Section4"),
                                              QStringLiteral("Section2"), QStringLiteral("Section1"),
                                              QStringLiteral("Section3"), QStringLiteral("Section5"));
    r->setReportWidth(11115);
    r->setLeftMargin(400);
    const report::Font f9{QStringLiteral("新細明體"), 9};
    const report::Font f11{QStringLiteral("新細明體"), 11.25};
    const report::Font f14{QStringLiteral("新細明體"), 14.25};
    const int h = 255;  // one line of 11.25-point text

    report::Section& head = r->section(QStringLiteral("Section4"));
    head.height = 2400;
    head.addLabel("Label1", "中　華　民　國　郵　政", 4725, 195, 3330, 330, f14, report::Align::Center);
    head.addLabel("Label28", "限時掛號", 5775, 630, 1275, h, f11, report::Align::Center);
    head.addLabel("Label29", "交寄大宗掛號函件執據", 4785, 990, 3300, 330, f14, report::Align::Center);
    head.addLabel("Label30", "快捷郵件", 5295, 1320, 2385, h, f11, report::Align::Center);
    head.addLabel("Label9", "□□□□□□  □□", 180, 75, 2910, 330, f14);
    head.addLabel("Label14", "收寄局碼", 195, 435, 1095, h, f9);
    head.addLabel("Label15", "郵件種類碼", 2025, 420, 960, h, f9);
    head.addLabel("Label25", "（由收寄局填寫）", 195, 735, 2490, h, f9);
    head.addLabel("Label12", "中華民國", 225, 1095, 1035, h, f11);
    head.addLabel("Label36", "", 1395, 1065, 420, h, f11, report::Align::Center);
    head.addLabel("Label33", "年", 1950, 1065, 285, h, f11);
    head.addLabel("Label38", "", 2265, 1050, 420, h, f11, report::Align::Center);
    head.addLabel("Label34", "月", 2730, 1050, 285, h, f11);
    head.addLabel("Label39", "", 3075, 1050, 420, h, f11, report::Align::Center);
    head.addLabel("Label35", "日", 3525, 1065, 285, h, f11);
    head.addLabel("Label13", "寄　件　人", 255, 1425, 1635, h, f11);
    head.addLabel("Label18", "名稱：", 240, 1725, 1290, h, f11);
    head.addLabel("Label21", "", 1605, 1725, 4815, h, f11);
    head.addLabel("Label19", "寄件人代表", 255, 2055, 1275, h, f11);
    head.addLabel("Label26", "詳細地址:", 3525, 2085, 1035, h, f11);
    head.addLabel("Label31", "", 4635, 2085, 3810, h, f11);
    head.addLabel("Label27", "電話號碼", 8475, 2115, 1005, h, f11);
    head.addLabel("Label32", "", 9540, 2115, 1440, h, f11);
    head.addLabel("Label20", "郵\n局\n郵\n戳", 10605, 360, 285, 1100, f11);
    head.addBox("Shape1", 8970, 255, 1290, 1155);

    // Column rules shared by the headings and the rows.
    const int rules[] = {60, 690, 1800, 3960, 7380, 8010, 8595, 9210, 9810, 10395, 11040};
    report::Section& cols = r->section(QStringLiteral("Section2"));
    cols.height = 720;
    cols.addLabel("Label22", "順序\n號碼", 135, 120, 510, 480, f9, report::Align::Center);
    cols.addLabel("Label2", "掛號號碼", 735, 255, 1005, h, f11, report::Align::Center);
    cols.addLabel("Label5", "收         件           人", 3165, 120, 2745, h, f11, report::Align::Center);
    cols.addLabel("Label11", "姓         名", 1890, 405, 1755, h, f11, report::Align::Center);
    cols.addLabel("Label4", "寄達地名(或地址)", 4305, 420, 2790, h, f11, report::Align::Center);
    cols.addLabel("Label6", "是否\n回執", 7440, 90, 510, 480, f9, report::Align::Center);
    cols.addLabel("Label10", "是否\n航空", 8070, 105, 495, 480, f9, report::Align::Center);
    // As wide as its column allows, so "印刷物" prints whole on its line.
    cols.addLabel("Label16", "是否\n印刷物", 8610, 90, 585, 480, f9, report::Align::Center);
    cols.addLabel("Label17", "重量", 9240, 180, 540, h, f11, report::Align::Center);
    cols.addLabel("Label23", "郵資", 9885, 195, 495, h, f11, report::Align::Center);
    cols.addLabel("Label24", "備考", 10455, 180, 540, h, f11, report::Align::Center);
    cols.addLine("LineTop", rules[0], 0, rules[10] - rules[0]);
    cols.addLine("LineName", rules[2], 380, rules[4] - rules[2]);  // under "收件人", over name and address
    cols.addLine("LineBottom", rules[0], 715, rules[10] - rules[0]);
    for (int i = 0; i < 11; ++i)
        if (i != 3)  // name and address share the heading "收件人" above them
            cols.addLine(QStringLiteral("ColRule%1").arg(i), rules[i], 0, 0, 720);
    cols.addLine(QStringLiteral("ColRule3"), rules[3], 380, 0, 340);

    // Rows as tall as the post office's form, where about twenty fit on the first sheet.
    constexpr int kRowHeight = 450;
    report::Section& row = r->section(QStringLiteral("Section1"));
    row.height = kRowHeight;
    const struct {
        const char* name;
        const char* field;
        int left, width;
        report::Align align;
    } boxes[] = {
        {"Text1", "項次", 135, 450, report::Align::Left},     {"Text4", "掛號號碼", 720, 1035, report::Align::Left},
        {"Text2", "姓名", 1875, 1995, report::Align::Left},   {"Text3", "地址", 4020, 3315, report::Align::Left},
        {"Text5", "回執", 7455, 495, report::Align::Center},  {"Text6", "航空", 8055, 495, report::Align::Center},
        {"Text7", "印刷", 8640, 495, report::Align::Center},  {"Text8", "重量", 9270, 495, report::Align::Center},
        {"Text9", "郵資", 9840, 495, report::Align::Center},
    };
    for (const auto& b : boxes)
        row.addField(QString::fromUtf8(b.name), QString::fromUtf8(b.field), b.left, (kRowHeight - h) / 2, b.width, h,
                     f11, b.align);
    for (int i = 0; i < 11; ++i)
        row.addLine(QStringLiteral("RowRule%1").arg(i), rules[i], 0, 0, kRowHeight);
    row.addLine("RowLine", rules[0], kRowHeight - 1, rules[10] - rules[0]);

    report::Section& foot = r->section(QStringLiteral("Section3"));
    foot.height = 3420;
    foot.addLabel("Label3",
                  "1\t此單填寫1式2份。\n"
                  "2\t限時掛號、掛號函件與快捷郵件不得同列一單，請將標題塗去其二。\n"
                  "3\t函件背面應註明順序號碼，並按號碼次序排齊滿20件為1組分組交寄。\n"
                  "4\t將本埠與外埠函件分別列單交寄。\n"
                  "5\t郵件應妥為封裝，如為小包或快捷郵件，內裝易脆物品者，請於封面正面\n"
                  "\t加貼「脆弱郵件小心搬運」紅杯標籤。\n"
                  "6\t如有證明郵資、重量必要者，應由寄件人自行在聯單相關欄內分別註明，\n"
                  "\t    並結填總郵資，交郵局經辦員逐件核對。本執據僅作交寄郵件郵資及重量\n"
                  "\t    之證明，不得移作其他用途。\n"
                  "7\t日後如須查詢，應於交寄日起6個月查詢。如上網查詢，請輸入完整14碼\n"
                  "\t（掛號號碼+收寄局碼+郵件種類碼）。\n"
                  "8\t掛號函件每件補償金額最多不逾新台幣575元。\n"
                  "9\t錢鈔或有價證券請利用報值或保價交寄。    查詢網址：www.post.gov.tw",
                  120, 60, 8235, 3225, f9);
    foot.addLabel("Label7",
                  "上開 限時掛號\n     掛號函件/ 共  　　件照收無誤\n     快捷郵件\n\n　郵資共計　　　　　　　　元",
                  8385, 105, 2730, 1215, f9);
    foot.addLabel("Label8", "經 辦 員 簽 署", 8595, 1995, 2385, h, f11);
    foot.addLine("Line31", 8595, 2700, 2385);

    report::Section& end = r->section(QStringLiteral("Section5"));
    end.height = 330;
    end.addLabel("Label37", "Tessarine 捷錄人事管理系統", 7830, 75, 3135, h, f9, report::Align::Right);
    return r;
}

void SetBulkMailDate(report::Report& report, const QDate& date)
{
    report::Section& head = report.section(QStringLiteral("Section4"));
    head.control(QStringLiteral("Label36")).caption = QString::number(date.year() - 1911);
    head.control(QStringLiteral("Label38")).caption = QString::number(date.month());
    head.control(QStringLiteral("Label39")).caption = QString::number(date.day());
    for (const char* sender : {"Label21", "Label31", "Label32"})
        head.control(QString::fromUtf8(sender)).caption.clear();
}

BulkMailPanel::BulkMailPanel(QWidget* parent)
{
    const char* const labels[] = {"重量", "郵資", "起始掛號號碼"};
    const char* const checks[] = {"是否回執", "是否航空", "是否印刷品"};
    for (int i = 0; i < 3; ++i) {
        Label1[i] = new QLabel(QString::fromUtf8(labels[i]), parent);
        Text3[i] = new QLineEdit(parent);
        Check2[i] = new QCheckBox(QString::fromUtf8(checks[i]), parent);
    }
}

QGridLayout* BulkMailPanel::NewLayout() const
{
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(Label1[i], 0, i * 2);
        grid->addWidget(Text3[i], 0, i * 2 + 1);
        grid->addWidget(Check2[i], 1, i * 2, 1, 2);
    }
    return grid;
}

bool BulkMailPanel::大宗掛號單列印(const QStringList& picked, const BulkMailLookup& lookup)
{
    if (Text3[2]->text().isEmpty()) {
        ui::MsgBox(QStringLiteral("起始掛號號碼未設定"));
        return false;
    }
    db::Recordset sheet = NewBulkMailSheet();
    {
        ui::WaitCursor wait;
        double next = vb::Val(Text3[2]->text());
        int count = 0;
        const QString tick = QStringLiteral("ˇ");
        ForEachPicked(picked, QStringLiteral("無此資料"), lookup, [&](const BulkMailAddressee& who) {
            ++count;
            sheet.AddNew();
            sheet.setValue(QStringLiteral("項次"), count);
            sheet.setValue(QStringLiteral("掛號號碼"), NumberAsText(next));
            sheet.setValue(QStringLiteral("姓名"), who.name);
            sheet.setValue(QStringLiteral("地址"), who.address);
            sheet.setValue(QStringLiteral("回執"), Check2[0]->isChecked() ? tick : QString());
            sheet.setValue(QStringLiteral("航空"), Check2[1]->isChecked() ? tick : QString());
            sheet.setValue(QStringLiteral("印刷"), Check2[2]->isChecked() ? tick : QString());
            sheet.setValue(QStringLiteral("重量"), Text3[0]->text());
            sheet.setValue(QStringLiteral("郵資"), Text3[1]->text());
            sheet.Update();
            next += 1;
        });
    }
    if (!report_ || !report_->window())
        report_ = NewDrp大宗掛號單();
    SetBulkMailDate(*report_, ui::Today());
    sheet_ = sheet;
    report_->setDataSource(sheet_);
    report_->setOrientation(report::Orientation::Portrait);
    report_->Show();
    return true;
}
