#include "output/frm客戶批次發信1.h"

#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "output/OutputWindows.h"
#include "platform/db/Probes.h"
#include "platform/dbmodel/RecordsetModel.h"
#include "platform/mail/Mail.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

namespace {

using vb::Px;

void Place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

QString EmailOf(db::Recordset& rs) { return vb::Nz(rs.value(QStringLiteral("e-mail"))); }

constexpr int kBannerHeight = 1155;
constexpr int kButtonBarHeight = 675;
constexpr int kPanelWidth = 4455;
constexpr int kMoveBarWidth = 735;
constexpr int kMessageLeft = 10440;
constexpr int kBoxHeight = 345;

}  // namespace

frm客戶批次發信1::frm客戶批次發信1(const QPixmap& titlePicture, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frm客戶批次發信1"));

    Picture1 = new QFrame(this);
    Picture1->setStyleSheet(QStringLiteral("background-color: #EFEFEF;"));
    Image1 = new QLabel(Picture1);
    Image1->setPixmap(titlePicture);
    Image1->move(0, 0);
    Image1->resize(titlePicture.isNull() ? QSize(Px(10800), Px(kBannerHeight)) : titlePicture.size());
    bannerWidth_ = Image1->width();

    for (int i = 0; i < 3; ++i)
        Picture3[i] = new QFrame(this);
    Picture2 = new QFrame(this);

    // Candidate panel.
    QFrame* left = Picture3[0];
    Label1[0] = new QLabel(QStringLiteral("過濾條件"), left);
    Place(Label1[0], 60, 180, 795, 315);
    Combo1[0] = new QComboBox(left);
    Place(Combo1[0], 900, 120, 1275, 315);
    Label1[1] = new QLabel(QStringLiteral("="), left);
    Place(Label1[1], 2280, 120, 195, 315);
    Combo1[1] = new QComboBox(left);
    Place(Combo1[1], 2580, 120, 1755, 315);
    Command3 = new QPushButton(left);
    Place(Command3, 60, 480, 795, 375);
    Text1 = new QLineEdit(left);
    Place(Text1, 840, 480, 1455, 375);
    Label1[2] = new QLabel(QStringLiteral("排序"), left);
    Place(Label1[2], 2460, 540, 435, 255);
    Combo2 = new QComboBox(left);
    Place(Combo2, 3000, 480, 1275, 315);
    for (QComboBox* c : {Combo1[0], Combo1[1], Combo2})
        c->setEditable(true);
    DataGrid1[0] = new QTableView(left);
    DataGrid1[0]->move(Px(60), Px(960));

    // Move buttons.
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSize(9);
    int top = 2580;
    for (QPushButton** b : {&cmdRightOne, &cmdRightAll, &cmdLeftOne, &cmdLeftAll}) {
        *b = new QPushButton(Picture3[2]);
        (*b)->setFont(bold);
        Place(*b, 0, top, 690, 450);
        top += (top == 3105) ? 540 : (top == 3645 ? 540 : 525);
    }
    cmdRightOne->setText(QStringLiteral(">"));
    cmdRightAll->setText(QStringLiteral(">>"));
    cmdLeftOne->setText(QStringLiteral("<"));
    cmdLeftAll->setText(QStringLiteral("<<"));

    // Recipient panel.
    Label2 = new QLabel(QStringLiteral("已選取名單"), Picture3[1]);
    Place(Label2, 60, 120, 2475, 255);
    DataGrid1[1] = new QTableView(Picture3[1]);
    DataGrid1[1]->move(Px(60), Px(420));

    // Message area.
    const char* const captions[] = {"主旨", "附件", "內文"};
    for (int i = 0; i < 3; ++i) {
        SkinLabel2[i] = new QLabel(QString::fromUtf8(captions[i]), this);
        SkinLabel2[i]->resize(Px(495), Px(kBoxHeight));
    }
    txtSubject = new QLineEdit(this);
    txtAttachment = new QLineEdit(this);
    Command2 = new QPushButton(QStringLiteral("..."), this);
    Command2->resize(Px(375), Px(375));
    txtNewMessage = new QPlainTextEdit(this);
    txtNewMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    // Button bar.
    for (int i = 0; i < 2; ++i) {
        Command1[i] = new QPushButton(Picture2);
        Place(Command1[i], i == 0 ? 120 : 1200, 60, 1035, 495);
    }
    sendProgress = new batchmail::SendProgress(Picture2);
    Place(sendProgress, 2400, 60, 7000, 495);

    // Captions from the string table.
    setWindowTitle(LoadResString(2001));
    Command1[0]->setText(LoadResString(2002));
    Command1[1]->setText(LoadResString(841));
    Command3->setText(LoadResString(845));
    for (int id : {795, 796, 797})
        Combo2->addItem(LoadResString(id));
    Combo2->setCurrentIndex(0);

    candidates_ = batchmail::NewContactList();
    recipients_ = batchmail::NewContactList();
    candidateModel_ = new dbmodel::RecordsetModel(candidates_, this);
    recipientModel_ = new dbmodel::RecordsetModel(recipients_, this);
    SetGrid(DataGrid1[0], candidateModel_);
    SetGrid(DataGrid1[1], recipientModel_);

    connect(Combo1[0], &QComboBox::currentTextChanged, this, [this] { 顯示查詢清單(); });
    connect(Combo1[1], &QComboBox::activated, this, [this] { 讀取發信資料(); });
    connect(Combo2, &QComboBox::activated, this, [this] { 讀取發信資料(); });
    connect(cmdRightOne, &QPushButton::clicked, this, &frm客戶批次發信1::加入右邊一列);
    connect(cmdLeftOne, &QPushButton::clicked, this, &frm客戶批次發信1::移回左邊一列);
    connect(cmdRightAll, &QPushButton::clicked, this, &frm客戶批次發信1::cmdRightAll_Click);
    connect(cmdLeftAll, &QPushButton::clicked, this, &frm客戶批次發信1::cmdLeftAll_Click);
    connect(DataGrid1[0], &QTableView::clicked, this, [this](const QModelIndex& index) {
        candidateModel_->moveTo(index.row());
        加入右邊一列();
    });
    connect(DataGrid1[1], &QTableView::clicked, this, [this](const QModelIndex& index) {
        recipientModel_->moveTo(index.row());
        移回左邊一列();
    });
    connect(Text1, &QLineEdit::textChanged, this, &frm客戶批次發信1::Text1_Change);
    connect(Command1[0], &QPushButton::clicked, this, &frm客戶批次發信1::發信);
    connect(Command1[1], &QPushButton::clicked, this, &QWidget::close);
    connect(Command2, &QPushButton::clicked, this, &frm客戶批次發信1::Command2_Click);

    // The message boxes stand right of the lists: the window opens wide enough to show them.
    resize(Px(kMessageLeft + 4200), Px(7290));
    CenterInMDI(this);

    for (const char* entry : {"客戶分類", "客戶級別", "客戶簡稱"})
        Combo1[0]->addItem(QString::fromUtf8(entry));
    Combo1[0]->setCurrentIndex(0);
    顯示查詢清單();
    讀取發信資料();
}

