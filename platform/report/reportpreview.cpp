#include "platform/report/reportpreview.h"

#include "platform/report/reportpainter.h"
#include "platform/ui/uiservice.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace Report {

namespace {
constexpr double kMinZoom = 0.25, kMaxZoom = 4.0, kZoomStep = 1.25;

QToolButton* button(QWidget* parent, const QString& name, const QString& text, const QString& hint)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(true);
    return b;
}
}

// Paints the current page on a sheet of its real size times the zoom.
class PageView : public QWidget
{
public:
    explicit PageView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

    void show(const Document* doc, int page, double zoom)
    {
        doc_ = doc;
        page_ = page;
        zoom_ = zoom;
        cache_ = QImage();
        const QSizeF mm = doc_ ? doc_->pageSize : QSizeF(210, 297);
        const double k = zoom_ * logicalDpiX() / 25.4;
        setFixedSize(QSize(qRound(mm.width() * k), qRound(mm.height() * k)) + QSize(2 * kGap, 2 * kGap));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Dark));
        if (!doc_ || page_ < 0 || page_ >= doc_->pages.size()) return;
        const qreal ratio = devicePixelRatioF();
        if (cache_.isNull()) {
            cache_ = pageImage(*doc_, page_, zoom_ * logicalDpiX() * ratio);
            cache_.setDevicePixelRatio(ratio);
        }
        const QRect sheet(QPoint(kGap, kGap), cache_.deviceIndependentSize().toSize());
        p.fillRect(sheet.translated(3, 3), QColor(0, 0, 0, 60));
        p.drawImage(sheet.topLeft(), cache_);
    }

private:
    static constexpr int kGap = 12;
    const Document* doc_ = nullptr;
    int page_ = 0;
    double zoom_ = 1.0;
    QImage cache_;
};

ReportPreview::ReportPreview(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(QStringLiteral("Преглед на печат"));
    resize(900, 760);

    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 4, 6, 4);
    first_ = button(bar, QStringLiteral("BtnFirstPage"), QStringLiteral("|<"), QStringLiteral("Първа страница"));
    prior_ = button(bar, QStringLiteral("BtnPriorPage"), QStringLiteral("<"), QStringLiteral("Предишна страница"));
    pageLabel_ = new QLabel(bar);
    pageLabel_->setObjectName(QStringLiteral("LbPage"));
    pageLabel_->setMinimumWidth(110);
    pageLabel_->setAlignment(Qt::AlignCenter);
    next_ = button(bar, QStringLiteral("BtnNextPage"), QStringLiteral(">"), QStringLiteral("Следваща страница"));
    last_ = button(bar, QStringLiteral("BtnLastPage"), QStringLiteral(">|"), QStringLiteral("Последна страница"));
    auto* zoomOut = button(bar, QStringLiteral("BtnZoomOut"), QStringLiteral("−"), QStringLiteral("Намаляване"));
    zoomLabel_ = new QLabel(bar);
    zoomLabel_->setObjectName(QStringLiteral("LbZoom"));
    zoomLabel_->setMinimumWidth(50);
    zoomLabel_->setAlignment(Qt::AlignCenter);
    auto* zoomIn = button(bar, QStringLiteral("BtnZoomIn"), QStringLiteral("+"), QStringLiteral("Увеличаване"));
    auto* fit = button(bar, QStringLiteral("BtnFitWidth"), QStringLiteral("По ширина"), QStringLiteral("Страницата по ширината на прозореца"));
    print_ = button(bar, QStringLiteral("BtnPrint"), QStringLiteral("Печат"), QStringLiteral("Печат на принтер"));
    pdf_ = button(bar, QStringLiteral("BtnSavePdf"), QStringLiteral("Запис в PDF"), QStringLiteral("Запис във файл PDF"));
    auto* close = button(bar, QStringLiteral("BtnClose"), QStringLiteral("Изход"), QStringLiteral("Затваряне на прегледа"));
    for (QWidget* w : std::initializer_list<QWidget*>{first_, prior_, pageLabel_, next_, last_})
        row->addWidget(w);
    row->addSpacing(16);
    for (QWidget* w : std::initializer_list<QWidget*>{zoomOut, zoomLabel_, zoomIn, fit}) row->addWidget(w);
    row->addStretch(1);
    for (QWidget* w : std::initializer_list<QWidget*>{print_, pdf_, close}) row->addWidget(w);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("ScrollPage"));
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    view_ = new PageView(scroll_);
    scroll_->setWidget(view_);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(bar);
    column->addWidget(scroll_, 1);

    connect(first_, &QToolButton::clicked, this, [this] { setCurrentPage(0); });
    connect(prior_, &QToolButton::clicked, this, [this] { setCurrentPage(page_ - 1); });
    connect(next_, &QToolButton::clicked, this, [this] { setCurrentPage(page_ + 1); });
    connect(last_, &QToolButton::clicked, this, [this] { setCurrentPage(int(doc_.pages.size()) - 1); });
    connect(zoomOut, &QToolButton::clicked, this, [this] { setZoom(zoom_ / kZoomStep); });
    connect(zoomIn, &QToolButton::clicked, this, [this] { setZoom(zoom_ * kZoomStep); });
    connect(fit, &QToolButton::clicked, this, &ReportPreview::fitWidth);
    connect(print_, &QToolButton::clicked, this, &ReportPreview::printWithDialog);
    connect(pdf_, &QToolButton::clicked, this, &ReportPreview::askAndSavePdf);
    connect(close, &QToolButton::clicked, this, [this] { closeWith(0); });
    refresh();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::setDocument(const Document& doc)
{
    doc_ = doc;
    page_ = 0;
    if (!doc_.name.isEmpty()) setWindowTitle(QStringLiteral("Преглед на печат - ") + doc_.name);
    refresh();
}

