#pragma once

#include "platform/report/reportdocument.h"

#include <QImage>
#include <QString>

class QPainter;
class QPrinter;

namespace Report {

// Draws one page on any painter whose origin is the paper's top-left corner, at dpi device
// pixels per inch (the device's own resolution unless the page is drawn zoomed).
void paintPage(QPainter& painter, const Page& page, double dpi);
void paintPage(QPainter& painter, const Page& page);  // at the device's resolution

// The page as a picture on white paper.
QImage pageImage(const Document& doc, int pageIndex, double dpi);

// A PDF with vector text; false when the document has no pages or the file cannot be written.
bool writePdf(const Document& doc, const QString& path);

// Prints the pages copies times, collated, on the printer as it is set up (paper and orientation
// follow the document). False when nothing could be printed.
bool print(const Document& doc, QPrinter& printer, int copies = 1);

} // namespace Report
