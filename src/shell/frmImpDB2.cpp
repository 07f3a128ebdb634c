#include "shell/frmImpDB2.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "core/Paths.h"
#include "core/WindowHelpers.h"
#include "platform/dbmodel/RecordsetModel.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "shell/MDIForm1.h"
#include "shell/Skin.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QCoreApplication>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

using namespace textimport;

namespace {

const int kBoxWidth = vb::TwipsToPixels(2400);
const int kBoxHeight = vb::TwipsToPixels(315);
const int kHeadHeight = vb::TwipsToPixels(345);

const char* const kWelcome =
    "歡迎使用轉換外部資料精靈。\n\n"
    "這個精靈把文字檔裡的資料轉入客戶資料。文字檔的每一行是一筆客戶資料，"
    "各欄之間以同一個分隔符號隔開，例如由 Outlook Express 通訊錄匯出的文字檔。\n\n"
    "由 Outlook Express 匯出通訊錄：\n"
    "1. 在 Outlook Express 的「檔案」功能表選「匯出」→「通訊錄」。\n"
    "2. 選「文字檔 (以逗點分隔)」，按「匯出」，輸入檔名。\n"
    "3. 勾選要匯出的欄位，按「完成」。\n\n"
    "步驟一選擇文字檔與分隔符號，步驟二讀入第一行並指定每一欄對應的資料庫欄位，"
    "按「開始轉換」後，步驟三顯示轉入的結果。";

// The delimiter of the chosen entry; empty after telling the user to choose one.
QString ChosenDelimiter(const QString& choice)
{
    const QString delimiter = DelimiterOf(choice);
    if (delimiter.isEmpty())
        ui::MsgBox(QStringLiteral("請選擇分隔符號。"));
    return delimiter;
}

// The lines of the chosen text file, read under the progress window; none after telling the
// user why (nothing after a cancel).  The progress window is gone before any message shows: one
// still pending would come up over the message and hide it.
// The lines of the file, or nothing once the user has been told why not: a line with more
// columns than a preview can show is refused before any box is made for it.
std::optional<QStringList> ReadChosenFile(const QString& path, const QString& delimiter, const Progress& progress,
                                          const std::function<void()>& hideProgress)
{
    TextLines read = ReadTextLines(path, progress);
    hideProgress();
    switch (read.status) {
    case TextLines::Ok:
        if (const std::optional<WideLine> wide = FirstTooWideLine(read.lines, delimiter)) {
            ui::MsgBox(TooWideLineMessage(*wide));
            break;
        }
        return std::move(read.lines);
    case TextLines::CannotOpen:
        ui::MsgBox(QStringLiteral("開啟文字檔錯誤。"));
        break;
    case TextLines::BadLine:
        ui::MsgBox(BadLineMessage(read.badLine));
        break;
    case TextLines::Cancelled:
        break;
    }
    return std::nullopt;
}

QLabel* CaptionLabel(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    return l;
}

}  // namespace

