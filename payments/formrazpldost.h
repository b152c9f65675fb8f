#pragma once

#include "platform/ui/form.h"

#include <QDate>

class TDMRazpl;
class DBEdit;
class DBLookupComboBox;
class QDateEdit;
class QLabel;

// A payment to a supplier: a new one, starting from the stored starting values, or the correction
// of one entered earlier. Amounts, note and purchaser are typed into a one-row buffer.
class TFormRazplDost : public Form
{
    Q_OBJECT
public:
    enum class Mode { New = 1, Correction = 0 };
    explicit TFormRazplDost(TDMRazpl& dm);

    struct Shown
    {
        int autonum = 0;
        QDate date;
        double lv = 0, usd = 0, eur = 0;
        int purchaser = 0;
        QString note;
    };
    bool open(Mode mode, int supplier, const QString& supplierName, const Shown& payment);
    bool open(Mode mode, int supplier, const QString& supplierName) { return open(mode, supplier, supplierName, Shown()); }
    Mode mode() const { return mode_; }

    QLabel* LbPlastDost_novo_korekc = nullptr;
    QLabel* LbDostavchik = nullptr;
    DBLookupComboBox* DBLookupComboBox1 = nullptr;
    DBEdit* DBEdit1 = nullptr;
    DBEdit* DBEdit2 = nullptr;
    DBEdit* DBEdit3 = nullptr;
    DBEdit* DBEdit4 = nullptr;
    QDateEdit* DatePlastaneDost = nullptr;

    void SpdBtnUpdateClick();

private:
    TDMRazpl& dm_;
    Mode mode_ = Mode::New;
    int supplier_ = 0;
    int autonum_ = 0;
};
