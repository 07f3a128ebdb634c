#include "shell/frmOptions.h"

#include "core/Globals.h"
#include "core/Paths.h"
#include "core/SettingKeys.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "core/update/SelfUpdate.h"
#include "platform/files/WholeFile.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "shell/Backup.h"
#include "shell/MDIForm1.h"
#include "shell/Options.h"
#include "shell/Skin.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

using vb::Px;

const QString& Section() { return settings::kMain; }

QString Read(const QString& key) { return ReadSetting(key, Section(), 0); }
void Write(const QString& key, const QString& value) { WriteSetting(key, value, Section(), 0); }

QString CheckText(const QCheckBox* box) { return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); }

// Lists are kept with CR LF between lines; the boxes work with plain line feeds.
QString ToBox(QString stored)
{
    stored.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    stored.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return stored;
}
QString FromBox(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

bool IsBlank(const QString& s) { return vb::Trim(s).isEmpty(); }

QPointer<frmOptions> gOptions;

}  // namespace

frmOptions::frmOptions(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setAttribute(Qt::WA_DeleteOnClose);
    QuickSearchProgram = update::ProgramExecutable(QCoreApplication::applicationFilePath(), gProgramPath);

    picBanner = new QLabel(this);
    picBanner->setObjectName(QStringLiteral("picBanner"));
    picBanner->setGeometry(0, 0, Px(6840), Px(1155));

    tbsOptions = new QTabBar(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions->setGeometry(0, Px(1200), Px(6735), Px(300));
    tbsOptions->setExpanding(false);
    tbsOptions->setDrawBase(false);
    struct Tab {
        int id;               // 0: the fixed caption
        const char* caption;
        const char* key;
        const char* tip;
    };
    static const Tab tabs[] = {
        {809, "基本設定", "Group1", "設定群組 1 的選項"},
        {810, "進階設定", "Group2", "設定群組 2 的選項"},
        {0, "客戶級別", "客戶類別", ""},
        {0, "員工級別", "員工級別", ""},
    };
    for (const Tab& t : tabs) {
        const int i = tbsOptions->addTab(QString::fromUtf8(t.caption));
        tbsOptions->setTabData(i, QString::fromUtf8(t.key));
        tbsOptions->setTabToolTip(i, QString::fromUtf8(t.tip));
    }
    // The tabs are as tall as their captions need (more than the 300 twips of the design with
    // a Chinese font); the panels start under them and end where the design has them end.
    tbsOptions->setFixedHeight(std::max(Px(300), tbsOptions->sizeHint().height()));
    const int panelTop = tbsOptions->geometry().bottom() + 1;
    for (int i = 1; i <= 4; ++i) {
        picOptions[i] = new QWidget(this);
        picOptions[i]->setObjectName(QStringLiteral("picOptions_%1").arg(i));
        picOptions[i]->setAutoFillBackground(true);
        picOptions[i]->setGeometry(0, panelTop, Px(6735), Px(1500 + 3975) - panelTop);
    }

    // Panel 1: switches, the identity-number check and the start-up button.
    {
        auto* grid = new QGridLayout(picOptions[1]);
        grid->setContentsMargins(Px(240), Px(200), Px(240), Px(200));
        auto* checks = new QVBoxLayout();
        for (int i = 0; i < 6; ++i) {
            Check1[i] = new QCheckBox(picOptions[1]);
            Check1[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
            checks->addWidget(Check1[i]);
        }
        Check1[5]->setText(QStringLiteral("取消進入系統啟動輔助說明"));
        checks->addStretch(1);
        grid->addLayout(checks, 0, 0, 2, 1);
        Frame1 = new QGroupBox(picOptions[1]);
        Frame1->setObjectName(QStringLiteral("Frame1"));
        auto* options = new QVBoxLayout(Frame1);
        for (int i = 0; i < 4; ++i) {
            Option1[i] = new QRadioButton(Frame1);
            Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
            options->addWidget(Option1[i]);
        }
        grid->addWidget(Frame1, 0, 1, Qt::AlignTop);
        Command1[0] = new QPushButton(picOptions[1]);
        Command1[0]->setObjectName(QStringLiteral("Command1_0"));
        grid->addWidget(Command1[0], 1, 1, Qt::AlignBottom);
        connect(Command1[0], &QPushButton::clicked, this, [this] { Command1_Click(0); });
    }

    // Panel 2: folders and day counts.
    {
        auto* grid = new QGridLayout(picOptions[2]);
        grid->setContentsMargins(Px(240), Px(200), Px(240), Px(200));
        for (int i = 0; i < 6; ++i) {
            lblPath[i] = new QLabel(picOptions[2]);
            lblPath[i]->setObjectName(QStringLiteral("lblPath_%1").arg(i));
        }
        Text2 = new QLineEdit(picOptions[2]);
        Text2->setObjectName(QStringLiteral("Text2"));
        BackPathText = new QLineEdit(picOptions[2]);
        BackPathText->setObjectName(QStringLiteral("BackPathText"));
        BackDateTXT = new QLineEdit(picOptions[2]);
        BackDateTXT->setObjectName(QStringLiteral("BackDateTXT"));
        BackDateTXT->setMaxLength(2);
        BackDateTXT->setFixedWidth(Px(500));
        CheckNewVerTxt = new QLineEdit(picOptions[2]);
        CheckNewVerTxt->setObjectName(QStringLiteral("CheckNewVerTxt"));
        CheckNewVerTxt->setMaxLength(2);
        CheckNewVerTxt->setFixedWidth(Px(500));
        for (int i = 0; i < 2; ++i) {
            Command2[i] = new QPushButton(QStringLiteral("..."), picOptions[2]);
            Command2[i]->setObjectName(QStringLiteral("Command2_%1").arg(i));
            Command2[i]->setFixedWidth(Px(450));
            connect(Command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
        }
        grid->addWidget(lblPath[0], 0, 0, 1, 4);
        grid->addWidget(Text2, 1, 0, 1, 3);
        grid->addWidget(Command2[0], 1, 3);
        grid->addWidget(lblPath[1], 2, 0, 1, 4);
        grid->addWidget(BackPathText, 3, 0, 1, 3);
        grid->addWidget(Command2[1], 3, 3);
        grid->addWidget(lblPath[2], 4, 0);
        grid->addWidget(BackDateTXT, 4, 1);
        grid->addWidget(lblPath[3], 4, 2, 1, 2);
        grid->addWidget(lblPath[4], 5, 0);
        grid->addWidget(CheckNewVerTxt, 5, 1);
        grid->addWidget(lblPath[5], 5, 2, 1, 2);
        grid->setColumnStretch(2, 1);
        grid->setRowStretch(6, 1);
    }

    // Panels 3 and 4: the pick lists, one entry per line.
    const char* headings[] = {"客戶級別", "員工職別"};
    const QColor backgrounds[] = {QColor(224, 224, 224), QColor(192, 192, 192)};
    for (int k = 0; k < 2; ++k) {
        QWidget* panel = picOptions[3 + k];
        auto* column = new QVBoxLayout(panel);
        column->setContentsMargins(Px(240), Px(120), Px(240), Px(120));
        Command2[2 + k] = new QPushButton(QString::fromUtf8(headings[k]), panel);
        Command2[2 + k]->setObjectName(QStringLiteral("Command2_%1").arg(2 + k));
        typeText[k] = new QPlainTextEdit(panel);
        typeText[k]->setObjectName(QStringLiteral("typeText_%1").arg(k));
        typeText[k]->setTabChangesFocus(true);
        QPalette pal = typeText[k]->palette();
        pal.setColor(QPalette::Base, backgrounds[k]);
        typeText[k]->setPalette(pal);
        typeText[k]->setStyleSheet(QStringLiteral("QPlainTextEdit { background: %1; }").arg(backgrounds[k].name()));
        column->addWidget(Command2[2 + k]);
        column->addWidget(typeText[k], 1);
    }

    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdApply = new QPushButton(this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdOK->setGeometry(Px(3480), Px(5535), Px(1035), Px(495));
    cmdCancel->setGeometry(Px(4560), Px(5535), Px(1035), Px(495));
    cmdApply->setGeometry(Px(5640), Px(5535), Px(1035), Px(495));
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(tbsOptions, &QTabBar::currentChanged, this, &frmOptions::tbsOptions_Click);

    formLoad();
    watchKeys();
}

frmOptions::~frmOptions()
{
    qApp->removeEventFilter(this);
}

void frmOptions::formLoad()
{
    // 1. Size, look, place, banner.
    setFixedSize(Px(6840), Px(5535 + 495 + 120));
    ApplySkin(this);
    CenterInMDI(this);
    if (MDIForm1* main = MDIForm1::Instance())
        picBanner->setPixmap(main->TitlePixmap());

    // 2. Captions.
    setWindowTitle(LoadResString(805));
    cmdOK->setText(LoadResString(806));
    cmdCancel->setText(LoadResString(807));
    cmdApply->setText(LoadResString(808));
    for (int i = 0; i < tbsOptions->count(); ++i) {
        const QString key = tbsOptions->tabData(i).toString();
        if (key == QLatin1String("Group1"))
            tbsOptions->setTabText(i, LoadResString(809));
        else if (key == QLatin1String("Group2"))
            tbsOptions->setTabText(i, LoadResString(810));
    }
    for (int i = 0; i < 6; ++i)
        lblPath[i]->setText(LoadResString(820 + i));
    for (int i = 0; i < 5; ++i)
        Check1[i]->setText(LoadResString(830 + i));
    Command1[0]->setText(LoadResString(836));
    Frame1->setTitle(LoadResString(961));
    for (int i = 0; i < 4; ++i)
        Option1[i]->setText(LoadResString(962 + i));

    // 3. Data folder; panel 1 in front.
    Text2->setText(vb::Trim(Read(settings::App_path)));
    picOptions[1]->raise();
    dataFolderAtLoad_ = Text2->text();

    // 4. Backup folder (the old default "c:\" is the user's home folder here).
    const QString pack = vb::Trim(Read(settings::pack_path));
    BackPathText->setText(IsBlank(pack) ? backup::BackupFolder(QString()) : pack);

    // 5. Backup reminder days.
    const QString backDate = vb::Trim(Read(settings::BackDate));
    BackDateTXT->setText(vb::Val(backDate) == 0 ? QStringLiteral("2") : backDate);

    // 6. The switches: ticked for any non-zero value.
    const QString* keys[] = {&settings::KeyinChinese, &settings::CustomAutoNO, &settings::FacotryAutoNO,
                             &settings::WorkmanAutoNO, &settings::OtherDataAutoNO,
                             &settings::AutoStartHelpWindoes};
    for (int i = 0; i < 6; ++i)
        Check1[i]->setChecked(vb::Val(Read(*keys[i])) != 0);

    // 7. Identity-number check; a value outside 0..3 sets no button.
    const double card = vb::Val(Read(settings::iDCardNO));
    for (int i = 0; i < 4; ++i)
        if (card == i)
            Option1[i]->setChecked(true);

    // 8. Version reminder days.
    const QString newVer = vb::Trim(Read(settings::CheckNewVer));
    CheckNewVerTxt->setText(vb::Val(newVer) < 1 ? QStringLiteral("30") : newVer);

    // 9, 10. The pick lists.
    const QString grades = Read(settings::CustomType);
    typeText[0]->setPlainText(ToBox(IsBlank(grades) ? DefaultCustomerGrades() : grades));
    const QString kinds = Read(settings::CommanyManType);
    typeText[1]->setPlainText(ToBox(IsBlank(kinds) ? DefaultEmploymentKinds() : kinds));
}

bool frmOptions::cmdApply_Click()
{
    Write(settings::KeyinChinese, CheckText(Check1[0]));
    gKeyinChinese = Check1[0]->isChecked();
    Write(settings::App_path, Text2->text());
    Write(settings::pack_path, BackPathText->text());
    Write(settings::BackDate, BackDateTXT->text());
    if (vb::Trim(Text2->text()) != dataFolderAtLoad_) {
        ui::MsgBox(QStringLiteral("工作路徑已改變,您必須重新載入系統才能生效,現在系統即將結束"), ui::Buttons::OK,
                   ui::Icon::Question, QStringLiteral("通知"));
        ui::EndProcess(0);
        return false;
    }
    Write(settings::CustomAutoNO, CheckText(Check1[1]));
    Write(settings::FacotryAutoNO, CheckText(Check1[2]));
    Write(settings::WorkmanAutoNO, CheckText(Check1[3]));
    Write(settings::OtherDataAutoNO, CheckText(Check1[4]));
    for (int i = 0; i < 4; ++i) {
        if (Option1[i]->isChecked()) {
            Write(settings::iDCardNO, QString::number(i));
            break;
        }
    }
    Write(settings::CheckNewVer, CheckNewVerTxt->text());
    Write(settings::CustomType, FromBox(vb::Trim(typeText[0]->toPlainText())));
    Write(settings::CommanyManType, FromBox(vb::Trim(typeText[1]->toPlainText())));
    Write(settings::AutoStartHelpWindoes, CheckText(Check1[5]));
    return true;
}

void frmOptions::cmdOK_Click()
{
    if (cmdApply_Click())
        close();
}

void frmOptions::cmdCancel_Click() { close(); }

void frmOptions::Command1_Click(int)
{
    const QString folder = AutostartFolder();
    const QString program = QuickSearchProgram;
    const std::vector<ui::Step> steps{
        [&] {
            const QFileInfo file(program);
            if (program.isEmpty() || !file.isFile() || !file.isExecutable())
                throw ui::StepError{QStringLiteral("找不到程式檔 %1").arg(program)};
        },
        [&] {
            if (!QDir().mkpath(folder))
                throw ui::StepError{QStringLiteral("無法建立資料夾 %1").arg(folder)};
        },
        [&] {
            const QString file = QuickSearchAutostartFile();
            int errnum = 0;
            if (!files::WriteWholeFile(file, QuickSearchDesktopEntry(program, gProgramPath).toUtf8(), &errnum))
                throw ui::StepError{files::WriteFailureText(file, files::VbFileError(errnum))};
        },
        [&] { close(); },
    };
    ui::RunSteps(steps, nullptr, QStringLiteral("設定啟動捷徑檔失敗"));
}

void frmOptions::Command2_Click(int index)
{
    if (index == 0) {
        const QString start = Text2->text().isEmpty() ? gDataPath : Text2->text();
        const QString chosen = ui::GetOpenFileName(
            QString(), JoinPath(start, QStringLiteral("Tessarine.Mdb")),
            QStringLiteral("Tessarine.Mdb|[Tt]essarine.[Mm][Dd][Bb]"));
        if (!chosen.isEmpty())
            Text2->setText(QFileInfo(chosen).absolutePath());
    } else if (index == 1) {
        const QString chosen = ui::GetFolder(QStringLiteral("選取備份的目錄"), BackPathText->text());
        if (!chosen.isEmpty())
            BackPathText->setText(chosen);
    }
}

void frmOptions::BackPathText_LostFocus()
{
    const QString trimmed = vb::Trim(BackPathText->text());
    if (!trimmed.isEmpty())
        BackPathText->setText(FolderText(trimmed));
}

void frmOptions::tbsOptions_Click()
{
    const int selected = tbsOptions->currentIndex() + 1;
    // The focus stays in the window when its panel is switched off.
    QWidget* focus = QApplication::focusWidget();
    for (int i = 1; i <= 4; ++i)
        if (i != selected && focus && picOptions[i]->isAncestorOf(focus))
            tbsOptions->setFocus();
    for (int i = 1; i <= 4; ++i) {
        picOptions[i]->setEnabled(i == selected);
        if (i == selected)
            picOptions[i]->raise();
    }
}

void frmOptions::NextTab()
{
    tbsOptions->setCurrentIndex((tbsOptions->currentIndex() + 1) % tbsOptions->count());
}

// The window sees its keys before its controls, and before the inner-window area, which
// would take Ctrl+Tab for switching between inner windows.
void frmOptions::watchKeys()
{
    qApp->removeEventFilter(this);
    qApp->installEventFilter(this);
}

void frmOptions::showEvent(QShowEvent* event)
{
    watchKeys();
    QWidget::showEvent(event);
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && watched == BackPathText) {
        BackPathText_LostFocus();
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto* target = qobject_cast<QWidget*>(watched);
    // The window itself, its controls, or the frame around it in the inner area.
    if (!target || (target != this && !isAncestorOf(target) && target != parentWidget()))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool tabKey = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    const bool ctrlTab = tabKey && key->modifiers() & Qt::ControlModifier;  // Ctrl+Shift+Tab: kept, no effect
    const bool escape = key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier;
    if (!ctrlTab && !escape)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();  // ours, not a shortcut's
        return true;
    }
    if (ctrlTab) {
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier)
            NextTab();
    }
    else
        cmdCancel->click();
    return true;
}

// ---- The main window's side ---------------------------------------------------------------------

void MDIForm1::ShowOptions()
{
    const bool created = !gOptions;
    ShowSingle<frmOptions>(gOptions, [] { return new frmOptions; }, true, true);
    if (!created || !gOptions)
        return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(gOptions->parentWidget())) {
        sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        sub->adjustSize();
        sub->setFixedSize(sub->size());
        sub->show();
        CenterInMDI(gOptions);
    }
}
