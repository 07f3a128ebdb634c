// The record boxes of a record window, driven by one field table: each row names a box, its
// column, its label and caption, its byte limit, whether it follows the current row by itself,
// and its hover help.  From the table the kit builds the boxes and labels, binds them to the
// main recordset, holds typing to the byte limits, locks the boxes while browsing, checks the
// widths before a save and names the box whose value its column refused.
//
//     const std::vector<RecordField>& VendorFields() {
//         static const std::vector<RecordField> f = {
//             {0, "RV110", 18, 378, "類別編號*", 10, true, ""},
//             {1, "RV111", 0, 360, "廠商編號*", 10, true, "廠商編號是以類別編號開頭"},
//             ...
//             {19, "RV1118", 10, 370, "備註說明", 300, true, "記載備註說明", RecordField::kMultiLine},
//         };
//         return f; }
//     boxes_ = new RecordBoxes(this);
//     boxes_->Build(VendorFields(), 25, 36, [&](const RecordField& f) { return BoxPlace{page, boxRect, labelRect}; });
//     Text1 = boxes_->Boxes();  Label4 = boxes_->Labels();
//     boxes_->Binding()->setRecordset(FactoryRs);     // after every list query
//     FollowMode(EditMode, {boxes_, ManGrid}, [this] { CommandSty(!EditMode.isEmpty()); });  // locked while browsing
//     boxes_->Changed = [this](int box) { Text1_Change(box); };
//     ... in the save check:
//     if (boxes_->RefuseUnwritable(failureText)) return true;                       // "abc" in a number box
//     if (boxes_->RefuseTooWide(VendorWidthCheckedBoxes(), VendorTooWideMessage)) return true;  // widths from the table
#pragma once

#include "core/BoxColours.h"
#include "records/BoxText.h"
#include "records/RecordMode.h"
#include "records/RecordPart.h"

#include <QColor>
#include <QObject>
#include <QRect>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace dbmodel {
class FieldBinding;
}

// One box of a record.
struct RecordField {
    enum Flag { kMultiLine = 1 };
    int box;          // index in the window's box array (Text1)
    QString column;   // the main table's column ("" for a box showing a derived text)
    int label;        // index in the window's label array, -1 for none
    int labelId;      // string-table id of the label's caption, 0 = the caption below
    QString caption;  // the label's caption
    int maxLength;    // bytes of code page 950, 0 = none
    bool bound;       // follows the current row by itself
    QString tip;      // hover help
    int flags = 0;
};

// A required box and its line in the missing-fields message.
struct RequiredField {
    int box;
    QString line;
};

// Every required box left blank (trimmed), one line each followed by CR LF, in table order;
// "" when nothing is missing.
QString MissingFieldsMessage(const std::vector<RequiredField>& required, const BoxTextFn& text);

// The first of `boxes` (in the order given) whose text is longer in code-page-950 bytes than
// its field's byte limit, or -1.  Boxes without a limit are never too wide.
int FirstTooWideBox(const std::vector<RecordField>& fields, const std::vector<int>& boxes, const BoxTextFn& text);
// The field of a box, nullptr when the table has none.
const RecordField* FieldOfBox(const std::vector<RecordField>& fields, int box);
// The message for a box held to `maxLength` bytes (shown with the question icon and the title
// SaveWidthTitle()).
QString TooWideMessage(int maxLength);
QString SaveWidthTitle();
// The message for a box whose column refused its text: names the box by its caption and ends
// with what the save did not do (the window's failure text).
QString UnwritableMessage(const QString& caption, const QString& text, const QString& failureText);

// Where the builder puts a box and its label (pixels, on `page`).
struct BoxPlace {
    QWidget* page = nullptr;
    QRect box;
    QRect label;
    Qt::Alignment labelAlign = Qt::AlignRight | Qt::AlignVCenter;
};

