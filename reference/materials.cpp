#include "reference/materials.h"

#include "platform/db/connection.h"
#include "reference/refusals.h"

namespace {

const char* kUpdateSql =
    "update materiali set snimka=:snimka,imematerial=:imematerial,nmiarka=:nmiarka,nsklad=:nsklad,ed_cena=:ed_cena,"
    "prodagna_cena=:prodagnacena,prodagna_cena_usd=:prodagnacena_usd,prodagna_cena_eur=:prodagnacena_eur,"
    "min_kol=:min_kol,max_kol=:max_kol,SERIA_DA_NE=:SERIA_DA_NE,SUM_DA_NE=:SUM_DA_NE,Izch_da_ne=:Izch_da_ne,"
    "prod_cena_lv_drebno=:prod_cena_lv_drebno,prod_cena_usd_drebno=:prod_cena_usd_drebno,"
    "prod_cena_eur_drebno=:prod_cena_eur_drebno where NMATERIAL=:NMAT";
const char* kInsertSql =
    "insert into materiali(snimka,imematerial,nmiarka,nsklad,ed_cena,prodagna_cena,prodagna_cena_usd,"
    "prodagna_cena_eur,min_kol,max_kol,SERIA_DA_NE,SUM_DA_NE,Izch_da_ne,prod_cena_lv_drebno,prod_cena_usd_drebno,"
    "prod_cena_eur_drebno) values(:snimka,:imematerial,:nmiarka,:nsklad,:ed_cena,:prodagnacena,:prodagnacena_usd,"
    ":prodagnacena_eur,:min_kol,:max_kol,:SERIA_DA_NE,:SUM_DA_NE,:Izch_da_ne,:prod_cena_lv_drebno,"
    ":prod_cena_usd_drebno,:prod_cena_eur_drebno)";

// A null value stays null (an empty price is written as empty).
QVariant typed(const QVariant& v, QMetaType::Type type)
{
    if (!v.isValid() || v.isNull()) return QVariant();
    QVariant out = v;
    out.convert(QMetaType(type));
    return out;
}

} // namespace

bool Materials::nameInUse(SQLConnection& db, const QString& name)
{
    const DbResult r = db.query(QStringLiteral("select NMATERIAL FROM MATERIALI where IMEMATERIAL=:IMEMAT"),
                                {{QStringLiteral("IMEMAT"), name}});
    return !r.isEmpty() && r.rows.front().value(0).toInt() > 0;
}

void Materials::store(SQLConnection& db, const QVariantMap& values, const QVariant& key)
{
    const bool isNew = !key.isValid() || key.isNull();
    SqlParams p;
    p.insert(QStringLiteral("snimka"), typed(values.value(QStringLiteral("SNIMKA")), QMetaType::QByteArray));
    p.insert(QStringLiteral("imematerial"), values.value(QStringLiteral("IMEMATERIAL")).toString());
    for (const char* f : {"NMIARKA", "NSKLAD", "SERIA_DA_NE", "SUM_DA_NE", "IZCH_DA_NE"})
        p.insert(QString::fromLatin1(f), typed(values.value(QString::fromLatin1(f)), QMetaType::Int));
    for (const char* f : {"ED_CENA", "PRODAGNACENA", "PRODAGNACENA_USD", "PRODAGNACENA_EUR", "MIN_KOL", "MAX_KOL",
                          "PROD_CENA_LV_DREBNO", "PROD_CENA_USD_DREBNO", "PROD_CENA_EUR_DREBNO"})
        p.insert(QString::fromLatin1(f), typed(values.value(QString::fromLatin1(f)), QMetaType::Double));
    if (!isNew) p.insert(QStringLiteral("NMAT"), key);
    db.execute(QString::fromLatin1(isNew ? kInsertSql : kUpdateSql), p);
}

QString Materials::deleteRefusal(SQLConnection& db, const QVariant& key)
{
    const QString end = QStringLiteral(", изтриването - НЕВЪЗМОЖНО !");
    return Refusals::firstRefusal(
        db,
        {
            {QStringLiteral("select count(nmaterial) as broi from sklad where nmaterial=:INMaterial"),
             QStringLiteral("Има доставка от този материал") + end},
            {QStringLiteral("select count(ntip_izdelie) as broi from Izdelie_recepta where NMaterial=:INMaterial"),
             QStringLiteral("Има рецепта с този материал") + end},
            // Tables the item's row is kept by as well.
            {QStringLiteral("select count(nmaterial) as broi from prodagbi where nmaterial=:INMaterial"),
             QStringLiteral("Има продажба на този материал") + end},
            {QStringLiteral("select count(nmaterial) as broi from kontr_mat_ceni where nmaterial=:INMaterial"),
             QStringLiteral("Има специална цена за този материал") + end},
            {QStringLiteral("select count(nmaterial_izdelie) as broi from tip_izdelie where nmaterial_izdelie=:INMaterial"),
             QStringLiteral("Има изделие на цех от този материал") + end},
            {QStringLiteral("select count(nmaterial) as broi from iskania where nmaterial=:INMaterial"),
             QStringLiteral("Има искане за този материал") + end},
            {QStringLiteral("select count(nmaterial) as broi from skl_obekti_materiali where nmaterial=:INMaterial"),
             QStringLiteral("Има този материал в складов обект") + end},
        },
        QStringLiteral("INMaterial"), key);
}

void Materials::remove(SQLConnection& db, const QVariant& key)
{
    db.execute(QStringLiteral("delete from materiali where nmaterial=:NMat"), {{QStringLiteral("NMat"), key}});
}
