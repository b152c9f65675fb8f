#include "platform/report/reportpainter.h"

#include "platform/report/reporttext.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace Report {

namespace {

QPageLayout pageLayoutOf(const Document& doc)
{
    const QPageSize size(doc.paper == Paper::A4 ? QPageSize::A4 : QPageSize::A5);
    return QPageLayout(size, doc.orientation == Orientation::Portrait ? QPageLayout::Portrait : QPageLayout::Landscape,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QPen penOf(const QColor& color, double widthMm, double k)
{
    // Hairlines stay one device pixel wide on coarse devices (screen, small pictures).
    QPen pen(color, std::max(widthMm * k, 1.0));
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

}  // namespace

void paintPage(QPainter& painter, const Page& page, double dpi)
{
    const double k = dpi / 25.4;  // device pixels per mm
    const double deviceDpi = painter.device() ? painter.device()->logicalDpiY() : dpi;
    auto px = [k](const QRectF& r) { return QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k); };
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    for (const Primitive& item : page.items) {
        if (const TextRun* t = std::get_if<TextRun>(&item)) {
            painter.setFont(toQFont(t->font, dpi, deviceDpi));
            painter.setPen(t->color);
            painter.drawText(px(t->rect), int(t->alignment) | Qt::TextSingleLine | Qt::TextDontClip, t->text);
        } else if (const LineRun* l = std::get_if<LineRun>(&item)) {
            painter.setPen(penOf(l->color, l->width, k));
            painter.drawLine(l->from * k, l->to * k);
        } else if (const RectRun* r = std::get_if<RectRun>(&item)) {
            if (r->fill.isValid()) painter.fillRect(px(r->rect), r->fill);
            if (r->width > 0) {
                painter.setPen(penOf(r->color, r->width, k));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(px(r->rect));
            }
        } else if (const ImageRun* i = std::get_if<ImageRun>(&item)) {
            painter.drawImage(px(i->rect), i->image);
        }
    }
    painter.restore();
}

void paintPage(QPainter& painter, const Page& page)
{
    paintPage(painter, page, painter.device() ? painter.device()->logicalDpiY() : 72);
}

QImage pageImage(const Document& doc, int pageIndex, double dpi)
{
    const QSize size(qRound(doc.pageSize.width() * dpi / 25.4), qRound(doc.pageSize.height() * dpi / 25.4));
    QImage image(size, QImage::Format_RGB32);
    const int dpm = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    if (pageIndex >= 0 && pageIndex < doc.pages.size()) {
        QPainter painter(&image);
        paintPage(painter, doc.pages[pageIndex], dpi);
    }
    return image;
}

bool writePdf(const Document& doc, const QString& path)
{
    if (doc.isEmpty()) return false;
    {
        QPdfWriter writer(path);
        writer.setResolution(600);
        writer.setPageLayout(pageLayoutOf(doc));
        writer.setTitle(doc.name);
        writer.setCreator(QCoreApplication::applicationName());
        QPainter painter;
        if (!painter.begin(&writer)) return false;
        for (int i = 0; i < doc.pages.size(); ++i) {
            if (i > 0) writer.newPage();
            paintPage(painter, doc.pages[i], writer.resolution());
        }
        if (!painter.end()) return false;
    }
    const QFileInfo written(path);
    return written.exists() && written.size() > 0;
}

bool print(const Document& doc, QPrinter& printer, int copies)
{
    if (doc.isEmpty() || copies <= 0) return false;
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutOf(doc));
    printer.setDocName(doc.name);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    bool first = true;
    for (int c = 0; c < copies; ++c)
        for (const Page& page : doc.pages) {
            if (!first && !printer.newPage()) return false;
            first = false;
            paintPage(painter, page, printer.resolution());
        }
    return painter.end();
}

namespace {
QString& folderSetting()
{
    static QString folder;
    return folder;
}
} // namespace

void setPrintFolder(const QString& folder) { folderSetting() = folder; }
QString printFolder() { return folderSetting(); }

bool printDocument(const Document& doc)
{
    if (doc.isEmpty()) return true;
    if (const QString folder = folderSetting(); !folder.isEmpty()) {
        static int job = 0;
        return writePdf(doc, QStringLiteral("%1/%2-%3.pdf").arg(folder, doc.name).arg(++job, 4, 10, QChar(u'0')));
    }
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) return false;
    QPrinter printer(target, QPrinter::HighResolution);
    return print(doc, printer, 1);
}

} // namespace Report
