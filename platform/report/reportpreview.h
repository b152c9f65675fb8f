#pragma once

#include "platform/report/reportdocument.h"
#include "platform/ui/form.h"

class QLabel;
class QScrollArea;
class QToolButton;

namespace Report {

class PageView;

// The print preview: one page at a time with zoom, page navigation, printing and saving as PDF.
// Controls are named (BtnFirstPage, BtnPriorPage, LbPage, BtnNextPage, BtnLastPage, BtnZoomOut,
// LbZoom, BtnZoomIn, BtnFitWidth, BtnPrint, BtnSavePdf, BtnClose) so tests find them.
class ReportPreview : public Form
{
    Q_OBJECT
public:
    explicit ReportPreview(QWidget* parent = nullptr);
    ~ReportPreview() override;

    void setDocument(const Document& doc);
    const Document& document() const { return doc_; }

    int currentPage() const { return page_; }  // 0-based
    void setCurrentPage(int index);
    double zoom() const { return zoom_; }
    void setZoom(double zoom);  // 1.0 is the paper's real size on screen
    void fitWidth();

    bool savePdf(const QString& path);  // the "save as PDF" button, after asking for the path
    void printWithDialog();             // the "print" button

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();
    void askAndSavePdf();

    Document doc_;
    int page_ = 0;
    double zoom_ = 1.0;
    PageView* view_;
    QScrollArea* scroll_;
    QLabel* pageLabel_;
    QLabel* zoomLabel_;
    QToolButton *first_, *prior_, *next_, *last_, *print_, *pdf_;
};

// Shows the document in a preview modally through the UI service; returns its modal result.
int preview(const Document& doc);
int preview(const Layout& layout);  // built now; the layout's captions are read as they are now

} // namespace Report
