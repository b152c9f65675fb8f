#pragma once

#include "platform/dataset/smpdataset.h"

#include <QObject>

class SQLConnection;

// The payment lists: clients' and suppliers' rows with their payments, the balances per
// counterparty, per counterparty type and for the company, and the choice lists of the payments
// window. Read-only, on the shared connection.
class TDMRazpl : public QObject
{
    Q_OBJECT
public:
    explicit TDMRazpl(SQLConnection& connection, QObject* parent = nullptr);

    SQLConnection& connection() const { return connection_; }

    // Re-reads what a client payment, or a supplier payment, changes (the lists that are open).
    // Called once the payment is stored, so it never throws: every list is tried, and the first
    // failure comes back as the user's text (empty when all were read).
    QString reloadAfterClientPayment();
    QString reloadAfterSupplierPayment();
    // Opens or re-reads every balance list.
    void reloadBalances();

private:
    SQLConnection& connection_;
    void defineRowLists();
    void defineBalances();
    void defineChoices();

public:
    SmpDataset SmpSprRazpl_Klienti{QStringLiteral("SmpSprRazpl_Klienti"), &connection_, this};
    SmpDataset SmpSprRazpl_Dost{QStringLiteral("SmpSprRazpl_Dost"), &connection_, this};
    SmpDataset SmpSprRazpl_DostZak{QStringLiteral("SmpSprRazpl_DostZak"), &connection_, this};
    SmpDataset SmpSprRazplObsto{QStringLiteral("SmpSprRazplObsto"), &connection_, this};
    SmpDataset SmpSprRazplKlientiObsto{QStringLiteral("SmpSprRazplKlientiObsto"), &connection_, this};
    SmpDataset SmpSprRazplDostObsto{QStringLiteral("SmpSprRazplDostObsto"), &connection_, this};
    SmpDataset SmpRazplKlientiObsto{QStringLiteral("SmpRazplKlientiObsto"), &connection_, this};
    SmpDataset SmpRazplDostObsto{QStringLiteral("SmpRazplDostObsto"), &connection_, this};
    SmpDataset SmpRazplKontr{QStringLiteral("SmpRazplKontr"), &connection_, this};
    SmpDataset SmpRazplKontrTipProd{QStringLiteral("SmpRazplKontrTipProd"), &connection_, this};
    SmpDataset SmpRazplKontrTipDost{QStringLiteral("SmpRazplKontrTipDost"), &connection_, this};
    SmpDataset SmpRazplKontrProd{QStringLiteral("SmpRazplKontrProd"), &connection_, this};
    SmpDataset SmpRazplKontrDost{QStringLiteral("SmpRazplKontrDost"), &connection_, this};
    SmpDataset SmpIzbZak{QStringLiteral("SmpIzbZak"), &connection_, this};
    // The starting values of a new supplier payment, and the buffer it is typed into (never applied).
    SmpDataset SmpRazplDostTemp{QStringLiteral("SmpRazplDostTemp"), &connection_, this};
};
