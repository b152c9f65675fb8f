#pragma once

#include "platform/ui/form.h"

#include <memory>

class TDMNS;
class TDMRazpl;
class TFormRazplKlient;
class TFormRazplDost;
class TQRRazplProdagbi;
class TQRRazplDostavki;
class TQRRazplProdObobst;
class TQRSaldaKlienti;
class TabRazplKlienti;
class TabRazplDost;
class TabRazplKlientiObsto;
class TabRazplDostObsto;
class TabRazplZak;
class TabRazplTipove;
class TabRazplKontr;
class WrappingTabWidget;

// "Разплащания с контрагенти !": what clients owe the company and what it owes its suppliers, per
// currency, with the entry, correction and deletion of payments made after their documents.
class TFormRazplastania : public Form
{
    Q_OBJECT
public:
    TFormRazplastania(TDMNS& dm, TDMRazpl& razpl);
    ~TFormRazplastania() override;

    WrappingTabWidget* PageControl1 = nullptr;
    TabRazplKlienti* TabSheet1 = nullptr;
    TabRazplDost* TabSheet2 = nullptr;
    TabRazplKlientiObsto* TabSheet3 = nullptr;
    TabRazplDostObsto* TabSheet4 = nullptr;
    TabRazplZak* TabSheet5 = nullptr;
    TabRazplTipove* TabSheet6 = nullptr;
    TabRazplKontr* TabSheet7 = nullptr;

    // The payment dialogs this window opens, and the acknowledgement the client dialog prints.
    TQRRazplProdObobst& acknowledgement() { return *qrProdObobst_; }
    void setDialogs(TFormRazplKlient* client, TFormRazplDost* supplier);

    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDMRazpl& razpl_;
    std::unique_ptr<TQRRazplProdagbi> qrProdagbi_;
    std::unique_ptr<TQRRazplDostavki> qrDostavki_;
    std::unique_ptr<TQRRazplProdObobst> qrProdObobst_;
    std::unique_ptr<TQRSaldaKlienti> qrSaldaKlienti_;
};
