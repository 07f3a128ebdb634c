#include "customers/CustomerNotes.h"

#include "core/Globals.h"

namespace {

struct Missing {
    int box;
    const char* text;
};

// In the order the notes list them.
const Missing kMissing[] = {
    {0, "◆ 客戶代號 未輸入"},
    {1, "◆ 客戶名稱 未輸入"},
    {2, "◆ 客戶全銜 未輸入,這會影響郵寄名單,以及報價等功能"},
    {3, "◆ 電話 未輸入"},
    {4, "◆ 傳真 未輸入"},
    {5, "◆ 郵遞區號 未輸入"},
    {8, "◆ 客戶的地址未輸入"},
    {19, "◆ 客戶分類未輸入,如果資料量多.分類會更方便日後的資料處理"},
    {10, "◆ 負責業務未輸入,相關系統可能需要計算業務業績等"},
    {12, "◆ 結帳日期未輸入,讓出貨系統自動判斷結帳日期"},
    {18, "◆ 發票狀況未輸入,讓發票管理系統知道客戶開立發票的方式"},
};

}  // namespace

QString CustomerNotesText(bool editing, const std::function<QString(int box)>& boxText, int contactRows)
{
    QString s;
    auto add = [&s](const QString& text) { s += gCrLf + gCrLf + text; };
    if (editing) {
        add(QStringLiteral("※ 中文姓名以及編號一定要輸入才能存檔"));
    } else {
        add(QStringLiteral("※ 要編輯資料,要先按修改按鈕"));
        add(QStringLiteral("※ 要新增資料,請直接按新增按鈕"));
    }
    for (const Missing& m : kMissing)
        if (boxText(m.box).isEmpty())
            add(QString::fromUtf8(m.text));
    if (contactRows <= 0)
        add(QStringLiteral("◆沒有聯絡人的紀錄"));
    return s;
}
