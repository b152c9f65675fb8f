#pragma once

#include "platform/ui/form.h"

#include <QDate>

class QDateEdit;
class QLabel;
class QSpinBox;
class QToolButton;
class DBGrid;
class DBText;
class TDMNS;
class TDMProizv;
namespace Production {
struct Batch;
}

// The batch dialog: the workshop recipe of the chosen product times the number of products or
// series, checked against what the workshop holds, priced from the workshop's material prices
// and recorded as a batch. Modal.
class TFormIskIzdelie : public Form
{
    Q_OBJECT
public:
    // From the production window the count starts at 0; from a requisition with its count and pairs.
    enum class Mode { FromWorkshop, FromRequisition };

    TFormIskIzdelie(TDMNS& dm, TDMProizv& pr, QWidget* parent = nullptr);

    // Reads the workshop recipe of the current product of the product list; false when it has no rows.
    bool readRecipe(int workshop);
    // Shows the dialog over the recipe read last; true when a batch was recorded.
    bool open(Mode mode, int workshop, const QString& workshopName, int count, int pairs);

    QLabel *LbProizvodstvo = nullptr, *LbPsevdonimCeh = nullptr, *LbBrChift = nullptr;
    DBText *DBTextIzdelie = nullptr, *DBTextSerDaNe = nullptr;
    DBGrid* DBGrid10 = nullptr;
    QSpinBox* SpnEdtBrIzdelie = nullptr;
    QDateEdit* DateProizvIzd = nullptr;
    QLabel *LbSumEdCenaIzdelie = nullptr, *LbEdCenaSer = nullptr, *LbEdCenIZD_Ser = nullptr, *LbEdCenaIzd = nullptr,
           *LbEdCenaIzdelie = nullptr;
    QToolButton *SpdBtnZapisPart_Mat_Izdelie = nullptr, *SpdBtnSer = nullptr, *SpeedButton1 = nullptr;

    int pairs() const { return pairs_; }

    void FormShow();
    void SpnEdtBrIzdelieChange();
    void CountBatchPairs();
    void priceRows();
    void SpdBtnZapisPart_Mat_IzdelieClick();

private:
    Production::Batch batch() const;
    void showPrices();

    TDMNS& dm_;
    TDMProizv& pr_;
    Mode mode_ = Mode::FromWorkshop;
    int workshop_ = 0;
    int productMaterial_ = 0;
    bool series_ = false;
    int pairs_ = 0;
    bool saved_ = false;
};
