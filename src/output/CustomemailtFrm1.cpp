#include "output/CustomemailtFrm1.h"

#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "output/BatchMail.h"
#include "output/ListPicker.h"
#include "output/OutputWindows.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

CustomemailtFrm1::CustomemailtFrm1(const QPixmap& titlePicture, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CustomemailtFrm1"));
    Image1 = new QLabel(this);
    Image1->setPixmap(titlePicture);
    Command1[0] = new QPushButton(LoadResString(2002), this);
    Command1[1] = new QPushButton(LoadResString(841), this);
    picker = new ListPicker(this, Command1[0], false);
    Combo2 = new QComboBox(this);
    for (int id : {795, 796, 797})
        Combo2->addItem(LoadResString(id));
    Frame1 = new QFrame(this);
    for (auto& c : Combo1)
        c = new QComboBox(Frame1);
    for (const char* entry : {"客戶分類", "客戶級別", "客戶簡稱"})
        Combo1[0]->addItem(QString::fromUtf8(entry));
    Command3 = new QPushButton(LoadResString(845), this);
    SkinLabel1[0] = new QLabel(LoadResString(846), this);
    SkinLabel1[1] = new QLabel(LoadResString(847), this);
    txtSubject = new QLineEdit(this);
    txtNewMessage = new QPlainTextEdit(this);
    setWindowTitle(LoadResString(2001));

    auto* filters = new QHBoxLayout(Frame1);
    filters->setContentsMargins(0, 0, 0, 0);
    filters->addWidget(Combo1[0]);
    filters->addWidget(Combo1[1]);
    auto* grid = new QGridLayout(this);
    grid->addWidget(Image1, 0, 0, 1, 3);
    grid->addWidget(Frame1, 1, 0);
    grid->addWidget(Combo2, 1, 2);
    grid->addLayout(picker->SearchRow(Command3), 2, 0);
    grid->addWidget(SkinLabel1[0], 3, 0);
    grid->addWidget(SkinLabel1[1], 3, 2);
    picker->PlaceLists(grid, 4);
    grid->addWidget(new QLabel(QStringLiteral("主旨"), this), 5, 0, 1, 3);
    grid->addWidget(txtSubject, 6, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("內文"), this), 7, 0, 1, 3);
    grid->addWidget(txtNewMessage, 8, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1[0]);
    buttons->addWidget(Command1[1]);
    sendProgress = new batchmail::SendProgress(this);
    buttons->addWidget(sendProgress, 1);
    buttons->addStretch();
    grid->addLayout(buttons, 9, 0, 1, 3);

    connect(Combo2, &QComboBox::activated, this, [this] { ReadListAll(); });
    connect(Command1[0], &QPushButton::clicked, this, [this] { 發信(); });
    connect(Command1[1], &QPushButton::clicked, this, &QWidget::close);

    resize(vb::TwipsToPixels(10350), vb::TwipsToPixels(7290));
    CenterInMDI(this);
    ReadListAll();
}

void CustomemailtFrm1::ReadListAll()
{
    try {
        db::Recordset rs = gConn.ExecuteQuery(QStringLiteral(
            "Select RV12.RV120,RV12.RV121,RV12A.RV12A0,RV12A.rv12a1,RV12A.RV12A2,RV12A.RV12A6 From RV12,RV12A "
            "Where RV12.RV120=RV12A.RV12A0 "));
        picker->lstAll->clear();
        for (; !rs.Eof(); rs.MoveNext()) {
            const QString shortName = vb::Nz(rs.value(1));
            if (vb::Trim(shortName).isEmpty())
                continue;
            picker->lstAll->addItem(batchmail::ContactLine(shortName, vb::Nz(rs.value(3)), vb::Nz(rs.value(5))));
        }
    } catch (const db::DbError& e) {
        ShowDbError(e);
    }
}

void CustomemailtFrm1::發信()
{
    if (!batchmail::ConfirmSubjectAndBody(txtSubject->text(), txtNewMessage->toPlainText()))
        return;
    std::vector<mail::Message> messages;
    for (const QString& line : picker->Selected()) {
        const std::optional<QString> address = batchmail::AddressOfLine(line);
        if (!address)
            continue;
        mail::Message m;
        m.recipientName = vb::Trim(line);
        m.recipientAddress = *address;
        m.subject = txtSubject->text();
        m.body = txtNewMessage->toPlainText();
        messages.push_back(m);
    }
    // Everything but the progress and its stop waits for the end of the batch.
    std::vector<std::pair<QWidget*, bool>> controls;
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        controls.emplace_back(w, w->isEnabled());
        w->setEnabled(w == sendProgress);
    }
    mail::SendmailTransport agent;
    batchmail::SendAll(messages, transport ? *transport : agent, *sendProgress);
    for (const auto& [w, enabled] : controls)
        w->setEnabled(enabled);
}

void CustomemailtFrm1::closeEvent(QCloseEvent* event)
{
    if (sendProgress->Running())
        event->ignore();  // the batch is still going through the list
    else
        QWidget::closeEvent(event);
}
