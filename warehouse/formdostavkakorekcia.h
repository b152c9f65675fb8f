#pragma once

#include "platform/ui/form.h"

class QLabel;
class QLineEdit;
class QToolButton;
class DataSource;
class DBLookupComboBox;
class TDMNS;
class TDMPers;
class TDMSklad;
namespace StockLines {
struct Line;
}

// Corrects one stored delivery line, found by its key: quantity, the three unit prices, discount
// and VAT percentages, expiry date and purchaser. The quantity never goes below what has left
// the line. Modal; its edits keep their text between uses.
class TFormDostavkaKorekcia : public Form
{
    Q_OBJECT
public:
    // A supplier delivery, or a line stored by production (its quantity stays).
    enum class Mode { Delivery = 0, OwnProduction = 4 };

    TFormDostavkaKorekcia(TDMNS& dm, TDMSklad& sklad, TDMPers& pers, QWidget* parent = nullptr);

    // Shows the line (as just read) modally; true when a correction was stored (the stock list is
    // then re-read).
    bool open(Mode mode, const StockLines::Line& line);
    Mode mode() const { return mode_; }

    QLabel *LbSklad = nullptr, *LbMat = nullptr, *LbProdad = nullptr, *LbIzpis = nullptr, *LbEksped = nullptr,
           *LbBrak = nullptr, *LbNalich = nullptr, *LbDostav = nullptr, *LbDatePoluch = nullptr,
           *LbNumFakt = nullptr, *LbDateFakt = nullptr, *LbZakupch = nullptr;
    QLineEdit *EditKolichestvo = nullptr, *EditEdCenaLV = nullptr, *EditEdCenaUSD = nullptr,
              *EditEdCenaEUR = nullptr, *EditProcOtst = nullptr, *EditProcDDS = nullptr, *EditKomis = nullptr,
              *EditDateGodnost = nullptr;
    DBLookupComboBox* DBLkpCmBoxShifyrZakup = nullptr;
    QToolButton *BitBtnZapis = nullptr, *BitBtnIzhod = nullptr;

    void BitBtnZapisClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill();
    QList<QLineEdit*> numberEdits() const;

    TDMNS& dm_;
    TDMSklad& sklad_;
    TDMPers& pers_;
    Mode mode_ = Mode::Delivery;
    int key_ = 0;
    int purchaser_ = 0;  // the line's own purchaser, kept when none is chosen
    bool saved_ = false;
};