void ReportPreview::setCurrentPage(int index)
{
    page_ = std::clamp(index, 0, std::max(0, int(doc_.pages.size()) - 1));
    refresh();
    scroll_->verticalScrollBar()->setValue(0);
}

void ReportPreview::setZoom(double zoom)
{
    zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
    refresh();
}

void ReportPreview::fitWidth()
{
    const double sheetPx = doc_.pageSize.width() * logicalDpiX() / 25.4;
    const int room = scroll_->viewport()->width() - 24;
    if (sheetPx > 0 && room > 0) setZoom(room / sheetPx);
}

void ReportPreview::refresh()
{
    const int count = int(doc_.pages.size());
    pageLabel_->setText(count ? QStringLiteral("Стр. %1 от %2").arg(page_ + 1).arg(count) : QStringLiteral("Няма страници"));
    zoomLabel_->setText(QStringLiteral("%1%").arg(qRound(zoom_ * 100)));
    first_->setEnabled(page_ > 0);
    prior_->setEnabled(page_ > 0);
    next_->setEnabled(page_ + 1 < count);
    last_->setEnabled(page_ + 1 < count);
    print_->setEnabled(count > 0);
    pdf_->setEnabled(count > 0);
    view_->show(&doc_, page_, zoom_);
}

bool ReportPreview::savePdf(const QString& path)
{
    return !path.isEmpty() && writePdf(doc_, path);
}

void ReportPreview::askAndSavePdf()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(folder).filePath((doc_.name.isEmpty() ? QStringLiteral("report") : doc_.name) +
                                                    QStringLiteral(".pdf"));
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Запис в PDF"), suggested, QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    if (!savePdf(path)) UiService::current().showMessage(QStringLiteral("Файлът не може да бъде записан:\r") + path);
}

void ReportPreview::printWithDialog()
{
    if (doc_.isEmpty()) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Печат"));
    if (dialog.exec() != QDialog::Accepted) return;
    // The copies are printed here, so that every driver prints the same page sets.
    const int copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
    if (!print(doc_, printer, copies)) UiService::current().showMessage(QStringLiteral("Печатът не е успешен."));
}

void ReportPreview::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageDown: setCurrentPage(page_ + 1); return;
    case Qt::Key_PageUp: setCurrentPage(page_ - 1); return;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) return setCurrentPage(0);
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) return setCurrentPage(int(doc_.pages.size()) - 1);
        break;
    case Qt::Key_Escape: closeWith(0); return;
    default: break;
    }
    Form::keyPressEvent(event);
}

int preview(const Document& doc)
{
    ReportPreview window;
    window.setDocument(doc);
    return UiService::current().showModal(&window);
}

int preview(const Layout& layout) { return preview(build(layout)); }

} // namespace Report
