#include "data/dmsklad.h"

#include "data/dmns.h"
#include "data/fieldlist.h"

using T = SmpField::Type;
using FieldList::addFields;
using FieldList::addSum;

TDMSklad::TDMSklad(TDMNS& dm, QObject* parent)
    : QObject(parent),
      SmpSklNalich(QStringLiteral("SmpSklNalich"), &dm.SQLConnectNS, this),
      SmpSklDostBrak(QStringLiteral("SmpSklDostBrak"), &dm.SQLConnectNS, this),
      SmpTipKontrSklPunkt(QStringLiteral("SmpTipKontrSklPunkt"), &dm.SQLConnectNS, this),
      SmpKontrSklPunkt(QStringLiteral("SmpKontrSklPunkt"), &dm.SQLConnectNS, this),
      SmpDostavka(QStringLiteral("SmpDostavka"), &dm.SQLConnectNS, this),
      SmpViewMatSklOb(QStringLiteral("SmpViewMatSklOb"), &dm.SQLConnectNS, this)
{
    setObjectName(QStringLiteral("DMSklad"));
    SmpTipKontrSklPunkt.setTableName(QStringLiteral("TIP_KONTRAGENT"));
    SmpTipKontrSklPunkt.setReadOnly(true);
    SmpKontrSklPunkt.setTableName(QStringLiteral("KONTRAGENTI"));
    SmpKontrSklPunkt.setIndexFieldNames(QStringLiteral("IMEKONTRAGENT"));
    SmpKontrSklPunkt.setReadOnly(true);
    SmpKontrSklPunkt.setMaster(&SmpTipKontrSklPunkt, QStringLiteral("NTIP_KONTRAGENT"), QStringLiteral("NTIP_KONTRAGENT"));
    defineStockList();
    defineDefectList();
    defineDeliveryLines(dm);
    SmpViewMatSklOb.setCommandText(QStringLiteral("select * from VIEWMAT_SKLOBEKT order by imematerial"));
    SmpViewMatSklOb.setReadOnly(true);
    SmpViewMatSklOb.setKeyFields(QStringLiteral("NMATERIAL"));
}

