#pragma once

#include "platform/report/reportlayout.h"

#include <QString>

class SmpDataset;

// What the sales document layouts share: their font and the recipient and supplier block.
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

} // namespace LayoutBlocks
