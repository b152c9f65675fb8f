#include "data/dmsklobekti.h"

#include "data/dmns.h"

namespace {
using T = SmpField::Type;

const char* kQty = "# ### ##0.00";
const char* kPrice = "# ##0.00";
const char* kPrice3 = "# ### ##0.000";
const char* kDate = "dd.mm.yy";

// Every column the view procedures return, with its label and format as most views show it.
struct Column
{
    const char* field;
    T type;
    const char* label;
    const char* format;
    int size;
};

const Column kColumns[] = {
    {"AUTONUM", T::Integer, "№ ред", "", 0},
    {"NUM_SKL_RAZP", T::Integer, "№ск.р.", "# ###", 0},
    {"NUM_SKL_RAZP_DOPN", T::Integer, "Поз.", "", 0},
    {"NSKL_OBEKT", T::Integer, "№ обект", "", 0},
    {"IMESKL_OBEKT", T::String, "Складов обект", "", 40},
    {"NSKLAD_VHOD", T::Integer, "От склад №", "", 0},
    {"NSKL_OBEKT_VHOD", T::Integer, "От обект №", "", 0},
    {"SKLAD_VHOD_IME", T::String, "Получено от", "", 40},
    {"NSKL_RAZP_VHOD", T::Integer, "От скл.разп.", "", 0},
    {"NSKL_RAZP_DOPN_VHOD", T::Integer, "Поз.източник", "", 0},
    {"NMATERIAL", T::Integer, "№ мат.", "", 0},
    {"IMEMATERIAL", T::String, "Материал / артикул", "", 65},
    {"MIARKA_BG", T::String, "Мка", "", 5},
    {"DATEPOLUCHENO", T::DateTime, "Дата", kDate, 0},
    {"POLUCHENO", T::Float, "Получено", kQty, 0},
    {"EKSPEDIRANO", T::Float, "Експедирано", kQty, 0},
    {"PRODADENO", T::Float, "Продадено", kQty, 0},
    {"NALICHNO", T::Float, "Налично", kQty, 0},
    {"ED_CENA_LV", T::Float, "Дост.ц.лв.", kPrice, 0},
    {"USD", T::Float, "Дост.ц.USD", kPrice, 0},
    {"EUR", T::Float, "Дост.ц.EUR", kPrice, 0},
    {"PRODAGNA_CENA", T::Float, "Цена едро лв.", kPrice, 0},
    {"PRODAGNA_CENA_USD", T::Float, "Цена едро USD", kPrice, 0},
    {"PRODAGNA_CENA_EUR", T::Float, "Цена едро EUR", kPrice, 0},
    {"PROD_CENA_LV_DREBNO", T::Float, "Цена дребно лв.", kPrice, 0},
    {"PROD_CENA_USD_DREBNO", T::Float, "Цена дребно USD", kPrice, 0},
    {"PROD_CENA_EUR_DREBNO", T::Float, "Цена дребно EUR", kPrice, 0},
    {"OBSTA_CENA_LV", T::Float, "Общо дост.лв.", kQty, 0},
    {"OBSTA_CENA_USD", T::Float, "Общо дост.USD", kQty, 0},
    {"OBSTA_CENA_EUR", T::Float, "Общо дост.EUR", kQty, 0},
    {"OBSTA_CENA_PROD_LV", T::Float, "Общо едро лв.", kQty, 0},
    {"OBSTA_CENA_PROD_USD", T::Float, "Общо едро USD", kQty, 0},
    {"OBSTA_CENA_PROD_EUR", T::Float, "Общо едро EUR", kQty, 0},
    {"OBSTA_CENA_PROD_LV_DREBNO", T::Float, "Общо дребно лв.", kQty, 0},
    {"OBSTA_CENA_PROD_USD_DREBNO", T::Float, "Общо дребно USD", kQty, 0},
    {"OBSTA_CENA_PROD_EUR_DREBNO", T::Float, "Общо дребно EUR", kQty, 0},
    {"OBSTO_PROD_MINUS_DOST_LV", T::Float, "Разлика лв.", kQty, 0},
    {"OBSTO_PROD_MINUS_DOST_USD", T::Float, "Разлика USD", kQty, 0},
    {"OBSTO_PROD_MINUS_DOST_EUR", T::Float, "Разлика EUR", kQty, 0},
    {"NFAKTURA", T::String, "№ факт.", "", 10},
    {"DATEFAKTURA", T::DateTime, "Дата факт.", kDate, 0},
    {"NKONTRAGENT", T::Integer, "№ контр.", "", 0},
    {"IMEKONTRAGENT", T::String, "Доставчик", "", 40},
    {"IMEMOLFIRMA", T::String, "М О Л", "", 45},
};

// A shown column of a view: its field, and the label or format it shows there when not the usual.
struct Shown
{
    const char* field;
    const char* label = nullptr;
    const char* format = nullptr;
};

// The view's fields: the shown ones in their order, then the rest hidden.
void defineView(SmpDataset& ds, const QString& procedure, const QString& params, std::initializer_list<Shown> shown)
{
    ds.setCommandText(QStringLiteral("SELECT * FROM %1(%2) order by DatePolucheno,Autonum,IMEMATERIAL").arg(procedure, params));
    ds.setReadOnly(true);
    ds.setKeyFields(QStringLiteral("AUTONUM"));
    const auto add = [&ds](const Column& c, const char* label, const char* format, bool visible) {
        SmpField* f = ds.addDataField(QString::fromLatin1(c.field), c.type, c.size);
        f->displayLabel = QString::fromUtf8(label ? label : c.label);
        f->displayFormat = QString::fromLatin1(format ? format : c.format);
        f->visible = visible;
    };
    for (const Shown& s : shown)
        for (const Column& c : kColumns)
            if (qstrcmp(c.field, s.field) == 0) add(c, s.label, s.format, true);
    for (const Column& c : kColumns)
        if (!ds.findField(QString::fromLatin1(c.field))) add(c, nullptr, nullptr, false);
}

const QString kRanges = QStringLiteral(":NSKLOBEKT_OT,:NSKLOBEKT_DO,:NMATERIALOT,:NMATERIALDO");
const QString kDatedRanges = kRanges + QStringLiteral(",:DATEOT,:DATEDO");

// Per currency: the delivery price, its total, the wholesale and retail prices and the wholesale total.
#define TRX_RECEIVED_PRICES                                                                                          \
    {"ED_CENA_LV"}, {"OBSTA_CENA_LV"}, {"PRODAGNA_CENA"}, {"PROD_CENA_LV_DREBNO"}, {"OBSTA_CENA_PROD_LV"}, {"USD"},     \
        {"OBSTA_CENA_USD"}, {"PRODAGNA_CENA_USD"}, {"PROD_CENA_USD_DREBNO"}, {"OBSTA_CENA_PROD_USD"}, {"EUR"},         \
        {"OBSTA_CENA_EUR"}, {"PRODAGNA_CENA_EUR"}, {"PROD_CENA_EUR_DREBNO"}, {"OBSTA_CENA_PROD_EUR"}, {"NFAKTURA"},    \
        {"DATEFAKTURA"}, {"IMEKONTRAGENT"}, {"IMEMOLFIRMA"}
} // namespace

