#include "salesinfo/formvlmatizd.h"

#include "data/dmnsspravki.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "salesinfo/infocontrols.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TFormVlMatIzd::TFormVlMatIzd(TDMNsSpravki& dm) : dm_(dm)
{
    setObjectName(u"FormVlMatIzd"_s);
    setWindowTitle(u"Информация за изработени изделия с този материал !"_s);
    resize(820, 420);
    LbMat = new QLabel;
    LbMat->setObjectName(u"LbMat"_s);
    QFont bold = LbMat->font();
    bold.setBold(true);
    LbMat->setFont(bold);
    DBGrid1 = InfoControls::grid("DBGrid1", dm.SmpVlMatIzd, this);
    InfoControls::keepWidths(DBGrid1, 80, {{"PART_NUM_IZDELIE", 95}, {"PROIZVODSTVO", 170}, {"IMEIZDELIE", 230}, {"DATEIZDELIE", 95}});
    auto* excel = Handlers::makeButton("BitBtn2", u"-> Excel"_s);
    Handlers::connectClick(excel, this, [this] { InfoControls::exportList(dm_.SmpVlMatIzd, this); });
    auto* exit = Handlers::makeButton("BitBtn1", u"Изход"_s);
    Handlers::connectClick(exit, this, [this] { close(); });
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(u"Име на материал:"_s));
    top->addWidget(LbMat, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(u"Общо изработено:"_s));
    bottom->addWidget(DbControls::makeShownNumber("SumKolich", new DataSource(&dm.SmpVlMatIzd, this), "SumKolich", 90));
    bottom->addStretch(1);
    bottom->addWidget(excel);
    bottom->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottom);
}

void TFormVlMatIzd::openFor(int material, const QString& name)
{
    LbMat->setText(name);
    SmpDataset& ds = dm_.SmpVlMatIzd;
    ds.close();
    ds.setParam(u"num_material"_s, material);
    ds.open();
}