void TDMSklad::defineStockList()
{
    SmpDataset& ds = SmpSklNalich;
    ds.setCommandText(QStringLiteral("SELECT * FROM SKLADnalich(:SKLADOT,:SKLADDO,:NMATERIALOT,:NMATERIALDO) "
                                     "order by nsklad,IMEMATERIAL,DatePolucheno"));
    ds.setReadOnly(true);
    ds.setKeyFields(QStringLiteral("AUTONUM"));
    for (const char* p : {"SKLADOT", "SKLADDO", "NMATERIALOT", "NMATERIALDO"})
        ds.setParam(QString::fromLatin1(p), 0);
    const char* qty = "# ### ##0.000";
    const char* sum = "# ### ##0.00";
    // Grid order; the column settings and the spreadsheet copy follow it.
    addFields(ds, {
        {"NSKLAD", T::Integer, "№ склад", "", false},
        {"SKLAD", T::String, "Склад", "", true, 35},
        {"NUMSHIFYR", T::Integer, "№ ш-р", "", false},
        {"NMATERIAL", T::Integer, "№ мат.", "", false},
        {"IMEMATERIAL", T::String, "Материал, изделие,комплект", "", true, 65},
        {"MIARKA_BG", T::String, "Мка", "", true, 5},
        {"NALICHNOST", T::Float, "Наличност", qty},
        {"KOLICHESTVO", T::Float, "Доставено", qty},
        {"KOLICH_SERII", T::Integer, "Бр.серии", "# ###"},
        {"SUMDOST_BRAK", T::Float, "Брак", qty},
        {"SUMISK", T::Float, "Вложено", qty},
        {"SUMMAT_PRODAGBI", T::Float, "Продадено", sum},
        {"SUMMAT_SKLOB", T::Float, "Експедирано", sum},
        {"ED_CENA_LV", T::Float, "Дост.ц.ЛВ", qty},
        {"OBSTA_CENA_LV", T::Float, "Общо дост.ц.ЛВ", sum},
        {"USD", T::Float, "Дост.ц.USD", qty},
        {"OBSTA_CENA_USD", T::Float, "Общо дост.ц.USD", sum},
        {"EUR", T::Float, "Дост.ц.EUR", qty},
        {"OBSTA_CENA_EUR", T::Float, "Общо дост.ц. EUR", sum},
        {"PRODAGNA_CENA", T::Float, "Цена на едро лв.", sum},
        {"PROD_CENA_LV_DREBNO", T::Float, "Цена на дребно лв.", sum},
        {"PRODAGNA_CENA_USD", T::Float, "Цена на едро USD", sum},
        {"PROD_CENA_USD_DREBNO", T::Float, "Цена на дребно USD", sum},
        {"PRODAGNA_CENA_EUR", T::Float, "Цена на едро EUR", sum},
        {"PROD_CENA_EUR_DREBNO", T::Float, "Цена на дребно EUR", sum},
        {"DATEPOLUCHENO", T::DateTime, "Получено", "dd.mm.yy"},
        {"NFAKTURA", T::String, "№ факт.", "", true, 10},
        {"DATEFAKTURA", T::DateTime, "Дата", "dd.mm.yy"},
        {"NKONTRAGENT", T::Integer, "№ контр.", "", false},
        {"IMEKONTRAGENT", T::String, "Доставчик", "", true, 40},
        {"ZAKUPCHIK", T::String, "Закупчик", "", true, 47},
        {"OBSTA_CENA_PROD_LV", T::Float, "Обща прод.лв.", sum, false},
        {"OBSTA_CENA_PROD_USD", T::Float, "Обща прод.USD", sum, false},
        {"OBSTA_CENA_PROD_EUR", T::Float, "Обща прод.EUR", sum, false},
        {"PROCENT_OTST", T::Float, "% ТО", "0.00"},
        {"PROCENT_DDS", T::Float, "% ДДС", "0.00"},
        {"KOMIS", T::Float, "Комисионна", sum, false},
        {"SNIMKA", T::Bytes, "Снимка", "", false},
        {"DATEGODNOST", T::DateTime, "Годност", "dd.mm.yyyy"},
        {"AUTONUM", T::Integer, "№ ред", "", false},
    });
    addSum(ds, "SumObCenaLv", "Sum(Obsta_Cena_Lv)");
    addSum(ds, "SumObCenaUSD", "Sum(Obsta_Cena_USD)");
    addSum(ds, "SumObCenaEUR", "Sum(Obsta_Cena_EUR)");
    addSum(ds, "SumProdCenaLV", "Sum(Obsta_cena_Prod_LV)");
    addSum(ds, "SumProdCenaUSD", "Sum(Obsta_cena_Prod_USD)");
    addSum(ds, "SumProdCenaEUR", "Sum(Obsta_cena_Prod_EUR)");
}

