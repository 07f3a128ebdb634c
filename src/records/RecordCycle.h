// The record cycle of a record window: how a save runs, and how the parts follow the mode.
//
// A save, whatever started it (a click, Alt+S, Enter on the last box), runs in this order:
//   1. the open pick lists hand their text to their boxes (CommitPickLists);
//   2. the refusals, in the window's order: its own checks and its parts' RefuseSave;
//   3. the write, the list held: the parts' StoreRecord and the window's intoRow, then the
//      row's Update - inside the window's transaction where it has one (its detail rows written
//      with it), else a single Update whose error goes to the caller (the button's steps);
//   4. a transaction that failed once the row was written: the typed row is put back into
//      editing (RestoreTypedRow), so the next save writes it; then the window's `failed`;
//   5. a committed save: `place` (the list on the saved row), then `mode` (back to browsing).
//
//     SaveCycle c{.rs = &FactoryRs(), .list = &List, .adding = added, .failureText = kNotSaved};
//     c.openLists = {CategoryList, StatusList};
//     c.refusals = {[this] { return CheckSaveFACTOR(); }, ManGrid};
//     c.transaction = [&](auto into, auto write) {
//         return SaveInTransaction(gConn, kNotSaved, into, DetailStatements(...), write); };
//     c.place = [&] { ... };
//     SaveRecord(c);
#pragma once

#include "records/RecordMode.h"
#include "records/RecordPart.h"
#include "records/RecordSave.h"

#include <QString>
#include <functional>
#include <type_traits>
#include <vector>

class PickList;
class RecordList;

// One refusal of a save: a part's RefuseSave (with the cycle's failure text) or a check of the
// window's own (true = refused; the check has said why).
class Refusal {
public:
    Refusal(RecordPart* part) : part_(part) {}
    template <class Check, class = std::enable_if_t<std::is_invocable_r_v<bool, Check&>>>
    Refusal(Check check) : check_(std::move(check))
    {
    }
    bool Refuses(const QString& failureText) const;

private:
    RecordPart* part_ = nullptr;
    std::function<bool()> check_;
};

struct SaveCycle {
    db::Recordset* rs = nullptr;  // the record row
    RecordList* list = nullptr;   // held while the row is written (none: no list to hold)
    bool adding = false;          // a new row (restored as a new row again)
    QString failureText;          // what the parts' refusals end with
    std::vector<PickList*> openLists;
    std::vector<Refusal> refusals;
    std::vector<RecordPart*> stored;  // StoreRecord before the row is written
    std::function<void()> intoRow;    // the window's own fields into the row, after the parts
    // The window's transaction: runs `intoRow` and then `writeRow` (the row's Update) inside
    // it, with whatever else it writes, and tells the outcome (SaveInTransaction).  Unset: no
    // transaction; an error of the write is thrown to the caller.
    std::function<SaveOutcome(const std::function<void()>& intoRow, const std::function<void()>& writeRow)> transaction;
    std::function<void(const SaveOutcome&)> failed;  // the window's message after a failed transaction
    std::function<void()> place;
    std::function<void()> mode;
    // How `place` and `mode` run, one step each (the window's button steps, so that an error
    // there never writes the row again); unset: directly.
    std::function<void(const RecordSteps&)> runSteps;
    QString keyField = QStringLiteral("總序");  // the identity column RestoreTypedRow leaves alone
};

// Runs the cycle; true when the row was saved.
bool SaveRecord(const SaveCycle& cycle);

// The parts follow `mode` from now on: every assignment of the mode makes them read-only
// (browsing) or writable (any other mode), then runs `also` (the window's button bar and
// whatever else follows the mode).  `mode` outlives the parts' use of it.
void FollowMode(ModeText& mode, std::vector<RecordPart*> parts, std::function<void()> also = {});
