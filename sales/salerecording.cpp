#include "sales/salerecording.h"

#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/transaction.h"
#include "sales/numbering.h"
#include "sales/saletotals.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace Sales {

SaleRefused::SaleRefused(QStringList messages)
    : std::runtime_error(messages.join(u'\n').toStdString()), messages_(std::move(messages))
{
}

namespace {

constexpr int kAttempts = 20;
constexpr int kMaxInvoiceDigits = 9;  // NFAKT_INT holds nine digits behind the symbol without overflow

// Another workstation holds or has just written the same counter row: the whole attempt may be
// repeated.
bool lostRace(const DbError& e) { return classify(e) == DbProblem::Conflict || e.sqlCode() == -803; }

bool invoiceType(int t) { return t == 0 || t == 1 || t == 5 || t == 10; }
bool stockReceiptType(int t) { return t == 2 || t == 4 || t == 6 || t == 8; }

// The series whose number a type must carry, and its message when the box is empty.
enum class Series { Invoice, StockReceipt, Consignment, DispatchNote, Requisition };

Series ownSeries(int t)
{
    if (invoiceType(t)) return Series::Invoice;
    if (stockReceiptType(t)) return Series::StockReceipt;
    if (t == 3) return Series::Consignment;
    if (t == 7) return Series::DispatchNote;
    return Series::Requisition;
}

QString missingNumberMessage(Series s)
{
    switch (s) {
    case Series::Invoice: return u"Не е въведен номер на фактура   !"_s;
    case Series::StockReceipt: return u"Не е въведен номер на стокова разписка   !"_s;
    case Series::Consignment: return u"Не е въведен номер на консигнационен протокол   !"_s;
    case Series::DispatchNote: return u"Не е въведен номер на експедиционна бележка   !"_s;
    case Series::Requisition: return u"Не е въведен номер на искане   !"_s;
    }
    return {};
}

QString badNumberMessage(const QString& what, const QString& text)
{
    return u"Невалиден номер на %1: \"%2\" !"_s.arg(what, text);
}

// A positive document number that fits the integer columns.
std::optional<int> positiveNumber(const QString& text)
{
    const std::optional<qint64> n = Formats::textToInteger(text);
    if (!n || *n <= 0 || *n > std::numeric_limits<int>::max()) return std::nullopt;
    return int(*n);
}

// The integer invoice number behind the one-character symbol; a text that does not begin with the
// company's symbol is no number, so a typed "58" never becomes 8.
std::optional<int> invoiceInteger(const QString& text, const std::optional<QString>& symbol)
{
    if (symbol && !symbol->isEmpty() && !text.startsWith(symbol->at(0))) return std::nullopt;
    const QString digits = symbol && symbol->isEmpty() ? text : text.mid(1);
    if (digits.isEmpty() || digits.size() > kMaxInvoiceDigits) return std::nullopt;
    for (const QChar c : digits)
        if (!c.isDigit()) return std::nullopt;
    const int n = digits.toInt();
    return n > 0 ? std::optional<int>(n) : std::nullopt;
}

// A text invoice number is up to ten digits and not 0: the proposals add 1 to the highest of them,
// so a letter or a dot stored once would stop every proposal.
bool textInvoiceNumber(const QString& text)
{
    if (text.isEmpty() || text.size() > 10) return false;
    bool nonZero = false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') return false;
        nonZero = nonZero || c != u'0';
    }
    return nonZero;
}

QString invoiceTextRefusal(const SaleHeader& h)
{
    const QString text = h.invoiceNumber.trimmed();
    if (text.isEmpty()) return {};
    const bool valid = h.invoiceNumbering == 1 ? bool(invoiceInteger(text, h.invoiceSymbol)) : textInvoiceNumber(text);
    return valid ? QString() : badNumberMessage(u"фактура"_s, text);
}

bool finite(double v) { return std::isfinite(v); }

// The header values a sale stores on every line.
struct Stored
{
    QString saleNumber;
    int documentType = 0;
    int counterparty = 0, branch = 0, paymentType = 0;
    DocumentNumbers numbers;
    double vatPct = 0, discountPct = 0;
    QVariant date;
    int companyMol = 0, compiledBy = 0, office = 0, vatBasis = 0;
    QVariant remarks, goodsReceived, clientName, clientEgn, clientLk, taxEvent, clientOtg, transport, order;
};

