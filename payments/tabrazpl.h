#pragma once

#include <QDate>
#include <QWidget>

class TDMRazpl;
class TFormRazplKlient;
class TFormRazplDost;
class TQRRazplProdagbi;
class TQRRazplDostavki;
class TQRSaldaKlienti;
class DBGrid;
class DBLookupComboBox;
class RadioGroup;
class QDateEdit;
class QGroupBox;
class QToolButton;
class SmpDataset;

// The tabs of the payments window, one class each.

// "Продажби": a client's (or every client's) rows and payments, and the entry of client payments.
class TabRazplKlienti : public QWidget
{
    Q_OBJECT
public:
    TabRazplKlienti(TDMRazpl& dm, TQRRazplProdagbi& statement);
    TFormRazplKlient* FormRazplKlient = nullptr;

    RadioGroup* RdGrpKontragentDaNeKlienti = nullptr;
    QGroupBox* GrpBoxIzbKontrKlienti = nullptr;
    DBLookupComboBox* DBLkpCmBoxTipKontrProd = nullptr;
    RadioGroup* RdGrpTipKontr = nullptr;
    DBLookupComboBox* DBLkpCmBoxKontrKlienti = nullptr;
    RadioGroup* RdGrpPeriodDaNeKlienti = nullptr;
    QGroupBox* GrpBoxIzbPeriodKlienti = nullptr;
    QDateEdit* DateOtKlienti = nullptr;
    QDateEdit* DateDoKlienti = nullptr;
    DBGrid* DBGrid1 = nullptr;
    QToolButton* SpdBtnPlastKlientNovo = nullptr;
    QToolButton* SpdBtnDelProdPlast = nullptr;
    QToolButton* SpdBtnPlastKlientKorekc = nullptr;
    QToolButton* SpdBtnRazplProd = nullptr;

    // The chosen client number, -1 until one is chosen.
    int chosenClient() const { return client_; }
    void FormShow(const QDate& today);
    void ReloadClientPayments();

    void RdGrpKontragentDaNeKlientiClick();
    void RdGrpTipKontrClick();
    void DBLkpCmBoxTipKontrProdCloseUp();
    void DBLkpCmBoxKontrKlientiCloseUp();
    void RdGrpPeriodDaNeKlientiClick();
    void SpdBtnPlastKlientNovoClick();
    void SpdBtnPlastKlientKorekcClick();
    void SpdBtnDelProdPlastClick();
    void SpdBtnRazplProdClick();
    void SpdBtnPlastKlientExcelClick();

private:
    bool clientShown() const;
    void setColumnsShown(bool shown);
    TDMRazpl& dm_;
    TQRRazplProdagbi& statement_;
    int client_ = -1;  // the chosen client; -1 until one is chosen (0 is a counterparty too)
};

// "Доставки": a supplier's (or every supplier's) rows, claims and payments, and supplier payments.
class TabRazplDost : public QWidget
{
    Q_OBJECT
public:
    TabRazplDost(TDMRazpl& dm, TQRRazplDostavki& statement);
    TFormRazplDost* FormRazplDost = nullptr;

    RadioGroup* RdGrpKontragentDaNeDostav = nullptr;
    QGroupBox* GrpBoxIzbKontrDostav = nullptr;
    DBLookupComboBox* DBLkpCmBoxTipKontrDost = nullptr;
    DBLookupComboBox* DBLkpCmBoxKontrDostav = nullptr;
    RadioGroup* RdGrpPeriodDaNeDostav = nullptr;
    QGroupBox* GrpBoxIzbPeriodDostav = nullptr;
    QDateEdit* DateOtDostav = nullptr;
    QDateEdit* DateDoDostav = nullptr;
    DBGrid* DBGrid2 = nullptr;
    QToolButton* SpdBtnPastDostNovo = nullptr;
    QToolButton* SpdBtnPastDostKorekc = nullptr;
    QToolButton* SpdBtnDelDostPlast = nullptr;
    QToolButton* SpdBtnRazplDost = nullptr;

    int chosenSupplier() const { return supplier_; }
    void FormShow(const QDate& today);
    void ReloadSupplierPayments();

    void RdGrpKontragentDaNeDostavClick();
    void DBLkpCmBoxTipKontrDostCloseUp();
    void DBLkpCmBoxKontrDostavCloseUp();
    void RdGrpPeriodDaNeDostavClick();
    void SpdBtnPastDostNovoClick();
    void SpdBtnPastDostKorekcClick();
    void SpdBtnDelDostPlastClick();
    void SpdBtnRazplDostClick();
    void SpdBtnPlastDostExcelClick();

private:
    bool supplierShown() const;
    TDMRazpl& dm_;
    TQRRazplDostavki& statement_;
    int supplier_ = -1;
};

// "Продажби - обобщени": the clients' balances, debtors only on request, and their printout.
class TabRazplKlientiObsto : public QWidget
{
    Q_OBJECT
public:
    TabRazplKlientiObsto(TDMRazpl& dm, TQRSaldaKlienti& balances);
    DBGrid* DBGrid3 = nullptr;
    RadioGroup* RdGrpFiltyrKlienti = nullptr;
    QToolButton* BitBtnSaldaKlienti = nullptr;
    void RdGrpFiltyrKlientiClick();
    void BitBtnSaldaKlientiClick();
    void SpdBtnExcelProdObstiClick();

private:
    TDMRazpl& dm_;
    TQRSaldaKlienti& balances_;
};

// "Доставки - обобщени": the suppliers' balances.
class TabRazplDostObsto : public QWidget
{
    Q_OBJECT
public:
    explicit TabRazplDostObsto(TDMRazpl& dm);
    DBGrid* DBGrid4 = nullptr;
    RadioGroup* RdGrpFiltyrDost = nullptr;
    void RdGrpFiltyrDostClick();
    void SpdBtnExcelDostObstiClick();

private:
    TDMRazpl& dm_;
};

// "Доставки чрез закупчици": deliveries and payments by purchaser.
class TabRazplZak : public QWidget
{
    Q_OBJECT
public:
    explicit TabRazplZak(TDMRazpl& dm);
    DBGrid* DBGrid5 = nullptr;
    RadioGroup* RdGrpDaNeDostZak = nullptr;
    QGroupBox* GrpBoxIzbDostZak = nullptr;
    DBLookupComboBox* DBLkpCmBoxDosZak = nullptr;
    RadioGroup* RdGrpPeriodDaNeDostZak = nullptr;
    QGroupBox* GrpBoxIzbPeriodDostZak = nullptr;
    QDateEdit* DateOtDostZak = nullptr;
    QDateEdit* DateDoDostZak = nullptr;

    void FormShow(const QDate& today);
    void ReloadPurchaserPayments();
    void RdGrpDaNeDostZakClick();
    void DBLkpCmBoxDosZakCloseUp();
    void RdGrpPeriodDaNeDostZakClick();
    void SpeedButton1Click();

private:
    TDMRazpl& dm_;
    int purchaser_ = -1;
};

// "Разплащания - обобщени": balances by counterparty type, clients above suppliers.
class TabRazplTipove : public QWidget
{
    Q_OBJECT
public:
    explicit TabRazplTipove(TDMRazpl& dm);
    DBGrid* DBGrid6 = nullptr;
    DBGrid* DBGrid7 = nullptr;
};

// "Разплащания с контрагени": both directions per counterparty.
class TabRazplKontr : public QWidget
{
    Q_OBJECT
public:
    explicit TabRazplKontr(TDMRazpl& dm);
    DBGrid* DBGrid8 = nullptr;
};
