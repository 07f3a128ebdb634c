// Byte limits counted in code page 950 (a Chinese character counts 2), as the program's boxes
// measure their widths.  The validator holds a box to its limit on typing, pasting and
// input-method commits alike: an insertion that would pass the limit is cut to what still
// fits, never splitting a character; a key that cannot fit at all is refused.
#pragma once

#include <QValidator>

class QLineEdit;

class ByteLimitValidator : public QValidator {
    Q_OBJECT
public:
    ByteLimitValidator(QLineEdit* box, int maxBytes);
    void setMaxBytes(int maxBytes) { max_ = maxBytes; }  // 0 = no limit
    int maxBytes() const { return max_; }
    State validate(QString& input, int& pos) const override;

private:
    QString prev_;  // the box's text before the change being validated
    int max_;
};

// Installs (or updates) a byte limit on a line edit; 0 removes the limit.
void SetByteLimit(QLineEdit* box, int maxBytes);
int ByteLimit(const QLineEdit* box);
