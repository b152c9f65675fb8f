#pragma once

#include "platform/ui/form.h"

class DBGrid;
class QToolButton;
class TDMPorychki;

// The progress of every ordered product and, for the current one, its clients' orders, order
// lines and sales without an order. Read only; opened modally from the orders window.
class TFormPorychkaDvigKontr : public Form
{
    Q_OBJECT
public:
    explicit TFormPorychkaDvigKontr(TDMPorychki& po);

    DBGrid* DBGrid2 = nullptr;  // the products
    DBGrid* DBGrid1 = nullptr;  // per client
    DBGrid* DBGrid3 = nullptr;  // per order line
    DBGrid* DBGrid4 = nullptr;  // sales without an order
    QToolButton* SpdBtnIzhod = nullptr;

    // Re-reads the three client lists for the current product.
    void RefreshByClient();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDMPorychki& po_;
};
