#pragma once

#include "warehouse/stockinquiryform.h"

#include <memory>

class DBText;
class TDMSklSpravki;
class QAction;
class TQRNalichKymData;
class TQRNalichKymDataSrCena;

// The stock per material as it stood at a chosen supplier-document date, valued at the average
// delivery price, and its printed stock list.
class TFormSprSkladMaterialiKymData : public TFormStockInquiry
{
    Q_OBJECT
public:
    // specialVat: the company VAT number that shows selling values with VAT and whole quantities.
    TFormSprSkladMaterialiKymData(TDMNS& dm, TDMSklSpravki& spravki, const QString& specialVat,
                                  QWidget* parent = nullptr);
    ~TFormSprSkladMaterialiKymData() override;

    QDateEdit* DateFakturaKym = nullptr;
    DBText *DBText1 = nullptr, *DBText2 = nullptr, *DBText3 = nullptr;
    // "Наличности" offers the list with average prices or with quantities only.
    QToolButton* BitBtnNalichKymData = nullptr;
    QAction *ActNalichSrCena = nullptr, *ActNalichKolichestva = nullptr;

    void ActNalichSrCenaClick();
    void ActNalichKolichestvaClick();
    TQRNalichKymDataSrCena& layout() { return *qr_; }
    TQRNalichKymData& quantitiesLayout() { return *qrQuantities_; }

protected:
    void showEvent(QShowEvent* event) override;
    void setInputs(SmpDataset& list) override;

private:
    bool special() const;
    void print(TQRNalichKymData& layout);

    TDMSklSpravki& spravki_;
    QString specialVat_;
    std::unique_ptr<TQRNalichKymDataSrCena> qr_;
    std::unique_ptr<TQRNalichKymData> qrQuantities_;
};
