#include "production/production.h"

#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/transaction.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Production {

namespace {

// A second workstation took the same number at the same moment: the counter row was locked
// (update conflict) or its first row was inserted twice (duplicate key). The whole document is
// written again under the next number.
bool lostRace(const DbError& e) { return classify(e) == DbProblem::Conflict || e.sqlCode() == -803; }

constexpr int kAttempts = 20;
constexpr int kDailyLimit = 999;

// Raises the series' counter of the day inside the caller's transaction and gives the number. The
// day's first number starts from the highest one already in use that day.
QString takeNumber(SQLConnection& db, const QString& series, const QString& stamp, const QString& highestInUse)
{
    const SqlParams key{{u"S"_s, series}, {u"D"_s, stamp}};
    if (db.execute(u"update NUMBER_SERIES set LAST_NO = LAST_NO + 1 where SERIES = :S and DAYKEY = :D"_s, key) == 0) {
        const DbResult used = db.query(highestInUse, {{u"D"_s, stamp}});
        const QString highest = used.isEmpty() ? QString() : used.rows.front()[0].toString();
        SqlParams first = key;
        first.insert(u"N"_s, highest.mid(8, 3).toInt() + 1);
        db.execute(u"insert into NUMBER_SERIES (SERIES, DAYKEY, LAST_NO) values (:S, :D, :N)"_s, first);
    }
    const int next = db.query(u"select LAST_NO from NUMBER_SERIES where SERIES = :S and DAYKEY = :D"_s, key)
                         .value(0, u"LAST_NO"_s)
                         .toInt();
    if (next > kDailyLimit)
        throw DbError(u"Изчерпани са номерата за деня !"_s);
    return stamp + QString::number(next).rightJustified(3, u'0');
}

template <typename Write>
auto withFreshNumber(Write write)
{
    for (int attempt = 1;; ++attempt) {
        try {
            return write();
        } catch (const DbError& e) {
            if (attempt >= kAttempts || !lostRace(e)) throw;
        }
    }
}

void refuseIf(const QString& why)
{
    if (!why.isEmpty()) throw DbError(why);
}

} // namespace

double warehouseStockOf(SQLConnection& db, int material)
{
    const DbResult r = db.selectProcedure(u"SKLAD_MAT_NALICH_SUM"_s, {{u"NUMMATERIAL"_s, material}});
    return r.isEmpty() ? 0 : r.rows.front()[0].toDouble();
}

int seriesPairs(const QVector<PairLine>& lines)
{
    int pairs = 0;
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (lines[i].counted) pairs += int(lines[i].quantity);
    return pairs;
}

int pairsLine(const QVector<PairLine>& lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].receivesSum) return int(i);
    return -1;
}

namespace {
const QString kLatestLine = u"select first 1 NISKANE from ISKANIA where NPROIZVODSTVO = :NUMPROIZVODSTVO "
                            u"and NMATERIAL = :NUMMATERIAL order by NISKANE desc, AUTONUM desc"_s;
}

QString latestRequisition(SQLConnection& db, int workshop, int material)
{
    const DbResult r = db.query(kLatestLine, {{u"NUMPROIZVODSTVO"_s, workshop}, {u"NUMMATERIAL"_s, material}});
    return r.isEmpty() ? QString() : r.rows.front()[0].toString();
}

QString dateStamp(const QDate& day) { return day.toString(u"yyyyMMdd"_s); }

QString storeMark(const QString& workshopAlias, const QDate& produced, const QString& batchNumber)
{
    const QString alias = workshopAlias.trimmed();
    if (produced < QDate(2005, 2, 2)) return alias.left(10);
    return (alias + batchNumber.mid(8, 3)).left(10);
}

QString requisitionRefusal(const Requisition& requisition)
{
    if (requisition.workshop <= 0) return u"Не е въведено тип производство !"_s;
    if (requisition.lines.isEmpty()) return u"Липстват данни за изписване !"_s;
    for (const RequisitionLine& line : requisition.lines)
        if (!(line.quantity > 0))
            return u"Количеството за изписване трябва да е по-голямо от 0 ! - "_s + line.materialName;
    if (requisition.product && requisition.product->count <= 0) return u"Не е зададено количество !"_s;
    return {};
}

