// What the first page of every list report, both label layouts and the bulk registered-mail
// form reads, line by line from the laid-out page: texts at about the same height make one
// line, left to right.  Holds the layouts to what a reader sees, whichever code builds them.
#include "contacts/ContactListRpt.h"
#include "contacts/MemberListRpt.h"
#include "customers/CustomerListRpt.h"
#include "output/BulkMail.h"
#include "output/LabelSheet.h"
#include "platform/report/Paint.h"
#include "staff/StaffListRpt.h"
#include "support/CustomerDb.h"
#include "vendors/FactoryListRpt.h"

#include <QProcess>
#include <algorithm>
#include <functional>

using report::Snapshot;

namespace {

// The page's texts as lines: a text starting within 150 twips below the first of a line joins
// it; blank texts are left out; tabs and line breaks inside a text read as one blank.
QStringList PageLines(const report::Page& page)
{
    std::vector<const report::Item*> texts;
    for (const report::Item& it : page.items)
        if (it.kind == report::Item::Kind::Text && !it.text.trimmed().isEmpty())
            texts.push_back(&it);
    std::stable_sort(texts.begin(), texts.end(),
                     [](const report::Item* a, const report::Item* b) { return a->rect.top() < b->rect.top(); });
    QStringList lines;
    std::vector<const report::Item*> line;
    const auto flush = [&] {
        std::stable_sort(line.begin(), line.end(),
                         [](const report::Item* a, const report::Item* b) { return a->rect.left() < b->rect.left(); });
        QStringList words;
        for (const report::Item* it : line)
            words << it->text.simplified();
        if (!words.isEmpty())
            lines << words.join(QLatin1Char(' '));
        line.clear();
    };
    for (const report::Item* it : texts) {
        if (!line.empty() && it->rect.top() > line.front()->rect.top() + 150)
            flush();
        line.push_back(it);
    }
    flush();
    return lines;
}

// A text with every blank (line breaks, tabs, wide blanks) taken out.
QString Squeezed(const QString& text)
{
    QString out;
    for (const QChar c : text)
        if (!c.isSpace())
            out += c;
    return out;
}

// What pdftotext reads of a PDF, in the order the page draws it, blanks taken out.
QString PrintedText(const QString& pdfPath)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdfPath, QStringLiteral("-")});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << pdfPath.toStdString();
        return {};
    }
    return Squeezed(QString::fromUtf8(p.readAllStandardOutput()));
}

// Rows whose every value is the column's name and the row number ("RV1201").
Snapshot Rows(const QStringList& columns, int count)
{
    Snapshot rows(columns);
    for (int i = 1; i <= count; ++i) {
        QVariantList row;
        for (const QString& c : columns)
            row << c + QString::number(i);
        rows.addRow(row);
    }
    return rows;
}

QStringList Words(const char* text) { return QString::fromUtf8(text).split(QLatin1Char(' ')); }

class ReportPages : public testsupport::CustomerDb {};  // the label layouts read their offsets

}  // namespace

