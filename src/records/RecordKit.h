// The record-window kit: what every record window (customers, vendors, employees, personal
// contacts, members) shares.  A window supplies tables and its own events; the kit does the
// moving.  Include this header for all of it, or the single headers below.
//
//   records/RecordMode.h   ModeText (EditMode), the button bar per mode (ButtonMode table,
//                          ApplyButtonModes), RunButtonSteps (a button's steps with
//                          Abort/Retry/Ignore and the window's special error numbers),
//                          TrapDbErrors.
//   records/RecordPart.h   RecordPart: what the boxes, a detail grid and the audit strip answer
//                          in the record cycle (load, store, read-only, refuse).
//   records/RecordCycle.h  SaveCycle / SaveRecord: the save of every record window (open lists
//                          committed, refusals, the write in a transaction or a single Update,
//                          the typed row restored when the commit fails, the row placed, the
//                          mode); FollowMode: the parts and the button bar follow the mode.
//   records/RecordList.h   RecordList: the main recordset Rs, the list's clone ListRs, the
//                          list model on a QTableView (ListView makes the view on the list
//                          panel), the guarded row-change hook, Hold (no row change while a
//                          save or delete runs), ShowRow (repositioning after a save);
//                          QuickFindBox, FindRow, FindPrefix and FindCodeOrName (code, else
//                          name) for type-ahead finds.
//   records/FieldTable.h   RecordField table -> RecordBoxes: boxes and labels built, bound,
//                          byte-limited, locked while browsing (SetReadOnly as a RecordPart,
//                          run by FollowMode), focus colour; the required-
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
//                          save), LeaveGuard (a leave check returns the focus without
//                          running other checks), RealFocusChange, BoxMap tables for
//                          Enter/Up/Down, StockText tables for the F-key texts, BoxEvents
//                          and DispatchBoxEvent (a box's events to the window's handlers).
//   records/FindDialog.h   FindDialog built from a FindBox table (CopyTyped: typing in one box
//                          copied onto another); BuildFindCondition makes a condition with
//                          every value bound; HoldFindCondition keeps a condition handed over
//                          to the record window and shows it.
//   records/RecordWindow.h RecordWindow: the first show at the design size, the layout on every
//                          resize and the unload once on close; on request the frame
//                          maximised after the first show (MaximiseAfterFirstShow), and a
//                          load that fails unloading the window unshown (FailLoad, Loaded).
//                          RecordWindowOf<W> adds the one instance (records/OneInstance.h:
//                          Global, Claim; find windows use it too), the title strip Picture1
//                          with Image1 and the list panel Picture4 (BuildTitleAndList).  The
//                          controls built alike: ArrayButton (Command2_5 ...), CaptionButtons
//                          (captions from the string table), TabBar and TabPages.
//   records/RecordExtras.h AuditStrip (建檔者/建檔日期/修改者/修改日期 with the window's column
//                          names, placed side by side or where the window says), the sort
//                          choice kept in a setting, help-panel notes from a BoxNote
//                          (box, message) table, the first show and the title picture.
//   records/DateBox.h      MaskedDateBox ("____/__/__" laid over a date box: Cover, Blank,
//                          Typed) and the one date reader ReadDate with DateText and AgeTip,
//                          each window stating its DateForm.
// Enter is read by IsEnter (platform/widgets/Keys.h) in every window, list and grid.
//
// A record window built on the kit: the customer window (customers/CustomFrom*, Customer*).
// Every record window runs its buttons' steps through RecordWindow::ButtonSteps with its own
// ButtonErrors, has one CommandSty(bool editing) for its button bar, run by the mode through
// FollowMode (or the mode's own `changed`), and saves through one SaveRecord call.
//
//  1. Tables, beside the window as plain functions:
//       - CustomerFields(): RecordField {box, column, label, caption id, caption, byte limit,
//         bound, hover help[, kMultiLine]} for Text1(0..23); RecordBoxes::Build makes the boxes
//         and labels from it;
//       - ButtonBar(): ButtonMode rows saying which of Command2(0..10) browse and edit show
//         (the buttons named by CustomFrom::Button: kFind, kSave, ...);
//       - CustomerGridDef(): the DetailGridDef of the contacts and delivery-address grids;
//       - CustomerEntryRules: PickKindOf (which pick list a box opens), CustomerEnterMap,
//         CustomerDownMap, CustomerUpMap (BoxMap) and CustomerStockTexts (StockText);
//       - CustomerFindBoxes(): the FindBox table of the find window (CustomFond);
//       - the required fields (RequiredField) and the width-checked boxes (CustomerSave), the
//         help panel's BoxNote table (CustomerNotes).
//  2. The window class (CustomFrom : RecordWindowOf<CustomFrom>) holds a RecordList (List:
//     CustomerRs and CustomerListRs), a RecordBoxes and the detail grids following the ModeText
//     EditMode (FollowMode, which runs CommandSty too), its PickLists and LeaveGuard, an
//     AuditStrip, a QuickFindBox, and the
//     controls the layout names (Command2 from ArrayButton, TabStrip2 and Picture3 from TabBar
//     and TabPages, Text1 = boxes_->Boxes(), ...).  Its constructor claims CustomFrom::Global()
//     and builds the title strip and list panel first.
//  3. Events stay the window's own: the list query and RowChanged, AddNew / Modification /
//     CancleModif, the box events (RealFocusChange sorts out focus moves that are no entry;
//     Enter, the arrows and F3/F4/F5 look the tables up; DispatchBoxEvent hands each box event
//     to its handler), the type-ahead (FindCodeOrName), the find window's condition
//     (HoldFindCondition, then the list re-read), and the save: one SaveCycle whose refusals
//     are MissingFieldsMessage, the detail grids (ReadyToSave) and SaveCheck_Custom
//     (RefuseTooWide, RefuseUnwritable), whose transaction is SaveCustomerRows (SaveInTransaction
//     with DetailStatements and the failure text), and whose place is RecordList::ShowAdded /
//     ShowRow for the saved customer.
//  4. Before any save however it is started: CommitPickLists on the open lists (the cycle's
//     first step).
//
// The vendor window (vendors/FactorFrm*, Vendor*) is built the same way with one contacts grid.
//
// Which window uses which piece beyond what all five share.  All five - customers (CustomFrom),
// vendors (FactorFrm), employees (PersonnelFrm), personal contacts (OtherFrm) and members
// (DBtable_fm) - derive from RecordWindow and hold a ModeText, a RecordList, a RecordBoxes with
// its focus colour and RefuseUnwritable, PickLists with a LeaveGuard, RealFocusChange (the
// vendor window's through DispatchBoxEvent), the button bar through ApplyButtonModes and their
// buttons' steps through RunButtonSteps, the title picture, SaveRecord and ButtonSteps.  Besides:
//   - FollowMode: customers, vendors, employees, personal contacts (the member window's mode
//     runs its boxes and CommandSty itself: its boxes are built when the table is known, and
//     its query mode keeps its own bar);
//   - RecordWindowOf (one instance, title strip and list panel), ArrayButton, TabBar and
//     TabPages: customers, vendors, employees, personal contacts;
//   - QuickFindBox and FindCodeOrName: customers, vendors, employees, personal contacts;
//   - BoxMap and StockText tables: customers, vendors, employees, personal contacts;
//   - help-panel notes (ShowNotes): customers, vendors, employees, personal contacts;
//   - the title strip hidden on wide frames (TitleStripTop): customers, vendors, employees;
//   - RefuseTooWide and a transaction in the save (SaveInTransaction): customers, vendors,
//     personal contacts; a single Update: employees and members;
//   - DetailGrid with DetailStatements, DeleteInTransaction, the kept sort choice: customers
//     and vendors;
//   - AuditStrip and HoldFindCondition: customers, vendors (AuditStrip also members; stored as a
//     part of the save by customers and members, the vendor window stamps a change itself);
//   - FindDialog: customers (CustomFond), vendors (FactorFond), personal contacts (OtherFindFrm);
//   - DispatchBoxEvent: customers, vendors, personal contacts and members;
//   - FindRow: vendors and members; FindPrefix and BuildFindCondition (the query by form):
//     members;
//   - CaptionButtons: customers, vendors, personal contacts;
//   - MaskedDateBox and ReadDate: employees (kEmployeeDateForm) and personal contacts
//     (kBirthdayForm).
// The code/name-table window (codetables/CodeTableFrm) derives from RecordWindow too and holds a
// ModeText and a RecordList; its buttons' steps go through RunButtonSteps.  Its library lies
// beneath the vendor and employee windows, which open it in add mode the same way
// (OpenDevrItemFrm, OpenDipartmant1FRM) when their table is still empty.
// The member window stays on plain RecordWindow: it builds its field table at run time from the
// table's columns (a RecordField per column, places from its layout model), and its own
// Picture1 is the field pane; it is the one window maximised after its first show and the one
// whose load can fail (no table name, no such table).
#pragma once

#include "records/DateBox.h"
#include "records/DetailGrid.h"
#include "records/EntryRules.h"
#include "records/FieldTable.h"
#include "records/FindDialog.h"
#include "records/OneInstance.h"
#include "records/RecordCycle.h"
#include "records/RecordExtras.h"
#include "records/RecordList.h"
#include "records/RecordMode.h"
#include "records/RecordSave.h"
#include "records/RecordWindow.h"
