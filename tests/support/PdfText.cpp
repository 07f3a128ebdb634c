#include "support/PdfText.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace testsupport {

QStringList PdfLines(const QString& pdfPath)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << pdfPath.toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
}

int LineWith(const QStringList& lines, const QString& text, int from)
{
    for (int i = std::max(0, from); i < lines.size(); ++i)
        if (lines[i].contains(text))
            return i;
    return -1;
}

QStringList Words(const QString& line)
{
    const QString s = line.simplified();
    return s.isEmpty() ? QStringList() : s.split(QLatin1Char(' '));
}

void ExpectUnderCaptions(const QString& captionLine, const QStringList& captions, const QString& valueLine,
                         const QStringList& values, int tolerance)
{
    ASSERT_EQ(captions.size(), values.size());
    EXPECT_EQ(Words(valueLine), values) << "under: " << captionLine.toStdString();
    // Each caption and value is looked for after the one before it.
    qsizetype captionFrom = 0, valueFrom = 0;
    for (int k = 0; k < values.size(); ++k) {
        const int captionAt = int(captionLine.indexOf(captions[k], captionFrom));
        const int valueAt = int(valueLine.indexOf(values[k], valueFrom));
        captionFrom = std::max<qsizetype>(captionFrom, captionAt + captions[k].size());
        valueFrom = std::max<qsizetype>(valueFrom, valueAt + values[k].size());
        EXPECT_GE(captionAt, 0) << captions[k].toStdString();
        EXPECT_NEAR(valueAt, captionAt, tolerance) << values[k].toStdString() << " under " << captions[k].toStdString();
    }
}

}  // namespace testsupport
