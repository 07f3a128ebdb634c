// The customer find window: up to twelve partial texts, each looked for anywhere in its own
// column; the customer window's list then holds only the customers matching all of them.
#pragma once

#include "records/FindDialog.h"

#include <QPointer>

class CustomFrom;

class CustomFond : public FindDialog {
public:
    // `owner` is the customer window the condition is handed to.
    explicit CustomFond(CustomFrom* owner, QWidget* parent = nullptr, const QPixmap& titlePicture = QPixmap());

    static constexpr int kBoxes = 12;

protected:
    void Found(const FindCondition& condition) override;
    void Cancelled() override;

private:
    QPointer<CustomFrom> owner_;
};
