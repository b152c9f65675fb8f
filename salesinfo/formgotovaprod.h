#pragma once

#include "platform/ui/form.h"

#include <functional>

class DBGrid;
class QDateEdit;
class QMenuBar;
class QToolButton;
class RadioGroup;
class TDMNsSpravki;
class TFormSprProdagbi;
class TFormSprRealizaciaRazplastania;
class TFormKlientiOborot;
class TFormProdPoMeseci;

// "Информация - продажби !": the sale lines of a period by kind of sale, the way into a recorded
// sale or invoice, and the sales inquiries of the menu "Справки".
class TFormGotovaProd : public Form
{
    Q_OBJECT
public:
    explicit TFormGotovaProd(TDMNsSpravki& dm);

    struct Inquiries
    {
        TFormSprProdagbi* sales = nullptr;
        TFormSprRealizaciaRazplastania* payments = nullptr;
        TFormKlientiOborot* turnover = nullptr;
        TFormProdPoMeseci* monthly = nullptr;
    };
    void setInquiries(const Inquiries& inquiries) { inquiries_ = inquiries; }
    // The company's VAT number is the special one (the inquiry's report buttons carry its captions).
    void setSpecialCompany(bool special) { special_ = special; }

    // What the sales documents browser is opened on: a sale (mode 2) or all lines of an invoice
    // (mode 0 by its text number, 1 by its integer number).
    struct BrowserRequest
    {
        int mode = 2;
        QString saleNumber, invoiceText;
        int invoiceInt = 0;
    };
    // Opens the browser on a request; without one the two buttons are disabled.
    void setBrowser(std::function<void(const BrowserRequest&)> browser);

    QDateEdit* DateProdagbaOt = nullptr;
    QDateEdit* DateProdagbaDo = nullptr;
    DBGrid* DBGrid2 = nullptr;
    RadioGroup* RdGrpVidProdagba = nullptr;
    QToolButton* SpdBtnInfProdagba = nullptr;
    QToolButton* SpdBtnInfFaktura = nullptr;
    QMenuBar* MainMenu1 = nullptr;

    void FormShow();
    void ReloadSalesList();
    void RdGrpVidProdagbaClick();
    void SpdBtnInfProdagbaClick();
    void SpdBtnInfFakturaClick();
    void N2Click();
    void N3Click();
    void N4Click();
    void N5Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDMNsSpravki& dm_;
    Inquiries inquiries_;
    bool special_ = false;
    std::function<void(const BrowserRequest&)> browser_;
};
