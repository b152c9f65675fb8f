#include "warehouse/formskladpunkt.h"

#include "data/dmns.h"
#include "data/dmsklad.h"
#include "data/dmsklspravki.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "warehouse/formambalag.h"
#include "warehouse/formdostavkakorekcia.h"
#include "warehouse/formnovadostavka.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TFormSkladPunkt::TFormSkladPunkt(TDMNS& dm, TDMSklad& sklad, TDMSklSpravki& spravki, QWidget* parent)
    : TFormStockInquiry(dm, spravki.SmpSklPunkt, &dm.SmpSkladMat, QStringLiteral("FormSkladPunkt"),
                        QStringLiteral("Склад - пунктове !"), QStringLiteral("> Excel"), parent),
      sklad_(sklad)
{
    SpeedBtnExcel->setObjectName(QStringLiteral("SpdBtnExcel"));

    auto* tipKontr = new DataSource(&sklad.SmpTipKontrSklPunkt, this);
    tipKontr->setObjectName(QStringLiteral("DtSrcTipKontrSklPunkt"));
    auto* kontr = new DataSource(&sklad.SmpKontrSklPunkt, this);
    kontr->setObjectName(QStringLiteral("DtSrcKontrSklPunkt"));
    RdGrpKontrDaNeDostav = new RadioGroup(QStringLiteral("RdGrpKontrDaNeDostav"), QStringLiteral("Доставчици "),
                                          {QStringLiteral("Всички"), QStringLiteral("Избор")});
    RdGrpKontrDaNeDostav->setItemIndex(0);
    GrpBoxIzbKontrDostav = new QGroupBox(QStringLiteral("Избор "));
    GrpBoxIzbKontrDostav->setObjectName(QStringLiteral("GrpBoxIzbKontrDostav"));
    DBLkpCmBoxTipKontrDost = DbControls::makeListLookup("DBLkpCmBoxTipKontrDost", tipKontr, "NTIP_KONTRAGENT", "KONTRAGENT", 160);
    DBLkpCmBoxKontrDostav = DbControls::makeListLookup("DBLkpCmBoxKontrDostav", kontr, "NKONTRAGENT", "IMEKONTRAGENT", 220);
    auto* kontrRow = new QHBoxLayout(GrpBoxIzbKontrDostav);
    kontrRow->addWidget(new QLabel(QStringLiteral("Тип контрагент -")));
    kontrRow->addWidget(DBLkpCmBoxTipKontrDost);
    kontrRow->addWidget(DBLkpCmBoxKontrDostav, 1);
    GrpBoxIzbKontrDostav->setVisible(false);
    auto* second = new QHBoxLayout;
    second->addWidget(RdGrpKontrDaNeDostav);
    second->addWidget(GrpBoxIzbKontrDostav, 1);
    second->addStretch(0);
    static_cast<QVBoxLayout*>(layout())->insertLayout(1, second);

    SpeedBtnNDostavka = Handlers::makeButton("SpeedBtnNDostavka", QStringLiteral("Нова доставка"), this,
                                             &TFormSkladPunkt::SpeedBtnNDostavkaClick);
    SpdBtnRedakcia = Handlers::makeButton("SpdBtnRedakcia", QStringLiteral("Редакция"), this,
                                          &TFormSkladPunkt::SpdBtnRedakciaClick);
    SpdBtnDelKontragent = Handlers::makeButton("SpdBtnDelKontragent", QStringLiteral("Изтриване"), this,
                                               &TFormSkladPunkt::SpdBtnDelKontragentClick);
    SpdBtnAmbalag = Handlers::makeButton("SpdBtnAmbalag", QStringLiteral("Амбалаж"), this,
                                         &TFormSkladPunkt::SpdBtnAmbalagClick);
    int at = 0;
    for (QToolButton* b : {SpeedBtnNDostavka, SpdBtnRedakcia, SpdBtnDelKontragent, SpdBtnAmbalag}) {
        b->setMinimumWidth(110);
        buttons()->insertWidget(at++, b);
    }

    auto* totals = new QHBoxLayout;
    const struct { const char* name; const char* caption; const char* field; } shown[] = {
        {"DBText1", "Количество:", "SumKolichestvo"}, {"DBText2", "Стойност:", "SumObstoLv"},
        {"DBText3", "ДДС 20%:", "SumStoinostDDS"}, {"DBText4", "Комисионна:", "SumKomisObsto"},
        {"DBText5", "Средна цена:", "SrednaCena"}};
    DBText** texts[] = {&DBText1, &DBText2, &DBText3, &DBText4, &DBText5};
    int i = 0;
    for (const auto& s : shown) {
        totals->addWidget(new QLabel(QString::fromUtf8(s.caption)));
        totals->addWidget(*texts[i++] = DbControls::makeShownNumber(s.name, listSource(), s.field, 100));
    }
    totals->addStretch(1);
    footer()->addLayout(totals);

    Handlers::connect(RdGrpKontrDaNeDostav, &RadioGroup::clicked, this, &TFormSkladPunkt::RdGrpKontrDaNeDostavClick);
    Handlers::connect(DBLkpCmBoxTipKontrDost, &DBLookupComboBox::closeUp, this, &TFormSkladPunkt::DBLkpCmBoxTipKontrDostCloseUp);
    Handlers::connect(DBLkpCmBoxKontrDostav, &DBLookupComboBox::closeUp, this, &TFormSkladPunkt::DBLkpCmBoxKontrDostavCloseUp);
    Handlers::connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TFormSkladPunkt::SpdBtnRedakciaClick);
    setEditors(nullptr, nullptr, nullptr);
}

