// The vendor find window: up to eleven partial texts, each looked for anywhere in its own
// column; the vendor window's list then holds only the vendors matching all of them.  One
// instance: a text put into it (the command line's short name) waits there until it is shown.
#pragma once

#include "records/FindDialog.h"
#include "records/OneInstance.h"

#include <QPixmap>
#include <QPointer>

class FactorFrm;

class FactorFond : public FindDialog, public OneInstance<FactorFond> {
public:
    // `owner` is the vendor window the condition is handed to (the global one when none).
    explicit FactorFond(FactorFrm* owner = nullptr, const QPixmap& titlePicture = QPixmap());
    ~FactorFond() override;

protected:
    void Found(const FindCondition& condition) override;
    void Cancelled() override;

private:
    QPointer<FactorFrm> owner_;
};
