#include "data/dmsklspravki.h"

#include "data/dmns.h"
#include "common/stockprices.h"
#include "data/fieldlist.h"
#include "platform/dataset/saveatonce.h"

using T = SmpField::Type;
using FieldList::addFields;
using FieldList::addSum;

namespace {
const char* const kQty = "# ### ##0.00";
const char* const kQty3 = "# ### ##0.000";
const char* const kSum = "# ### ##0.00";

void rangeParams(SmpDataset& ds, std::initializer_list<const char*> names)
{
    for (const char* p : names) ds.setParam(QString::fromLatin1(p), QVariant());
}
} // namespace

TDMSklSpravki::TDMSklSpravki(TDMNS& dm, SmpDataset& suppliers, QObject* parent)
    : QObject(parent),
      SmpSprSklDvigMAT(QStringLiteral("SmpSprSklDvigMAT"), &dm.SQLConnectNS, this),
      SmpIzbMatCeni(QStringLiteral("SmpIzbMatCeni"), &dm.SQLConnectNS, this),
      SmpSprSklDvig(QStringLiteral("SmpSprSklDvig"), &dm.SQLConnectNS, this),
      SmpSprSklMat(QStringLiteral("SmpSprSklMat"), &dm.SQLConnectNS, this),
      SmpSklMatCeni(QStringLiteral("SmpSklMatCeni"), &dm.SQLConnectNS, this),
      SmpMat_Spravka(QStringLiteral("SmpMat_Spravka"), &dm.SQLConnectNS, this),
      SmpSprMatKymData(QStringLiteral("SmpSprMatKymData"), &dm.SQLConnectNS, this),
      SmpSklRazp(QStringLiteral("SmpSklRazp"), &dm.SQLConnectNS, this),
      SmpSklPunkt(QStringLiteral("SmpSklPunkt"), &dm.SQLConnectNS, this),
      SmpAmbTip(QStringLiteral("SmpAmbTip"), &dm.SQLConnectNS, this),
      SmpAmbFirmaDost(QStringLiteral("SmpAmbFirmaDost"), &dm.SQLConnectNS, this),
      SmpAmbDostFirma(QStringLiteral("SmpAmbDostFirma"), &dm.SQLConnectNS, this),
      SmpAmbKontr(QStringLiteral("SmpAmbKontr"), &dm.SQLConnectNS, this),
      dm_(dm)
{
    setObjectName(QStringLiteral("DMSklSpravki"));
    for (SmpDataset* ds : {&SmpSprSklDvigMAT, &SmpIzbMatCeni}) {
        ds->setTableName(QStringLiteral("MATERIALI"));
        ds->setIndexFieldNames(QStringLiteral("IMEMATERIAL"));
        ds->setReadOnly(true);
    }
    defineMovement();
    defineSummary();
    definePrices();
    defineMinMax();
    defineStockAtDate();
    defineReceipts();
    definePoints();
    definePackaging(suppliers);
}

double TDMSklSpravki::vatPercent() const
{
    SmpDataset& firma = dm_.SmpFirma;
    if (!firma.isActive()) firma.open();
    return firma.isEmpty() ? 0 : firma.fieldByName(QStringLiteral("DDS_PROCENT"))->asFloat();
}

