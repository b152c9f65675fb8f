#pragma once

#include "platform/ui/form.h"

#include <QDate>

#include <functional>
#include <optional>

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
// and VAT percentages, expiry date and purchaser; or the quantity and prices of a warehouse-object
// line. The quantity never goes below what has left the line. Modal; its edits keep their text
// between uses.
class TFormDostavkaKorekcia : public Form
{
    Q_OBJECT
public:
    // A supplier delivery, a direct delivery into a warehouse object, the prices of a warehouse-object
    // line, or a line stored by production (its quantity stays).
    enum class Mode { Delivery = 0, ObjectDelivery = 2, ObjectPrices = 3, OwnProduction = 4 };

    // A warehouse-object line as the correction shows and checks it.
    struct ObjectLine
    {
        int key = 0;
        QString objectName, materialName, sourceName, document, molName;
        QDate received;
        double quantity = 0;              // received
        double sold = 0, dispatched = 0;  // what has left it
        double priceLv = 0, priceUsd = 0, priceEur = 0;
        bool quantityFixed = false;       // the line keeps its quantity whatever is typed
        double onHand() const { return quantity - sold - dispatched; }
    };
    struct ObjectCorrection
    {
        int key = 0;
        double quantity = 0;
        double priceLv = 0, priceUsd = 0, priceEur = 0;
    };
    // The warehouse objects' own data functions: the line read afresh (nullopt when gone), why a
    // quantity may not be stored (empty when it may), and the store.
    struct ObjectLineAccess
    {
        std::function<std::optional<ObjectLine>(int key)> read;
        std::function<QString(int key, double quantity)> refusal;
        std::function<void(const ObjectCorrection&)> store;
    };

    TFormDostavkaKorekcia(TDMNS& dm, TDMSklad& sklad, TDMPers& pers, QWidget* parent = nullptr);

    // Shows the line (as just read) modally; true when a correction was stored (the stock list is
    // then re-read).
    bool open(Mode mode, const StockLines::Line& line);
    // Modes 2 and 3: shows the warehouse-object line modally; true when a correction was stored
    // (the caller re-reads its list).
    bool open(Mode mode, const ObjectLine& line, ObjectLineAccess access);
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
    QList<QLineEdit*> numberEdits() const;
    void saveObjectLine();
    bool objectMode() const { return mode_ == Mode::ObjectDelivery || mode_ == Mode::ObjectPrices; }

    TDMNS& dm_;
    TDMSklad& sklad_;
    TDMPers& pers_;
    Mode mode_ = Mode::Delivery;
    int key_ = 0;
    int purchaser_ = 0;  // the line's own purchaser, kept when none is chosen
    ObjectLineAccess objects_;
    bool saved_ = false;
};