QVariant dateOrNull(const QDate& d) { return d.isValid() ? QVariant(QDateTime(d, QTime(0, 0))) : QVariant(); }

Stored storedFrom(const SaleHeader& h, const QString& saleNumber)
{
    Stored s;
    s.saleNumber = saleNumber;
    s.documentType = h.documentType;
    s.counterparty = h.naturalPerson() ? 0 : h.counterparty;
    s.branch = h.naturalPerson() ? 0 : h.branch;
    s.paymentType = h.paymentType;
    s.numbers = documentNumbers(h);
    s.vatPct = SaleTotals::effectiveVat(h.documentType, h.vatPct);
    s.discountPct = h.companyDiscountPct + h.recipientDiscountPct;
    s.date = dateOrNull(h.date);
    s.companyMol = h.companyMol;
    s.compiledBy = h.compiledBy;
    s.office = h.office;
    s.vatBasis = h.vatBasis;
    s.remarks = h.remarks;
    s.goodsReceived = dateOrNull(h.goodsReceived);
    s.clientName = h.clientName;
    s.clientEgn = h.clientEgn;
    s.clientLk = h.clientLk;
    s.taxEvent = dateOrNull(h.taxEvent);
    s.clientOtg = QString();
    s.transport = h.transport;
    s.order = h.order;
    return s;
}

// Takes the next sale number of today inside the caller's transaction. The counter row of the day
// is the lock: a second workstation waits for it and then repeats its attempt.
QString takeSaleNumber(SQLConnection& db)
{
    const QString day = Numbering::dailyNumberPrefix(Clock::today());
    const SqlParams key{{u"D"_s, day}};
    if (db.execute(u"update NUMBER_SERIES set LAST_NO = LAST_NO + 1 where SERIES = 'PRODAGBA' and DAYKEY = :D"_s, key)
        == 0) {
        // The day's first sale starts after any number of the day already in use.
        const DbResult r = db.query(u"select max(NUMPRODAGBA) from (select NUMPRODAGBA from PRODAGBI_DOKUMENT "
                                    u"where NUMPRODAGBA starting with :D union all select NUMPRODAGBA from PRODAGBI "
                                    u"where NUMPRODAGBA starting with :D)"_s,
                                    key);
        const QString highest = r.rows.front()[0].toString();
        const int last = highest.size() > day.size() ? highest.mid(day.size()).toInt() : 0;
        db.execute(u"insert into NUMBER_SERIES (SERIES, DAYKEY, LAST_NO) values ('PRODAGBA', :D, :N)"_s,
                   {{u"D"_s, day}, {u"N"_s, last + 1}});
    }
    const int n = db.query(u"select LAST_NO from NUMBER_SERIES where SERIES = 'PRODAGBA' and DAYKEY = :D"_s, key)
                      .rows.front()[0]
                      .toInt();
    if (n > 999) throw SaleRefused({u"Продажбите за деня надхвърлят 999 - записът е невъзможен !"_s});
    return day + u"%1"_s.arg(n, 3, 10, QChar(u'0'));
}

