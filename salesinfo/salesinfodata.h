#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <optional>

class SQLConnection;

// The parameters of the sales inquiries and the summary invoice: earlier sale lines of one client
// without an invoice, numbered together into a new one. Server faults propagate as DbError.
namespace SalesInfo {

// A key chosen in a box, or none: every key (the bounds stay open).
using Choice = std::optional<int>;

// The sales inquiry's bounds; a null date leaves its side open, a date takes its whole day.
QVariantMap inquiryParams(Choice client, Choice branch, const QDate& from, const QDate& to, Choice material);
QVariantMap articleParams(const QDate& from, const QDate& to);

// The kinds of the sales information list: invoices and stock receipts list every line,
// consignments only the lines of consignment protocols.
enum class SaleKind { Invoice = 0, StockReceipt = 1, Consignment = 2 };
QVariantMap salesListParams(SaleKind kind, const QDate& from, const QDate& to);

// The invoice numbering of the company: NFAKTURA (text) or NFAKT_INT (integer).
enum class Numbering { Text = 0, Integer = 1 };
Numbering numberingOf(const QVariant& nfaktTxtInt);

// The number proposed for a summary invoice: the highest in use plus one, without leading zeros; text
// numbers by office (1: below 2000000000, from 1000000001; 2: above, from 2000000001; others as
// office 1 but from 1).
QString proposedNumber(SQLConnection& db, Numbering numbering, int office);

// Why an inquiry row cannot join the invoice being assembled; empty when it can. invoiceVat is the
// VAT rate of the rows already marked (none while the invoice is empty): one invoice, one rate.
struct Row
{
    QString nfaktura;
    int nfaktInt = 0;
    double vat = 0;
    bool marked = false;  // already in the invoice being assembled
};
QString markRefusal(bool clientChosen, bool listEmpty, const QString& number, const Row& row,
                    std::optional<double> invoiceVat);

// A line's discount on the invoice: its own and its document's together, so the invoice is worth
// what the lines are.
double invoiceLineDiscount(double lineDiscountPct, double documentDiscountPct);

// Why the number cannot be written; empty when it can: it must be given, be a whole number and not
// be on any sale line yet.
QString numberRefusal(SQLConnection& db, Numbering numbering, const QString& number);

// Writes the number and date onto exactly the lines given (PRODAGBI.AUTONUM), in one transaction: a
// number found in use, or a line that meanwhile got an invoice, writes nothing and throws DbError.
// Each line keeps its VAT rate.
void writeSummaryInvoice(SQLConnection& db, Numbering numbering, const QString& number, const QDate& date,
                         const QList<int>& lines);

// The year a turnover or monthly list is read for; nullopt for a text that is not a year.
std::optional<int> yearOf(const QString& text);

} // namespace SalesInfo
