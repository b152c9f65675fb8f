#pragma once

#include "platform/dataset/smpdataset.h"
#include "platform/db/components.h"
#include "platform/db/connection.h"

#include <QObject>

// The shared data module: the one connection, the ad-hoc query and procedure components, the
// shared lookup lists and master data, and the company settings record.
class TDMNS : public QObject
{
    Q_OBJECT
public:
    explicit TDMNS(const ConnectionParams& params, QObject* parent = nullptr);
    ~TDMNS() override;

    // Every dataset is declared with its name, its connection and this module as parent, so that
    // windows and tests find it by name.
    SQLConnection SQLConnectNS;
    SqlQuery SQLQObsto;
    StoredProc SQLZapisDanni;
    // A cached dataset whose query text the code that uses it sets.
    SmpDataset SmpZapisDanni{QStringLiteral("SmpZapisDanni"), &SQLConnectNS, this};

    // Company and settings lists.
    SmpDataset SmpFirma{QStringLiteral("SmpFirma"), &SQLConnectNS, this};
    SmpDataset SmpFirmaOfisi{QStringLiteral("SmpFirmaOfisi"), &SQLConnectNS, this};
    SmpDataset SmpMolFirma{QStringLiteral("SmpMolFirma"), &SQLConnectNS, this};
    SmpDataset SmpDaNe{QStringLiteral("SmpDaNe"), &SQLConnectNS, this};
    SmpDataset SmpTipPlast{QStringLiteral("SmpTipPlast"), &SQLConnectNS, this};
    SmpDataset SmpTipDok{QStringLiteral("SmpTipDok"), &SQLConnectNS, this};
    SmpDataset SmpVidPlastane{QStringLiteral("SmpVidPlastane"), &SQLConnectNS, this};
    SmpDataset SmpOsnovDDS{QStringLiteral("SmpOsnovDDS"), &SQLConnectNS, this};
    SmpDataset SmpTipValuta{QStringLiteral("SmpTipValuta"), &SQLConnectNS, this};
    // Places and counterparties.
    SmpDataset SmpCountry{QStringLiteral("SmpCountry"), &SQLConnectNS, this};
    SmpDataset SmpGrad{QStringLiteral("SmpGrad"), &SQLConnectNS, this};
    SmpDataset SmpTipKontragent{QStringLiteral("SmpTipKontragent"), &SQLConnectNS, this};
    SmpDataset SmpIzbTipKontr{QStringLiteral("SmpIzbTipKontr"), &SQLConnectNS, this};
    SmpDataset SmpKontragenti{QStringLiteral("SmpKontragenti"), &SQLConnectNS, this};
    SmpDataset SmpViewKontr{QStringLiteral("SmpViewKontr"), &SQLConnectNS, this};
    SmpDataset SmpMOLKontr{QStringLiteral("SmpMOLKontr"), &SQLConnectNS, this};
    SmpDataset SmpKontrFilial{QStringLiteral("SmpKontrFilial"), &SQLConnectNS, this};
    // Materials, warehouses and production.
    SmpDataset SmpMiarka{QStringLiteral("SmpMiarka"), &SQLConnectNS, this};
    SmpDataset SmpTipSklad{QStringLiteral("SmpTipSklad"), &SQLConnectNS, this};
    SmpDataset SmpIzbSklad{QStringLiteral("SmpIzbSklad"), &SQLConnectNS, this};
    SmpDataset SmpTipSklOb{QStringLiteral("SmpTipSklOb"), &SQLConnectNS, this};
    SmpDataset SmpMateriali{QStringLiteral("SmpMateriali"), &SQLConnectNS, this};
    SmpDataset SmpTipProizv{QStringLiteral("SmpTipProizv"), &SQLConnectNS, this};
    SmpDataset SmpTipProizvN{QStringLiteral("SmpTipProizvN"), &SQLConnectNS, this};
    SmpDataset SmpTipIzdelie{QStringLiteral("SmpTipIzdelie"), &SQLConnectNS, this};
    SmpDataset SmpTipIzdelieN{QStringLiteral("SmpTipIzdelieN"), &SQLConnectNS, this};
    SmpDataset SmpRecep_izdN{QStringLiteral("SmpRecep_izdN"), &SQLConnectNS, this};
    // Reference data window: the item list, a counterparty's special prices, the item choice list.
    SmpDataset SmpViewMateriali{QStringLiteral("SmpViewMateriali"), &SQLConnectNS, this};
    SmpDataset SmpViewKontrMatCeni{QStringLiteral("SmpViewKontrMatCeni"), &SQLConnectNS, this};
    SmpDataset SmpSkladMat{QStringLiteral("SmpSkladMat"), &SQLConnectNS, this};
    // Counterparty choices of the sale, delivery and order windows, with the people and branches of
    // the chosen counterparty.
    SmpDataset SmpIzbKontr{QStringLiteral("SmpIzbKontr"), &SQLConnectNS, this};
    SmpDataset SmpIzbMOL{QStringLiteral("SmpIzbMOL"), &SQLConnectNS, this};
    SmpDataset SmpIzbKontrSklad{QStringLiteral("SmpIzbKontrSklad"), &SQLConnectNS, this};
    SmpDataset SmpIzbKontrMOLSklad{QStringLiteral("SmpIzbKontrMOLSklad"), &SQLConnectNS, this};
    SmpDataset SmpIzbKontrFilialSklad{QStringLiteral("SmpIzbKontrFilialSklad"), &SQLConnectNS, this};
    // Product recipes: a workshop's products, a product's recipe, every product with its recipe
    // (to copy one) and the scratch list of accumulated materials.
    SmpDataset SmpTipIzdVIEW{QStringLiteral("SmpTipIzdVIEW"), &SQLConnectNS, this};
    SmpDataset SmpRecepIzdVIEW{QStringLiteral("SmpRecepIzdVIEW"), &SQLConnectNS, this};
    SmpDataset SmpViewIzd{QStringLiteral("SmpViewIzd"), &SQLConnectNS, this};
    SmpDataset SmpViewIzdRec{QStringLiteral("SmpViewIzdRec"), &SQLConnectNS, this};
    SmpDataset SmpIzdMatISO{QStringLiteral("SmpIzdMatISO"), &SQLConnectNS, this};
    // The products of the workshops, with their series flag; the production windows choose from it.
    SmpDataset SmpProizIzdISK{QStringLiteral("SmpProizIzdISK"), &SQLConnectNS, this};
    // Cash desk: the cash book of one currency and period, and its balance before the period.
    SmpDataset SmpViewKasa{QStringLiteral("SmpViewKasa"), &SQLConnectNS, this};
    double KasaNachSaldo = 0, KasaNachSaldoLV = 0;
    // The recipe multiplier N ("Брой рецепти :"); the recipe lists' calculated values follow it.
    int BrIzdeliaN = 1;

    // Opens the connection through its checked way in, if it is not open: a missing embedded
    // database is created and every database is brought to the program's schema version.
    void connect();

    // Re-reads both counterparty lists for a type range and positions them on a counterparty
    // (0: none).
    void RefreshKontragenti(int typeFrom, int typeTo, int kontragent);

    void SmpKontragentiAfterPost(SmpDataset& ds);
    // An item was stored or deleted: the lists that show items are read again (the item choice
    // list, and the products and recipe where they are open).
    void materialChanged();
    // The value of one unit of the current product's recipe becomes the product's calculation
    // price; the product lists (the production windows' one too, when open) are re-read.
    void StoreRecipeValue();

private:
    void defineDatasets();
    void defineReferenceLists();
    void defineRecipeLists();
    void defineCashLists();
};
