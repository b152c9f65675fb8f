#include "warehouse/formsprskladdvigenie.h"

#include "data/dmns.h"
#include "data/dmsklad.h"
#include "data/dmsklspravki.h"
#include "platform/base/clock.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "warehouse/formupddostcena.h"
#include "warehouse/stockinquiries.h"
#include "warehouse/stocklines.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

using StockInquiries::DateBasis;

TFormSprSkladDvigenie::TFormSprSkladDvigenie(TDMNS& dm, TDMSklad& sklad, TDMSklSpravki& spravki, QWidget* parent)
    : TFormStockInquiry(dm, spravki.SmpSprSklDvig, &spravki.SmpSprSklDvigMAT, QStringLiteral("FormSprSkladDvigenie"),
                        QStringLiteral("Справка за движението на материалите "), QStringLiteral(" > Excel"), parent),
      sklad_(sklad)
{
    const QDate today = Clock::today();
    RdGrpIzbDate = new RadioGroup(QStringLiteral("RdGrpIzbDate"), QStringLiteral("По дата на "),
                                  {QStringLiteral("Получаване"), QStringLiteral("Фактура"), QStringLiteral("Всички")});
    RdGrpIzbDate->setItemIndex(0);
    const auto period = [this](const char* name, const QString& caption, QDateEdit*& from, QDateEdit*& to,
                               const QDate& start, const QDate& end) {
        auto* box = new QGroupBox(caption);
        box->setObjectName(QString::fromLatin1(name));
        auto* row = new QHBoxLayout(box);
        row->addWidget(new QLabel(QStringLiteral("от")));
        row->addWidget(from = dateEdit(name[6] == 'P' ? "DatePoluchOt" : "DateFaktOt", start));
        row->addWidget(new QLabel(QStringLiteral("до")));
        row->addWidget(to = dateEdit(name[6] == 'P' ? "DatePoluchDo" : "DateFaktDo", end));
        return box;
    };
    GrpBoxPoluch = period("GrpBoxPoluch", QStringLiteral("Получаване "), DatePoluchOt, DatePoluchDo, today.addDays(-30), today);
    GrpBoxFakt = period("GrpBoxFakt", QStringLiteral("Фактура "), DateFaktOt, DateFaktDo, today.addDays(-30), today);
    GrpBoxFakt->setVisible(false);

    auto* tipKontr = new DataSource(&sklad.SmpTipKontrSklPunkt, this);
    tipKontr->setObjectName(QStringLiteral("DtSrcTipKontrSklPunkt"));
    auto* kontr = new DataSource(&sklad.SmpKontrSklPunkt, this);
    kontr->setObjectName(QStringLiteral("DtSrcKontrSklPunkt"));
    RdGrpKontrDaNeDostav = new RadioGroup(QStringLiteral("RdGrpKontrDaNeDostav"), QStringLiteral("Доставчици "),
                                          {QStringLiteral("Всички"), QStringLiteral("Избор")});
    RdGrpKontrDaNeDostav->setItemIndex(0);
    GrpBoxIzbKontr = new QGroupBox(QStringLiteral("Избор на контрагент  "));
    GrpBoxIzbKontr->setObjectName(QStringLiteral("GrpBoxIzbKontr"));
    DBLkpCmBoxTipKontr = DbControls::makeListLookup("DBLkpCmBoxTipKontr", tipKontr, "NTIP_KONTRAGENT", "KONTRAGENT", 150);
    DBLkpCmBoxKontr = DbControls::makeListLookup("DBLkpCmBoxKontr", kontr, "NKONTRAGENT", "IMEKONTRAGENT", 200);
    auto* kontrRow = new QHBoxLayout(GrpBoxIzbKontr);
    kontrRow->addWidget(new QLabel(QStringLiteral("Тип -")));
    kontrRow->addWidget(DBLkpCmBoxTipKontr);
    kontrRow->addWidget(new QLabel(QStringLiteral("Име -")));
    kontrRow->addWidget(DBLkpCmBoxKontr, 1);
    GrpBoxIzbKontr->setVisible(false);

    auto* second = new QHBoxLayout;
    second->addWidget(RdGrpIzbDate);
    second->addWidget(GrpBoxPoluch);
    second->addWidget(GrpBoxFakt);
    second->addWidget(RdGrpKontrDaNeDostav);
    second->addWidget(GrpBoxIzbKontr, 1);
    second->addStretch(0);
    static_cast<QVBoxLayout*>(layout())->insertLayout(1, second);

    BitBtnVlojeno = Handlers::makeButton("BitBtnVlojeno", QStringLiteral("Вложено в ..."), this,
                                         &TFormSprSkladDvigenie::BitBtnVlojenoClick);
    BitBtnUpdDostLV = Handlers::makeButton("BitBtnUpdDostLV", QStringLiteral("Корекция цени"), this,
                                           &TFormSprSkladDvigenie::BitBtnUpdDostLVClick);
    for (QToolButton* b : {BitBtnUpdDostLV, BitBtnVlojeno}) {
        b->setMinimumWidth(110);
        buttons()->insertWidget(0, b);
    }

    LbNalichnost = new QLabel(QStringLiteral("Налични количества :"));
    DBTextNalichnost = DbControls::makeShownNumber("DBTextNalichnost", listSource(), "SumNalichnost", 110);
    DBText1 = DbControls::makeShownNumber("DBText1", listSource(), "SumObCenaLv", 110);
    DBText2 = DbControls::makeShownNumber("DBText2", listSource(), "SumObCenaUSD", 110);
    DBText3 = DbControls::makeShownNumber("DBText3", listSource(), "SumObCenaEUR", 110);
    auto* totals = new QHBoxLayout;
    totals->addWidget(LbNalichnost);
    totals->addWidget(DBTextNalichnost);
    totals->addStretch(1);
    totals->addWidget(new QLabel(QStringLiteral("Обща сума - ЛВ:")));
    totals->addWidget(DBText1);
    totals->addWidget(new QLabel(QStringLiteral("Обща сума - USD:")));
    totals->addWidget(DBText2);
    totals->addWidget(new QLabel(QStringLiteral("Обща сума - EUR:")));
    totals->addWidget(DBText3);
    footer()->addLayout(totals);
    showMaterialTotal();

    Handlers::connect(RdGrpIzbDate, &RadioGroup::clicked, this, &TFormSprSkladDvigenie::RdGrpIzbDateClick);
    Handlers::connect(RdGrpIzbMaterial, &RadioGroup::clicked, this, &TFormSprSkladDvigenie::showMaterialTotal);
    Handlers::connect(RdGrpKontrDaNeDostav, &RadioGroup::clicked, this, &TFormSprSkladDvigenie::RdGrpKontrDaNeDostavClick);
    Handlers::connect(DBLkpCmBoxTipKontr, &DBLookupComboBox::closeUp, this, &TFormSprSkladDvigenie::DBLkpCmBoxTipKontrCloseUp);
    Handlers::connect(DBLkpCmBoxKontr, &DBLookupComboBox::closeUp, this, &TFormSprSkladDvigenie::DBLkpCmBoxKontrCloseUp);
    Handlers::connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TFormSprSkladDvigenie::BitBtnUpdDostLVClick);
    setPriceEditor(nullptr);
    setUsageWindow(nullptr);
}

