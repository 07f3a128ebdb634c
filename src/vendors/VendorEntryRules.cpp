#include "vendors/VendorEntryRules.h"

#include "core/Globals.h"
#include "platform/text/VbText.h"

#include <QRegularExpression>

namespace {

constexpr int kF3 = 114, kF4 = 115, kF5 = 116;

QStringList Days()
{
    QStringList days;
    for (int d = 1; d <= 31; ++d)
        days << QString::number(d);
    return days;
}

}  // namespace

VendorPick VendorPickOf(int box)
{
    if (box == 16)
        return VendorPick::Status;
    if (box >= 20 && box <= 23)
        return VendorPick::Shared;
    return VendorPick::None;
}

QStringList VendorPickItems(int box)
{
    switch (box) {
    case 16:
        return {QStringLiteral("尚未核准"), QStringLiteral("現用廠商"), QStringLiteral("次常用"), QStringLiteral("已無往來")};
    case 20:
    case 22:
        return Days();
    case 21:
        return {QStringLiteral("即期票"), QStringLiteral("一個月"), QStringLiteral("二個月"), QStringLiteral("三個月"),
                QStringLiteral("四個月"), QStringLiteral("五個月"), QStringLiteral("六個月")};
    case 23:
        return {LoadResString(420), LoadResString(421), LoadResString(422)};
    default:
        return {};
    }
}

int VendorPickNextBox(int box)
{
    switch (box) {
    case 16: return 23;
    case 20: return 21;
    case 21: return 22;
    case 22: return 1;
    case 23: return 10;
    default: return -1;
    }
}

int VendorNextBoxOnEnter(int box)
{
    switch (box) {
    case 8: return 11;
    case 10: return 20;
    case 14: return 17;
    case 19: return 15;
    default: return box + 1 > 20 ? 1 : box + 1;
    }
}

int VendorBoxAbove(int box)
{
    if (box == 20)
        return -1;
    const int target = std::max(1, box - 1);
    return target == 9 ? -1 : target;
}

int VendorBoxBelow(int box)
{
    if (box == 20)
        return -1;
    const int target = box + 1;
    return target == 9 || target > 24 ? -1 : target;
}

std::optional<QString> VendorStockText(int box, int keyCode, const QString& companyAddress)
{
    switch (box) {
    case 3:
        if (keyCode == kF3) return LoadResString(345);
        if (keyCode == kF4) return LoadResString(347);
        if (keyCode == kF5) return LoadResString(348);
        break;
    case 11:
    case 12:
        if (keyCode == kF3 || keyCode == kF4) return LoadResString(346);
        if (keyCode == kF5 && box == 12) return companyAddress;
        break;
    case 17:
    case 18:
        if (keyCode == kF3) return QStringLiteral(".com.tw");
        break;
    default:
        break;
    }
    return std::nullopt;
}

bool VendorDigitsOnly(int box) { return box == 9 || box == 15; }

bool VendorRefusesEveryKey(int box) { return box == 24; }

bool VendorBoxFull(const QString& text, int maxLength)
{
    return maxLength > 0 && vb::ByteLen(vb::Trim(text)) >= maxLength;
}

QString PrintableOnly(const QString& typed)
{
    QString out;
    for (QChar c : typed)
        if (c.isPrint())
            out += c;
    return out;
}

QString WithScheme(const QString& address, const QString& scheme)
{
    static const QRegularExpression named(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://|^mailto:"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QString a = vb::Trim(address);
    return named.match(a).hasMatch() ? a : scheme + a;
}