void TDMSklSpravki::defineMovement()
{
    SmpDataset& ds = SmpSprSklDvig;
    ds.setCommandText(QStringLiteral("select * from Sklad_Spravka_Dvigenie(:SKLADOT,:SKLADDO,:NMATERIALOT,:NMATERIALDO,"
                                     ":POLUCHENOOT,:POLUCHENODO,:DATEFAKTURAOT,:DATEFAKTURADO) order by nsklad,imematerial"));
    ds.setReadOnly(true);
    ds.setKeyFields(QStringLiteral("AUTONUM"));
    rangeParams(ds, {"SKLADOT", "SKLADDO", "NMATERIALOT", "NMATERIALDO", "POLUCHENOOT", "POLUCHENODO", "DATEFAKTURAOT",
                     "DATEFAKTURADO"});
    addFields(ds, {
        {"AUTONUM", T::Integer, " "},  // the line's key, shown without a title
        {"NSKLAD", T::Integer, "№ Склад"},
        {"SKLAD", T::String, "Склад", "", true, 35},
        {"IMEMATERIAL", T::String, "Наименование", "", true, 65},
        {"MIARKA_BG", T::String, "Мка", "", true, 5},
        {"NALICHNOST", T::Float, "Наличност", kQty},
        {"KOLICHESTVO", T::Float, "Доставено", kQty},
        {"KOLICH_SERII", T::Integer, "Бр.серии", "# ###"},
        {"SUMDOST_BRAK", T::Float, "Брак", kQty},
        {"RAZHOD", T::Float, "Вложено", kQty},
        {"RAZHOD_PRODAGBI", T::Float, "Продадено", "# ### ###.00"},
        {"RAZHOD_SKLOB", T::Float, "Експедирано", kQty},
        {"ED_CENA_LV", T::Float, "Ед.ц.ЛВ", "# ##0.000"},
        {"OBSTA_CENA_LV", T::Float, "Общо лв.", kSum},
        {"USD", T::Float, "Ед.ц.USD", kSum},
        {"OBSTA_CENA_USD", T::Float, "Общо USD", kSum},
        {"EUR", T::Float, "Ед.ц.EUR", kSum},
        {"OBSTA_CENA_EUR", T::Float, "Общо EUR", "# ### ##0.000"},
        {"DATEPOLUCHENO", T::DateTime, "Дата", "dd.mm.yy"},
        {"NFAKTURA", T::String, "№ Факт.", "", true, 10},
        {"DATEFAKTURA", T::DateTime, "Дата", "dd.mm.yy"},
        {"IMEKONTRAGENT", T::String, "Доставчик", "", true, 40},
        {"NKONTRAGENT", T::Integer, "", "", false},
        {"NMATERIAL", T::Integer, "", "", false},
    });
    addSum(ds, "SumObCenaLv", "Sum(Obsta_Cena_Lv)");
    addSum(ds, "SumNalichnost", "Sum(NALICHNOST)");
    addSum(ds, "SumObCenaUSD", "sum(OBSTA_CENA_USD)");
    addSum(ds, "SumObCenaEUR", "sum(OBSTA_CENA_EUR)");
}

void TDMSklSpravki::defineSummary()
{
    SmpDataset& ds = SmpSprSklMat;
    ds.setCommandText(QStringLiteral("select * from Sklad_Spravka_Materiali(:SKLADOT,:SKLADDO,:NMATERIALOT,:NMATERIALDO) "
                                     "order by nsklad,imematerial"));
    ds.setReadOnly(true);
    ds.setKeyFields(QStringLiteral("NMATERIAL"));
    rangeParams(ds, {"SKLADOT", "SKLADDO", "NMATERIALOT", "NMATERIALDO"});
    addFields(ds, {
        {"NSKLAD", T::Integer, "№ Склад"},
        {"SKLAD", T::String, "Склад", "", true, 35},
        {"IMEMATERIAL", T::String, "Наименование", "", true, 65},
        {"MIARKA_BG", T::String, "Мка", "", true, 5},
        {"SUMANALICHNOST", T::Float, "Наличност", kQty},
        {"SUMADOSTAVKA", T::Float, "Доставено", kQty},
        {"SUMDOST_BRAK", T::Float, "Брак", kQty},
        {"SUMAISKANIA", T::Float, "Вложено", kQty},
        {"SUMAPRODAGBI", T::Float, "Продадено", kQty},
        {"SUMAEKSPEDIRANO", T::Float, "Експедирано", kQty},
        {"MIN_KOL", T::Float, "Мин.кол.", kQty3},
        {"MAX_KOL", T::Float, "Макс.кол.", kQty3},
        {"NMATERIAL", T::Integer, "", "", false},
    });
}

