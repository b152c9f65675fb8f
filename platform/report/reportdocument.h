#pragma once

#include "platform/report/reportlayout.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <functional>
#include <variant>

// The page model: what is on each page, decided once, then painted on any device.
namespace Report {

// All coordinates are millimetres from the page's top-left corner.
struct TextRun
{
    QRectF rect;  // the box of one line of text
    QString text;  // a single line
    Font font;     // family already resolved
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QColor color = Qt::black;
};

struct LineRun
{
    QPointF from, to;
    double width = 0.2;
    QColor color = Qt::black;
};

struct RectRun
{
    QRectF rect;
    double width = 0.2;   // 0: no outline
    QColor color = Qt::black;
    QColor fill;          // invalid: not filled
};

struct ImageRun
{
    QRectF rect;  // where the picture goes, already fitted to its box
    QImage image;
};

using Primitive = std::variant<TextRun, LineRun, RectRun, ImageRun>;

struct Page
{
    int number = 0;  // within its copy, 1-based
    int copy = 0;    // 0-based copy the page belongs to
    QList<Primitive> items;  // in painting order
};

struct Document
{
    QString name;
    Paper paper = Paper::A4;
    Orientation orientation = Orientation::Portrait;
    QSizeF pageSize;  // mm
    QList<Page> pages;

    bool isEmpty() const { return pages.isEmpty(); }
};

// Lays the layout out on pages, reading the datasets by position: no dataset's current row moves,
// except the master of a sub-detail linked through SmpDataset::setMaster, which is moved with its
// controls disabled and put back.
Document build(const Layout& layout);

// copies page sets one after another, the label labelName showing captionForCopy(copy) in each
// (0-based); the label's caption is restored afterwards, also when building fails.
Document buildCopies(Layout& layout, int copies, const QString& labelName,
                     const std::function<QString(int copy)>& captionForCopy);

// The page's texts in reading order: one line per row of text (top to bottom), the runs of a row
// left to right separated by a tab.
QString pageText(const Page& page);
QString documentText(const Document& doc);  // pages separated by a form feed

} // namespace Report