frmImpDB2::frmImpDB2(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmImpDB2"));
    setWindowTitle(LoadResString(147));
    ApplySkin(this);

    Image1 = NewTitleImage(this);
    Image1->setFixedSize(vb::TwipsToPixels(10800), vb::TwipsToPixels(1155));

    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    for (const char* tab : {"歡迎", "步驟一", "步驟二", "步驟三"})
        TabStrip1->addTab(QString::fromUtf8(tab));
    Pages = new QStackedWidget(this);
    for (int i = 1; i <= 4; ++i) {
        Frame1[i] = new QWidget(Pages);
        Frame1[i]->setObjectName(QStringLiteral("Frame1_%1").arg(i));
        Pages->addWidget(Frame1[i]);
    }

    // Welcome.
    {
        auto* text = new QLabel(QString::fromUtf8(kWelcome), Frame1[1]);
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        auto* box = new QVBoxLayout(Frame1[1]);
        box->addWidget(text);
    }

    // Step one: the file, the delimiter and the target.
    {
        txtTextFile = new QLineEdit(Frame1[2]);
        txtTextFile->setObjectName(QStringLiteral("txtTextFile"));
        Command4 = new QPushButton(QStringLiteral("..."), Frame1[2]);
        Command4->setObjectName(QStringLiteral("Command4"));
        txtDatabaseFile = new QLineEdit(Frame1[2]);
        txtDatabaseFile->setObjectName(QStringLiteral("txtDatabaseFile"));
        txtDatabaseFile->setReadOnly(true);
        cboDelimiter = new QComboBox(Frame1[2]);
        cboDelimiter->setObjectName(QStringLiteral("cboDelimiter"));
        cboDelimiter->setEditable(true);
        Combo2 = new QComboBox(Frame1[2]);
        Combo2->setObjectName(QStringLiteral("Combo2"));
        auto* grid = new QGridLayout(Frame1[2]);
        grid->addWidget(CaptionLabel(QStringLiteral("文字檔"), Frame1[2]), 0, 0);
        grid->addWidget(txtTextFile, 0, 1);
        grid->addWidget(Command4, 0, 2);
        grid->addWidget(CaptionLabel(QStringLiteral("資料庫"), Frame1[2]), 1, 0);
        grid->addWidget(txtDatabaseFile, 1, 1, 1, 2);
        grid->addWidget(CaptionLabel(QStringLiteral("分隔符號"), Frame1[2]), 2, 0);
        grid->addWidget(cboDelimiter, 2, 1);
        grid->addWidget(CaptionLabel(QStringLiteral("轉入"), Frame1[2]), 3, 0);
        grid->addWidget(Combo2, 3, 1);
        grid->setRowStretch(4, 1);
        grid->setColumnStretch(1, 1);
    }

    // Step two: the preview and the column-to-field mapping.
    {
        Command1 = new QPushButton(QStringLiteral("讀入對應欄位"), Frame1[3]);
        Command1->setObjectName(QStringLiteral("Command1"));
        cmdImport = new QPushButton(QStringLiteral("開始轉換(&I)"), Frame1[3]);
        cmdImport->setObjectName(QStringLiteral("cmdImport"));
        Picture2 = new QWidget(Frame1[3]);
        Picture2->setObjectName(QStringLiteral("Picture2"));
        Picture2->setMinimumSize(2 * kBoxWidth, vb::TwipsToPixels(3000));
        Picture1 = new QWidget(Picture2);
        Picture1->setObjectName(QStringLiteral("Picture1"));
        VScroll1 = new QScrollBar(Qt::Vertical, Frame1[3]);
        VScroll1->setObjectName(QStringLiteral("VScroll1"));
        VScroll1->hide();
        Command2[0] = new QPushButton(QStringLiteral("文字檔的欄位"), Picture1);
        Command2[1] = new QPushButton(QStringLiteral("資料庫的欄位"), Picture1);
        for (int i = 0; i < 2; ++i) {
            Command2[i]->setObjectName(QStringLiteral("Command2_%1").arg(i));
            Command2[i]->setFocusPolicy(Qt::NoFocus);
            Command2[i]->setGeometry(i * kBoxWidth, 0, kBoxWidth, kHeadHeight);
        }
        Text1.push_back(newColumnBox(0, false));
        Text2.push_back(newColumnBox(0, true));
        Combo1 = new QComboBox(Picture1);
        Combo1->setObjectName(QStringLiteral("Combo1_0"));
        Combo1->setEditable(true);
        Combo1->setInsertPolicy(QComboBox::NoInsert);
        Combo1->hide();
        Combo1->installEventFilter(this);
        layOutColumns();

        auto* grid = new QGridLayout(Frame1[3]);
        grid->addWidget(Command1, 0, 0, Qt::AlignLeft);
        grid->addWidget(Picture2, 1, 0);
        grid->addWidget(VScroll1, 1, 1);
        grid->addWidget(cmdImport, 2, 0, Qt::AlignRight);
        grid->setRowStretch(1, 1);
        Picture2->installEventFilter(this);
        connect(VScroll1, &QScrollBar::valueChanged, this, [this](int v) { Picture1->move(0, -v); });
    }

    // Step three: the table after the run.
    {
        DataGrid2 = new QTableView(Frame1[4]);
        DataGrid2->setObjectName(QStringLiteral("DataGrid2"));
        DataGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
        DataGrid2->verticalHeader()->setDefaultSectionSize(kBoxHeight);
        Command5 = new QPushButton(QStringLiteral("關閉"), Frame1[4]);
        Command5->setObjectName(QStringLiteral("Command5"));
        Command5->hide();
        auto* box = new QVBoxLayout(Frame1[4]);
        box->addWidget(DataGrid2, 1);
        box->addWidget(Command5, 0, Qt::AlignRight);
    }

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 8);
    main->addWidget(Image1);
    auto* body = new QVBoxLayout();
    body->setContentsMargins(12, 8, 12, 0);
    body->addWidget(TabStrip1);
    body->addWidget(Pages, 1);
    main->addLayout(body, 1);

    connect(TabStrip1, &QTabBar::currentChanged, this, &frmImpDB2::TabStrip1_Click);
    connect(Command4, &QPushButton::clicked, this, &frmImpDB2::Command4_Click);
    connect(Command1, &QPushButton::clicked, this, &frmImpDB2::Command1_Click);
    connect(cmdImport, &QPushButton::clicked, this, &frmImpDB2::cmdImport_Click);
    connect(Command5, &QPushButton::clicked, this, &QWidget::close);

    // Form_Load.
    txtTextFile->setText(JoinPath(gProgramPath, QStringLiteral("test1.txt")));
    txtDatabaseFile->setText(JoinPath(gProgramPath, QStringLiteral("Tessarine.mdb")));
    Combo2->addItem(QStringLiteral("客戶資料管理"));
    Combo2->setCurrentIndex(0);
    cboDelimiter->addItems({QStringLiteral(","), QStringLiteral("<space>"), QStringLiteral("<tab>")});
    cboDelimiter->setCurrentIndex(0);
    adjustSize();
    CenterOnScreen(this);
    TabStrip1->setCurrentIndex(0);
    Pages->setCurrentIndex(0);
}

