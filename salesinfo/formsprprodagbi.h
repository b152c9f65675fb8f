#pragma once

#include "platform/ui/form.h"

#include <QList>

#include <functional>
#include <memory>
#include <optional>

class DBGrid;
class DBLookupComboBox;
class DBText;
class QDateEdit;
class QLabel;
class QLineEdit;
class QToolButton;
class RadioGroup;
class TDMNS;
class TDMNsSpravki;
class TQRFaktura;
class TQRProdagbi;
class TQRProdagbiStol;
class TQRProdagbiArtik;
class SmpDataset;

// "Справка за продажби с цени на вложени материали !": the sale lines of a period by client, branch
// and material with their material costs, the period reports, and a summary invoice over earlier
// lines of one client that have no invoice yet. The invoice has a line list of its own; it numbers
// exactly the rows marked for it, all at once or none.
class TFormSprProdagbi : public Form
{
    Q_OBJECT
public:
    // invoiceLines: the summary invoice's own line list. specialId: the company identification
    // number that prints the sales report without clients (empty: none).
    TFormSprProdagbi(TDMNS& dm, TDMNsSpravki& spravki, SmpDataset& invoiceLines, const QString& specialId);
    ~TFormSprProdagbi() override;

    RadioGroup* RdGrpIzbKontragent = nullptr;
    DBLookupComboBox* DBLkpCmBoxTipKontragert = nullptr;
    DBLookupComboBox* DBLkpCmBoxKontr = nullptr;
    RadioGroup* RdGrpIzbFilial = nullptr;
    DBLookupComboBox* DBLkpCmBoxKontrFilial = nullptr;
    QDateEdit* DateOt = nullptr;
    QDateEdit* DateDo = nullptr;
    RadioGroup* RdGrpIzbMaterial = nullptr;
    DBLookupComboBox* DBLkpCmBoxMaterial = nullptr;
    RadioGroup* RdGrpDDS = nullptr;
    QToolButton* BitBtnProdagbi = nullptr;
    QToolButton* BitBtnProdArtik = nullptr;
    DBGrid* DBGridDanniOtProdagbi = nullptr;
    QLabel* LbKolichestvo = nullptr;
    DBText* SumBroiMatIzd = nullptr;
    RadioGroup* RdGrpKons = nullptr;
    QLineEdit* EdNFaktNew = nullptr;
    QDateEdit* DateFaktNew = nullptr;
    DBGrid* DBGridDanniZaFaktura = nullptr;

    TQRProdagbi& qrProdagbi() { return *qrProdagbi_; }
    TQRProdagbiStol& qrProdagbiStol() { return *qrProdagbiStol_; }
    TQRProdagbiArtik& qrProdagbiArtik() { return *qrProdagbiArtik_; }
    TQRFaktura& qrFaktura() { return *qrFaktura_; }

    // The company's VAT number is the special one: the report buttons carry its captions.
    void setSpecialCaptions(bool special);
    // Called after a summary invoice was written (the sales information list is read again).
    void setAfterInvoice(std::function<void()> afterInvoice) { afterInvoice_ = std::move(afterInvoice); }

    void FormShow();
    void ReloadSalesInquiry();
    void DBLkpCmBoxTipKontragertCloseUp();
    void DBLkpCmBoxKontrCloseUp();
    void DBLkpCmBoxKontrFilialCloseUp();
    void DBLkpCmBoxMaterialCloseUp();
    void DateCloseUp();
    void SpeedBtnZapMaterialClick();
    void SpBtnPrintFaktObobstenaClick();
    void SpdBtnZapisDocClick();
    void BitBtnProdagbiClick();
    void BitBtnProdArtikClick();

    // The inquiry rows (NUM_ZAPIS) in the invoice being assembled, in the order marked.
    const QList<int>& markedRows() const { return marked_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildChoices(QLayout* into);
    void buildInvoiceArea(QLayout* into);
    void RdGrpIzbKontragentClick();
    void RdGrpIzbFilialClick();
    void RdGrpIzbMaterialClick();
    void RdGrpDDSClick();
    void RdGrpKonsClick();
    void applyBranchBox();
    void emptyInvoice();
    bool textNumbers() const;
    double companyVat() const;
    QColor rowColour(int position) const;

    TDMNS& dm_;
    TDMNsSpravki& spravki_;
    SmpDataset& lines_;
    QString specialId_;
    int client_ = 0, branch_ = 0, material_ = 0;  // the choices made, 0 until made
    QList<int> marked_;
    std::optional<double> invoiceVat_;  // the VAT rate of the marked rows
    std::function<void()> afterInvoice_;
    std::unique_ptr<TQRProdagbi> qrProdagbi_;
    std::unique_ptr<TQRProdagbiStol> qrProdagbiStol_;
    std::unique_ptr<TQRProdagbiArtik> qrProdagbiArtik_;
    std::unique_ptr<TQRFaktura> qrFaktura_;
};
