#include "data/dmprodagba.h"
#include "data/fieldlist.h"
#include "platform/dataset/saveatonce.h"

using namespace Qt::StringLiterals;
using FieldList::addFields;
using T = SmpField::Type;

namespace {
const char* kMoney = "# ### ##0.00";
const char* kPrice3 = "# ### ##0.000";
const QString kBrowserLines = u"SELECT * FROM Realizacia_Prodagba(:Num_izbor,:NumFaktura,:NumFakt_int,:Nprodagba)"_s;
} // namespace

void TDMProdagba::defineBrowser()
{
    SmpDataset& ds = SmpRealizaciaProdagba;
    ds.setCommandText(kBrowserLines);
    ds.setKeyFields(u"AUTONUM"_s);
    addFields(ds, {{"AUTONUM", T::Integer, "", "", false},
                   {"NUMPRODAGBA", T::String, "", "", false, 11},
                   {"NSTOK_RAZP", T::Integer, "", "", false},
                   {"NKONSIGNACIA", T::Integer, "", "", false},
                   {"NEKSP_BEL", T::Integer, "", "", false},
                   {"NFAKT_INT", T::Integer, "№ факт.int", "# ### ###"},
                   {"NFAKTURA", T::String, "№ факт.txt", "", true, 10},
                   {"DATEFAKTURA", T::DateTime, "Дата", "dd.mm.yy"},
                   {"ARTN_POLUCH", T::String, "Арт.№ пол.", "", true, 10},
                   {"ARTN_DOSTAV", T::String, "Арт.№ дост.", "", true, 10},
                   {"IME_MATERIAL_IZDELIE", T::String, "Наименование", "", true, 65},
                   {"BARKOD", T::String, "Баркод", "", true, 13},
                   {"IMEMKA", T::String, "Мка", "", true, 5},
                   {"BROI_MATERIAL_IZDELIE", T::Float, "Колич.", kMoney},
                   {"CENA_MATERIAL_IZDELIE", T::Float, "Ед.ц.Лв", kMoney},
                   {"CENA_MAT_IZD_DDS", T::Float, "Ед.ц.док.", kPrice3},
                   {"CENA_MAT_IZD_USD", T::Float, "USD", kPrice3},
                   {"CENA_MAT_IZD_USD_DDS", T::Float, "USD док.", kPrice3},
                   {"CENA_MAT_IZD_EUR", T::Float, "EUR", kPrice3},
                   {"CENA_MAT_IZD_EUR_DDS", T::Float, "EUR док.", kPrice3},
                   {"OTST_IZDELIE", T::Float, "% ТО", "0.00"},
                   {"CENA_OBSTO_MATERIAL_IZDELIE", T::Float, "Стойност лв.", kMoney},
                   {"CENA_OBSTO_MAT_IZD_DDS", T::Float, "Общо лв.", kMoney},
                   {"CENA_OBSTO_MAT_IZD_USD", T::Float, "Стойност USD", kMoney},
                   {"CENA_OBSTO_MAT_IZD_USD_DDS", T::Float, "Общо USD", kMoney},
                   {"CENA_OBSTO_MAT_IZD_EUR", T::Float, "Стойност EUR", kMoney},
                   {"CENA_OBSTO_MAT_IZD_EUR_DDS", T::Float, "Общо EUR", kMoney},
                   {"SUM_BROI_MAT_IZD_PLATENO", T::Float, "Платено", "# ### ###"},
                   {"SUM_BROI_MAT_IZD_VYRNATO", T::Float, "Върнато", "# ### ###"}});
    SmpField* rest = ds.addCalculatedField(u"OstatykBroiMatIzd"_s, T::Float);
    rest->displayLabel = u"Остатък"_s;
    rest->displayFormat = u"# ### ###"_s;
    addFields(ds, {{"NKONTRAGENT", T::Integer, "", "", false},
                   {"IMEKONTRAGENT", T::String, "", "", false, 45},
                   {"IMEFILIAL", T::String, "", "", false, 45},
                   {"PROCENT_OTST", T::Float, "", "#0.00", false},
                   {"PROCENT_DDS", T::Float, "", "#0.00", false},
                   {"IME_MOL_FIRMA", T::String, "", "", false, 45},
                   {"IME_MOL_FIRMA_SYSTAVIL", T::String, "", "", false, 45},
                   {"NFIRMA_OFIS", T::Integer, "", "", false},
                   {"IME_OFIS_GRAD", T::String, "", "", false, 15},
                   {"IME_OFIS_ADRES", T::String, "", "", false, 30},
                   {"SUMA_FAKTURA", T::Float, "", kMoney, false},
                   {"OBLAGAEMA_ST", T::Float, "", kMoney, false},
                   {"DDS_FAKTURA", T::Float, "", kMoney, false},
                   {"SUMA_DDS_FAKTURA", T::Float, "", kMoney, false},
                   {"IMEVIDPLASTANE", T::String, "", "", false, 15},
                   {"TIP_DOCUMENT", T::Integer, "", "", false},
                   {"IME_DOKUMENT", T::String, "", "", false, 30},
                   {"BELEGKA", T::String, "", "", false, 160},
                   {"CLIENT_STOKA_POLUCHENA_DATE", T::DateTime, "", "", false},
                   {"CLIENT_IME", T::String, "", "", false, 45},
                   {"CLIENT_EGN", T::String, "", "", false, 10},
                   {"CLIENT_LK", T::String, "", "", false, 10},
                   {"CLIENT_LK_IZD", T::DateTime, "", "", false},
                   {"CLIENT_OTG_ST_OP", T::String, "", "", false, 45},
                   {"NUM_TRANSPORT", T::String, "", "", false, 15},
                   {"FZLICE_IME", T::String, "", "", false, 45},
                   {"FZLICE_ADRES", T::String, "", "", false, 40},
                   {"FZLICE_EGN", T::String, "", "", false, 10},
                   {"KONTR_GRAG", T::String, "", "", false, 15},
                   {"KONTR_ADRES", T::String, "", "", false, 40},
                   {"KONTR_DAN_NO", T::String, "", "", false, 14},
                   {"KONTR_BULSTAT", T::String, "", "", false, 14},
                   {"KONTR_MOL", T::String, "", "", false, 45},
                   {"NUMMATERIAL", T::Integer, "", "", false},
                   {"NPORYCHKA", T::String, "", "", false, 10},
                   {"SUMA_FAKTURA_DDS", T::Float, "", kMoney, false},
                   {"SUMA_OTST", T::Float, "", kMoney, false},
                   {"SUMA_OTST_DDS", T::Float, "", kMoney, false},
                   {"SUMA_PLASTANE", T::Float, "", kMoney, false},
                   {"SUMA_PLASTANE_USD", T::Float, "", kMoney, false},
                   {"SUMA_PLASTANE_EUR", T::Float, "", kMoney, false},
                   {"CENA_OBSTO_MAT_IZD_USD_SUM", T::Float, "", kMoney, false},
                   {"CENA_OBSTO_MAT_IZD_EUR_SUM", T::Float, "", kMoney, false},
                   {"SUMA_OTST_USD_DDS", T::Float, "", kMoney, false},
                   {"SUMA_OTST_EUR_DDS", T::Float, "", kMoney, false},
                   {"NSKL_OBEKT", T::Integer, "", "", false},
                   {"NUMFILIAL", T::Integer, "", "", false},
                   {"NUMMOL_FIRMA", T::Integer, "", "", false},
                   {"NUMMOL_FIRMA_SYSTAVIL", T::Integer, "", "", false},
                   {"NUMVIDPLASTANE", T::Integer, "", "", false},
                   {"NUM_OSNOVANIE", T::Integer, "", "", false}});
    // The words of the two totals; their texts are computed by the sales layer.
    for (const QString& name : {u"SumaDDSfakturaTXT"_s, u"SumaPlastaneTxt"_s})
        ds.addCalculatedField(name, T::String, 200)->visible = false;
    // A line in its own currency, as the A5 receipt prints it.
    for (const char* name : {"Cena", "Cena_otst"})
        ds.addCalculatedField(QString::fromLatin1(name), T::Float)->displayFormat = QString::fromLatin1(kPrice3);
    ds.addCalculatedField(u"Valuta"_s, T::String, 3);
    for (const char* name : {"Cena", "Cena_otst", "Valuta"}) ds.fieldByName(QString::fromLatin1(name))->visible = false;
    for (const char* ro : {"IME_MATERIAL_IZDELIE", "IMEMKA", "BROI_MATERIAL_IZDELIE", "CENA_OBSTO_MATERIAL_IZDELIE"})
        ds.fieldByName(QString::fromLatin1(ro))->readOnly = true;

    SmpDataset& due = SmpPlastProd;
    due.setCommandText(u"SELECT SUMA_DDS_FAKTURA FROM Realizacia_Prodagba(:Num_izbor,:NumFaktura,:NumFakt_int,:Nprodagba)"_s);
    due.setReadOnly(true);
    addFields(due, {{"SUMA_DDS_FAKTURA", T::Float, "", kMoney}});
    due.addCalculatedField(u"PlastOstatyk"_s, T::Float)->displayFormat = QString::fromLatin1(kMoney);

    SmpDataset& pay = SmpProdagbaPlastane;
    pay.setTableName(u"PRODAGBI_PLASTANE"_s);
    pay.setKeyFields(u"AUTONUM"_s);
    pay.setIndexFieldNames(u"PLASTANE_DATE"_s);
    addFields(pay, {{"AUTONUM", T::Integer, "", "", false},
                    {"NUMPRODAGBA", T::String, "", "", false, 11},
                    {"PLASTANE_DATE", T::DateTime, "Дата", "dd.mm.yyyy"},
                    {"PLASTANE_SUMA", T::Float, "Сума /лв/", kMoney},
                    {"PLASTANE_SUMA_USD", T::Float, "", "", false},
                    {"PLASTANE_SUMA_EUR", T::Float, "", "", false},
                    {"NKONTRAGENT", T::Integer, "", "", false}});
    FieldList::addSum(pay, "ObstoPlatenaSuma", "sum(Plastane_Suma)");
    FieldList::addSum(pay, "ObstoPlatenaSumaUSD", "sum(Plastane_Suma_USD)");
    FieldList::addSum(pay, "ObstoPlatenaSumaEUR", "sum(Plastane_Suma_EUR)");
    for (const char* agg : {"ObstoPlatenaSumaAGG", "ObstoPlatenaSumaUSDAGG", "ObstoPlatenaSumaEURAGG"})
        pay.addCalculatedField(QString::fromLatin1(agg), T::Float)->visible = false;
    pay.setMaster(&ds, u"NUMPRODAGBA"_s, u"NUMPRODAGBA"_s);

    const auto settlement = [&](SmpDataset& s, const char* table, const char* date, const char* qty) {
        s.setTableName(QString::fromLatin1(table));
        s.setKeyFields(u"AUTONUM"_s);
        s.setIndexFieldNames(QString::fromLatin1(date));
        addFields(s, {{"AUTONUM", T::Integer, "", "", false},
                      {"NUMPRODAGBA", T::String, "", "", false, 11},
                      {"NMATERIAL", T::Integer, "", "", false},
                      {date, T::DateTime, "Дата", "dd.mm.yyyy"},
                      {qty, T::Float, "Количество", kMoney}});
        s.setMaster(&ds, u"NUMPRODAGBA;NUMMATERIAL"_s, u"NUMPRODAGBA;NMATERIAL"_s);
    };
    settlement(SmpRealizKons, "PRODAGBI_KONSIGN", "DATE_PLATENO", "BROI_MAT_IZD_PLATENO");
    settlement(SmpRealizKonsVyr, "PRODAGBI_KONSIGN_VYRNATO", "DATE_VYRNATO", "BROI_MAT_IZD_VYRNATO");
    // Stored at once; the amount due and the line's paid and returned quantities follow.
    SaveAtOnce::install(SmpProdagbaPlastane, {&SmpPlastProd});
    SaveAtOnce::install(SmpRealizKons, {&SmpRealizaciaProdagba});
    SaveAtOnce::install(SmpRealizKonsVyr, {&SmpRealizaciaProdagba});
}
