#pragma once

#include "platform/report/reportlayout.h"

#include <QList>
#include <QString>

class SmpDataset;

// What the sales document layouts share: their font, the recipient and supplier block and the
// grid of lines.
namespace LayoutBlocks {

Report::Font serif(double size, bool bold = false);
Report::Item& label(Report::Band& band, const QString& name, const QRectF& rect, const QString& text = {},
                    double size = 9, bool bold = false);

struct PartyCaptions
{
    QString recipient, supplier;
    QString companyId = QStringLiteral("Идентификационен № :");
    QString companyVat = QStringLiteral("Идентификационен № ДДС :");
};

// The recipient (labels QRLbPoluchatel … QRLbMOL, filled later) and the supplier from the company
// record (company), side by side in a box 50 mm high from y.
void parties(Report::Band& band, double y, double width, SmpDataset& company, const PartyCaptions& captions);

// A column of the lines grid.
struct Column
{
    QString heading;
    QString field;  // empty: the running line number
    double width;
    bool number;
};

// The titles of the lines grid at y, 9 mm high, framed and shaded; a title with a line break
// prints on two lines.
void columnHeader(Report::Band& band, const QList<Column>& columns, double y);

// The detail band of the lines in framed columns: the running number, the unit looked up in
// materials (field "ImeMkaMat"), every other field as stored; wide columns wrap and grow.
void lineDetail(Report::Band& detail, const QList<Column>& columns, SmpDataset& materials);

} // namespace LayoutBlocks
