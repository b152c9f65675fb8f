#pragma once

#include <QString>
#include <QVector>

#include <optional>

// The values of a sale being entered: per line, the document unit prices and line values; per
// document, the discount, taxable amount, VAT, amount to pay, the amount in words and the client's
// debt after the sale. Computed in double precision and never rounded; only display formats
// reduce the decimals. Invoice types carry net prices with VAT added once on the total; the other
// types add VAT to every unit price.
namespace SaleTotals {

// Tax invoice, simplified invoice, chain tax invoice and credit note.
bool isInvoiceType(int documentType);
// The VAT a document type computes with: a requisition always 0.
double effectiveVat(int documentType, double vatPct);

struct LineInput
{
    double quantity = 0;
    double priceLv = 0, priceUsd = 0, priceEur = 0;
    double discountPct = 0;  // OTST_IZDELIE
};

// One currency of a line: empty when the type computes nothing for it.
struct CurrencyValues
{
    std::optional<double> unit;      // CenaMatIzdCalc…: document unit price
    std::optional<double> unitNet;   // CenaMatIzdCalc…_Otst: after the line discount
    std::optional<double> value;     // CenaMatIzdBroiObsto…: line value
};

struct LineValues
{
    CurrencyValues lv, usd, eur;
    // The display price: the last currency with a positive document unit price.
    std::optional<double> cena, cenaOtst;
    QString valuta;
};

// A type outside 0 to 10 computes nothing.
LineValues computeLine(int documentType, double vatPct, const LineInput& line);

struct DocumentInput
{
    int documentType = 0;
    double vatPct = 0;
    bool vatKnown = true;             // false: the VAT box holds no number, and nothing it decides is shown
    double companyDiscountPct = 0;    // FIRMA.OTST_PROCENT
    double recipientDiscountPct = 0;  // PROCENT_OTST_KONTR of the recipient
    bool deferred = false;            // "Разср."
    double paidNowLv = 0, paidNowUsd = 0, paidNowEur = 0;
    double balanceLv = 0, balanceUsd = 0, balanceEur = 0;  // the recipient's outstanding balance
};

struct DocumentTotals
{
    double sumLv = 0, sumUsd = 0, sumEur = 0;     // sums of the line values
    double discountPct = 0;                       // Otst_Obsta_Procent
    double discountLv = 0, discountUsd = 0, discountEur = 0;
    double taxable = 0;                           // OblagaemaSt
    std::optional<double> vat;                    // DDS_Stoinost, invoice types only
    double toPayLv = 0, toPayUsd = 0, toPayEur = 0;  // Plastane_Stoinost…
    QString words;                                // Plastane_StoinostText
    double debtLv = 0, debtUsd = 0, debtEur = 0;  // Zadylgenia…
};

DocumentTotals computeTotals(const DocumentInput& input, double sumLv, double sumUsd, double sumEur);
// The same over lines: the sums of their values under the input's type and VAT.
DocumentTotals computeTotals(const DocumentInput& input, const QVector<LineInput>& lines);

// What a sale paid at once records: the amounts to pay in each currency, after the document
// discount.
struct Payment
{
    double lv = 0, usd = 0, eur = 0;
};
Payment paidAtOnce(const DocumentTotals& totals);

} // namespace SaleTotals
