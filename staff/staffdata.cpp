#include "staff/staffdata.h"

#include "platform/db/connection.h"
#include "platform/db/transaction.h"

namespace {

QString dateText(const QDate& d) { return d.toString(QStringLiteral("dd.MM.yyyy")); }

SqlParams amounts(const Staff::Amounts& a)
{
    return {{QStringLiteral("SUMA_DATE"), dateText(a.date)}, {QStringLiteral("SUMA_LV"), a.lv},
            {QStringLiteral("SUMA_USD"), a.usd},             {QStringLiteral("SUMA_EUR"), a.eur},
            {QStringLiteral("ZABELEGKA"), a.note}};
}

void advance(SQLConnection& db, int addUpdate, int numZapis, int shifyr, int givenBy, const Staff::Amounts& a)
{
    SqlParams p = amounts(a);
    p.insert(QStringLiteral("ADD_UPDATE"), addUpdate);
    p.insert(QStringLiteral("NUM_ZAPIS"), numZapis);
    p.insert(QStringLiteral("SHIFYR"), shifyr);
    p.insert(QStringLiteral("AVANS_OT_SHIFYR"), givenBy);
    db.executeProcedure(QStringLiteral("ADD_UPDATE_SLUG_AVANS"), p);
}

void report(SQLConnection& db, int addUpdate, int numZapis, int shifyr, int reason, int receiver,
            const Staff::Amounts& a)
{
    SqlParams p = amounts(a);
    p.insert(QStringLiteral("ADD_UPDATE"), addUpdate);
    p.insert(QStringLiteral("NUM_ZAPIS"), numZapis);
    p.insert(QStringLiteral("SHIFYR"), shifyr);
    p.insert(QStringLiteral("NTIP_SLUG_OTCHET"), reason);
    p.insert(QStringLiteral("AVANS_NA_SHIFYR"), receiver);
    db.executeProcedure(QStringLiteral("ADD_UPDATE_SLUG_OTCHET"), p);
}

} // namespace

QString Staff::deleteRefusal(SQLConnection& db, const QVariant& shifyr)
{
    static const struct
    {
        const char* sql;
        const char* message;
    } guards[] = {
        {"select count(*) from MATERIAL_PERSONAL where SHIFYR = :S",
         "Има зачислени инструменти или съоръжения. Изтриването невъзможно !"},
        {"select (select count(*) from SLUG_AVANS where SHIFYR = :S or AVANS_OT_SHIFYR = :S)"
         " + (select count(*) from SLUG_OTCHET where SHIFYR = :S or AVANS_NA_SHIFYR = :S) from RDB$DATABASE",
         "Има служебни аванси или отчети на лицето. Изтриването невъзможно !"},
        {"select count(*) from VEDOMOST_MANIPULACII where SHIFYR = :S", "Има заработки на лицето. Изтриването невъзможно !"},
        {"select (select count(*) from DOSTAVKI_PLASTANE where SHIFYR = :S)"
         " + (select count(*) from SKLAD where NUMSHIFYR = :S) from RDB$DATABASE",
         "Лицето е закупчик по доставки или плащания. Изтриването невъзможно !"},
    };
    for (const auto& g : guards)
        if (db.query(QString::fromLatin1(g.sql), {{QStringLiteral("S"), shifyr}}).rows.front()[0].toInt() > 0)
            return QString::fromUtf8(g.message);
    return {};
}

int Staff::newStaffNumber(SQLConnection& db)
{
    return db.query(QStringLiteral("select gen_id(G_PERSONAL, 1) from RDB$DATABASE")).rows.front()[0].toInt();
}

int Staff::newToolIssueKey(SQLConnection& db)
{
    return db.query(QStringLiteral("select gen_id(G_MATERIAL_PERSONAL, 1) from RDB$DATABASE")).rows.front()[0].toInt();
}

QString Staff::correctionRefusal(int kind)
{
    switch (kind) {
    case SupplierPayment: return QStringLiteral(" Корекция от главно меню РАЗПЛАЩАНИЯ-МОНИТОРИНГ !");
    case AdvanceReceived: return QStringLiteral(" Корекция - от лицето дало аванса !");
    case AdvanceGiven: return QStringLiteral(" Изтрийте дадения аванс и въведете нов !");
    default: return {};
    }
}

QString Staff::deletionRefusal(int kind)
{
    switch (kind) {
    case SupplierPayment: return QStringLiteral(" Изтриване от главно меню РАЗПЛАЩАНИЯ-МОНИТОРИНГ !");
    case AdvanceReceived: return QStringLiteral(" Изтриване - от лицето дало аванса !");
    default: return {};
    }
}

void Staff::addAdvance(SQLConnection& db, int shifyr, const Amounts& a) { advance(db, 1, 0, shifyr, 0, a); }

void Staff::correctAdvance(SQLConnection& db, int numZapis, int shifyr, int givenBy, const Amounts& a)
{
    advance(db, 0, numZapis, shifyr, givenBy, a);
}

void Staff::giveAdvance(SQLConnection& db, int giver, int receiver, const Amounts& a)
{
    TransactionScope tx(db);
    report(db, 1, 0, giver, 0, receiver, a);
    advance(db, 1, 0, receiver, giver, a);
    tx.commit();
}

void Staff::addReport(SQLConnection& db, int shifyr, int reason, const Amounts& a) { report(db, 1, 0, shifyr, reason, 0, a); }

void Staff::correctReport(SQLConnection& db, int numZapis, int shifyr, int reason, const Amounts& a)
{
    report(db, 0, numZapis, shifyr, reason, 0, a);
}

void Staff::deleteMovement(SQLConnection& db, int kind, int numZapis, int receiver, const QDate& date)
{
    db.executeProcedure(QStringLiteral("DEL_SLUG_AVANS_OTCHT"),
                        {{QStringLiteral("NUM_ZAPIS"), numZapis},
                         {QStringLiteral("AVANS_OTCHET"), kind == AdvanceGiven ? 3 : kind},
                         {QStringLiteral("AVANS_NA_SHIFYR"), receiver},
                         {QStringLiteral("SUMA_DATE"), date.isValid() ? QVariant(date.startOfDay()) : QVariant()}});
}
