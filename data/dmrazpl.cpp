#include "data/dmrazpl.h"

#include "platform/db/connection.h"
#include "platform/db/dberror.h"

#include <array>
#include <initializer_list>

namespace {
using T = SmpField::Type;

const char* const kMoney = "# ### ##0.00";
const char* const kCurrencies[] = {"LV", "USD", "EUR"};

struct Col
{
    const char* field;
    T type;
    const char* label = nullptr;  // none: hidden
    const char* format = nullptr;
    int size = 0;
};

void addFields(SmpDataset& ds, std::initializer_list<Col> cols)
{
    for (const Col& c : cols) {
        SmpField* f = ds.addDataField(QString::fromLatin1(c.field), c.type, c.size);
        if (c.label) f->displayLabel = QString::fromUtf8(c.label);
        else f->visible = false;
        f->displayFormat = QString::fromLatin1(c.format ? c.format : (c.type == T::Float ? kMoney : ""));
    }
}

QString name(const char* pattern, const char* currency)
{
    return QString::fromLatin1(pattern).arg(QString::fromLatin1(currency));
}

SmpField* addSum(SmpDataset& ds, const QString& field, const QString& of)
{
    SmpField* f = ds.addAggregateField(field, QStringLiteral("sum(%1)").arg(of));
    f->displayFormat = QString::fromLatin1(kMoney);
    return f;
}

SmpField* addHidden(SmpDataset& ds, const QString& field)
{
    SmpField* f = ds.addCalculatedField(field, T::Float);
    f->visible = false;
    f->displayFormat = QString::fromLatin1(kMoney);
    return f;
}

// The remainder columns of a list, from its sums: due - claims - paid, an empty sum counting 0.
// The client list has no claims; due there is POLUCHENO, for suppliers and purchasers ZA_PLASTANE.
// The fields are held by pointer: the calculation runs for every row of lists of hundreds of
// thousands of rows, where finding each field by its name again costs more than reading the row.
void addRemainders(SmpDataset& ds, const char* dueColumn, const char* dueSum, bool claims)
{
    struct Currency
    {
        SmpField *due = nullptr, *paid = nullptr, *claims = nullptr;  // sums
        SmpField *remainder = nullptr, *dueShown = nullptr, *paidShown = nullptr;  // calculated
    };
    std::array<Currency, 3> cur{};
    for (int i = 0; i < 3; ++i) {
        const char* c = kCurrencies[i];
        cur[i].due = addSum(ds, name(dueSum, c), name(dueColumn, c));
        cur[i].paid = addSum(ds, name("PlatenoSum%1", c), name("Plateno_%1", c));
        if (claims) cur[i].claims = addSum(ds, name("SumDostBrak%1", c), name("DOST_BRAK_%1", c));
    }
    for (int i = 0; i < 3; ++i) cur[i].remainder = addHidden(ds, name("OstatykSum%1", kCurrencies[i]));
    for (int i = 0; i < 3; ++i) {
        cur[i].dueShown = addHidden(ds, name(dueSum, kCurrencies[i]) + QStringLiteral("Agg"));
        cur[i].paidShown = addHidden(ds, name("PlatenoSum%1Agg", kCurrencies[i]));
    }
    ds.onCalcFields.add([cur](SmpDataset&) {
        for (const Currency& c : cur) {
            const double net = c.due->asFloat() - (c.claims ? c.claims->asFloat() : 0.0);
            const double paid = c.paid->asFloat();
            c.remainder->setValue(net - paid);
            c.dueShown->setValue(net);
            c.paidShown->setValue(paid);
        }
    });
}

void readOnly(SmpDataset& ds, const char* sql)
{
    ds.setCommandText(QString::fromUtf8(sql));
    ds.setReadOnly(true);
}

QString rereadAll(std::initializer_list<SmpDataset*> lists)
{
    QString failure;
    for (SmpDataset* ds : lists) {
        try {
            if (ds->isActive()) ds->refresh();
        } catch (const DbError& e) {
            if (failure.isEmpty()) failure = userText(e);
        }
    }
    return failure;
}

} // namespace