void TDMSklSpravki::definePrices()
{
    SmpDataset& ds = SmpSklMatCeni;
    ds.setCommandText(QStringLiteral("SELECT * FROM SKLADnalich(:SKLADOT,:SKLADDO,:NMATERIALOT,:NMATERIALDO) "
                                     "order by nsklad,IMEMATERIAL,DatePolucheno"));
    ds.setReadOnly(true);
    ds.setKeyFields(QStringLiteral("AUTONUM"));
    rangeParams(ds, {"SKLADOT", "SKLADDO", "NMATERIALOT", "NMATERIALDO"});
    addFields(ds, {
        {"SKLAD", T::String, "Склад", "", true, 35},
        {"IMEMATERIAL", T::String, "Материал, изделие,комплект", "", true, 65},
        {"MIARKA_BG", T::String, "Мка", "", true, 5},
        {"NALICHNOST", T::Float, "Наличност", kSum},
        {"KOLICHESTVO", T::Float, "Доставено", kSum},
        {"SUMDOST_BRAK", T::Float, "Брак", kSum},
        {"SUMMAT_PRODAGBI", T::Float, "Продадено", kSum},
        {"SUMMAT_SKLOB", T::Float, "Експедирано", kSum},
        {"ED_CENA_LV", T::Float, "Дост.ц.ЛВ.", kSum},
        {"OBSTA_CENA_LV", T::Float, "Об.дост.ЛВ", kSum},
        {"PRODAGNA_CENA", T::Float, "Прод.ц.ЛВ", kSum},
        {"OBSTA_CENA_PROD_LV", T::Float, "Об.прод.ц.ЛВ", kSum},
        {"OBSTO_PROD_MINUS_DOST_LV", T::Float, "Разл. ЛВ", kSum},
        {"USD", T::Float, "Дост.ц.USD", kSum},
        {"OBSTA_CENA_USD", T::Float, "Об.дост.USD", kSum},
        {"PRODAGNA_CENA_USD", T::Float, "Прод.ц.USD", kSum},
        {"OBSTA_CENA_PROD_USD", T::Float, "Об.прод.ц.USD", kSum},
        {"OBSTO_PROD_MINUS_DOST_USD", T::Float, "Разл. USD", kSum},
        {"EUR", T::Float, "Дост.ц.EUR", kSum},
        {"OBSTA_CENA_EUR", T::Float, "Об.дост.EUR", kSum},
        {"PRODAGNA_CENA_EUR", T::Float, "Прод.ц.EUR", kSum},
        {"OBSTA_CENA_PROD_EUR", T::Float, "Об.прод.ц.EUR", kSum},
        {"OBSTO_PROD_MINUS_DOST_EUR", T::Float, "Разл. EUR", kSum},
        {"DATEPOLUCHENO", T::DateTime, "Получено", "dd.mm.yy"},
        {"NFAKTURA", T::String, "№ факт.", "", true, 10},
        {"DATEFAKTURA", T::DateTime, "Дата", "dd.mm.yy"},
        {"IMEKONTRAGENT", T::String, "Доставчик", "", true, 40},
        {"NSKLAD", T::Integer, "", "", false},
        {"NMATERIAL", T::Integer, "", "", false},
        {"SUMISK", T::Float, "Вложено", kSum, false},
        {"NKONTRAGENT", T::Integer, "", "", false},
        {"ZAKUPCHIK", T::String, "Закупчик", "", false, 47},
        {"AUTONUM", T::Integer, "", "", false},
    });
    addSum(ds, "SumObCenaLv", "Sum(Obsta_Cena_Lv)");
    addSum(ds, "SumObCenaUSD", "Sum(Obsta_Cena_USD)");
    addSum(ds, "SumObCenaEUR", "Sum(Obsta_Cena_EUR)");
    addSum(ds, "SumProdCenaLV", "Sum(Obsta_cena_Prod_LV)");
    addSum(ds, "SumProdCenaUSD", "Sum(Obsta_cena_Prod_USD)");
    addSum(ds, "SumProdCenaEUR", "Sum(Obsta_cena_Prod_EUR)");
    addSum(ds, "SumObProMinusDostLV", "Sum(Obsto_Prod_Minus_Dost_LV)");
    addSum(ds, "SumObProMinusDostUSD", "Sum(Obsto_Prod_Minus_Dost_USD)");
    addSum(ds, "SumObProMinusDostEUR", "Sum(Obsto_Prod_Minus_Dost_EUR)");
}

