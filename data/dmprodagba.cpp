#include "data/dmprodagba.h"

#include "data/dmns.h"

namespace {
using T = SmpField::Type;

struct Col
{
    const char* field;
    T type;
    const char* label;
    const char* format = "";
    bool shown = true;
    int size = 0;
};

void addFields(SmpDataset& ds, std::initializer_list<Col> cols, bool internal = false)
{
    for (const Col& c : cols) {
        const QString name = QString::fromLatin1(c.field);
        SmpField* f = internal ? ds.addInternalCalcField(name, c.type, c.size) : ds.addDataField(name, c.type, c.size);
        f->displayLabel = QString::fromUtf8(c.label);
        f->displayFormat = QString::fromLatin1(c.format);
        f->visible = c.shown;
    }
}

void addCalculated(SmpDataset& ds, std::initializer_list<Col> cols)
{
    for (const Col& c : cols) {
        SmpField* f = ds.addCalculatedField(QString::fromLatin1(c.field), c.type, c.size);
        f->displayLabel = QString::fromUtf8(c.label);
        f->displayFormat = QString::fromLatin1(c.format);
        f->visible = c.shown;
    }
}

const char* kMoney = "# ### ##0.00";
const char* kPrice3 = "# ### ##0.000";
} // namespace

TDMProdagba::TDMProdagba(TDMNS& dm, QObject* parent)
    : QObject(parent),
      SmpProdagbaTempNew(QStringLiteral("SmpProdagbaTempNew"), &dm.SQLConnectNS, this),
      SmpProdagbaKorekcia(QStringLiteral("SmpProdagbaKorekcia"), &dm.SQLConnectNS, this),
      SmpFaktObobstena(QStringLiteral("SmpFaktObobstena"), &dm.SQLConnectNS, this),
      SmpProdTemp(QStringLiteral("SmpProdTemp"), &dm.SQLConnectNS, this),
      SmpProdSkladNalich(QStringLiteral("SmpProdSkladNalich"), &dm.SQLConnectNS, this),
      SmpSklObNalich(QStringLiteral("SmpSklObNalich"), &dm.SQLConnectNS, this),
      SmpProdTipSklad(QStringLiteral("SmpProdTipSklad"), &dm.SQLConnectNS, this),
      SmpProdSkladMat(QStringLiteral("SmpProdSkladMat"), &dm.SQLConnectNS, this),
      SmpViewMatSklOb(QStringLiteral("SmpViewMatSklOb"), &dm.SQLConnectNS, this),
      SmpRealizaciaProdagba(QStringLiteral("SmpRealizaciaProdagba"), &dm.SQLConnectNS, this),
      SmpPlastProd(QStringLiteral("SmpPlastProd"), &dm.SQLConnectNS, this),
      SmpProdagbaPlastane(QStringLiteral("SmpProdagbaPlastane"), &dm.SQLConnectNS, this),
      SmpRealizKons(QStringLiteral("SmpRealizKons"), &dm.SQLConnectNS, this),
      SmpRealizKonsVyr(QStringLiteral("SmpRealizKonsVyr"), &dm.SQLConnectNS, this)
{
    setObjectName(QStringLiteral("DMProdagba"));
    defineLines(SmpProdagbaTempNew, dm);
    defineLines(SmpProdagbaKorekcia, dm);
    defineLines(SmpFaktObobstena, dm);
    SmpFaktObobstena.addLookupField(QStringLiteral("ImeMkaMat"), &dm.SmpMateriali, QStringLiteral("NMATERIAL"),
                                    QStringLiteral("NMATERIAL"), QStringLiteral("ImeMiarka"))
        ->displayLabel = QStringLiteral("Мка");
    SmpProdTemp.setTableName(QStringLiteral("PRODKOREKC_TEMP"));
    SmpProdTemp.setScratch(true);
    addFields(SmpProdTemp, {{"NSKLOB", T::Integer, "Скл.обект"},
                            {"NUMMAT", T::Integer, "№ мат."},
                            {"KOLICH", T::Float, "Колич.", "# ### ##0.00"}});
    defineStock();
    defineBrowser();
}

