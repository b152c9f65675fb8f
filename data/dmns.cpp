#include "data/dmns.h"

#include "platform/dataset/saveatonce.h"
#include "platform/db/transaction.h"
#include "schema/schema.h"

#include <array>
#include <vector>

namespace {

const char* kViewKontrSql =
    "select KONTRAGENTI.NKONTRAGENT, KONTRAGENTI.NTIP_KONTRAGENT, KONTRAGENTI.IMEKONTRAGENT, "
    "KONTRAGENTI.IMEKONTRAGENT_LAT, KONTRAGENTI.NFILIAL, KONTRAGENTI.NMOL, KONTRAGENTI.KOD_COUNTRY, "
    "KONTRAGENTI.POSTKOD, KONTRAGENTI.ADRES, KONTRAGENTI.TEL, KONTRAGENTI.EGN, KONTRAGENTI.EMAIL, "
    "KONTRAGENTI.DAN_NO, KONTRAGENTI.BULSTAT, KONTRAGENTI.BANK, KONTRAGENTI.BANK_CODE, KONTRAGENTI.BANK_KLON, "
    "KONTRAGENTI.BANK_SMETKA, KONTRAGENTI.PROCENT_OTST_KONTR, KONTRAGENTI.BELEGKI, TIP_KONTRAGENT.KONTRAGENT, "
    "KONTRAGENTI_FILIALI.IMEFILIAL, MOL.IMEMOL, COUNTRY.COUNTRY, GRADOVE.GRAD "
    "from KONTRAGENTI "
    "left join GRADOVE on GRADOVE.POSTKOD = KONTRAGENTI.POSTKOD "
    "left join TIP_KONTRAGENT on TIP_KONTRAGENT.NTIP_KONTRAGENT = KONTRAGENTI.NTIP_KONTRAGENT "
    "left join MOL on MOL.NMOL = KONTRAGENTI.NMOL "
    "left join KONTRAGENTI_FILIALI on KONTRAGENTI_FILIALI.NFILIAL = KONTRAGENTI.NFILIAL "
    "left join COUNTRY on COUNTRY.KOD_COUNTRY = KONTRAGENTI.KOD_COUNTRY "
    "where KONTRAGENTI.NTIP_KONTRAGENT between :INTip_KontragentOt and :INTip_KontragentDo "
    "order by KONTRAGENTI.IMEKONTRAGENT";

void lookup(SmpDataset& ds, const char* name, SmpDataset& list, const char* key, const char* listKey,
            const char* result)
{
    ds.addLookupField(QString::fromLatin1(name), &list, QString::fromLatin1(key), QString::fromLatin1(listKey),
                      QString::fromLatin1(result));
}

} // namespace

TDMNS::TDMNS(const ConnectionParams& params, QObject* parent)
    : QObject(parent), SQLConnectNS(params), SQLQObsto(SQLConnectNS), SQLZapisDanni(SQLConnectNS)
{
    setObjectName(QStringLiteral("DMNS"));
    defineDatasets();
}

TDMNS::~TDMNS() = default;

