#pragma once

#include <QString>

#include <array>
#include <optional>

// The sales document types. The codes are stored in PRODAGBI.TIP_DOCUMENT, FIRMA.NTIP_DOKUMENT and
// TIP_DOKUMENT.NTIP_DOKUMENT; only their names are data, the codes are fixed here.
enum class DocumentType : int {
    TaxInvoice = 0,            // "Данъчна фактура"
    SimplifiedInvoice = 1,     // "Опростена фактура"
    StockReceipt = 2,          // "Стокова разписка"
    ConsignmentProtocol = 3,   // "Консигн. протокол"
    ChainStockReceipt = 4,     // stock receipt for a retail chain
    ChainTaxInvoice = 5,       // tax invoice for a retail chain
    StockReceiptLvUsdEur = 6,  // "Сток.разп.ЛВ,USD,EUR"
    DispatchNote = 7,
    StockReceiptA5 = 8,
    Requisition = 9,
    CreditNote = 10,
};

inline constexpr int documentTypeCode(DocumentType t) { return static_cast<int>(t); }
// nullopt for a code that is not one of the eleven types.
std::optional<DocumentType> documentTypeFromCode(int code);
const std::array<DocumentType, 11>& allDocumentTypes();

// How line prices and totals are computed.
enum class PriceBasis { Invoice, NonInvoice };

// The document number a sale of the type carries.
enum class CarriedNumber {
    Invoice,       // NFAKTURA or NFAKT_INT
    StockReceipt,  // NSTOK_RAZP
    Consignment,   // NKONSIGNACIA
    DispatchNote,  // NEKSP_BEL
    Requisition,   // NEKSP_BEL, in the dispatch note column
};

// The printed layout (report class) of the type.
enum class PrintLayout {
    TQRFaktura,
    TQRFakturaOprostena,
    TQRStokRaspiska,
    TQRpStRazpDorvex,
    TQRpFaktDorvex,
    TQRStokRazpLvUsdEur,
    TQREkspBel,
    TQRStokRazpA5,
    TQRProdIskane,
    TQRKreditnoIzv,
};
QString printLayoutClassName(PrintLayout layout);

// The totals group the sale entry window shows.
enum class TotalsGroup {
    Invoice,                     // "Фактура "
    StockReceiptAndConsignment,  // "Сток.разп.,консигн. "
};
QString totalsGroupCaption(TotalsGroup group);

// The number proposed into a box besides the invoice number (which is proposed for every type).
enum class ProposedNumber {
    None,          // only the invoice number
    StockReceipt,  // into EdNstRazp
    Consignment,   // into EdNkons
    DispatchNote,  // into EdEkspBelN
    Requisition,   // into EdEkspBelN, the series of the current year
};

// The sale entry window's settings for a type: which column groups of the line grid are shown,
// which number boxes are enabled (all others disabled, their texts kept) and which number is
// proposed. The order number box is disabled for every type.
struct SaleEntryMode
{
    // Column groups.
    bool bgnColumns = false;          // CENA_MATERIAL_IZDELIE, CenaMatIzdCalc, CenaMatIzdBroiObsto
    bool usdPriceColumns = false;     // CENA_MAT_IZD_USD, CenaMatIzdCalcUSD
    bool usdValueEurColumns = false;  // CenaMatIzdBroiObstoUSD, CENA_MAT_IZD_EUR, CenaMatIzdCalcEUR,
                                      // CenaMatIzdBroiObstoEUR
    bool articleColumns = false;      // ARTN_POLUCH, ARTN_DOSTAV, BARKOD
    // Enabled number boxes (with their labels).
    bool invoiceBox = false;          // LbNfakt, EditNFakt
    bool stockReceiptBox = false;     // LbNstRAzp, EdNstRazp
    bool consignmentBox = false;      // LbNkons, EdNkons
    bool dispatchNoteBox = false;     // LbNEkspBel, EdEkspBelN
    bool weightBoxes = false;         // EdEkspBelBruto, EdEkspBelTara, EdEkspBelNeto
    ProposedNumber proposed = ProposedNumber::None;

    friend bool operator==(const SaleEntryMode&, const SaleEntryMode&) = default;
};

struct DocumentTypeInfo
{
    DocumentType type;
    PriceBasis priceBasis;
    bool vatForcedToZero;          // the requisition
    CarriedNumber carried;
    bool invoiceNumberAlsoRecorded;  // the chain stock receipt records an invoice number as well
    bool articleNumbers;           // lines carry the recipient's and supplier's article numbers and the barcode
    PrintLayout layout;
    TotalsGroup totals;
    // nullopt: choosing the type leaves the window's columns and boxes as the previous type set them.
    std::optional<SaleEntryMode> saleEntry;
};

const DocumentTypeInfo& documentTypeInfo(DocumentType type);

// For a code as read from the document type box, including codes that are not one of the types:
// such a code shows the non-invoice totals and leaves the columns and boxes as they are.
TotalsGroup totalsGroupForCode(int code);
std::optional<SaleEntryMode> saleEntryModeForCode(int code);
// The mode the sale windows apply: a credit note is computed as an invoice, so it gets the tax
// invoice's columns and boxes.
std::optional<SaleEntryMode> saleWindowModeForCode(int code);
