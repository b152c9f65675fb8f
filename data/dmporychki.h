#pragma once

#include "platform/dataset/smpdataset.h"
#include "platform/db/components.h"

#include <QObject>

// The client-orders lists on the shared connection: the orders, their product lines and the
// progress of every ordered product, the choice lists of the order dialogs, the material needs
// and the progress of one product by client.
class TDMPorychki : public QObject
{
    Q_OBJECT
public:
    explicit TDMPorychki(SQLConnection& connection, QObject* parent = nullptr);

    SQLConnection& connection() { return connection_; }

    // Runs a stored procedure by name on the orders' connection.
    StoredProc SQLZapDanniPorychki;

    SmpDataset SmpPorychkiArh;
    SmpDataset SmpViewIzdPorych;  // follows the current order
    SmpDataset SmpPorychki_Dvigenie;
    // The new order dialog: counterparty types, the counterparties of the type, their persons.
    SmpDataset SmpPorychkaTipKontr;
    SmpDataset SmpPorychkaKontr;
    SmpDataset SmpPorychkaKontrMOL;
    // The product line dialog: workshops, their products, and the supplier of the materials.
    SmpDataset SmpPorychkaProizv;
    SmpDataset SmpPorychkaIzdelie;
    SmpDataset SmpPorychTipKontDost;
    SmpDataset SmpPorychKontrDost;
    // Material needs: of one order, and of what is still to be made of a range of products.
    SmpDataset SmpPorychka_Materiali;
    SmpDataset SmpPorychDvigMat;
    // One product by client: per client, per order line, and its sales without an order.
    SmpDataset SmpPorychDvigKontrSum;
    SmpDataset SmpPorychDvigKontrFull;
    SmpDataset SmpPorychProdSvobodno;

    // Re-reads a list with its one parameter set.
    static void reopen(SmpDataset& list, const QString& param, const QVariant& value);

private:
    void defineOrders();
    void defineChoices();
    void defineNeeds(SmpDataset& needs);
    void defineByClient();

    SQLConnection& connection_;
};
