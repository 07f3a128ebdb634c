#include "customers/CustomerEntryRules.h"

#include "core/Globals.h"
#include "platform/text/VbText.h"

namespace {

QStringList Items(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* s : items)
        out << QString::fromUtf8(s);
    return out;
}

const QStringList& InvoiceStatuses()
{
    static const QStringList list = Items({"隨貨附發票", "月結開發票", "隨訂單開發票", "不開發票"});
    return list;
}

}  // namespace

PickKind PickKindOf(int box)
{
    switch (box) {
    case 10: return PickKind::Salespeople;
    case 13: return PickKind::Grades;
    case 17: return PickKind::Unchanged;
    case 18:
    case 20:
    case 21: return PickKind::Stock;
    case 19: return PickKind::Categories;
    case 23: return PickKind::Accounts;
    default: return PickKind::None;
    }
}

QStringList StockPickItems(int box)
{
    switch (box) {
    case 18: return InvoiceStatuses();
    case 20: return Items({"一次請款", "分批請款"});
    case 21: return Items({"次月結", "月結", "即期", "電匯", "現金", "其他"});
    default: return {};
    }
}

QString GradeListText(const QString& customTypeSetting)
{
    if (!vb::Trim(customTypeSetting).isEmpty())
        return customTypeSetting;
    QStringList grades;
    for (int id = 298; id <= 302; ++id)
        grades << LoadResString(id);
    return grades.join(gCrLf);
}

bool PickListOverStrip(int box) { return box == 19 || box == 23; }

const BoxMap& CustomerEnterMap()
{
    static const BoxMap map{{{2, 19}, {9, 15}, {15, 19}, {16, 1}, {19, 10}},
                            [](int box) { return box + 1 > 22 ? 2 : box + 1; }};
    return map;
}

const BoxMap& CustomerDownMap()
{
    static const BoxMap map{{{13, 1}, {16, -1}}, [](int box) { return box >= 23 ? -1 : box + 1; }};
    return map;
}

const BoxMap& CustomerUpMap()
{
    static const BoxMap map{{{0, 1}, {15, 13}, {16, -1}}, [](int box) { return box - 1; }};
    return map;
}

const std::vector<struct StockText>& CustomerStockTexts()
{
    static const std::vector<struct StockText> texts = {
        {2, Qt::Key_F3, 345},  {2, Qt::Key_F4, 347},  {2, Qt::Key_F5, 348},
        {8, Qt::Key_F3, 346},  {8, Qt::Key_F4, 346},  {9, Qt::Key_F3, 346},
        {9, Qt::Key_F4, 346},  {9, Qt::Key_F5, 0, 8}, {15, Qt::Key_F3, 0, -1, QStringLiteral(".com.tw")},
    };
    return texts;
}

bool ClosingDayAccepted(const QString& text)
{
    const double v = vb::Val(text);
    return !((v != 0 && v < 1) || v > 31);
}

QString InvoiceStatusText(int code)
{
    return code >= 1 && code <= 4 ? InvoiceStatuses().at(code - 1) : QStringLiteral("不詳");
}

std::optional<int> InvoiceStatusCode(const QString& text)
{
    const int i = int(InvoiceStatuses().indexOf(text));
    return i >= 0 ? std::optional<int>(i + 1) : std::nullopt;
}

QString BillingMethodText(const QString& code)
{
    return vb::Val(code) == -1 ? QStringLiteral("一次請款") : QStringLiteral("分批請款");
}

QString BillingMethodCode(const QString& text)
{
    return text == QStringLiteral("一次請款") ? QStringLiteral("-1") : QStringLiteral("0");
}
