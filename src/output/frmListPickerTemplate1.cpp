#include "output/frmListPickerTemplate1.h"

#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "output/AdjustLabelFrm.h"
#include "output/BulkMail.h"
#include "output/ListPicker.h"
#include "output/PickedRows.h"
#include "output/OutputWindows.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

LabelParts VendorLabel(db::Recordset& vendor, bool withCode, VendorAddress address, bool responsible)
{
    LabelParts label;
    label.company = vb::Nz(vendor.value(QStringLiteral("RV113")));
    if (withCode)
        label.company += QLatin1Char('(') + vb::Nz(vendor.value(QStringLiteral("RV111"))) + QLatin1Char(')');
    label.address = vb::Nz(vendor.value(address == VendorAddress::Company ? QStringLiteral("RV1111") : QStringLiteral("RV1112")));
    label.recipient = vb::Nz(vendor.value(responsible ? QStringLiteral("RV115") : QStringLiteral("RV114")));
    return label;
}

frmListPickerTemplate1::~frmListPickerTemplate1() = default;

frmListPickerTemplate1::frmListPickerTemplate1(const QPixmap& titlePicture, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmListPickerTemplate1"));
    Image1 = NewTitleBanner(this, titlePicture);
    for (QPushButton*& b : Command1)
        b = new QPushButton(this);
    Command1[0]->setEnabled(false);
    picker = new ListPicker(this, Command1[0], true);

    Check1[0] = new QCheckBox(this);
    Check1[1] = new QCheckBox(this);
    Check1[1]->setToolTip(QStringLiteral("顯示全部廠商清單或只顯示廠商類別"));
    DataCombo1 = new QComboBox(this);
    DataCombo1->setToolTip(QStringLiteral("挑選一種廠商類別"));
    for (int i = 0; i < 2; ++i)
        Frame2[i] = new QGroupBox(this);
    auto* addressGroup = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        Option1[i] = new QRadioButton(Frame2[i / 2]);
        if (i < 2)
            addressGroup->addButton(Option1[i]);
    }
    auto* addressLayout = new QHBoxLayout(Frame2[0]);
    addressLayout->addWidget(Option1[0]);
    addressLayout->addWidget(Option1[1]);
    auto* personLayout = new QHBoxLayout(Frame2[1]);
    personLayout->addWidget(Option1[2]);
    personLayout->addWidget(Option1[3]);
    Option1[2]->setChecked(true);
    SkinLabel1[0] = new QLabel(QStringLiteral("速查"), this);
    SkinLabel1[1] = new QLabel(this);
    bulkMail = std::make_unique<BulkMailPanel>(this);

    auto* grid = new QGridLayout;
    grid->addWidget(Check1[1], 0, 0);
    grid->addWidget(DataCombo1, 0, 2);
    grid->addLayout(picker->SearchRow(SkinLabel1[0]), 1, 0);
    grid->addWidget(SkinLabel1[1], 1, 2);
    picker->PlaceLists(grid, 2);
    auto* choices = new QHBoxLayout;
    choices->addWidget(Frame2[0]);
    choices->addWidget(Frame2[1]);
    choices->addWidget(Check1[0]);
    grid->addLayout(choices, 3, 0, 1, 3);
    grid->addLayout(bulkMail->NewLayout(), 4, 0, 1, 3);
    LayOutLabelWindow(this, Image1, grid, Command1);

    setWindowTitle(LoadResString(860));
    Frame2[0]->setTitle(LoadResString(861));
    Frame2[1]->setTitle(LoadResString(862));
    Check1[0]->setText(LoadResString(866));
    Check1[1]->setText(LoadResString(865));
    for (int i = 0; i < 4; ++i)
        Option1[i]->setText(LoadResString(867 + i));
    SkinLabel1[1]->setText(LoadResString(872));

    try {
        db::Recordset categories = gConn.ExecuteQuery(QStringLiteral("Select RV1.* From RV1 Order By RV11"));
        for (; !categories.Eof(); categories.MoveNext())
            DataCombo1->addItem(vb::Nz(categories.value(QStringLiteral("RV11"))));
        DataCombo1->setCurrentIndex(-1);
    } catch (const db::DbError& e) {
        ShowDbError(e);
    }
    Check1[1]->setChecked(true);
    DataCombo1->setEnabled(false);
    Loadfactoryname(0);

    for (int i = 0; i < 4; ++i)
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    connect(Check1[1], &QCheckBox::clicked, this, [this] { Check1_Click(1); });
    connect(DataCombo1, &QComboBox::activated, this, [this] { Loadfactoryname(1); });

    resize(vb::TwipsToPixels(7845), vb::TwipsToPixels(6765));
    CenterInMDI(this);
}

