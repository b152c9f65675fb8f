#include "warehouse/stocklines.h"

#include "platform/db/connection.h"

#include <QtMath>

namespace StockLines {

namespace {
QVariant dateOrNull(const std::optional<QDate>& date)
{
    return date && date->isValid() ? QVariant(*date) : QVariant();
}
QDate dateOf(const QVariant& v)
{
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
}
// Hundredths rounded half to even, as the correction compares quantities.
qint64 hundredths(double quantity)
{
    return static_cast<qint64>(std::nearbyint(quantity * 100));
}
bool markedWithCompanyAlias(const QString& document, const QString& companyAlias)
{
    return !companyAlias.isEmpty() && document.size() > 3 && document.chopped(3) == companyAlias;
}
} // namespace

std::optional<Line> read(SQLConnection& db, int key)
{
    const DbResult r = db.query(
        QStringLiteral("select s.NMATERIAL, s.NKONTRAGENT, s.NFAKTURA, s.DATEFAKTURA, s.DATEPOLUCHENO, s.KOLICHESTVO,"
                       " s.ED_CENA_LV, s.USD, s.EUR, s.PROCENT_OTST, s.PROCENT_DDS, s.KOMIS, s.NUMSHIFYR, s.DATEGODNOST,"
                       " (select coalesce(sum(iif(d.VID_DVIGENIE = 4, d.KOLICHESTVO, 0)), 0) from SKLAD_DVIGENIE d where d.AUTONUM_SKLAD = s.AUTONUM),"
                       " (select coalesce(sum(iif(d.VID_DVIGENIE = 2, d.KOLICHESTVO, 0)), 0) from SKLAD_DVIGENIE d where d.AUTONUM_SKLAD = s.AUTONUM),"
                       " (select coalesce(sum(iif(d.VID_DVIGENIE = 1, d.KOLICHESTVO, 0)), 0) from SKLAD_DVIGENIE d where d.AUTONUM_SKLAD = s.AUTONUM),"
                       " (select coalesce(sum(iif(d.VID_DVIGENIE = 3, d.KOLICHESTVO, 0)), 0) from SKLAD_DVIGENIE d where d.AUTONUM_SKLAD = s.AUTONUM),"
                       " t.SKLAD, m.IMEMATERIAL, k.IMEKONTRAGENT, p.IMEFULL,"
                       " (select count(*) from IZDELIE i where i.AUTONUM_SKLAD = s.AUTONUM)"
                       " from SKLAD s"
                       " left join MATERIALI m on m.NMATERIAL = s.NMATERIAL"
                       " left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD"
                       " left join KONTRAGENTI k on k.NKONTRAGENT = s.NKONTRAGENT"
                       " left join VIEWPERSONAL p on p.SHIFYR = s.NUMSHIFYR"
                       " where s.AUTONUM = :K"),
        {{QStringLiteral("K"), key}});
    if (r.isEmpty())
        return std::nullopt;
    const DbRow& row = r.rows.front();
    Line line;
    line.key = key;
    line.material = row[0].toInt();
    line.supplier = row[1].toInt();
    line.document = row[2].toString();
    line.documentDate = dateOf(row[3]);
    line.received = dateOf(row[4]);
    line.quantity = row[5].toDouble();
    line.priceLv = row[6].toDouble();
    line.priceUsd = row[7].toDouble();
    line.priceEur = row[8].toDouble();
    line.discountPct = row[9].toDouble();
    line.vatPct = row[10].toDouble();
    line.commission = row[11].toDouble();
    line.purchaser = row[12].toInt();
    if (!row[13].isNull())
        line.expiry = dateOf(row[13]);
    line.defective = row[14].toDouble();
    line.drawn = row[15].toDouble();
    line.sold = row[16].toDouble();
    line.dispatched = row[17].toDouble();
    line.warehouseName = row[18].toString();
    line.materialName = row[19].toString();
    line.supplierName = row[20].toString();
    line.purchaserName = row[21].toString();
    line.fromBatch = row[22].toInt() > 0;
    return line;
}

QString companyAlias(SQLConnection& db)
{
    const DbResult r = db.query(QStringLiteral("select PSEVDONIM_FIRMA from FIRMA"));
    return r.isEmpty() ? QString() : r.rows.front()[0].toString().trimmed();
}

bool ownProduction(const Line& line, const QString& companyAlias)
{
    return line.fromBatch || markedWithCompanyAlias(line.document, companyAlias);
}

QString deleteRefusal(const Line& line, const QString& companyAlias)
{
    if (ownProduction(line, companyAlias))
        return QStringLiteral("Собствено производство - ИЗТРИВАНЕТО ЗАБРАНЕНО !  ");
    if (line.defective > 0 || line.drawn > 0 || line.sold > 0 || line.dispatched > 0)
        return QStringLiteral("Има изразходвани количества от доставката - ИЗТРИВАНЕТО ЗАБРАНЕНО !  ");
    return {};
}

void remove(SQLConnection& db, int key)
{
    db.executeProcedure(QStringLiteral("DEL_DOSTAVKA"), {{QStringLiteral("IAUTONUM"), key}});
}

QString correctionRefusal(const Line& line, double quantity)
{
    if (hundredths(quantity) < hundredths(line.outflow()))
        return QStringLiteral("Въведеното количество е по-малко от изписаното+продаденото+експедираното !");
    return {};
}

void correct(SQLConnection& db, const Correction& c)
{
    db.executeProcedure(QStringLiteral("UPDATESKLAD"),
                        {{QStringLiteral("NAUTONUM"), c.key},
                         {QStringLiteral("SHIFYR"), c.purchaser},
                         {QStringLiteral("KOLICHESTVO"), c.quantity},
                         {QStringLiteral("EDCENALV"), c.priceLv},
                         {QStringLiteral("USD"), c.priceUsd},
                         {QStringLiteral("EUR"), c.priceEur},
                         {QStringLiteral("PROCENT_OTST"), c.discountPct},
                         {QStringLiteral("PROCENT_DDS"), c.vatPct},
                         {QStringLiteral("KOMIS"), c.commission},
                         {QStringLiteral("UPD_GODNOST"), c.writeExpiry ? 1 : 0},
                         {QStringLiteral("DATEGODNOST"), dateOrNull(c.expiry)}});
}

void setPrices(SQLConnection& db, int key, double priceLv, double priceUsd, double priceEur)
{
    db.execute(QStringLiteral("update SKLAD set ED_CENA_LV = :L, USD = :U, EUR = :E where AUTONUM = :K"),
               {{QStringLiteral("L"), priceLv}, {QStringLiteral("U"), priceUsd}, {QStringLiteral("E"), priceEur},
                {QStringLiteral("K"), key}});
}

QString defectRefusalMessage()
{
    return QStringLiteral("Задължителни полета за въвеждане - Количество за брак, Контрагент, № и дата на документ, ед.цена !!! ");
}

QString defectRefusal(const Line& line, const DefectClaim& claim)
{
    const bool ok = claim.quantity > 0 && hundredths(line.onHand()) >= hundredths(claim.quantity)
                    && claim.counterparty > 0 && !claim.claimDocument.trimmed().isEmpty()
                    && claim.claimDocumentDate && claim.claimDocumentDate->isValid()
                    && (claim.priceLv > 0 || claim.priceUsd > 0 || claim.priceEur > 0);
    return ok ? QString() : defectRefusalMessage();
}

int recordDefect(SQLConnection& db, const DefectClaim& claim)
{
    const QVariantMap out = db.executeReturning(
        QStringLiteral("insert into SKLAD_DOST_BRAK (AUTONUM_SKLAD, DATE_BRAK, NMATERIAL, KOLICH_BRAK, ED_CENA_LV, USD, EUR,"
                       " NKONTRAGENT, NFAKTURA, DATEFAKTURA, NKONTR_BRAK, NFAKTURA_BRAK, DATEFAKTURA_BRAK)"
                       " select s.AUTONUM, :DATE_BRAK, s.NMATERIAL, :KOLICH_BRAK, :ED_CENA_LV, :USD, :EUR,"
                       " s.NKONTRAGENT, s.NFAKTURA, s.DATEFAKTURA, :NKONTR_BRAK, :NFAKTURA_BRAK, :DATEFAKTURA_BRAK"
                       " from SKLAD s where s.AUTONUM = :LINE returning AUTONUM"),
        {{QStringLiteral("LINE"), claim.line},
         {QStringLiteral("DATE_BRAK"), claim.date},
         {QStringLiteral("KOLICH_BRAK"), claim.quantity},
         {QStringLiteral("ED_CENA_LV"), claim.priceLv},
         {QStringLiteral("USD"), claim.priceUsd},
         {QStringLiteral("EUR"), claim.priceEur},
         {QStringLiteral("NKONTR_BRAK"), claim.counterparty},
         {QStringLiteral("NFAKTURA_BRAK"), claim.claimDocument},
         {QStringLiteral("DATEFAKTURA_BRAK"), dateOrNull(claim.claimDocumentDate)}});
    return out.value(QStringLiteral("AUTONUM")).toInt();
}

void removeDefect(SQLConnection& db, int claimKey)
{
    db.execute(QStringLiteral("delete from SKLAD_DOST_BRAK where AUTONUM = :K"), {{QStringLiteral("K"), claimKey}});
}

} // namespace StockLines
