#pragma once

#include "platform/dataset/smpdataset.h"
#include "platform/db/components.h"

#include <QObject>

// The inquiry data module, on the shared connection: the sales information lists (recorded sale
// lines, their inquiry with material costs, quantities per article, payments per sale, client
// turnover, monthly sales and batches made with a material) and the inquiry's choice lists.
class TDMNsSpravki : public QObject
{
    Q_OBJECT
public:
    explicit TDMNsSpravki(SQLConnection& connection, QObject* parent = nullptr);

    SQLConnection& connection() const { return connection_; }

private:
    SQLConnection& connection_;
    void defineInquiry();
    void defineSalesLists();

public:
    StoredProc SQLZapisSpravki;
    // The sales inquiry: one row per sale line with its values, consignment remainder and material cost.
    SmpDataset SmpSprRealizacia{QStringLiteral("SmpSprRealizacia"), &connection_, this};
    SmpDataset SmpSprTipKontr{QStringLiteral("SmpSprTipKontr"), &connection_, this};
    SmpDataset SmpSprKontr{QStringLiteral("SmpSprKontr"), &connection_, this};
    SmpDataset SmpSprKontrFilial{QStringLiteral("SmpSprKontrFilial"), &connection_, this};
    SmpDataset SmpSprMaterial{QStringLiteral("SmpSprMaterial"), &connection_, this};
    // Quantities sold per article in a period, largest first.
    SmpDataset SmpSprRealizaciaArtik{QStringLiteral("SmpSprRealizaciaArtik"), &connection_, this};
    // The sale lines of a period, by kind of sale.
    SmpDataset SmpRealizacia{QStringLiteral("SmpRealizacia"), &connection_, this};
    // Sales with what was paid for them.
    SmpDataset SmpRealizaciaPlastania{QStringLiteral("SmpRealizaciaPlastania"), &connection_, this};
    // Client turnover of a year, kept, sorted and filtered on the client side.
    SmpDataset ClnDtStKlientiOborot{QStringLiteral("ClnDtStKlientiOborot"), &connection_, this};
    // Sales value per article and month of a year, from one warehouse.
    SmpDataset SmpProdPoMes{QStringLiteral("SmpProdPoMes"), &connection_, this};
    // Production batches that used a material.
    SmpDataset SmpVlMatIzd{QStringLiteral("SmpVlMatIzd"), &connection_, this};

    // The turnover filter: clients with a quantity in at least one month.
    void setTurnoverFilter(bool onlyWithTurnover) { ClnDtStKlientiOborot.setFiltered(onlyWithTurnover); }
};
