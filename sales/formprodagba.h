#pragma once

#include "platform/ui/form.h"
#include "sales/salerecording.h"
#include "sales/saleclient.h"
#include "sales/saletotals.h"

#include <functional>
#include <memory>
#include <optional>

class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTimeEdit;
class QToolButton;
class DataSource;
class DBGrid;
class DBLookupComboBox;
class DBNavigator;
class DBText;
class RadioGroup;
class TDMNS;
class TDMProdagba;
class TFormProdagbaMateriali;
class TFormOKBottomDlg;
class SalePrint;

// Composing one outgoing sales document and recording it: recipient, document type and numbers,
// header data, the lines chosen in the item selection window and their totals. Each showing starts
// a new, empty sale. Modeless; recording closes it, a refused or failed recording keeps it open
// with its lines.
class TFormProdagba : public Form
{
    Q_OBJECT
public:
    TFormProdagba(TDMNS& dm, TDMProdagba& sale, TFormProdagbaMateriali& items, TFormOKBottomDlg& printDialog,
                  QWidget* parent = nullptr);
    ~TFormProdagba() override;

    // Recipient.
    DBLookupComboBox *DBLkpCmBoxTipKontr = nullptr, *DBLkpCmBoxImeKontr = nullptr, *DBLkpCmBoxMOLKontr = nullptr,
                     *DBLkpCmBoxFilial = nullptr;
    QLineEdit *EdFzLiceIme = nullptr, *EdFzLiceAdres = nullptr, *EdFzLiceEGN = nullptr;
    QToolButton* SpdBtnNomenkl = nullptr;
    // Supplier (the company).
    DBText* DBText7 = nullptr;
    DBLookupComboBox *DBLookupComboBox2 = nullptr, *DBLookupComboBox1 = nullptr, *DBLookupComboBox5 = nullptr;
    DBText* DBText5 = nullptr;
    QLineEdit* Edit_DDS = nullptr;
    RadioGroup* RdGrpSklObDaNe = nullptr;
    QLabel* LbNfaktKred = nullptr;
    QLineEdit* EditNfaktKred = nullptr;
    // Document strip.
    DBLookupComboBox* DBLkpCmBIzborTipDok = nullptr;
    QLabel *LbNfakt = nullptr, *LbNstRAzp = nullptr, *LbNkons = nullptr, *LbNEkspBel = nullptr, *LbNporychka = nullptr;
    QLineEdit *EditNFakt = nullptr, *EdNstRazp = nullptr, *EdNkons = nullptr, *EdNporychka = nullptr,
              *EdEkspBelN = nullptr, *EdEkspBelTara = nullptr, *EdEkspBelBruto = nullptr, *EdEkspBelNeto = nullptr;
    QDateEdit* DateFaktProdagba = nullptr;
    QTimeEdit* EdChas = nullptr;
    // Lines and totals.
    DBGrid* DBGrid1 = nullptr;
    DBNavigator* DBNavigator3 = nullptr;
    QGroupBox *GrpBoxDanFakt = nullptr, *GrpBoxOprFaktStRazp = nullptr;
    DBText* DBTextSlovom = nullptr;
    QGroupBox* GrpBoxStariZad = nullptr;  // "Стари задължения:"
    QLabel *LbDylgLv = nullptr, *LbDylgUSD = nullptr, *LbDylgEUR = nullptr;
    // Bottom strip.
    QLineEdit* EditBelegki = nullptr;
    QDateEdit *DateFaktPoluchena = nullptr, *DateVyznSyb = nullptr;
    QLineEdit *EdClient_ime = nullptr, *EdClient_EGN = nullptr, *EdClient_LK = nullptr, *EdNumTransport = nullptr;
    DBLookupComboBox *DBLookupComboBox3 = nullptr, *DBLookupComboBox4 = nullptr;
    RadioGroup* RdGrpVidPlastane = nullptr;
    QLineEdit *EdRazsrSumaLv = nullptr, *EdRazsrSumaUSD = nullptr, *EdRazsrSumaEUR = nullptr;
    QToolButton *SpdBtnIzbIzdProdagba = nullptr, *SpBtnPrintDocument = nullptr, *SpeedButton3 = nullptr,
                *SpdBtnZapisDoc = nullptr, *SpdBtnExit = nullptr;

    // The document type chosen for this sale (window state; the company's default is preselected).
    int documentType() const { return documentType_; }

    // The reference data window, opened on the recipient by "Номенклатури" (modal).
    void setReferenceWindow(std::function<void(int recipient)> open) { openReference_ = std::move(open); }

    void FormShow();
    void ApplyDocumentTypeMode(int type);
    void DBLkpCmBoxTipKontrCloseUp();
    void DBLkpCmBoxImeKontrCloseUp();
    void DBLkpCmBIzborTipDokCloseUp();
    void SpdBtnNomenklClick();
    void DBLookupComboBox5CloseUp();
    void RdGrpSklObDaNeClick();
    void RdGrpVidPlastaneClick();
    // Leaving "Заложено ДДС": the totals follow the rate; a text that is no number shows none.
    void Edit_DDSExit();
    void EdEkspBelWeightExit();
    void SpdBtnIzbIzdProdagbaClick();
    void SpdBtnZapisDocClick();
    // "Изглед": the document as it would print. "Печат": the counts asked, the sale recorded, then printed.
    void SpBtnPrintDocumentClick();
    void SpeedButton3Click();
    void SpdBtnExitClick();
    // The company settings were saved: a VAT box still showing the old company rate takes the new
    // one, and the pending lines are computed again with it.
    void companySettingsSaved();

    // The header as the recording takes it; the messages of boxes whose text is not a number.
    Sales::SaleHeader header(QStringList* badNumbers = nullptr) const;
    // The inputs the totals are computed with at this moment.
    SaleTotals::DocumentInput totalsInput() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool naturalPerson() const;
    bool recipientShown() const;
    void emptyLines();
    // The "От склад" column: shown while the goods leave through warehouse objects.
    void showSourceColumn();
    void refreshTotals();
    // An open cell editor of the line grid writes its text, and the line is posted.
    void commitLineEdit();
    // The rate of "Заложено ДДС": 0 for an empty box, none for a text that is no number.
    std::optional<double> vatRate() const;
    QString badVatMessage() const;
    // Reads the recipient's outstanding balance and shows it while the recipient box shows a name.
    void showOldDebts();
    // The materials the user chose to order, of the lines sold beyond the client's orders.
    QVector<int> CheckClientOrders(const Sales::SaleHeader& header, const QVector<Sales::SaleLine>& lines);
    // Records the sale, after the client order check when asked, then runs afterRecording while the
    // lines are still shown; false when it was refused or failed (the window keeps it, and
    // afterRecording is not run).
    bool RecordSale(bool checkOrders, const std::function<void()>& afterRecording = {});

    TDMNS& dm_;
    TDMProdagba& sale_;
    TFormProdagbaMateriali& items_;
    TFormOKBottomDlg& printDialog_;
    std::unique_ptr<SalePrint> print_;
    DataSource* lines_ = nullptr;
    int documentType_ = 0;
    QString companyVat_;  // the company rate the VAT box was filled with
    Sales::Balance oldDebts_;  // the recipient's balance before this sale
    std::function<void(int)> openReference_;
};
