#include "reference/places.h"

#include "reference/refusals.h"

using Refusals::firstRefusal;
using Refusals::onItsOwnLine;

QString ReferenceLists::warehouseDeleteRefusal(SQLConnection& db, const QVariant& warehouse)
{
    return firstRefusal(db,
                        {{QStringLiteral("select count(nsklad)as broi from materiali where nsklad=:iNsklad"),
                          QStringLiteral("Има материали в този склад! Изтриването е невъзможно !")}},
                        QStringLiteral("iNsklad"), warehouse);
}

QString ReferenceLists::unitDeleteRefusal(SQLConnection& db, const QVariant& unit)
{
    return firstRefusal(db,
                        {{QStringLiteral("select count(nmaterial)as broi from materiali where nMiarka=:inMiarka"),
                          QStringLiteral("Има материали с тази мярка ! Изтриването е невъзможно !")}},
                        QStringLiteral("inMiarka"), unit);
}

QString ReferenceLists::townDeleteRefusal(SQLConnection& db, const QVariant& postCode)
{
    return firstRefusal(
        db,
        {{QStringLiteral("select count(PostKod) as broi from kontragenti where PostKod=:iPostKod"),
          onItsOwnLine(QStringLiteral("Има контрагенти свързани с това населено място!"))},
         // Rows that keep the town as well: the company, its offices and the staff.
         {QStringLiteral("select count(*) as broi from firma where PostKod=:iPostKod"),
          onItsOwnLine(QStringLiteral("Има фирмени данни свързани с това населено място!"))},
         {QStringLiteral("select count(*) as broi from firma_ofisi where PostKod=:iPostKod"),
          onItsOwnLine(QStringLiteral("Има офиси на фирмата свързани с това населено място!"))},
         {QStringLiteral("select count(*) as broi from personal where Post_Kod=:iPostKod or Post_Kod_RPU=:iPostKod"),
          onItsOwnLine(QStringLiteral("Има персонал свързан с това населено място!"))}},
        QStringLiteral("iPostKod"), postCode);
}

QString ReferenceLists::countryDeleteRefusal(SQLConnection& db, const QVariant& country)
{
    return firstRefusal(db,
                        {{QStringLiteral("select count(Kod_Country)as broi from kontragenti where Kod_Country=:iKodCountry"),
                          onItsOwnLine(QStringLiteral("Има контрагенти свързани с тази държава!"))},
                         // Towns keep their country as well.
                         {QStringLiteral("select count(*) as broi from gradove where Kod_Country=:iKodCountry"),
                          onItsOwnLine(QStringLiteral("Има населени места свързани с тази държава!"))}},
                        QStringLiteral("iKodCountry"), country);
}

QString ReferenceLists::counterpartyTypeDeleteRefusal(SQLConnection& db, const QVariant& type)
{
    return firstRefusal(
        db,
        {{QStringLiteral("select count(NTip_Kontragent)as broi from kontragenti where NTip_Kontragent=:iTipKontr"),
          onItsOwnLine(QStringLiteral("Има контрагенти свързани с тази тип!"))}},
        QStringLiteral("iTipKontr"), type);
}