void TDMProdagba::defineLines(SmpDataset& ds, TDMNS& dm)
{
    ds.setTableName(QStringLiteral("PRODAGBI_TEMP"));
    ds.setScratch(true);
    addFields(ds, {{"NMATERIAL", T::Integer, "№ мат.", "", false}});
    ds.addLookupField(QStringLiteral("ImeMaterial"), &dm.SmpMateriali, QStringLiteral("NMATERIAL"),
                      QStringLiteral("NMATERIAL"), QStringLiteral("IMEMATERIAL"))
        ->displayLabel = QStringLiteral("Материал,изделие,комплект");
    addFields(ds, {{"BROI_MATERIAL_IZDELIE", T::Float, "Колич.", "# ### ##0.00"},
                   {"CENA_MATERIAL_IZDELIE", T::Float, "Ед.ц.ЛВ", kPrice3}});
    addFields(ds, {{"CenaMatIzdCalc", T::Float, "Ед.ц.док.ЛВ", "# ##0.00"},
                   {"CenaMatIzdBroiObsto", T::Float, "Стойност ЛВ", kMoney}},
              true);
    addFields(ds, {{"CENA_MAT_IZD_USD", T::Float, "Ед.ц.USD", kPrice3}});
    addFields(ds, {{"CenaMatIzdCalcUSD", T::Float, "Ед.ц.док.USD", "# ##0.000"},
                   {"CenaMatIzdBroiObstoUSD", T::Float, "Стойност USD", kMoney}},
              true);
    addFields(ds, {{"CENA_MAT_IZD_EUR", T::Float, "Ед.ц.EUR", kPrice3}});
    addFields(ds, {{"CenaMatIzdCalcEUR", T::Float, "Ед.ц.док.EUR", "# ##0.000"},
                   {"CenaMatIzdBroiObstoEUR", T::Float, "Стойност EUR", kMoney}},
              true);
    addFields(ds, {{"OTST_IZDELIE", T::Float, "% ТО", "0.00"},
                   {"NSKL_OBEKT", T::Integer, "№", "", true}});
    ds.addLookupField(QStringLiteral("ImeSklOb"), &dm.SmpTipSklOb, QStringLiteral("NSKL_OBEKT"),
                      QStringLiteral("NSKL_OBEKT"), QStringLiteral("IME_SKL_OBEKT"))
        ->displayLabel = QStringLiteral("От склад");
    addFields(ds, {{"ARTN_POLUCH", T::String, "Арт.№ пол.", "", true, 10},
                   {"ARTN_DOSTAV", T::String, "Арт.№ дост.", "", true, 10},
                   {"BARKOD", T::String, "Баркод", "", true, 13},
                   {"FLAG_SPEC_CENA", T::Integer, "", "", false},
                   {"PROD_VYRN", T::Integer, "", "", false},
                   {"NSKL_RAZP", T::Integer, "", "", false},
                   {"AUTONUM_SKLAD", T::Integer, "", "", false},
                   {"AUTONUM", T::Integer, "", "", false}});
    ds.fieldByName(QStringLiteral("BROI_MATERIAL_IZDELIE"))->readOnly = true;
    addCalculated(ds, {{"CenaMatIzdCalc_Otst", T::Float, "", kPrice3, false},
                       {"CenaMatIzdCalcUSD_Otst", T::Float, "", kPrice3, false},
                       {"CenaMatIzdCalcEUR_Otst", T::Float, "", kPrice3, false},
                       {"Cena", T::Float, "Цена", kPrice3, false},
                       {"Cena_Otst", T::Float, "Цена с отст.", kPrice3, false},
                       {"Valuta", T::String, "Валута", "", false, 3}});
    for (const auto& [name, expression] :
         {std::pair{"CenaMatIzdBroiObstoSum", "Sum(CenaMatIzdBroiObsto)"},
          {"CenaMatIzdBroiObstoSumUSD", "Sum(CenaMatIzdBroiObstoUSD)"},
          {"CenaMatIzdBroiObstoSumEUR", "Sum(CenaMatIzdBroiObstoEUR)"}})
        ds.addAggregateField(QString::fromLatin1(name), QString::fromLatin1(expression))->displayFormat =
            QString::fromLatin1(kMoney);
    addCalculated(ds, {{"CenaMatIzdBroiObstoSumAgg", T::Float, "", kMoney, false},
                       {"CenaMatIzdBroiObstoSumUSDAgg", T::Float, "", kMoney, false},
                       {"CenaMatIzdBroiObstoSumEURAgg", T::Float, "", kMoney, false},
                       {"Otst_Obsta_Procent", T::Float, "", "0.00", false},
                       {"Otst_Obsta_Stoinost", T::Float, "", "# ##0.00", false},
                       {"Otst_Obsta_StoinostUSD", T::Float, "", "# ##0.00", false},
                       {"Otst_Obsta_StoinostEUR", T::Float, "", "# ##0.00", false},
                       {"OblagaemaSt", T::Float, "", kMoney, false},
                       {"DDS_Stoinost", T::Float, "", kMoney, false},
                       {"Plastane_Stoinost", T::Float, "", kMoney, false},
                       {"Plastane_StoinostUSD", T::Float, "", kMoney, false},
                       {"Plastane_StoinostEUR", T::Float, "", kMoney, false},
                       {"Plastane_StoinostText", T::String, "", "", false, 100},
                       {"ZadylgeniaObstoLV", T::Float, "", kMoney, false},
                       {"ZadylgeniaObstoUSD", T::Float, "", kMoney, false},
                       {"ZadylgeniaObstoEUR", T::Float, "", kMoney, false}});
}

