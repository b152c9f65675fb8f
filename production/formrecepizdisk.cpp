#include "production/formrecepizdisk.h"

#include "data/dmns.h"
#include "data/dmproizv.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "production/production.h"
#include "production/qriskane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TFormRecepIzdISK::TFormRecepIzdISK(TDMNS& dm, TDMProizv& pr, TQRIskane& qrIskane, QWidget* parent)
    : Form(parent), dm_(dm), pr_(pr), qrIskane_(qrIskane)
{
    setObjectName(u"FormRecepIzdISK"_s);
    setWindowTitle(u"Искане материали по рецепта от склад !"_s);
    auto* product = new DataSource(&dm.SmpProizIzdISK, this);
    product->setObjectName(u"DtSrcProizIzdISK"_s);
    auto* clients = new DataSource(&dm.SmpIzbKontr, this);
    clients->setObjectName(u"DtSrcIzbKontr"_s);
    auto* recipe = new DataSource(&pr.SmpRecepIzdISK, this);
    recipe->setObjectName(u"DtSrcRecepIzdISK"_s);

    DBTextIzdelie = new DBText;
    DBTextIzdelie->setObjectName(u"DBTextIzdelie"_s);
    DBTextIzdelie->setDataSource(product);
    DBTextIzdelie->setDataField(u"IMEMATIZD"_s);
    QFont bold = DBTextIzdelie->font();
    bold.setBold(true);
    DBTextIzdelie->setFont(bold);
    DBLkpCmBoxIzbKontr = DbControls::makeListLookup("DBLkpCmBoxIzbKontr", clients, "NKONTRAGENT", "IMEKONTRAGENT", 260);
    DBGrid10 = new DBGrid;
    DBGrid10->setObjectName(u"DBGrid10"_s);
    DBGrid10->setDataSource(recipe);
    DBGrid10->setColumns({{u"NSKLAD"_s, {}, 55}, {u"NMATERIAL"_s, {}, 55}, {u"IMESKLAD"_s, {}, 120},
                          {u"IMEMATERIAL"_s, {}, 200}, {u"IMEMIARKA"_s, {}, 40}, {u"KOLICHESTVO_MAT"_s, {}, 75},
                          {u"KolichObsto"_s, {}, 80}, {u"CENA_KALK"_s, {}, 70}, {u"NALICH_SKLAD_MAT"_s, {}, 80},
                          {u"ObstoLV"_s, {}, 80}, {u"IzchDaNe"_s, {}, 40}, {u"SUM_DA_NE"_s, {}, 60}});
    DBGrid10->setReadOnly(true);
    DBGrid10->setRowSelect(true);
    DBGrid10->setRowTextColor([this](int position) {
        SmpDataset& r = pr_.SmpRecepIzdISK;
        const double stock = r.valueAt(position, r.findField(u"NALICH_SKLAD_MAT"_s)).toDouble();
        const double needed = r.valueAt(position, r.findField(u"KolichObsto"_s)).toDouble();
        return stock < needed ? QColor(Qt::red) : QColor();
    });
    SpnEdtBrIzdeliaN = new QSpinBox;
    SpnEdtBrIzdeliaN->setObjectName(u"SpnEdtBrIzdeliaN"_s);
    SpnEdtBrIzdeliaN->setRange(0, 1000000);
    SpnEdtBrIzdeliaN->setValue(pr.RequisitionCount);
    RdGrpFiltyrMatRecep =
        new RadioGroup(u"RdGrpFiltyrMatRecep"_s, u"Показване на материали "_s, {u"Всички"_s, u"Наличните"_s});
    RdGrpFiltyrMatRecep->setItemIndex(0);
    SpdBtnZapMatRecep = Handlers::makeButton("SpdBtnZapMatRecep", u"Запис"_s, this, &TFormRecepIzdISK::SpdBtnZapMatRecepClick);
    SpdBtnPrintIskane = Handlers::makeButton("SpdBtnPrintIskane", u"Искане"_s, this, &TFormRecepIzdISK::SpdBtnPrintIskaneClick);
    SpdBtnExit = Handlers::makeButton("SpdBtnExit", u"Изход"_s);
    connect(SpdBtnExit, &QToolButton::clicked, this, [this] { closeWith(2); });

    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(u"Материали за изготвяне на :"_s));
    head->addWidget(DBTextIzdelie, 1);
    head->addWidget(new QLabel(u"Клиент:"_s));
    head->addWidget(DBLkpCmBoxIzbKontr);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(u"Брой рецепти :"_s));
    bottom->addWidget(SpnEdtBrIzdeliaN);
    bottom->addWidget(RdGrpFiltyrMatRecep);
    bottom->addStretch(1);
    for (QToolButton* b : {SpdBtnZapMatRecep, SpdBtnPrintIskane, SpdBtnExit}) {
        b->setMinimumWidth(100);
        bottom->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(DBGrid10, 1);
    layout->addLayout(bottom);
    resize(1020, 460);

    Handlers::connect(SpnEdtBrIzdeliaN, &QSpinBox::valueChanged, this, &TFormRecepIzdISK::SpnEdtBrIzdeliaNChange);
    Handlers::enterSaves(SpnEdtBrIzdeliaN, [this] { SpdBtnZapMatRecepClick(); });
    Handlers::connect(RdGrpFiltyrMatRecep, &RadioGroup::clicked, this, &TFormRecepIzdISK::RdGrpFiltyrMatRecepClick);
}

