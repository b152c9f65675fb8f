#include "reference/counterparties.h"

#include "platform/db/connection.h"
#include "reference/refusals.h"

QString Counterparties::deleteRefusal(SQLConnection& db, const QVariant& key)
{
    const QString end = QStringLiteral(" този контрагент, изтриването - НЕВЪЗМОЖНО !");
    const auto count = [](const char* table) {
        return QStringLiteral("select count(NKONTRAGENT) as broi from %1 where NKONTRAGENT=:INkontragent")
            .arg(QString::fromLatin1(table));
    };
    return Refusals::firstRefusal(
        db,
        {
            {count("prodagbi"), QStringLiteral("Има продажба на") + end},
            {count("prodagbi_plastane"), QStringLiteral("Има плащане от") + end},
            {count("sklad"), QStringLiteral("Има доставка от") + end},
            {count("dostavki_plastane"), QStringLiteral("Има плащане към") + end},
            // Tables the counterparty's row is kept by as well.
            {count("kontr_mat_ceni"), QStringLiteral("Има специални цени на") + end},
            {QStringLiteral("select (select count(*) from amb_firma_dost where NKONTRAGENT=:INkontragent) + "
                            "(select count(*) from amb_dost_firma where NKONTRAGENT=:INkontragent) as broi "
                            "from rdb$database"),
             QStringLiteral("Има амбалаж на") + end},
            {QStringLiteral("select count(*) as broi from sklad_dost_brak "
                            "where NKONTRAGENT=:INkontragent or NKONTR_BRAK=:INkontragent"),
             QStringLiteral("Има брак към") + end},
            {count("porychki"), QStringLiteral("Има поръчка на") + end},
        },
        QStringLiteral("INkontragent"), key);
}

void Counterparties::removeSpecialPrice(SQLConnection& db, const QVariant& autonum)
{
    db.executeProcedure(QStringLiteral("DEL_KONTR_MAT_CENI"), {{QStringLiteral("Num_Zapis"), autonum}});
}
