// The employee window's rules as plain functions: the record boxes, numbering within a
// department, the save check, dates, identity numbers, the list query and the checklist.  No
// widget here: the window hands over box texts.
#pragma once

#include "core/numbering/Validators.h"

#include "platform/db/Db.h"
#include "records/BoxText.h"
#include "records/DateBox.h"
#include "records/EntryRules.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

// The three box arrays of the record.
enum class BoxArray { Text1, Text2, Text3 };

struct BoxRef {
    BoxArray array = BoxArray::Text1;
    int index = 0;
    bool operator==(const BoxRef&) const = default;
};

// One record box: where it sits, the column it shows, its byte limit, label and hover help.
struct PersonnelField {
    BoxRef box;
    int page;           // tab page 1 to 4 (4: the salary page nobody sees)
    QString column;     // RV17A column
    int maxLength;      // bytes of code page 950; 0 = no limit
    int captionId;      // string-table id of the label, 0 = `caption`
    QString caption;
    QString tip;
    bool multiLine = false;
};

// Every bound box, Text1(0..19), Text2(0..10), Text3(0..6), in that order.
const std::vector<PersonnelField>& PersonnelFields();
const PersonnelField& PersonnelFieldOf(BoxRef box);

// The required boxes: department code, employee number, Chinese name (Text1 0, 1, 2).
bool IsRequiredBox(BoxRef box);

// ---- Numbering ---------------------------------------------------------------------------------

// The next employee number of a department: the code, "-" and one more than the greatest
// numeric serial the department's numbers carry after that prefix (at least three digits).
QString GetWorkmanNewNo(db::Connection& conn, const QString& dept);
// The number box's text on add: the next number, or the code and "-" when numbering is off
// (the setting WorkmanAutoNO is 1).
QString NewWorkmanNumberText(db::Connection& conn, const QString& dept, bool autoNumber);
bool WorkmanAutoNumbering();

// ---- Dates ---------------------------------------------------------------------------------------

// The employee window's dates (ReadDate, AgeTip): "/", "-" or "." between year, month and day,
// any year; the age hint of the birth-date box for a year above 1000.
inline const DateForm kEmployeeDateForm{QStringLiteral("/-."), 1, 1001};

// ---- Checks --------------------------------------------------------------------------------------

// The identity check the setting iDCardNO chooses: CheckIdNumber and IdCheckMode
// (core/numbering/Validators.h).

// Why a save is refused: the message, whether it is the width message (question icon, title
// 取消存檔) and the box to select (only for the width test).
struct WorkmanRefusal {
    QString message;
    bool width = false;
    int box = -1;  // Text1 index
    explicit operator bool() const { return !message.isEmpty(); }
};
// The save check over the Text1 boxes: the number's prefix, the birth, hire and leaving dates,
// then the widths.
WorkmanRefusal SaveCheck_Workman(const BoxTextFn& text);
// 存檔 is enabled while department code, number and name all hold more than blanks.
bool SaveButtonEnabled(const BoxTextFn& text);
// chk0: 1 when a hire date is given.
int EmployedFlag(const QString& hireDate);

// ---- List ----------------------------------------------------------------------------------------

// The employees of one department (or of all), without the resigned unless asked, by name or
// by number.
db::Statement WorkmanListQuery(bool allDepartments, const QString& deptCode, bool includeResigned, bool byName);

// ---- Checklist -------------------------------------------------------------------------------------

// The help panel's checklist of the shown employee: how to edit, then the important boxes still
// empty.  Every item follows two CR LF.
QString PersonnelChecklist(bool editing, const BoxTextFn& text);

// ---- Entry ---------------------------------------------------------------------------------------

// The job grades offered: the setting CommanyManType's non-empty lines, else the three stock grades.
QString JobGradeListText(const QString& setting);
QStringList GenderItems();
QStringList EmploymentItems();  // 就職狀況
QStringList MaritalItems();     // 婚姻狀況
// Date boxes take the masked date box while editing.
bool IsDateBox(BoxRef box);
// The F-key aids of the Text1 boxes: F3, F4 in the addresses; F3 in the e-mail; F5 in the
// current address copies the registered one.
const std::vector<StockText>& PersonnelStockTexts();
// Where Enter, Up and Down lead within an array (-1: nowhere).
const BoxMap& PersonnelEnterMap(BoxArray array);
const BoxMap& PersonnelDownMap(BoxArray array);
const BoxMap& PersonnelUpMap(BoxArray array);
int NextOnEnter(BoxArray array, int index);
int NextOnDown(BoxArray array, int index);
int NextOnUp(BoxArray array, int index);
