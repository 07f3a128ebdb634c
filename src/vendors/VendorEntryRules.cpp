#include "vendors/VendorEntryRules.h"

#include "core/Globals.h"
#include "platform/text/VbText.h"

#include <QRegularExpression>

namespace {

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

const BoxMap& VendorEnterMap()
{
    static const BoxMap map{{{8, 11}, {10, 20}, {14, 17}, {19, 15}}, [](int box) { return box + 1 > 20 ? 1 : box + 1; }};
    return map;
}

// The arrows never lead into the category name (box 9) nor out of the closing day (box 20).
const BoxMap& VendorUpMap()
{
    static const BoxMap map{{{10, -1}, {20, -1}}, [](int box) { return std::max(1, box - 1); }};
    return map;
}

const BoxMap& VendorDownMap()
{
    static const BoxMap map{{{8, -1}, {20, -1}}, [](int box) { return box + 1 > 24 ? -1 : box + 1; }};
    return map;
}

const std::vector<StockText>& VendorStockTexts()
{
    static const std::vector<StockText> texts = {
        {3, Qt::Key_F3, 345},   {3, Qt::Key_F4, 347},   {3, Qt::Key_F5, 348},
        {11, Qt::Key_F3, 346},  {11, Qt::Key_F4, 346},  {12, Qt::Key_F3, 346},
        {12, Qt::Key_F4, 346},  {12, Qt::Key_F5, 0, 11}, {17, Qt::Key_F3, 0, -1, QStringLiteral(".com.tw")},
        {18, Qt::Key_F3, 0, -1, QStringLiteral(".com.tw")},
    };
    return texts;
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