TDMSklObekti::TDMSklObekti(TDMNS& dm, QObject* parent)
    : QObject(parent),
      SmpSklObNalich(QStringLiteral("SmpSklObNalich"), &dm.SQLConnectNS, this),
      SmpSklObPolucheno(QStringLiteral("SmpSklObPolucheno"), &dm.SQLConnectNS, this),
      SmpSklObEkspedirano(QStringLiteral("SmpSklObEkspedirano"), &dm.SQLConnectNS, this),
      SmpSklObProdadeno(QStringLiteral("SmpSklObProdadeno"), &dm.SQLConnectNS, this),
      SmpSklObDvigenie(QStringLiteral("SmpSklObDvigenie"), &dm.SQLConnectNS, this),
      SmpViewMatSklOb(QStringLiteral("SmpViewMatSklOb"), &dm.SQLConnectNS, this),
      SmpProdSkladNalich(QStringLiteral("SmpProdSkladNalich"), &dm.SQLConnectNS, this),
      SmpSklObTemp(QStringLiteral("SmpSklObTemp"), &dm.SQLConnectNS, this)
{
    setObjectName(QStringLiteral("DMSklObekti"));
    defineView(SmpSklObNalich, QStringLiteral("SKLADOBEKTNALICH"), kRanges,
               {{"NUM_SKL_RAZP", nullptr, ""}, {"IMESKL_OBEKT"}, {"SKLAD_VHOD_IME"}, {"IMEMATERIAL", "Наименование"},
                {"MIARKA_BG"}, {"NALICHNO"}, {"POLUCHENO"}, {"EKSPEDIRANO"}, {"PRODADENO"},
                {"ED_CENA_LV", nullptr, kPrice3}, {"PRODAGNA_CENA"}, {"PROD_CENA_LV_DREBNO"}, {"USD", nullptr, kPrice3},
                {"PROD_CENA_USD_DREBNO"}, {"EUR", nullptr, kPrice3}, {"PROD_CENA_EUR_DREBNO"}, {"OBSTA_CENA_LV"},
                {"OBSTA_CENA_USD"}, {"OBSTA_CENA_EUR"}, {"OBSTA_CENA_PROD_LV"}, {"OBSTA_CENA_PROD_USD"},
                {"OBSTA_CENA_PROD_EUR"}, {"OBSTA_CENA_PROD_LV_DREBNO"}, {"OBSTA_CENA_PROD_USD_DREBNO"},
                {"OBSTA_CENA_PROD_EUR_DREBNO"}, {"DATEPOLUCHENO", "Получено"}, {"IMEMOLFIRMA"}});
    defineView(SmpSklObPolucheno, QStringLiteral("SKLADOBEKTPOLUCHENO"), kDatedRanges,
               {{"NUM_SKL_RAZP"}, {"IMESKL_OBEKT"}, {"SKLAD_VHOD_IME"}, {"IMEMATERIAL"}, {"MIARKA_BG"},
                {"DATEPOLUCHENO"}, {"POLUCHENO"}, TRX_RECEIVED_PRICES});
    defineView(SmpSklObEkspedirano, QStringLiteral("SKLADOBEKTEKSPEDIRANO"),
               QStringLiteral(":NSKLOBEKT,:NMATERIALOT,:NMATERIALDO,:DATEOT,:DATEDO"),
               {{"NUM_SKL_RAZP"}, {"IMESKL_OBEKT", "Експедирано на"}, {"IMEMATERIAL"}, {"MIARKA_BG"},
                {"DATEPOLUCHENO"}, {"POLUCHENO"}, TRX_RECEIVED_PRICES});
    defineView(SmpSklObProdadeno, QStringLiteral("SKLADOBEKTPRODADENO"), kDatedRanges,
               {{"NUM_SKL_RAZP"}, {"IMESKL_OBEKT"}, {"IMEMATERIAL"}, {"MIARKA_BG"}, {"DATEPOLUCHENO"},
                {"PRODADENO"}, TRX_RECEIVED_PRICES});
    defineView(SmpSklObDvigenie, QStringLiteral("SKLADOBEKTDVIGENIE"), kDatedRanges,
               {{"NUM_SKL_RAZP"}, {"IMESKL_OBEKT"}, {"IMEMATERIAL"}, {"MIARKA_BG"}, {"DATEPOLUCHENO"},
                {"POLUCHENO"}, {"PRODADENO"}, {"EKSPEDIRANO"}, {"NALICHNO"}, {"ED_CENA_LV"}, {"PRODAGNA_CENA"},
                {"PROD_CENA_LV_DREBNO"}, {"USD"}, {"PRODAGNA_CENA_USD"}, {"PROD_CENA_USD_DREBNO"}, {"EUR"},
                {"PRODAGNA_CENA_EUR"}, {"PROD_CENA_EUR_DREBNO"}, {"OBSTA_CENA_LV"}, {"OBSTA_CENA_USD"},
                {"OBSTA_CENA_EUR"}, {"OBSTA_CENA_PROD_LV"}, {"OBSTA_CENA_PROD_EUR"}, {"OBSTA_CENA_PROD_USD"},
                {"NFAKTURA"}, {"DATEFAKTURA"}, {"IMEKONTRAGENT"}, {"IMEMOLFIRMA"}});
    SmpViewMatSklOb.setCommandText(QStringLiteral("select * from VIEWMAT_SKLOBEKT order by imematerial"));
    SmpViewMatSklOb.setReadOnly(true);
    SmpViewMatSklOb.setKeyFields(QStringLiteral("NMATERIAL"));
    defineCompanyStock();
    defineTransferList(dm);
}
#undef TRX_RECEIVED_PRICES