void frm客戶批次發信1::SetGrid(QTableView* grid, dbmodel::RecordsetModel* model)
{
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setDefaultSectionSize(Px(255));
    const char* const captions[] = {"客戶", "聯絡人", "E-mail", "客戶分類", "客戶級別"};
    const int widths[] = {1000, 1000, 2500, 1000, 1000};
    for (int c = 0; c < 5; ++c) {
        model->setHeaderData(c, Qt::Horizontal, QString::fromUtf8(captions[c]));
        grid->setColumnWidth(c, Px(widths[c]));
    }
    connect(model, &dbmodel::RecordsetModel::currentRowChanged, grid, [grid](int row) {
        if (row >= 0)
            grid->selectRow(row);
        else
            grid->clearSelection();
    });
}

bool frm客戶批次發信1::OnRow(const db::Recordset& rs) { return db::HasCurrentRow(rs); }

QVariantList frm客戶批次發信1::RowAt(const db::Recordset& rs, long position)
{
    QVariantList values;
    for (int i = 0; i < rs.FieldCount(); ++i)
        values << QVariant(vb::Nz(rs.valueAt(position, i)));
    return values;
}

void frm客戶批次發信1::CopyRow(db::Recordset& from, db::Recordset& to)
{
    const QVariantList values = RowAt(from, from.AbsolutePosition() - 1);
    to.AddNew();
    for (int i = 0; i < values.size(); ++i)
        to.setValue(i, values[i]);
    to.Update();
}

bool frm客戶批次發信1::MoveRowsWithEmail(db::Recordset& from, db::Recordset& to)
{
    // Both lists are built anew in one pass and shown once: row by row, every move would
    // redraw both grids.
    const int email = from.FieldIndex(QStringLiteral("e-mail"));
    std::vector<QVariantList> stay, into;
    for (long i = 0; i < to.RecordCount(); ++i)
        into.push_back(RowAt(to, i));
    const size_t before = into.size();
    for (long i = 0; i < from.RecordCount(); ++i) {
        QVariantList row = RowAt(from, i);
        (row[email].toString().isEmpty() ? stay : into).push_back(std::move(row));
    }
    if (into.size() == before)
        return false;
    from = batchmail::NewContactList(stay);
    to = batchmail::NewContactList(into);
    return true;
}

