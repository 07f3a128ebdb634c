// Painting a laid-out report: one routine for the preview, PDF and the printer.  The painter's
// logical unit is the twip; fonts are sized in twips (1 point = 20 twips).
#pragma once

#include "platform/report/Report.h"

#include <QFont>
#include <QImage>

class QPainter;
class QPrinter;

namespace report {

// The installed face that stands in for a design font family: the Windows Ming faces go to a
// CJK serif face, Arial to a metric-compatible sans face.
QStringList FacesFor(const QString& designFamily);
// The QFont for a design font, its pixel size in twips.
QFont ResolveFont(const Font& font);

// Paints one page; the painter's coordinates must be twips.
void PaintPage(QPainter& painter, const Page& page);

// Writes every page to a PDF at 1440 dpi, whole or not at all.  False (with the VB file error
// number in *vbError) when the file cannot be written.
bool WritePdf(const Document& doc, const QString& path, long* vbError = nullptr);
// The same for the user: a failure is said in the export failure box (its number, what
// happened, the file, what to do).
bool ExportPdf(const Document& doc, const QString& path);

// Prints every page (or from..to, 1-based, when given) on a printer already set up.
bool PrintDocument(const Document& doc, QPrinter& printer, int fromPage = 0, int toPage = 0);

// A page as a picture at 96 dpi times zoom, on white.
QImage RenderPage(const Document& doc, int pageIndex, double zoom);

}  // namespace report
