#include "output/CustomLabelPrtFrm1.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "core/numbering/ListFillers.h"
#include "output/AdjustLabelFrm.h"
#include "output/BulkMail.h"
#include "output/ListPicker.h"
#include "output/PickedRows.h"
#include "output/OutputWindows.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>

LabelParts CustomerLabel(db::Recordset& customer, bool withCode, bool responsibleAsRecipient,
                         const QString& recipientText)
{
    LabelParts label;
    label.company = vb::Nz(customer.value(QStringLiteral("客戶全銜")));
    if (withCode)
        label.company += QLatin1Char('(') + vb::Nz(customer.value(QStringLiteral("RV120"))) + QLatin1Char(')');
    label.address = vb::Nz(customer.value(QStringLiteral("RV128")));
    label.postcode = vb::Nz(customer.value(QStringLiteral("RV125")));
    label.recipient = responsibleAsRecipient
                          ? QLatin1Char('(') + vb::Nz(customer.value(QStringLiteral("RV126"))) + QLatin1Char(')')
                          : recipientText;
    return label;
}

CustomLabelPrtFrm1::~CustomLabelPrtFrm1() = default;

CustomLabelPrtFrm1::CustomLabelPrtFrm1(const QPixmap& titlePicture, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CustomLabelPrtFrm1"));
    Image1 = NewTitleBanner(this, titlePicture);

    TabStrip1 = new QTabBar(this);
    for (const char* tab : {"客戶代號", "自訂", "單筆"})
        TabStrip1->addTab(QString::fromUtf8(tab));
    frames = new QStackedWidget(this);

    // Tab 1: a code range.
    auto* range = new QFrame;
    auto* rangeGrid = new QGridLayout(range);
    for (int i = 0; i < 2; ++i) {
        DataCombo1[i] = new QComboBox(range);
        DataCombo1[i]->setEditable(true);
        rangeGrid->addWidget(new QLabel(QString::fromUtf8(i == 0 ? "起始代號:" : "結束代號:"), range), i, 0);
        rangeGrid->addWidget(DataCombo1[i], i, 1);
    }
    rangeGrid->setRowStretch(2, 1);
    frames->addWidget(range);

    // Tab 2: picked customers.
    auto* pick = new QFrame;
    Command1[0] = new QPushButton(this);
    picker = new ListPicker(pick, Command1[0], false);
    Combo2 = new QComboBox(pick);
    Combo3 = new QComboBox(pick);
    Combo3->setEditable(true);
    auto* pickGrid = new QGridLayout(pick);
    auto* options = new QHBoxLayout;
    options->addWidget(new QLabel(QStringLiteral("排序"), pick));
    options->addWidget(Combo2, 1);
    options->addWidget(new QLabel(QStringLiteral("群組"), pick));
    options->addWidget(Combo3, 1);
    pickGrid->addLayout(options, 0, 0, 1, 3);
    pickGrid->addLayout(picker->SearchRow(new QLabel(QStringLiteral("速查"), pick)), 1, 0);
    pickGrid->addWidget(new QLabel(LoadResString(847), pick), 1, 2);
    picker->PlaceLists(pickGrid, 2);
    frames->addWidget(pick);

    // Tab 3: one customer on many rows.
    auto* single = new QFrame;
    auto* singleGrid = new QGridLayout(single);
    Combo4 = new QComboBox(single);
    Combo4->setEditable(true);
    Text2 = new QLineEdit(single);
    singleGrid->addWidget(new QLabel(QStringLiteral("客戶:"), single), 0, 0);
    singleGrid->addWidget(Combo4, 0, 1);
    singleGrid->addWidget(new QLabel(QStringLiteral("筆數:"), single), 1, 0);
    singleGrid->addWidget(Text2, 1, 1);
    singleGrid->setRowStretch(2, 1);
    frames->addWidget(single);

    // Settings of the label text.
    auto* fields = new QFrame(this);
    auto* fieldsGrid = new QGridLayout(fields);
    fieldsGrid->setContentsMargins(0, 0, 0, 0);
    Check1[0] = new QCheckBox(fields);
    Check1[1] = new QCheckBox(fields);
    Check1[1]->setToolTip(QStringLiteral("以負責人當收件人"));
    Combo1 = new QComboBox(fields);
    Combo1->setEditable(true);
    Combo1->setToolTip(QStringLiteral("選擇一個收件人或自行輸入收件人"));
    // Both settings on one line, leaving the picker's lists and buttons their height.
    fieldsGrid->addWidget(new QLabel(QStringLiteral("欄位設定"), fields), 0, 0);
    fieldsGrid->addWidget(Check1[0], 0, 1);
    fieldsGrid->addWidget(new QLabel(QStringLiteral("收件人設定"), fields), 0, 2);
    fieldsGrid->addWidget(Check1[1], 0, 3);
    fieldsGrid->addWidget(Combo1, 0, 4);
    fieldsGrid->setColumnStretch(4, 1);

    // Bulk registered-mail panel.
    Picture2 = new QFrame(this);
    bulkMail = std::make_unique<BulkMailPanel>(Picture2);
    Picture2->setLayout(bulkMail->NewLayout());

    for (int i = 1; i < 4; ++i)
        Command1[i] = new QPushButton(this);
    auto* content = new QVBoxLayout;
    content->addWidget(TabStrip1);
    content->addWidget(frames, 1);
    content->addWidget(fields);
    content->addWidget(Picture2);
    LayOutLabelWindow(this, Image1, content, Command1);

    for (int id : {795, 796, 797})
        Combo2->addItem(LoadResString(id));
    setWindowTitle(LoadResString(838));
    Check1[0]->setText(LoadResString(849));
    Check1[1]->setText(LoadResString(844));

    for (int i = 0; i < 4; ++i)
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    connect(TabStrip1, &QTabBar::currentChanged, this, [this] { TabStrip1_Click(); });
    connect(Check1[1], &QCheckBox::toggled, this, [this](bool on) { Combo1->setEnabled(!on); });
    connect(Combo2, &QComboBox::activated, this, [this] { ReadListAll(); });
    connect(Combo3, &QComboBox::activated, this, [this] { ReadListAll(); });
    connect(Combo3, &QComboBox::editTextChanged, this, [this] { ReadListAll(); });

    const auto guarded = [](const std::function<void()>& step) {
        try {
            step();
        } catch (const db::DbError& e) {
            ShowDbError(e);
        }
    };
    guarded([this] { ReadListAll(); });
    for (int id : {850, 851, 852, 853})
        Combo1->addItem(LoadResString(id));
    guarded([this] {
        Combo3->blockSignals(true);
        FillDistinctCombo(Combo3, QStringLiteral("類別"), QStringLiteral("RV12"), gConn);
        Combo3->setCurrentIndex(-1);
        Combo3->setEditText(QString());
        Combo3->blockSignals(false);
        for (QComboBox* box : DataCombo1) {
            FillDistinctCombo(box, QStringLiteral("RV120"), QStringLiteral("RV12"), gConn);
            box->setCurrentIndex(-1);
            box->setEditText(QString());
        }
    });
    FillCustomerShortNames(Combo4);
    Combo4->setEditText(QString());
    TabStrip1_Click();

    resize(vb::TwipsToPixels(7980), vb::TwipsToPixels(6550));
    CenterInMDI(this);
}