void TDMSklSpravki::defineMinMax()
{
    SmpDataset& ds = SmpMat_Spravka;
    ds.setCommandText(QStringLiteral("select * from Materiali_Spravka(:SKLADOT,:SKLADDO) order by nsklad,imematerial"));
    ds.setReadOnly(true);
    ds.setKeyFields(QStringLiteral("NMATERIAL"));
    rangeParams(ds, {"SKLADOT", "SKLADDO"});
    const char* price = "# ##0.00";
    addFields(ds, {
        {"NSKLAD", T::Integer, "№ Склад"},
        {"IMESKLAD", T::String, "Склад", "", true, 35},
        {"IMEMATERIAL", T::String, "Наименование", "", true, 65},
        {"IMEMKA", T::String, "Мка", "", true, 5},
        {"NALICHNOST", T::Float, "Наличност", kQty},
        {"PRODAGNACENA_LV", T::Float, "Прод.ц.Лв", price},
        {"PRODAGNACENA_USD", T::Float, "Прод.ц.USD", price},
        {"PRODAGNACENA_EUR", T::Float, "Прод.ц.EUR", price},
        {"MIN_KOL", T::Float, "Min", price},
        {"MAX_KOL", T::Float, "Max", price},
        {"NMATERIAL", T::Integer, "", "", false},
        {"ED_CENA", T::Float, "", "", false},
    });
}

void TDMSklSpravki::defineStockAtDate()
{
    SmpDataset& ds = SmpSprMatKymData;
    ds.setCommandText(QStringLiteral("select * from SKLADNALICH_KYMDATA(:SKLADOT,:SKLADDO,:NMATERIALOT,:NMATERIALDO,"
                                     ":DATEFAKTURA_KYM) order by nsklad,imematerial"));
    ds.setReadOnly(true);
    ds.setKeyFields(QStringLiteral("NMATERIAL"));
    rangeParams(ds, {"SKLADOT", "SKLADDO", "NMATERIALOT", "NMATERIALDO", "DATEFAKTURA_KYM"});
    addFields(ds, {
        {"NSKLAD", T::Integer, "", "", false},
        {"NMATERIAL", T::Integer, "", "", false},
        {"SKLAD", T::String, "Склад", "", true, 35},
        {"IMEMATERIAL", T::String, "Наименование", "", true, 65},
        {"MIARKA_BG", T::String, "Мка", "", true, 5},
        {"NALICHNOST", T::Float, "Наличност", kQty3},
        {"SUMMAT_DOSTAVKA", T::Float, "Доставено", kQty3},
        {"SUMDOST_BRAK", T::Float, "Брак", kQty3},
        {"SUMISK", T::Float, "Вложено", kQty3},
        {"SUMMAT_PRODAGBI", T::Float, "Продадено", kQty3},
        {"SUMMAT_SKLOB", T::Float, "Експедирано", kQty3},
        {"SREDNA_CENA_LV", T::Float, "Ср.ц.лв.", kSum},
        {"SREDNA_CENA_USD", T::Float, "Ср.ц.USD", kSum},
        {"SREDNA_CENA_EUR", T::Float, "Ср.ц.EUR", kSum},
        {"OBSTA_CENA_LV", T::Float, "Общо лв.", kSum},
        {"OBSTA_CENA_USD", T::Float, "Общо USD", kSum},
        {"OBSTA_CENA_EUR", T::Float, "Общо EUR", kSum},
        {"PRODAGNA_CENA", T::Float, "Прод.ц.лв.", kSum},
        {"PRODAGNA_CENA_USD", T::Float, "Прод.ц.USD", kSum},
        {"PRODAGNA_CENA_EUR", T::Float, "Прод.ц.EUR", kSum},
        {"OBSTA_CENA_PROD_LV", T::Float, "Об.прод.ц.лв.", kSum},
        {"OBSTA_CENA_PROD_USD", T::Float, "Об.прод.ц.USD", kSum},
        {"OBSTA_CENA_PROD_EUR", T::Float, "Об.прод.ц.EUR", kSum},
        {"OBSTO_PROD_MINUS_DOST_LV", T::Float, "Разлика.лв.", kSum},
        {"OBSTO_PROD_MINUS_DOST_USD", T::Float, "Разлика USD", kSum},
        {"OBSTO_PROD_MINUS_DOST_EUR", T::Float, "Разлика EUR", kSum},
    });
    const auto calc = [&ds](const char* name, const char* label, const char* format, bool shown = true,
                            T type = T::Float, int size = 0) {
        SmpField* f = ds.addCalculatedField(QString::fromLatin1(name), type, size);
        f->displayLabel = QString::fromUtf8(label);
        f->displayFormat = QString::fromLatin1(format);
        f->visible = shown;
    };
    calc("Cena", "Цена", kSum);
    calc("Valuta", "Валута", "", true, T::String, 3);
    calc("SrednaCena", "Средна цена", "# ### ##0.000");
    calc("SrednaCenaObsto", "Ср.цена общо", kSum);
    for (const char* hidden : {"SumLVagg", "SumUSDagg", "SumEURagg", "SumLVSrCenaAgg", "SumUSDSrCenaAgg", "SumEURSrCenaAgg"})
        calc(hidden, "", kSum, false);
    addSum(ds, "SumLV", "sum(OBSTA_CENA_PROD_LV)");
    addSum(ds, "SumUSD", "sum(OBSTA_CENA_PROD_USD)");
    addSum(ds, "SumEUR", "sum(OBSTA_CENA_PROD_EUR)");
    addSum(ds, "SumLVSrCena", "sum(Obsta_CENA_LV)");
    addSum(ds, "SumUSDSrCena", "sum(Obsta_CENA_USD)");
    addSum(ds, "SumEURSrCena", "sum(Obsta_CENA_EUR)");
    // Selling prices come with the company's VAT, their totals without it; the average price,
    // where there is one, names the row's currency.
    ds.onCalcFields = [this](SmpDataset& d) {
        using namespace StockPrices;
        const auto num = [&d](const char* name) { return d.fieldByName(QString::fromLatin1(name))->asFloat(); };
        const auto set = [&d](const char* name, const QVariant& v) { d.setValue(QString::fromLatin1(name), v); };
        const double vat = vatPercent();
        const Shown selling = lastPriced(num("PRODAGNA_CENA"), num("PRODAGNA_CENA_USD"), num("PRODAGNA_CENA_EUR"));
        set("Cena", selling.price);
        for (const auto& [copy, sum] : {std::pair{"SumLVagg", "SumLV"}, std::pair{"SumUSDagg", "SumUSD"},
                                        std::pair{"SumEURagg", "SumEUR"}})
            set(copy, num(sum) > 0 ? QVariant(withVat(num(sum), vat)) : QVariant());
        const Shown average = lastPriced(num("SREDNA_CENA_LV"), num("SREDNA_CENA_USD"), num("SREDNA_CENA_EUR"),
                                         selling.currency);
        set("SrednaCena", average.price);
        set("Valuta", average.currency);
        set("SrednaCenaObsto", average.price.isNull() ? QVariant() : QVariant(num("NALICHNOST") * average.price.toDouble()));
        for (const auto& [copy, sum] : {std::pair{"SumLVSrCenaAgg", "SumLVSrCena"},
                                        std::pair{"SumUSDSrCenaAgg", "SumUSDSrCena"},
                                        std::pair{"SumEURSrCenaAgg", "SumEURSrCena"}})
            set(copy, num(sum) > 0 ? QVariant(num(sum)) : QVariant());
    };
}

