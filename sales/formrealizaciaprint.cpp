#include "sales/formrealizaciaprint.h"

#include "data/dmns.h"
#include "platform/report/reportpreview.h"
#include "platform/ui/uiservice.h"

using namespace Qt::StringLiterals;

TFormRealizaciaPrint::TFormRealizaciaPrint(TDMNS& dm, QWidget* parent)
    : DocumentPrintDialog(u"FormRealizaciaPrint"_s, true, parent), recorded_(dm.SQLConnectNS),
      fakt_(dm, recorded_.SmpRealizaciaProdagba), oprost_(dm, recorded_.SmpRealizaciaProdagba),
      dorvex_(dm, recorded_.SmpRealizaciaProdagba), dm_(dm)
{
}

void TFormRealizaciaPrint::setStockSource(SmpDataset& lines, std::function<StockDocHeading()> heading,
                                          std::function<int()> documentType)
{
    stock_ = std::make_unique<StockLayouts>(dm_, lines, true);
    stockHeading_ = std::move(heading);
    currentType_ = std::move(documentType);
}

TQRStockDocument* TFormRealizaciaPrint::filledStockLayout()
{
    if (!stock_ || !currentType_) return nullptr;
    const int type = currentType_();
    TQRStockDocument* layout = stock_->layoutFor(type);
    // The recorded requisition prints as laid out, without filling.
    if (layout && type != 9) layout->fill(stockHeading_());
    return layout;
}

std::optional<InvoicePrint::Heading> TFormRealizaciaPrint::load(const QString& saleNumber)
{
    std::optional<InvoicePrint::Heading> heading = recorded_.load(saleNumber);
    if (!heading) UiService::current().showMessage(u"Няма продажба с номер "_s + saleNumber + u" !"_s);
    return heading;
}

TQRInvoice* TFormRealizaciaPrint::layoutFor(int documentType)
{
    switch (documentType) {
    case 0: return &fakt_;
    case 1: return &oprost_;
    case 5: return &dorvex_;
    default: return nullptr;
    }
}

void TFormRealizaciaPrint::open(const QString& saleNumber)
{
    const std::optional<InvoicePrint::Heading> heading = load(saleNumber);
    if (!heading || !ask(heading->documentType)) return;
    if (TQRStockDocument* stock = stock_ ? stock_->layoutFor(currentType_()) : nullptr) {
        const int copies = counts(currentType_()).total();
        if (copies == 0) return;
        filledStockLayout();
        if (!stock->print(copies)) UiService::current().showMessage(u"Документът не е отпечатан !"_s);
        return;
    }
    TQRInvoice* layout = layoutFor(heading->documentType);
    const PrintCounts n = counts(heading->documentType);
    if (n.total() == 0) return;
    if (layout) layout->fill(*heading);
    if (!layout || !layout->print(n.originals, n.copies)) UiService::current().showMessage(u"Документът не е отпечатан !"_s);
}

void TFormRealizaciaPrint::preview(const QString& saleNumber)
{
    if (TQRStockDocument* stock = filledStockLayout()) {
        Report::preview(stock->build());
        return;
    }
    const std::optional<InvoicePrint::Heading> heading = load(saleNumber);
    TQRInvoice* layout = heading ? layoutFor(heading->documentType) : nullptr;
    if (!layout) return;
    layout->fill(*heading);
    Report::preview(layout->build());
}