// Locks the series of the sale's own document number and refuses a number another sale of that
// series already carries. A second workstation waits for the lock, repeats its attempt and then
// finds the number taken.
void claimDocumentNumber(SQLConnection& db, const Stored& s, int invoiceNumbering)
{
    const int t = s.documentType;
    QString series, condition;
    SqlParams params;
    QString shown;
    switch (ownSeries(t)) {
    case Series::Invoice:
        series = u"DOK_FAKTURA"_s;
        if (invoiceNumbering == 1) {
            condition = u"NFAKT_INT = :N and TIP_DOCUMENT in (0, 1, 5, 10)"_s;
            params.insert(u"N"_s, s.numbers.invoiceInt);
            shown = QString::number(s.numbers.invoiceInt);
        } else {
            condition = u"NFAKTURA = :N and TIP_DOCUMENT in (0, 1, 5, 10)"_s;
            params.insert(u"N"_s, s.numbers.invoiceText);
            shown = s.numbers.invoiceText.toString();
        }
        if (s.numbers.invoiceText.isNull() && s.numbers.invoiceInt == 0) return;
        break;
    case Series::StockReceipt:
        series = u"DOK_STOK_RAZP"_s;
        condition = u"NSTOK_RAZP = :N and TIP_DOCUMENT in (2, 4, 6, 8)"_s;
        params.insert(u"N"_s, s.numbers.stockReceipt);
        shown = QString::number(s.numbers.stockReceipt);
        break;
    case Series::Consignment:
        series = u"DOK_KONSIGNACIA"_s;
        condition = u"NKONSIGNACIA = :N and TIP_DOCUMENT = 3"_s;
        params.insert(u"N"_s, s.numbers.consignment);
        shown = QString::number(s.numbers.consignment);
        break;
    case Series::DispatchNote:
        series = u"DOK_EKSP_BEL"_s;
        condition = u"NEKSP_BEL = :N and TIP_DOCUMENT = 7"_s;
        params.insert(u"N"_s, s.numbers.dispatchNote);
        shown = QString::number(s.numbers.dispatchNote);
        break;
    case Series::Requisition: {
        series = u"DOK_ISKANE"_s;
        const int year = s.date.toDateTime().date().year();
        condition = u"NEKSP_BEL = :N and TIP_DOCUMENT = 9 and DATEFAKTURA >= :OT and DATEFAKTURA < :DO"_s;
        params.insert(u"N"_s, s.numbers.dispatchNote);
        params.insert(u"OT"_s, QDateTime(QDate(year, 1, 1), QTime(0, 0)));
        params.insert(u"DO"_s, QDateTime(QDate(year + 1, 1, 1), QTime(0, 0)));
        shown = QString::number(s.numbers.dispatchNote);
        break;
    }
    }
    const SqlParams key{{u"S"_s, series}};
    if (db.execute(u"update NUMBER_SERIES set LAST_NO = LAST_NO where SERIES = :S and DAYKEY = ''"_s, key) == 0)
        db.execute(u"insert into NUMBER_SERIES (SERIES, DAYKEY, LAST_NO) values (:S, '', 0)"_s, key);
    params.insert(u"OWN"_s, s.saleNumber);
    if (!db.query(u"select first 1 1 from PRODAGBI where "_s + condition + u" and NUMPRODAGBA <> :OWN"_s, params).isEmpty())
        throw SaleRefused({u"Документ № %1 от този вид вече е записан с друга продажба - въведете друг номер !"_s.arg(shown)});
}

void writePayment(SQLConnection& db, const Stored& s, const QVector<SaleLine>& lines, bool atOnce, double lv,
                  double usd, double eur)
{
    if (atOnce) {
        SaleTotals::DocumentInput in;
        in.documentType = s.documentType;
        in.vatPct = s.vatPct;
        in.companyDiscountPct = s.discountPct;
        const SaleTotals::Payment p = SaleTotals::paidAtOnce(SaleTotals::computeTotals(in, totalsInput(lines)));
        lv = p.lv;
        usd = p.usd;
        eur = p.eur;
    }
    db.executeProcedure(u"ADDPRODAGBI_PLASTANE"_s, {{u"NUMPRODAGBA"_s, s.saleNumber},
                                                     {u"NKONTRAGENT"_s, s.counterparty},
                                                     {u"PLASTANE_DATE"_s, s.date},
                                                     {u"PLASTANE_SUMA"_s, lv},
                                                     {u"PLASTANE_SUMA_USD"_s, usd},
                                                     {u"PLASTANE_SUMA_EUR"_s, eur}});
}