QString saveRequisition(SQLConnection& db, const Requisition& requisition, const QDate& today)
{
    refuseIf(requisitionRefusal(requisition));
    return withFreshNumber([&] {
        TransactionScope tx(db);
        const QString number = takeNumber(
            db, u"ISKANE"_s, dateStamp(today),
            u"select max(NISKANE) from (select NISKANE from ISKANIA where NISKANE starting with :D "
            u"union all select NISKANE from ISKANIA_IZDELIA where NISKANE starting with :D)"_s);
        for (const RequisitionLine& line : requisition.lines)
            db.selectProcedure(u"SKLAD_MAT_ISK_ZAPIS"_s, {{u"INISKANE"_s, number},
                                                          {u"IDATEISKANE"_s, requisition.date},
                                                          {u"INPROIZVODSTVO"_s, requisition.workshop},
                                                          {u"INUMSKLAD"_s, line.warehouse},
                                                          {u"INUMMATERIAL"_s, line.material},
                                                          {u"IKOLICH_MAT_ISK"_s, line.quantity}});
        if (requisition.product)
            db.executeProcedure(u"ADDISKANIA_IZDELIA"_s, {{u"NISKANE"_s, number},
                                                          {u"NPROIZVODSTVO"_s, requisition.workshop},
                                                          {u"NTIP_IZDELIE"_s, requisition.product->product},
                                                          {u"DATEISKANE"_s, requisition.date},
                                                          {u"KOLICH_IZDELIE"_s, requisition.product->count},
                                                          {u"KOLICH_SERII"_s, requisition.product->pairs}});
        tx.commit();
        return number;
    });
}

double Batch::cost() const
{
    double sum = 0;
    for (const BatchMaterial& m : materials)
        sum += m.quantity * m.unitPrice;
    return sum;
}

double Batch::unitPrice() const { return storedQuantity() > 0 ? cost() / storedQuantity() : 0; }

QString batchRefusal(const Batch& batch)
{
    if (batch.workshop <= 0) return u"Не е въведено тип производство !"_s;
    if (batch.productMaterial <= 0) return u"Не е избрано изделие !"_s;
    if (batch.count <= 0) return u"Не е зададено количество !  "_s;
    if (batch.series && batch.count > kMaxSeries)
        return u"Броят серии не може да е повече от %1 !"_s.arg(kMaxSeries);
    if (batch.series && batch.pairs < 1) return u"Не е зададен брой чифтове за серията !"_s;
    bool consumes = false;
    for (const BatchMaterial& m : batch.materials) {
        if (m.quantity < 0) return u"Количеството за влагане трябва да е по-голямо от 0 !"_s;
        consumes = consumes || m.quantity > 0;
    }
    if (!consumes) return u"Липстват данни за рецепта !"_s;
    return {};
}

