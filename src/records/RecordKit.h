// The record-window kit: what every record window (customers, vendors, employees, personal
// contacts, members) shares.  A window supplies tables and its own events; the kit does the
// moving.  Include this header for all of it, or the single headers below.
//
//   records/RecordMode.h   ModeText (EditMode), the button bar per mode (ButtonMode table,
//                          ApplyButtonModes), RunButtonSteps (a button's steps with
//                          Abort/Retry/Ignore and the window's special error numbers),
//                          TrapDbErrors.
//   records/RecordList.h   RecordList: the main recordset Rs, the list's clone ListRs, the
//                          list model on a QTableView, the guarded row-change hook, Hold (no
//                          row change while a save or delete runs), ShowRow (repositioning
//                          after a save); QuickFindBox and FindPrefix for type-ahead finds.
//   records/FieldTable.h   RecordField table -> RecordBoxes: boxes and labels built, bound,
//                          byte-limited, locked while browsing, focus colour; the required-
//                          fields message, the width check (limits read from the table) and
//                          the check that every typed value fits its column.
//   records/RecordSave.h   SaveInTransaction / DeleteInTransaction: one transaction, one
//                          outcome (number, description, the window's failure text).
//   records/DetailGrid.h   DetailGridDef (column descriptors: caption, width, byte limit,
//                          stored column; key column, e-mail column, spare-row rules) ->
//                          DetailGrid: a flex grid with its floating editor, loading, the
//                          spare row, Enter walk, row delete, change hook; DetailStatements
//                          for the save.
//   records/EntryRules.h   PickList (the overlay list over a box: TargetBox, NextBox,
//                          Alt+Down/F4, the first item for a blank box, committed before any
//                          save), LeaveGuard (a leave check
//                          returns the focus without running other checks), box maps for
//                          Enter/Up/Down, F-key stock texts.
//   records/FindDialog.h   FindDialog built from a FindBox table; BuildFindCondition makes a
//                          condition with every value bound.
//   records/RecordWindow.h RecordWindow: the first show at the design size, the layout on every
//                          resize and the unload once on close.
//   records/RecordExtras.h AuditStrip (建檔者/建檔日期/修改者/修改日期 with the window's column
//                          names, placed side by side or where the window says), the sort choice kept in a setting, help-panel notes from a
//                          (box, message) table.
//
// Building a record window (the vendor window as the example):
//
//  1. Tables, in the window's own files (vendors/FactorFrm*.cpp):
//       - fields: std::vector<RecordField> {box, column, label, caption id, caption, byte limit,
//         bound, hover help[, kMultiLine]} for Text1(0..24);
//       - buttons: std::vector<ButtonMode> saying which of Command2(0..10) browse and edit show;
//       - the contacts grid: a DetailGridDef {"ManGrid", "ManGridTxt", "廠商聯絡人", "廠商編號",
//         "總序", columns 0..8 (column 0 field "項次"), e-mail column 7,
//         kKeepBlankSecondRow | kLimitsOnlyWithRows};
//       - entry rules: which pick list each box opens with its NextBox, the Enter/Up/Down maps,
//         the F3/F4/F5 texts;
//       - the find window's FindBox table; the notes' (box, message) table.
//  2. The window class (FactorFrm : QWidget) holds a RecordList, a RecordBoxes, a DetailGrid,
//     its PickLists, a ModeText EditMode whose `changed` locks the boxes and the grid editor, and
//     the controls the layout part names (Command2, Text1 = boxes.Boxes(), ...).
//  3. Events stay the window's own: the list query (RecordList::Open with bound parameters,
//     then boxes.Binding()->setRecordset(list.Rs)), RowChanged (audit strip, contacts Load,
//     報告), AddNew/Modification/Cancel, the save check (duplicate number, prefix, then
//     boxes.RefuseUnwritable(failureText) and boxes.RefuseTooWide(boxes)), FileSave through
//     SaveInTransaction with DetailStatements(def, number, grid.RowSet()) and "資料並未儲存。",
//     then RecordList::ShowRow for the saved number (clear the filter when it is outside).
//  4. Before any save however it is started: PickList::Commit() on the open list and
//     DetailGrid::ReadyToSave().
//
// The customer window (customers/CustomFrom*) is built this way and is the working example.
// The member window (contacts/DBtable_fm*) builds its field table at run time from the table's
// columns (RecordField per column, places from its layout model) and shows the same kit pieces.
#pragma once

#include "records/DetailGrid.h"
#include "records/EntryRules.h"
#include "records/FieldTable.h"
#include "records/FindDialog.h"
#include "records/RecordExtras.h"
#include "records/RecordList.h"
#include "records/RecordMode.h"
#include "records/RecordSave.h"
#include "records/RecordWindow.h"