void TDMSklad::defineDefectList()
{
    SmpDataset& ds = SmpSklDostBrak;
    ds.setCommandText(QStringLiteral("SELECT * FROM SKLADDOST_BRAK(:NKONTROT,:NKONTRDO) order by IMEMATERIAL"));
    ds.setReadOnly(true);
    ds.setKeyFields(QStringLiteral("AUTONUM"));
    ds.setParam(QStringLiteral("NKONTROT"), 0);
    ds.setParam(QStringLiteral("NKONTRDO"), 0);
    addFields(ds, {
        {"AUTONUM", T::Integer, "№", "", false},
        {"DATE_BRAK", T::DateTime, "Брак на", "dd.mm.yyyy"},
        {"NMATERIAL", T::Integer, "№"},
        {"IMEMATERIAL", T::String, "Материал", "", true, 65},
        {"KOLICH_BRAK", T::Float, "Колич. брак", "# ### ##0.000"},
        {"ED_CENA_LV", T::Float, "Цена ЛВ", "# ##0.000"},
        {"OBSTO_LV", T::Float, "Общо ЛВ", "# ### ##0.00"},
        {"USD", T::Float, "Цена USD", "# ##0.00"},
        {"OBSTO_USD", T::Float, "Общо USD", "# ### ##0.00"},
        {"EUR", T::Float, "Цена EUR", "# ##0.00"},
        {"OBSTO_EUR", T::Float, "Общо EUR", "# ### ##0.00"},
        {"NKONTR_BRAK", T::Integer, "№"},
        {"IMEKONTR_BRAK", T::String, "Контрагент за брак", "", true, 40},
    });
    SmpField* f = ds.addLookupField(QStringLiteral("ImeKontrBrak"), &SmpKontrSklPunkt, QStringLiteral("NKONTR_BRAK"),
                                    QStringLiteral("NKONTRAGENT"), QStringLiteral("IMEKONTRAGENT"));
    f->displayLabel = QStringLiteral("Име на контрагент за брак");
    addFields(ds, {
        {"NFAKTURA_BRAK", T::String, "№ факт. брак", "", true, 10},
        {"DATEFAKTURA_BRAK", T::DateTime, "Дата факт. брак", "dd.mm.yyyy"},
        {"NKONTRAGENT", T::Integer, "№"},
        {"IMEKONTRAGENT", T::String, "Доставчик на материал", "", true, 40},
        {"NFAKTURA", T::String, "№ фактура", "", true, 10},
        {"DATEFAKTURA", T::DateTime, "Дата", "dd.mm.yyyy"},
        {"AUTONUM_SKLAD", T::Integer, "№ ред", "", false},
    });
}

