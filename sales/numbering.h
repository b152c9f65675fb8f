#pragma once

#include "sales/documenttype.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

class SQLConnection;

// Proposed document numbers: the highest number in use plus one, computed when asked and never
// reserved. Each function runs its query on the given connection (the shared data module's
// ad-hoc query runs on that connection). Server faults other than the ones named here propagate
// as DbError.
namespace Numbering {

// The outcome of one proposal: a text for its box, nothing (the box keeps its text), or a
// message for the user (the box keeps its text as well).
class NumberProposal
{
public:
    static NumberProposal text(const QString& text) { return NumberProposal(Kind::Text, text); }
    static NumberProposal untouched() { return NumberProposal(Kind::Untouched, {}); }
    static NumberProposal failure(const QString& message) { return NumberProposal(Kind::Failure, message); }

    bool hasText() const { return kind_ == Kind::Text; }
    bool isUntouched() const { return kind_ == Kind::Untouched; }
    bool failed() const { return kind_ == Kind::Failure; }
    // The box's new text; may be empty (office 1 without invoices). Only when hasText().
    QString value() const { return kind_ == Kind::Text ? payload_ : QString(); }
    // The Bulgarian message. Only when failed().
    QString message() const { return kind_ == Kind::Failure ? payload_ : QString(); }

private:
    enum class Kind { Text, Untouched, Failure };
    NumberProposal(Kind kind, QString payload) : kind_(kind), payload_(std::move(payload)) {}
    Kind kind_;
    QString payload_;
};

// The company's invoice numbering (FIRMA.NFAKT_TXT_INT and FIRMA.NFAKT_SIMVOL).
struct InvoiceNumbering
{
    static constexpr int TextNumbers = 0;     // NFAKTURA, series by office
    static constexpr int IntegerNumbers = 1;  // NFAKT_INT, shown behind the symbol
    static constexpr int NotSet = -1;         // a null setting; like any other value, no proposal

    int mode = TextNumbers;
    QString symbol;

    // Reads the company record; no record or a null mode gives NotSet.
    static InvoiceNumbering fromCompany(SQLConnection& db);
};

// Text invoice numbers: office 1 and office 2 have series of their own, all other offices share
// one. The office is FIRMA_OFISI.NUMOFIS of the sale's place of the deal.
inline constexpr int OfficeOne = 1;
inline constexpr int OfficeTwo = 2;

// The invoice number box's proposal, for every document type. A stored text invoice number that is
// not a whole number is passed over; a highest number beyond what a double holds exactly makes the
// proposal fail with a message.
NumberProposal proposeInvoiceNumber(SQLConnection& db, const InvoiceNumbering& numbering, int office);
NumberProposal proposeStockReceiptNumber(SQLConnection& db);
NumberProposal proposeConsignmentNumber(SQLConnection& db);
NumberProposal proposeDispatchNoteNumber(SQLConnection& db);
// The requisition series starts again each calendar year (the year of Clock::today()).
NumberProposal proposeRequisitionNumber(SQLConnection& db);
// The number a type's mode proposes besides the invoice number; untouched for ProposedNumber::None.
NumberProposal proposeNumber(SQLConnection& db, ProposedNumber which);

// Every proposal of a document type, for the sale entry window to place: the invoice number
// (proposed whatever the type) and the number of the type's own box. A code that is not a type,
// and the credit note, propose only the invoice number.
struct DocumentTypeProposals
{
    NumberProposal invoice = NumberProposal::untouched();      // EditNFakt
    ProposedNumber other = ProposedNumber::None;                // which box the second one is for
    NumberProposal otherNumber = NumberProposal::untouched();
};
DocumentTypeProposals proposeForDocumentType(SQLConnection& db, const InvoiceNumbering& numbering, int office,
                                             int typeCode);

// The next sale number NUMPRODAGBA: Clock::today() as yyyymmdd followed by the day's three-digit
// sequence. Run it inside the transaction that records the sale.
NumberProposal nextSaleNumber(SQLConnection& db);

// --- Helpers, also for callers that show or check numbers -----------------------------------

// The first eight characters of a daily number: yyyymmdd.
QString dailyNumberPrefix(const QDate& date);
// Exact integer text of a numeric value as the server returns it (an integer or, for dialect 1
// arithmetic on text, a double): no exponent, no ".0". nullopt when the value is not a whole
// number that a double holds exactly, or not a number at all.
std::optional<QString> exactIntegerText(const QVariant& value);
// Leading zeros to the given width for n from 1 to 9 999 999; other values as they are.
QString withLeadingZeros(qint64 n, int width);

// The message of a failed invoice proposal.
QString invoiceNumberNotIntegerMessage();

} // namespace Numbering
