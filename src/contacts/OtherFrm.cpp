#include "contacts/OtherFrm.h"
#include "core/ErrorText.h"

#include "contacts/OtherFields.h"
#include "contacts/OtherFindFrm.h"
#include "contacts/OtherRules.h"
#include "contacts/OtherSave.h"
#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "core/numbering/ListFillers.h"
#include "core/numbering/Numbering.h"
#include "platform/db/Probes.h"
#include "platform/dbmodel/FieldBinding.h"
#include "platform/shell/Shell.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "records/FieldTable.h"
#include "records/RecordCycle.h"
#include "records/RecordExtras.h"
#include "records/RecordSave.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableView>

namespace {

using vb::Px;
using vb::Tw;

const QString kAllCategories = QStringLiteral("不分類");
const QString kByCategory = QStringLiteral("類別顯示");
const QString kByName = QStringLiteral("姓名");
const QString kByNumber = QStringLiteral("編號");
const QString kCaption = QStringLiteral("個人通訊");

// Design sizes (twips).
constexpr int kOtherWidth = 11070, kOtherHeight = 7850;
constexpr int kListWidth = 2760;
constexpr int kPanelHeight = 5175;
constexpr int kOtherButtonTop = 6420, kButtonWidth = 900, kOtherButtonHeight = 375;
constexpr int kRow = 330, kBoxHeight = 285, kTop = 120;
constexpr int kPhotoWidth = 2655, kPhotoHeight = 2475;

// Where each box sits on its page (twips): label left, box left, row, box width.
struct Place {
    int labelLeft, boxLeft, row, width;
};
constexpr int kLabelA = 60, kBoxA = 1140, kLabelB = 4020, kBoxB = 5100;
const Place kPlaces[kOtherBoxes] = {
    {kLabelA, kBoxA, 0, 2700},  // 0 category
    {kLabelB, kBoxB, 0, 1500},  // 1 number
    {kLabelA, kBoxA, 1, 2700},  // 2 Chinese name
    {kLabelB, kBoxB, 1, 2900},  // 3 English name
    {kLabelA, kBoxA, 2, 1500},  // 4 birthday
    {kLabelB, kBoxB, 2, 1500},  // 5 sex
    {kLabelA, kBoxA, 3, 1500},  // 6 relationship
    {kLabelB, kBoxB, 3, 2900},  // 7 identity number
    {kLabelA, kBoxA, 4, 2700},  // 8 telephone
    {kLabelB, kBoxB, 4, 2900},  // 9 mobile
    {kLabelA, kBoxA, 5, 2700},  // 10 office telephone
    {kLabelB, kBoxB, 5, 2900},  // 11 fax
    {kLabelA, kBoxA, 6, 3600},  // 12 messenger
    {kLabelA, kBoxA, 7, 3600},  // 13 e-mail
    {kLabelA, kBoxA, 8, 3600},  // 14 web page
    {kLabelA, kBoxA, 9, 3600},  // 15 photo file
    {kLabelA, kBoxA, 0, 6600},  // 16 registered address
    {kLabelA, kBoxA, 1, 6600},  // 17 current address
    {kLabelA, kBoxA, 2, 6600},  // 18 remarks
};
constexpr int kSideButtonWidth = 420;
constexpr int kPhotoLeft = kBoxA + 3600 + kSideButtonWidth + 120;

int RowTop(int row) { return kTop + row * kRow; }

const char* const kButtonTips[8] = {
    "查詢親朋好友的資料,可以多欄位查詢",
    "新增一位親朋好友的資料(左上角分類欄位目前在那個類別,新增的資料預設就是在這個類別)",
    "編輯修改目前這筆資料",
    "",
    "刪除這位親朋好友的資料",
    "儲存這位朋友的資料",
    "放棄這筆資料的編修(您所做的修改將不會被儲存)",
    "",
};
const int kButtonLefts[8] = {120, 1080, 2040, 9600, 3000, 120, 1080, 3960};
// 查詢 to 刪除 and 重整 while browsing, 存檔 and 放棄 while adding or changing.
const std::vector<ButtonMode> kButtonBar = {
    {OtherFrm::kFind, ButtonMode::Browse},   {OtherFrm::kNew, ButtonMode::Browse},
    {OtherFrm::kChange, ButtonMode::Browse}, {OtherFrm::kExit, ButtonMode::Browse},
    {OtherFrm::kDelete, ButtonMode::Browse}, {OtherFrm::kSave, ButtonMode::Edit},
    {OtherFrm::kCancel, ButtonMode::Edit},   {OtherFrm::kRefresh, ButtonMode::Browse},
};

}  // namespace

