#pragma once

#include "platform/ui/form.h"

class TDMNS;
class TDMPers;
class DBGrid;
class QMenuBar;
class TabSlugRazpl;
class TabTools;
class TabZarab;
class TFormPers;
class TFormSlugRazplObsto;
class TFormViewZarab;
class QTabWidget;

// The staff window: employees with their personal data, and the tabs of their business payments,
// issued tools and piece-work earnings.
class TFormPersonal : public Form
{
    Q_OBJECT
public:
    TFormPersonal(TDMNS& dm, TDMPers& pers);

    // The windows this one opens; the owner of the window set gives them.
    TFormPers* FormPers = nullptr;
    TFormSlugRazplObsto* FormSlugRazplObsto = nullptr;
    TFormViewZarab* FormViewZarab = nullptr;

    DBGrid* DBGrid10 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    TabSlugRazpl* TabSheet1 = nullptr;
    TabTools* TabSheet2 = nullptr;
    TabZarab* TabSheet3 = nullptr;
    QMenuBar* MainMenu1 = nullptr;

    void FormShow();
    void DBGrid10CellClick();
    void SpdBtnNewPersClick();
    void SpdBtnUpdatePersClick();
    void SpdBtnDelPersClick();
    void N1SlugRazplObstoClick();
    void N2SprZarabClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* personalData();
    TDMNS& dm_;
    TDMPers& pers_;
};
