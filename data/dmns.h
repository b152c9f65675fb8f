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

    SQLConnection SQLConnectNS;
    SqlQuery SQLQObsto;
    StoredProc SQLZapisDanni;
    // A cached dataset whose query text the code that uses it sets.
    SmpDataset SmpZapisDanni;

    // Company and settings lists.
    SmpDataset SmpFirma, SmpFirmaOfisi, SmpMolFirma, SmpDaNe, SmpTipPlast, SmpTipDok, SmpVidPlastane, SmpOsnovDDS,
        SmpTipValuta;
    // Places and counterparties.
    SmpDataset SmpCountry, SmpGrad, SmpTipKontragent, SmpIzbTipKontr, SmpKontragenti, SmpViewKontr, SmpMOLKontr,
        SmpKontrFilial;
    // Materials, warehouses and production.
    SmpDataset SmpMiarka, SmpTipSklad, SmpIzbSklad, SmpTipSklOb, SmpMateriali, SmpTipProizv, SmpTipProizvN,
        SmpTipIzdelie, SmpTipIzdelieN, SmpRecep_izdN;
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
    // The recipe multiplier N ("Брой рецепти :"); the recipe lists' calculated values follow it.
    int BrIzdeliaN = 1;

    // Opens the connection through its checked way in, if it is not open: a missing embedded
    // database is created and every database is brought to the program's schema version.
    void connect();

    // Re-reads both counterparty lists for a type range and positions them on a counterparty
    // (0: none).
    void RefreshKontragenti(int typeFrom, int typeTo, int kontragent);

    void SmpKontragentiAfterPost(SmpDataset& ds);
    // The value of one unit of the current product's recipe becomes the product's calculation
    // price; the product list is re-read on the product.
    void StoreRecipeValue();

private:
    void defineDatasets();
    void defineReferenceLists();
    void defineRecipeLists();
};