// ---- Construction --------------------------------------------------------------------------------

OtherFrm::OtherFrm(QWidget* parent, const QPixmap& titlePicture)
    : RecordWindowOf(parent, QStringLiteral("OtherFrm"), kOtherWidth, kOtherHeight)
{
    Claim(this);
    build(titlePicture);
    FollowMode(EditMode, {boxes_}, [this] { CommandSty(!EditMode.isEmpty()); });
    EditMode.clear();
    formLoad();
    loading_ = false;
}

OtherFrm::~OtherFrm()
{
    if (find_)
        delete find_.data();
}

void OtherFrm::build(const QPixmap& titlePicture)
{
    BuildTitleAndList(titlePicture, kOtherWidth);

    // The list panel.
    Command3[3] = new QPushButton(kAllCategories, Picture4);
    Command3[3]->setToolTip(QStringLiteral("不分類別顯示或是只顯示該類別清單"));
    Combo2 = new QComboBox(Picture4);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setEnabled(false);
    connect(Combo2, &QComboBox::activated, this, [this] { ButtonSteps({[this] { LinkDatag2(); }}); });
    PanelLabel[0] = new QLabel(QStringLiteral("排序:"), Picture4);
    PanelLabel[1] = new QLabel(QStringLiteral("速查:"), Picture4);
    Combo1[1] = new QComboBox(Picture4);
    Combo1[1]->setObjectName(QStringLiteral("Combo1_1"));
    Combo1[1]->setEditable(true);
    Combo1[1]->setInsertPolicy(QComboBox::NoInsert);
    Combo1[1]->setCompleter(nullptr);
    connect(Combo1[1], &QComboBox::activated, this, [this] { ButtonSteps({[this] { LinkDatag2(); }}); });
    quickFind_ = new QuickFindBox(Picture4, QStringLiteral("RV18A2"));
    DataCombo2[1] = quickFind_;
    DataCombo2[1]->setObjectName(QStringLiteral("DataCombo2_1"));
    DataCombo2[1]->setToolTip(QStringLiteral("輸入編號或姓名可以快速尋找"));
    connect(DataCombo2[1], &QComboBox::editTextChanged, this, [this] { TessarineOtherDate(); });
    DataGrid1[1] = ListView(Picture4, this, QStringLiteral("DataGrid1_1"));
    // The boxes follow the list only after a click in it (the mouse button released).
    List.Follows = [this] { return GridRowSync; };
    List.RowChanged = [this] {
        loadPhoto();
        selectTab(1);
        GridRowSync = false;
    };

    // Tabs and pages.
    TabStrip1 = TabBar(this, QStringLiteral("TabStrip1"), {{"Basic"}, {"Addres"}}, [this](int i) {
        for (int k = 1; k <= 2; ++k)
            Frame1[k]->setVisible(k == i + 1);
        if (Frame1[i + 1])
            Frame1[i + 1]->raise();
    });
    TabPages(this, QStringLiteral("Frame1"), Frame1);

    // Boxes and labels.
    boxes_ = new RecordBoxes(this);
    boxes_->Build(
        OtherFields(), kOtherBoxes, kOtherLabels,
        [this](const RecordField& f) {
            const Place& p = kPlaces[f.box];
            const int height = f.box == kOtherRemarksBox ? 2400 : kBoxHeight;
            return BoxPlace{Frame1[OtherPageOf(f.box)],
                            QRect(Px(p.boxLeft), Px(RowTop(p.row)), Px(p.width), Px(height)),
                            QRect(Px(p.labelLeft), Px(RowTop(p.row)), Px(kBoxA - kLabelA - 60), Px(kBoxHeight))};
        },
        this, QStringLiteral("Label1"));
    Text1 = boxes_->Boxes();
    Label1 = boxes_->Labels();
    boxes_->Changed = [this](int box) { Text1_Change(box); };
    boxes_->Reveal = [this](int box) { selectTab(OtherPageOf(box)); };
    Remarks()->setTabChangesFocus(true);
    boxes_->SetIdleColor(BoxColours::Contact());
    for (QWidget* box : Text1)
        box->setMouseTracking(true);
    Text1[4]->setToolTip(AgeTip(QString(), kBirthdayForm, ui::Today()));

    // Side buttons, the photo, the pick list and the date box.
    auto side = [this](int index, int box, const QString& tip) {
        auto* b = new QPushButton(QStringLiteral("..."), Text1[size_t(box)]->parentWidget());
        b->setObjectName(QStringLiteral("Command3_%1").arg(index));
        b->setToolTip(tip);
        b->setFocusPolicy(Qt::TabFocus);
        const QRect r = Text1[size_t(box)]->geometry();
        b->setGeometry(r.right() + 1 + Px(30), r.top(), Px(kSideButtonWidth - 60), r.height());
        Command3[size_t(index)] = b;
    };
    side(1, 15, QString());
    side(4, 13, QString());
    side(5, 14, QString());
    Command3[1]->hide();
    for (int i : {1, 3, 4, 5}) {
        Command3[size_t(i)]->setAttribute(Qt::WA_Hover);
        Command3[size_t(i)]->installEventFilter(this);
        connect(Command3[size_t(i)], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
    }
    Picture3 = new QLabel(Frame1[1]);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    Picture3->setToolTip(QStringLiteral("圖片格式大約為5cm* 5cm 72dpi 的點陣圖"));
    Picture3->setFrameShape(QFrame::StyledPanel);
    Picture3->setAlignment(Qt::AlignCenter);
    Picture3->setAttribute(Qt::WA_Hover);
    Picture3->installEventFilter(this);
    Picture3->setGeometry(Px(kPhotoLeft), Px(RowTop(6)), Px(kPhotoWidth), Px(kPhotoHeight));

    Combo1[0] = new QComboBox(Frame1[1]);
    Combo1[0]->setObjectName(QStringLiteral("Combo1_0"));
    pick_ = new PickList(Combo1[0], 0, this);
    pick_->Left = [this] {
        if (PickTarget)
            boxes_->SetFocused(PickTarget, false);
    };
    DateMaskTXT = new MaskedDateBox(Frame1[1]);
    DateMaskTXT->setMouseTracking(true);
    DateMaskTXT->installEventFilter(this);

    // The button bar.
    for (int i = 0; i < 8; ++i) {
        Command2[size_t(i)] = ArrayButton(this, this, QStringLiteral("Command2"), i, [this, i] { Command2_Click(i); });
        Command2[size_t(i)]->setToolTip(QString::fromUtf8(kButtonTips[i]));
    }
    Command2[kRefresh]->setText(QStringLiteral("重整"));
    DataCombo2[1]->setAttribute(Qt::WA_Hover);
    DataCombo2[1]->installEventFilter(this);
}

// ---- Boxes ---------------------------------------------------------------------------------------

QLineEdit* OtherFrm::Box(int n) const { return boxes_->Line(n); }

QPlainTextEdit* OtherFrm::Remarks() const { return boxes_->Memo(kOtherRemarksBox); }

QString OtherFrm::BoxText(int n) const { return boxes_->Text(n); }

void OtherFrm::SetBoxText(int n, const QString& text) { boxes_->SetText(n, text); }

void OtherFrm::selectTab(int page) { TabStrip1->setCurrentIndex(page - 1); }

// ---- Load ----------------------------------------------------------------------------------------

void OtherFrm::formLoad()
{
    resize(Px(kOtherWidth), Px(kOtherHeight));
    setWindowTitle(LoadResString(532));
    boxes_->LoadCaptions();
    CaptionButtons(std::span(Command2).first(7), 560);
    TabStrip1->setTabText(0, LoadResString(571));
    TabStrip1->setTabText(1, LoadResString(572));
    Combo1[1]->addItem(kByName);
    Combo1[1]->addItem(kByNumber);
    Combo1[1]->setCurrentIndex(0);
    SetGrid();
    ButtonSteps({[this] { 載入個人通訊分類(Combo2); }});
    ButtonSteps({[this] { LinkDatag2(); }});
    CommandSty(false);
}

// The list shows the number and the name, whatever recordset it is bound to.
void OtherFrm::SetGrid()
{
    List.Attach(DataGrid1[1], {{QStringLiteral("RV18A1"), 1000, kByNumber}, {QStringLiteral("RV18A2"), 1200, kByName}});
}

void OtherFrm::載入個人通訊分類(QComboBox* combo)
{
    FillDistinctCombo(combo, QStringLiteral("類別"), QStringLiteral("RV18a"), gConn);
}

void OtherFrm::LinkDatag2()
{
    if (!EditMode.isEmpty())
        return;
    QString filter;
    db::Params params;
    const QString category = vb::Trim(Combo2->currentText());
    if (Command3[3]->text() != kAllCategories && !category.isEmpty()) {
        filter = QStringLiteral(" Where (RV18A.類別 = ?) ");
        params << category;
    }
    const QString order = Combo1[1]->currentText() == kByName ? QStringLiteral("Order by rv18a.rv18a2")
                                                               : QStringLiteral("Order by rv18a.rv18a1");
    {
        RecordList::Hold hold(List);
        List.Open(QStringLiteral("Select * From RV18A ") + filter + order, params);
    }
    boxes_->Binding()->setRecordset(MainRs());
    boxes_->ClearWriteFailures();
    const bool any = !MainRs().Eof();
    for (int i : {0, 2, 4})
        Command2[size_t(i)]->setEnabled(any);
    if (any) {
        ListRs().MoveFirst();
        ListRs().setBookmark(MainRs().bookmark());
        loadPhoto();
    }
    quickFind_->setSource(ListRs());
    selectTab(1);
}

void OtherFrm::LinkDataGo1()
{
    if (!ListRs().IsOpen() || !MainRs().IsOpen() || MainRs().EditMode() != db::adEditNone)
        return;
    if (ListRs().Bof() || ListRs().Eof()) {
        Picture3->clear();
    } else {
        MainRs().setBookmark(ListRs().bookmark());
        loadPhoto();
    }
    selectTab(1);
    GridRowSync = false;
}

// ---- Photo ---------------------------------------------------------------------------------------

void OtherFrm::loadPhoto()
{
    showPhoto(vb::Nz(db::ValueOrNull(MainRs(), QStringLiteral("RV18A14"))));
}

void OtherFrm::showPhoto(const QString& path)
{
    Picture3->clear();
    if (vb::Trim(path).isEmpty())
        return;
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        return;
    Picture3->setPixmap(QPixmap::fromImage(image).scaled(Picture3->contentsRect().size(), Qt::KeepAspectRatio,
                                                         Qt::SmoothTransformation));
}

// ---- Quick find and find -----------------------------------------------------------------------

void OtherFrm::TessarineOtherDate()
{
    const QString t = vb::Trim(DataCombo2[1]->currentText());
    if (t.isEmpty() || !MainRs().IsOpen() || MainRs().RecordCount() == 0)
        return;
    GridRowSync = true;
    ButtonSteps({[&] {
        db::Recordset clone = MainRs().Clone();
        if (!FindCodeOrName(clone, QStringLiteral("RV18A1"), QStringLiteral("RV18A2"), t)) {
            SetStatusText(LoadResString(507));
            return;
        }
        SetStatusText(LoadResString(508) + vb::Nz(clone.value(QStringLiteral("RV18A2"))));
        MainRs().setBookmark(clone.bookmark());
        // The photo follows the contact the boxes now show.
        loadPhoto();
    }});
    GridRowSync = false;
}

void OtherFrm::FondSub(const FindCondition& condition)
{
    ButtonSteps({[&] {
        SetStatusText(LoadResString(509));
        SetStatusText(LoadResString(510) + gOtherFindWhere);
        db::Recordset rs;
        rs.Open(condition.isEmpty() ? QStringLiteral("select *from RV18a ")
                                    : QStringLiteral("select *from RV18a Where ") + condition.sql,
                gConn, db::adOpenDynamic, db::adLockPessimistic, condition.params);
        if (!rs.Eof()) {
            {
                RecordList::Hold hold(List);
                List.Rs = rs;
                List.Relink();
            }
            boxes_->Binding()->setRecordset(MainRs());
            quickFind_->setSource(ListRs());
            // The photo follows the contact the boxes now show.
            loadPhoto();
        } else {
            ui::MsgBox(QStringLiteral("查無資料"));
            LinkDatag2();
        }
    }});
}

OtherFindFrm* OtherFrm::FindWindow()
{
    if (!find_)
        find_ = new OtherFindFrm(this, Image1->pixmap());
    return find_;
}

// ---- Category view and sort ------------------------------------------------------------------------

void OtherFrm::Command3_Click(int index)
{
    switch (index) {
    case 1: {
        const QString chosen = ui::GetOpenFileName(QString(), QStringLiteral("選取圖檔"),
                                                   QStringLiteral("Bmp Files (*.bmp)|*.bmp|Jpg Files (*.jpg)|*.jpg"));
        if (!chosen.isEmpty())
            SetBoxText(15, chosen);
        break;
    }
    case 3:
        if (Command3[3]->text() == kAllCategories) {
            Command3[3]->setText(kByCategory);
            Combo2->setEnabled(true);
        } else {
            Command3[3]->setText(kAllCategories);
            Combo2->setEnabled(false);
            ButtonSteps({[this] { LinkDatag2(); }});
        }
        break;
    case 4:
        if (vb::Trim(BoxText(13)).isEmpty())
            ui::MsgBox(QStringLiteral("郵件地址為空"));
        else
            shellsvc::OpenUrl(QStringLiteral("mailto:") + BoxText(13));
        break;
    case 5:
        if (vb::Trim(BoxText(14)).isEmpty())
            ui::MsgBox(QStringLiteral("網址為空"));
        else
            OpenWebPage(QStringLiteral("http://") + BoxText(14));
        break;
    default:
        break;
    }
}

// ---- The record cycle -----------------------------------------------------------------------------

void OtherFrm::CommandSty(bool editing)
{
    ApplyButtonModes({Command2.begin(), Command2.end()}, kButtonBar, editing);
    Command2[kSave]->setEnabled(true);
    Command3[1]->setVisible(editing);
    Picture4->setEnabled(!editing);
    報告();
}

void OtherFrm::SaveCommandCheck()
{
    Command2[kSave]->setEnabled(OtherSaveAllowed([this](int box) { return BoxText(box); }));
}

void OtherFrm::報告()
{
    ReportText = OtherReportText(!EditMode.isEmpty(), [this](int box) { return BoxText(box); });
    if (HelpPanelInUse())
        ShowNotes(ReportText, kCaption);
}

void OtherFrm::AddNew()
{
    // The number is read first: when it cannot be (a locked file), no new contact is left pending.
    const QString number = GetNextCode(gConn, QStringLiteral("RV18A"), QStringLiteral("RV18A1"));
    MainRs().AddNew();
    loadPhoto();  // a new contact has no photo yet
    SetBoxText(1, number);
    Combo1[0]->setEnabled(true);
    DataCombo2[1]->setEnabled(false);
    CanEdit = true;
    DataChanged = false;
    Command3[1]->setEnabled(true);
    boxes_->ClearWriteFailures();
    EditMode = ModeText::AddNew;
    Text1[0]->setFocus(Qt::OtherFocusReason);
    SetStatusText(LoadResString(518));
    SaveCommandCheck();
    報告();
}

void OtherFrm::Modification()
{
    if (!List.HasCurrent())
        return;
    EditMode = ModeText::Change;
    SetStatusText(LoadResString(517));
    Combo1[0]->setEnabled(true);
    CanEdit = true;
    DataChanged = false;
    boxes_->ClearWriteFailures();
    DataCombo2[1]->setEnabled(false);
    Text1[1]->setFocus(Qt::OtherFocusReason);
    Command3[1]->setEnabled(true);
    SaveCommandCheck();
}

bool OtherFrm::SaveCheck_OTHER()
{
    const qint32 serial = qint32(vb::Val(db::Nz(MainRs().field(QStringLiteral("總序")))));
    if (OtherNumberTaken(BoxText(1), serial)) {
        returnFocus(Text1[1]);
        return true;
    }
    return boxes_->RefuseTooWide(OtherWidthBoxes());
}

void OtherFrm::FileSave()
{
    const bool added = EditMode == ModeText::AddNew;
    const ModeText::Mode mode = EditMode.mode();
    QString number;
    db::Bookmark written = 0;
    SaveCycle cycle;
    cycle.rs = &MainRs();
    cycle.list = &List;
    cycle.adding = added;
    cycle.failureText = SaveFailedText();
    // A pick list or the date box still open (Alt+S) hands its text over first.
    cycle.openLists = {pick_};
    cycle.refusals = {[this] {
                          Combo1[0]->hide();
                          return DateMaskTXT->isVisible() && !DateMask_LostFocus();
                      },
                      [this] { return SaveCheck_OTHER(); }, boxes_};
    cycle.transaction = [&](const std::function<void()>& intoRow, const std::function<void()>& writeRow) {
        SavedBookmark = db::TryBookmark(MainRs()).value_or(SavedBookmark);
        number = vb::Trim(BoxText(1));
        EditMode.clear();
        return SaveInTransaction(gConn, SaveFailedText(), intoRow, {}, [&] {
            writeRow();
            written = MainRs().bookmark();
        });
    };
    cycle.failed = [this, mode](const SaveOutcome& out) {
        // The record stays pending and editable, so it can be corrected and saved again.
        EditMode = mode;
        // The message already ends with what was not saved; a lock's own text says to try later.
        if (out.errorNumber == 3260)
            ui::MsgBox(out.message);
        else
            showError(out.errorNumber, out.message);
    };
    cycle.place = [&] {
        // The saved contact takes its place in the list's order; only when the list cannot
        // place it (its category or find condition leaves it out) is the list read again.
        if (!List.ShowAdded()) {
            RecordList::Hold hold(List);
            db::RequeryQuietly(MainRs());
            bool placed = db::TryGoTo(MainRs(), added ? written : SavedBookmark);
            List.Relink();
            if (placed)
                List.ShowCurrent();
            placed = placed && List.HasCurrent();
            if (!placed)
                showSaved(number);
        }
        ButtonSteps({[this] { 載入個人通訊分類(Combo2); }});
        quickFind_->setSource(ListRs());
    };
    cycle.mode = [&] {
        DataChanged = false;
        if (added) {
            Command2[kNew]->click();
            return;
        }
        報告();
        CanEdit = false;
        Combo1[0]->setEnabled(false);
        Command3[1]->setEnabled(false);
        selectTab(1);
        DataCombo2[1]->setEnabled(true);
        loadPhoto();
    };
    SaveRecord(cycle);
}

// A saved contact the list leaves out (another category, outside the found ones) brings the
// list of the current view back, and every category when the view leaves it out too.
void OtherFrm::showSaved(const QString& number)
{
    LinkDatag2();
    if (List.ShowRow(QStringLiteral("RV18A1"), number) || Command3[3]->text() == kAllCategories)
        return;
    Command3[3]->setText(kAllCategories);
    Combo2->setEnabled(false);
    LinkDatag2();
    List.ShowRow(QStringLiteral("RV18A1"), number);
}

void OtherFrm::放棄()
{
    if (DataChanged && ui::MsgBox(LoadResString(521), ui::Buttons::YesNo) == ui::Answer::No)
        return;
    const ModeText::Mode mode = EditMode.mode();
    // A change given up shows the contact as stored now (changed or deleted on another computer
    // meanwhile), so that the next change starts from what the file holds.
    if (mode == ModeText::Change)
        List.CancelChange();
    else
        MainRs().CancelUpdate();
    EditMode.clear();
    boxes_->ClearWriteFailures();
    SavedBookmark = db::TryBookmark(MainRs()).value_or(SavedBookmark);
    CanEdit = false;
    Combo1[0]->setEnabled(false);
    Combo1[0]->hide();
    DateMaskTXT->hide();
    Command3[1]->setEnabled(false);
    DataChanged = false;
    DataCombo2[1]->setEnabled(true);
    if (mode == ModeText::Change)
        db::TryGoTo(MainRs(), SavedBookmark);
    boxes_->LoadRecord(MainRs());
    const bool any = List.HasCurrent();
    for (int i : {0, 2, 4})
        Command2[size_t(i)]->setEnabled(any);
    loadPhoto();
    報告();
    SetStatusText(LoadResString(519));
}

void OtherFrm::刪除()
{
    SetStatusText(LoadResString(519));
    if (!List.HasCurrent())
        return;
    const QString name = vb::Nz(MainRs().value(QStringLiteral("RV18A2")));
    if (ui::MsgBox(QStringLiteral("確定要刪除 ") + name + QStringLiteral("的資料嗎? "), ui::Buttons::YesNo) !=
        ui::Answer::Yes)
        return;
    {
        RecordList::Hold hold(List);
        MainRs().Delete();
        // The contact has left the recordset and the list: nothing is read again.
        if (MainRs().RecordCount() > 0) {
            MainRs().MoveFirst();
            ListRs().setBookmark(MainRs().bookmark());
        }
        boxes_->LoadRecord(MainRs());
    }
    const bool any = List.HasCurrent();
    for (int i : {0, 2, 4})
        Command2[size_t(i)]->setEnabled(any);
    loadPhoto();
    selectTab(1);
    SetStatusText(LoadResString(519));
}

// ---- Buttons --------------------------------------------------------------------------------------

// The button bar's own error message: a locked record asks to try later; any other error shows
// its text under the title "錯誤代號" and its number.
void OtherFrm::showError(long number, const QString& text, const QString& failureText)
{
    const QString ending = failureText.isEmpty() ? QString() : gCrLf + failureText;
    if (number == 3260)
        ui::MsgBox(text + QStringLiteral("\n") + LoadResString(522) + ending);
    else
        ui::MsgBox(text + ending, ui::Buttons::OK, ui::Icon::Question, LoadResString(523) + QString::number(number));
}

ButtonErrorPolicy OtherFrm::ButtonErrors()
{
    return {.answer = [this](const db::DbError& e, const QString& failure) {
        showError(e.Number(), e.Number() == 3260 ? ErrorText(e) : ErrorDescription(e), failure);
        return true;
    }};
}

void OtherFrm::Command2_Click(int index)
{
    switch (index) {
    case kFind: {
        OtherFindFrm* find = FindWindow();
        ui::ShowModal(find);
        if (find_)
            find_->deleteLater();
        find_ = nullptr;
        break;
    }
    case kNew: ButtonSteps({[this] { AddNew(); }}); break;
    case kChange: ButtonSteps({[this] { Modification(); }}); break;
    case kExit: close(); break;
    case kDelete: ButtonSteps({[this] { 刪除(); }}); break;
    case kSave: ButtonSteps({[this] { FileSave(); }}, SaveFailedText()); break;
    case kCancel: ButtonSteps({[this] { 放棄(); }}); break;
    case kRefresh: ButtonSteps({[this] { LinkDatag2(); }}); break;
    default: break;
    }
}

// ---- Window events ----------------------------------------------------------------------------------

void OtherFrm::Form_Activate()
{
    if (HelpPanelInUse()) {
        ShowNotes(ReportText, kCaption);
        報告();
    }
}

void OtherFrm::Form_Unload()
{
    if (HelpPanelInUse())
        ShowNotes(QString(), QString());
}

void OtherFrm::Form_Resize()
{
    // The design size holds unless the window is maximised.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (!(sub->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) && FirstShown() &&
            sub->size() != QSize(Px(kOtherWidth), Px(kOtherHeight))) {
            sub->resize(Px(kOtherWidth), Px(kOtherHeight));
            return;
        }
    }
    const int scaleWidth = Tw(width());
    Picture1->setGeometry(0, 0, width(), Px(kTitleStripHeight));
    const int top = kTitleStripHeight;
    const int panelHeight = std::max(kPanelHeight, Tw(height()) - top - (kOtherHeight - kOtherButtonTop) + 120 - 240);
    Picture4->setGeometry(0, Px(top), Px(kListWidth), Px(panelHeight));
    const int captionW = 780, rowH = 315, fieldW = kListWidth - captionW - 80;
    Command3[3]->setGeometry(Px(20), Px(30), Px(captionW), Px(rowH));
    Combo2->setGeometry(Px(captionW + 40), Px(30), Px(fieldW), Px(rowH));
    PanelLabel[0]->setGeometry(Px(20), Px(30 + 345), Px(captionW), Px(rowH));
    Combo1[1]->setGeometry(Px(captionW + 40), Px(30 + 345), Px(fieldW), Px(rowH));
    PanelLabel[1]->setGeometry(Px(20), Px(30 + 690), Px(captionW), Px(rowH));
    DataCombo2[1]->setGeometry(Px(captionW + 40), Px(30 + 690), Px(fieldW), Px(rowH));
    const int gridTop = 30 + 1035 + 30;
    DataGrid1[1]->setGeometry(Px(20), Px(gridTop), std::max(0, Picture4->width() - Px(20) - Px(40)),
                              std::max(0, Picture4->height() - Px(gridTop) - Px(40)));

    const int tabLeft = kListWidth;
    const int tabWidth = std::max(0, scaleWidth - tabLeft);
    TabStrip1->setGeometry(Px(tabLeft), Px(top), Px(tabWidth), Px(320));
    const int pageTop = top + 320;
    const int pageHeight = std::max(0, top + panelHeight - pageTop - 40);
    for (int k = 1; k <= 2; ++k)
        Frame1[k]->setGeometry(Px(tabLeft + 20), Px(pageTop), std::max(0, Px(tabWidth - 40)), Px(pageHeight));
    // The remarks box takes what is left of its page.
    QWidget* memo = Text1[kOtherRemarksBox];
    memo->resize(std::max(0, Frame1[2]->width() - memo->x() - Px(120)),
                 std::max(Px(600), Frame1[2]->height() - memo->y() - Px(120)));

    const int buttonTop = top + panelHeight + 90;
    for (int i = 0; i < 8; ++i) {
        const int left = i == 3 ? scaleWidth - (kOtherWidth - kButtonLefts[3]) : kButtonLefts[i];
        Command2[size_t(i)]->setGeometry(Px(left), Px(buttonTop), Px(kButtonWidth), Px(kOtherButtonHeight));
    }
}

// Hover help, the grid's mouse release and the box events.
bool OtherFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (inputEvent(watched, event))
        return true;
    const QEvent::Type type = event->type();
    if (watched == DataGrid1[1]->viewport() && type == QEvent::MouseButtonRelease) {
        GridRowSync = true;
        LinkDataGo1();
    }
    if (type == QEvent::HoverEnter || type == QEvent::HoverMove) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (watched == Picture3) {
            SetStatusText(Picture3->toolTip());
        } else if (!CanEdit) {
            if (watched == DataGrid1[1]->viewport())
                SetStatusText(DataGrid1[1]->toolTip());
            else if (watched == DataCombo2[1] || std::find(Command2.begin(), Command2.end(), watched) != Command2.end() ||
                     std::find(Command3.begin(), Command3.end(), watched) != Command3.end())
                SetStatusText(widget->toolTip());
        }
    }
    return QWidget::eventFilter(watched, event);
}
