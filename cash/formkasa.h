#pragma once

#include "platform/ui/form.h"

#include <QDate>

#include <memory>

class DBGrid;
class DBLookupComboBox;
class DBNavigator;
class QDateEdit;
class QLabel;
class QToolButton;
class TDMNS;
class TFormKasovOrder;
class TQRKasa;
class TQRKasaValuta;
namespace Report {
class Layout;
}

// The cash book window: the orders of the chosen currency for a period with the balances before
// and after it, in the currency and in base currency. The window keeps its own chosen currency.
class TFormKasa : public Form
{
    Q_OBJECT
public:
    TFormKasa(TDMNS& dm, TFormKasovOrder& order, QWidget* parent = nullptr);
    ~TFormKasa() override;

    DBLookupComboBox* DBLookupComboBox1 = nullptr;
    QLabel* LbBaza = nullptr;
    QLabel* LbOpisanie = nullptr;
    QDateEdit* DateKasaOT = nullptr;
    QDateEdit* DateKasaDO = nullptr;
    QLabel* NachSaldo = nullptr;
    QLabel* NachSaldoLV = nullptr;
    DBGrid* DBGrid1 = nullptr;
    QLabel* SumSumaPKO = nullptr;
    QLabel* SumSumaRKO = nullptr;
    QLabel* KrainoSaldo = nullptr;
    QLabel* SumSumaPKOLV = nullptr;
    QLabel* SumSumaRKOLV = nullptr;
    QLabel* KrainoSaldoLV = nullptr;
    DBNavigator* DBNavigator1 = nullptr;
    QToolButton* BitBtnNewPKO = nullptr;
    QToolButton* BitBtnNewRKO = nullptr;
    QToolButton* BitBtnKorekciaKO = nullptr;
    QToolButton* BitBtnDel = nullptr;
    QToolButton* BitBtnPrnKasa = nullptr;
    QToolButton* BitBtnIzhod = nullptr;

    int currency() const { return currency_; }
    void chooseCurrency(int currency);
    void ReloadCashBook();

    void BitBtnNewPKOClick();
    void BitBtnNewRKOClick();
    void BitBtnKorekciaKOClick();
    void BitBtnDelClick();
    void BitBtnPrnKasaClick();
    // The cash book layout of the chosen currency with the loaded period written in.
    Report::Layout& filledCashBook();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void openOrder(int mode);
    void showTotals();

    TDMNS& dm_;
    TFormKasovOrder& order_;
    int currency_ = 1;
    QDate loadedFrom_, loadedTo_;  // the period of the rows shown
    std::unique_ptr<TQRKasa> qrKasa_;
    std::unique_ptr<TQRKasaValuta> qrKasaValuta_;
};
