#include "platform/report/ListReport.h"

#include "platform/report/ReportWindow.h"

namespace report {

void Place(Section& section, const Placed& c, const ListFonts& fonts)
{
    const QString text = QString::fromUtf8(c.text);
    const QString name = c.name ? QString::fromUtf8(c.name) : QStringLiteral("txt") + text;
    switch (c.look) {
    case Look::Title: section.addLabel(name, text, c.left, c.top, c.width, c.height, fonts.title, c.align); break;
    case Look::Text: section.addLabel(name, text, c.left, c.top, c.width, c.height, fonts.text, c.align); break;
    case Look::Caption: section.addLabel(name, text, c.left, c.top, c.width, c.height, fonts.caption, c.align); break;
    case Look::Field: section.addField(name, text, c.left, c.top, c.width, c.height, fonts.field, c.align); break;
    case Look::Rule: section.addLine(name, c.left, c.top, c.width); break;
    }
}

void Place(Section& section, std::span<const Placed> controls, const ListFonts& fonts)
{
    for (const Placed& c : controls)
        Place(section, c, fonts);
}

ListReport::ListReport(const ListLayout& layout)
    : Report(layout.title, layout.reportHeaderName, kPageHeader, layout.detailName, kPageFooter, kReportFooter)
{
    setReportWidth(layout.width);
    setLeftMargin(400);
    for (const Column& c : layout.columns) {
        Place(section(SectionKind::PageHeader), c.captionControl(), layout.fonts);
        Place(section(SectionKind::Detail), c.fieldControl(), layout.fonts);
    }
    const std::pair<SectionKind, const SectionLayout*> bands[] = {{SectionKind::ReportHeader, &layout.reportHeader},
                                                                  {SectionKind::PageHeader, &layout.pageHeader},
                                                                  {SectionKind::Detail, &layout.detail}};
    for (const auto& [kind, band] : bands) {
        Section& s = section(kind);
        s.height = band->height;
        Place(s, band->controls, layout.fonts);
    }
    section(SectionKind::PageFooter).height = 0;
    section(SectionKind::ReportFooter).height = layout.reportFooterHeight;
    if (layout.normalStateOnClose)
        onQueryClose = [](ReportWindow& window) {
            window.setWindowState(Qt::WindowNoState);
            return true;
        };
}

}  // namespace report