// The lines with their returned goods and write-offs. Returned goods come back into stock as a
// delivery line of their quantity under the document "Vyrn" + the daily sequence, named by the
// sale's returned-goods row. Every return is booked before the first write-off: the item check
// counts returned goods as available to the sale's other lines, wherever they stand in the list.
QVector<int> writeLines(SQLConnection& db, const Stored& s, const QVector<SaleLine>& lines)
{
    QVector<int> keys;
    const QString returnDocument = returnDocumentNumber(s.saleNumber);
    for (const SaleLine& l : lines) {
        const int key = db.executeProcedure(u"ADDPRODAGBI"_s,
            {{u"NSKL_OBEKT"_s, l.warehouseObject},
             {u"NUMPRODAGBA"_s, s.saleNumber},
             {u"NVIDPLASTANE"_s, s.paymentType},
             {u"NKONTRAGENT"_s, s.counterparty},
             {u"NFILIAL"_s, s.branch},
             {u"NFAKTURA"_s, s.numbers.invoiceText},
             {u"NFAKT_INT"_s, s.numbers.invoiceInt},
             {u"NSTOK_RAZP"_s, s.numbers.stockReceipt},
             {u"NKONSIGNACIA"_s, s.numbers.consignment},
             {u"NEKSP_BEL"_s, s.numbers.dispatchNote},
             {u"PROCENT_DDS"_s, s.vatPct},
             {u"DATEFAKTURA"_s, s.date},
             {u"PROCENT_OTST"_s, s.discountPct},
             {u"N_MOL_FIRMA"_s, s.companyMol},
             {u"N_MOL_FIRMA_SYSTAVIL"_s, s.compiledBy},
             {u"NFIRMA_OFIS"_s, s.office},
             {u"NMATERIAL"_s, l.material},
             {u"BROI_MATERIAL_IZDELIE"_s, l.quantity},
             {u"CENA_MATERIAL_IZDELIE"_s, l.priceLv},
             {u"CENA_MAT_IZD_USD"_s, l.priceUsd},
             {u"CENA_MAT_IZD_EUR"_s, l.priceEur},
             {u"OTST_IZDELIE"_s, l.discountPct},
             {u"TIP_DOCUMENT"_s, s.documentType},
             {u"BELEGKA"_s, s.remarks},
             {u"CLIENT_STOKA_POLUCHENA_DATE"_s, s.goodsReceived},
             {u"CLIENT_IME"_s, s.clientName},
             {u"CLIENT_EGN"_s, s.clientEgn},
             {u"CLIENT_LK"_s, s.clientLk},
             {u"CLIENT_LK_IZD"_s, s.taxEvent},
             {u"CLIENT_OTG_ST_OP"_s, s.clientOtg},
             {u"NUM_TRANSPORT"_s, s.transport},
             {u"ARTN_POLUCH"_s, l.articleRecipient},
             {u"ARTN_DOSTAV"_s, l.articleSupplier},
             {u"BARKOD"_s, l.barcode},
             {u"NPORYCHKA"_s, s.order},
             {u"NUM_OSNOVANIE"_s, s.vatBasis}})
                            .value(u"AUTONUM"_s)
                            .toInt();
        keys.append(key);
        if (!l.returned()) continue;
        const double back = -l.quantity;
        const bool toObject = l.warehouseObject > 0;
        const QVariant line =
            toObject ? db.executeProcedure(u"ADDDOSTAVKA_SKLOB"_s,
                           {{u"ADD_UPD"_s, 1}, {u"NUM_SKL_RAZP"_s, 0}, {u"NUM_SKL_RAZP_DOPN"_s, 0},
                            {u"NSKL_OBEKT"_s, l.warehouseObject}, {u"NMATERIAL"_s, l.material}, {u"KOLICHESTVO"_s, back},
                            {u"ED_CENA_LV"_s, l.priceLv}, {u"USD"_s, l.priceUsd}, {u"EUR"_s, l.priceEur},
                            {u"DATEPOLUCHENO"_s, s.date}, {u"NKONTRAGENT"_s, s.counterparty},
                            {u"NFAKTURA"_s, returnDocument}, {u"DATEFAKTURA"_s, s.date}})
                           .value(u"AUTONUM"_s)
                     : db.executeProcedure(u"ADDDOSTAVKA"_s,
                           {{u"NMATERIAL"_s, l.material}, {u"KOLICHESTVO"_s, back}, {u"KOLICH_SERII"_s, 0},
                            {u"ED_CENA_LV"_s, l.priceLv}, {u"USD"_s, l.priceUsd}, {u"EUR"_s, l.priceEur},
                            {u"DATEPOLUCHENO"_s, s.date}, {u"NKONTRAGENT"_s, s.counterparty}, {u"NMOL"_s, 0},
                            {u"NFAKTURA"_s, returnDocument}, {u"DATEFAKTURA"_s, s.date}})
                           .value(u"AUTONUM"_s);
        db.executeProcedure(u"ADDPRODAGBI_MATERIALI"_s,
            {{u"NUMPRODAGBA"_s, s.saleNumber}, {u"NUMMATERIAL"_s, l.material}, {u"BROI_MAT_PROD"_s, l.quantity},
             {u"NKONTRAGENT"_s, s.counterparty}, {u"NFAKTURA"_s, returnDocument}, {u"DATEFAKTURA"_s, s.date},
             {u"NSKL_OBEKT"_s, l.warehouseObject},
             {u"NSKL_RAZP"_s, toObject ? QVariant(0) : QVariant()},
             {u"NSKL_RAZP_DOPN"_s, toObject ? QVariant(0) : QVariant()},
             {toObject ? u"IAUTONUM_SKLOB"_s : u"IAUTONUM_SKLAD"_s, line}});
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const SaleLine& l = lines[i];
        // A credit note's positive lines correct amounts; they take nothing out of stock.
        if (l.returned() || s.documentType == 10 || l.quantity == 0) continue;
        const QVariant picked = l.stockLine > 0 ? QVariant(l.stockLine) : QVariant();
        // The write-offs are selectable procedures: reading every row runs them to their end.
        if (l.warehouseObject == 0)
            db.selectProcedure(u"SKLAD_MAT_PROD_ZAPIS"_s,
                {{u"INUMPRODAGBA"_s, s.saleNumber}, {u"INUMMATERIAL"_s, l.material}, {u"IBROI_MAT_PROD"_s, l.quantity},
                 {u"IAUTONUM_SKLAD"_s, picked}, {u"IDOK_AUTONUM"_s, keys[i]}});
        else if (l.warehouseObject >= 1 && l.warehouseObject <= 10000)
            db.selectProcedure(u"SKLOB_MAT_PROD_ZAPIS"_s,
                {{u"NSKL_OBEKT"_s, l.warehouseObject}, {u"NUMPRODAGBA"_s, s.saleNumber},
                 {u"NUMMATERIAL"_s, l.material}, {u"BROI_MAT_PROD"_s, l.quantity},
                 {u"IAUTONUM_SKLOB"_s, picked}, {u"IDOK_AUTONUM"_s, keys[i]}});
    }
    return keys;
}

