#include "records/RecordCycle.h"

#include "platform/db/Probes.h"
#include "records/EntryRules.h"
#include "records/RecordList.h"
#include "records/RecordMode.h"

#include <optional>

bool Refusal::Refuses(const QString& failureText) const
{
    return part_ ? part_->RefuseSave(failureText) : (check_ && check_());
}

bool SaveRecord(const SaveCycle& c)
{
    CommitPickLists(c.openLists);
    for (const Refusal& r : c.refusals)
        if (r.Refuses(c.failureText))
            return false;

    db::Recordset& rs = *c.rs;
    const auto intoRow = [&] {
        for (RecordPart* p : c.stored)
            p->StoreRecord(rs);
        if (c.intoRow)
            c.intoRow();
    };
    std::optional<RecordList::Hold> hold;
    if (c.list)
        hold.emplace(*c.list);
    if (!c.transaction) {
        intoRow();
        rs.Update();
    } else {
        const db::Bookmark mark = c.adding ? 0 : db::TryBookmark(rs).value_or(0);
        QVector<QVariant> typed;  // the row as typed, should the commit itself fail
        const SaveOutcome out = c.transaction(intoRow, [&] {
            for (int k = 0; k < rs.FieldCount(); ++k)
                typed << rs.value(k);
            rs.Update();
        });
        if (!out.saved) {
            if (out.rowWritten)
                RestoreTypedRow(rs, typed, c.adding, mark, c.keyField);
            hold.reset();
            if (c.failed)
                c.failed(out);
            return false;
        }
    }
    hold.reset();

    RecordSteps after;
    for (const auto& step : {c.place, c.mode})
        if (step)
            after.push_back(step);
    if (c.runSteps)
        c.runSteps(after);
    else
        for (const auto& step : after)
            step();
    return true;
}

void FollowMode(ModeText& mode, std::vector<RecordPart*> parts, std::function<void()> also)
{
    mode.changed = [&mode, parts = std::move(parts), also = std::move(also)] {
        for (RecordPart* p : parts)
            if (p)
                p->SetReadOnly(mode.isEmpty());
        if (also)
            also();
    };
}