SavedBatch saveBatch(SQLConnection& db, const Batch& batch, const QDate& today)
{
    refuseIf(batchRefusal(batch));
    return withFreshNumber([&] {
        TransactionScope tx(db);
        SavedBatch saved;
        saved.number = takeNumber(db, u"PARTIDA"_s, dateStamp(today),
                                  u"select max(PART_NUM_IZDELIE) from IZDELIE where PART_NUM_IZDELIE starting with :D"_s);
        const DbResult workshop = db.query(u"select PSEVDONIM_CEH from TIP_PROIZVODSTVO where NPROIZVODSTVO = :N"_s,
                                           {{u"N"_s, batch.workshop}});
        refuseIf(workshop.isEmpty() ? u"Не е въведено тип производство !"_s : QString());
        saved.mark = storeMark(workshop.value(0, u"PSEVDONIM_CEH"_s).toString(), batch.produced, saved.number);
        // The materials first: each row is stored at the price of the requisition lines it took,
        // and the product at the sum of what the rows stored.
        for (const BatchMaterial& m : batch.materials)
            if (m.quantity > 0)
                db.executeProcedure(u"ADDIZDELIE_MATERIALI"_s, {{u"PART_NUM_IZDELIE"_s, saved.number},
                                                                {u"NPROIZVODSTVO"_s, batch.workshop},
                                                                {u"NMATERIAL"_s, m.material},
                                                                {u"KOLICHESTVO"_s, m.quantity},
                                                                {u"ED_CENA_LV"_s, m.unitPrice}});
        const double cost = db.query(u"select coalesce(sum(KOLICHESTVO * ED_CENA_LV), 0) from IZDELIE_MATERIALI "
                                     u"where PART_NUM_IZDELIE = :P"_s,
                                     {{u"P"_s, saved.number}})
                                .rows.front()[0]
                                .toDouble();
        const int series = batch.series ? batch.count : 0;
        saved.stockLine = db.executeProcedure(u"ADDDOSTAVKA"_s, {{u"NMATERIAL"_s, batch.productMaterial},
                                                                 {u"KOLICHESTVO"_s, batch.storedQuantity()},
                                                                 {u"KOLICH_SERII"_s, series},
                                                                 {u"ED_CENA_LV"_s, cost / batch.storedQuantity()},
                                                                 {u"DATEPOLUCHENO"_s, batch.produced},
                                                                 {u"DATEFAKTURA"_s, batch.produced},
                                                                 {u"NKONTRAGENT"_s, 0},
                                                                 {u"NMOL"_s, 0},
                                                                 {u"NFAKTURA"_s, saved.mark}})
                              .value(u"AUTONUM"_s)
                              .toInt();
        db.executeProcedure(u"ADDIZDELIE"_s, {{u"PART_NUM_IZDELIE"_s, saved.number},
                                              {u"NPROIZVODSTVO"_s, batch.workshop},
                                              {u"NTIP_IZDELIE"_s, batch.productMaterial},
                                              {u"KOLICH_SERII"_s, series},
                                              {u"KOLICH_IZDELIE"_s, batch.storedQuantity()},
                                              {u"DATEIZDELIE"_s, batch.produced},
                                              {u"AUTONUM_SKLAD"_s, saved.stockLine}});
        tx.commit();
        return saved;
    });
}

namespace {

struct StoredBatch
{
    int product = 0;
    QDate produced;
    QString mark;
    int quantity = 0;
    QVariant stockLine;  // IZDELIE.AUTONUM_SKLAD; null for a batch stored before it was recorded
};

std::optional<StoredBatch> storedBatch(SQLConnection& db, const QString& batchNumber)
{
    const DbResult r = db.query(u"select i.NMATERIAL_IZDELIE, i.DATEIZDELIE, i.KOLICH_IZDELIE, i.AUTONUM_SKLAD, "
                                u"t.PSEVDONIM_CEH "
                                u"from IZDELIE i left join TIP_PROIZVODSTVO t on t.NPROIZVODSTVO = i.NPROIZVODSTVO "
                                u"where i.PART_NUM_IZDELIE = :P"_s,
                                {{u"P"_s, batchNumber}});
    if (r.isEmpty()) return std::nullopt;
    StoredBatch b;
    b.product = r.value(0, u"NMATERIAL_IZDELIE"_s).toInt();
    b.produced = r.value(0, u"DATEIZDELIE"_s).toDate();
    b.quantity = r.value(0, u"KOLICH_IZDELIE"_s).toInt();
    b.stockLine = r.value(0, u"AUTONUM_SKLAD"_s);
    b.mark = storeMark(r.value(0, u"PSEVDONIM_CEH"_s).toString(), b.produced, batchNumber);
    return b;
}

} // namespace

