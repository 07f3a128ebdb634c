// Reading a report back from its PDF as a user reads the printed page: pdftotext -layout
// lines, and the check that each value stands under its own caption.
#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// The lines pdftotext -layout makes of the PDF (all pages; pages end in a form feed).
QStringList PdfLines(const QString& pdfPath);

// The first line from `from` on that holds the text; -1 when none does.
int LineWith(const QStringList& lines, const QString& text, int from = 0);

// The words of a line, blanks between them dropped.
QStringList Words(const QString& line);

// Fails the running test unless the value line holds exactly `values`, left to right, each
// starting within `tolerance` columns of where its caption starts in the caption line.
void ExpectUnderCaptions(const QString& captionLine, const QStringList& captions, const QString& valueLine,
                         const QStringList& values, int tolerance = 2);

}  // namespace testsupport