frmImpDB2::~frmImpDB2()
{
    if (gridModel_)
        DataGrid2->setModel(nullptr);
}

QLineEdit* frmImpDB2::newColumnBox(int k, bool caption)
{
    auto* box = new QLineEdit(Picture1);
    box->setObjectName(QStringLiteral("%1_%2").arg(caption ? QStringLiteral("Text2") : QStringLiteral("Text1")).arg(k));
    box->setGeometry(caption ? kBoxWidth : 0, kHeadHeight + k * kBoxHeight, kBoxWidth, kBoxHeight);
    if (caption)
        box->installEventFilter(this);
    else
        box->setReadOnly(true);
    box->show();
    return box;
}

void frmImpDB2::layOutColumns()
{
    const QLineEdit* last = Text1.back();
    Picture1->resize(std::max(Picture2->width(), 2 * kBoxWidth), last->y() + last->height() + kHeadHeight);
    const int over = Picture1->height() - Picture2->height();
    if (over > 0) {
        VScroll1->setRange(0, over);
        VScroll1->setPageStep(vb::TwipsToPixels(500));
        VScroll1->setSingleStep(vb::TwipsToPixels(100));
        VScroll1->show();
    } else {
        VScroll1->setValue(0);
        VScroll1->hide();
    }
    Picture1->move(0, -VScroll1->value());
}

bool frmImpDB2::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (size_t k = 0; k < Text2.size(); ++k)
            if (watched == Text2[k]) {
                Text2_GotFocus(int(k));
                break;
            }
    } else if (event->type() == QEvent::FocusOut && watched == Combo1) {
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            Combo1_LostFocus();
    } else if (event->type() == QEvent::Resize && watched == Picture2) {
        layOutColumns();
    }
    return QDialog::eventFilter(watched, event);
}

Progress frmImpDB2::showProgress(const QString& label)
{
    if (!Progress1) {
        Progress1 = new QProgressDialog(this);
        Progress1->setObjectName(QStringLiteral("Progress1"));
        Progress1->setWindowModality(Qt::ApplicationModal);
        Progress1->setCancelButtonText(QStringLiteral("取消"));
        Progress1->setAutoClose(false);
        Progress1->setAutoReset(false);
        Progress1->setMinimumDuration(300);
    }
    Progress1->reset();
    Progress1->setRange(0, 1000);
    Progress1->setLabelText(label);
    Progress1->setValue(0);
    return [this, label](qint64 done, qint64 total) {
        if (!Progress1)
            return false;
        Progress1->setLabelText(QStringLiteral("%1 %2%").arg(label).arg(total > 0 ? done * 100 / total : 0));
        Progress1->setValue(total > 0 ? int(done * 1000 / total) : 0);
        QCoreApplication::processEvents();
        return !Progress1->wasCanceled();
    };
}

void frmImpDB2::hideProgress()
{
    if (Progress1) {
        Progress1->reset();
        Progress1->hide();
    }
}

void frmImpDB2::TabStrip1_Click(int index)
{
    if (index >= 0 && index < Pages->count())
        Pages->setCurrentIndex(index);
}

