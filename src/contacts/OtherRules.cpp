#include "contacts/OtherRules.h"

#include "contacts/OtherFields.h"
#include "core/Globals.h"
#include "records/RecordExtras.h"
#include "platform/text/VbText.h"

QString OtherReportText(bool editing, const BoxTextFn& text)
{
    QString out = RecordNotesText(
        editing, {{2, QStringLiteral("◆ 中文姓名 未輸入")}, {1, QStringLiteral("◆ 編號未輸入")}}, text);
    const QString phone = text(8);
    if (phone.isEmpty())
        AppendNote(out, QStringLiteral("◆ 電話 未輸入"));
    else if (phone.size() < 5)
        AppendNote(out, QStringLiteral("◆ 電話號碼很奇怪"));
    const QString mobile = text(9);
    if (mobile.isEmpty())
        AppendNote(out, QStringLiteral("◆ 行動電話未輸入"));
    else if (mobile.size() < 8)
        AppendNote(out, QStringLiteral("◆ 行動面話號碼很奇怪"));
    if (text(16).isEmpty())
        AppendNote(out, QStringLiteral("◆ 戶籍地址 未輸入"));
    if (text(17).isEmpty())
        AppendNote(out, QStringLiteral("◆ 現在住址 未輸入"));
    return out;
}

bool OtherSaveAllowed(const BoxTextFn& text)
{
    return !vb::Trim(text(1)).isEmpty() && !vb::Trim(text(2)).isEmpty();
}

const BoxMap& OtherEnterMap()
{
    static const BoxMap map{{{0, 2}, {1, 0}, {kOtherRemarksBox, 1}}, [](int box) { return box + 1; }};
    return map;
}

int OtherBoxOnUp(int box, bool editing)
{
    const int target = std::max(1, box - 1);
    if (editing && target == 5)
        return -1;
    return target;
}

const BoxMap& OtherDownMap()
{
    static const BoxMap map{{}, [](int box) { return std::min(kOtherRemarksBox, box + 1); }};
    return map;
}

const std::vector<StockText>& OtherStockTexts()
{
    static const std::vector<StockText> texts = {
        {16, Qt::Key_F3, 528},
        {17, Qt::Key_F3, 528},
        {17, Qt::Key_F5, 0, 16},
    };
    return texts;
}