void TFormRecepIzdISK::open()
{
    FormShow();
    UiService::current().showModal(this);
}

void TFormRecepIzdISK::FormShow()
{
    SmpDataset& clients = dm_.SmpIzbKontr;
    clients.close();
    clients.setParam(u"InTipKontr"_s, 1);
    clients.open();
    DBLkpCmBoxIzbKontr->setKeyValue(QVariant());
    const QSignalBlocker quiet(SpnEdtBrIzdeliaN);
    SpnEdtBrIzdeliaN->setValue(pr_.RequisitionCount);
    RdGrpFiltyrMatRecepClick();
}

void TFormRecepIzdISK::SpnEdtBrIzdeliaNChange()
{
    pr_.RequisitionCount = SpnEdtBrIzdeliaN->value();
    if (pr_.SmpRecepIzdISK.isActive()) pr_.SmpRecepIzdISK.refresh();
}

void TFormRecepIzdISK::RdGrpFiltyrMatRecepClick()
{
    SmpDataset& recipe = pr_.SmpRecepIzdISK;
    const bool available = RdGrpFiltyrMatRecep->itemIndex() == 1;
    recipe.setFilter(available ? u"NALICH_SKLAD_MAT>=KolichObsto"_s : QString());
    recipe.setFiltered(available);
}

void TFormRecepIzdISK::SpdBtnZapMatRecepClick()
{
    SmpDataset& lines = pr_.SmpSklIskTEMP;
    if (lines.isEmpty()) {
        if (pr_.RequisitionCount > 0) FillFromRecipe();
    } else if (UiService::current().askYesNo(u"    Нулиране на таблицата с искания  ?"_s)) {
        lines.close();
        lines.open();
        FillFromRecipe();
    }
    closeWith(1);
}

void TFormRecepIzdISK::FillFromRecipe()
{
    SmpDataset& recipe = pr_.SmpRecepIzdISK;
    SmpDataset& lines = pr_.SmpSklIskTEMP;
    UiService& ui = UiService::current();
    bool short_ = false;
    const auto value = [&recipe](const char* field) { return recipe.value(QString::fromLatin1(field)); };
    for (int i = 0; i < recipe.recordCount(); ++i) {
        recipe.moveTo(i);
        const double needed = value("KolichObsto").toDouble();
        if (Production::warehouseStockOf(dm_.SQLConnectNS, value("NMATERIAL").toInt()) + 0.000000001 < needed) {
            ui.showMessage(u"Недостатъчно количество на - "_s + value("IMEMATERIAL").toString());
            short_ = true;
        } else {
            lines.append();
            for (const char* f : {"NMATERIAL", "NSKLAD", "IMESKLAD", "IMEMATERIAL", "IMEMIARKA", "CENA_KALK"})
                lines.setValue(QString::fromLatin1(f), value(f));
            lines.setValue(u"KOLICHOBSTO"_s, needed);
            lines.setValue(u"SKL_NALICH"_s, value("NALICH_SKLAD_MAT"));
            if (value("IZCH_DA_NE").toInt() == 1) lines.setValue(u"IZCH_DA_NE"_s, 1);
            if (value("SUM_DA_NE").toInt() == 1) lines.setValue(u"SUM_DA_NE"_s, 1);
            lines.post();
        }
    }
    if (short_) {
        ui.showMessage(u"Недостатъчни количества материали в склада. Таблицата с искания ще бъде нулирана  !"_s);
        lines.close();
        lines.open();
    }
    lines.first();
}

void TFormRecepIzdISK::SpdBtnPrintIskaneClick()
{
    qrIskane_.setClientShown(!DBLkpCmBoxIzbKontr->currentText().isEmpty());
    qrIskane_.setCount(SpnEdtBrIzdeliaN->value());
    qrIskane_.Preview();
}