TDMRazpl::TDMRazpl(SQLConnection& connection, QObject* parent) : QObject(parent), connection_(connection)
{
    setObjectName(QStringLiteral("DMRazpl"));
    defineRowLists();
    defineBalances();
    defineChoices();
}

void TDMRazpl::defineRowLists()
{
    readOnly(SmpSprRazpl_Klienti,
             "SELECT * FROM Razpl_Klienti_SPRAVKA (:NTIPKONTR_OT,:NTIPKONTR_DO,:NKONTRAGENT_OT,:NKONTRAGENT_DO,"
             ":DATEFAKTURA_OT,:DATEFAKTURA_DO) order by DATE_FAKTura_plastane,ImeKontragent,IME_MATERIAL_IZDELIE");
    addFields(SmpSprRazpl_Klienti,
              {{"AUTONUM", T::Integer}, {"NUMKONTRAGENT", T::Integer},
               {"DATE_FAKTURA_PLASTANE", T::DateTime, "Дата", "dd.mm.yy"},
               {"TIPKONTRAGENT", T::String, "Тип контрагент", nullptr, 20},
               {"IMEKONTRAGENT", T::String, "Име на контрагент", nullptr, 45},
               {"IME_MATERIAL_IZDELIE", T::String, "Материал /плащане/", nullptr, 45},
               {"BROI_MATERIAL_IZDELIE", T::Float, "Брой", "# ##0.00"},
               {"CENA_MAT_IZD_DDS", T::Float, "Ед.ц.лв.", "# ##0.00"},
               {"POLUCHENO_LV", T::Float, "Получ. Лв"}, {"PLATENO_LV", T::Float, "Плат. Лв"},
               {"CENA_MAT_IZD_USD_DDS", T::Float, "Ед.ц.USD", "# ##0.00"},
               {"POLUCHENO_USD", T::Float, "Получ. USD"}, {"PLATENO_USD", T::Float, "Плат. USD"},
               {"CENA_MAT_IZD_EUR_DDS", T::Float, "Ед.ц.EUR", "# ##0.00"},
               {"POLUCHENO_EUR", T::Float, "Получ. EUR"}, {"PLATENO_EUR", T::Float, "Плат. EUR"},
               {"ZABELEGKA", T::String, "Забележка", nullptr, 30}});
    addRemainders(SmpSprRazpl_Klienti, "Polucheno_%1", "PoluchenoSum%1", false);
    SmpSprRazpl_Klienti.addAggregateField(QStringLiteral("BroiReda"), QStringLiteral("count(*)"))->displayFormat =
        QStringLiteral("# ### ###");

    readOnly(SmpSprRazpl_Dost,
             "SELECT * FROM Razpl_Dostav_SPRAVKA (:NKONTRAGENT_OT,:NKONTRAGENT_DO,:DATEFAKTURA_OT,:DATEFAKTURA_DO) "
             "order by DATE_FAKTura_plastane,ImeKontragent,IME_MATERIAL_IZDELIE");
    addFields(SmpSprRazpl_Dost,
              {{"AUTONUM", T::Integer}, {"NUMKONTRAGENT", T::Integer},
               {"DATE_FAKTURA_PLASTANE", T::DateTime, "Дата", "dd.mm.yy"},
               {"TIPKONTRAGENT", T::String, "Тип контрагент", nullptr, 20},
               {"IMEKONTRAGENT", T::String, "Име на контрагент", nullptr, 45},
               {"IME_MATERIAL_IZDELIE", T::String, "Материал /плащане/", nullptr, 45},
               {"KOLICHESTVO", T::Float, "Колич.", "# ##0.00"}, {"ED_CENA_LV", T::Float, "Ед.ц.лв."},
               {"ZA_PLASTANE_LV", T::Float, "За пл. Лв"}, {"PLATENO_LV", T::Float, "Плат. Лв"},
               {"USD", T::Float, "Ед.ц.USD"}, {"ZA_PLASTANE_USD", T::Float, "За пл. USD "},
               {"PLATENO_USD", T::Float, "Плат. USD"}, {"EUR", T::Float, "Ед.ц.EUR"},
               {"ZA_PLASTANE_EUR", T::Float, "За пл. EUR"}, {"PLATENO_EUR", T::Float, "Плат. EUR"},
               {"ZABELEGKA", T::String, "Забележка", nullptr, 30},
               {"IMEZAKUPCHIK", T::String, "Закупчик", nullptr, 45}, {"SHIFYR", T::Integer},
               {"DOST_BRAK_LV", T::Float, "Рекл. ЛВ"}, {"DOST_BRAK_USD", T::Float, "Рекл. USD"},
               {"DOST_BRAK_EUR", T::Float, "Рекл. EUR"}});
    addRemainders(SmpSprRazpl_Dost, "Za_Plastane_%1", "ZaPlastaneSum%1", true);

    readOnly(SmpSprRazpl_DostZak,
             "SELECT * FROM Razpl_Dostav_Zakupchik (:Shifyr_OT,:Shifyr_DO,:DATEFAKTURA_OT,:DATEFAKTURA_DO) "
             "order by DATE_FAKTura_plastane,ImeZakupchik,ImeKontragent,IME_MATERIAL_IZDELIE");
    addFields(SmpSprRazpl_DostZak,
              {{"AUTONUM", T::Integer}, {"NUMKONTRAGENT", T::Integer},
               {"DATE_FAKTURA_PLASTANE", T::DateTime, "Дата", "dd.mm.yy"},
               {"IMEZAKUPCHIK", T::String, "Закупчик", nullptr, 45},
               {"IMEKONTRAGENT", T::String, "Име на контрагент", nullptr, 45},
               {"IME_MATERIAL_IZDELIE", T::String, "Материал /плащане/", nullptr, 45},
               {"ZA_PLASTANE_LV", T::Float, "За пл. Лв"}, {"PLATENO_LV", T::Float, "Плат. Лв"},
               {"ZA_PLASTANE_USD", T::Float, "За пл. USD "}, {"PLATENO_USD", T::Float, "Плат. USD"},
               {"ZA_PLASTANE_EUR", T::Float, "За пл. EUR"}, {"PLATENO_EUR", T::Float, "Плат. EUR"},
               {"ZABELEGKA", T::String, "Забележка", nullptr, 30}, {"SHIFYR", T::Integer},
               {"DOST_BRAK_LV", T::Float, "Рекл. ЛВ"}, {"DOST_BRAK_USD", T::Float, "Рекл. USD"},
               {"DOST_BRAK_EUR", T::Float, "Рекл. EUR"}});
    // Its due is net of claims like the supplier list's, so its totals agree with the company's; the
    // claim columns are shown, so the rows add up to them.
    addRemainders(SmpSprRazpl_DostZak, "Za_Plastane_%1", "ZaPlastaneSum%1", true);
}

