#pragma once

#include "platform/ui/form.h"

#include <QString>

struct StockDocHeading;

class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;
class DBGrid;
class DBLookupComboBox;
class DBNavigator;
class DBText;
class DataSource;
class SmpDataset;
class TDMNS;
class TDMProdagba;
class TFormProdagbaMateriali;
class TFormRealizaciaPrint;

// The sales documents browser: one recorded sale (mode 2) or every line of one invoice number
// (modes 0 and 1), with its header boxes, totals, payments and consignment settlements. The header
// and line prices are corrected with "Зап.корекция", the document previewed and printed again,
// the sale deleted, deferred payments and consignment settlements stored at once.
class TFormProdagbaElementi : public Form
{
    Q_OBJECT
public:
    enum Mode { ByInvoiceText = 0, ByInvoiceInt = 1, BySale = 2 };

    // The lists it shows; sales: the sales list it was opened on, refreshed after a change;
    // clientBalances: the client payment list reloaded for the sale's counterparty.
    TFormProdagbaElementi(TDMNS& dm, TDMProdagba& lists, SmpDataset& sales, SmpDataset& clientBalances,
                          TFormRealizaciaPrint& print, TFormProdagbaMateriali* lineEditor, QWidget* parent = nullptr);

    // Loads the lines of the selection and shows the window modally in its mode.
    int open(Mode mode, const QString& saleNumber, const QString& invoiceText, int invoiceInt);
    Mode mode() const { return mode_; }
    int currentDocumentType() const { return currentType_; }

    // What the recorded stock receipt-like layouts print from the boxes and the current line.
    StockDocHeading stockHeading() const;

    void ApplyBrowserDocumentTypeMode(int documentType);
    void SaveSaleCorrections();

    DBText *DBText2 = nullptr, *DBText1 = nullptr, *DBText11 = nullptr, *DBText13 = nullptr, *DBText8 = nullptr,
           *DBText14 = nullptr, *DBTextDanFakt = nullptr, *DBTextPlastane = nullptr;
    DBLookupComboBox* DBLkpCmBIzborTipDok = nullptr;
    QDateEdit *DateDocProdagba1 = nullptr, *DateFaktPoluchena = nullptr, *DateSybitie = nullptr, *DateVnoska = nullptr;
    QLineEdit *EdChas = nullptr, *EdNfakt = nullptr, *EdNStokRazp = nullptr, *EdNKons = nullptr, *EdNPorych = nullptr,
              *EdNEksBel = nullptr, *EdEkspBelBruto = nullptr, *EdEkspBelTara = nullptr, *EdEkspBelNeto = nullptr,
              *EditBelegki = nullptr, *EdClient_ime = nullptr, *EdClient_EGN = nullptr, *EdClient_LK = nullptr,
              *EdNumTransport = nullptr, *DBEdPlastSuma = nullptr;
    QLabel *LbNfakt = nullptr, *LbNStokRazp = nullptr, *LbNKons = nullptr, *LbNPorych = nullptr, *LbNEksBel = nullptr;
    DBLookupComboBox *DBLkpCmbVidPlastane = nullptr, *DBLkpCmbSystavil = nullptr;
    QGroupBox *GrpBoxDanFakt = nullptr, *GrpBoxPlastane = nullptr, *GrpBoxDanniProd = nullptr,
              *GrpBoxDanniKonsign = nullptr;
    QWidget *PanelPlastRazsr = nullptr, *PanelDanni = nullptr, *PanelKonsPlast = nullptr, *PanelKonsVyrn = nullptr;
    DBGrid *DBGrid1 = nullptr, *DBGridPlastRazsr = nullptr, *DBGridKonsPlast = nullptr, *DBGridKonsVyrn = nullptr;
    DBNavigator *DBNavigatorKonsPlast = nullptr, *DBNavigatorKonsVyrn = nullptr;
    QToolButton *SpdBtnNewNumFakt = nullptr, *SpdBtnIztrivane = nullptr, *SpdBtnPechat = nullptr,
                *SpdBtnIzgled = nullptr, *SpdBtnKorekcia = nullptr, *SpdBtnZapKorekcia = nullptr,
                *SpdBtnIzhod = nullptr, *SpdBtnNovZapis = nullptr, *SpdBtnZapis = nullptr;

    void FormShow();
    void SpdBtnNewNumFaktClick();
    void SpdBtnZapKorekciaClick();
    void SpdBtnIztrivaneClick();
    void SpdBtnNovZapisClick();
    void SpdBtnZapisClick();
    void SpdBtnKorekciaClick();
    void SpdBtnIzgledClick();
    void SpdBtnPechatClick();
    void DBGridPlastRazsrCellClick();
    void EdEkspBelBrutoExit();
    void DBLkpCmBIzborTipDokCloseUp();

private:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void buildControls();
    QString saleNumber() const;
    void reloadLines();

    TDMNS& dm_;
    TDMProdagba& lists_;
    SmpDataset& sales_;
    SmpDataset& clientBalances_;
    TFormRealizaciaPrint& print_;
    TFormProdagbaMateriali* lineEditor_;
    Mode mode_ = BySale;
    QString saleNumber_, invoiceText_;
    int invoiceInt_ = 0;
    int currentType_ = 0;
};
