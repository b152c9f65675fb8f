#include "data/dmnsspravki.h"

#include "data/fieldlist.h"

using namespace Qt::StringLiterals;
using FieldList::addFields;
using FieldList::addSum;
using T = SmpField::Type;

namespace {

const char* const kMoney = "# ### ##0.00";
const char* const kPrice = "# ### ##0.000";
const char* const kNumber = "# ### ###";
const char* const kRoman[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"};

void statement(SmpDataset& ds, const QString& sql)
{
    ds.setCommandText(sql);
    ds.setReadOnly(true);
}

void table(SmpDataset& ds, const QString& name, const QString& key, const QString& order = {})
{
    ds.setTableName(name);
    ds.setReadOnly(true);
    ds.setKeyFields(key);
    if (!order.isEmpty()) ds.setIndexFieldNames(order);
}

SmpField* hidden(SmpDataset& ds, const QString& name, T type, const char* format, int size = 0)
{
    SmpField* f = ds.addCalculatedField(name, type, size);
    f->visible = false;
    f->displayFormat = QString::fromLatin1(format);
    return f;
}

} // namespace

TDMNsSpravki::TDMNsSpravki(SQLConnection& connection, QObject* parent)
    : QObject(parent), connection_(connection), SQLZapisSpravki(connection)
{
    setObjectName(u"DMNsSpravki"_s);
    defineInquiry();
    defineSalesLists();
}

void TDMNsSpravki::defineInquiry()
{
    SmpDataset& r = SmpSprRealizacia;
    statement(r, u"SELECT * FROM REALIZACIA_PRODAGBI_SPRAVKA (:NKONTRAGENT_OT,:NKONTRAGENT_DO,:NFILIAL_OT,:NFILIAL_DO,"
                 ":DATEFAKTURA_OT,:DATEFAKTURA_DO,:NMATERIAL_OT,:NMATERIAL_DO)"_s);
    r.setKeyFields(u"NUM_ZAPIS"_s);
    addFields(r, {{"NUM_ZAPIS", T::Integer, "", "", false},
                  {"NUMPRODAGBA", T::String, "Продажба", "", true, 11},
                  {"NSTOK_RAZP", T::Integer, "Ст.раз.", kNumber},
                  {"NKONSIGNACIA", T::Integer, "Конс.", kNumber},
                  {"NEKSP_BEL", T::Integer, "№Ек.б./Иск.", kNumber},
                  {"NFAKT_INT", T::Integer, "№ факт.int", kNumber},
                  {"NFAKTURA", T::String, "№ факт.txt", "", true, 10},
                  {"DATEFAKTURA", T::DateTime, "Дата", "dd.mm.yy"},
                  {"IMEKONTRAGENT", T::String, "Клиент", "", true, 45},
                  {"IMEFILIAL", T::String, "Филиал", "", true, 45},
                  {"NUMMATERIAL", T::Integer, "", "", false},
                  {"IME_MATERIAL_IZDELIE", T::String, "Наименование", "", true, 65},
                  {"IMEMKA", T::String, "Мка", "", true, 5},
                  {"BROI_MATERIAL_IZDELIE", T::Float, "Колич.", kMoney},
                  {"CENA_MATERIAL_IZDELIE", T::Float, "Ед.ц.Лв.", kMoney},
                  {"CENA_MAT_IZD_DDS", T::Float, "Ед.ц.Лв.ДДС", kPrice},
                  {"CENA_MAT_IZD_USD_DDS", T::Float, "Ед.ц.USD", kPrice},
                  {"CENA_MAT_IZD_EUR_DDS", T::Float, "Ед.ц.EUR", kPrice},
                  {"PROCENT_DDS", T::Float, "ДДС %", "0.00"},
                  {"DDS_ST_LV", T::Float, "ДДС лв.", kMoney},
                  {"CENA_OBSTO_MAT_IZD_DDS", T::Float, "Общо Лв.", kMoney},
                  {"CENA_OBSTO_MAT_IZD_USD_DDS", T::Float, "Общо USD", kMoney},
                  {"CENA_OBSTO_MAT_IZD_EUR_DDS", T::Float, "Общо EUR", kMoney},
                  {"SUM_BROI_MAT_IZD_PLATENO", T::Float, "Плат.", "# ###"},
                  {"SUM_BROI_MAT_IZD_VYRNATO", T::Float, "Върн.", "# ###"},
                  {"SUM_BROI_MAT_IZD_OSTATYK", T::Float, "Остатък", "# ###"},
                  {"SUMA_OSTATYK", T::Float, "Сума ост.", kMoney},
                  {"CENA_MATERIALI", T::Float, "Цена мат.", kPrice},
                  {"IMEVIDPLASTANE", T::String, "Вид плащане", "", true, 15},
                  {"PECHALBA", T::Float, "Разлика/лв/", kMoney},
                  {"IMESKLOB", T::String, "От склад", "", true, 35},
                  {"BELEGKA", T::String, "Забележка", "", true, 160},
                  {"OTST_IZDELIE", T::Float, "", "0.00", false},
                  {"PROCENT_OTST", T::Float, "", "0.00", false}});
    hidden(r, u"Cena"_s, T::Float, kMoney);
    hidden(r, u"CenaObsto"_s, T::Float, kMoney);
    hidden(r, u"Valuta"_s, T::String, "", 3);
    for (const char* s : {"SumLV", "SumUSD", "SumEUR"}) hidden(r, QString::fromLatin1(s), T::Float, kMoney);
    addSum(r, "SumCenaObstoMatIzdLV", "sum(cena_obsto_mat_Izd_DDS)");
    addSum(r, "SumCenaObstoMatIzdUSD", "sum(cena_obsto_mat_Izd_USD_DDS)");
    addSum(r, "SumCenaObstoMatIzdEUR", "sum(cena_obsto_mat_Izd_EUR_DDS)");
    addSum(r, "SumBroiMatIzd", "sum(Broi_Material_Izdelie)");
    addSum(r, "SumaDDS_St_Lv", "sum(DDS_ST_LV)");
    addSum(r, "SumLvOstatyk", "sum(SUMA_OSTATYK)");
    addSum(r, "SumBrOstatyk", "sum(SUM_BROI_MAT_IZD_OSTATYK)", "# ###");
    // The line's price and total in its currency (the last one with a positive price), and the
    // totals per currency where they are above 0.
    r.onCalcFields = [](SmpDataset& ds) {
        static const char* const cur[][3] = {{"CENA_MAT_IZD_DDS", "CENA_OBSTO_MAT_IZD_DDS", "BGN"},
                                             {"CENA_MAT_IZD_USD_DDS", "CENA_OBSTO_MAT_IZD_USD_DDS", "USD"},
                                             {"CENA_MAT_IZD_EUR_DDS", "CENA_OBSTO_MAT_IZD_EUR_DDS", "EUR"}};
        for (const auto& c : cur)
            if (ds.value(QString::fromLatin1(c[0])).toDouble() > 0) {
                ds.setValue(u"Cena"_s, ds.value(QString::fromLatin1(c[0])));
                ds.setValue(u"CenaObsto"_s, ds.value(QString::fromLatin1(c[1])));
                ds.setValue(u"Valuta"_s, QString::fromLatin1(c[2]));
            }
        for (const auto& [total, sum] : {std::pair{"SumLV", "SumCenaObstoMatIzdLV"}, {"SumUSD", "SumCenaObstoMatIzdUSD"},
                                         {"SumEUR", "SumCenaObstoMatIzdEUR"}}) {
            const double v = ds.fieldByName(QString::fromLatin1(sum))->asFloat();
            ds.setValue(QString::fromLatin1(total), v > 0 ? QVariant(v) : QVariant());
        }
    };
    r.setFiltered(true);

    table(SmpSprTipKontr, u"TIP_KONTRAGENT"_s, u"NTIP_KONTRAGENT"_s);
    statement(SmpSprKontr, u"select k.*, m.IMEMOL as ImeMolKontr, g.GRAD as ImeGrad from KONTRAGENTI k "
                           "left join MOL m on m.NMOL = k.NMOL left join GRADOVE g on g.POSTKOD = k.POSTKOD "
                           "where k.NTIP_KONTRAGENT = :NTIP_KONTRAGENT order by k.IMEKONTRAGENT"_s);
    SmpSprKontr.setKeyFields(u"NKONTRAGENT"_s);
    SmpSprKontr.setMaster(&SmpSprTipKontr, u"NTIP_KONTRAGENT"_s, u"NTIP_KONTRAGENT"_s);
    table(SmpSprKontrFilial, u"KONTRAGENTI_FILIALI"_s, u"NFILIAL"_s, u"IMEFILIAL"_s);
    SmpSprKontrFilial.setMaster(&SmpSprKontr, u"NKONTRAGENT"_s, u"NKONTRAGENT"_s);
    table(SmpSprMaterial, u"MATERIALI"_s, u"NMATERIAL"_s, u"IMEMATERIAL"_s);

    statement(SmpSprRealizaciaArtik, u"SELECT * FROM REALIZACIA_PRODAGBI_PERIOD(:DATEFAKTURA_OT,:DATEFAKTURA_DO) "
                                     "order by kolichestvo desc"_s);
    addFields(SmpSprRealizaciaArtik, {{"NMATERIAL", T::Integer, "", "", false},
                                      {"IME_MATERIAL_IZDELIE", T::String, "Наименование", "", true, 45},
                                      {"KOLICHESTVO", T::Float, "Количество", kNumber},
                                      {"IMEMKA", T::String, "Мярка", "", true, 5}});
}

void TDMNsSpravki::defineSalesLists()
{
    statement(SmpRealizacia, u"SELECT * FROM Realizacia(:INKonsignOt,:INKonsignDo,:IDateFaktOt,:IDateFaktDo)"_s);
    SmpRealizacia.setKeyFields(u"NUM_ZAPIS"_s);
    addFields(SmpRealizacia, {{"NUM_ZAPIS", T::Integer, "", "", false},
                              {"NUMPRODAGBA", T::String, "Продажба", "", true, 11},
                              {"NSTOK_RAZP", T::Integer, "Ст.разп.", kNumber},
                              {"NKONSIGNACIA", T::Integer, "Конс.", kNumber},
                              {"NEKSP_BEL", T::Integer, "№Ек.б./Иск.", kNumber},
                              {"NFAKT_INT", T::Integer, "№ Факт.int", kNumber},
                              {"NFAKTURA", T::String, "№ Факт.txt", "", true, 10},
                              {"DATEFAKTURA", T::DateTime, "Дата", "dd.mm.yy"},
                              {"IMEKONTRAGENT", T::String, "Клиент", "", true, 45},
                              {"IMEFILIAL", T::String, "Филиал", "", true, 45},
                              {"IME_MATERIAL_IZDELIE", T::String, "Наименование", "", true, 65},
                              {"IMEMKA", T::String, "Мка", "", true, 5},
                              {"BROI_MATERIAL_IZDELIE", T::Float, "Колич.", kMoney},
                              {"CENA_MAT_IZD_DDS", T::Float, "Ед.ц.ЛВ", kMoney},
                              {"CENA_MAT_IZD_USD_DDS", T::Float, "USD", "# ##0.00"},
                              {"CENA_MAT_IZD_EUR_DDS", T::Float, "EUR", "# ##0.00"},
                              {"OTST_IZDELIE", T::Float, "% ТО", "0.00"},
                              {"CENA_OBSTO_MAT_IZD_DDS", T::Float, "Общо ЛВ", kMoney},
                              {"CENA_OBSTO_MAT_IZD_USD_DDS", T::Float, "Общо USD", kMoney},
                              {"CENA_OBSTO_MAT_IZD_EUR_DDS", T::Float, "Общо EUR", kMoney},
                              {"IMEVIDPLASTANE", T::String, "Плащане", "", true, 15},
                              {"SUM_BROI_MAT_IZD_PLATENO", T::Float, "Платено", kMoney},
                              {"SUM_BROI_MAT_IZD_VYRNATO", T::Float, "Върнато", kMoney},
                              {"CENA_OBSTO_MATERIAL_IZDELIE", T::Float, "Цена общо лв.", kMoney, false}});

    SmpDataset& pl = SmpRealizaciaPlastania;
    statement(pl, u"SELECT * FROM Realizacia_Plastania"_s);
    addFields(pl, {{"NUMPRODAGBA", T::String, "Продажба", "", true, 11},
                   {"NSTOK_RAZP", T::Integer, "Сток.разп.", kNumber},
                   {"NFAKTURA", T::String, "№ факт.", "", true, 10},
                   {"DATEFAKTURA", T::DateTime, "Дата", "dd.mm.yy"},
                   {"SUMA_DDS_FAKTURA", T::Float, "Сума по факт.", kMoney},
                   {"SUMA_PLATENA", T::Float, "Платено", kMoney},
                   {"SUMA_OSTATYK", T::Float, "Остатък", kMoney},
                   {"NKONTRAGENT", T::Integer, "", "", false},
                   {"IMEKONTRAGENT", T::String, "Клиент", "", true, 45}});
    SmpField* klient = pl.addCalculatedField(u"ImeKlient"_s, T::String, 45);
    klient->displayLabel = u"Получил"_s;
    addFields(pl, {{"CLIENT_IME", T::String, "", "", false, 45},
                   {"FZLICE_IME", T::String, "", "", false, 45},
                   {"FZLICE_ADRES", T::String, "Адрес", "", true, 40}});
    pl.onCalcFields = [](SmpDataset& ds) {
        const QString client = ds.value(u"CLIENT_IME"_s).toString();
        ds.setValue(u"ImeKlient"_s, client.isEmpty() ? ds.value(u"FZLICE_IME"_s) : QVariant(client));
    };
    addSum(pl, "ObstoSumaOstatyk", "sum(Suma_Ostatyk)");
    addSum(pl, "ObstoSumaFaktura", "sum(Suma_DDS_Faktura)");
    addSum(pl, "ObstoSumaPlateno", "sum(Suma_Platena)");

    SmpDataset& ob = ClnDtStKlientiOborot;
    statement(ob, u"SELECT * FROM Klienti_Oborot(:godina)"_s);
    ob.setKeyFields(u"NKONTRAGENT"_s);
    addFields(ob, {{"NKONTRAGENT", T::Integer, "", "", false},
                   {"GRAD", T::String, "Град", "", true, 15},
                   {"IMEKONTRAGENT", T::String, "Име на клиент", "", true, 45}});
    const auto month = [&ob](const QString& prefix, const QString& caption) {
        const QList<std::pair<const char*, const char*>> parts = {{"_KOL", " кол."}, {"_ST_LV", " - ЛВ"},
                                                                   {"_ST_USD", " - USD"}, {"_ST_EUR", " - EUR"}};
        for (const auto& [suffix, label] : parts) {
            SmpField* f = ob.addDataField(prefix + QLatin1String(suffix), T::Integer);
            f->displayLabel = caption + QString::fromUtf8(label);
            f->displayFormat = QString::fromLatin1(kNumber);
        }
    };
    for (const char* r : kRoman) month(QString::fromLatin1(r), QString::fromLatin1(r));
    month(u"OBSTO"_s, QString());
    for (const auto& [field, label] : {std::pair{"OBSTO_KOL", "Общо кол."}, {"OBSTO_ST_LV", "Общо ЛВ"},
                                       {"OBSTO_ST_USD", "Общо USD"}, {"OBSTO_ST_EUR", "Общо EUR"}})
        ob.fieldByName(QString::fromLatin1(field))->displayLabel = QString::fromUtf8(label);
    ob.setFilter(u"I_kol>0 or II_kol>0 or III_kol>0 or IV_kol>0 or V_kol>0 or VI_kol>0 or VII_kol>0 or VIII_kol>0 "
                 "or IX_kol>0 or X_kol>0 or XI_kol>0 or XII_kol>0"_s);
    ob.setFiltered(true);

    statement(SmpProdPoMes, u"SELECT * FROM REALIZACIA_PRODAGBI_PO_MESECI(:NUMSKLAD,:GODINA)"_s);
    addFields(SmpProdPoMes, {{"NUMRED", T::Integer, "№", "# ###"},
                             {"NMATERIAL", T::Integer, "", "", false},
                             {"IME_MATERIAL_IZDELIE", T::String, "Артикул", "", true, 45}});
    const char* const months[] = {"Януари", "Февруари", "Март", "Април", "Май", "Юни", "Юли", "Август", "Септември",
                                  "Октомври", "Ноември", "Декември"};
    for (int i = 0; i < 12; ++i) {
        const QByteArray field = QByteArray(kRoman[i]) + "_LV";
        addFields(SmpProdPoMes, {{field.constData(), T::Float, months[i], kMoney}});
    }
    addFields(SmpProdPoMes, {{"OBSTO_LV", T::Float, "Общо лв.", kMoney}});

    statement(SmpVlMatIzd, u"select * from Material_Izdeliq(:num_material)"_s);
    addFields(SmpVlMatIzd, {{"PART_NUM_IZDELIE", T::String, "Партиден №", "", true, 11},
                            {"PROIZVODSTVO", T::String, "Тип производство", "", true, 35},
                            {"IMEIZDELIE", T::String, "Изделие", "", true, 65},
                            {"DATEIZDELIE", T::DateTime, "Произведено", "dd.mm.yy"},
                            {"KOLICH_IZDELIE", T::Integer, "Колич.", kMoney},
                            {"KOLICH_SERII", T::Integer, "Бр.серии", "# ###"}});
    addSum(SmpVlMatIzd, "SumKolich", "sum(Kolich_Izdelie)");
}