class RecordBoxes : public QObject, public RecordPart {
public:
    explicit RecordBoxes(QObject* parent = nullptr);

    // Creates box and label for every field (QLineEdit, or QPlainTextEdit for kMultiLine),
    // named <boxPrefix>_<box> and <labelPrefix>_<label>, with tooltips, byte limits, the boxes'
    // colour, change notices, and the binding of every bound field.  `watcher` gets every box's
    // events (the window's event filter: focus, keys, hover).
    void Build(const std::vector<RecordField>& fields, int boxCount, int labelCount,
               const std::function<BoxPlace(const RecordField&)>& place, QObject* watcher,
               const QString& labelPrefix = QStringLiteral("Label3"),
               const QString& boxPrefix = QStringLiteral("Text1"));

    const std::vector<RecordField>& Fields() const { return fields_; }
    const std::vector<QWidget*>& Boxes() const { return boxes_; }
    const std::vector<QLabel*>& Labels() const { return labels_; }
    dbmodel::FieldBinding* Binding() const { return binding_; }

    QWidget* Box(int n) const;
    QLineEdit* Line(int n) const;        // nullptr for a multi-line box
    QPlainTextEdit* Memo(int n) const;   // nullptr for a single-line box
    QString Text(int n) const;
    void SetText(int n, const QString& text);
    int IndexOf(const QObject* box) const;  // -1 for none

    // Captions from the string table (labels with an id).
    void LoadCaptions();

    // While browsing the boxes only show the record; while editing they take typing.
    void SetEditing(bool editing);
    bool Editing() const { return editing_; }
    // As a part of the record cycle: the binding's row shown again, locked while read-only,
    // and RefuseUnwritable before a save.
    void LoadRecord(const db::Recordset& rs) override;
    void SetReadOnly(bool readOnly) override { SetEditing(!readOnly); }
    bool RefuseSave(const QString& failureText) override { return RefuseUnwritable(failureText); }
    // The focus colour: white while the box is being edited, the boxes' own colour otherwise.
    void SetFocused(int n, bool focused);
    // The same for a box given by its widget; a widget that is not one of the boxes is left alone.
    void SetFocused(const QObject* box, bool focused) { SetFocused(IndexOf(box), focused); }
    static QColor EditingColor() { return BoxColours::Focused(); }
    static QColor BoxColor() { return BoxColours::Record(); }
    // Another colour for the boxes out of the focus (every box takes it now).
    void SetIdleColor(const QColor& color);

    // ---- Before a save -----------------------------------------------------------------------
    // Pushes every bound box into the current row; a value its column cannot take (a letter,
    // nan, inf or a number out of range in a number column) is shown with the box's caption and
    // the window's failure text (OK, no title), the box gets the focus with its text kept, and
    // the result is true (refuse the save).
    bool RefuseUnwritable(const QString& failureText);
    // The width check over `boxes`: the first too wide is shown (`message` of its limit, question
    // icon, title "取消存檔"), selected and focused; true = refuse.
    bool RefuseTooWide(const std::vector<int>& boxes, QString (*message)(int maxLength) = TooWideMessage);
    // Empties every box the binding does not fill (a new record starts with no text of the last).
    void ClearUnbound();
    // Forgets the write failures (a new record, a cancel, a reload).
    void ClearWriteFailures() { failures_.clear(); }

    // Runs after every change of a box's text (typed, or set by the program).
    std::function<void(int box)> Changed;
    // Runs before a check above puts the focus into a box: the window brings the box's tab
    // page to the front.
    std::function<void(int box)> Reveal;

private:
    std::vector<RecordField> fields_;
    std::vector<QWidget*> boxes_;
    std::vector<QLabel*> labels_;
    dbmodel::FieldBinding* binding_ = nullptr;
    bool editing_ = false;
    QColor idle_ = BoxColor();
    struct Failure {
        QString text;
        QString description;
    };
    std::map<int, Failure> failures_;  // box -> the text its column refused
};