QString batchDeleteRefusal(SQLConnection& db, const QString& batchNumber)
{
    const std::optional<StoredBatch> b = storedBatch(db, batchNumber);
    if (!b) return u"Липсват данни за изтриване !"_s;
    const DbResult used = db.selectProcedure(u"PROV_SKLAD_RAZHOD"_s, {{u"NTIP_IZDELIE"_s, b->product},
                                                                      {u"PSEVDONIM"_s, b->mark},
                                                                      {u"DATEIZDELIE"_s, b->produced},
                                                                      {u"AUTONUM_SKLAD"_s, b->stockLine}});
    const auto above0 = [&](const QString& column) { return used.value(0, column).toDouble() > 0; };
    if (above0(u"SUMISK"_s))
        return u"Има вложено в производство от това изделие !\n              ИЗТРИВАНЕТО - НЕВЪЗМОЖНО  !"_s;
    if (above0(u"SUMMAT_PRODAGBI"_s))
        return u"Има продадено от това изделие !\n  ИЗТРИВАНЕТО - НЕВЪЗМОЖНО  !"_s;
    if (above0(u"SUMMAT_SKLOB"_s))
        return u"Има експедирано от това изделие !\n   ИЗТРИВАНЕТО - НЕВЪЗМОЖНО  !"_s;
    return {};
}

void deleteBatch(SQLConnection& db, const QString& batchNumber)
{
    TransactionScope tx(db);
    refuseIf(batchDeleteRefusal(db, batchNumber));
    const StoredBatch b = *storedBatch(db, batchNumber);
    db.executeProcedure(u"DEL_SKLAD_IZDELIE"_s, {{u"NTIP_IZDELIE"_s, b.product},
                                                 {u"PSEVDONIM"_s, b.mark},
                                                 {u"DATEIZDELIE"_s, b.produced},
                                                 {u"KOLICH_IZDELIE"_s, b.quantity},
                                                 {u"PART_NUM_IZDELIE"_s, batchNumber}});
    tx.commit();
}

double workshopPrice(SQLConnection& db, int workshop, int material, double quantity)
{
    return db.selectProcedure(u"CEH_MAT_CENA"_s, {{u"NPROIZVODSTVO"_s, workshop},
                                                  {u"NMATERIAL"_s, material},
                                                  {u"KOLICHESTVO"_s, quantity}})
        .value(0, u"ED_CENA_LV"_s)
        .toDouble();
}

bool returnToWarehouse(SQLConnection& db, int workshop, int material)
{
    TransactionScope tx(db);
    // The newest line with an unused part; batches took the older lines first.
    const DbResult lines = db.selectProcedure(u"CEH_MAT_REDOVE"_s, {{u"NPROIZVODSTVO"_s, workshop},
                                                                   {u"NMATERIAL"_s, material}});
    std::optional<std::size_t> last;
    for (std::size_t i = 0; i < lines.rows.size(); ++i)
        if (lines.value(i, u"OSTATYK"_s).toDouble() > 1e-9) last = i;
    if (!last) return false;
    const int line = lines.value(*last, u"AUTONUM"_s).toInt();
    const double quantity = lines.value(*last, u"KOLICHESTVO"_s).toDouble();
    const double held = db.selectProcedure(u"CEH_MAT_SALDO"_s, {{u"NPROIZVODSTVO"_s, workshop}, {u"NMATERIAL"_s, material}})
                            .value(0, u"NALICHNOST"_s)
                            .toDouble();
    const double unused = std::min(lines.value(*last, u"OSTATYK"_s).toDouble(), held);
    if (!(unused > 1e-9)) return false;
    if (unused >= quantity - 1e-9)
        db.executeProcedure(u"DEL_UPDATE_ISKANIA"_s, {{u"DEL_UPDATE"_s, 0}, {u"NUM_ZAPIS"_s, line}, {u"KOLICHESTVO"_s, 0}});
    else
        db.executeProcedure(u"DEL_UPDATE_ISKANIA"_s,
                            {{u"DEL_UPDATE"_s, 1}, {u"NUM_ZAPIS"_s, line}, {u"KOLICHESTVO"_s, quantity - unused}});
    tx.commit();
    return true;
}

} // namespace Production