TEST_F(ReportPages, FirstPageReadsAsDesigned)
{
    struct Case {
        const char* name;
        std::function<report::Document()> layout;
        QStringList lines;  // the page's first lines
    };
    const auto listReport = [](report::Report& r, const Snapshot& rows) {
        r.setPrintDate(QDate(2026, 12, 10));
        return r.layout(rows);
    };
    const std::vector<Case> cases = {
        {"customers",
         [&] {
             客戶資料管理Rpt r;
             return listReport(r, Rows(Words("RV120 RV121 客戶全銜 RV123 RV124 RV126 RV127 RV128 RV129 RV1210 類別 級別"), 2));
         },
         {
          "客戶資料列表",
          "列印日期: 2026/12/10 列印頁數: 1 ／ 1",
          "客戶代號 客戶全銜 電話 負責人 公司地址",
          "客戶簡稱 服務業務 客戶分類 客戶級別 傳真 統一編號 發票地址",
          "RV1201 客戶全銜1 RV1231 RV1261 RV1281",
          "RV1211 RV12101 類別1 級別1 RV1241 RV1271 RV1291",
          "RV1202 客戶全銜2 RV1232 RV1262 RV1282",
          "RV1212 RV12102 類別2 級別2 RV1242 RV1272 RV1292"}},
        {"vendors",
         [&] {
             廠商報表列印Rpt r;
             return listReport(r, Rows(Words("RV111 RV112 RV113 RV114 RV115 RV116 RV117 RV118 RV1111 RV1112 RV1113 RV1114 廠商狀況"), 2));
         },
         {
          "廠商資料列表",
          "列印日期: 2026/12/10 列印頁數: 1 ／ 1",
          "廠商代號 廠商全銜 統一編號 負責人 聯絡人 付款方式 廠商狀況",
          "廠商簡稱 電話 傳真 行動電話",
          "公司地址 發票地址",
          "RV1111 RV1131 RV1171 RV1151 RV1141 RV1181 廠商狀況1",
          "RV1121 RV11131 RV11141 RV1161",
          "RV11111 RV11121",
          "RV1112 RV1132 RV1172 RV1152 RV1142 RV1182 廠商狀況2",
          "RV1122 RV11132 RV11142 RV1162",
          "RV11112 RV11122"}},
        {"employees",
         [&] {
             員工資料Rpt r;
             return listReport(r, Rows(Words("RV17A0 RV17A1 RV17A2 RV17A4 RV17A5 RV17A6 RV17A7 RV17A8 RV17A9 RV17A10 "
                                             "RV17A11 RV17A12 RV17A13 RV17A14 RV17A15 EnglishName AddInsuranceDate EmployeePart"),
                                       2));
         },
         {
          "員工資料列表",
          "列印日期: 2026/12/10",
          "部門名稱 中文姓名 出生日期 職稱 性別 電話 到職日 e-mail 頁數:",
          "員工編號 英文姓名 身份證字號 加保日期 職級別 行動電話 離職日 ICQ/MSN 1 / 1",
          "現住地址 戶籍地址",
          "RV17A01 RV17A21 RV17A41 RV17A81 RV17A61 RV17A91 RV17A121 RV17A51",
          "RV17A11 EnglishName1 RV17A71 AddInsuranceDate1 EmployeePart1 RV17A111 RV17A131 RV17A101",
          "RV17A151 RV17A141",
          "RV17A02 RV17A22 RV17A42 RV17A82 RV17A62 RV17A92 RV17A122 RV17A52",
          "RV17A12 EnglishName2 RV17A72 AddInsuranceDate2 EmployeePart2 RV17A112 RV17A132 RV17A102",
          "RV17A152 RV17A142"}},
        {"personal contacts",
         [&] {
             個人通訊Rpt r;
             return listReport(r, Rows(Words("RV18A1 RV18A2 RV18A3 RV18A4 RV18A7 RV18A8 RV18A9 RV18A11 RV18A12 "
                                             "RV18A13 RV18A15 RV18A16 RV18A17 性別 類別"),
                                       2));
         },
         {
          "個人通訊列表",
          "列印日期: 2026/12/10 頁數: 1 / 1",
          "分類編號 中文姓名 性別 電話 身份證號 公司電話 戶籍地址",
          "編號 英文姓名 出生日期 行動電話 關係 傳真 現在地址",
          "類別1 RV18A21 性別1 RV18A91 RV18A71 RV18A121 RV18A151",
          "RV18A11 RV18A31 RV18A41 RV18A111 RV18A81 RV18A131 RV18A161",
          "類別2 RV18A22 性別2 RV18A92 RV18A72 RV18A122 RV18A152",
          "RV18A12 RV18A32 RV18A42 RV18A112 RV18A82 RV18A132 RV18A162"}},
        {"members",
         [&] {
             會員資料管理Rpt r;
             r.setPrintDate(QDate(2026, 12, 10));
             Snapshot rows = Rows(Words("會員編號 類別 中文姓名 英文姓名 身分證號 聯絡電話 行動電話 公司傳真 戶籍住址 通訊地址"), 2);
             Snapshot withBirthday(rows.columns() + QStringList{"生日_年", "月日"});
             for (int i = 0; i < rows.rowCount(); ++i)
                 withBirthday.addRow(rows.row(i) + QVariantList{"1975", "0315"});
             r.SetMembers(withBirthday);
             return r.layout();
         },
         {
          "會員資料列表",
          "列印日期: 2026/12/10 列印頁數: 1 ／ 1",
          "會員編號 中文姓名 英文姓名 電話",
          "身份證號 類別 出生日期 傳真",
          "通訊地址 戶籍地址",
          "會員編號1 中文姓名1 英文姓名1 聯絡電話1",
          "身分證號1 類別1 1975/03/15 公司傳真1",
          "通訊地址1 戶籍住址1",
          "會員編號2 中文姓名2 英文姓名2 聯絡電話2",
          "身分證號2 類別2 1975/03/15 公司傳真2",
          "通訊地址2 戶籍住址2"}},
        {"customer labels",
         [] {
             LabelPairer pairer(NewLabelSheet());
             pairer.Add({"大同股份有限公司(000001)", "台北市中山北路三段22號", "(林蔚山)", "104"});
             pairer.Add({"華新麗華股份有限公司", "台北市松山區南京東路二段1號", "會計部 收", "105"});
             db::Recordset sheet = pairer.Finish();
             auto r = New客戶標籤列印Rpt();
             r->setDataSource(sheet);
             return r->layout();
         },
         {
          "大同股份有限公司(000001) 華新麗華股份有限公司",
          "104 (林蔚山) 105 會計部 收",
          "台北市中山北路三段22號 台北市松山區南京東路二段1號"}},
        {"labels from sheets",
         [] {
             LabelPairer pairer(NewLabelSheet());
             pairer.Add({"台灣製造股份有限公司", "新竹市科學園區力行路1號", "王大明 董事長", QVariant()});
             db::Recordset sheet = pairer.Finish();
             auto r = New自訂標籤列印Rpt();
             r->setDataSource(sheet);
             return r->layout();
         },
         {
          "台灣製造股份有限公司",
          "王大明 董事長",
          "新竹市科學園區力行路1號"}},
        {"bulk registered mail",
         [] {
             db::Recordset sheet = NewBulkMailSheet();
             sheet.AddNew();
             const std::pair<const char*, QVariant> values[] = {
                 {"項次", 1},     {"掛號號碼", "100231"}, {"姓名", "大同股份有限公司"}, {"地址", "台北市中山北路三段22號"},
                 {"回執", "ˇ"}, {"重量", "20"},         {"郵資", "25"}};
             for (const auto& [field, value] : values)
                 sheet.setValue(QString::fromUtf8(field), value);
             sheet.Update();
             auto r = NewDrp大宗掛號單();
             SetBulkMailDate(*r, QDate(2026, 12, 10));
             r->setDataSource(sheet);
             return r->layout();
         },
         {
          "□□□□□□ □□ 中 華 民 國 郵 政",
          "收寄局碼 郵件種類碼 郵 局 郵 戳",
          "（由收寄局填寫） 限時掛號",
          "中華民國 115 年 12 月 10 日 交寄大宗掛號函件執據",
          "寄 件 人 快捷郵件",
          "名稱：",
          "寄件人代表 詳細地址: 電話號碼",
          "順序 號碼 收 件 人 是否 回執 是否 航空 是否 印刷物 重量 郵資 備考",
          "掛號號碼 姓 名",
          "寄達地名(或地址)",
          "1 100231 大同股份有限公司 台北市中山北路三段22號 ˇ 20 25",
          "Tessarine 捷錄人事管理系統"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const report::Document doc = c.layout();
        ASSERT_FALSE(doc.pages.empty());
        const QStringList lines = PageLines(doc.pages[0]);
        EXPECT_EQ(lines.mid(0, c.lines.size()), c.lines);
        // Printed, every text of the page comes out whole: none is cut by its box.
        const QString pdf = folder.file(QStringLiteral("page.pdf"));
        ASSERT_TRUE(report::WritePdf(doc, pdf));
        const QString printed = PrintedText(pdf);
        // The layout's own texts, and the values of rows that hold real addresses (the list
        // reports' rows are column names, no values any box is made for).
        const bool realRows = QStringList{"customer labels", "labels from sheets", "bulk registered mail"}.contains(
            QString::fromUtf8(c.name));
        for (const report::Item& item : doc.pages[0].items)
            if (item.kind == report::Item::Kind::Text && !Squeezed(item.text).isEmpty() && (item.row < 0 || realRows))
                EXPECT_TRUE(printed.contains(Squeezed(item.text))) << item.control.toStdString() << " \""
                                                                   << item.text.toStdString() << "\" is cut";
    }
}
