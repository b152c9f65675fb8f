#include "sales/documenttype.h"

using namespace Qt::Literals::StringLiterals;

namespace {

SaleEntryMode invoiceMode()
{
    SaleEntryMode m;
    m.bgnColumns = true;
    m.invoiceBox = true;
    return m;
}

SaleEntryMode stockReceiptMode()
{
    SaleEntryMode m;
    m.bgnColumns = true;
    m.stockReceiptBox = true;
    m.proposed = ProposedNumber::StockReceipt;
    return m;
}

SaleEntryMode consignmentMode()
{
    SaleEntryMode m;
    m.bgnColumns = true;
    m.consignmentBox = true;
    m.proposed = ProposedNumber::Consignment;
    return m;
}

SaleEntryMode chainStockReceiptMode()
{
    SaleEntryMode m;
    m.articleColumns = true;
    m.stockReceiptBox = true;
    m.proposed = ProposedNumber::StockReceipt;
    return m;
}

SaleEntryMode chainInvoiceMode()
{
    SaleEntryMode m = invoiceMode();
    m.articleColumns = true;
    return m;
}

SaleEntryMode threeCurrencyMode()
{
    SaleEntryMode m = stockReceiptMode();
    m.usdPriceColumns = true;
    m.usdValueEurColumns = true;
    return m;
}

SaleEntryMode dispatchNoteMode()
{
    SaleEntryMode m;
    m.bgnColumns = true;
    m.dispatchNoteBox = true;
    m.weightBoxes = true;
    m.proposed = ProposedNumber::DispatchNote;
    return m;
}

SaleEntryMode requisitionMode()
{
    SaleEntryMode m;
    m.bgnColumns = true;
    m.dispatchNoteBox = true;
    m.proposed = ProposedNumber::Requisition;
    return m;
}

using DT = DocumentType;
using PB = PriceBasis;
using CN = CarriedNumber;
using PL = PrintLayout;
using TG = TotalsGroup;

// Indexed by code. The credit note is computed as an invoice but shows the non-invoice totals and
// has no window mode of its own.
const std::array<DocumentTypeInfo, 11>& table()
{
    static const std::array<DocumentTypeInfo, 11> rows{{
        {DT::TaxInvoice, PB::Invoice, false, CN::Invoice, false, false, PL::TQRFaktura, TG::Invoice, invoiceMode()},
        {DT::SimplifiedInvoice, PB::Invoice, false, CN::Invoice, false, false, PL::TQRFakturaOprostena, TG::Invoice,
         invoiceMode()},
        {DT::StockReceipt, PB::NonInvoice, false, CN::StockReceipt, false, false, PL::TQRStokRaspiska,
         TG::StockReceiptAndConsignment, stockReceiptMode()},
        {DT::ConsignmentProtocol, PB::NonInvoice, false, CN::Consignment, false, false, PL::TQRStokRaspiska,
         TG::StockReceiptAndConsignment, consignmentMode()},
        {DT::ChainStockReceipt, PB::NonInvoice, false, CN::StockReceipt, true, true, PL::TQRpStRazpDorvex,
         TG::StockReceiptAndConsignment, chainStockReceiptMode()},
        {DT::ChainTaxInvoice, PB::Invoice, false, CN::Invoice, false, true, PL::TQRpFaktDorvex, TG::Invoice,
         chainInvoiceMode()},
        {DT::StockReceiptLvUsdEur, PB::NonInvoice, false, CN::StockReceipt, false, false, PL::TQRStokRazpLvUsdEur,
         TG::StockReceiptAndConsignment, threeCurrencyMode()},
        {DT::DispatchNote, PB::NonInvoice, false, CN::DispatchNote, false, false, PL::TQREkspBel,
         TG::StockReceiptAndConsignment, dispatchNoteMode()},
        {DT::StockReceiptA5, PB::NonInvoice, false, CN::StockReceipt, false, false, PL::TQRStokRazpA5,
         TG::StockReceiptAndConsignment, threeCurrencyMode()},
        {DT::Requisition, PB::NonInvoice, true, CN::Requisition, false, false, PL::TQRProdIskane,
         TG::StockReceiptAndConsignment, requisitionMode()},
        {DT::CreditNote, PB::Invoice, false, CN::Invoice, false, false, PL::TQRKreditnoIzv,
         TG::StockReceiptAndConsignment, std::nullopt},
    }};
    return rows;
}

} // namespace

std::optional<DocumentType> documentTypeFromCode(int code)
{
    if (code < 0 || code > documentTypeCode(DocumentType::CreditNote)) return std::nullopt;
    return static_cast<DocumentType>(code);
}

const std::array<DocumentType, 11>& allDocumentTypes()
{
    static const std::array<DocumentType, 11> all{
        DT::TaxInvoice,   DT::SimplifiedInvoice,    DT::StockReceipt, DT::ConsignmentProtocol,
        DT::ChainStockReceipt, DT::ChainTaxInvoice, DT::StockReceiptLvUsdEur, DT::DispatchNote,
        DT::StockReceiptA5, DT::Requisition,        DT::CreditNote,
    };
    return all;
}

const DocumentTypeInfo& documentTypeInfo(DocumentType type)
{
    return table()[std::size_t(documentTypeCode(type))];
}

QString printLayoutClassName(PrintLayout layout)
{
    switch (layout) {
    case PL::TQRFaktura: return u"TQRFaktura"_s;
    case PL::TQRFakturaOprostena: return u"TQRFakturaOprostena"_s;
    case PL::TQRStokRaspiska: return u"TQRStokRaspiska"_s;
    case PL::TQRpStRazpDorvex: return u"TQRpStRazpDorvex"_s;
    case PL::TQRpFaktDorvex: return u"TQRpFaktDorvex"_s;
    case PL::TQRStokRazpLvUsdEur: return u"TQRStokRazpLvUsdEur"_s;
    case PL::TQREkspBel: return u"TQREkspBel"_s;
    case PL::TQRStokRazpA5: return u"TQRStokRazpA5"_s;
    case PL::TQRProdIskane: return u"TQRProdIskane"_s;
    case PL::TQRKreditnoIzv: return u"TQRKreditnoIzv"_s;
    }
    return {};
}

QString totalsGroupCaption(TotalsGroup group)
{
    switch (group) {
    case TG::Invoice: return u"Фактура "_s;
    case TG::StockReceiptAndConsignment: return u"Сток.разп.,консигн. "_s;
    }
    return {};
}

TotalsGroup totalsGroupForCode(int code)
{
    const auto type = documentTypeFromCode(code);
    return type ? documentTypeInfo(*type).totals : TG::StockReceiptAndConsignment;
}

std::optional<SaleEntryMode> saleEntryModeForCode(int code)
{
    const auto type = documentTypeFromCode(code);
    return type ? documentTypeInfo(*type).saleEntry : std::nullopt;
}

std::optional<SaleEntryMode> saleWindowModeForCode(int code) { return saleEntryModeForCode(code == 10 ? 0 : code); }
