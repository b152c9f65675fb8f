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

    // Opens the connection on first use: a missing embedded database is created and every
    // database is brought to the program's schema version.
    void connect();

    // Re-reads both counterparty lists for a type range and positions them on a counterparty
    // (0: none).
    void RefreshKontragenti(int typeFrom, int typeTo, int kontragent);

    void SmpKontragentiAfterPost(SmpDataset& ds);

private:
    void defineDatasets();
};
