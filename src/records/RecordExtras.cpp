#include "records/RecordExtras.h"

#include "core/Globals.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "platform/db/Probes.h"
#include "platform/dbmodel/RecordsetModel.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>

// ---- Audit strip -------------------------------------------------------------------------------

AuditStrip::AuditStrip(QWidget* parent, const AuditColumns& columns) : QWidget(parent), columns_(columns)
{
    setObjectName(QStringLiteral("Picture2"));
    static const char* const kCaptions[4] = {"建檔者:", "建檔日期:", "修改者:", "修改日期:"};
    for (int i = 0; i < 4; ++i) {
        Captions[size_t(i)] = new QLabel(QString::fromUtf8(kCaptions[i]), this);
        Captions[size_t(i)]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        Captions[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Captions[size_t(i)]->setGeometry(vb::TwipsToPixels(60 + i * 2700), vb::TwipsToPixels(15),
                                         vb::TwipsToPixels(1000), vb::TwipsToPixels(300));
        Values[size_t(i)] = new QLabel(this);
        Values[size_t(i)]->setObjectName(QStringLiteral("Label2_%1").arg(i));
        Values[size_t(i)]->setGeometry(vb::TwipsToPixels(1090 + i * 2700), vb::TwipsToPixels(15),
                                       vb::TwipsToPixels(1500), vb::TwipsToPixels(300));
    }
}

void AuditStrip::Place(const std::array<AuditPlace, 4>& places, int topTwips, int heightTwips)
{
    for (size_t i = 0; i < 4; ++i) {
        const AuditPlace& p = places[i];
        Captions[i]->setGeometry(vb::TwipsToPixels(p.captionLeft), vb::TwipsToPixels(topTwips),
                                 vb::TwipsToPixels(p.valueLeft - p.captionLeft), vb::TwipsToPixels(heightTwips));
        Values[i]->setGeometry(vb::TwipsToPixels(p.valueLeft), vb::TwipsToPixels(topTwips),
                               vb::TwipsToPixels(p.valueWidth), vb::TwipsToPixels(heightTwips));
    }
}

void AuditStrip::Clear()
{
    for (QLabel* l : Values)
        l->clear();
}

void AuditStrip::Show(const db::Recordset& rs)
{
    if (!db::HasCurrentRow(rs)) {
        Clear();
        return;
    }
    const QString columns[4] = {columns_.createdBy, columns_.createdOn, columns_.changedBy, columns_.changedOn};
    for (int i = 0; i < 4; ++i)
        Values[size_t(i)]->setText(dbmodel::DisplayText(db::ValueOrNull(rs, columns[i])));
}

void AuditStrip::StartAdd(const QString& user, const QString& today)
{
    Values[0]->setText(user);
    Values[1]->setText(today);
    Values[2]->clear();
    Values[3]->clear();
}

void AuditStrip::StartChange(const QString& user, const QString& today)
{
    Values[2]->setText(user);
    Values[3]->setText(today);
}

void AuditStrip::Write(db::Recordset& rs) const
{
    rs.setValue(columns_.createdBy, Values[0]->text());
    if (!Values[1]->text().isEmpty())
        rs.setValue(columns_.createdOn, qint64(vb::Val(Values[1]->text())));
    rs.setValue(columns_.changedBy, Values[2]->text());
    if (!vb::Trim(Values[3]->text()).isEmpty())
        rs.setValue(columns_.changedOn, qint64(vb::Val(Values[3]->text())));
}

void AuditStrip::WriteChange(db::Recordset& rs, const QString& user, const QString& today) const
{
    Write(rs);
    rs.setValue(columns_.changedBy, user);
    rs.setValue(columns_.changedOn, qint64(vb::Val(today)));
}

QString AuditToday() { return vb::Format(ui::Now(), QStringLiteral("YYYYMMDD")); }

// ---- Sort choice -------------------------------------------------------------------------------

void RestoreSortChoice(QComboBox* combo, const QString& key, const QString& section)
{
    const QString sort = vb::Trim(ReadSetting(key, section, 0));
    combo->setCurrentIndex(0);
    if (!sort.isEmpty())
        combo->setEditText(sort);
}

void StoreSortChoice(const QComboBox* combo, const QString& key, const QString& section)
{
    WriteSetting(key, vb::Trim(combo->currentText()), section, 0);
}

// ---- Help-panel notes --------------------------------------------------------------------------

void AppendNote(QString& notes, const QString& line) { notes += gCrLf + gCrLf + line; }

QString RecordNotesText(bool editing, const std::vector<BoxNote>& notes, const BoxTextFn& boxText)
{
    QString s;
    if (editing) {
        AppendNote(s, QStringLiteral("※ 中文姓名以及編號一定要輸入才能存檔"));
    } else {
        AppendNote(s, QStringLiteral("※ 要編輯資料,要先按修改按鈕"));
        AppendNote(s, QStringLiteral("※ 要新增資料,請直接按新增按鈕"));
    }
    for (const BoxNote& n : notes)
        if (boxText(n.box).isEmpty())
            AppendNote(s, n.text);
    return s;
}

void ShowNotes(const QString& notes, const QString& caption)
{
    SetHelpPanelText(notes);
    SetHelpPanelCaption(caption);
}

// ---- First show --------------------------------------------------------------------------------

namespace {
const char* const kShown = "recordWindowShown";
}

bool FrameAtDesignSize(const QWidget* window)
{
    return window->property(kShown).toBool() && qobject_cast<const QMdiSubWindow*>(window->parentWidget());
}

bool FirstShowAtDesignSize(QWidget* window, int widthTwips, int heightTwips, const std::function<void()>& activated,
                           FirstPlace place)
{
    if (window->property(kShown).toBool())
        return false;
    window->setProperty(kShown, true);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        if (!sub->isMaximized()) {
            sub->resize(vb::TwipsToPixels(widthTwips), vb::TwipsToPixels(heightTwips));
            if (place == FirstPlace::TopLeft)
                sub->move(0, 0);
        }
        QObject::connect(sub, &QMdiSubWindow::windowStateChanged, window,
                         [activated](Qt::WindowStates was, Qt::WindowStates now) {
                             if ((now & Qt::WindowActive) && !(was & Qt::WindowActive) && activated)
                                 activated();
                         });
    }
    if (place == FirstPlace::Centred)
        CenterInMDI(window);
    if (activated)
        activated();
    return true;
}

QLabel* TitlePicture(QWidget* parent, const QPixmap& picture)
{
    auto* image = new QLabel(parent);
    image->setObjectName(QStringLiteral("Image1"));
    image->setScaledContents(true);
    if (!picture.isNull())
        image->setPixmap(picture);
    return image;
}

int TitleStripTop(QWidget* window, QWidget* strip, int heightTwips, int hideWiderThan)
{
    strip->setGeometry(0, 0, window->width(), vb::TwipsToPixels(heightTwips));
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    const int outerWidth = vb::PixelsToTwips(sub ? sub->width() : window->width());
    if (outerWidth > hideWiderThan) {
        strip->hide();
        return 0;
    }
    strip->show();
    return heightTwips;
}
