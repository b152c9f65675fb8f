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

// Where printDocument() sends documents: the default printer, or, with a folder set, a PDF file per
// document in that folder (printing to files). An empty folder restores the printer.
void setPrintFolder(const QString& folder);
QString printFolder();

// Prints the document on the destination set; false when there is no printer or nothing could be
// printed. An empty document prints nothing and is not a failure.
bool printDocument(const Document& doc);

} // namespace Report