void TFormSprSkladDvigenie::setUsageWindow(std::function<void(int material, const QString& name)> open)
{
    usageWindow_ = std::move(open);
    BitBtnVlojeno->setEnabled(bool(usageWindow_));
}

void TFormSprSkladDvigenie::BitBtnVlojenoClick()
{
    if (!usageWindow_ || !list_.isActive() || list_.isEmpty()) return;
    // Only a line something was drawn from for production went into products.
    if (list_.fieldByName(QStringLiteral("RAZHOD"))->asFloat() <= 0) return;
    // By the row's own material: names need not be unique.
    usageWindow_(list_.fieldByName(QStringLiteral("NMATERIAL"))->asInt(),
                 list_.value(QStringLiteral("IMEMATERIAL")).toString());
}

void TFormSprSkladDvigenie::setPriceEditor(TFormUpdDostCena* editor)
{
    priceEditor_ = editor;
    BitBtnUpdDostLV->setEnabled(editor != nullptr);
}

void TFormSprSkladDvigenie::setInputs(SmpDataset& list)
{
    const auto basis = DateBasis(RdGrpIzbDate->itemIndex());
    const StockInquiries::DateBounds b = StockInquiries::dateBounds(
        basis, {DatePoluchOt->date(), DatePoluchDo->date()}, {DateFaktOt->date(), DateFaktDo->date()});
    list.setParam(QStringLiteral("POLUCHENOOT"), b.receivedFrom);
    list.setParam(QStringLiteral("POLUCHENODO"), b.receivedTo);
    list.setParam(QStringLiteral("DATEFAKTURAOT"), b.documentFrom);
    list.setParam(QStringLiteral("DATEFAKTURADO"), b.documentTo);
}

void TFormSprSkladDvigenie::RdGrpIzbDateClick()
{
    GrpBoxPoluch->setVisible(RdGrpIzbDate->itemIndex() == 0);
    GrpBoxFakt->setVisible(RdGrpIzbDate->itemIndex() == 1);
    Reload();
}

void TFormSprSkladDvigenie::showMaterialTotal()
{
    LbNalichnost->setVisible(!allMaterials());
    DBTextNalichnost->setVisible(!allMaterials());
}

void TFormSprSkladDvigenie::RdGrpKontrDaNeDostavClick()
{
    for (SmpDataset* ds : {&sklad_.SmpTipKontrSklPunkt, &sklad_.SmpKontrSklPunkt})
        if (!ds->isActive()) ds->open();
    const bool chosen = RdGrpKontrDaNeDostav->itemIndex() == 1;
    GrpBoxIzbKontr->setVisible(chosen);
    list_.setFiltered(chosen);
}

void TFormSprSkladDvigenie::applySupplierFilter() { list_.setFilter(supplierFilter(DBLkpCmBoxKontr)); }

void TFormSprSkladDvigenie::DBLkpCmBoxTipKontrCloseUp()
{
    sklad_.SmpKontrSklPunkt.close();
    sklad_.SmpKontrSklPunkt.open();
    applySupplierFilter();
}

void TFormSprSkladDvigenie::DBLkpCmBoxKontrCloseUp() { applySupplierFilter(); }

void TFormSprSkladDvigenie::BitBtnUpdDostLVClick()
{
    if (!priceEditor_) return;
    if (!list_.isActive() || list_.isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Липсват данни за КОРЕКЦИЯ !"));
        return;
    }
    // The line read afresh by its key; gone since the list was read, the list is re-read.
    const auto line = StockLines::read(dm_.SQLConnectNS, list_.fieldByName(QStringLiteral("AUTONUM"))->asInt());
    if (!line) {
        list_.refresh();
        return;
    }
    if (priceEditor_->open(*line)) list_.refresh();
}
