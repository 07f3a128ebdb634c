#include "platform/report/Report.h"

#include "platform/report/Paint.h"
#include "platform/report/ReportWindow.h"
#include "platform/ui/Ui.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPointer>
#include <algorithm>
#include <cmath>

namespace report {

namespace {

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Label codes: %i title, %d date, %p page, %P pages; any other "%" prints as it is.
QString Expand(const QString& caption, const QString& title, const QString& date, int page, int pages)
{
    if (!caption.contains(QLatin1Char('%')))
        return caption;
    QString out;
    out.reserve(caption.size() + 16);
    for (qsizetype i = 0; i < caption.size(); ++i) {
        QChar c = caption.at(i);
        if (c == QLatin1Char('%') && i + 1 < caption.size()) {
            QChar code = caption.at(i + 1);
            if (code == QLatin1Char('i')) { out += title; ++i; continue; }
            if (code == QLatin1Char('d')) { out += date; ++i; continue; }
            if (code == QLatin1Char('p')) { out += QString::number(page); ++i; continue; }
            if (code == QLatin1Char('P')) { out += QString::number(pages); ++i; continue; }
        }
        out += c;
    }
    return out;
}

}  // namespace

// ---- Sections ------------------------------------------------------------------------------------

Control& Section::control(const QString& controlName)
{
    for (Control& c : controls)
        if (SameName(c.name, controlName))
            return c;
    throw ReportError(QStringLiteral("Control %1 not found in section %2").arg(controlName, name));
}

const Control& Section::control(const QString& controlName) const
{
    return const_cast<Section*>(this)->control(controlName);
}

Control& Section::addLabel(const QString& controlName, const QString& caption, int left, int top, int width,
                           int height, const Font& font, Align align)
{
    Control c;
    c.name = controlName;
    c.kind = ControlKind::Label;
    c.caption = caption;
    c.left = left, c.top = top, c.width = width, c.height = height;
    c.font = font;
    c.align = align;
    controls.push_back(std::move(c));
    return controls.back();
}

Control& Section::addField(const QString& controlName, const QString& dataField, int left, int top, int width,
                           int height, const Font& font, Align align)
{
    Control& c = addLabel(controlName, QString(), left, top, width, height, font, align);
    c.kind = ControlKind::Field;
    c.dataField = dataField;
    return c;
}

Control& Section::addLine(const QString& controlName, int left, int top, int width, int height)
{
    Control& c = addLabel(controlName, QString(), left, top, width, height);
    c.kind = ControlKind::Line;
    return c;
}

Control& Section::addBox(const QString& controlName, int left, int top, int width, int height)
{
    Control& c = addLabel(controlName, QString(), left, top, width, height);
    c.kind = ControlKind::Box;
    return c;
}

// ---- Snapshot ------------------------------------------------------------------------------------

Snapshot::Snapshot(QStringList columns) : columns_(std::move(columns))
{
    for (int i = 0; i < columns_.size(); ++i) {
        const QString key = columns_[i].toLower();
        if (!index_.contains(key))
            index_.insert(key, i);
    }
}

int Snapshot::columnIndex(const QString& name) const
{
    return index_.value(name.toLower(), -1);
}

QVariant Snapshot::value(int row, const QString& column) const
{
    int c = columnIndex(column);
    return c < 0 ? QVariant() : rows_[size_t(row)].value(c);
}

void Snapshot::addRow(QVariantList values)
{
    values.resize(columns_.size());
    rows_.push_back(std::move(values));
}

QString FieldText(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy/M/d"));
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return dt.date().toString(QStringLiteral("yyyy/M/d"));
        return dt.toString(QStringLiteral("yyyy/M/d HH:mm:ss"));
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

// ---- Pages ---------------------------------------------------------------------------------------

QStringList Page::texts() const
{
    QStringList out;
    for (const Item& it : items)
        if (it.kind == Item::Kind::Text)
            out << it.text;
    return out;
}

std::vector<const Item*> Page::itemsOf(const QString& sectionName) const
{
    std::vector<const Item*> out;
    for (const Item& it : items)
        if (SameName(it.section, sectionName))
            out.push_back(&it);
    return out;
}

const Item* Page::find(const QString& controlName, int row) const
{
    for (const Item& it : items)
        if (SameName(it.control, controlName) && (row < 0 || it.row == row))
            return &it;
    return nullptr;
}

int Page::detailCount() const
{
    int n = 0, last = -1;
    for (const Item& it : items)
        if (it.row >= 0 && it.row != last) {
            ++n;
            last = it.row;
        }
    return n;
}

// ---- Report --------------------------------------------------------------------------------------

struct Report::WindowRef {
    QPointer<ReportWindow> window;
};

Report::Report(const QString& title, const QString& reportHeader, const QString& pageHeader,
               const QString& detail, const QString& pageFooter, const QString& reportFooter)
    : title_(title), window_(std::make_unique<WindowRef>())
{
    sections_.resize(5);
    const QString names[5] = {reportHeader, pageHeader, detail, pageFooter, reportFooter};
    const SectionKind kinds[5] = {SectionKind::ReportHeader, SectionKind::PageHeader, SectionKind::Detail,
                                  SectionKind::PageFooter, SectionKind::ReportFooter};
    for (int i = 0; i < 5; ++i) {
        sections_[size_t(i)].name = names[i];
        sections_[size_t(i)].kind = kinds[i];
    }
}

Report::~Report()
{
    closeWindow();
}

Section& Report::section(const QString& name)
{
    for (Section& s : sections_)
        if (SameName(s.name, name))
            return s;
    throw ReportError(QStringLiteral("Section %1 not found").arg(name));
}

const Section& Report::section(const QString& name) const
{
    return const_cast<Report*>(this)->section(name);
}

Section& Report::section(SectionKind kind)
{
    return sections_[size_t(kind)];
}

const Section& Report::section(SectionKind kind) const
{
    return sections_[size_t(kind)];
}

Control& Report::control(const QString& name)
{
    for (Section& s : sections_)
        for (Control& c : s.controls)
            if (SameName(c.name, name))
                return c;
    throw ReportError(QStringLiteral("Control %1 not found").arg(name));
}

void Report::setDataSource(Snapshot rows)
{
    auto shared = std::make_shared<const Snapshot>(std::move(rows));
    source_ = [shared] { return *shared; };
}

void Report::clearDataSource()
{
    source_ = nullptr;
}

bool Report::hasDataSource() const
{
    return bool(source_);
}

Snapshot Report::takeSnapshot() const
{
    return source_ ? source_() : Snapshot();
}

QDate Report::printDate() const
{
    return printDate_.isValid() ? printDate_ : ui::Today();
}

Document Report::layout() const
{
    return layout(takeSnapshot());
}

Document Report::layout(const Snapshot& rows) const
{
    Document doc;
    doc.title = title_;
    const bool landscape = orientation_ == Orientation::Landscape;
    doc.pageSize = landscape ? QSize(kA4Height, kA4Width) : QSize(kA4Width, kA4Height);

    const int left = std::max(0, leftMargin_);
    const int top = std::max(0, topMargin_);
    const int bottom = doc.pageSize.height() - std::max(0, bottomMargin_);
    const QString date = printDate().toString(QStringLiteral("yyyy/MM/dd"));

    auto height = [](const Section& s) { return std::max(0, s.height); };
    const Section& reportHeader = section(SectionKind::ReportHeader);
    const Section& pageHeader = section(SectionKind::PageHeader);
    const Section& detail = section(SectionKind::Detail);
    const Section& pageFooter = section(SectionKind::PageFooter);
    const Section& reportFooter = section(SectionKind::ReportFooter);
    const int footerTop = bottom - height(pageFooter);

    // Bound columns of the detail, looked up once.
    std::vector<int> column(detail.controls.size(), -1);
    for (size_t i = 0; i < detail.controls.size(); ++i) {
        const Control& c = detail.controls[i];
        if (c.kind != ControlKind::Field)
            continue;
        column[i] = rows.columnIndex(c.dataField);
        if (column[i] < 0 && !doc.missingFields.contains(c.dataField, Qt::CaseInsensitive))
            doc.missingFields << c.dataField;
    }

    struct Pending {
        size_t page, item;
        const Control* control;
    };
    std::vector<Pending> pageCounts;  // labels waiting for the number of pages
    int y = top;

    auto place = [&](const Section& s, int row) {
        Page& page = doc.pages.back();
        const int pageNo = int(doc.pages.size());
        for (size_t i = 0; i < s.controls.size(); ++i) {
            const Control& c = s.controls[i];
            Item it;
            it.rect = QRect(left + c.left, y + c.top, c.width, c.height);
            it.control = c.name;
            it.section = s.name;
            it.row = row;
            switch (c.kind) {
            case ControlKind::Line:
                it.kind = Item::Kind::Line;
                break;
            case ControlKind::Box:
                it.kind = Item::Kind::Box;
                break;
            case ControlKind::Label:
                it.text = Expand(c.caption, title_, date, pageNo, 0);
                if (c.caption.contains(QLatin1String("%P")))
                    pageCounts.push_back({doc.pages.size() - 1, page.items.size(), &c});
                break;
            case ControlKind::Field:
                if (row >= 0 && &s == &detail && column[i] >= 0)
                    it.text = FieldText(rows.row(row).at(column[i]));
                break;
            }
            if (c.kind == ControlKind::Label || c.kind == ControlKind::Field) {
                it.font = c.font;
                it.align = c.align;
            }
            page.items.push_back(std::move(it));
        }
        y += height(s);
    };
    auto startPage = [&] {
        doc.pages.emplace_back();
        doc.pages.back().items.reserve(64);
        y = top;
        if (doc.pages.size() == 1)
            place(reportHeader, -1);
        place(pageHeader, -1);
    };
    auto endPage = [&] {
        y = footerTop;
        place(pageFooter, -1);
    };

    startPage();
    bool pageHasDetail = false;
    const int detailHeight = height(detail);
    for (int r = 0; r < rows.rowCount(); ++r) {
        // A detail taller than a whole page still prints, one to a page.
        if (pageHasDetail && y + detailHeight > footerTop) {
            endPage();
            startPage();
        }
        place(detail, r);
        pageHasDetail = true;
    }
    if (!reportFooter.controls.empty() || height(reportFooter) > 0) {
        if (pageHasDetail && y + height(reportFooter) > footerTop) {
            endPage();
            startPage();
        }
        place(reportFooter, -1);
    }
    endPage();

    const int pages = int(doc.pages.size());
    for (const Pending& p : pageCounts)
        doc.pages[p.page].items[p.item].text = Expand(p.control->caption, title_, date, int(p.page) + 1, pages);
    return doc;
}

void Report::startUp()
{
    if (started_)
        return;
    started_ = true;
    if (onStartUp)
        onStartUp(*this);
}

void Report::Show()
{
    startUp();
    Document doc = layout();
    if (ReportWindow* w = window_->window.data()) {
        w->setDocument(std::move(doc));
        w->showNormal();
        w->raise();
        w->activateWindow();
        return;
    }
    auto* w = new ReportWindow(this, std::move(doc));
    w->setAttribute(Qt::WA_DeleteOnClose);
    window_->window = w;
    w->show();
}

ReportWindow* Report::window() const
{
    return window_->window.data();
}

void Report::closeWindow()
{
    // A report kept until the process ends outlives the application object: its window can
    // no longer be closed then, and the process is going away anyway.
    if (!QCoreApplication::instance()) {
        window_->window = nullptr;
        return;
    }
    if (ReportWindow* w = window_->window.data()) {
        w->detachReport();
        // A report kept for reuse may outlive the application object; its window can then
        // no longer be torn down and is left to the process exit.
        if (QCoreApplication::instance()) {
            w->close();
            delete w;
        }
    }
    window_->window = nullptr;
}

bool Report::ExportReport(const QString& fileName)
{
    startUp();
    QString path = fileName;
    if (path.isEmpty())
        path = AskSaveFileName(title_, title_ + QStringLiteral(".pdf"));
    if (path.isEmpty())
        return false;
    return ExportPdf(layout(), path);
}

QString AskSaveFileName(const QString& title, const QString& suggestedName)
{
    return ui::GetSaveFileName(title, suggestedName, QStringLiteral("PDF (*.pdf)|*.pdf"));
}

}  // namespace report