SmpDataset* TDMSklObekti::view(int index)
{
    SmpDataset* views[] = {&SmpSklObNalich, &SmpSklObPolucheno, &SmpSklObEkspedirano, &SmpSklObProdadeno,
                           &SmpSklObDvigenie};
    return index >= 0 && index < 5 ? views[index] : nullptr;
}

void TDMSklObekti::defineCompanyStock()
{
    SmpDataset& ds = SmpProdSkladNalich;
    ds.setCommandText(QStringLiteral(
        "SELECT * FROM SKLADNALICH(:SKLADOT,:SKLADDO,:NMATERIALOT,:NMATERIALDO) order by IMEMATERIAL,datePolucheno"));
    ds.setReadOnly(true);
    ds.setKeyFields(QStringLiteral("AUTONUM"));
    const struct { const char* field; T type; const char* label; const char* format; bool shown; int size; } cols[] = {
        {"AUTONUM", T::Integer, "№ ред", "", false, 0},
        {"NSKLAD", T::Integer, "№ склад", "", false, 0},
        {"SKLAD", T::String, "Склад", "", true, 35},
        {"NMATERIAL", T::Integer, "№ мат.", "", false, 0},
        {"IMEMATERIAL", T::String, "Материал,изделие,комплект", "", true, 65},
        {"MIARKA_BG", T::String, "Мка", "", true, 5},
        {"NALICHNOST", T::Float, "Наличност", kPrice3, true, 0},
        {"KOLICHESTVO", T::Float, "Доставено", kPrice3, true, 0},
        {"SUMMAT_SKLOB", T::Float, "Експедирано", kPrice3, true, 0},
        {"SUMMAT_PRODAGBI", T::Float, "Продадено", kPrice3, true, 0},
        {"ED_CENA_LV", T::Float, "Дост.ц.лв.", kPrice3, true, 0},
        {"PRODAGNA_CENA", T::Float, "Цена на едро лв.", kQty, true, 0},
        {"DATEPOLUCHENO", T::DateTime, "Получено", kDate, true, 0},
        {"NFAKTURA", T::String, "№ факт.", "", true, 10},
        {"IMEKONTRAGENT", T::String, "Доставчик", "", true, 40},
        {"SKL_OBEKT_DA_NE", T::Integer, "", "", false, 0},
    };
    for (const auto& c : cols) {
        SmpField* f = ds.addDataField(QString::fromLatin1(c.field), c.type, c.size);
        f->displayLabel = QString::fromUtf8(c.label);
        f->displayFormat = QString::fromLatin1(c.format);
        f->visible = c.shown;
    }
    ds.addAggregateField(QStringLiteral("SumNalichnost"), QStringLiteral("sum(Nalichnost)"))->displayFormat =
        QString::fromLatin1(kPrice3);
}

