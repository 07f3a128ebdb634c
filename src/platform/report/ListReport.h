// Reports laid out from tables: the controls of each section listed in printing order, with
// the look (font and alignment) each prints in.  The list reports of the registers are built
// this way; each names its title, width, section heights, its heading, its columns (a caption
// over a field) and the rules between them, and the rest is shared.
#pragma once

#include "platform/report/Report.h"

#include <span>

namespace report {

// What a placed control is and which of the report's fonts it prints in.
enum class Look {
    Title,    // label, title font
    Text,     // label, the report's own font (date, page numbers)
    Caption,  // label, caption font
    Field,    // bound field, field font
    Rule,     // horizontal line
};

// One control of a section: positions in twips within the section.
struct Placed {
    Look look = Look::Text;
    const char* name = nullptr;  // a field without a name is called "txt" + its column
    const char* text = nullptr;  // a label's caption, a field's column
    int left = 0, top = 0, width = 0, height = 0;
    Align align = Align::Left;

    // The report title ("%i"), right-aligned.
    static constexpr Placed Title(const char* name, int left, int top, int width, int height)
    {
        return {Look::Title, name, "%i", left, top, width, height, Align::Right};
    }
    static constexpr Placed Text(const char* name, const char* text, int left, int top, int width, int height,
                                 Align align = Align::Left)
    {
        return {Look::Text, name, text, left, top, width, height, align};
    }
    static constexpr Placed Caption(const char* name, const char* text, int left, int top, int width,
                                    int height = 240)
    {
        return {Look::Caption, name, text, left, top, width, height, Align::Left};
    }
    static constexpr Placed Field(const char* name, const char* column, int left, int top, int width,
                                  int height = 240)
    {
        return {Look::Field, name, column, left, top, width, height, Align::Left};
    }
    static constexpr Placed Rule(const char* name, int left, int top, int width)
    {
        return {Look::Rule, name, nullptr, left, top, width, 0, Align::Left};
    }
};

// A caption's or a field's place in its section, in twips: one line high unless given.
struct Box {
    int left = 0, top = 0, width = 0, height = 240;
};

// One column of a list: its caption in the page header over its field in the detail.
struct Column {
    const char* captionName = nullptr;
    const char* caption = nullptr;
    Box captionAt;
    const char* fieldName = nullptr;  // none: "txt" + the data column
    const char* field = nullptr;      // the data column
    Box fieldAt;

    constexpr Placed captionControl() const
    {
        return Placed::Caption(captionName, caption, captionAt.left, captionAt.top, captionAt.width, captionAt.height);
    }
    constexpr Placed fieldControl() const
    {
        return Placed::Field(fieldName, field, fieldAt.left, fieldAt.top, fieldAt.width, fieldAt.height);
    }
};

// The fonts of a list report, all "新細明體".
struct ListFonts {
    Font title{QStringLiteral("新細明體"), 18, true};
    Font text{QStringLiteral("新細明體"), 9};
    Font caption{QStringLiteral("新細明體"), 9.75, true};
    Font field{QStringLiteral("新細明體"), 9};
};

// Adds the control, or the controls in the table's order, to the section.
void Place(Section& section, const Placed& control, const ListFonts& fonts);
void Place(Section& section, std::span<const Placed> controls, const ListFonts& fonts);

struct SectionLayout {
    int height = 0;
    std::span<const Placed> controls;
};

// A list report: a report header, captions in the page header over one block of fields per
// row in the detail, and empty footers.  The page header holds the columns' captions, then its
// own controls (rules, page numbers); the detail the columns' fields, then its own (rules).
struct ListLayout {
    QString title;
    int width = 0;
    ListFonts fonts = {};
    SectionLayout reportHeader, pageHeader, detail;
    std::span<const Column> columns;
    int reportFooterHeight = 0;
    // Closing the preview puts it back to its normal window state (never refused).
    bool normalStateOnClose = false;
    QString reportHeaderName = QStringLiteral("ReportHeader");
    QString detailName = QStringLiteral("Detail");
};

class ListReport : public Report {
public:
    explicit ListReport(const ListLayout& layout);

    // Section names; a report whose sections are named otherwise declares its own.
    static inline const QString kReportHeader = QStringLiteral("ReportHeader");
    static inline const QString kPageHeader = QStringLiteral("PageHeader");
    static inline const QString kDetail = QStringLiteral("Detail");
    static inline const QString kPageFooter = QStringLiteral("PageFooter");
    static inline const QString kReportFooter = QStringLiteral("ReportFooter");
};

// The program's one report of a kind, made on first use and kept for the life of the process:
// its preview may still be open when the program ends.
template <class R>
R& KeptInstance()
{
    static R* instance = new R;
    return *instance;
}

}  // namespace report
