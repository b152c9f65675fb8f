#pragma once

#include "platform/ui/form.h"

class DBGrid;
class QLabel;
class TDMNsSpravki;

// "Информация за изработени изделия с този материал !": the production batches that used a material.
class TFormVlMatIzd : public Form
{
    Q_OBJECT
public:
    explicit TFormVlMatIzd(TDMNsSpravki& dm);

    QLabel* LbMat = nullptr;
    DBGrid* DBGrid1 = nullptr;

    // Reads the batches of the material and names it; the caller shows the window.
    void openFor(int material, const QString& name);

private:
    TDMNsSpravki& dm_;
};
