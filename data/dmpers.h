#pragma once

#include "platform/dataset/smpdataset.h"
#include "platform/db/components.h"

#include <QObject>

// The personnel data module, on the shared connection.
class TDMPers : public QObject
{
    Q_OBJECT
public:
    explicit TDMPers(SQLConnection& connection, QObject* parent = nullptr);

    SQLConnection& connection() const { return connection_; }

    // Re-reads the lists that follow the current employee: his payments, his balance, the
    // company's balance and his earnings by month; his work lines of the chosen month.
    void reloadPayments();
    void reloadEarnings();
    // The chosen month's year bounds on the earnings by month (the day bounds keep their values).
    void setEarningsYear();
    // The tools that can be issued: the materials of the tools warehouse of this name.
    void reopenIssuableTools(const QString& warehouse);
    // The work lines shown: the current employee's lines of the chosen month.
    void filterWorkLines();

private:
    SQLConnection& connection_;
    void defineStaff();
    void definePayments();
    void defineEarnings();

public:
    StoredProc SQLZapisPers{connection_};
    // kinds of expense report
    SmpDataset SmpTipSlugOtchet{QStringLiteral("SmpTipSlugOtchet"), &connection_, this};
    // piece-work operations and their rates
    SmpDataset SmpTipManip{QStringLiteral("SmpTipManip"), &connection_, this};
    // staff positions
    SmpDataset SmpDlygnosti{QStringLiteral("SmpDlygnosti"), &connection_, this};

    // Staff and the tools issued to them.
    SmpDataset SmpGradRpu{QStringLiteral("SmpGradRpu"), &connection_, this};
    SmpDataset SmpViewPers{QStringLiteral("SmpViewPers"), &connection_, this};
    SmpDataset SmpPers{QStringLiteral("SmpPers"), &connection_, this};
    SmpDataset SmpViewPersMatSkl{QStringLiteral("SmpViewPersMatSkl"), &connection_, this};
    SmpDataset SmpViewPersMat{QStringLiteral("SmpViewPersMat"), &connection_, this};
    SmpDataset SmpPersMat{QStringLiteral("SmpPersMat"), &connection_, this};
    SmpDataset SmpGodMes{QStringLiteral("SmpGodMes"), &connection_, this};

    // Business advances, expense reports and supplier payments of staff.
    SmpDataset SmpViewRazplPers{QStringLiteral("SmpViewRazplPers"), &connection_, this};
    SmpDataset SmpRazplPersSpr{QStringLiteral("SmpRazplPersSpr"), &connection_, this};
    SmpDataset SmpRazplPersSprObsto{QStringLiteral("SmpRazplPersSprObsto"), &connection_, this};
    SmpDataset SmpSlugRazplObsto{QStringLiteral("SmpSlugRazplObsto"), &connection_, this};
    SmpDataset SmpAvansOtShifPers{QStringLiteral("SmpAvansOtShifPers"), &connection_, this};
    SmpDataset SmpSlugAvansTemp{QStringLiteral("SmpSlugAvansTemp"), &connection_, this};
    SmpDataset SmpSlugOtchetTemp{QStringLiteral("SmpSlugOtchetTemp"), &connection_, this};

    // Piece-work earnings.
    SmpDataset SmpVedManip{QStringLiteral("SmpVedManip"), &connection_, this};
    SmpDataset SmpViewVedZarab{QStringLiteral("SmpViewVedZarab"), &connection_, this};
    SmpDataset SmpVedZarabFirma{QStringLiteral("SmpVedZarabFirma"), &connection_, this};
};
