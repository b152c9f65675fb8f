#pragma once

#include "platform/ui/form.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QToolButton;
class DBLookupComboBox;
class TDMNS;
class TDMSklad;
namespace StockLines {
struct Line;
}

// Records a defective quantity of one delivery line, claimed against a counterparty under a
// claim document. Modal; what was typed stays after a refusal.
class TFormSklDostBrak : public Form
{
    Q_OBJECT
public:
    TFormSklDostBrak(TDMNS& dm, TDMSklad& sklad, QWidget* parent = nullptr);

    // Shows the line modally with the claim proposed against its supplier and document at its
    // prices; true when a claim was stored (the defective and stock lists are then re-read).
    bool open(const StockLines::Line& line);

    QLabel *LbMaterial = nullptr, *LbDostavchik = nullptr, *LbNFaktura = nullptr, *LbDateFaktura = nullptr,
           *LbNalichnost = nullptr, *LbKolichestvo = nullptr, *LbSumIsk = nullptr, *LbProdadeno = nullptr,
           *LbEkspedirano = nullptr, *LbEdCenaLv = nullptr, *LbUSD = nullptr, *LbEUR = nullptr;
    DBLookupComboBox* DBLkpCmbKontr = nullptr;
    QDateEdit* DateSklDostBrak = nullptr;
    QLineEdit *EditKolichBrak = nullptr, *EditNFakturaBrak = nullptr, *EditDateFakturaBrak = nullptr,
              *EditEdCenaLV = nullptr, *EditUSD = nullptr, *EditEUR = nullptr;
    QToolButton *BitBtnZapSklDostBrak = nullptr, *BitBtnIzhod = nullptr;

    void BitBtnZapSklDostBrakClick();

private:
    TDMNS& dm_;
    TDMSklad& sklad_;
    int key_ = 0;
    bool saved_ = false;
};
