#include "warehouse/formsprskladmaterialikymdata.h"

#include "data/dmns.h"
#include "data/dmsklspravki.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/report/reportpreview.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "warehouse/deliveries.h"
#include "warehouse/qrnalichkymdata.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

TFormSprSkladMaterialiKymData::TFormSprSkladMaterialiKymData(TDMNS& dm, TDMSklSpravki& spravki,
                                                             const QString& specialVat, QWidget* parent)
    : TFormStockInquiry(dm, spravki.SmpSprMatKymData, &spravki.SmpSprSklDvigMAT,
                        QStringLiteral("FormSprSkladMaterialiKymData"),
                        QStringLiteral("Склад материали - наличности към избрана дата !"), QStringLiteral(" > Excel"),
                        parent),
      spravki_(spravki), specialVat_(specialVat), qr_(std::make_unique<TQRNalichKymDataSrCena>(dm, spravki)),
      qrQuantities_(std::make_unique<TQRNalichKymData>(dm, spravki))
{
    auto* dateBox = new QGroupBox(QStringLiteral("Към дата на фактура"));
    auto* dateRow = new QHBoxLayout(dateBox);
    dateRow->addWidget(DateFakturaKym = dateEdit("DateFakturaKym", Clock::today()));
    filters()->addWidget(dateBox);

    BitBtnNalichKymData = Handlers::makeButton("BitBtnNalichKymData", QStringLiteral("Наличности"));
    BitBtnNalichKymData->setToolTip(QStringLiteral("Печат на наличности към дата"));
    auto* printMenu = new QMenu(BitBtnNalichKymData);
    ActNalichSrCena = printMenu->addAction(QStringLiteral("Със средни цени"));
    ActNalichSrCena->setObjectName(QStringLiteral("ActNalichSrCena"));
    ActNalichKolichestva = printMenu->addAction(QStringLiteral("Само количества"));
    ActNalichKolichestva->setObjectName(QStringLiteral("ActNalichKolichestva"));
    Handlers::connect(ActNalichSrCena, &QAction::triggered, this, &TFormSprSkladMaterialiKymData::ActNalichSrCenaClick);
    Handlers::connect(ActNalichKolichestva, &QAction::triggered, this,
                      &TFormSprSkladMaterialiKymData::ActNalichKolichestvaClick);
    BitBtnNalichKymData->setMenu(printMenu);
    BitBtnNalichKymData->setPopupMode(QToolButton::InstantPopup);
    BitBtnNalichKymData->setMinimumWidth(110);
    buttons()->insertWidget(0, BitBtnNalichKymData);

    DBText1 = DbControls::makeShownNumber("DBText1", listSource(), "SumLVSrCena", 110);
    DBText2 = DbControls::makeShownNumber("DBText2", listSource(), "SumUSDSrCena", 110);
    DBText3 = DbControls::makeShownNumber("DBText3", listSource(), "SumEURSrCena", 110);
    auto* totals = new QHBoxLayout;
    totals->addStretch(1);
    totals->addWidget(new QLabel(QStringLiteral("Общо ЛВ.:")));
    totals->addWidget(DBText1);
    totals->addWidget(new QLabel(QStringLiteral("Общо USD:")));
    totals->addWidget(DBText2);
    totals->addWidget(new QLabel(QStringLiteral("Общо EUR:")));
    totals->addWidget(DBText3);
    footer()->addLayout(totals);
    // A currency none of the rows is valued in totals 0.00, as the movement inquiry's footer shows
    // it; only an empty list shows no totals. (The sum over no values is empty.)
    connect(listSource(), &DataSource::dataChange, this, [this] {
        if (!list_.isActive() || list_.isEmpty()) return;
        for (DBText* t : {DBText1, DBText2, DBText3})
            if (t->text().isEmpty() && t->field()) t->setText(Formats::formatNumber(0, t->field()->displayFormat));
    });
}

TFormSprSkladMaterialiKymData::~TFormSprSkladMaterialiKymData() = default;

bool TFormSprSkladMaterialiKymData::special() const
{
    return Deliveries::calculationPriceExempt(dm_.SQLConnectNS, specialVat_);
}

void TFormSprSkladMaterialiKymData::showEvent(QShowEvent* event)
{
    // Only a showing the list is reloaded for moves the picker to today (not a restore from
    // minimised), so the picker always names the day the list holds.
    if (!event->spontaneous()) {
        const QSignalBlocker quiet(DateFakturaKym);
        DateFakturaKym->setDate(Clock::today());
    }
    // The special installation shows selling values with VAT, the others values at the average price.
    const bool withVat = special();
    DBText1->setDataField(QString::fromLatin1(withVat ? "SumLVagg" : "SumLVSrCena"));
    DBText2->setDataField(QString::fromLatin1(withVat ? "SumUSDagg" : "SumUSDSrCena"));
    DBText3->setDataField(QString::fromLatin1(withVat ? "SumEURagg" : "SumEURSrCena"));
    TFormStockInquiry::showEvent(event);
}

void TFormSprSkladMaterialiKymData::setInputs(SmpDataset& list)
{
    list.setParam(QStringLiteral("DATEFAKTURA_KYM"), QDateTime(DateFakturaKym->date(), QTime(0, 0)));
}

void TFormSprSkladMaterialiKymData::ActNalichSrCenaClick() { print(*qr_); }

void TFormSprSkladMaterialiKymData::ActNalichKolichestvaClick() { print(*qrQuantities_); }

void TFormSprSkladMaterialiKymData::print(TQRNalichKymData& layout)
{
    SmpField* onHand = list_.findField(QStringLiteral("NALICHNOST"));
    const QString format = onHand->displayFormat;
    if (special()) onHand->displayFormat = QStringLiteral("# ### ###");
    layout.setDate(DateFakturaKym->date().toString(QStringLiteral("dd.MM.yyyy")));
    const auto restore = qScopeGuard([onHand, format] { onHand->displayFormat = format; });
    Report::preview(layout);
}
