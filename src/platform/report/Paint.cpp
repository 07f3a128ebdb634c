#include "platform/report/Paint.h"

#include "platform/files/WholeFile.h"
#include "platform/ui/Ui.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <stdexcept>
#include <QPrinter>
#include <QTextLayout>
#include <QTextOption>
#include <cmath>

namespace report {

namespace {

// Windows Chinese face names whose glyphs are Ming (serif) style.
bool IsMingFace(const QString& family)
{
    static const QStringList ming = {QStringLiteral("新細明體"), QStringLiteral("細明體"),
                                     QStringLiteral("PMingLiU"), QStringLiteral("MingLiU"),
                                     QStringLiteral("標楷體"), QStringLiteral("DFKai-SB")};
    return ming.contains(family, Qt::CaseInsensitive);
}

// TrueType outlines keep the text searchable once embedded in a PDF; the OpenType CJK faces
// come last because their CFF outlines are drawn as paths.
const QStringList& CjkSerifFaces()
{
    static const QStringList faces = {QStringLiteral("AR PL UMing TW"), QStringLiteral("AR PL UMing TW MBE"),
                                      QStringLiteral("AR PL UMing HK"), QStringLiteral("Noto Serif CJK TC"),
                                      QStringLiteral("Noto Sans CJK TC")};
    return faces;
}

constexpr int kLineWidth = 15;  // one pixel at 96 dpi

}  // namespace

QStringList FacesFor(const QString& designFamily)
{
    QStringList faces;
    if (IsMingFace(designFamily)) {
        // The Ming faces carry proportional serif Latin letters and digits; the CJK face
        // supplies every Chinese character.
        faces = QStringList{QStringLiteral("Liberation Serif")} + CjkSerifFaces();
    } else if (designFamily.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0) {
        faces = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
        faces += CjkSerifFaces();
    } else {
        faces = QStringList{designFamily} + CjkSerifFaces();
    }
    return faces;
}

QFont ResolveFont(const Font& font)
{
    QFont f;
    f.setFamilies(FacesFor(font.family));
    f.setPixelSize(std::max(1, int(std::lround(font.pointSize * 20))));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

namespace {

Qt::Alignment QtAlign(Align a)
{
    switch (a) {
    case Align::Center: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    case Align::Left: break;
    }
    return Qt::AlignLeft;
}

// The longest start of text that fits in width.
QString FitOneLine(const QString& text, const QFontMetricsF& fm, qreal width)
{
    if (fm.horizontalAdvance(text) <= width)
        return text;
    int lo = 0, hi = int(text.size());
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        if (fm.horizontalAdvance(text.left(mid)) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    if (lo > 0 && text.at(lo - 1).isHighSurrogate())
        --lo;
    return text.left(lo);
}

void PaintText(QPainter& p, const Item& item, const QFont& font)
{
    if (item.text.isEmpty())
        return;
    const QRectF box(item.rect);
    QFontMetricsF fm(font, p.device());
    const qreal lineHeight = fm.height();
    const bool oneLine = !item.text.contains(QLatin1Char('\n')) && !item.text.contains(QLatin1Char('\t')) &&
                         box.height() < 2 * lineHeight;
    if (oneLine) {
        QString shown = FitOneLine(item.text, fm, box.width());
        qreal x = box.left();
        if (item.align != Align::Left) {
            qreal w = fm.horizontalAdvance(shown);
            x += item.align == Align::Center ? (box.width() - w) / 2 : box.width() - w;
        }
        p.drawText(QPointF(x, box.top() + fm.ascent()), shown);
        return;
    }

    // Several lines: explicit breaks, tabs expanded, long lines wrapped inside the box; lines
    // below the box's bottom are not printed (the first always is).
    QString text = item.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextOption option(QtAlign(item.align));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Text layout scales tab stops by the device's resolution over 96 dpi; our units are
    // already device units.
    const qreal dpiScale = p.device() ? p.device()->logicalDpiY() / 96.0 : 1.0;
    option.setTabStopDistance(fm.horizontalAdvance(QLatin1Char(' ')) * 8 / dpiScale);
    qreal y = box.top();
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    bool first = true;
    for (const QString& para : paragraphs) {
        QTextLayout layout(para, font, p.device());
        layout.setTextOption(option);
        layout.beginLayout();
        int fitting = 0;
        bool full = false;
        for (;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(box.width());
            if (!first && y + line.height() > box.bottom() + 1) {
                full = true;
                break;
            }
            line.setPosition(QPointF(0, y - box.top()));
            y += line.height();
            first = false;
            ++fitting;
        }
        layout.endLayout();
        for (int i = 0; i < fitting; ++i)
            layout.lineAt(i).draw(&p, box.topLeft());
        if (full)
            return;
        if (para.isEmpty() && fitting == 0)
            y += lineHeight;
    }
}

}  // namespace

void PaintPage(QPainter& p, const Page& page)
{
    p.save();
    QPen pen(Qt::black);
    pen.setWidth(kLineWidth);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QFont current;
    Font currentSpec;
    bool haveFont = false;
    for (const Item& item : page.items) {
        switch (item.kind) {
        case Item::Kind::Line:
            p.drawLine(item.rect.topLeft(), item.lineEnd());
            break;
        case Item::Kind::Box:
            p.drawRect(item.rect);
            break;
        case Item::Kind::Text:
            if (!haveFont || !(item.font == currentSpec)) {
                current = ResolveFont(item.font);
                currentSpec = item.font;
                haveFont = true;
                p.setFont(current);
            }
            PaintText(p, item, current);
            break;
        }
    }
    p.restore();
}

namespace {

QPageLayout LayoutFor(const Document& doc)
{
    const bool landscape = doc.pageSize.width() > doc.pageSize.height();
    return QPageLayout(QPageSize(QPageSize::A4), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

}  // namespace

bool WritePdf(const Document& doc, const QString& path, long* vbError)
{
    // Painted into a temporary file beside the target, which takes the target's name only
    // once the painting ended without error: a failed or killed export never leaves a damaged
    // file in place of an earlier one.
    files::WholeFile file(path);
    bool written = false;
    if (file.open(QIODevice::WriteOnly)) {
        QPdfWriter writer(&file);
        writer.setResolution(1440);
        writer.setPageLayout(LayoutFor(doc));
        writer.setTitle(doc.title);
        writer.setCreator(QStringLiteral("Tessarine"));
        QPainter p;
        if (p.begin(&writer)) {
            try {
                for (size_t i = 0; i < doc.pages.size(); ++i) {
                    if (i > 0 && !writer.newPage())
                        throw std::runtime_error("new page");
                    PaintPage(p, doc.pages[i]);
                }
                written = p.end();
            } catch (const std::exception&) {
                if (p.isActive())
                    p.end();
            }
        }
    }
    written = written && file.commit();
    if (!written) {
        file.cancel();
        if (vbError)
            *vbError = file.vbError();
    }
    return written;
}

bool ExportPdf(const Document& doc, const QString& path)
{
    long number = 0;
    if (WritePdf(doc, path, &number))
        return true;
    ui::ExportFailed(files::WriteFailureText(path, number), files::VbFileErrorAdvice(number));
    return false;
}

bool PrintDocument(const Document& doc, QPrinter& printer, int fromPage, int toPage)
{
    printer.setFullPage(true);
    printer.setPageLayout(LayoutFor(doc));
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const double scale = printer.resolution() / 1440.0;
    const int first = fromPage > 0 ? fromPage - 1 : 0;
    const int last = toPage > 0 ? std::min(toPage, int(doc.pages.size())) - 1 : int(doc.pages.size()) - 1;
    for (int i = first; i <= last; ++i) {
        if (i > first)
            printer.newPage();
        p.resetTransform();
        p.scale(scale, scale);
        PaintPage(p, doc.pages[size_t(i)]);
    }
    p.end();
    return true;
}

QImage RenderPage(const Document& doc, int pageIndex, double zoom)
{
    const double scale = 96.0 / 1440.0 * zoom;
    QSize px(std::max(1, int(doc.pageSize.width() * scale)), std::max(1, int(doc.pageSize.height() * scale)));
    QImage img(px, QImage::Format_RGB32);
    img.fill(Qt::white);
    if (pageIndex < 0 || pageIndex >= int(doc.pages.size()))
        return img;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);
    PaintPage(p, doc.pages[size_t(pageIndex)]);
    return img;
}

}  // namespace report