void frm客戶批次發信1::讀取發信資料()
{
    const int sortEntry = Combo2->findText(Combo2->currentText(), Qt::MatchExactly);
    const db::Statement q = batchmail::CandidateQuery(sortEntry, Combo1[0]->currentText(), Combo1[1]->currentText());
    try {
        db::Recordset source;
        source.Open(q.sql, gConn, db::adOpenStatic, db::adLockReadOnly, q.params);
        std::vector<QVariantList> rows;
        for (; !source.Eof(); source.MoveNext()) {
            const QVariantList v = source.values();
            rows.push_back({vb::Nz(v[0]), vb::Nz(v[3]), vb::Nz(v[4]), vb::Nz(v[2]), vb::Nz(v[1])});
        }
        candidates_ = batchmail::NewContactList(rows);
        candidateModel_->setRecordset(candidates_);
    } catch (const db::DbError& e) {
        ShowDbError(e);
    }
}

void frm客戶批次發信1::顯示查詢清單()
{
    Combo1[1]->clear();
    Combo1[1]->setEditText(QString());
    const QString column = batchmail::FilterColumn(Combo1[0]->currentText());
    if (column.isEmpty())
        return;  // a selector typed that is none of the three: nothing to list
    try {
        db::Recordset values;
        values.Open(QStringLiteral("Select DISTINCT ") + column + QStringLiteral(" From RV12  Order By ") + column,
                    gConn, db::adOpenStatic, db::adLockReadOnly);
        while (!values.Eof()) {
            const QString v = vb::Nz(values.value(0));
            if (!v.isEmpty())
                Combo1[1]->addItem(v);
            values.MoveNext();
        }
        Combo1[1]->setCurrentIndex(-1);
        Combo1[1]->setEditText(QString());
    } catch (const db::DbError& e) {
        ShowDbError(e);
    }
}

void frm客戶批次發信1::按鍵狀態()
{
    if (recipients_.IsOpen())
        Command1[0]->setEnabled(recipients_.Clone().RecordCount() >= 1);
}

void frm客戶批次發信1::加入右邊一列()
{
    try {
        if (!OnRow(candidates_)) {
            ui::MsgBox(QStringLiteral("已無資料"));
            按鍵狀態();
            return;
        }
        if (EmailOf(candidates_).isEmpty()) {
            ui::MsgBox(QStringLiteral("e-mail 是空的"));
            return;
        }
        CopyRow(candidates_, recipients_);
        Command1[0]->setEnabled(true);
        const long position = candidates_.AbsolutePosition();
        candidates_.Delete();
        candidates_.Requery();
        // The row now in the moved one's place is current, so ">" can be pressed again.
        if (candidates_.RecordCount() > 0)
            candidates_.SetAbsolutePosition(std::min(position, candidates_.RecordCount()));
        按鍵狀態();
    } catch (const db::DbError& e) {
        ShowDbError(e);
    }
}

void frm客戶批次發信1::移回左邊一列()
{
    try {
        if (!OnRow(recipients_)) {
            ui::MsgBox(QStringLiteral("已無資料"));
            Command1[0]->setEnabled(false);
            按鍵狀態();
            return;
        }
        CopyRow(recipients_, candidates_);
        const long position = recipients_.AbsolutePosition();
        recipients_.Delete();
        recipients_.Requery();
        if (recipients_.RecordCount() >= position)
            recipients_.SetAbsolutePosition(position);
        else if (recipients_.RecordCount() > 0)
            recipients_.MoveLast(), recipients_.MoveNext();  // past the end, as after the last row
        按鍵狀態();
    } catch (const db::DbError& e) {
        ShowDbError(e);
    }
}

void frm客戶批次發信1::cmdRightAll_Click()
{
    if (!OnRow(candidates_)) {
        ui::MsgBox(QStringLiteral("已無資料"));
        return;
    }
    try {
        if (MoveRowsWithEmail(candidates_, recipients_)) {
            candidateModel_->setRecordset(candidates_);
            recipientModel_->setRecordset(recipients_);
        } else {
            candidates_.MoveLast();  // the walk ended past the last candidate
            candidates_.MoveNext();
        }
    } catch (const db::DbError& e) {
        ShowDbError(e);
    }
    按鍵狀態();
}

void frm客戶批次發信1::cmdLeftAll_Click()
{
    if (!OnRow(recipients_)) {
        ui::MsgBox(QStringLiteral("已無資料"));
    } else {
        try {
            if (MoveRowsWithEmail(recipients_, candidates_)) {
                candidates_.MoveLast();  // on the last row moved back, as after appending it
                candidateModel_->setRecordset(candidates_);
                recipientModel_->setRecordset(recipients_);
            }
            if (recipients_.RecordCount() > 0)
                recipients_.MoveLast(), recipients_.MoveNext();
        } catch (const db::DbError& e) {
            ShowDbError(e);
        }
    }
    Command1[0]->setEnabled(OnRow(recipients_));
}