// Repeats a whole write that lost a race for a counter row. Inside a caller's transaction the
// loss dooms that transaction, so it is passed on.
template <typename Work>
auto withRetries(SQLConnection& db, Work work)
{
    for (int attempt = 1;; ++attempt) {
        try {
            return work();
        } catch (const DbError& e) {
            if (attempt >= kAttempts || !lostRace(e) || TransactionScope::isOpen(db)) throw;
        }
    }
}

QString lineRefusal(const QVector<SaleLine>& lines)
{
    if (lines.isEmpty()) return u"Няма въведени материали за продажба   !"_s;
    for (const SaleLine& l : lines)
        if (l.material <= 0 || !finite(l.quantity) || !finite(l.priceLv) || !finite(l.priceUsd)
            || !finite(l.priceEur) || !finite(l.discountPct))
            return u"Невалиден ред на продажбата   !"_s;
    return {};
}

} // namespace

QVector<SaleTotals::LineInput> totalsInput(const QVector<SaleLine>& lines)
{
    QVector<SaleTotals::LineInput> out;
    out.reserve(lines.size());
    for (const SaleLine& l : lines) out.append({l.quantity, l.priceLv, l.priceUsd, l.priceEur, l.discountPct});
    return out;
}

QStringList refusals(const SaleHeader& h, const QVector<SaleLine>& lines)
{
    QStringList out;
    const int t = h.documentType;
    if (t < 0 || t > 10) out << u"Не е избран тип документ   !"_s;
    if (h.counterparty <= 0 && !h.naturalPerson()) out << u"Не е въведен контрагент  !"_s;
    if (h.paymentType < 1) out << u"Не е въведено вид плащане   !"_s;
    if (t >= 0 && t <= 10) {
        const Series own = ownSeries(t);
        const QString ownText = own == Series::Invoice        ? h.invoiceNumber
                                : own == Series::StockReceipt ? h.stockReceiptNumber
                                : own == Series::Consignment  ? h.consignmentNumber
                                                              : h.dispatchNoteNumber;
        if (ownText.trimmed().isEmpty()) {
            out << missingNumberMessage(own);
        } else if (own == Series::Invoice) {
            if (const QString why = invoiceTextRefusal(h); !why.isEmpty()) out << why;
        } else if (!positiveNumber(ownText)) {
            out << badNumberMessage(own == Series::StockReceipt  ? u"стокова разписка"_s
                                    : own == Series::Consignment ? u"консигнационен протокол"_s
                                    : own == Series::DispatchNote ? u"експедиционна бележка"_s
                                                                  : u"искане"_s,
                                    ownText);
        }
        // The chain stock receipt records an invoice number as well, when one is given.
        if (t == 4)
            if (const QString why = invoiceTextRefusal(h); !why.isEmpty()) out << why;
    }
    if (h.recipientName.trimmed().isEmpty() && !h.naturalPerson()) out << u"Не е въведено име на контрагента   !"_s;
    if (!h.date.isValid()) out << u"Не е въведена дата на документа   !"_s;
    if (!finite(h.vatPct) || h.vatPct < 0) out << u"Невалиден процент ДДС   !"_s;
    if (!finite(h.paidNowLv) || !finite(h.paidNowUsd) || !finite(h.paidNowEur)) out << u"Невалидна платена сума   !"_s;
    if (const QString why = lineRefusal(lines); !why.isEmpty()) out << why;
    return out;
}

