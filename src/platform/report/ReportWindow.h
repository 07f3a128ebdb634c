// The modeless preview of a laid-out report: page navigation, zoom, printing and export to PDF.
#pragma once

#include "platform/report/Report.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QScrollArea;
class QToolButton;

namespace report {

class ReportWindow : public QWidget {
    Q_OBJECT
public:
    ReportWindow(Report* report, Document doc, QWidget* parent = nullptr);

    const Document& document() const { return doc_; }
    void setDocument(Document doc);
    int currentPage() const { return page_; }  // 0-based
    int pageCount() const { return int(doc_.pages.size()); }
    double zoom() const { return zoom_; }
    QString pageText() const;                  // what the page read-out shows, "1 / 12"
    Report* report() const { return report_; }
    void detachReport() { report_ = nullptr; }

public slots:
    void showPage(int index);
    void setZoom(double zoom);
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void printReport();
    void exportPdf();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Report* report_;
    Document doc_;
    int page_ = 0;
    double zoom_ = 1.0;
    QToolButton* first_;
    QToolButton* previous_;
    QToolButton* next_;
    QToolButton* last_;
    QLabel* pageLabel_;
    QComboBox* zoomBox_;
    QScrollArea* scroll_;
    QLabel* canvas_;

    void refresh();
};

}  // namespace report
