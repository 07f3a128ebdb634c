#include "customers/CustomerNotes.h"

#include "records/RecordExtras.h"

QString CustomerNotesText(bool editing, const BoxTextFn& boxText, int contactRows)
{
    // In the order the notes list them.
    static const std::vector<BoxNote> notes = {
        {0, QStringLiteral("◆ 客戶代號 未輸入")},
        {1, QStringLiteral("◆ 客戶名稱 未輸入")},
        {2, QStringLiteral("◆ 客戶全銜 未輸入,這會影響郵寄名單,以及報價等功能")},
        {3, QStringLiteral("◆ 電話 未輸入")},
        {4, QStringLiteral("◆ 傳真 未輸入")},
        {5, QStringLiteral("◆ 郵遞區號 未輸入")},
        {8, QStringLiteral("◆ 客戶的地址未輸入")},
        {19, QStringLiteral("◆ 客戶分類未輸入,如果資料量多.分類會更方便日後的資料處理")},
        {10, QStringLiteral("◆ 負責業務未輸入,相關系統可能需要計算業務業績等")},
        {12, QStringLiteral("◆ 結帳日期未輸入,讓出貨系統自動判斷結帳日期")},
        {18, QStringLiteral("◆ 發票狀況未輸入,讓發票管理系統知道客戶開立發票的方式")},
    };
    QString s = RecordNotesText(editing, notes, boxText);
    if (contactRows <= 0)
        AppendNote(s, QStringLiteral("◆沒有聯絡人的紀錄"));
    return s;
}
