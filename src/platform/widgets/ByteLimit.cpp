#include "ByteLimit.h"

#include "platform/text/VbText.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace {

// The box's text without the selection a key or a commit would replace.
QString KeptText(const QObject* box)
{
    if (auto* e = qobject_cast<const QLineEdit*>(box)) {
        QString t = e->text();
        if (e->hasSelectedText())
            t.remove(e->selectionStart(), e->selectedText().size());
        return t;
    }
    if (auto* p = qobject_cast<const QPlainTextEdit*>(box)) {
        const QString t = p->toPlainText();
        const QTextCursor c = p->textCursor();
        return t.left(c.selectionStart()) + t.mid(c.selectionEnd());
    }
    return {};
}

// A key that puts a character into the box (not a control key, not a shortcut).
bool InsertsText(const QKeyEvent* key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

ByteLimitFilter* FilterOf(const QWidget* box)
{
    return box ? box->findChild<ByteLimitFilter*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void Install(QWidget* box, int maxBytes)
{
    if (ByteLimitFilter* f = FilterOf(box)) {
        f->setMaxBytes(maxBytes);
        return;
    }
    new ByteLimitFilter(box, maxBytes);
}

}  // namespace

bool TypingRefused(int maxBytes, const QString& kept) { return maxBytes > 0 && vb::ByteLen(kept) >= maxBytes; }

QString TypedCommit(int maxBytes, const QString& kept, const QString& commit)
{
    if (maxBytes <= 0)
        return commit;
    QString taken;
    int bytes = vb::ByteLen(kept);
    for (int i = 0; i < commit.size() && bytes < maxBytes;) {
        // A character outside the BMP comes as two halves that go together.
        const int n = commit.at(i).isHighSurrogate() && i + 1 < commit.size() ? 2 : 1;
        const QString ch = commit.mid(i, n);
        taken += ch;
        bytes += vb::ByteLen(ch);
        i += n;
    }
    return taken;
}

ByteLimitFilter::ByteLimitFilter(QWidget* box, int maxBytes) : QObject(box), max_(maxBytes)
{
    box->installEventFilter(this);
}

bool ByteLimitFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (max_ <= 0 || watched != parent())
        return false;
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (InsertsText(key) && !key->matches(QKeySequence::Paste) && TypingRefused(max_, KeptText(watched))) {
            key->accept();
            return true;
        }
    } else if (event->type() == QEvent::InputMethod) {
        auto* ime = static_cast<QInputMethodEvent*>(event);
        const QString commit = ime->commitString();
        if (!commit.isEmpty()) {
            const QString taken = TypedCommit(max_, KeptText(watched), commit);
            if (taken != commit)
                ime->setCommitString(taken, ime->replacementStart(), ime->replacementLength());
        }
    }
    return false;
}

void SetByteLimit(QLineEdit* box, int maxBytes) { Install(box, maxBytes); }

void SetByteLimit(QPlainTextEdit* box, int maxBytes) { Install(box, maxBytes); }

int ByteLimit(const QWidget* box)
{
    const ByteLimitFilter* f = FilterOf(box);
    return f ? f->maxBytes() : 0;
}
