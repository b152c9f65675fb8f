#pragma once

#include "reference/listcontrols.h"

#include <QWidget>

class DBGrid;
class DBLookupComboBox;
class QToolButton;
class RadioGroup;
class TDMNS;
class TFormKontragent;
class TFormSpecCeni;

// The counterparty tab of the reference data window: counterparties with their people, branches
// and special prices.
class TabCounterparties : public QWidget
{
    Q_OBJECT
public:
    explicit TabCounterparties(TDMNS& dm, QWidget* parent = nullptr);

    // The editors this tab opens; the owner of the window set gives them.
    TFormKontragent* FormKontragent = nullptr;
    TFormSpecCeni* FormSpecCeni = nullptr;

    DBGrid* DBGrid6 = nullptr;
    RadioGroup* RdGrpIzbKontragent = nullptr;
    DBLookupComboBox* DBLkpCmBoxTipKontragert = nullptr;
    DBGrid* DBGrid13 = nullptr;
    DBGrid* DBGrid12 = nullptr;
    DBGrid* DBGrid10 = nullptr;

    // The key the type lookup keeps (0 until the user picks one).
    int izbTipKontrKey() const { return izbTipKontrKey_; }

    // Opens the tab's lists (the counterparties are read only when they are not open yet).
    void FormShow();
    // The special prices follow the counterparty current in the list.
    void reopenSpecCeni();
    void RefreshKontragentiLists(int kontragent);
    // Every counterparty, positioned on this one (the sale, delivery and order windows' way in).
    void showAllOn(int kontragent);
    void RdGrpIzbKontragentClick();
    void DBLkpCmBoxTipKontragertCloseUp();
    void DBGrid6CellClick();
    void DBGrid6KeyUp(int key);
    void SpdBtnRedakciaClick();
    void SpdBtnNewKontragClick();
    void SpdBtnDelKontragentClick();
    void SpdBtnZapisMolClick();
    void SpBtnZapisFilialClick();
    void SpdBtnSpCMatAddClick();
    void SpdBtnSpCMatUpdClick();
    void SpdBtnSpCMatDelClick();

private:
    QToolButton* makeButton(const char* name, const QString& text, void (TabCounterparties::*handler)());

    TDMNS& dm_;
    ListControls lists_;
    int izbTipKontrKey_ = 0;
};
