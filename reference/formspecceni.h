#pragma once

#include "platform/ui/form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class DBLookupComboBox;
class DataSource;
class RadioGroup;
class TDMNS;

// Adds or changes the special selling price of the current counterparty for one item: a new price
// or the current price row.
class TFormSpecCeni : public Form
{
    Q_OBJECT
public:
    explicit TFormSpecCeni(TDMNS& dm);

    QLabel* LbImeKontr = nullptr;
    QLabel* LbAddUpd = nullptr;
    QLabel* LbNaimenovanie = nullptr;
    QLabel* LbImeMatIzd = nullptr;
    QLabel* LbProdCena = nullptr;
    QLineEdit* EdSpecCena = nullptr;
    QGroupBox* GrpBoxIzbSklad = nullptr;
    RadioGroup* RdGrpIzbSklad = nullptr;
    DBLookupComboBox* DBLkpCmbIzbSklad = nullptr;
    QGroupBox* GrpBoxIzbMat = nullptr;
    DBLookupComboBox* DBLkpCmBoxMat = nullptr;
    QToolButton* SpeedBtnZapFirma = nullptr;
    QToolButton* SpdBtnExit = nullptr;

    // Opens the editor modally for a counterparty: a new price (both prices shown 0.00) or the
    // current price row with its selling and special prices.
    void openNew(const QString& counterparty);
    void openChange(const QString& counterparty, double sellingPrice, double specialPrice);

    void FormShow();
    void RdGrpIzbSkladClick();
    void DBLkpCmbIzbSkladCloseUp();
    void DBLkpCmBoxMatCloseUp();
    void SpeedBtnZapFirmaClick();

    // "#0.00": the price as the labels and the price edit show it.
    static QString priceText(double value);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setFilterSklad(const QVariant& nsklad);

    TDMNS& dm_;
    bool change_ = false;  // the current price row, not a new one
};
