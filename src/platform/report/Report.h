// The banded report: report header, page header, detail, page footer and report footer, each
// holding labels, bound fields, lines and boxes placed in twips.  A report is laid out into a
// plain Document (pages of positioned items) that tests inspect and that one painting routine
// sends to PDF, a printer or the preview window.
//
// Label captions may hold the codes "%i" (report title), "%d" (print date, yyyy/mm/dd),
// "%p" (page number) and "%P" (number of pages).  Field values are printed as they are.
#pragma once

#include <QDate>
#include <QHash>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace db {
class Recordset;
}

namespace report {

class ReportWindow;

// A name the engine looked up and did not find (a section or a control).
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

struct Font {
    QString family = QStringLiteral("新細明體");
    double pointSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const Font&) const = default;
};

enum class Align { Left, Center, Right };

enum class ControlKind { Label, Field, Line, Box };

// A control of a section.  Positions are twips within the section.  A line runs from
// (left, top) to (left + width, top + height): width 0 is vertical, height 0 horizontal.
struct Control {
    QString name;
    ControlKind kind = ControlKind::Label;
    int left = 0, top = 0, width = 0, height = 0;
    QString caption;    // labels: the text, codes and all; CR LF or LF break lines, tabs expand
    QString dataField;  // fields: the column, looked up without regard to letter case
    Font font;
    Align align = Align::Left;
};

enum class SectionKind { ReportHeader, PageHeader, Detail, PageFooter, ReportFooter };

struct Section {
    QString name;
    SectionKind kind = SectionKind::Detail;
    int height = 0;  // twips; settable at run time
    std::vector<Control> controls;

    // Control by name (ASCII letter case ignored); ReportError when missing.
    Control& control(const QString& controlName);
    const Control& control(const QString& controlName) const;

    Control& addLabel(const QString& controlName, const QString& caption, int left, int top, int width,
                      int height, const Font& font = {}, Align align = Align::Left);
    Control& addField(const QString& controlName, const QString& dataField, int left, int top, int width,
                      int height, const Font& font = {}, Align align = Align::Left);
    Control& addLine(const QString& controlName, int left, int top, int width, int height = 0);
    Control& addBox(const QString& controlName, int left, int top, int width, int height);
};

// The rows a report prints, taken once when it is shown: column names and rows of values.
class Snapshot {
public:
    Snapshot() = default;
    explicit Snapshot(QStringList columns);

    const QStringList& columns() const { return columns_; }
    int columnIndex(const QString& name) const;  // ASCII letter case ignored; -1 when missing
    int rowCount() const { return int(rows_.size()); }
    const QVariantList& row(int i) const { return rows_[size_t(i)]; }
    QVariant value(int row, const QString& column) const;  // Null for a missing column
    void addRow(QVariantList values);                       // padded or cut to the columns

    // Every row of a recordset, first to last, without moving the caller's cursor.
    static Snapshot fromRecordset(const db::Recordset& rs);

private:
    QStringList columns_;
    QHash<QString, int> index_;  // lower-cased name -> column
    std::vector<QVariantList> rows_;
};

// The printed text of a field value: Null prints nothing, dates as yyyy/M/d (with the time
// when it is not midnight), numbers in their shortest form.
QString FieldText(const QVariant& value);

// ---- The laid-out document ---------------------------------------------------------------------

struct Item {
    enum class Kind { Text, Line, Box };
    Kind kind = Kind::Text;
    QRect rect;         // twips on the page; a line runs from rect.topLeft() by (width, height)
    QString text;       // final text, codes replaced
    Font font;
    Align align = Align::Left;
    QString control;    // the control it was made from
    QString section;    // the section it belongs to
    int row = -1;       // detail items: the data row printed; -1 elsewhere

    QPoint lineEnd() const { return rect.topLeft() + QPoint(rect.width(), rect.height()); }
};

struct Page {
    std::vector<Item> items;

    QStringList texts() const;                          // text items in layout order
    std::vector<const Item*> itemsOf(const QString& section) const;
    const Item* find(const QString& control, int row = -1) const;  // first match
    int detailCount() const;                            // detail sections placed on this page
};