void frmListPickerTemplate1::Loadfactoryname(int mode)
{
    const auto fill = [this](db::Recordset& rs) {
        QStringList names;
        for (; !rs.Eof(); rs.MoveNext()) {
            const QString name = vb::Nz(rs.value(QStringLiteral("RV112")));
            if (!vb::Trim(name).isEmpty())
                names << name;
        }
        picker->SetCandidates(names);
    };
    try {
        if (mode == 0) {
            db::Recordset rs = gConn.ExecuteQuery(QStringLiteral("Select RV11.* From RV11  Order By RV11.RV111"));
            fill(rs);
        } else if (mode == 1) {
            const QString text = DataCombo1->currentText();
            if (vb::Trim(text).isEmpty())
                return;
            db::Recordset category = gConn.ExecuteQuery(
                QStringLiteral(" Select rv1.* From rv1 Where (rv1.RV11 = ? ) Order By rv1.RV11"), {text});
            if (category.Eof())
                return;
            const QString code = vb::Nz(category.value(QStringLiteral("RV10")));
            db::Recordset rs = gConn.ExecuteQuery(
                QStringLiteral(" Select rv11.* From rv11 Where (rv11.RV110 = ? ) Order By rv11.RV112"), {code});
            if (rs.Eof())
                return;
            fill(rs);
        }
    } catch (const db::DbError& e) {
        ShowDbError(e);
    }
}

void frmListPickerTemplate1::Check1_Click(int index)
{
    if (index != 1)
        return;
    const bool all = Check1[1]->isChecked();
    DataCombo1->setEnabled(!all);
    Loadfactoryname(all ? 0 : 1);
    Check1[1]->setText(all ? QStringLiteral("全部廠商") : QStringLiteral("廠商類別"));
}

void frmListPickerTemplate1::廠商標籤列印()
{
    LabelPairer pairer(NewLabelSheet());
    const VendorAddress address = Option1[0]->isChecked()   ? VendorAddress::Company
                                  : Option1[1]->isChecked() ? VendorAddress::Factory
                                                            : VendorAddress::None;
    {
        ui::WaitCursor wait;
        const QStringList picked = picker->Selected();
        PickedRows rows(gConn, QStringLiteral("Select RV11.* From RV11"), QStringLiteral("rv112"), picked);
        const auto find = [&](const QString& name) -> std::optional<LabelParts> {
            db::Recordset* rs = rows.Find(name);
            if (!rs)
                return std::nullopt;
            return VendorLabel(*rs, Check1[0]->isChecked(), address, Option1[2]->isChecked());
        };
        ForEachPicked(picked, QStringLiteral("無此資料 "), find,
                      [&pairer](const LabelParts& label) { pairer.Add(label); });
    }
    lastSheet_ = pairer.Finish();
    ShowLabels(LabelLayout::Customer, lastSheet_);
}

void frmListPickerTemplate1::大宗掛號單列印()
{
    const QStringList picked = picker->Selected();
    bulkMail->大宗掛號單列印(picked, VendorAddressees(picked));
}

void frmListPickerTemplate1::Command1_Click(int index)
{
    try {
        switch (index) {
        case 0: 廠商標籤列印(); break;
        case 1: close(); break;
        case 2: AdjustLabelFrm::Open(); break;
        case 3: 大宗掛號單列印(); break;
        default: break;
        }
    } catch (const db::DbError& e) {
        ShowDbError(e);
    }
}
