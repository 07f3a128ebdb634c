#include "output/ListPicker.h"

#include "platform/text/Like.h"
#include "platform/text/VbText.h"
#include "platform/widgets/Keys.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace {

bool HasSelection(QListWidget* list)
{
    return list->currentItem() && list->currentItem()->isSelected();
}

void SelectRow(QListWidget* list, int row)
{
    if (row >= 0 && row < list->count())
        list->setCurrentRow(row);
}

// After removing the item at row: the item now at row, or the last one.
void SelectAfterRemoval(QListWidget* list, int row)
{
    if (list->count() > 0)
        SelectRow(list, std::min(row, list->count() - 1));
}

// The texts of a list from the first to the last.
QStringList Texts(const QListWidget* list)
{
    QStringList texts;
    texts.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

}  // namespace

ListPicker::ListPicker(QWidget* parent, QPushButton* action, bool rightAllEnablesAction)
    : QObject(parent),
      lstAll(new QListWidget(parent)),
      lstSelected(new QListWidget(parent)),
      cmdRightOne(new QPushButton(QStringLiteral(">"), parent)),
      cmdRightAll(new QPushButton(QStringLiteral(">>"), parent)),
      cmdLeftOne(new QPushButton(QStringLiteral("<"), parent)),
      cmdLeftAll(new QPushButton(QStringLiteral("<<"), parent)),
      cmdUp(new QPushButton(parent)),
      cmdDown(new QPushButton(parent)),
      Text1(new QLineEdit(parent)),
      action_(action),
      rightAllEnablesAction_(rightAllEnablesAction)
{
    lstAll->setSelectionMode(QAbstractItemView::SingleSelection);
    lstSelected->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every entry is one line of the same font: the lists lay themselves out from one entry's
    // size, so moving an entry across does not measure every other entry again.
    lstAll->setUniformItemSizes(true);
    lstSelected->setUniformItemSizes(true);
    cmdUp->setIcon(QApplication::style()->standardIcon(QStyle::SP_ArrowUp));
    cmdDown->setIcon(QApplication::style()->standardIcon(QStyle::SP_ArrowDown));
    connect(cmdRightOne, &QPushButton::clicked, this, &ListPicker::cmdRightOne_Click);
    connect(cmdRightAll, &QPushButton::clicked, this, &ListPicker::cmdRightAll_Click);
    connect(cmdLeftOne, &QPushButton::clicked, this, &ListPicker::cmdLeftOne_Click);
    connect(cmdLeftAll, &QPushButton::clicked, this, &ListPicker::cmdLeftAll_Click);
    connect(cmdUp, &QPushButton::clicked, this, &ListPicker::cmdUp_Click);
    connect(cmdDown, &QPushButton::clicked, this, &ListPicker::cmdDown_Click);
    connect(lstAll, &QListWidget::itemDoubleClicked, this, &ListPicker::cmdRightOne_Click);
    connect(lstSelected, &QListWidget::itemDoubleClicked, this, &ListPicker::cmdLeftOne_Click);
    Text1->installEventFilter(this);
}

void ListPicker::cmdRightOne_Click()
{
    if (lstAll->count() == 0) {
        action_->setEnabled(false);
        return;
    }
    if (!HasSelection(lstAll))
        return;
    const int row = lstAll->currentRow();
    action_->setEnabled(true);
    lstSelected->addItem(lstAll->item(row)->text());
    delete lstAll->takeItem(row);
    SelectAfterRemoval(lstAll, row);
    SelectRow(lstSelected, lstSelected->count() - 1);
}

void ListPicker::cmdRightAll_Click()
{
    // One insertion for the lot: the list lays itself out once, not once per item.
    lstSelected->addItems(Texts(lstAll));
    lstAll->clear();
    SelectRow(lstSelected, 0);
    if (rightAllEnablesAction_)
        action_->setEnabled(true);
}

void ListPicker::cmdLeftOne_Click()
{
    if (lstSelected->count() == 0) {
        action_->setEnabled(false);
        return;
    }
    if (!HasSelection(lstSelected))
        return;
    const int row = lstSelected->currentRow();
    lstAll->addItem(lstSelected->item(row)->text());
    SelectRow(lstAll, lstAll->count() - 1);
    delete lstSelected->takeItem(row);
    action_->setEnabled(lstSelected->count() > 0);
    SelectAfterRemoval(lstSelected, row);
}

void ListPicker::cmdLeftAll_Click()
{
    lstAll->addItems(Texts(lstSelected));
    lstSelected->clear();
    SelectRow(lstAll, lstAll->count() - 1);
    action_->setEnabled(false);
}

void ListPicker::cmdUp_Click()
{
    const int i = lstSelected->currentRow();
    if (i <= 0 || !HasSelection(lstSelected))
        return;
    lstSelected->insertItem(i - 1, lstSelected->item(i)->text());
    delete lstSelected->takeItem(i + 1);
    SelectRow(lstSelected, i - 1);
}

void ListPicker::cmdDown_Click()
{
    const int i = lstSelected->currentRow();
    if (i < 0 || i >= lstSelected->count() - 1 || !HasSelection(lstSelected))
        return;
    lstSelected->insertItem(i + 2, lstSelected->item(i)->text());
    delete lstSelected->takeItem(i);
    SelectRow(lstSelected, i + 1);
}

void ListPicker::Text1_KeyPress(QChar key)
{
    if (key == QLatin1Char('\r')) {
        cmdRightOne_Click();
        return;
    }
    const QString pattern = Text1->text() + key + QLatin1Char('*');
    for (int i = 0; i < lstAll->count(); ++i) {
        if (vb::Like(lstAll->item(i)->text(), pattern)) {
            lstAll->setCurrentRow(i);
            return;
        }
    }
}

QStringList ListPicker::Selected() const
{
    return Texts(lstSelected);
}

void ListPicker::SetCandidates(const QStringList& texts)
{
    lstAll->clear();
    lstAll->addItems(texts);
    if (lstAll->count() > 0)
        lstAll->setCurrentRow(0);
}

QHBoxLayout* ListPicker::SearchRow(QWidget* caption) const
{
    auto* row = new QHBoxLayout;
    row->addWidget(caption);
    row->addWidget(Text1);
    return row;
}

void ListPicker::PlaceLists(QGridLayout* grid, int row) const
{
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton* b : {cmdRightOne, cmdRightAll, cmdLeftOne, cmdLeftAll, cmdUp, cmdDown}) {
        b->setFixedWidth(vb::TwipsToPixels(600));
        moves->addWidget(b);
    }
    moves->addStretch();
    grid->addWidget(lstAll, row, 0);
    grid->addLayout(moves, row, 1);
    grid->addWidget(lstSelected, row, 2);
}

bool ListPicker::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnter(key)) {
            Text1_KeyPress(QLatin1Char('\r'));
            return true;
        }
        if (key->key() == Qt::Key_Backspace)
            Text1_KeyPress(QChar(8));
        else if (!key->text().isEmpty() && key->text()[0].isPrint())
            Text1_KeyPress(key->text()[0]);
    }
    return QObject::eventFilter(watched, event);
}
