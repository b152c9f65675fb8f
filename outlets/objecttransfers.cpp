#include "outlets/objecttransfers.h"

#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/transaction.h"
#include "warehouse/objectreceipts.h"

#include <cmath>

namespace ObjectTransfers {

bool returnedSale(SQLConnection& db, int objectLine)
{
    return !db.query(QStringLiteral("select 1 from SKLOB_VYRNATA_PRODAGBA where AUTONUM = :K"),
                     {{QStringLiteral("K"), objectLine}})
                .isEmpty();
}

QString returnedSaleRefusal()
{
    return QStringLiteral("    Върната продажба  !\nЗаприхождаването във фирмен склад невъзможно !!!");
}

namespace {

constexpr int kDocumentWidth = 10;  // SKLAD.NFAKTURA
constexpr int kAttempts = 20;
constexpr double kEpsilon = 0.000000001;

// Goods booked back from an object come from this counterparty.
constexpr int kObjectCounterparty = 30000;

DbError refused(const QString& message) { return DbError(message); }

void checkLine(SQLConnection& db, const Transfer& t, const Line& line)
{
    const DbResult r = db.query(
        QStringLiteral("select o.NSKL_OBEKT, o.NMATERIAL, coalesce(o.NSKLAD_VHOD, 0), coalesce(o.NSKL_OBEKT_VHOD, 0),"
                       " coalesce(o.POLUCHENO, 0) - (select coalesce(sum(d.KOLICHESTVO), 0) from SKLAD_DVIGENIE d"
                       "                             where d.AUTONUM_SKLOB = o.AUTONUM), m.IMEMATERIAL"
                       " from SKL_OBEKTI_MATERIALI o left join MATERIALI m on m.NMATERIAL = o.NMATERIAL"
                       " where o.AUTONUM = :K"),
        {{QStringLiteral("K"), line.sourceLine}});
    if (r.isEmpty()) throw refused(QStringLiteral("Редът на складовия обект вече не съществува !"));
    const QVariantList& row = r.rows.front();
    const bool fromWarehouse = row[2].toInt() > 0;
    const bool direct = row[2].toInt() == 0 && row[3].toInt() == 0;
    if (row[0].toInt() != t.sourceObject || row[1].toInt() != line.material
        || (t.mode == Mode::ToSourceWarehouse && !fromWarehouse) || (t.mode == Mode::ToCompanyWarehouse && !direct))
        throw refused(QStringLiteral("Редът не е от избрания складов обект или не е от този вид !"));
    // Goods a sale brought back stay in the object as booked.
    if (t.mode == Mode::ToCompanyWarehouse && returnedSale(db, line.sourceLine))
        throw refused(returnedSaleRefusal());
    if (line.quantity <= 0 || line.quantity > row[4].toDouble() + kEpsilon)
        throw refused(QStringLiteral("Недостатъчно количество на  ") + row[5].toString() + QStringLiteral("  !"));
}

// Gives `quantity` of object line `key` back: the line goes when nothing else has left it and all
// of it is given, else it keeps what it still holds less the quantity.
void giveBack(SQLConnection& db, int key, double quantity)
{
    const DbResult r = db.query(
        QStringLiteral("select coalesce(o.POLUCHENO, 0), (select count(*) from SKLAD_DVIGENIE d where d.AUTONUM_SKLOB = o.AUTONUM)"
                       " from SKL_OBEKTI_MATERIALI o where o.AUTONUM = :K"),
        {{QStringLiteral("K"), key}});
    const double received = r.rows.front()[0].toDouble();
    const bool whole = r.rows.front()[1].toInt() == 0 && std::abs(received - quantity) < kEpsilon;
    db.executeProcedure(QStringLiteral("DEL_UPD_SKLOB_MATERIALI"),
                        {{QStringLiteral("DEL_UPD"), whole ? 1 : 0},
                         {QStringLiteral("AUTONUM"), key},
                         {QStringLiteral("NEW_POLUCHENO"), received - quantity}});
}

bool documentTaken(SQLConnection& db, const QString& document)
{
    return !db.query(QStringLiteral("select 1 from SKLOB_VYRNATI where NFAKTURA = :N"
                                    " union all select first 1 1 from SKLAD where NKONTRAGENT = :K and NFAKTURA = :N"),
                     {{QStringLiteral("N"), document}, {QStringLiteral("K"), kObjectCounterparty}})
                .isEmpty();
}

QString takeReturnDocument(SQLConnection& db, int object, int line)
{
    for (int repeat = 1;; ++repeat) {
        const QString document = returnDocument(object, line, repeat);
        if (document.isEmpty())
            throw refused(QStringLiteral("Няма свободен номер на документ за връщане на реда !"));
        if (documentTaken(db, document)) continue;
        db.execute(QStringLiteral("insert into SKLOB_VYRNATI (NFAKTURA, AUTONUM_SKLOB) values (:N, :L)"),
                   {{QStringLiteral("N"), document}, {QStringLiteral("L"), line}});
        return document;
    }
}

Saved store(SQLConnection& db, const Transfer& t)
{
    Saved saved;
    TransactionScope tx(db);
    if (t.mode == Mode::FromWarehouse || t.mode == Mode::BetweenObjects) {
        saved.receiptNumber = t.reservedNumber > 0 && ObjectReceipts::stillReserved(db, t.reservedNumber)
                                  ? t.reservedNumber
                                  : ObjectReceipts::take(db);
        const bool fromWarehouse = t.mode == Mode::FromWarehouse;
        for (const Line& line : t.lines) {
            const QVariantMap out = db.executeProcedure(
                fromWarehouse ? QStringLiteral("SKLAD_SKLOB_MAT_ZAPIS") : QStringLiteral("SKLOB_SKLOB_MAT_ZAPIS"),
                {{QStringLiteral("NSKL_OBEKT"), t.target},
                 {QStringLiteral("NUM_SKL_RAZP"), saved.receiptNumber},
                 {QStringLiteral("NUMMATERIAL"), line.material},
                 {QStringLiteral("BROI_MAT_ART"), line.quantity},
                 {QStringLiteral("DOSTCENA"), line.price},
                 {QStringLiteral("DATEPOLUCHENO"), t.date},
                 {fromWarehouse ? QStringLiteral("NSKLAD_IZTOCHNIK") : QStringLiteral("NSKL_OBEKT_IZTOCHNIK"),
                  fromWarehouse ? t.sourceWarehouse : t.sourceObject},
                 {QStringLiteral("NMOL_FIRMA"), t.mol},
                 {fromWarehouse ? QStringLiteral("IAUTONUM_SKLAD") : QStringLiteral("IAUTONUM_SKLOB"),
                  line.sourceLine > 0 ? QVariant(line.sourceLine) : QVariant()}});
            saved.keys.append(out.value(QStringLiteral("AUTONUM")).toInt());
        }
    } else {
        for (const Line& line : t.lines) {
            checkLine(db, t, line);
            giveBack(db, line.sourceLine, line.quantity);
            if (t.mode != Mode::ToCompanyWarehouse) continue;
            const QString document = takeReturnDocument(db, t.sourceObject, line.sourceLine);
            const QVariantMap out = db.executeProcedure(
                QStringLiteral("ADDDOSTAVKA"),
                {{QStringLiteral("NMATERIAL"), line.material},
                 {QStringLiteral("KOLICHESTVO"), line.quantity},
                 {QStringLiteral("KOLICH_SERII"), 0},
                 {QStringLiteral("ED_CENA_LV"), line.price},
                 {QStringLiteral("USD"), 0},
                 {QStringLiteral("EUR"), 0},
                 {QStringLiteral("DATEPOLUCHENO"), t.today},
                 {QStringLiteral("NKONTRAGENT"), kObjectCounterparty},
                 {QStringLiteral("NMOL"), 0},
                 {QStringLiteral("NFAKTURA"), document},
                 {QStringLiteral("DATEFAKTURA"), t.date}});
            saved.keys.append(out.value(QStringLiteral("AUTONUM")).toInt());
            saved.documents.append(document);
        }
    }
    tx.commit();
    return saved;
}

} // namespace

QString emptyMessage() { return QStringLiteral("Липсват данни за запис!"); }
QString saveQuestion() { return QStringLiteral(" Запис в складов обект ?"); }

QString saveRefusal(const Transfer& t)
{
    switch (t.mode) {
    case Mode::FromWarehouse:
        if (t.target <= 0 || t.sourceWarehouse <= 0)
            return QStringLiteral("Не е избран склад източник или склад за прехвърляне  !");
        break;
    case Mode::BetweenObjects:
        if (t.target <= 0 || t.sourceObject <= 0 || t.target == t.sourceObject
            || (!t.targetName.isEmpty() && t.targetName == t.sourceObjectName))
            return QStringLiteral("Некоректно зададени складове за прехвърляне ?");
        break;
    case Mode::ToSourceWarehouse:
        if (t.sourceObject <= 0) return QStringLiteral("Не е избран склад източник или склад за възстановяване  !");
        break;
    case Mode::ToCompanyWarehouse:
        if (t.sourceObject <= 0) return QStringLiteral("Не е зададен складов обект ?");
        break;
    }
    if (t.lines.isEmpty()) return emptyMessage();
    return {};
}

Saved save(SQLConnection& db, const Transfer& transfer)
{
    if (const QString why = saveRefusal(transfer); !why.isEmpty()) throw refused(why);
    for (int attempt = 1;; ++attempt) {
        try {
            return ObjectReceipts::retryWhileTaken<Saved>([&] { return store(db, transfer); });
        } catch (const DbError& e) {
            // Inside a caller's transaction the conflict dooms that transaction: passed on.
            if (attempt >= kAttempts || classify(e) != DbProblem::Conflict || TransactionScope::isOpen(db)) throw;
        }
    }
}

int deliveryReceipt(SQLConnection& db, int deliveryLine)
{
    const DbResult r = db.query(QStringLiteral("select coalesce(NSKLRAZP, 0) from SKLAD where AUTONUM = :K"),
                                {{QStringLiteral("K"), deliveryLine}});
    return r.isEmpty() ? 0 : r.rows.front()[0].toInt();
}


double warehouseOnHand(SQLConnection& db, int material)
{
    const DbResult r = db.selectProcedure(QStringLiteral("SKLAD_MAT_NALICH_SUM"), {{QStringLiteral("NUMMATERIAL"), material}});
    return r.isEmpty() ? 0 : r.rows.front()[0].toDouble();
}

double objectOnHand(SQLConnection& db, int material, int object)
{
    const DbResult r = db.selectProcedure(QStringLiteral("SKLOB_MAT_NALICH_SUM"),
                                          {{QStringLiteral("NUMMATERIAL"), material}, {QStringLiteral("NUMSKLOB"), object}});
    return r.isEmpty() ? 0 : r.rows.front()[0].toDouble();
}

QString returnDocument(int object, int line, int repeat)
{
    const QString head = QString::number(object).rightJustified(2, QLatin1Char('0')).left(2) + QLatin1Char('_');
    const QString suffix = repeat > 1 ? QLatin1Char('/') + QString::number(repeat) : QString();
    for (const QString& key : {QString::number(line), QString::number(line, 36).toUpper()})
        if (const QString document = head + key + suffix; document.size() <= kDocumentWidth) return document;
    return {};
}

} // namespace ObjectTransfers