void TDMSklSpravki::defineReceipts()
{
    SmpDataset& ds = SmpSklRazp;
    ds.setCommandText(QStringLiteral("select * from Sklad_Spravka_SklRazp(:POLUCHENOOT,:POLUCHENODO,:DATEFAKTURAOT,"
                                     ":DATEFAKTURADO) order by DATEFAKTURA,NUMSKLAD,IMEMATERIAL"));
    ds.setReadOnly(true);
    ds.setKeyFields(QStringLiteral("AUTONUM"));
    rangeParams(ds, {"POLUCHENOOT", "POLUCHENODO", "DATEFAKTURAOT", "DATEFAKTURADO"});
    const char* price = "# ### ##0.000";
    addFields(ds, {
        {"NSKLRAZP", T::Integer, "Скл.разп.№", "# ###"},
        {"IMESKLAD", T::String, "Склад", "", true, 35},
        {"IMEMATERIAL", T::String, "Наименование", "", true, 65},
        {"MIARKA_BG", T::String, "Мка", "", true, 5},
        {"KOLICHESTVO", T::Float, "Количество", kQty},
        {"KOLICH_SERII", T::Integer, "Бр.сер.", "# ###"},
        {"ED_CENA_LV", T::Float, "Ед.ц.лв.", price},
        {"USD", T::Float, "Ед.ц.USD", price},
        {"EUR", T::Float, "Ед.ц.EUR", price},
        {"DATEPOLUCHENO", T::DateTime, "Получено", "dd.mm.yy"},
        {"IMEKONTRAGENT", T::String, "Доставчик", "", true, 40},
        {"NFAKTURA", T::String, "№ фактура", "", true, 10},
        {"DATEFAKTURA", T::DateTime, "Дата", "dd.mm.yy"},
        {"PROCENT_OTST", T::Float, "%отст.", "0.00"},
        {"ED_CENA_LV_OTST", T::Float, "Лв.с отст.", price},
        {"USD_OTST", T::Float, "USD с отст.", price},
        {"EUR_OTST", T::Float, "EUR с отст.", price},
        {"PROCENT_DDS", T::Float, "%ДДС", "0.00"},
        {"ED_CENA_LV_OTST_DDS", T::Float, "Лв.с отст.+ДДС", price},
        {"USD_OTST_DDS", T::Float, "USD.с отст.+ДДС", price},
        {"EUR_OTST_DDS", T::Float, "EUR.с отст.+ДДС", price},
        {"STOINOST_DDS", T::Float, "СумаДДС", kSum},
        {"OBSTO_LV", T::Float, "Общо лв.", kSum},
        {"OBSTO_USD", T::Float, "Общо USD", kSum},
        {"OBSTO_EUR", T::Float, "Общо EUR", kSum},
        {"AUTONUM", T::Integer, "", "", false},
        {"NMATERIAL", T::Integer, "", "", false},
        {"NKONTRAGENT", T::Integer, "", "", false},
        {"KOMIS", T::Float, "", kSum, false},
        {"KOMIS_OBSTO", T::Float, "", kSum, false},
        {"SHIFYR", T::Integer, "", "", false},
        {"ZAKUPCHIK", T::String, "", "", false, 47},
    });
}

