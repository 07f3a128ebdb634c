#include "output/AdjustLabelFrm.h"

#include "core/SettingKeys.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "output/LabelSheet.h"
#include "platform/ui/Ui.h"
#include "platform/text/VbText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

namespace {

QString NumberText(double v)
{
    return QString::number(v, 'g', 15);
}

}  // namespace

void AdjustLabelFrm::Open()
{
    QPointer<AdjustLabelFrm>& offsets = Global();
    if (!offsets) {
        offsets = new AdjustLabelFrm;
        offsets->setAttribute(Qt::WA_DeleteOnClose);
    }
    offsets->show();
    offsets->raise();
}

AdjustLabelFrm::AdjustLabelFrm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("AdjustLabelFrm"));
    setWindowTitle(QStringLiteral("郵寄標籤列印微調"));
    Frame1 = new QGroupBox(QStringLiteral("列印位置微調"), this);
    auto* grid = new QGridLayout(Frame1);
    int line = 0;
    for (const LabelOffsetRow& row : kLabelOffsetRows) {
        Text2[row.box] = new QLineEdit(Frame1);
        cmlabel[row.box] = new QLabel(Frame1);
        cmlabel[row.box]->setMinimumWidth(48);
        cmlabel[row.box]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(new QLabel(QString::fromUtf8(row.caption), Frame1), line, 0);
        grid->addWidget(Text2[row.box], line, 1);
        grid->addWidget(cmlabel[row.box], line, 2);
        grid->addWidget(new QLabel(QStringLiteral("cm"), Frame1), line, 3);
        ++line;
    }
    const char* const captions[] = {"確定(&Y)", "離開(&X)", "套用(&G)"};
    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        Command1[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        buttons->addWidget(Command1[i]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);

    for (int i = 0; i < 4; ++i)
        connect(Text2[i], &QLineEdit::textChanged, this, [this, i] { cmlabel[i]->setText(CentimetreText(Text2[i]->text())); });
    // In box order: up, left, pitch, page footer.
    const LabelOffsetRow* byBox[4] = {&kLabelOffsetRows[0], &kLabelOffsetRows[1], &kLabelOffsetRows[3],
                                      &kLabelOffsetRows[2]};
    for (int i = 0; i < 4; ++i) {
        Text2[i]->setText(NumberText(vb::Val(ReadSetting(QString::fromUtf8(byBox[i]->key), settings::kMain, 0))));
        if (vb::Val(Text2[i]->text()) == 0)
            Text2[i]->setText(QString::number(byBox[i]->fallback));
    }
    adjustSize();
    CenterInMDI(this);
}

bool AdjustLabelFrm::RefuseOutOfRange()
{
    const LabelOffsetRanges limits = LabelOffsetLimits();
    for (const LabelOffsetRow& row : kLabelOffsetRows) {
        // Read as the reports read it: the leading number, 0 meaning the default.
        const int twips = OffsetTwips(Text2[row.box]->text(), row.fallback);
        const QString limit = OffsetLimitText(twips, LabelOffsetRangeOf(limits, row.box));
        if (limit.isEmpty())
            continue;
        ui::MsgBox(QString::fromUtf8(row.caption) + limit + QStringLiteral("\r\n設定並未儲存。"));
        Text2[row.box]->setFocus(Qt::OtherFocusReason);
        Text2[row.box]->selectAll();
        return true;
    }
    return false;
}

void AdjustLabelFrm::Command1_Click(int index)
{
    switch (index) {
    case 0:
        if (RefuseOutOfRange())
            break;
        Command1_Click(2);
        close();
        break;
    case 1:
        close();
        break;
    case 2:
        // An offset the labels cannot be printed with is refused here, never moved elsewhere.
        if (RefuseOutOfRange())
            break;
        WriteSetting(QStringLiteral("adjustlabelUP"), Text2[0]->text(), settings::kMain, 0);
        WriteSetting(QStringLiteral("adjustlabelLeft"), Text2[1]->text(), settings::kMain, 0);
        WriteSetting(QStringLiteral("ModelSpaceBetween"), Text2[2]->text(), settings::kMain, 0);
        WriteSetting(QStringLiteral("PageFooter"), Text2[3]->text(), settings::kMain, 0);
        break;
    default:
        break;
    }
}