void TDMNS::defineDatasets()
{
    const auto table = [](SmpDataset& ds, const char* name, const char* order = nullptr) {
        ds.setTableName(QString::fromLatin1(name));
        if (order) ds.setIndexFieldNames(QString::fromLatin1(order));
    };

    table(SmpFirma, "FIRMA");
    lookup(SmpFirma, "GradFirma", SmpGrad, "POSTKOD", "POSTKOD", "GRAD");
    lookup(SmpFirma, "ImeMOLFirma", SmpMolFirma, "NMOL_FIRMA", "NMOL_FIRMA", "IMEMOLFIRMA");
    lookup(SmpFirma, "AutoPorychkaDaNe", SmpDaNe, "AUTO_GEN_PORYCHKA", "NUM_DA_NE", "TEXT_DA_NE");
    lookup(SmpFirma, "SklobDaNe", SmpDaNe, "SKLOB_DA_NE", "NUM_DA_NE", "TEXT_DA_NE");
    lookup(SmpFirma, "NfaktTip", SmpDaNe, "NFAKT_TXT_INT", "NUM_DA_NE", "FAKT_TXT_INT");
    lookup(SmpFirma, "VidRAzplDostText", SmpTipPlast, "VID_RAZPL_DOST", "NTIP_PLASTANE", "TIP_PLASTANE_TEXT");
    lookup(SmpFirma, "VidRAzplKlientText", SmpTipPlast, "VID_RAZPL_KLIENT", "NTIP_PLASTANE", "TIP_PLASTANE_TEXT");
    lookup(SmpFirma, "ImeTipDok", SmpTipDok, "NTIP_DOKUMENT", "NTIP_DOKUMENT", "IME_DOKUMENT");

    table(SmpFirmaOfisi, "FIRMA_OFISI");
    lookup(SmpFirmaOfisi, "ImeGrad", SmpGrad, "POSTKOD", "POSTKOD", "GRAD");
    table(SmpMolFirma, "MOL_FIRMA");
    table(SmpDaNe, "DA_NE");
    table(SmpTipPlast, "TIP_PLASTANE");
    table(SmpTipDok, "TIP_DOKUMENT");
    table(SmpVidPlastane, "VIDPLASTANE");
    table(SmpOsnovDDS, "OSNOVANIE_DDS");
    table(SmpTipValuta, "TIP_VALUTA");

    table(SmpCountry, "COUNTRY", "COUNTRY");
    table(SmpGrad, "GRADOVE", "GRAD");
    lookup(SmpGrad, "ImeCountry", SmpCountry, "KOD_COUNTRY", "KOD_COUNTRY", "COUNTRY");
    table(SmpTipKontragent, "TIP_KONTRAGENT");
    table(SmpIzbTipKontr, "TIP_KONTRAGENT");

    SmpKontragenti.setCommandText(QStringLiteral("select * from KONTRAGENTI where NTIP_KONTRAGENT between "
                                                 ":INTip_KontragentOt and :INTip_KontragentDo order by IMEKONTRAGENT"));
    SmpKontragenti.setUpdateTable(QStringLiteral("KONTRAGENTI"));
    lookup(SmpKontragenti, "ImeMolKontr", SmpMOLKontr, "NMOL", "NMOL", "IMEMOL");
    lookup(SmpKontragenti, "ImeTipKontragent", SmpTipKontragent, "NTIP_KONTRAGENT", "NTIP_KONTRAGENT", "KONTRAGENT");
    lookup(SmpKontragenti, "ImeCountry", SmpCountry, "KOD_COUNTRY", "KOD_COUNTRY", "COUNTRY");
    lookup(SmpKontragenti, "ImeGrad", SmpGrad, "POSTKOD", "POSTKOD", "GRAD");
    SmpViewKontr.setCommandText(QString::fromLatin1(kViewKontrSql));
    SmpViewKontr.setReadOnly(true);
    for (SmpDataset* ds : {&SmpKontragenti, &SmpViewKontr}) {
        ds->setParam(QStringLiteral("INTip_KontragentOt"), 1);
        ds->setParam(QStringLiteral("INTip_KontragentDo"), 100);
    }
    // Labels and formats of the table columns, set once the fields exist.
    const auto shows = [](SmpDataset& ds, std::initializer_list<std::array<const char*, 3>> columns) {
        ds.afterOpen = [columns = std::vector<std::array<const char*, 3>>(columns)](SmpDataset& d) {
            for (const auto& [field, label, format] : columns)
                if (SmpField* f = d.findField(QString::fromLatin1(field))) {
                    f->displayLabel = QString::fromUtf8(label);
                    f->displayFormat = QString::fromLatin1(format);
                }
        };
    };
    for (SmpDataset* ds : {&SmpKontragenti, &SmpViewKontr}) shows(*ds, {{"PROCENT_OTST_KONTR", "% Отст", "# ##0.00"}});
    table(SmpMOLKontr, "MOL", "IMEMOL");
    shows(SmpMOLKontr, {{"IMEMOL", "МОЛ", ""}, {"EGN", "ЕГН", ""}, {"LK_DATE", "ЛК дата", "dd.mm.yy"},
                        {"LK_NUM", "ЛК №", ""}, {"ADRES", "Адрес", ""}});
    SmpMOLKontr.setMaster(&SmpKontragenti, QStringLiteral("NKONTRAGENT"), QStringLiteral("NKONTRAGENT"));
    table(SmpKontrFilial, "KONTRAGENTI_FILIALI");
    SmpKontrFilial.setMaster(&SmpKontragenti, QStringLiteral("NKONTRAGENT"), QStringLiteral("NKONTRAGENT"));

    table(SmpMiarka, "MIARKA");
    table(SmpTipSklad, "TIP_SKLAD");
    lookup(SmpTipSklad, "SklObDaNe", SmpDaNe, "SKL_OBEKT_DA_NE", "NUM_DA_NE", "TEXT_DA_NE");
    table(SmpIzbSklad, "TIP_SKLAD");
    table(SmpTipSklOb, "TIP_SKL_OBEKT");
    table(SmpMateriali, "MATERIALI", "IMEMATERIAL");
    lookup(SmpMateriali, "ImeMiarka", SmpMiarka, "NMIARKA", "NMIARKA", "MIARKA_BG");
    table(SmpTipProizv, "TIP_PROIZVODSTVO");
    table(SmpTipProizvN, "TIP_PROIZVODSTVO");
    SmpTipProizvN.setFilter(QStringLiteral("NPROIZVODSTVO>0"));
    SmpTipProizvN.setFiltered(true);
    table(SmpTipIzdelie, "TIP_IZDELIE");
    SmpTipIzdelie.setMaster(&SmpTipProizv, QStringLiteral("NPROIZVODSTVO"), QStringLiteral("NPROIZVODSTVO"));
    lookup(SmpTipIzdelie, "ImeMaterial_Izdelie", SmpMateriali, "NMATERIAL_IZDELIE", "NMATERIAL", "IMEMATERIAL");
    // The product and recipe-line rows of the production tab; their masters come with the recipe lists.
    table(SmpTipIzdelieN, "TIP_IZDELIE");
    lookup(SmpTipIzdelieN, "ImeMaterial_Izdelie", SmpMateriali, "NMATERIAL_IZDELIE", "NMATERIAL", "IMEMATERIAL");
    lookup(SmpTipIzdelieN, "ImeProizv", SmpTipProizv, "NPROIZVODSTVO", "NPROIZVODSTVO", "PROIZVODSTVO");
    table(SmpRecep_izdN, "IZDELIE_RECEPTA");
    lookup(SmpRecep_izdN, "ImeMaterial", SmpMateriali, "NMATERIAL", "NMATERIAL", "IMEMATERIAL");

    // Every edit of these lists is stored at once.
    for (SmpDataset* ds : {&SmpFirmaOfisi, &SmpMolFirma, &SmpVidPlastane, &SmpOsnovDDS, &SmpTipValuta, &SmpCountry,
                           &SmpGrad, &SmpTipKontragent, &SmpMOLKontr, &SmpKontrFilial, &SmpTipSklOb, &SmpTipProizvN})
        SaveAtOnce::install(*ds);

    SmpKontragenti.afterPost = [this](SmpDataset& ds) { SmpKontragentiAfterPost(ds); };
    SmpKontragenti.afterDelete = [this](SmpDataset& ds) { SmpKontragentiAfterPost(ds); };
    defineReferenceLists();
    defineRecipeLists();
    defineCashLists();
    // Nothing reaches the database before it is checked (the program sets its own, which also talks
    // to the user).
    SQLConnectNS.setOpener([](SQLConnection& c) { Schema::openAndUpgrade(c); });
}

