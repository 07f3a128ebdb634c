// Smaller pieces every record window has: the audit strip under the buttons, the sort choice
// kept in a setting between runs, and the completeness notes in the main window's help panel.
//
//     Audit = new AuditStrip(this, {"建檔者", "建檔日期", "修改者", "修改日期"});
//     Audit->Show(FactoryRs);                 // on every row change
//     Audit->StartAdd(gUserName, today);      // AddNew;  StartChange on a change
//     Audit->Write(FactoryRs);                // inside the save, before the row's update
//     Audit->WriteChange(FactoryRs, gUserName, today);  // the same, stamping a change
//     RestoreSortChoice(Combo1, "FactoryShowSRT", "Tessarine");  // load;  StoreSortChoice on close
//     ShowNotes(RecordNotesText(!EditMode.isEmpty(), kVendorNotes, boxText), "廠商管理");
#pragma once

#include "platform/db/Db.h"
#include "records/BoxText.h"
#include "records/RecordPart.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QPixmap;

// ---- Audit strip -------------------------------------------------------------------------------

// The record's columns for who created and changed it, and when (dates as the number yyyymmdd).
struct AuditColumns {
    QString createdBy;
    QString createdOn;
    QString changedBy;
    QString changedOn;
};

// Where a caption and its value stand in the strip (twips).
struct AuditPlace {
    int captionLeft;
    int valueLeft;
    int valueWidth;
};

class AuditStrip : public QWidget, public RecordPart {
public:
    AuditStrip(QWidget* parent, const AuditColumns& columns);
    // Puts the captions and values elsewhere than side by side in the strip's own order
    // (places in the order of Captions: 建檔者, 建檔日期, 修改者, 修改日期).
    void Place(const std::array<AuditPlace, 4>& places, int topTwips, int heightTwips);

    std::array<QLabel*, 4> Captions{};  // Label1: "建檔者:", "建檔日期:", "修改者:", "修改日期:"
    std::array<QLabel*, 4> Values{};    // Label2: the current record's values

    // The current row's values (each Null as ""); all empty without a current row.
    void Show(const db::Recordset& rs);
    void Clear();
    // A new record: created by `user` today, no change yet.
    void StartAdd(const QString& user, const QString& today);
    // A change: changed by `user` today.
    void StartChange(const QString& user, const QString& today);
    // The shown values into the record's row (a date only when one is shown).
    void Write(db::Recordset& rs) const;
    // The same for a changed record, stamped changed by `user` on `today`: the strip shows the
    // stamp only once the saved row is shown again.
    void WriteChange(db::Recordset& rs, const QString& user, const QString& today) const;
    // As a part of the record cycle: Show and Write.
    void LoadRecord(const db::Recordset& rs) override { Show(rs); }
    void StoreRecord(db::Recordset& rs) override { Write(rs); }

private:
    AuditColumns columns_;
};

// Today as the number yyyymmdd, as the audit columns hold it.
QString AuditToday();

// ---- Sort choice -------------------------------------------------------------------------------

// The combo's text from the setting (trimmed; none leaves the first item), and back on close.
void RestoreSortChoice(QComboBox* combo, const QString& key, const QString& section);
void StoreSortChoice(const QComboBox* combo, const QString& key, const QString& section);

// ---- Help-panel notes --------------------------------------------------------------------------

// A line of the notes shown while a box is empty (blanks count as filled).
struct BoxNote {
    int box;
    QString text;
};

// The notes: how to edit (browsing) or what must be typed (editing), then a line for each
// empty box of the table, in table order.  Every line is preceded by two line breaks (CR LF).
QString RecordNotesText(bool editing, const std::vector<BoxNote>& notes, const BoxTextFn& boxText);
// Appends one more line in the same way.
void AppendNote(QString& notes, const QString& line);
// Shows the notes in the main window's help panel under the window's caption.
void ShowNotes(const QString& notes, const QString& caption);

// ---- First show --------------------------------------------------------------------------------

// True once FirstShowAtDesignSize has given the window's frame its design size (the frame is then
// the window's to keep, not its opener's to fit around the window).
bool FrameAtDesignSize(const QWidget* window);

// Where a record window opens: centred in the main window, or at its top left corner.
enum class FirstPlace { Centred, TopLeft };

// The first show of a record window inside the main window: its frame takes the design size
// (twips, frame included) unless it is maximised, the window is placed (centred in the main
// window, or at its top left while not maximised), and `activated` runs now and whenever the
// frame becomes the active window again.  Later shows do nothing.  True on the first show.
bool FirstShowAtDesignSize(QWidget* window, int widthTwips, int heightTwips, const std::function<void()>& activated,
                           FirstPlace place = FirstPlace::Centred);

// The height of a record window's title strip (twips).
constexpr int kTitleStripHeight = 1155;

// The title picture "Image1" on `parent`: the main window's title picture, stretched to the
// label's size.
QLabel* TitlePicture(QWidget* parent, const QPixmap& picture);

// The top offset (twips) below the title strip of a record window: the strip is hidden (offset
// 0) once the window's outer width (its frame's, inside the main window) exceeds
// `hideWiderThan` twips, otherwise shown (offset its height).  The strip keeps the window's full
// width.
int TitleStripTop(QWidget* window, QWidget* strip, int heightTwips, int hideWiderThan);
