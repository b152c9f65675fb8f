#include "data/dmns.h"

#include "platform/dataset/saveatonce.h"
#include "platform/db/transaction.h"
#include "schema/schema.h"

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
    : QObject(parent), SQLConnectNS(params), SQLQObsto(SQLConnectNS), SQLZapisDanni(SQLConnectNS),
      SmpZapisDanni(QStringLiteral("SmpZapisDanni"), &SQLConnectNS),
#define TRX_DS(n) n(QStringLiteral(#n), &SQLConnectNS)
      TRX_DS(SmpFirma), TRX_DS(SmpFirmaOfisi), TRX_DS(SmpMolFirma), TRX_DS(SmpDaNe), TRX_DS(SmpTipPlast),
      TRX_DS(SmpTipDok), TRX_DS(SmpVidPlastane), TRX_DS(SmpOsnovDDS), TRX_DS(SmpTipValuta), TRX_DS(SmpCountry),
      TRX_DS(SmpGrad), TRX_DS(SmpTipKontragent), TRX_DS(SmpIzbTipKontr), TRX_DS(SmpKontragenti), TRX_DS(SmpViewKontr),
      TRX_DS(SmpMOLKontr), TRX_DS(SmpKontrFilial), TRX_DS(SmpMiarka), TRX_DS(SmpTipSklad), TRX_DS(SmpIzbSklad),
      TRX_DS(SmpTipSklOb), TRX_DS(SmpMateriali), TRX_DS(SmpTipProizv), TRX_DS(SmpTipProizvN), TRX_DS(SmpTipIzdelie),
      TRX_DS(SmpTipIzdelieN), TRX_DS(SmpRecep_izdN)
#undef TRX_DS
{
    setObjectName(QStringLiteral("DMNS"));
    // Members, parented so that windows and tests find them by name.
    for (SmpDataset* ds :
         {&SmpZapisDanni, &SmpFirma, &SmpFirmaOfisi, &SmpMolFirma, &SmpDaNe, &SmpTipPlast, &SmpTipDok, &SmpVidPlastane,
          &SmpOsnovDDS, &SmpTipValuta, &SmpCountry, &SmpGrad, &SmpTipKontragent, &SmpIzbTipKontr, &SmpKontragenti,
          &SmpViewKontr, &SmpMOLKontr, &SmpKontrFilial, &SmpMiarka, &SmpTipSklad, &SmpIzbSklad, &SmpTipSklOb,
          &SmpMateriali, &SmpTipProizv, &SmpTipProizvN, &SmpTipIzdelie, &SmpTipIzdelieN, &SmpRecep_izdN})
        ds->setParent(this);
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
    table(SmpMOLKontr, "MOL", "IMEMOL");
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

    // Every edit of these lists is stored at once; the item list follows units and warehouses.
    for (SmpDataset* ds : {&SmpFirmaOfisi, &SmpMolFirma, &SmpVidPlastane, &SmpOsnovDDS, &SmpTipValuta, &SmpCountry,
                           &SmpGrad, &SmpTipKontragent, &SmpMOLKontr, &SmpKontrFilial, &SmpTipSklOb, &SmpTipProizvN})
        SaveAtOnce::install(*ds);
    SaveAtOnce::install(SmpMiarka, {&SmpMateriali});
    SaveAtOnce::install(SmpTipSklad, {&SmpMateriali});

    SmpKontragenti.afterPost = [this](SmpDataset& ds) { SmpKontragentiAfterPost(ds); };
    SmpKontragenti.afterDelete = [this](SmpDataset& ds) { SmpKontragentiAfterPost(ds); };
}

void TDMNS::connect()
{
    if (SQLConnectNS.isOpen()) return;
    try {
        Schema::openAndUpgrade(SQLConnectNS);
    } catch (...) {
        SQLConnectNS.close();  // a half-upgraded attachment is never used; the next call tries again
        throw;
    }
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