void TDMRazpl::defineBalances()
{
    readOnly(SmpSprRazplObsto, "select * from Razplastania_spravka");
    for (const char* what : {"KLIENTI", "DOSTAV", "OBSTO"})
        for (const char* c : kCurrencies)
            addFields(SmpSprRazplObsto, {{QStringLiteral("%1_RAZLIKA_%2").arg(QLatin1String(what), QLatin1String(c))
                                              .toLatin1().constData(), T::Float, c}});

    const auto balances = [](SmpDataset& ds, bool latin, int nameSize) {
        addFields(ds, {{"NKONTRAGENT", T::Integer}, {"TIPKONTRAGENT", T::String, "Тип контрагент", nullptr, 20},
                       {"IMEKONTRAGENT", T::String, "Име контрагент", nullptr, nameSize}});
        if (latin) addFields(ds, {{"IMEKONTRAGENT_LAT", T::String, nullptr, nullptr, 40}});
        addFields(ds, {{"ADRES", T::String, "Адрес", nullptr, 40},
                       {"OBOROT_LV", T::Float, "Оборот лв."}, {"PLATENO_LV", T::Float}, {"DYLGIMO_LV", T::Float, "Дължимо лв."},
                       {"OBOROT_USD", T::Float, "Оборот USD"}, {"PLATENO_USD", T::Float}, {"DYLGIMO_USD", T::Float, "Дължимо USD"},
                       {"OBOROT_EUR", T::Float, "Оборот EUR"}, {"PLATENO_EUR", T::Float}, {"DYLGIMO_EUR", T::Float, "Дължимо EUR"}});
        ds.setKeyFields(QStringLiteral("NKONTRAGENT"));
        for (const auto& [field, of] : {std::pair{"OborotLvSum", "Oborot_Lv"}, {"OborotUSDSum", "Oborot_USD"},
                                        {"OborotEURSum", "Oborot_EUR"}, {"DylgimoLvSum", "Dylgimo_lv"},
                                        {"DylgimoUSDSum", "Dylgimo_USD"}, {"DylgimoEURSum", "Dylgimo_EUR"}})
            addSum(ds, QString::fromLatin1(field), QString::fromLatin1(of));
        // The debtors-only filter: a balance above 0.01 in absolute value in any currency.
        ds.setFilterPredicate([](const SmpDataset& d) {
            for (const char* c : kCurrencies) {
                const double v = d.value(QStringLiteral("DYLGIMO_") + QLatin1String(c)).toDouble();
                if (v > 0.01 || v < -0.01) return true;
            }
            return false;
        });
    };
    readOnly(SmpSprRazplKlientiObsto, "SELECT * FROM Razpl_Klienti_SPRAVKA_Obsto order by ImeKontragent");
    balances(SmpSprRazplKlientiObsto, true, 40);
    readOnly(SmpSprRazplDostObsto, "SELECT * FROM Razpl_Dostav_SPRAVKA_Obsto order by ImeKontragent");
    balances(SmpSprRazplDostObsto, false, 45);

    const auto byType = [](SmpDataset& ds, const char* due, const char* dueLabel) {
        addFields(ds, {{"TIPKONTRAGENT", T::String, "Тип контрагент", nullptr, 20}});
        for (const char* c : kCurrencies) {
            const QByteArray cur = c == QByteArray("LV") ? QByteArray("ЛВ") : QByteArray(c);
            const QByteArray f1 = name(due, c).toLatin1(), f2 = name("PLATENO_%1_OBSTO", c).toLatin1(),
                             f3 = name("OSTATYK_%1_OBSTO", c).toLatin1();
            const QByteArray l1 = QByteArray(dueLabel) + ' ' + cur, l2 = "Платено " + cur, l3 = "Остатък " + cur;
            addFields(ds, {{f1.constData(), T::Float, l1.constData()}, {f2.constData(), T::Float, l2.constData()},
                           {f3.constData(), T::Float, l3.constData()}});
        }
    };
    readOnly(SmpRazplKlientiObsto, "select * from RAZPL_KLIENTI_OBSTO");
    byType(SmpRazplKlientiObsto, "POLUCHENO_%1_OBSTO", "Оборот");
    readOnly(SmpRazplDostObsto, "select * from RAZPL_DOST_OBSTO");
    byType(SmpRazplDostObsto, "DOSTAVENO_%1_OBSTO", "Доставка");

    readOnly(SmpRazplKontr, "select * from RAZPL_KONTRAGENTI order by IMEKONTRAGENT");
    addFields(SmpRazplKontr, {{"NKONTRAGENT", T::Integer}, {"TIPKONTRAGENT", T::String, "Тип контрагент", nullptr, 20},
                              {"IMEKONTRAGENT", T::String, "Име на контрагент", nullptr, 45},
                              {"ADRES", T::String, nullptr, nullptr, 40}});
    for (const char* c : kCurrencies) {
        const bool lv = c == QByteArray("LV");
        const QByteArray fields[] = {name("DOST_OBOROT_%1", c).toLatin1(), name("DOST_PLATENO_%1", c).toLatin1(),
                                     name("DOST_DYLGIMO_%1", c).toLatin1(), name("PROD_OBOROT_%1", c).toLatin1(),
                                     name("PROD_PLATENO_%1", c).toLatin1(), name("PROD_DYLGIMO_%1", c).toLatin1(),
                                     name("PROD_DYLG_MINUS_DOST_DYLG_%1", c).toLatin1()};
        const QByteArray toSupplier = lv ? "Към дост.лв." : "Към дост. " + QByteArray(c);
        const QByteArray fromClient = lv ? "От клиент лв." : "От клиент " + QByteArray(c);
        const QByteArray difference = lv ? "Разлика лв." : "Разлика " + QByteArray(c);
        addFields(SmpRazplKontr, {{fields[0].constData(), T::Float}, {fields[1].constData(), T::Float},
                                  {fields[2].constData(), T::Float, toSupplier.constData()},
                                  {fields[3].constData(), T::Float}, {fields[4].constData(), T::Float},
                                  {fields[5].constData(), T::Float, fromClient.constData()},
                                  {fields[6].constData(), T::Float, difference.constData()}});
    }
    SmpRazplKontr.setKeyFields(QStringLiteral("NKONTRAGENT"));
}

