// Address labels, two to a printed row: the in-memory LabelSheet (one record per row, a left
// and a right label), the label of an imported firm row, the pairing of labels into rows, the
// two label report layouts and the four print offsets kept in the main settings file.
#pragma once

#include "platform/db/Db.h"
#include "platform/report/Report.h"

#include <memory>
#include <optional>

// One label: the company (or person) line, the address, the recipient line and the postcode.
struct LabelParts {
    QString company;
    QString address;
    QString recipient;
    QVariant postcode;  // Null: printed blank (vendor labels set none)
};

// The label of one imported row: F1 company, F4 address, F2 + " 董事長" or F3 + " 總經理".
LabelParts ImportedFirmLabel(const QVariant& f1, const QVariant& f2, const QVariant& f3, const QVariant& f4);

// The eight-field record set in memory, open and empty.
db::Recordset NewLabelSheet();

// Fills a LabelSheet two labels to a record: an odd label is held, an even one completes the
// record; Finish() writes a held label alone (its right side blank).
class LabelPairer {
public:
    explicit LabelPairer(db::Recordset sheet) : sheet_(std::move(sheet)) {}
    void Add(const LabelParts& label);
    // A record with the same label on both sides.
    void AddTwin(const LabelParts& label);
    db::Recordset Finish();
    int count() const { return count_; }

private:
    void Write(const LabelParts& left, const LabelParts* right);
    db::Recordset sheet_;
    std::optional<LabelParts> held_;
    int count_ = 0;
};

// The four offsets in twips, read with the zero-means-default rule.
struct LabelOffsets {
    int up = 180;            // adjustlabelUP: page header height, the space above the first row
    int left = 100;          // adjustlabelLeft: left margin
    int pageFooter = 400;    // PageFooter: space kept free at the bottom
    int spaceBetween = 1600; // ModelSpaceBetween: the pitch from one row to the next
};
LabelOffsets ReadLabelOffsets();

// The four offsets as the offsets window shows them, top to bottom: the box that holds each
// (0 up, 1 left, 2 pitch, 3 page footer), its settings key, its caption and its default.
struct LabelOffsetRow {
    int box;
    const char* key;
    const char* caption;
    int fallback;
};
extern const LabelOffsetRow kLabelOffsetRows[4];

// The twips of a typed or stored offset: its leading number rounded half to even, 0 meaning
// the default. A number no label could take is held at a billion either way, never an error.
int OffsetTwips(const QString& text, int fallback);
// The read-out of a twips text: Int(v / 567 * 100) / 100, rounded toward minus infinity.
QString CentimetreText(const QString& twipsText);

// What a label layout can take of each offset on its A4 page, in twips.
struct OffsetRange {
    int least = 0;
    int most = 0;
    bool Holds(int v) const { return v >= least && v <= most; }
};
struct LabelOffsetRanges {
    OffsetRange up, left, pageFooter, spaceBetween;
};
// The left offset moves the labels as typed as far as the paper allows: the report's right
// margin gives way first, and the most is where the layout's right edge meets the paper's.
// Heights and the pitch stay within half the page, nothing negative.
LabelOffsetRanges LabelOffsetLimits(const report::Report& report);
// What every label layout can take (the offsets window's check).
LabelOffsetRanges LabelOffsetLimits();
OffsetRange LabelOffsetRangeOf(const LabelOffsetRanges& ranges, int box);
// What an offset of `twips` is refused with: "最多只能 611 (1.07 cm)，再大標籤就印不到紙上。" or
// "最少要 0 (0 cm)。"; empty when the range holds it.
QString OffsetLimitText(int twips, OffsetRange range);
// Said before any label prints when an offset stored in the settings file (written by other
// means than the offsets window) is one no label layout can take; empty when all four fit.
QString StoredLabelOffsetsProblem();

// The offsets applied to a report.  A value the offsets window accepted applies exactly; one
// beyond what the layout can take (a settings file written by other means) is held to it.
void ApplyLabelOffsets(report::Report& report, const LabelOffsets& offsets);

// The two layouts. Both have the sections ReportHeader, PageHeader, 客戶標籤, PageFooter and
// ReportFooter; the offsets are read and applied when the report object is made.
std::unique_ptr<report::Report> New客戶標籤列印Rpt();
std::unique_ptr<report::Report> New自訂標籤列印Rpt();

// Shows a filled LabelSheet through a label report: portrait, modeless preview. The report of
// each kind is kept while its preview is open (its offsets stay as they were when it was
// made); the next one after the preview closed reads the offsets again, and is not shown, the
// user told why, while a stored offset is out of range (nullptr).
enum class LabelLayout { Customer, Custom };
report::Report* ShowLabels(LabelLayout layout, const db::Recordset& sheet);