void TFormSkladPunkt::setEditors(TFormNovaDostavka* novaDostavka, TFormDostavkaKorekcia* korekcia, TFormAmbalag* ambalag)
{
    nova_ = novaDostavka;
    korekcia_ = korekcia;
    ambalag_ = ambalag;
    SpeedBtnNDostavka->setEnabled(nova_ != nullptr);
    SpdBtnRedakcia->setEnabled(korekcia_ != nullptr);
    SpdBtnAmbalag->setEnabled(ambalag_ && RdGrpKontrDaNeDostav->itemIndex() == 1 && supplierShown());
}

void TFormSkladPunkt::warehouseChoiceChanged()
{
    DBGrid1->setColumnVisible(QStringLiteral("SKLAD"), allWarehouses());
}

bool TFormSkladPunkt::supplierShown() const { return showsChoice(DBLkpCmBoxKontrDostav); }

void TFormSkladPunkt::RdGrpKontrDaNeDostavClick()
{
    if (!sklad_.SmpTipKontrSklPunkt.isActive()) {
        sklad_.SmpTipKontrSklPunkt.open();
        sklad_.SmpKontrSklPunkt.open();
    }
    const bool chosen = RdGrpKontrDaNeDostav->itemIndex() == 1;
    GrpBoxIzbKontrDostav->setVisible(chosen);
    DBGrid1->setColumnVisible(QStringLiteral("IMEKONTRAGENT"), !chosen);
    list_.setFiltered(chosen);
    SpdBtnAmbalag->setEnabled(ambalag_ && chosen && supplierShown());
}

void TFormSkladPunkt::applySupplierFilter()
{
    list_.setFilter(supplierFilter(DBLkpCmBoxKontrDostav));
    SpdBtnAmbalag->setEnabled(ambalag_ && supplierShown());
}

void TFormSkladPunkt::DBLkpCmBoxTipKontrDostCloseUp()
{
    sklad_.SmpKontrSklPunkt.close();
    sklad_.SmpKontrSklPunkt.open();
    applySupplierFilter();
}

void TFormSkladPunkt::DBLkpCmBoxKontrDostavCloseUp() { applySupplierFilter(); }

void TFormSkladPunkt::SpeedBtnNDostavkaClick()
{
    if (nova_ && nova_->open(TFormNovaDostavka::Mode::WarehousePoint)) ReloadWarehousePointStock();
}

std::optional<StockLines::Line> TFormSkladPunkt::currentLine()
{
    if (!list_.isActive() || list_.isEmpty()) return std::nullopt;
    // Read afresh by its key, so what left the line since the list was read counts too.
    auto line = StockLines::read(dm_.SQLConnectNS, list_.fieldByName(QStringLiteral("AUTONUM"))->asInt());
    if (!line) ReloadWarehousePointStock();
    return line;
}

void TFormSkladPunkt::SpdBtnRedakciaClick()
{
    if (!korekcia_) return;
    if (!list_.isActive() || list_.isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Липсват данни за КОРЕКЦИЯ !"));
        return;
    }
    const auto line = currentLine();
    if (!line) return;
    if (StockLines::ownProduction(*line, StockLines::companyAlias(dm_.SQLConnectNS))) {
        UiService::current().showMessage(QStringLiteral("Собствено производство - КОРЕКЦИЯ ЗАБРАНЕНА !  "));
        return;
    }
    if (korekcia_->open(TFormDostavkaKorekcia::Mode::Delivery, *line)) ReloadWarehousePointStock();
}

void TFormSkladPunkt::SpdBtnDelKontragentClick()
{
    const auto line = currentLine();
    if (!line) return;
    if (const QString why = StockLines::deleteRefusal(*line, StockLines::companyAlias(dm_.SQLConnectNS)); !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    if (!UiService::current().askYesNo(QStringLiteral(" Изтриване на ред от доставка ?"))) return;
    StockLines::remove(dm_.SQLConnectNS, line->key);
    list_.refresh();
}

void TFormSkladPunkt::SpdBtnAmbalagClick()
{
    if (!ambalag_ || !supplierShown()) return;
    // The packaging window follows the supplier list's current row: the one the filter names.
    sklad_.SmpKontrSklPunkt.locate(QStringLiteral("NKONTRAGENT"), {DBLkpCmBoxKontrDostav->keyValue()});
    ambalag_->open();
}
