#include "ByteLimit.h"

#include "platform/text/VbText.h"

#include <QLineEdit>

ByteLimitValidator::ByteLimitValidator(QLineEdit* box, int maxBytes)
    : QValidator(box), prev_(box->text()), max_(maxBytes)
{
    connect(box, &QLineEdit::textChanged, this, [this](const QString& t) { prev_ = t; });
}

QValidator::State ByteLimitValidator::validate(QString& input, int& pos) const
{
    if (max_ <= 0 || vb::ByteLen(input) <= max_)
        return Acceptable;
    // Find what was inserted: the new text against the box's text before the change.
    const QString& old = prev_;
    int pre = 0;
    while (pre < old.size() && pre < input.size() && old[pre] == input[pre])
        ++pre;
    int suf = 0;
    while (suf < old.size() - pre && suf < input.size() - pre &&
           old[old.size() - 1 - suf] == input[input.size() - 1 - suf])
        ++suf;
    const QString head = input.left(pre);
    const QString tail = input.right(suf);
    const QString inserted = input.mid(pre, input.size() - pre - suf);
    if (inserted.isEmpty())
        return Acceptable;  // a deletion from a text that was already too long
    const int room = max_ - vb::ByteLen(head) - vb::ByteLen(tail);
    const QString kept = room > 0 ? vb::LeftBytes(inserted, room) : QString();
    if (kept.isEmpty())
        return Invalid;     // nothing of the insertion fits: the key is refused
    input = head + kept + tail;
    pos = head.size() + kept.size();
    return Acceptable;
}

void SetByteLimit(QLineEdit* box, int maxBytes)
{
    if (auto* v = qobject_cast<ByteLimitValidator*>(const_cast<QValidator*>(box->validator()))) {
        v->setMaxBytes(maxBytes);
        return;
    }
    box->setValidator(new ByteLimitValidator(box, maxBytes));
}

int ByteLimit(const QLineEdit* box)
{
    if (auto* v = qobject_cast<const ByteLimitValidator*>(box->validator()))
        return v->maxBytes();
    return 0;
}
