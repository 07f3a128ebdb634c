#include "core/update/變更密碼Frm.h"

#include "core/BoxColours.h"
#include "core/ErrorText.h"
#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "core/update/Password.h"
#include "platform/db/Db.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/Keys.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString BoxBackground(const QColor& colour)
{
    return QStringLiteral("QLineEdit { background-color: %1; }").arg(colour.name().toUpper());
}

// Reports an error of the users table where no caller can take it (a window's event).
void ShowError(const std::exception& e)
{
    if (auto* dbError = dynamic_cast<const db::DbError*>(&e))
        ui::MsgBox(ErrorDescription(*dbError) + gCrLf + QStringLiteral("錯誤代號: ") + QString::number(dbError->Number()));
    else
        ui::MsgBox(ErrorText(e));
}

}  // namespace

變更密碼Frm::變更密碼Frm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("變更密碼"));
    auto* grid = new QGridLayout(this);
    const QString captions[] = {QStringLiteral("原密碼"), QStringLiteral("新密碼"), QStringLiteral("確認新密碼"),
                                QStringLiteral("使用者")};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(captions[i], this);
        auto* box = new QLineEdit(this);
        if (i < 3)
            box->setEchoMode(QLineEdit::Password);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
        grid->addWidget(label, i, 0);
        grid->addWidget(box, i, 1);
        Label1.push_back(label);
        Text1.push_back(box);
    }
    auto* status = new QLabel(this);
    grid->addWidget(status, 4, 0, 1, 2);
    Label1.push_back(status);

    auto* buttons = new QHBoxLayout;
    const QString buttonCaptions[] = {QStringLiteral("變更"), QStringLiteral("離開")};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(buttonCaptions[i], this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        buttons->addWidget(button);
        Command1.push_back(button);
    }
    grid->addLayout(buttons, 5, 0, 1, 2);

    Text1[3]->setText(gUserName);
    Text1_Change();
    adjustSize();
    CenterOnScreen(this);
}

bool 變更密碼Frm::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < int(Text1.size()); ++i) {
        if (watched != Text1[i])
            continue;
        if (event->type() == QEvent::FocusIn) {
            Text1_GotFocus(i);
        } else if (event->type() == QEvent::FocusOut) {
            // Another window taking the focus (a message box) is not the user leaving the box.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible())
                Text1_LostFocus(i);
        } else if (event->type() == QEvent::KeyPress) {
            if (IsEnter(static_cast<QKeyEvent*>(event))) {
                Text1_KeyPress(i);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void 變更密碼Frm::Text1_GotFocus(int index)
{
    Text1[index]->setStyleSheet(BoxBackground(BoxColours::Focused()));
}

void 變更密碼Frm::Text1_LostFocus(int index)
{
    Text1[index]->setStyleSheet(BoxBackground(BoxColours::Grey()));
    if (index != 0)
        return;
    QString user = vb::Trim(gUserName);
    QString old = vb::Trim(Text1[0]->text());
    bool passed = false;
    try {
        passed = CheckPassword(user, old, false);
    } catch (const std::exception& e) {
        ShowError(e);
        return;
    }
    if (passed)
        return;
    ui::MsgBox(QStringLiteral("密碼錯誤"));
    if (++wrongTries_ >= 3)
        close();
}

void 變更密碼Frm::Text1_KeyPress(int index)
{
    Text1[index < 2 ? index + 1 : 0]->setFocus(Qt::TabFocusReason);
}

void 變更密碼Frm::Text1_Change()
{
    const bool same = !vb::Trim(Text1[1]->text()).isEmpty() && Text1[1]->text() == Text1[2]->text();
    Command1[0]->setEnabled(same);
    Label1[4]->setText(same ? QStringLiteral("密碼相符") : QStringLiteral("密碼不符"));
}

void 變更密碼Frm::Command1_Click(int index)
{
    if (Text1[1]->text() != Text1[2]->text()) {
        ui::MsgBox(QStringLiteral("密碼不符合"));
        close();
        return;
    }
    if (index == 0) {
        try {
            db::Recordset rs;
            rs.Open(kPasswordRowQuery, gConnAlt, db::adOpenDynamic, db::adLockOptimistic,
                    {gUserName, vb::Trim(Text1[0]->text())});
            if (rs.Bof() && rs.Eof()) {
                ui::MsgBox(QStringLiteral("原密碼錯誤"));
            } else {
                rs.setValue(QStringLiteral("密碼"), Text1[1]->text());
                rs.setValue(QStringLiteral("變更日期"), vb::Format(ui::Today(), QStringLiteral("yyyy/mm/dd")));
                rs.Update();
                ui::MsgBox(QStringLiteral("您的密碼已經變更"));
            }
        } catch (const std::exception& e) {
            ShowError(e);
        }
    }
    close();
}
