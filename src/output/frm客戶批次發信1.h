// The batch e-mail window: customer contacts are gathered from a filtered, sorted candidate
// list into a recipient list, and each recipient gets one message through the mail system.
// Nothing is written to the database.
#pragma once

#include "output/BatchMail.h"
#include "platform/db/Db.h"
#include "platform/mail/Mail.h"
#include "records/OneInstance.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QFrame;
namespace dbmodel { class RecordsetModel; }

class frm客戶批次發信1 : public QWidget, public OneInstance<frm客戶批次發信1> {
    // No Q_OBJECT: the meta-object compiler cannot read the Chinese class name; the window
    // needs no signals of its own.
public:
    explicit frm客戶批次發信1(const QPixmap& titlePicture = QPixmap(), QWidget* parent = nullptr);

    QFrame* Picture1 = nullptr;                 // banner bar
    QLabel* Image1 = nullptr;
    QFrame* Picture2 = nullptr;                 // button bar
    std::array<QFrame*, 3> Picture3{};          // 0 candidates, 1 recipients, 2 move buttons
    std::array<QComboBox*, 2> Combo1{};         // filter selector, filter value
    QComboBox* Combo2 = nullptr;                // sort
    QLineEdit* Text1 = nullptr;                 // quick find
    QPushButton* Command3 = nullptr;            // "速查" caption
    std::array<QTableView*, 2> DataGrid1{};     // 0 candidates, 1 recipients
    QPushButton* cmdRightOne = nullptr;
    QPushButton* cmdRightAll = nullptr;
    QPushButton* cmdLeftOne = nullptr;
    QPushButton* cmdLeftAll = nullptr;
    std::array<QLabel*, 3> Label1{};
    QLabel* Label2 = nullptr;
    std::array<QPushButton*, 2> Command1{};     // 0 send, 1 exit
    std::array<QLabel*, 3> SkinLabel2{};        // subject, attachment, body captions
    QLineEdit* txtSubject = nullptr;
    QLineEdit* txtAttachment = nullptr;
    QPushButton* Command2 = nullptr;            // attachment chooser
    QPlainTextEdit* txtNewMessage = nullptr;
    batchmail::SendProgress* sendProgress = nullptr;  // in the button bar while a batch runs
    // The mail system the messages go to; none: the sendmail agent.
    mail::Transport* transport = nullptr;

    void 讀取發信資料();
    void 顯示查詢清單();
    void 加入右邊一列();
    void 移回左邊一列();
    void cmdRightAll_Click();
    void cmdLeftAll_Click();
    void 按鍵狀態();
    void Text1_Change();
    void 發信();
    void Command2_Click();

    db::Recordset candidates() const { return candidates_; }
    db::Recordset recipients() const { return recipients_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SetGrid(QTableView* grid, dbmodel::RecordsetModel* model);
    void ShowRow(int grid);
    void SetBusy(bool busy);
    static bool OnRow(const db::Recordset& rs);
    // A row's fields by its 0-based position, Null read as "".
    static QVariantList RowAt(const db::Recordset& rs, long position);
    static void CopyRow(db::Recordset& from, db::Recordset& to);
    // Moves every row with an e-mail address from one list to the end of the other, in order,
    // replacing both lists by new ones; false, with nothing changed, when no row has an address.
    static bool MoveRowsWithEmail(db::Recordset& from, db::Recordset& to);

    db::Recordset candidates_;
    db::Recordset recipients_;
    dbmodel::RecordsetModel* candidateModel_ = nullptr;
    dbmodel::RecordsetModel* recipientModel_ = nullptr;
    int bannerWidth_ = 0;
    bool busy_ = false;
};