void TDMSklSpravki::definePoints()
{
    SmpDataset& ds = SmpSklPunkt;
    ds.setCommandText(QStringLiteral("select * from SKLAD_KONTR_NALICH(:SKLADOT,:SKLADDO,:NMATERIALOT,:NMATERIALDO)\n"
                                     "order by IMEMATERIAL,DATEFAKTURA"));
    ds.setReadOnly(true);
    ds.setKeyFields(QStringLiteral("AUTONUM"));
    rangeParams(ds, {"SKLADOT", "SKLADDO", "NMATERIALOT", "NMATERIALDO"});
    addFields(ds, {
        {"NSKLAD", T::Integer, "", "", false},
        {"SKLAD", T::String, "Склад", "", true, 35},
        {"NFAKTURA", T::String, "№ док.", "", true, 10},
        {"DATEFAKTURA", T::DateTime, "Дата", "dd.mm.yy"},
        {"DATEPOLUCHENO", T::DateTime, "", "", false},
        {"NUMSHIFYR", T::Integer, "", "", false},
        {"NMATERIAL", T::Integer, "", "", false},
        {"IMEMATERIAL", T::String, "Наименование", "", true, 65},
        {"MIARKA_BG", T::String, "Мка", "", true, 5},
        {"KOLICHESTVO", T::Float, "Количество", kSum},
        {"ED_CENA_LV", T::Float, "Ед.цена", kSum},
        {"OBSTO_LV", T::Float, "Общо лв.", kSum},
        {"STOINOST_DDS", T::Float, "ДДС 20%", kSum},
        {"KOMIS_OBSTO", T::Float, "Комис.", kSum},
        {"PRODAGNA_CENA", T::Float, "", "", false},
        {"OBSTA_CENA_PROD_LV", T::Float, "", "", false},
        {"OBSTO_PROD_MINUS_DOST_LV", T::Float, "", "", false},
        {"NKONTRAGENT", T::Integer, "", "", false},
        {"IMEKONTRAGENT", T::String, "Доставчик/пункт/", "", true, 40},
        {"ZAKUPCHIK", T::String, "Закупчик", "", true, 47},
        {"SUMDOST_BRAK", T::Float, "Брак", kSum},
        {"SUMISK", T::Float, "Вложено", kSum, false},
        {"SUMMAT_PRODAGBI", T::Float, "Продадено", kSum},
        {"NALICHNOST", T::Float, "Наличност", kSum},
        {"PROCENT_OTST", T::Float, "% ТО", "0.00"},
        {"PROCENT_DDS", T::Float, "% ДДС", "0.00"},
        {"KOMIS", T::Float, "", kSum, false},
        {"AUTONUM", T::Integer, "", "", false},
    });
    SmpField* average = ds.addCalculatedField(QStringLiteral("SrednaCena"), T::Float);
    average->displayFormat = QString::fromLatin1(kSum);
    average->visible = false;
    addSum(ds, "SumObstoLv", "sum(Obsto_Lv)");
    addSum(ds, "SumKolichestvo", "sum(Kolichestvo)");
    addSum(ds, "SumStoinostDDS", "sum(Stoinost_DDS)");
    addSum(ds, "SumKomisObsto", "sum(Komis_Obsto)");
    ds.onCalcFields = [](SmpDataset& d) {
        d.setValue(QStringLiteral("SrednaCena"),
                   StockPrices::averagePrice(d.fieldByName(QStringLiteral("SumObstoLv"))->asFloat(),
                                                d.fieldByName(QStringLiteral("SumKolichestvo"))->asFloat()));
    };
    ds.setFiltered(true);
}