void CustomLabelPrtFrm1::ReadListAll()
{
    const QString sort = CustomerOrderBy(Combo2->currentText());
    db::Recordset rs;
    if (!Combo3->currentText().isEmpty())
        rs = gConn.ExecuteQuery(QStringLiteral("Select RV12.RV121 From RV12 Where 類別=? ") + sort, {Combo3->currentText()});
    else
        rs = gConn.ExecuteQuery(QStringLiteral("Select RV12.RV121 From RV12 ") + sort);
    QStringList names;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString name = vb::Nz(rs.value(0));
        if (!name.isEmpty())
            names << name;
    }
    picker->SetCandidates(names);
}

LabelParts CustomLabelPrtFrm1::LabelOf(db::Recordset& customer) const
{
    return CustomerLabel(customer, Check1[0]->isChecked(), Check1[1]->isChecked(), Combo1->currentText());
}

void CustomLabelPrtFrm1::ShowSheet(LabelPairer& pairer)
{
    lastSheet_ = pairer.Finish();
    ShowLabels(LabelLayout::Customer, lastSheet_);
}

void CustomLabelPrtFrm1::LabelPrint()
{
    LabelPairer pairer(NewLabelSheet());
    {
        ui::WaitCursor wait;
        db::Recordset rs = gConn.ExecuteQuery(QStringLiteral("Select RV12.* From RV12 where rv120 >= ?  and rv120 <= ?"),
                                              {DataCombo1[0]->currentText(), DataCombo1[1]->currentText()});
        for (; !rs.Eof(); rs.MoveNext()) {
            pairer.Add(LabelOf(rs));
            ui::DoEvents();
        }
    }
    ShowSheet(pairer);
}

