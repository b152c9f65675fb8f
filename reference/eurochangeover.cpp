#include "reference/eurochangeover.h"

#include "platform/base/formats.h"
#include "platform/db/connection.h"
#include "platform/db/transaction.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace {

// The date column of every table whose rows are money documents.
const struct
{
    const char* table;
    const char* column;
} kDocumentDates[] = {
    {"PRODAGBI", "DATEFAKTURA"},         {"SKLAD", "DATEFAKTURA"},          {"SKLAD_DOST_BRAK", "DATE_BRAK"},
    {"SKL_OBEKTI_MATERIALI", "DATEPOLUCHENO"}, {"PRODAGBI_PLASTANE", "PLASTANE_DATE"},
    {"DOSTAVKI_PLASTANE", "PLATENO_DATE"}, {"KASA", "DATEKO"},              {"ISKANIA", "DATEISKANE"},
    {"IZDELIE", "DATEIZDELIE"},          {"SLUG_AVANS", "SUMA_DATE"},       {"SLUG_OTCHET", "SUMA_DATE"},
};

// "exists(...) or exists(...)" over every document table, with the comparison given.
QString anyDocument(const QString& comparison)
{
    QStringList parts;
    for (const auto& d : kDocumentDates)
        parts << u"exists(select 1 from %1 where %2 %3 :DAY)"_s.arg(QString::fromLatin1(d.table),
                                                                   QString::fromLatin1(d.column), comparison);
    return parts.join(u" or "_s);
}

QVariant euro(const QVariant& leva)
{
    if (leva.isNull()) return {};
    return BaseCurrency::levaToEuro(leva.toDouble());
}

} // namespace

bool EuroChangeover::documentsOnBothSides(SQLConnection& db, const QDate& day)
{
    const QString sql = u"select case when (%1) and (%2) then 1 else 0 end from RDB$DATABASE"_s.arg(
        anyDocument(u"<"_s), anyDocument(u">="_s));
    return db.query(sql, {{u"DAY"_s, QDateTime(day, QTime(0, 0))}}).rows.front()[0].toInt() == 1;
}

QString EuroChangeover::settingRefusal(SQLConnection& db, const BaseCurrency::Settings& wanted)
{
    using BaseCurrency::Currency;
    const BaseCurrency::Settings stored = BaseCurrency::Settings::read(db);
    if (stored.currency != Currency::Euro || wanted == stored) return {};
    const bool backToLeva = wanted.currency == Currency::Leva;
    const QString impossible =
        backToLeva ? u"Връщането към лева е невъзможно !"_s : u"Промяната на датата е невъзможна !"_s;
    if (documentsOnBothSides(db, stored.cutover))
        return u"Има документи и преди, и след датата на преминаване към евро %1 !\r"_s.arg(
                   Formats::dateToText(stored.cutover)) +
               impossible;
    if (backToLeva && pricesConvertedAt(db).isValid()) return u"Цените вече са преизчислени в евро !\r"_s + impossible;
    return {};
}

QDateTime EuroChangeover::pricesConvertedAt(SQLConnection& db)
{
    const DbResult r = db.query(u"select DATA_PRESMETANE from PRESMETANE_CENI_EVRO where NPRESMETANE = 1"_s);
    return r.isEmpty() ? QDateTime() : r.rows.front()[0].toDateTime();
}

EuroChangeover::PriceConversion EuroChangeover::convertPrices(SQLConnection& db, const QDateTime& at)
{
    using Outcome = PriceConversion::Outcome;
    PriceConversion result;
    TransactionScope transaction(db);
    if (BaseCurrency::Settings::read(db).currency != BaseCurrency::Currency::Euro) return result;
    result.at = pricesConvertedAt(db);
    if (result.at.isValid()) {
        result.outcome = Outcome::AlreadyConverted;
        return result;
    }
    result.at = at;
    const SqlParams when{{u"AT"_s, at}};

    // The run's row first: a second run started at the same moment waits for it, then fails on its key.
    db.execute(u"insert into PRESMETANE_CENI_EVRO (NPRESMETANE, DATA_PRESMETANE) values (1, :AT)"_s, when);

    const QString priced = u"ED_CENA is not null or PRODAGNA_CENA is not null or PROD_CENA_LV_DREBNO is not null"_s;
    db.execute(u"insert into MATERIALI_CENI_LV (NMATERIAL, ED_CENA, PRODAGNA_CENA, PROD_CENA_LV_DREBNO, "
               u"DATA_PRESMETANE) select NMATERIAL, ED_CENA, PRODAGNA_CENA, PROD_CENA_LV_DREBNO, "
               u"cast(:AT as timestamp) from MATERIALI "
               u"where "_s + priced,
               when);
    const DbResult materials =
        db.query(u"select NMATERIAL, ED_CENA, PRODAGNA_CENA, PROD_CENA_LV_DREBNO from MATERIALI where "_s + priced);
    for (const DbRow& row : materials.rows)
        db.execute(u"update MATERIALI set ED_CENA = :ED_CENA, PRODAGNA_CENA = :PRODAGNA_CENA, "
                   u"PROD_CENA_LV_DREBNO = :PROD_CENA_LV_DREBNO where NMATERIAL = :NMATERIAL"_s,
                   {{u"NMATERIAL"_s, row[0]},
                    {u"ED_CENA"_s, euro(row[1])},
                    {u"PRODAGNA_CENA"_s, euro(row[2])},
                    {u"PROD_CENA_LV_DREBNO"_s, euro(row[3])}});
    result.materials = int(materials.rows.size());

    db.execute(u"insert into KONTR_MAT_CENI_LV (AUTONUM, NKONTRAGENT, NMATERIAL, SPEC_CENA, DATA_PRESMETANE) "
               u"select AUTONUM, NKONTRAGENT, NMATERIAL, SPEC_CENA, cast(:AT as timestamp) from KONTR_MAT_CENI "
               u"where SPEC_CENA is not null"_s,
               when);
    const DbResult special = db.query(u"select AUTONUM, SPEC_CENA from KONTR_MAT_CENI where SPEC_CENA is not null"_s);
    for (const DbRow& row : special.rows)
        db.execute(u"update KONTR_MAT_CENI set SPEC_CENA = :SPEC_CENA where AUTONUM = :AUTONUM"_s,
                   {{u"AUTONUM"_s, row[0]}, {u"SPEC_CENA"_s, euro(row[1])}});
    result.specialPrices = int(special.rows.size());

    db.execute(u"update PRESMETANE_CENI_EVRO set BROI_MATERIALI = :M, BROI_SPEC_CENI = :S where NPRESMETANE = 1"_s,
               {{u"M"_s, result.materials}, {u"S"_s, result.specialPrices}});
    transaction.commit();
    result.outcome = Outcome::Converted;
    return result;
}