void TDMNS::connect() { SQLConnectNS.openChecked(); }

void TDMNS::materialChanged()
{
    // Names and prices shown in the production lists may have changed.
    for (SmpDataset* ds : {&SmpTipIzdVIEW, &SmpRecepIzdVIEW})
        if (ds->isActive()) ds->refresh();
    SmpMateriali.close();
    SmpMateriali.open();
}

void TDMNS::RefreshKontragenti(int typeFrom, int typeTo, int kontragent)
{
    SmpViewKontr.close();
    SmpKontragenti.close();
    for (SmpDataset* ds : {&SmpKontragenti, &SmpViewKontr}) {
        ds->setParam(QStringLiteral("INTip_KontragentOt"), typeFrom);
        ds->setParam(QStringLiteral("INTip_KontragentDo"), typeTo);
    }
    SmpKontragenti.open();
    SmpViewKontr.open();
    if (SmpViewKontr.locate(QStringLiteral("NKONTRAGENT"), {kontragent}))
        SmpKontragenti.locate(QStringLiteral("NKONTRAGENT"), {kontragent});
}

// Stores the counterparty list at once. A deleted counterparty's people and branches go in the same
// transaction as its row, so a refused delete keeps them.
void TDMNS::SmpKontragentiAfterPost(SmpDataset& ds)
{
    {
        TransactionScope tx(SQLConnectNS);
        for (const QVariantMap& row : ds.pendingDeletes()) {
            SQLZapisDanni.setProcName(QStringLiteral("DEL_MOL_FILIAL"));
            SQLZapisDanni.setParam(QStringLiteral("INKONTRAGENT"), row.value(QStringLiteral("NKONTRAGENT")));
            SQLZapisDanni.execProc();
        }
        ds.applyUpdates();
        tx.commit();
    }
    const QVariant key = ds.isEmpty() ? QVariant() : ds.value(QStringLiteral("NKONTRAGENT"));
    ds.refresh();
    SmpViewKontr.refresh();
    if (key.isValid()) SmpViewKontr.locate(QStringLiteral("NKONTRAGENT"), {key});
}

