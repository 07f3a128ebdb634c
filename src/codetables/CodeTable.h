// Code/name tables: small tables of a code and a name (and a description) that other records
// point to by code — the vendor categories (RV1, used by the vendors' RV110) and the company
// departments (RV17, used by the employees' RV17A0).  One window serves both; what differs
// between them is the table below.  The checks here need no widget: the window hands over the
// box texts.
#pragma once

#include "platform/db/Db.h"

#include <QString>
#include <vector>

// A text of the window: a string-table id (loaded at id + gLangOffset) or, with id 0, a fixed text.
struct TableText {
    int id = 0;
    QString literal;
    QString text() const;
};

// One record box.
struct CodeTableBox {
    QString column;
    int maxLength;      // characters the box takes, and bytes the save allows
    TableText caption;  // the label beside it
};

// The buttons of the bar, by what they do.
enum class CodeTableButton { Exit, Add, Change, Delete, Refresh, Save, Cancel };

struct CodeTableButtonDef {
    CodeTableButton role;
    int index;          // Command1(index)
    TableText caption;
    int place;          // slot in the bar, left to right; editing buttons share the slots of browsing ones
};

struct CodeTableDef {
    QString windowName;              // the window's object name
    TableText caption;
    QString table;                   // "RV1"
    std::vector<CodeTableBox> boxes; // box 0 the code, box 1 the name, then the others
    TableText gridCaptions[2];       // list columns: code, name
    std::vector<CodeTableButtonDef> buttons;

    // Who uses a code: rows of usedByTable whose usedByColumn holds it block a delete.
    QString usedByTable, usedByColumn;

    // Messages.
    QString tooWidePrefix;           // before "欄位資料過長,請不要超過"
    TableText requiredMessage;       // a blank code or name
    QString inUseBefore;             // before the name in the delete refusal
    TableText inUseAfter;            // after the name and "] "
    TableText deleteQuestion, cancelQuestion, errorNumber;

    // Behaviour.
    bool sortAndFind = false;        // a sort choice (代號 / 名稱) and a type-ahead box above the list
    bool codeChangeable = false;     // in change mode the code may be edited while nobody uses it
    bool proposedCodeIsChange = false;  // the code written by an add counts as a change (cancel asks)
    bool saveNeedsTrimmedText = false;  // 存檔 waits for code and name holding more than blanks
    bool arrowsMove = false;         // Up and Down move between the boxes
    bool beepOnCancel = false;
    QString helpCaption;             // on activation the help panel is emptied and titled so ("" = left alone)
    QString lockedCodeHint;          // status hint for a key in a code box that may not change

    const CodeTableBox& box(int i) const { return boxes[size_t(i)]; }
    int boxCount() const { return int(boxes.size()); }
};

// The vendor categories window (DevrItemFrm) and the department window (Dipartmant1FRM).
const CodeTableDef& VendorCategoryDef();
const CodeTableDef& DepartmentDef();

// ---- Checks ------------------------------------------------------------------------------------

// Why a save is refused: the message, its title and icon, and the box to select (-1 none).
struct CodeTableRefusal {
    QString message;
    QString title;      // "" = the program's title
    bool question = false;
    int box = -1;
};

// The save check: the first box longer in bytes than its limit, then a blank code or name.
// `texts` holds the box texts in box order.  No refusal: an empty message.
CodeTableRefusal CodeTableSaveCheck(const CodeTableDef& def, const std::vector<QString>& texts);

// The 存檔 button's state for the code and name texts.
bool CodeTableSaveEnabled(const CodeTableDef& def, const QString& code, const QString& name);

// Whether a record of the user table holds the code, as typed or trimmed.
bool CodeInUse(db::Connection& conn, const CodeTableDef& def, const QString& code);

// The delete refusal for a code in use, naming the record's name.
QString InUseMessage(const CodeTableDef& def, const QString& name);

// The list: every row of the table, ordered by the code or the name when the window sorts.
QString CodeTableListSql(const CodeTableDef& def, const QString& sortChoice);