void frmImpDB2::Command4_Click()
{
    const QString chosen = ui::GetOpenFileName(QStringLiteral("選取要轉換的文字檔"), QFileInfo(txtTextFile->text()).absolutePath(),
                                               QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt"));
    if (chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    txtTextFile->setText(JoinPath(info.absolutePath(), info.fileName()));
}

void frmImpDB2::Command1_Click()
{
    const QString table = PreviewTable(Combo2->currentText());
    if (!table.isEmpty()) {
        try {
            Fields = GetFields(gConn, table);
        } catch (const db::DbError& e) {
            ui::MsgBox(ErrorText(e));
            return;
        }
    }
    const QString delimiter = ChosenDelimiter(cboDelimiter->currentText());
    if (delimiter.isEmpty())
        return;
    Combo1->clear();
    Combo1->addItems(ChooserCaptions(Fields));

    const std::optional<QStringList> lines = ReadChosenFile(txtTextFile->text(), delimiter, showProgress(QStringLiteral("正在讀取文字檔...")),
                                                            [this] { hideProgress(); });
    if (!lines)
        return;
    const QStringList samples = lines->isEmpty() ? QStringList() : SplitLine(lines->first(), delimiter);
    for (int k = 0; k < samples.size(); ++k) {
        if (k >= int(Text1.size())) {
            Text1.push_back(newColumnBox(k, false));
            Text2.push_back(newColumnBox(k, true));
            QWidget::setTabOrder(Text2[k - 1], Text2[k]);
        }
        Text1[k]->setText(samples[k]);
        LastColumnIndex = k;
    }
    Combo1->raise();
    layOutColumns();
    Command1->hide();
}

void frmImpDB2::Text2_GotFocus(int k)
{
    CurrentFieldBox = Text2[k];
    QStringList taken;
    for (int i = 0; i <= LastColumnIndex && i < int(Text2.size()); ++i)
        taken << Text2[i]->text();
    Combo1->clear();
    Combo1->addItems(ChooserCaptions(Fields, taken));
    Combo1->setGeometry(Text2[k]->geometry());
    Combo1->setEditText(Text2[k]->text());
    Combo1->show();
    Combo1->raise();
    Combo1->setFocus(Qt::OtherFocusReason);
}

void frmImpDB2::Combo1_LostFocus()
{
    if (CurrentFieldBox)
        CurrentFieldBox->setText(Combo1->currentText());
}

void frmImpDB2::cmdImport_Click()
{
    const QString table = RunTable(Combo2->currentText());
    if (table.isEmpty())
        return;
    try {
        rs_ = db::Recordset();
        rs_.Open(QStringLiteral("SELECT *FROM ") + table, gConn, db::adOpenDynamic, db::adLockPessimistic);
    } catch (const db::DbError& e) {
        ui::MsgBox(ErrorText(e));
        return;
    }
    const QString delimiter = ChosenDelimiter(cboDelimiter->currentText());
    if (delimiter.isEmpty())
        return;
    std::optional<QStringList> lines = ReadChosenFile(txtTextFile->text(), delimiter, showProgress(QStringLiteral("正在讀取文字檔...")),
                                                      [this] { hideProgress(); });
    if (!lines)
        return;
    // The run button's access key leaves the chooser without taking the focus from it.
    if (Combo1->hasFocus())
        Combo1_LostFocus();
    QStringList captions;
    for (int col = 0; col <= LastColumnIndex && col < int(Text2.size()); ++col)
        captions << Text2[col]->text();

    ImportOutcome outcome;
    {
        ui::WaitCursor wait;
        outcome = ImportLines(rs_, Fields, *lines, delimiter, captions, showProgress(QStringLiteral("正在轉入客戶資料...")));
    }
    hideProgress();
    if (!outcome.ok) {
        rs_.Close();
        ui::MsgBox(outcome.cancelled ? QStringLiteral("轉換已取消，資料並未轉入。") : FailureMessage(outcome.error));
        return;
    }
    ui::MsgBox(ResultMessage(outcome));
    if (!gridModel_)
        gridModel_ = new dbmodel::RecordsetModel(this);
    gridModel_->setRecordset(rs_);
    DataGrid2->setModel(gridModel_);
    TabStrip1->setCurrentIndex(3);
    Pages->setCurrentIndex(3);
    cmdImport->hide();
    Command5->show();
}

void MDIForm1::ShowImport()
{
    static QPointer<frmImpDB2> slot;
    // One preview and one run per opening: a window closed but not yet deleted is never shown
    // again with its old preview.
    if (slot && !slot->isVisible()) {
        slot->deleteLater();
        slot = nullptr;
    }
    ShowSingle<frmImpDB2>(slot, [this] {
        auto* w = new frmImpDB2(this);
        w->setAttribute(Qt::WA_DeleteOnClose);
        return w;
    }, false, false);
}
