#pragma once

#include "platform/ui/form.h"

#include <memory>

class QDateEdit;
class QLabel;
class QLineEdit;
class QToolButton;
class TDMNS;
class TQRPrihKO;
class TQRRazhKO;
class TQRPrihKOvaluta;
class TQRRazhKOvaluta;
class TQRKasovOrder;

// The cash order dialog: creates (modes 1 and 2) or corrects (modes 3 and 4) one cash order and
// prints it. A new order is in the currency the cash book window chose; a correction keeps the
// order's own currency and base.
class TFormKasovOrder : public Form
{
    Q_OBJECT
public:
    enum Mode { NewReceipt = 1, NewPayment = 2, CorrectReceipt = 3, CorrectPayment = 4 };

    explicit TFormKasovOrder(TDMNS& dm, QWidget* parent = nullptr);
    ~TFormKasovOrder() override;

    // Fills the dialog for the mode: a new order in `currency`, or the current row of the cash book.
    void prepare(int mode, int currency);

    QLabel* LbTipKO = nullptr;
    QLabel* LbNumKO = nullptr;
    QDateEdit* DateKO = nullptr;
    QLabel* LbImePrezFamKO = nullptr;
    QLineEdit* EditImePrezFam = nullptr;
    QLineEdit* EditGrad = nullptr;
    QLineEdit* EditAdres = nullptr;
    QLineEdit* EditOsnovanie = nullptr;
    QLabel* LbKO = nullptr;
    QLineEdit* EditSumaKO = nullptr;
    QLabel* DBText1 = nullptr;
    QLabel* LbBaza = nullptr;
    QLabel* LbOpisanie = nullptr;
    QLineEdit* EditKursValuta = nullptr;
    QLabel* LbSumaLV = nullptr;
    QToolButton* BitBtnZapKO = nullptr;
    QToolButton* BitBtnPrnKO = nullptr;
    QToolButton* BitBtnIzhod = nullptr;

    void BitBtnZapKOClick();
    void BitBtnPrnKOClick();
    // The layout the print button fills for the dialog as it stands, not shown; null (the user
    // told) when a typed number is not one.
    TQRKasovOrder* filledLayout();

    int currency() const { return currency_; }
    int number() const { return number_; }
    // The base-currency value of the amount as last computed.
    double baseAmount() const { return baseAmount_; }

signals:
    // An order was written; the cash book re-reads and moves to it.
    void orderSaved(int autonum);

private:
    bool receipt() const { return mode_ == NewReceipt || mode_ == CorrectReceipt; }
    bool correction() const { return mode_ == CorrectReceipt || mode_ == CorrectPayment; }
    void proposeNumber();
    void showCurrency();
    void computeBaseAmount();
    // The typed numbers; false (after telling the user) when one is not a number.
    bool readNumbers(double& amount, double& rate);

    TDMNS& dm_;
    int mode_ = 0;
    int currency_ = 1;
    int base_ = 1;
    int number_ = 0;
    int autonum_ = 0;
    double baseAmount_ = 0;
    std::unique_ptr<TQRPrihKO> qrPrihKO_;
    std::unique_ptr<TQRRazhKO> qrRazhKO_;
    std::unique_ptr<TQRPrihKOvaluta> qrPrihKOvaluta_;
    std::unique_ptr<TQRRazhKOvaluta> qrRazhKOvaluta_;
};