// The lists of the reference data window that only it and its editors change.
void TDMNS::defineReferenceLists()
{
    SmpViewMateriali.setCommandText(
        QStringLiteral("SELECT * FROM ViewMateriali(:NSKLADOT,:NSKLADDO) order by nsklad, imematerial"));
    SmpViewMateriali.setReadOnly(true);  // items reach the database only through the item editor's statements
    SmpViewMateriali.setKeyFields(QStringLiteral("NMATERIAL"));
    SmpViewMateriali.setParam(QStringLiteral("NSKLADOT"), 0);
    SmpViewMateriali.setParam(QStringLiteral("NSKLADDO"), 0);
    // The item list's fields in display order. The column settings and the spreadsheet copy
    // follow this order; the hidden fields carry labels for the settings tab's list.
    {
        using T = SmpField::Type;
        // A lookup names its list, the list's key and the shown field; the key field is `by`.
        struct Col
        {
            const char* field;
            T type;
            const char* label;
            const char* format = "";
            bool shown = true;
            SmpDataset* list = nullptr;
            const char* by = nullptr;
            const char* listKey = nullptr;
            const char* result = nullptr;
        };
        const char* price = "# ### ##0.00";
        const Col cols[] = {
            {"NSKLAD", T::Integer, "№ склад"},
            {"ImeSklad", T::String, "Склад", "", true, &SmpTipSklad, "NSKLAD", "NSKLAD", "SKLAD"},
            {"NMATERIAL", T::Integer, "№мат", "# ###"},
            {"IMEMATERIAL", T::String, "Материали, изделия, комплекти"},
            {"NMIARKA", T::Integer, "№ мярка", "", false},
            {"Mka", T::String, "Мярка", "", true, &SmpMiarka, "NMIARKA", "NMIARKA", "MIARKA_BG"},
            {"ED_CENA", T::Float, "Ед.цена калк.", "# ##0.000"},
            {"PRODAGNACENA", T::Float, "На едро ЛВ", price},
            {"PROD_CENA_LV_DREBNO", T::Float, "На дребно ЛВ", price},
            {"PRODAGNACENA_USD", T::Float, "Прод.ц.USD", price},
            {"PROD_CENA_USD_DREBNO", T::Float, "На дребно USD", price},
            {"PRODAGNACENA_EUR", T::Float, "Прод.ц.EUR", price},
            {"PROD_CENA_EUR_DREBNO", T::Float, "На дребно EUR", price},
            {"MIN_KOL", T::Float, "Мин.колич.", "# ##0.00"},
            {"MAX_KOL", T::Float, "Мак.колич.", "# ##0.00"},
            {"SNIMKA", T::Bytes, "Снимка", "", false},
            {"SERIA_DA_NE", T::Integer, "Серия (код)", "", false},
            {"SUM_DA_NE", T::Integer, "Сумарно (код)", "", false},
            {"IZCH_DA_NE", T::Integer, "За сумиране (код)", "", false},
            {"SeriaDaNe", T::String, "Серия", "", true, &SmpDaNe, "SERIA_DA_NE", "NUM_DA_NE", "TEXT_DA_NE"},
            {"SumDaNe", T::String, "Сумарно", "", true, &SmpDaNe, "SUM_DA_NE", "NUM_DA_NE", "TEXT_DA_NE"},
            {"IzchDaNe", T::String, "За сумиране", "", true, &SmpDaNe, "IZCH_DA_NE", "NUM_DA_NE", "TEXT_DA_NE"},
        };
        for (const Col& c : cols) {
            const QString name = QString::fromLatin1(c.field);
            SmpField* f = c.list ? SmpViewMateriali.addLookupField(name, c.list, QString::fromLatin1(c.by),
                                                                   QString::fromLatin1(c.listKey),
                                                                   QString::fromLatin1(c.result))
                                 : SmpViewMateriali.addDataField(name, c.type, c.type == T::String ? 65 : 0);
            f->displayLabel = QString::fromUtf8(c.label);
            f->displayFormat = QString::fromLatin1(c.format);
            f->visible = c.shown;
        }
    }

    SmpViewKontrMatCeni.setCommandText(
        QStringLiteral("SELECT * FROM VIEWKONTR_MAT_CENI(:NumKontragent)\r\norder by IMEMATERIAL"));
    SmpViewKontrMatCeni.setReadOnly(true);
    SmpViewKontrMatCeni.setKeyFields(QStringLiteral("AUTONUM"));
    SmpViewKontrMatCeni.setParam(QStringLiteral("NumKontragent"), 0);

    SmpSkladMat.setTableName(QStringLiteral("MATERIALI"));
    SmpSkladMat.setIndexFieldNames(QStringLiteral("IMEMATERIAL"));
    SmpSkladMat.setReadOnly(true);
    SmpSkladMat.setFiltered(true);
    // A stored unit or warehouse changes what the item list shows as well.
    SaveAtOnce::install(SmpMiarka, {&SmpMateriali, &SmpViewMateriali});
    SaveAtOnce::install(SmpTipSklad, {&SmpMateriali, &SmpViewMateriali});

    SmpIzbKontr.setCommandText(QStringLiteral("select NKONTRAGENT, NTIP_KONTRAGENT,Nmol, IMEKONTRAGENT from KONTRAGENTI "
                                              "where :InTipKontr = NTIP_KONTRAGENT order by IMEKONTRAGENT"));
    SmpIzbKontr.setReadOnly(true);
    SmpIzbKontr.setKeyFields(QStringLiteral("NKONTRAGENT"));
    SmpIzbKontr.setParam(QStringLiteral("InTipKontr"), 1);
    SmpIzbMOL.setTableName(QStringLiteral("MOL"));
    SmpIzbMOL.setIndexFieldNames(QStringLiteral("IMEMOL"));
    SmpIzbMOL.setReadOnly(true);
    SmpIzbMOL.setMaster(&SmpIzbKontr, QStringLiteral("NKONTRAGENT"), QStringLiteral("NKONTRAGENT"));
    lookup(SmpIzbKontr, "ImeMolKontr", SmpIzbMOL, "NMOL", "NMOL", "IMEMOL");
    SmpIzbKontrSklad.setCommandText(
        QStringLiteral("select * from KONTRAGENTI Where NTIP_KONTRAGENT= :INTipKontr order by IMEKONTRAGENT"));
    SmpIzbKontrSklad.setReadOnly(true);
    SmpIzbKontrSklad.setKeyFields(QStringLiteral("NKONTRAGENT"));
    SmpIzbKontrSklad.setParam(QStringLiteral("INTipKontr"), 1);
    for (SmpDataset* ds : {&SmpIzbKontrMOLSklad, &SmpIzbKontrFilialSklad}) {
        ds->setReadOnly(true);
        ds->setMaster(&SmpIzbKontrSklad, QStringLiteral("NKONTRAGENT"), QStringLiteral("NKONTRAGENT"));
    }
    SmpIzbKontrMOLSklad.setTableName(QStringLiteral("MOL"));
    SmpIzbKontrMOLSklad.setIndexFieldNames(QStringLiteral("IMEMOL"));
    SmpIzbKontrFilialSklad.setTableName(QStringLiteral("KONTRAGENTI_FILIALI"));
    lookup(SmpIzbKontrSklad, "ImeMolKontr", SmpIzbKontrMOLSklad, "NMOL", "NMOL", "IMEMOL");
    lookup(SmpIzbKontrSklad, "ImeFilial", SmpIzbKontrFilialSklad, "NFILIAL", "NFILIAL", "IMEFILIAL");
    lookup(SmpIzbKontrSklad, "ImeGrad", SmpGrad, "POSTKOD", "POSTKOD", "GRAD");

    // Formats of the special prices, set once the fields exist.
    SmpViewKontrMatCeni.afterOpen = [](SmpDataset& ds) {
        for (const char* price : {"PRODAGNACENA", "SPEC_CENA"})
            if (SmpField* f = ds.findField(QString::fromLatin1(price))) f->displayFormat = QStringLiteral("# ### ##0.000");
        for (const char* hidden : {"AUTONUM", "NMATERIAL"})
            if (SmpField* f = ds.findField(QString::fromLatin1(hidden))) f->visible = false;
    };
}

