#pragma once

#include "platform/ui/form.h"

class DBGrid;
class DBText;
class QLabel;
class QToolButton;
class SmpDataset;
class TQRNeedsBase;

// A material calculation window: the caller's panel caption over the needs list, the total
// value, its printout, the export and "Изход". Shown not modally.
class TFormNeeds : public Form
{
    Q_OBJECT
public:
    QLabel* PanelKalkulacia = nullptr;
    DBGrid* DBGrid2 = nullptr;
    DBText* DBTextObstaStoinost = nullptr;
    QToolButton* SpBtnPrintPorychkaMater = nullptr;
    QToolButton* SpeedBtnExcel = nullptr;
    QToolButton* SpdBtnIzhod = nullptr;

    void SpBtnPrintPorychkaMaterClick();
    void SpeedBtnExcelClick();

protected:
    TFormNeeds(const char* name, const QString& caption, SmpDataset& needs, TQRNeedsBase& printout);
    // Shows the window with the panel caption; the list is filled by then.
    void showWith(const QString& panel);
    SmpDataset& needs_;
    TQRNeedsBase& printout_;
};
