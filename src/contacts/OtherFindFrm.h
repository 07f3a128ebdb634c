// The personal-contact find window: up to fourteen partial texts, each looked for anywhere in
// its own column of RV18A; the contact window's list then holds the contacts matching all.
#pragma once

#include "records/FindDialog.h"

#include <QPixmap>
#include <QPointer>
#include <vector>

class OtherFrm;

// The fourteen boxes, captions in the current language.  Box 0 keeps the fixed caption "類別".
std::vector<FindBox> OtherFindBoxes();
// The condition's words: "RV18A2 LIKE '%王%' and  RV18A17 LIKE '%台北%'".
FindWording OtherFindWording();

class OtherFindFrm : public FindDialog {
public:
    // `owner` is the contact window the condition is handed to.
    explicit OtherFindFrm(OtherFrm* owner, const QPixmap& titlePicture = QPixmap());

protected:
    // Keeps the condition's text in gOtherFindWhere and re-reads the contact list with it.
    void Found(const FindCondition& condition) override;
    void Cancelled() override;

private:
    QPointer<OtherFrm> owner_;
};