DocumentNumbers documentNumbers(const SaleHeader& h)
{
    DocumentNumbers n;
    const auto invoice = [&] {
        const QString text = h.invoiceNumber.trimmed();
        if (text.isEmpty()) return;
        if (h.invoiceNumbering == 1)
            n.invoiceInt = invoiceInteger(text, h.invoiceSymbol).value_or(0);
        else
            n.invoiceText = text;
    };
    const int t = h.documentType;
    if (t == 2 || t == 6 || t == 8) {
        n.invoiceText = u"0"_s;
        n.stockReceipt = positiveNumber(h.stockReceiptNumber).value_or(0);
    } else if (t == 3) {
        n.invoiceText = u"0"_s;
        n.consignment = positiveNumber(h.consignmentNumber).value_or(0);
    } else if (t == 4 || t == 5) {
        // The chain invoice and its stock receipt carry both numbers.
        invoice();
        n.stockReceipt = positiveNumber(h.stockReceiptNumber).value_or(0);
    } else if (t == 7 || t == 9) {
        n.dispatchNote = positiveNumber(h.dispatchNoteNumber).value_or(0);
    } else {
        invoice();
    }
    return n;
}

Recorded recordSale(SQLConnection& db, const SaleHeader& header, const QVector<SaleLine>& lines,
                    const QVector<int>& orderMaterials)
{
    if (const QStringList why = refusals(header, lines); !why.isEmpty()) throw SaleRefused(why);
    return withRetries(db, [&] {
        TransactionScope tx(db);
        const Stored s = storedFrom(header, takeSaleNumber(db));
        claimDocumentNumber(db, s, header.invoiceNumbering);
        if (header.naturalPerson())
            db.executeProcedure(u"ADDPRODAGBI_FLICA"_s,
                                {{u"NUMPRODAGBA"_s, s.saleNumber}, {u"IME"_s, header.person.name},
                                 {u"ADRES"_s, header.person.address}, {u"EGN"_s, header.person.egn}});
        writePayment(db, s, lines, header.payAtOnce, header.paidNowLv, header.paidNowUsd, header.paidNowEur);
        Recorded r{s.saleNumber, writeLines(db, s, lines)};
        QVariant order = 0;
        for (const int material : orderMaterials)
            order = db.executeProcedure(u"ADDPORYCHKA_PRODAGBA"_s, {{u"NUMPRODAGBA"_s, s.saleNumber},
                                                                  {u"NMATERIAL"_s, material},
                                                                  {u"INPORYCHKA"_s, order}})
                        .value(u"NPORYCHKA"_s);
        tx.commit();
        return r;
    });
}

