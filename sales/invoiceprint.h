#pragma once

#include "platform/dataset/smpdataset.h"
#include "sales/saletotals.h"

#include <QDate>
#include <QString>

#include <optional>

class SQLConnection;

// What a printed invoice shows besides its lines, as texts, and the recorded sale it is read from
// when a document is printed again.
namespace InvoicePrint {

// The recipient block of every layout that has one.
struct Recipient
{
    QString name, town, street;
    QString idCaption, id;    // "Идентификационен № :" and DAN_NO; both empty for a natural person
    QString vatCaption, vat;  // "Идентификационен № ДДС :" and BULSTAT, or "ЕГН :" and the personal number
    QString mol;
};
Recipient counterpartyRecipient(const QString& name, const QString& town, const QString& street, const QString& id,
                                const QString& vat, const QString& mol);
Recipient naturalPersonRecipient(const QString& name, const QString& address, const QString& egn);

struct Heading
{
    int documentType = 0;
    Recipient recipient;
    QString number, date, taxEventDate;
    QString creditedInvoice;               // credit note: "към Фактура №"
    QString order, stockReceipt;           // retail-chain invoice
    QString placeOfDeal, companyMol, compiledBy, paymentType, vatBasis;
    QString remarks;
    QString receivedOn, receivedBy, receiverEgn, receiverLk;
    // Totals, as printed.
    QString sumWithoutVat, discountPct, discountAmount, taxable, vatPct, vat, total, words;
};

// The values of a recorded sale line (a row with PRODAGBI's columns) by the same rules as the sale
// being entered, from its recorded type and VAT.
SaleTotals::LineValues recordedLineValues(const SmpDataset& line);

// The totals texts of a heading whose document type is set, computed at the VAT rate given.
void fillTotals(Heading& heading, double vatPct, const SaleTotals::DocumentTotals& totals);

// The printed amount and percentage formats.
QString money(double amount);      // "# ### ##0.00"
QString percent(double pct);       // "0.00"
QString shortDate(const QDate& d); // the system's short date; empty for none

// A recorded integer invoice number: the symbol followed by the number with leading zeros to nine
// digits. A simplified invoice prints it to ten digits without the symbol.
QString taxInvoiceNumber(const QString& symbol, qint64 number);
QString simplifiedInvoiceNumber(qint64 number);

// A recorded sale as its layouts print it: the lines (SmpRealizaciaProdagba, with the line values
// computed from the recorded prices, discount and VAT) and the heading of its recorded values. The
// company record is the only current setting read: its invoice symbol.
class RecordedSale
{
public:
    explicit RecordedSale(SQLConnection& db);

    SmpDataset SmpRealizaciaProdagba;

    // Opens the lines of the sale and returns its heading; nullopt (no lines) when there is no such sale.
    std::optional<Heading> load(const QString& saleNumber);
    int documentType() const { return documentType_; }

private:
    SQLConnection& db_;
    int documentType_ = 0;
};

} // namespace InvoicePrint
