#include "salesinfo/formprodpomeseci.h"

#include "data/dmns.h"
#include "data/dmnsspravki.h"
#include "platform/base/clock.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "salesinfo/infocontrols.h"
#include "salesinfo/salesinfodata.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QShowEvent>

using namespace Qt::StringLiterals;

TFormProdPoMeseci::TFormProdPoMeseci(TDMNS& dm, TDMNsSpravki& spravki) : dm_(dm), spravki_(spravki)
{
    setObjectName(u"FormProdPoMeseci"_s);
    setWindowTitle(u"Продажби по месеци !"_s);
    resize(1400, 600);
    DBLkpCmbIzbSklad = DbControls::makeListLookup("DBLkpCmbIzbSklad", new DataSource(&dm.SmpTipSklad, this), "NSKLAD",
                                                  "SKLAD", 220);
    EdGodina = InfoControls::digitsBox("EdGodina", 70);
    DBGrid1 = InfoControls::grid("DBGrid1", spravki.SmpProdPoMes, this);
    InfoControls::keepWidths(DBGrid1, 82, {{"NUMRED", 40}, {"IME_MATERIAL_IZDELIE", 230}});
    auto* excel = Handlers::makeButton("BitBtn1", u"> Excel"_s);
    Handlers::connectClick(excel, this, [this] { InfoControls::exportList(spravki_.SmpProdPoMes, this, true); });
    auto* exit = Handlers::makeButton("BitBtn2", u"Изход"_s);
    Handlers::connectClick(exit, this, [this] { close(); });
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(u"Продажби от склад:"_s));
    top->addWidget(DBLkpCmbIzbSklad);
    top->addWidget(new QLabel(u"За година"_s));
    top->addWidget(EdGodina);
    top->addStretch(1);
    top->addWidget(excel);
    top->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    Handlers::connect(DBLkpCmbIzbSklad, &DBLookupComboBox::closeUp, this, &TFormProdPoMeseci::DBLkpCmbIzbSkladCloseUp);
    Handlers::connect(EdGodina, &QLineEdit::returnPressed, this, &TFormProdPoMeseci::ReloadMonthlySales);
}

void TFormProdPoMeseci::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    // Restoring from minimised is a spontaneous show: it keeps what the user set.
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormProdPoMeseci::FormShow()
{
    if (!dm_.SmpTipSklad.isActive()) dm_.SmpTipSklad.open();
    EdGodina->setText(QString::number(Clock::today().year()));
    ReloadMonthlySales();
}

void TFormProdPoMeseci::DBLkpCmbIzbSkladCloseUp()
{
    const QVariant chosen = DBLkpCmbIzbSklad->keyValue();
    if (chosen.isNull()) return;
    warehouse_ = chosen.toInt();
    ReloadMonthlySales();
}

void TFormProdPoMeseci::ReloadMonthlySales()
{
    const std::optional<int> year = SalesInfo::yearOf(EdGodina->text());
    if (!year) {
        UiService::current().showMessage(u"Невалидна година !"_s);
        return;
    }
    SmpDataset& ds = spravki_.SmpProdPoMes;
    ds.close();
    ds.setParam(u"NUMSKLAD"_s, warehouse_);
    ds.setParam(u"GODINA"_s, *year);
    ds.open();
}