void TDMSklSpravki::definePackaging(SmpDataset& suppliers)
{
    SmpAmbTip.setTableName(QStringLiteral("TIP_AMBALAG"));
    SmpAmbTip.setIndexFieldNames(QStringLiteral("IME_AMBALAG"));
    SmpAmbTip.setKeyFields(QStringLiteral("NAMBALAG"));
    addFields(SmpAmbTip, {{"NAMBALAG", T::Integer, "", "", false},
                          {"IME_AMBALAG", T::String, "Наименование на амбалажа", "", true, 30}});
    for (SmpDataset* ds : {&SmpAmbFirmaDost, &SmpAmbDostFirma}) {
        ds->setTableName(ds == &SmpAmbFirmaDost ? QStringLiteral("AMB_FIRMA_DOST") : QStringLiteral("AMB_DOST_FIRMA"));
        ds->setKeyFields(QStringLiteral("AUTONUM"));
        ds->setIndexFieldNames(QStringLiteral("DATE_AMB"));
        addFields(*ds, {{"AUTONUM", T::Integer, "", "", false},
                        {"NKONTRAGENT", T::Integer, "", "", false},
                        {"NAMBALAG", T::Integer, "", "", false},
                        {"DATE_AMB", T::DateTime, "Дата", "dd.mm.yy"}});
        SmpField* kind = ds->addLookupField(QStringLiteral("ImeAmbalag"), &SmpAmbTip, QStringLiteral("NAMBALAG"),
                                            QStringLiteral("NAMBALAG"), QStringLiteral("IME_AMBALAG"));
        kind->displayLabel = QStringLiteral("Вид");
        addFields(*ds, {{"BROI_AMB", T::Integer, "Брой", "# ### ###"}});
        ds->setMaster(&suppliers, QStringLiteral("NKONTRAGENT"), QStringLiteral("NKONTRAGENT"));
    }
    SmpAmbKontr.setCommandText(QStringLiteral("select * from Ambalag_Kontragent(:NumKontragent)"));
    SmpAmbKontr.setReadOnly(true);
    SmpAmbKontr.setParam(QStringLiteral("NumKontragent"), 0);
    addFields(SmpAmbKontr, {{"IMEAMBALAG", T::String, "Вид", "", true, 30},
                            {"POLUCHENO", T::Integer, "Плучено /бр./", "# ### ###"},
                            {"VYRNATO", T::Integer, "Върнато /бр./", "# ### ###"},
                            {"NALICHNO", T::Integer, "Налично /бр./", "# ### ###"}});
    // Every posted or deleted row is stored at once and the totals follow it.
    SaveAtOnce::install(SmpAmbTip, {&SmpAmbFirmaDost, &SmpAmbDostFirma});
    SaveAtOnce::install(SmpAmbFirmaDost, {&SmpAmbKontr});
    SaveAtOnce::install(SmpAmbDostFirma, {&SmpAmbKontr});
}
