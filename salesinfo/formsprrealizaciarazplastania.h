#pragma once

#include "platform/ui/form.h"

class DBGrid;
class TDMNsSpravki;

// "Реализация - разплащания с клиенти !": every sale with its total, what was paid and what is left;
// unpaid sales in red, overpaid in blue.
class TFormSprRealizaciaRazplastania : public Form
{
    Q_OBJECT
public:
    explicit TFormSprRealizaciaRazplastania(TDMNsSpravki& dm);

    DBGrid* DBGrid1 = nullptr;

    void FormShow();
    // The text colour of a row: red with more than 0.001 left, blue when overpaid by more than 0.001.
    static QColor rowColour(double total, double paid, double left);

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDMNsSpravki& dm_;
};
