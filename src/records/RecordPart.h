// What a piece of a record window answers to when the window's record cycle runs: the boxes
// (RecordBoxes), a detail grid (DetailGrid) and the audit strip (AuditStrip).  Each part does
// only what concerns it; the defaults do nothing.
//
//     FollowMode(EditMode, {boxes_, contacts_}, ...);        // SetReadOnly on every mode change
//     cycle.refusals = {..., boxes_, contacts_};              // RefuseSave before the write
//     cycle.stored = {audit_};                                // StoreRecord into the row
#pragma once

#include "platform/db/Db.h"

#include <QString>

class RecordPart {
public:
    virtual ~RecordPart() = default;
    // Shows the row `rs` stands on.
    virtual void LoadRecord(const db::Recordset& rs) { (void)rs; }
    // Puts what the part holds into the row about to be written.
    virtual void StoreRecord(db::Recordset& rs) { (void)rs; }
    // Only shows the record (browsing), or takes typing (adding, changing).
    virtual void SetReadOnly(bool readOnly) { (void)readOnly; }
    // True when the part refuses the save; it has said why, ending with `failureText`.
    virtual bool RefuseSave(const QString& failureText)
    {
        (void)failureText;
        return false;
    }
};