void TDMSklad::defineDeliveryLines(TDMNS& dm)
{
    SmpDataset& ds = SmpDostavka;
    ds.setTableName(QStringLiteral("DOSTAVKA"));
    ds.setScratch(true);
    ds.setKeyFields(QStringLiteral("AUTONUM"));
    const auto lookup = [&ds](const char* name, SmpDataset& list, const char* key, const char* result,
                              T type = T::String) {
        return ds.addLookupField(QString::fromLatin1(name), &list, QString::fromLatin1(key), QStringLiteral("NMATERIAL"),
                                 QString::fromLatin1(result), type);
    };
    const char* price = "# ##0.000";
    addFields(ds, {{"AUTONUM", T::Integer, "", "", false}, {"NMATERIAL", T::Integer, "", "", false}});
    lookup("ImeMaterial", dm.SmpMateriali, "NMATERIAL", "IMEMATERIAL")->displayLabel = QStringLiteral("Материал");
    lookup("NSkladDost", dm.SmpMateriali, "NMATERIAL", "NSKLAD", T::Integer)->visible = false;
    SmpField* sklad = ds.addLookupField(QStringLiteral("ImeSklad"), &dm.SmpTipSklad, QStringLiteral("NSkladDost"),
                                        QStringLiteral("NSKLAD"), QStringLiteral("SKLAD"));
    sklad->displayLabel = QStringLiteral("За склад");
    sklad->visible = false;
    SmpField* calc = lookup("EdCenaCalc", dm.SmpMateriali, "NMATERIAL", "ED_CENA", T::Float);
    calc->displayLabel = QStringLiteral("Цена калкулация");
    calc->displayFormat = QString::fromLatin1(price);
    lookup("NmiarkaMat", dm.SmpMateriali, "NMATERIAL", "NMIARKA", T::Integer)->visible = false;
    addFields(ds, {
        {"KOLICHESTVO", T::Float, "Колич.", price},
        {"ED_CENA_LV", T::Float, "Ед.ц.лв.", price},
        {"USD", T::Float, "Ед.ц. USD", price},
        {"EUR", T::Float, "Ед.ц.EUR", price},
        {"PROCENT_OTST", T::Float, "%Отст.", "0.00"},
        {"PROCENT_DDS", T::Float, "%ДДС", "0.00"},
        {"DATEGODNOST", T::DateTime, "Годност до", "dd.mm.yyyy"},
        {"NSKLAD", T::Integer, "", "", false},
    });
    const auto field = [](SmpField* f, const char* label, const char* format) {
        f->displayLabel = QString::fromUtf8(label);
        f->displayFormat = QString::fromLatin1(format);
        return f;
    };
    const auto internal = [&](const char* name, const char* label, const char* format) {
        return field(ds.addInternalCalcField(QString::fromLatin1(name), T::Float), label, format);
    };
    const auto calculated = [&](const char* name, const char* label, const char* format) {
        return field(ds.addCalculatedField(QString::fromLatin1(name), T::Float), label, format);
    };
    internal("LvOtst", "Лв.с отст.", price);
    internal("UsdOtst", "USD с отст.", price);
    internal("EurOtst", "EUR с отст.", price);
    internal("LvOtstDDS", "Лв.с отст.+ДДС", "# ### ##0.000");
    internal("UsdOtstDDS", "USD с отст.+ДДС", price);
    internal("EurOtstDDS", "EUR с отст.+ДДС", price);
    internal("ObstoLV", "Общо лв.", "# ### ##0.00");
    internal("ObstoUSD", "Общо USD", "# ### ##0.00");
    internal("ObstoEUR", "Общо EUR", "# ### ##0.00");
    calculated("Cena", "Цена", "# ### ##0.000");
    calculated("CenaOtstDDS", "Цена", price);
    field(ds.addCalculatedField(QStringLiteral("Valuta"), T::String, 3), "Валута", "");
    calculated("ObstoCenaOtstDDS", "Общо", "# ### ##0.00");
    for (const char* copy : {"SumObstoLVAgg", "SumObstoUSDAgg", "SumObstoEURAgg"})
        calculated(copy, "", "# ### ##0.00")->visible = false;
    addSum(ds, "SumObCenaLv", "Sum(ObstoLv)");
    addSum(ds, "SumObCenaUSD", "Sum(ObstoUSD)");
    addSum(ds, "SumObCenaEUR", "Sum(ObstoEUR)");
    ds.onCalcFields = [](SmpDataset& d) {
        const auto num = [&d](const char* name) { return d.fieldByName(QString::fromLatin1(name))->asFloat(); };
        const auto set = [&d](const char* name, const QVariant& v) { d.setValue(QString::fromLatin1(name), v); };
        const double quantity = num("KOLICHESTVO"), discount = num("PROCENT_OTST"), vat = num("PROCENT_DDS");
        // The line's currency is the last of BGN, USD, EUR that carries a price.
        const struct { const char *price, *net, *withVat, *total, *code; } currencies[] = {
            {"ED_CENA_LV", "LvOtst", "LvOtstDDS", "ObstoLV", "BGN"},
            {"USD", "UsdOtst", "UsdOtstDDS", "ObstoUSD", "USD"},
            {"EUR", "EurOtst", "EurOtstDDS", "ObstoEUR", "EUR"}};
        for (const auto& c : currencies) {
            const double price = num(c.price);
            const double net = price - price * discount / 100;
            const double withVat = net + net * vat / 100;
            set(c.net, net);
            set(c.withVat, withVat);
            set(c.total, quantity * withVat);
            if (price > 0) {
                set("Cena", price);
                set("CenaOtstDDS", withVat);
                set("Valuta", QString::fromLatin1(c.code));
                set("ObstoCenaOtstDDS", quantity * withVat);
            }
        }
        set("SumObstoLVAgg", num("SumObCenaLv"));
        set("SumObstoUSDAgg", num("SumObCenaUSD"));
        set("SumObstoEURAgg", num("SumObCenaEUR"));
    };
}
