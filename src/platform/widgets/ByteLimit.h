// Byte limits counted in code page 950 (a Chinese character counts 2), as the program's boxes
// measure their widths.  The limit holds what is typed: a key, or each character an input
// method commits, is refused once the text already takes the limit, counted before the key
// (a selection the key replaces does not count), so a two-byte character typed one byte below
// the limit is taken and the text ends one byte over.  A paste, a drop or a text the program
// sets is never cut: the save check names a value that is too long.  Backspace, Delete, Enter
// and the moving keys are never refused.
#pragma once

#include <QObject>
#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

class ByteLimitFilter : public QObject {
    Q_OBJECT
public:
    ByteLimitFilter(QWidget* box, int maxBytes);
    void setMaxBytes(int maxBytes) { max_ = maxBytes; }  // 0 = no limit
    int maxBytes() const { return max_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int max_;
};

// Whether a key typed into a box holding `kept` (its text without the selection the key
// replaces) is refused by a limit of `maxBytes` (0 = none).
bool TypingRefused(int maxBytes, const QString& kept);
// What of an input-method commit a box holding `kept` takes: its characters one by one, each
// while the text before it is under the limit.
QString TypedCommit(int maxBytes, const QString& kept, const QString& commit);

// Installs (or updates) a byte limit on a box; 0 removes the limit.
void SetByteLimit(QLineEdit* box, int maxBytes);
void SetByteLimit(QPlainTextEdit* box, int maxBytes);
int ByteLimit(const QWidget* box);