// The production tab: workshops -> products -> product row and recipe -> recipe line row.
void TDMNS::defineRecipeLists()
{
    const auto data = [](SmpDataset& ds, const char* name, SmpField::Type type, const char* label = nullptr,
                         const char* format = nullptr, int size = 0) {
        SmpField* f = ds.addDataField(QString::fromLatin1(name), type, size);
        if (label) f->displayLabel = QString::fromUtf8(label);
        else f->visible = false;
        if (format) f->displayFormat = QString::fromLatin1(format);
        return f;
    };
    using T = SmpField::Type;

    SmpProizIzdISK.setCommandText(QStringLiteral("select * from ViewTipIzdelie order by IMEMATIZD"));
    SmpProizIzdISK.setReadOnly(true);
    SmpProizIzdISK.setKeyFields(QStringLiteral("NTIP_IZDELIE"));
    data(SmpProizIzdISK, "NTIP_IZDELIE", T::Integer);
    data(SmpProizIzdISK, "NPROIZVODSTVO", T::Integer);
    data(SmpProizIzdISK, "IMEPROIZVODSTVO", T::String, "Производство", nullptr, 35);
    data(SmpProizIzdISK, "NMATERIAL_IZDELIE", T::Integer);
    data(SmpProizIzdISK, "IMEMATIZD", T::String, "Изделие", nullptr, 65);
    data(SmpProizIzdISK, "SERIA_DA_NE", T::Integer);
    data(SmpProizIzdISK, "ED_CENA", T::Float, "Ед.цена калк.", "# ##0.000");
    lookup(SmpProizIzdISK, "SerDaNeText", SmpDaNe, "SERIA_DA_NE", "NUM_DA_NE", "TEXT_DA_NE");

    SmpTipIzdVIEW.setCommandText(QStringLiteral("select * from ViewTipIzdelie order by IMEMATIZD"));
    SmpTipIzdVIEW.setReadOnly(true);
    SmpTipIzdVIEW.setKeyFields(QStringLiteral("NTIP_IZDELIE"));
    data(SmpTipIzdVIEW, "IMEMATIZD", T::String, "Изделие, комплект . . .");
    data(SmpTipIzdVIEW, "ED_CENA", T::Float, "Цена калк.", "# ##0.00");
    data(SmpTipIzdVIEW, "NPROIZVODSTVO", T::Integer);
    data(SmpTipIzdVIEW, "NMATERIAL_IZDELIE", T::Integer);
    data(SmpTipIzdVIEW, "IMEPROIZVODSTVO", T::String);
    data(SmpTipIzdVIEW, "NTIP_IZDELIE", T::Integer);
    SmpTipIzdVIEW.setMaster(&SmpTipProizvN, QStringLiteral("NPROIZVODSTVO"), QStringLiteral("NPROIZVODSTVO"));
    SmpTipIzdelieN.setMaster(&SmpTipIzdVIEW, QStringLiteral("NMATERIAL_IZDELIE"), QStringLiteral("NMATERIAL_IZDELIE"));
    lookup(SmpTipIzdelieN, "NmkaIzd", SmpMateriali, "NMATERIAL_IZDELIE", "NMATERIAL", "ImeMiarka");

    // A recipe as listed: N times each line's quantity and value.
    const auto recipe = [&](SmpDataset& ds, const char* sql) {
        ds.setCommandText(QString::fromLatin1(sql));
        ds.setReadOnly(true);
        ds.setKeyFields(QStringLiteral("AUTONUM"));
        for (const char* hidden : {"AUTONUM", "Ntip_Izdelie", "NSKLAD", "NMATERIAL", "NMIARKA", "IZCH_DA_NE", "SUM_DA_NE"})
            data(ds, hidden, T::Integer);
    };
    recipe(SmpRecepIzdVIEW, "select * from VIEWIZDELIE_RECEPTA(:NTIP_IZDELIE) order by IMEMATERIAL");
    SmpRecepIzdVIEW.setParam(QStringLiteral("NTIP_IZDELIE"), 0);
    data(SmpRecepIzdVIEW, "IMEMATERIAL", T::String, "Материал", nullptr, 45);
    lookup(SmpRecepIzdVIEW, "Mka", SmpMiarka, "NMIARKA", "NMIARKA", "MIARKA_BG");
    SmpRecepIzdVIEW.findField(QStringLiteral("Mka"))->displayLabel = QStringLiteral("Мка");
    data(SmpRecepIzdVIEW, "Ed_CENA", T::Float, "Ед.ц.кл", "# ##0.000");
    data(SmpRecepIzdVIEW, "KOLICHESTVO", T::Float, "Колич.", "# ##0.0000");
    SmpField* f = SmpRecepIzdVIEW.addCalculatedField(QStringLiteral("KolichObsto"), T::Float);
    f->displayLabel = QStringLiteral("Колич.общо");
    f->displayFormat = QStringLiteral("# ### ##0.000");
    f = SmpRecepIzdVIEW.addInternalCalcField(QStringLiteral("CenaObsto"), T::Float);
    f->displayLabel = QStringLiteral("Стойност");
    f->displayFormat = QStringLiteral("# ### ##0.000");
    lookup(SmpRecepIzdVIEW, "IzchDaNe", SmpDaNe, "IZCH_DA_NE", "NUM_DA_NE", "TEXT_DA_NE");
    SmpRecepIzdVIEW.findField(QStringLiteral("IzchDaNe"))->displayLabel = QStringLiteral("За сум.");
    lookup(SmpRecepIzdVIEW, "SumDaNe", SmpDaNe, "SUM_DA_NE", "NUM_DA_NE", "TEXT_DA_NE");
    SmpRecepIzdVIEW.findField(QStringLiteral("SumDaNe"))->displayLabel = QStringLiteral("Сум.");
    SmpRecepIzdVIEW.addCalculatedField(QStringLiteral("KolichBroi"), T::Integer)->visible = false;
    f = SmpRecepIzdVIEW.addAggregateField(QStringLiteral("CenaObstoSum"), QStringLiteral("SUM(CenaObsto)"));
    f->displayFormat = QStringLiteral("# ### ##0.00");
    SmpRecepIzdVIEW.onCalcFields = [this](SmpDataset& ds) {
        const double n = BrIzdeliaN, qty = ds.fieldByName(QStringLiteral("KOLICHESTVO"))->asFloat();
        ds.setValue(QStringLiteral("KolichBroi"), BrIzdeliaN);
        ds.setValue(QStringLiteral("KolichObsto"), n * qty);
        ds.setValue(QStringLiteral("CenaObsto"), n * (ds.fieldByName(QStringLiteral("Ed_CENA"))->asFloat() * qty));
    };

    SmpRecep_izdN.setMaster(&SmpRecepIzdVIEW, QStringLiteral("NTIP_IZDELIE;NMATERIAL"),
                            QStringLiteral("NTIP_IZDELIE;NMATERIAL"));
    SmpRecep_izdN.findField(QStringLiteral("ImeMaterial"))->displayLabel = QStringLiteral("Материал");
    lookup(SmpRecep_izdN, "ImeMiarka", SmpMateriali, "NMATERIAL", "NMATERIAL", "ImeMiarka");
    SmpRecep_izdN.addCalculatedField(QStringLiteral("KolichBroi"), T::Integer)->displayLabel = QStringLiteral("Брой");
    f = SmpRecep_izdN.addCalculatedField(QStringLiteral("KolichObsto"), T::Float);
    f->displayLabel = QStringLiteral("Общо");
    f->displayFormat = QStringLiteral("# ### ##0.000");
    SmpRecep_izdN.onCalcFields = [this](SmpDataset& ds) {
        ds.setValue(QStringLiteral("KolichBroi"), BrIzdeliaN);
        ds.setValue(QStringLiteral("KolichObsto"),
                    double(BrIzdeliaN) * ds.fieldByName(QStringLiteral("KOLICHESTVO"))->asFloat());
    };
    SmpRecep_izdN.afterOpen = [](SmpDataset& ds) {
        if (SmpField* q = ds.findField(QStringLiteral("KOLICHESTVO"))) {
            q->displayLabel = QStringLiteral("Колич.");
            q->displayFormat = QStringLiteral("# ### ##0.000");
        }
    };

    SmpViewIzd.setCommandText(QStringLiteral("select * from ViewTipIzdelie order by IMEPROIZVODSTVO,IMEMATIZD"));
    SmpViewIzd.setReadOnly(true);
    SmpViewIzd.setKeyFields(QStringLiteral("NTIP_IZDELIE"));
    data(SmpViewIzd, "IMEPROIZVODSTVO", T::String, "Производство");
    data(SmpViewIzd, "IMEMATIZD", T::String, "Изделие, комплект ...");
    data(SmpViewIzd, "ED_CENA", T::Float, "Цена калк.", "# ##0.00");
    data(SmpViewIzd, "NTIP_IZDELIE", T::Integer);
    data(SmpViewIzd, "NPROIZVODSTVO", T::Integer);
    data(SmpViewIzd, "NMATERIAL_IZDELIE", T::Integer);
    recipe(SmpViewIzdRec, "select * from VIEWIZDELIE_RECEPTA(:Ntip_Izdelie) order by IMEMATERIAL");
    data(SmpViewIzdRec, "IMEMATERIAL", T::String, "Материал", nullptr, 45);
    lookup(SmpViewIzdRec, "Mka", SmpMiarka, "NMIARKA", "NMIARKA", "MIARKA_BG");
    SmpViewIzdRec.findField(QStringLiteral("Mka"))->displayLabel = QStringLiteral("Мка");
    data(SmpViewIzdRec, "ED_CENA", T::Float, "Ед. цена", "# ##0.000");
    data(SmpViewIzdRec, "KOLICHESTVO", T::Float, "Количество", "# ##0.0000");
    SmpViewIzdRec.setMaster(&SmpViewIzd, QStringLiteral("NTIP_IZDELIE"), QStringLiteral("NTIP_IZDELIE"));

    // Never written: rows live in the cache until the list is closed.
    SmpIzdMatISO.setTableName(QStringLiteral("IZDMATISO"));
    SmpIzdMatISO.setScratch(true);
    data(SmpIzdMatISO, "NMATERIAL", T::Integer, "№ мат.");
    data(SmpIzdMatISO, "IMEMATERIAL", T::String, "Наименование изделие/материал", nullptr, 45);
    data(SmpIzdMatISO, "MIARKA_BG", T::String, "Мка");
    data(SmpIzdMatISO, "KOLICHESTVO", T::Float, "Колич.", "# ##0.00");
    data(SmpIzdMatISO, "KOLICHOBSTO", T::Float, "Общо", "# ##0.00");
}