void TDMSklObekti::defineTransferList(TDMNS& dm)
{
    SmpDataset& ds = SmpSklObTemp;
    ds.setTableName(QStringLiteral("SKL_OBEKTI_TEMP"));
    ds.setScratch(true);
    const auto data = [&ds](const char* field, T type, const char* label, const char* format, bool shown, int size = 0) {
        SmpField* f = ds.addDataField(QString::fromLatin1(field), type, size);
        f->displayLabel = QString::fromUtf8(label);
        f->displayFormat = QString::fromLatin1(format);
        f->visible = shown;
        return f;
    };
    const auto lookup = [&ds](const char* name, SmpDataset& list, const char* key, const char* listKey,
                              const char* result, const char* label, bool shown, T type = T::String) {
        SmpField* f = ds.addLookupField(QString::fromLatin1(name), &list, QString::fromLatin1(key),
                                        QString::fromLatin1(listKey), QString::fromLatin1(result), type);
        f->displayLabel = QString::fromUtf8(label);
        f->visible = shown;
        f->readOnly = true;
        return f;
    };
    data("AUTONUM_UNDO", T::Integer, "№ запис", "", true);
    data("NMATERIAL", T::Integer, "№ мат.", "", false);
    lookup("ImeMaterial", dm.SmpMateriali, "NMATERIAL", "NMATERIAL", "IMEMATERIAL", "Наименование", true);
    data("KOLICHESTVO", T::Float, "Колич.", "# ##0.00", true)->readOnly = true;
    data("DOSTCENA", T::Float, "Дост.ц.", "# ##0.00", true);
    data("NALICHNO", T::Float, "Налично", kQty, true);
    data("POLUCHENO", T::Float, "Получено", kQty, true);
    data("OT_SKLAD", T::String, "От склад", "", true, 35);
    lookup("NumSklad", dm.SmpMateriali, "NMATERIAL", "NMATERIAL", "NSKLAD", "", false, T::Integer);
    lookup("ImeFirmenSklad", dm.SmpTipSklad, "NumSklad", "NSKLAD", "SKLAD", "Във фирмен склад", false);
    data("V_SKLAD", T::String, "В склад", "", true, 35);
    data("NUM_SKL_RAZP", T::Integer, "", "", false);
    data("DATEPOLUCHENO", T::DateTime, "", "", false);
    data("NUMMOL", T::Integer, "", "", false);
    lookup("ImeMolFirma", dm.SmpMolFirma, "NUMMOL", "NMOL_FIRMA", "IMEMOLFIRMA", "", false);
    data("NSKL_RAZP_VHOD", T::Integer, "От скл.разп.", "# ### ###", true);
    data("PROD_EKSP", T::Integer, "Флаг", "", true);
    // The source line picked in modes 0 and 1, drawn from first when the transfer is stored.
    data("AUTONUM_IZTOCHNIK", T::Integer, "№ ред източник", "", false);
    SmpField* value = ds.addInternalCalcField(QStringLiteral("CenaObsto"), T::Float);
    value->displayLabel = QStringLiteral("Общо");
    value->displayFormat = QString::fromLatin1(kQty);
    ds.addAggregateField(QStringLiteral("SumCenaObsto"), QStringLiteral("sum(CenaObsto)"))->displayFormat =
        QString::fromLatin1(kQty);
    ds.onCalcFields = [](SmpDataset& d) {
        d.setValue(QStringLiteral("CenaObsto"),
                   d.fieldByName(QStringLiteral("KOLICHESTVO"))->asFloat() * d.fieldByName(QStringLiteral("DOSTCENA"))->asFloat());
    };
}