void TDMRazpl::defineChoices()
{
    for (SmpDataset* types : {&SmpRazplKontrTipProd, &SmpRazplKontrTipDost}) {
        types->setTableName(QStringLiteral("TIP_KONTRAGENT"));
        types->setReadOnly(true);
        types->setKeyFields(QStringLiteral("NTIP_KONTRAGENT"));
    }
    const auto counterparties = [](SmpDataset& ds, SmpDataset& types) {
        ds.setTableName(QStringLiteral("KONTRAGENTI"));
        ds.setReadOnly(true);
        ds.setKeyFields(QStringLiteral("NKONTRAGENT"));
        ds.setIndexFieldNames(QStringLiteral("IMEKONTRAGENT"));
        ds.setMaster(&types, QStringLiteral("NTIP_KONTRAGENT"), QStringLiteral("NTIP_KONTRAGENT"));
    };
    counterparties(SmpRazplKontrProd, SmpRazplKontrTipProd);
    counterparties(SmpRazplKontrDost, SmpRazplKontrTipDost);
    readOnly(SmpIzbZak, "select shifyr,ImeFull from ViewPersonal order by ImeFull");
    SmpIzbZak.setKeyFields(QStringLiteral("SHIFYR"));

    // Read from the table at every opening (its row holds the starting values); what is typed stays
    // in the cache, as nothing applies this list.
    SmpRazplDostTemp.setTableName(QStringLiteral("DOST_PLAST_TEMP"));
    addFields(SmpRazplDostTemp, {{"SHIFYR", T::Integer}, {"NKONTRAGENT", T::Integer},
                                 {"PLATENO_DATE", T::DateTime, nullptr, "dd.mm.yy"},
                                 {"PLATENO_LV", T::Float, "Лева"}, {"PLATENO_USD", T::Float, "USD"},
                                 {"PLATENO_EUR", T::Float, "EUR"}, {"ZABELEGKA", T::String, "Забележка", nullptr, 30}});
    SmpRazplDostTemp.addLookupField(QStringLiteral("ImeZakupchik"), &SmpIzbZak, QStringLiteral("SHIFYR"),
                                    QStringLiteral("SHIFYR"), QStringLiteral("IMEFULL"))
        ->displayLabel = QStringLiteral("Закупчик");
}

QString TDMRazpl::reloadAfterClientPayment()
{
    return rereadAll({&SmpSprRazpl_Klienti, &SmpSprRazplObsto, &SmpSprRazplKlientiObsto, &SmpRazplKlientiObsto,
                      &SmpRazplKontr});
}

QString TDMRazpl::reloadAfterSupplierPayment()
{
    return rereadAll({&SmpSprRazpl_Dost, &SmpSprRazpl_DostZak, &SmpSprRazplObsto, &SmpSprRazplDostObsto,
                      &SmpRazplDostObsto, &SmpRazplKontr});
}

void TDMRazpl::reloadBalances()
{
    for (SmpDataset* ds : {&SmpSprRazplObsto, &SmpSprRazplKlientiObsto, &SmpSprRazplDostObsto, &SmpRazplKlientiObsto,
                           &SmpRazplDostObsto, &SmpRazplKontr}) {
        if (ds->isActive()) ds->refresh();
        else ds->open();
    }
}
