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

std::optional<QString> StockText(int box, int keyCode, const QString& companyAddress)
{
    constexpr int F3 = 114, F4 = 115, F5 = 116;
    switch (box) {
    case 2:
        if (keyCode == F3) return LoadResString(345);
        if (keyCode == F4) return LoadResString(347);
        if (keyCode == F5) return LoadResString(348);
        break;
    case 8:
    case 9:
        if (keyCode == F3 || keyCode == F4) return LoadResString(346);
        if (keyCode == F5 && box == 9) return companyAddress;
        break;
    case 15:
        if (keyCode == F3) return QStringLiteral(".com.tw");
        break;
    default:
        break;
    }
    return std::nullopt;
}

int NextBoxOnEnter(int box)
{
    switch (box) {
    case 2: return 19;
    case 9: return 15;
    case 15: return 19;
    case 16: return 1;
    case 19: return 10;
    default: return box + 1 > 22 ? 2 : box + 1;
    }
}

int NextBoxOnDown(int box)
{
    if (box == 16 || box >= 23)
        return -1;
    return box == 13 ? 1 : box + 1;
}

int NextBoxOnUp(int box)
{
    if (box == 16)
        return -1;
    if (box == 0)
        return 1;
    if (box == 15)
        return 13;
    return box - 1;
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