Recorded correctSale(SQLConnection& db, const QString& saleNumber, const QVector<SaleLine>& lines,
                     const CorrectionPayment& payment)
{
    if (const QString why = lineRefusal(lines); !why.isEmpty()) throw SaleRefused({why});
    TransactionScope tx(db);
    const DbResult old = db.query(
        u"select first 1 TIP_DOCUMENT, NKONTRAGENT, NFILIAL, NVIDPLASTANE, NFAKTURA, NFAKT_INT, NSTOK_RAZP, "
        u"NKONSIGNACIA, NEKSP_BEL, PROCENT_DDS, PROCENT_OTST, DATEFAKTURA, NMOL_FIRMA, NMOL_FIRMA_SYSTAVIL, "
        u"NFIRMA_OFIS, NUM_OSNOVANIE, BELEGKA, CLIENT_STOKA_POLUCHENA_DATE, CLIENT_IME, CLIENT_EGN, CLIENT_LK, "
        u"CLIENT_LK_IZD, CLIENT_OTG_ST_OP, NUM_TRANSPORT, NPORYCHKA from PRODAGBI where NUMPRODAGBA = :N "
        u"order by AUTONUM"_s,
        {{u"N"_s, saleNumber}});
    if (old.isEmpty()) throw SaleRefused({u"Продажба %1 не е намерена !"_s.arg(saleNumber)});
    const auto v = [&old](const char* column) { return old.value(0, QString::fromLatin1(column)); };
    Stored s;
    s.saleNumber = saleNumber;
    s.documentType = v("TIP_DOCUMENT").toInt();
    s.counterparty = v("NKONTRAGENT").toInt();
    s.branch = v("NFILIAL").toInt();
    s.paymentType = v("NVIDPLASTANE").toInt();
    s.numbers = {v("NFAKTURA"), v("NFAKT_INT").toInt(), v("NSTOK_RAZP").toInt(), v("NKONSIGNACIA").toInt(),
                 v("NEKSP_BEL").toInt()};
    s.vatPct = v("PROCENT_DDS").toDouble();
    s.discountPct = v("PROCENT_OTST").toDouble();
    s.date = v("DATEFAKTURA");
    s.companyMol = v("NMOL_FIRMA").toInt();
    s.compiledBy = v("NMOL_FIRMA_SYSTAVIL").toInt();
    s.office = v("NFIRMA_OFIS").toInt();
    s.vatBasis = v("NUM_OSNOVANIE").toInt();
    s.remarks = v("BELEGKA");
    s.goodsReceived = v("CLIENT_STOKA_POLUCHENA_DATE");
    s.clientName = v("CLIENT_IME");
    s.clientEgn = v("CLIENT_EGN");
    s.clientLk = v("CLIENT_LK");
    s.taxEvent = v("CLIENT_LK_IZD");
    s.clientOtg = v("CLIENT_OTG_ST_OP");
    s.transport = v("NUM_TRANSPORT");
    s.order = v("NPORYCHKA");

    const DbResult person = db.query(u"select IME, ADRES, EGN from PRODAGBI_FLICA where NUMPRODAGBA = :N"_s,
                                     {{u"N"_s, saleNumber}});
    // The old write-offs go first, then the lines the old returned goods came back as (the sale's
    // own, never another sale's under the same "Vyrn" document), refused when goods left them since.
    db.executeProcedure(u"DEL_PRODAGBA"_s, {{u"INPRODAGBA"_s, saleNumber}});
    if (!person.isEmpty())
        db.executeProcedure(u"ADDPRODAGBI_FLICA"_s, {{u"NUMPRODAGBA"_s, saleNumber}, {u"IME"_s, person.rows[0][0]},
                                                      {u"ADRES"_s, person.rows[0][1]}, {u"EGN"_s, person.rows[0][2]}});
    writePayment(db, s, lines, payment.atOnce, payment.paidNowLv, payment.paidNowUsd, payment.paidNowEur);
    Recorded r{saleNumber, writeLines(db, s, lines)};
    tx.commit();
    return r;
}