void frm客戶批次發信1::Text1_Change()
{
    const QString text = Text1->text();
    const int field = candidates_.FieldIndex(QStringLiteral("客戶"));
    const long count = candidates_.RecordCount();
    for (long i = 0; i < count; ++i) {
        if (vb::Nz(candidates_.valueAt(i, field)).startsWith(text, Qt::CaseInsensitive)) {
            candidates_.SetAbsolutePosition(i + 1);
            DataGrid1[0]->scrollTo(candidateModel_->index(int(i), 0));
            return;
        }
    }
}

void frm客戶批次發信1::closeEvent(QCloseEvent* event)
{
    if (busy_)
        event->ignore();  // the batch is still going through the list
    else
        QWidget::closeEvent(event);
}

void frm客戶批次發信1::SetBusy(bool busy)
{
    busy_ = busy;
    for (QWidget* w : std::initializer_list<QWidget*>{Picture3[0], Picture3[1], Picture3[2], Command1[0], Command1[1],
                                                      Command2, txtSubject, txtAttachment, txtNewMessage})
        w->setEnabled(!busy);
}

void frm客戶批次發信1::發信()
{
    if (!batchmail::ConfirmSubjectAndBody(txtSubject->text(), txtNewMessage->toPlainText()))
        return;
    if (recipients_.RecordCount() == 0) {
        ui::MsgBox(QStringLiteral("已無資料"));
        return;
    }

    mail::Message message;
    message.subject = txtSubject->text();
    message.body = txtNewMessage->toPlainText();
    const QFileInfo attachment(txtAttachment->text());
    if (!txtAttachment->text().isEmpty() && attachment.isFile()) {
        message.body += vb::gCrLf;
        message.attachmentPath = attachment.absoluteFilePath();
    }
    std::vector<mail::Message> messages;
    try {
        for (recipients_.MoveFirst(); !recipients_.Eof(); recipients_.MoveNext()) {
            message.recipientName = vb::Nz(recipients_.value(QStringLiteral("聯絡人")));
            message.recipientAddress = EmailOf(recipients_);
            messages.push_back(message);
        }
    } catch (const db::DbError& e) {
        ShowDbError(e);
        return;
    }

    // A click during the batch could close the window or change the list under the loop; the
    // stop beside the progress stays enabled.
    SetBusy(true);
    mail::SendmailTransport agent;
    batchmail::SendAll(messages, transport ? *transport : agent, *sendProgress);
    SetBusy(false);
    按鍵狀態();
}

void frm客戶批次發信1::Command2_Click()
{
    const QString path = ui::GetOpenFileName(QStringLiteral("選取圖檔"), QString(),
                                             QStringLiteral("Bmp Files (*.bmp)|*.bmp|Jpg Files (*.jpg)|*.jpg"));
    if (!path.isEmpty())
        txtAttachment->setText(path);
}

void frm客戶批次發信1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = vb::PixelsToTwips(width());
    const int h = vb::PixelsToTwips(height());
    const bool banner = width() <= bannerWidth_;
    Picture1->setVisible(banner);
    const int bannerHeight = banner ? kBannerHeight : 0;
    Place(Picture1, 0, 0, w, kBannerHeight);
    const int panelHeight = std::max(0, h - bannerHeight - kButtonBarHeight);
    Place(Picture3[0], 0, bannerHeight, kPanelWidth, panelHeight);
    Place(Picture3[2], kPanelWidth, bannerHeight, kMoveBarWidth, panelHeight);
    Place(Picture3[1], kPanelWidth + kMoveBarWidth, bannerHeight, kPanelWidth, panelHeight);
    Place(Picture2, 0, h - kButtonBarHeight, w, kButtonBarHeight);
    for (int i = 0; i < 2; ++i) {
        const int top = i == 0 ? 960 : 420;
        Place(DataGrid1[i], 30, top, kPanelWidth - 100, std::max(0, h - top - bannerHeight - kButtonBarHeight - 200));
    }
    const int boxWidth = std::max(0, w - kMessageLeft - 200);
    int top = bannerHeight + 200;
    Place(txtSubject, kMessageLeft, top, boxWidth, kBoxHeight);
    SkinLabel2[0]->move(Px(9900), Px(top));
    top += kBoxHeight;
    Place(txtAttachment, kMessageLeft, top, std::max(0, boxWidth - 375), kBoxHeight);
    SkinLabel2[1]->move(Px(9900), Px(top));
    Command2->move(txtAttachment->geometry().right() + 1, Px(top));
    top += kBoxHeight;
    Place(txtNewMessage, kMessageLeft, top, boxWidth, std::max(0, h - top - kButtonBarHeight - 200));
    SkinLabel2[2]->move(Px(9900), Px(top));
}
