#include "warehouse/deliveries.h"

#include "platform/base/formats.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/transaction.h"
#include "warehouse/objectreceipts.h"

#include <QSet>

#include <cmath>

namespace Deliveries {

namespace {
QVariant dateOrNull(const std::optional<QDate>& date)
{
    return date && date->isValid() ? QVariant(*date) : QVariant();
}

// A payment is stored as the window shows it: to the stotinka.
double toStotinka(double amount) { return std::round(amount * 100) / 100; }
} // namespace

double Line::net(double price, double discountPct, double vatPct)
{
    const double discounted = price - price * discountPct / 100;
    return discounted + discounted * vatPct / 100;
}

int proposeReceiptNumber(SQLConnection& db, int year)
{
    // The registry holds numbers whose lines were deleted since, so they are not proposed again.
    const DbResult r = db.query(
        QStringLiteral("select max(N) from (select NSKLRAZP as N from SKLAD where DATEFAKTURA >= :OT and DATEFAKTURA < :DO"
                       " union all select NSKLRAZP from SKLAD_RAZPISKI where GODINA = :G)"),
        {{QStringLiteral("OT"), QDate(year, 1, 1)}, {QStringLiteral("DO"), QDate(year + 1, 1, 1)},
         {QStringLiteral("G"), year}});
    const QVariant max = r.rows.front()[0];
    return max.isNull() ? 1 : max.toInt() + 1;
}

bool receiptNumberTaken(SQLConnection& db, int year, int number)
{
    // Lines stored before the registry existed, or by another path, hold their number too.
    return !db.query(QStringLiteral("select 1 from SKLAD_RAZPISKI where GODINA = :G and NSKLRAZP = :N"
                                    " union all select first 1 1 from SKLAD where NSKLRAZP = :N"
                                    " and DATEFAKTURA >= :OT and DATEFAKTURA < :DO"),
                     {{QStringLiteral("G"), year}, {QStringLiteral("N"), number},
                      {QStringLiteral("OT"), QDate(year, 1, 1)}, {QStringLiteral("DO"), QDate(year + 1, 1, 1)}})
                .isEmpty();
}

QString receiptNumberTakenMessage(int year, int number)
{
    return QStringLiteral("Складова разписка № %1 за %2 г. вече е записана !").arg(number).arg(year);
}

bool documentStored(SQLConnection& db, int material, int supplier, const QString& document, const QDate& date)
{
    return !db.query(QStringLiteral("select first 1 NMATERIAL from SKLAD where NMATERIAL = :M and NKONTRAGENT = :K"
                                    " and NFAKTURA = :F and DATEFAKTURA = :D and NMATERIAL > 0"),
                     {{QStringLiteral("M"), material}, {QStringLiteral("K"), supplier},
                      {QStringLiteral("F"), document}, {QStringLiteral("D"), date}})
                .isEmpty();
}

QString duplicateDocumentMessage() { return QStringLiteral("Има въведен документ с тези данни в склада !"); }

double storedCalculationPrice(SQLConnection& db, int material)
{
    const DbResult r = db.query(QStringLiteral("select ED_CENA from MATERIALI where NMATERIAL = :M"),
                                {{QStringLiteral("M"), material}});
    return r.isEmpty() ? 0 : r.rows.front()[0].toDouble();
}

bool calculationPriceWithinRange(double stored, double price)
{
    return stored / 1.2 < price && price < stored * 1.2;
}

QString calculationPriceQuestion(const QString& materialName, double price, double stored)
{
    return QStringLiteral(" Доставната цена на - ") + materialName + QStringLiteral(" - ")
           + Formats::formatNumber(price, QStringLiteral("# ### ##0.000"))
           + QStringLiteral(" лв. се различава с повече от 20% от въведената за калкулация - ")
           + Formats::formatNumber(stored, QStringLiteral("# ### ##0.000")) + QStringLiteral(" лв.")
           + QStringLiteral("\n\n\t\t\t\t\t\tЖЕЛАЕТЕ ЛИ ПРОМЯНА ?");
}

void setCalculationPrice(SQLConnection& db, int material, double price)
{
    db.execute(QStringLiteral("update MATERIALI set ED_CENA = :P where NMATERIAL = :M"),
               {{QStringLiteral("P"), price}, {QStringLiteral("M"), material}});
}

bool calculationPriceExempt(SQLConnection& db, const QString& exemptVatNumber)
{
    if (exemptVatNumber.isEmpty()) return false;
    const DbResult r = db.query(QStringLiteral("select BULSTAT from FIRMA"));
    return !r.isEmpty() && r.rows.front()[0].toString().trimmed() == exemptVatNumber;
}

void offerCalculationPrice(SQLConnection& db, AgreedPrices& agreed, int material, const QString& materialName,
                           double price, const std::function<bool(const QString&)>& ask)
{
    const double inForce = agreed.contains(material) ? agreed.value(material) : storedCalculationPrice(db, material);
    if (calculationPriceWithinRange(inForce, price) || ask(calculationPriceQuestion(materialName, price, inForce)))
        agreed.insert(material, price);
}

QVector<CalculationPrice> toCalculationPrices(const AgreedPrices& agreed)
{
    QVector<CalculationPrice> out;
    for (auto it = agreed.begin(); it != agreed.end(); ++it)
        out.append({it.key(), it.value()});
    return out;
}

bool expiryLongPast(const QDate& expiry, const QDate& today)
{
    return expiry.isValid() && today.addDays(-10) > expiry;
}

QString expiryLongPastMessage(const QString& materialName, const QDate& expiry)
{
    return QStringLiteral("Срокът на годност на ") + materialName + QStringLiteral(" (")
           + Formats::dateToText(expiry)
           + QStringLiteral(") е изтекъл преди повече от 10 дни - проверете датата !");
}

QString skippedLineMessage(const QString& materialName)
{
    return QStringLiteral("Не е въведено количество за ") + materialName
           + QStringLiteral("\n   ТОЗИ МАТЕРИАЛ НЯМА ДА БЪДЕ ЗАПИСАН С ДОСТАВКАТА !");
}

Saved save(SQLConnection& db, const Header& header, const QVector<Line>& lines,
           const QVector<CalculationPrice>& calculationPrices)
{
    Saved saved;
    TransactionScope tx(db);
    bool anyStorable = false;
    for (const Line& line : lines)
        anyStorable = anyStorable || line.storable();
    if (anyStorable && header.receiptNumber > 0)
        db.execute(QStringLiteral("insert into SKLAD_RAZPISKI (GODINA, NSKLRAZP) values (:G, :N)"),
                   {{QStringLiteral("G"), header.documentDate.year()}, {QStringLiteral("N"), header.receiptNumber}});
    double lv = 0, usd = 0, eur = 0;
    QSet<int> storedMaterials;
    for (const Line& line : lines) {
        if (!line.storable())
            continue;
        const QVariantMap out = db.executeProcedure(
            QStringLiteral("ADDDOSTAVKA"),
            {{QStringLiteral("SHIFYR"), header.purchaser},
             {QStringLiteral("NSKLRAZP"), header.receiptNumber},
             {QStringLiteral("KOMIS"), header.commission},
             {QStringLiteral("NMATERIAL"), line.material},
             {QStringLiteral("KOLICHESTVO"), line.quantity},
             {QStringLiteral("PROCENT_DDS"), line.vatPct},
             {QStringLiteral("PROCENT_OTST"), line.discountPct},
             {QStringLiteral("ED_CENA_LV"), line.priceLv},
             {QStringLiteral("USD"), line.priceUsd},
             {QStringLiteral("EUR"), line.priceEur},
             {QStringLiteral("DATEPOLUCHENO"), header.received},
             {QStringLiteral("NKONTRAGENT"), header.supplier},
             {QStringLiteral("NMOL"), header.supplierMol},
             {QStringLiteral("NFAKTURA"), header.document},
             {QStringLiteral("DATEFAKTURA"), header.documentDate},
             {QStringLiteral("KOLICH_SERII"), 0},
             {QStringLiteral("DATEGODNOST"), dateOrNull(line.expiry)}});
        saved.lineKeys.append(out.value(QStringLiteral("AUTONUM")).toInt());
        storedMaterials.insert(line.material);
        lv += line.totalLv();
        usd += line.totalUsd();
        eur += line.totalEur();
    }
    // A price agreed for a line that was deleted or skipped since is not the delivery's to set.
    for (const CalculationPrice& price : calculationPrices)
        if (storedMaterials.contains(price.material))
            setCalculationPrice(db, price.material, price.price);
    if (!saved.lineKeys.isEmpty()) {
        const QVariantMap out = db.executeProcedure(
            QStringLiteral("ADDDOSTAVKI_PLASTANE"),
            {{QStringLiteral("SHIFYR"), header.purchaser},
             {QStringLiteral("NKONTRAGENT"), header.supplier},
             {QStringLiteral("NFAKTURA"), header.document},
             {QStringLiteral("DATEFAKTURA"), header.documentDate},
             {QStringLiteral("PLATENO_DATE"), header.received},
             {QStringLiteral("PLATENO_LV"), header.payAtOnce ? toStotinka(lv) : header.paidLv},
             {QStringLiteral("PLATENO_USD"), header.payAtOnce ? toStotinka(usd) : header.paidUsd},
             {QStringLiteral("PLATENO_EUR"), header.payAtOnce ? toStotinka(eur) : header.paidEur}});
        saved.paymentKey = out.value(QStringLiteral("AUTONUM")).toInt();
    }
    tx.commit();
    saved.receiptNumber = header.receiptNumber;
    return saved;
}

Saved saveRenumbering(SQLConnection& db, Header header, const QVector<Line>& lines,
                      const QVector<CalculationPrice>& calculationPrices)
{
    const int year = header.documentDate.year();
    for (int attempt = 0;; ++attempt) {
        try {
            return save(db, header, lines, calculationPrices);
        } catch (const DbError&) {
            // Only a number taken meanwhile is retried; the failed attempt has stored nothing.
            if (attempt >= 20 || header.receiptNumber <= 0 || !receiptNumberTaken(db, year, header.receiptNumber))
                throw;
            header.receiptNumber = proposeReceiptNumber(db, year);
        }
    }
}

bool objectDocumentStored(SQLConnection& db, int material, int supplier, const QString& document, const QDate& date)
{
    return !db.query(QStringLiteral("select first 1 NMATERIAL from SKL_OBEKTI_MATERIALI where NMATERIAL = :M"
                                    " and NKONTRAGENT = :K and NFAKTURA = :F and DATEFAKTURA = :D and NMATERIAL > 0"),
                     {{QStringLiteral("M"), material}, {QStringLiteral("K"), supplier},
                      {QStringLiteral("F"), document}, {QStringLiteral("D"), date}})
                .isEmpty();
}

QString objectDuplicateDocumentMessage() { return QStringLiteral("Има въведен документ с този материал в склада !"); }

int saveToWarehouseObject(SQLConnection& db, const Header& header, int warehouseObject, const QVector<Line>& lines)
{
    return ObjectReceipts::retryWhileTaken<int>([&] { return storeInWarehouseObject(db, header, warehouseObject, lines); });
}

int storeInWarehouseObject(SQLConnection& db, const Header& header, int warehouseObject, const QVector<Line>& lines)
{
    bool anyStorable = false;
    for (const Line& line : lines)
        anyStorable = anyStorable || line.storable();
    if (!anyStorable) return 0;
    TransactionScope tx(db);
    const int number = ObjectReceipts::take(db);
    int position = 0;
    for (const Line& line : lines) {
        if (!line.storable())
            continue;
        db.executeProcedure(QStringLiteral("ADDDOSTAVKA_SKLOB"),
                            {{QStringLiteral("ADD_UPD"), 1},
                             {QStringLiteral("NAUTONUM"), QVariant()},
                             {QStringLiteral("NUM_SKL_RAZP"), number},
                             {QStringLiteral("NUM_SKL_RAZP_DOPN"), ++position},
                             {QStringLiteral("NSKL_OBEKT"), warehouseObject},
                             {QStringLiteral("NMATERIAL"), line.material},
                             {QStringLiteral("KOLICHESTVO"), line.quantity},
                             {QStringLiteral("ED_CENA_LV"), line.priceLv},
                             {QStringLiteral("USD"), line.priceUsd},
                             {QStringLiteral("EUR"), line.priceEur},
                             {QStringLiteral("DATEPOLUCHENO"), header.received},
                             {QStringLiteral("NKONTRAGENT"), header.supplier},
                             {QStringLiteral("NFAKTURA"), header.document},
                             {QStringLiteral("DATEFAKTURA"), header.documentDate}});
    }
    tx.commit();
    return number;
}

} // namespace Deliveries