struct Document {
    QString title;
    QSize pageSize;         // twips, orientation applied
    std::vector<Page> pages;
    QStringList missingFields;  // bound columns the data source does not have (printed blank)
};

enum class Orientation { Portrait = 1, Landscape = 2 };

// A4 in twips.
inline constexpr int kA4Width = 11906;
inline constexpr int kA4Height = 16838;

// ---- The report ----------------------------------------------------------------------------------

class Report {
public:
    // A report with its five sections, named as given, empty and of height 0.
    Report(const QString& title, const QString& reportHeader = QStringLiteral("ReportHeader"),
           const QString& pageHeader = QStringLiteral("PageHeader"),
           const QString& detail = QStringLiteral("Detail"),
           const QString& pageFooter = QStringLiteral("PageFooter"),
           const QString& reportFooter = QStringLiteral("ReportFooter"));
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    QString title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    int reportWidth() const { return reportWidth_; }
    void setReportWidth(int twips) { reportWidth_ = twips; }

    // Sections by name (ASCII letter case ignored; ReportError when missing) or by kind.
    Section& section(const QString& name);
    const Section& section(const QString& name) const;
    Section& section(SectionKind kind);
    const Section& section(SectionKind kind) const;
    // The control of that name in whichever section holds it.
    Control& control(const QString& name);

    Orientation orientation() const { return orientation_; }
    void setOrientation(Orientation o) { orientation_ = o; }
    // Margins in twips; a negative margin counts as 0.
    int leftMargin() const { return leftMargin_; }
    void setLeftMargin(int twips) { leftMargin_ = twips; }
    int rightMargin() const { return rightMargin_; }
    void setRightMargin(int twips) { rightMargin_ = twips; }
    int topMargin() const { return topMargin_; }
    void setTopMargin(int twips) { topMargin_ = twips; }
    int bottomMargin() const { return bottomMargin_; }
    void setBottomMargin(int twips) { bottomMargin_ = twips; }

    // Data source: a recordset read when the report is shown or exported, a ready snapshot, or none.
    void setDataSource(const db::Recordset& rs);
    void setDataSource(Snapshot rows);
    void clearDataSource();
    bool hasDataSource() const;
    // The rows as they are now (an empty snapshot without a source).
    Snapshot takeSnapshot() const;

    // Print date for "%d"; an invalid date (the default) means today by the program's clock.
    void setPrintDate(const QDate& date) { printDate_ = date; }
    QDate printDate() const;

    // Lays the given rows out; layout() takes a snapshot of the data source first.
    Document layout(const Snapshot& rows) const;
    Document layout() const;

    // The modeless preview, its title the report's title.  A second Show while it is open lays
    // the report out again from the current source and brings the window to the front.
    void Show();
    ReportWindow* window() const;  // the open preview, or nullptr
    void closeWindow();

    // Writes the report as PDF.  An empty file name asks for one through the save-file dialog;
    // returns false when the user gives none or the file cannot be written (which is said in
    // the export failure box).
    bool ExportReport(const QString& fileName = QString());

    // The report's own start-up and close handling.  onStartUp runs once, on the report's
    // first Show, before anything is laid out; onQueryClose runs when the preview is about to
    // close and may refuse by returning false.
    std::function<void(Report&)> onStartUp;
    std::function<bool(ReportWindow&)> onQueryClose;

private:
    QString title_;
    int reportWidth_ = 0;
    std::vector<Section> sections_;
    Orientation orientation_ = Orientation::Portrait;
    int leftMargin_ = 360, rightMargin_ = 360, topMargin_ = 360, bottomMargin_ = 360;
    QDate printDate_;
    std::function<Snapshot()> source_;
    bool started_ = false;
    struct WindowRef;
    std::unique_ptr<WindowRef> window_;

    void startUp();
};

// Asks for the PDF file to export to through the save-file dialog ("" = cancelled).
QString AskSaveFileName(const QString& title, const QString& suggestedName);

}  // namespace report