void CustomLabelPrtFrm1::UserDecidePrint()
{
    LabelPairer pairer(NewLabelSheet());
    {
        ui::WaitCursor wait;
        const QStringList picked = picker->Selected();
        PickedRows rows(gConn, QStringLiteral("Select RV12.* From RV12"), QStringLiteral("rv121"), picked);
        const auto find = [&](const QString& item) -> std::optional<LabelParts> {
            db::Recordset* rs = rows.Find(item);
            if (!rs)
                return std::nullopt;
            return LabelOf(*rs);
        };
        ForEachPicked(picked, QStringLiteral("無此資料"), find,
                      [&pairer](const LabelParts& label) { pairer.Add(label); });
    }
    ShowSheet(pairer);
}

void CustomLabelPrtFrm1::單筆多模列印()
{
    const double rows = vb::Val(Text2->text());
    if (rows == 0) {
        ui::MsgBox(QStringLiteral("列印數量為零"));
        return;
    }
    db::Recordset rs;
    {
        ui::WaitCursor wait;
        rs = gConn.ExecuteQuery(QStringLiteral("Select RV12.* From RV12 where rv121=?"), {vb::Trim(Combo4->currentText())});
    }
    if (rs.Eof()) {
        ui::MsgBox(QStringLiteral("無此客戶"));
        return;
    }
    const LabelParts label = LabelOf(rs);
    LabelPairer pairer(NewLabelSheet());
    {
        ui::WaitCursor wait;
        const long long count = vb::CLng(rows);
        for (long long i = 1; i <= count; ++i) {
            pairer.AddTwin(label);
            ui::DoEvents();
        }
    }
    ShowSheet(pairer);
}

void CustomLabelPrtFrm1::大宗掛號單列印()
{
    const QStringList picked = picker->Selected();
    bulkMail->大宗掛號單列印(picked, CustomerAddressees(picked));
}

void CustomLabelPrtFrm1::TabStrip1_Click()
{
    const int tab = TabStrip1->currentIndex();
    frames->setCurrentIndex(tab);
    Picture2->setEnabled(tab == 1);
    Command1[3]->setEnabled(tab == 1);
}

void CustomLabelPrtFrm1::Command1_Click(int index)
{
    switch (index) {
    case 1:
        close();
        return;
    case 2:
        AdjustLabelFrm::Open();
        return;
    default:
        break;
    }
    // A failing print is reported with Abort, Retry (the whole job anew) and Ignore.
    const std::function<void()> job = [this, index] {
        if (index == 3) {
            大宗掛號單列印();
            return;
        }
        switch (TabStrip1->currentIndex()) {
        case 0: LabelPrint(); break;
        case 1: UserDecidePrint(); break;
        case 2: 單筆多模列印(); break;
        default: break;
        }
    };
    ui::RunSteps({job}, [](const std::exception& e) { return ErrorText(e); });
}