void TDMNS::StoreRecipeValue()
{
    // The value of one unit, whatever N shows; an empty recipe leaves the price empty.
    QVariant value;
    if (SmpRecepIzdVIEW.isActive() && !SmpRecepIzdVIEW.isEmpty()) {
        const SmpField* price = SmpRecepIzdVIEW.fieldByName(QStringLiteral("Ed_CENA"));
        const SmpField* qty = SmpRecepIzdVIEW.fieldByName(QStringLiteral("KOLICHESTVO"));
        double sum = 0;
        for (int i = 0; i < SmpRecepIzdVIEW.recordCount(); ++i)
            sum += SmpRecepIzdVIEW.valueAt(i, price).toDouble() * SmpRecepIzdVIEW.valueAt(i, qty).toDouble();
        value = sum;
    }
    SQLQObsto.setSql(QStringLiteral("UPDATE MATERIALI SET ED_CENA=:CenaLV WHERE NMATERIAL=:NMATERIAL"));
    SQLQObsto.setParam(QStringLiteral("CenaLV"), value);
    SQLQObsto.setParam(QStringLiteral("NMATERIAL"), SmpTipIzdVIEW.value(QStringLiteral("NMATERIAL_IZDELIE")));
    SQLQObsto.execSql();
    // Re-read on the same product (by its key: names may repeat).
    SmpTipIzdVIEW.refresh();
    if (SmpProizIzdISK.isActive()) SmpProizIzdISK.refresh();
}
