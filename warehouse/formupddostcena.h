#pragma once

#include "platform/ui/form.h"

class QLabel;
class QLineEdit;
class QToolButton;
class SQLConnection;
namespace StockLines {
struct Line;
}

// Changes the three unit delivery prices of one delivery line, found by its key, and nothing
// else. Modal.
class TFormUpdDostCena : public Form
{
    Q_OBJECT
public:
    explicit TFormUpdDostCena(SQLConnection& db, QWidget* parent = nullptr);

    // Shows the line (as just read) modally; true when its prices were stored.
    bool open(const StockLines::Line& line);

    QLabel *LbDostavchik = nullptr, *LbMaterial = nullptr, *LbKolichestvo = nullptr, *LbFaktura = nullptr;
    QLineEdit *DBEdit1 = nullptr, *DBEdit2 = nullptr, *DBEdit3 = nullptr;
    QToolButton *BitBtnUpdDostCena = nullptr, *BitBtnExit = nullptr;

    void BitBtnUpdDostCenaClick();

signals:
    // The prices of the line were stored; the list that opened the window re-reads.
    void pricesSaved(int lineKey);

private:
    SQLConnection& db_;
    int key_ = 0;
    bool saved_ = false;
};