std::optional<RecordedSale> loadSale(SQLConnection& db, const QString& saleNumber)
{
    // A line's stock line is the one it drew from first: the line picked when it was recorded.
    const DbResult r = db.query(
        u"select p.TIP_DOCUMENT, p.NKONTRAGENT, p.PROCENT_DDS, p.PROCENT_OTST, p.NMATERIAL, p.BROI_MATERIAL_IZDELIE, "
        u"p.CENA_MATERIAL_IZDELIE, p.CENA_MAT_IZD_USD, p.CENA_MAT_IZD_EUR, p.OTST_IZDELIE, p.NSKL_OBEKT, "
        u"p.ARTN_POLUCH, p.ARTN_DOSTAV, p.BARKOD, "
        u"(select first 1 coalesce(d.AUTONUM_SKLAD, d.AUTONUM_SKLOB) from SKLAD_DVIGENIE d "
        u" where d.DOK_AUTONUM = p.AUTONUM and d.DOK_NOMER = p.NUMPRODAGBA and d.VID_DVIGENIE = 1 order by d.AUTONUM), "
        u"(select first 1 c.SPEC_CENA from KONTR_MAT_CENI c where c.NKONTRAGENT = p.NKONTRAGENT "
        u" and c.NMATERIAL = p.NMATERIAL) "
        u"from PRODAGBI p where p.NUMPRODAGBA = :N order by p.AUTONUM"_s,
        {{u"N"_s, saleNumber}});
    if (r.isEmpty()) return std::nullopt;
    RecordedSale sale;
    sale.saleNumber = saleNumber;
    sale.documentType = r.rows[0][0].toInt();
    sale.counterparty = r.rows[0][1].toInt();
    sale.vatPct = r.rows[0][2].toDouble();
    sale.discountPct = r.rows[0][3].toDouble();
    for (const DbRow& row : r.rows) {
        SaleLine l;
        l.material = row[4].toInt();
        l.quantity = row[5].toDouble();
        l.priceLv = row[6].toDouble();
        l.priceUsd = row[7].toDouble();
        l.priceEur = row[8].toDouble();
        l.discountPct = row[9].toDouble();
        l.warehouseObject = row[10].toInt();
        l.objectReceipt = 1;
        l.articleRecipient = row[11].toString();
        l.articleSupplier = row[12].toString();
        l.barcode = row[13].toString();
        l.stockLine = row[14].toInt();
        // The sale stores no flag: a BGN price that is the client's special price was taken as one.
        const double special = row[15].toDouble();
        l.specialPrice = special > 0 && qAbs(l.priceLv - special) < 0.0000001;
        sale.lines.append(l);
    }
    return sale;
}

double warehouseStockOf(SQLConnection& db, int material)
{
    const DbResult r = db.selectProcedure(u"SKLAD_MAT_NALICH_SUM"_s, {{u"NUMMATERIAL"_s, material}});
    return r.isEmpty() ? 0 : r.rows.front()[0].toDouble();
}

double warehouseObjectStockOf(SQLConnection& db, int warehouseObject, int material)
{
    const DbResult r = db.selectProcedure(u"SKLOB_MAT_NALICH_SUM"_s,
                                          {{u"NUMMATERIAL"_s, material}, {u"NUMSKLOB"_s, warehouseObject}});
    return r.isEmpty() ? 0 : r.rows.front()[0].toDouble();
}

double specialPrice(SQLConnection& db, int counterparty, int material)
{
    const DbResult r = db.query(u"select Spec_Cena from KONTR_MAT_CENI where NKONTRAGENT=:Numkontragent and "
                                u"NMATERIAL=:NumMaterial"_s,
                                {{u"Numkontragent"_s, counterparty}, {u"NumMaterial"_s, material}});
    return r.isEmpty() ? 0 : r.rows.front()[0].toDouble();
}

QString returnDocumentNumber(const QString& saleNumber) { return u"Vyrn"_s + saleNumber.mid(8, 3); }

} // namespace Sales