void TDMProdagba::defineStock()
{
    SmpProdSkladNalich.setCommandText(QStringLiteral(
        "SELECT * FROM SKLADNALICH(:SKLADOT,:SKLADDO,:NMATERIALOT,:NMATERIALDO) order by IMEMATERIAL,datePolucheno"));
    SmpProdSkladNalich.setReadOnly(true);
    SmpProdSkladNalich.setKeyFields(QStringLiteral("AUTONUM"));
    for (const char* p : {"SKLADOT", "SKLADDO", "NMATERIALOT", "NMATERIALDO"})
        SmpProdSkladNalich.setParam(QString::fromLatin1(p), 0);
    const char* qty = "# ### ##0.000";
    addFields(SmpProdSkladNalich, {
        {"AUTONUM", T::Integer, "№ ред", "", false},
        {"NSKLAD", T::Integer, "№ склад", "", false},
        {"SKLAD", T::String, "Склад", "", true, 35},
        {"NMATERIAL", T::Integer, "№ мат.", "", false},
        {"IMEMATERIAL", T::String, "Материал,изделие,комплект", "", true, 65},
        {"MIARKA_BG", T::String, "Мка", "", true, 5},
        {"NALICHNOST", T::Float, "Наличност", qty},
        {"KOLICHESTVO", T::Float, "Доставено", qty},
        {"SUMMAT_SKLOB", T::Float, "Експедирано", qty},
        {"SUMMAT_PRODAGBI", T::Float, "Продадено", qty},
        {"ED_CENA_LV", T::Float, "Дост.ц.лв.", kPrice3},
        {"PRODAGNA_CENA", T::Float, "Цена на едро лв.", kMoney},
        {"PROD_CENA_LV_DREBNO", T::Float, "Цена на дребно лв.", kMoney},
        {"USD", T::Float, "USD", kPrice3},
        {"PRODAGNA_CENA_USD", T::Float, "Цена на едро USD", kMoney},
        {"PROD_CENA_USD_DREBNO", T::Float, "Цена на дребно USD", kMoney},
        {"EUR", T::Float, "EUR", kPrice3},
        {"PRODAGNA_CENA_EUR", T::Float, "Цена на едро EUR", kMoney},
        {"PROD_CENA_EUR_DREBNO", T::Float, "Цена на дребно EUR", kMoney},
        {"SUMISK", T::Float, "Изписано", qty},
        {"OBSTA_CENA_LV", T::Float, "Общо дост.лв.", kMoney},
        {"OBSTA_CENA_USD", T::Float, "Общо дост.USD", kMoney},
        {"OBSTA_CENA_EUR", T::Float, "Общо дост.EUR", kMoney},
        {"DATEPOLUCHENO", T::DateTime, "Получено", "dd.mm.yy"},
        {"NFAKTURA", T::String, "№ факт.", "", true, 10},
        {"DATEFAKTURA", T::DateTime, "Дата", "dd.mm.yy"},
        {"IMEKONTRAGENT", T::String, "Доставчик", "", true, 40},
        {"SKL_OBEKT_DA_NE", T::Integer, "", "", false},
    });
    SmpProdSkladNalich.addAggregateField(QStringLiteral("SumObCenaLv"), QStringLiteral("Sum(Obsta_Cena_Lv)"))
        ->displayFormat = QString::fromLatin1(kMoney);
    SmpProdSkladNalich.addAggregateField(QStringLiteral("SumNalichnost"), QStringLiteral("sum(Nalichnost)"))
        ->displayFormat = QString::fromLatin1(qty);

    SmpSklObNalich.setCommandText(QStringLiteral("SELECT * FROM SKLADOBEKTNALICH(:NSKLOBEKT_OT,:NSKLOBEKT_DO,"
                                                 ":NMATERIALOT,:NMATERIALDO) order by DatePolucheno,Autonum,IMEMATERIAL"));
    SmpSklObNalich.setReadOnly(true);
    SmpSklObNalich.setKeyFields(QStringLiteral("AUTONUM"));
    for (const char* p : {"NSKLOBEKT_OT", "NSKLOBEKT_DO", "NMATERIALOT", "NMATERIALDO"})
        SmpSklObNalich.setParam(QString::fromLatin1(p), 0);
    addFields(SmpSklObNalich, {
        {"AUTONUM", T::Integer, "№ ред", "", false},
        {"NUM_SKL_RAZP", T::Integer, "№ск.р."},
        {"NSKL_OBEKT", T::Integer, "№", "", false},
        {"IMESKL_OBEKT", T::String, "Складов обект", "", true, 40},
        {"SKLAD_VHOD_IME", T::String, "Получено от", "", true, 40},
        {"NMATERIAL", T::Integer, "№ мат.", "", false},
        {"IMEMATERIAL", T::String, "Наименование", "", true, 65},
        {"MIARKA_BG", T::String, "Мка", "", true, 5},
        {"NALICHNO", T::Float, "Налично", qty},
        {"POLUCHENO", T::Float, "Получено", qty},
        {"EKSPEDIRANO", T::Float, "Експедирано", qty},
        {"PRODADENO", T::Float, "Продадено", qty},
        {"ED_CENA_LV", T::Float, "Дост.ц.лв.", kPrice3},
        {"USD", T::Float, "USD", kPrice3},
        {"EUR", T::Float, "EUR", kPrice3},
        {"PRODAGNA_CENA", T::Float, "Цена на едро лв.", kMoney},
        {"PRODAGNA_CENA_USD", T::Float, "Цена на едро USD", kMoney},
        {"PRODAGNA_CENA_EUR", T::Float, "Цена на едро EUR", kMoney},
        {"PROD_CENA_LV_DREBNO", T::Float, "Цена на дребно лв.", kMoney},
        {"PROD_CENA_USD_DREBNO", T::Float, "Цена на дребно USD", kMoney},
        {"PROD_CENA_EUR_DREBNO", T::Float, "Цена на дребно EUR", kMoney},
        {"DATEPOLUCHENO", T::DateTime, "Дата", "dd.mm.yy"},
    });

    SmpProdTipSklad.setTableName(QStringLiteral("TIP_SKLAD"));
    SmpProdTipSklad.setReadOnly(true);
    SmpProdSkladMat.setTableName(QStringLiteral("MATERIALI"));
    SmpProdSkladMat.setIndexFieldNames(QStringLiteral("IMEMATERIAL"));
    SmpProdSkladMat.setReadOnly(true);
    SmpViewMatSklOb.setCommandText(QStringLiteral("select * from VIEWMAT_SKLOBEKT order by imematerial"));
    SmpViewMatSklOb.setReadOnly(true);
    SmpViewMatSklOb.setKeyFields(QStringLiteral("NMATERIAL"));
}
