#pragma once

#include "platform/ui/form.h"

#include <functional>

class DBLookupComboBox;
class QDateEdit;
class QToolButton;
class TDMPorychki;

// A new order: its client (type, name, person) and its date and deadline.
class TFormPorychkaNova : public Form
{
    Q_OBJECT
public:
    explicit TFormPorychkaNova(TDMPorychki& po);
    // Opens modally; true when an order was added (the orders list is then on it).
    bool open();
    // The reference data window on its counterparty page, on the counterparty given.
    void setReferenceWindow(std::function<void(int counterparty)> open) { openReference_ = std::move(open); }

    DBLookupComboBox* DBLkpCmBoxTipKontr = nullptr;
    DBLookupComboBox* DBLkpCmBoxImeKontr = nullptr;
    DBLookupComboBox* DBLkpCmBoxMol = nullptr;
    QDateEdit* DatePorychka = nullptr;
    QDateEdit* DatePorychkaSrok = nullptr;
    QToolButton* SpdBtnZapisPorychkaNEW = nullptr;
    QToolButton* SpdBtnPorychkaKontr = nullptr;
    QToolButton* SpdBtnExit = nullptr;

    void DBLkpCmBoxTipKontrCloseUp();
    void DBLkpCmBoxImeKontrCloseUp();
    void SpdBtnPorychkaKontrClick();
    void SpdBtnZapisPorychkaNEWClick();

private:
    TDMPorychki& po_;
    std::function<void(int)> openReference_;
};
