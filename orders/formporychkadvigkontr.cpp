#include "orders/formporychkadvigkontr.h"

#include "data/dmporychki.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
DBGrid* grid(const char* name, SmpDataset& list, QObject* owner, const QList<DatasetColumn>& columns)
{
    auto* g = new DBGrid;
    g->setObjectName(QString::fromLatin1(name));
    g->setDataSource(new DataSource(&list, owner));
    g->setColumns(columns);
    g->setReadOnly(true);
    g->setRowSelect(true);
    return g;
}

QGroupBox* box(const QString& caption, QWidget* content)
{
    auto* b = new QGroupBox(caption);
    (new QVBoxLayout(b))->addWidget(content);
    return b;
}
} // namespace

TFormPorychkaDvigKontr::TFormPorychkaDvigKontr(TDMPorychki& po) : po_(po)
{
    setObjectName(u"FormPorychkaDvigKontr"_s);
    setWindowTitle(u"Изпълнение на поръчките по изделия и контрагенти !"_s);
    DBGrid2 = grid("DBGrid2", po.SmpPorychki_Dvigenie, this,
                   {{u"IME_IZDELIE"_s, {}, 200}, {u"MIARKA_BG"_s, {}, 40}, {u"BROI_IZDELIA_PORYCHKA"_s, {}, 70},
                    {u"BROI_IZDELIA_PREDSTOIASTI"_s, {}, 65}, {u"BROI_IZDELIA_ISKANIA"_s, {}, 60},
                    {u"BROI_IZDELIA_VPROCES"_s, {}, 60}, {u"BROI_IZDELIA_PROIZVEDENI"_s, {}, 65},
                    {u"BROI_IZDELIA_NASKLAD"_s, {}, 60}, {u"BROI_IZD_PRODADENI_PORYCHKA"_s, {}, 92},
                    {u"BROI_IZD_PRODADENI_SVOBODNO"_s, {}, 75}, {u"BROI_IZDELIA_PRODADENI"_s, {}, 75}});
    DBGrid1 = grid("DBGrid1", po.SmpPorychDvigKontrSum, this,
                   {{u"IMEKONTRAGENT"_s, {}, 180}, {u"BROI_IZDELIA_PORYCHKA"_s, {}, 68},
                    {u"BROI_IZDELIA_OSTATYK"_s, {}, 62}, {u"BROI_IZDELIA_PRODADENI"_s, {}, 80}});
    DBGrid3 = grid("DBGrid3", po.SmpPorychDvigKontrFull, this,
                   {{u"IMEKONTRAGENT"_s, {}, 180}, {u"DATEPORYCHKA"_s, {}, 68}, {u"DATESROK"_s, {}, 62},
                    {u"BROI_IZDELIA_PORYCHKA"_s, {}, 62}});
    DBGrid4 = grid("DBGrid4", po.SmpPorychProdSvobodno, this,
                   {{u"IMEKONTRAGENT"_s, {}, 180}, {u"DATEFAKTURA"_s, {}, 62}, {u"BROI_IZD_PRODADENI_SVOBODNO"_s, {}, 62}});
    SpdBtnIzhod = Handlers::makeButton("SpdBtnIzhod", u"Изход"_s);
    connect(SpdBtnIzhod, &QToolButton::clicked, this, &QWidget::close);

    auto* heading = new QLabel(u"Изпълнение на поръчките по изделия"_s);
    heading->setStyleSheet(u"font-weight: bold; color: navy"_s);
    auto* clients = new QHBoxLayout;
    // Shared in proportion to what each grid's columns take.
    clients->addWidget(box(u"Обобщена поръчка "_s, DBGrid1), 5);
    clients->addWidget(box(u"Подробна поръчка  "_s, DBGrid3), 5);
    clients->addWidget(box(u"Продажби без поръчка "_s, DBGrid4), 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SpdBtnIzhod);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(DBGrid2, 1);
    layout->addLayout(clients, 1);
    layout->addLayout(buttons);
    resize(1320, 640);

    Handlers::connect(DBGrid2, &DBGrid::clicked, this, &TFormPorychkaDvigKontr::RefreshByClient);
    Handlers::connect(DBGrid2, &DBGrid::keyPressed, this, &TFormPorychkaDvigKontr::RefreshByClient);
    Handlers::connect(DBGrid2, &DBGrid::keyReleased, this, &TFormPorychkaDvigKontr::RefreshByClient);
}

void TFormPorychkaDvigKontr::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) Handlers::run([this] { RefreshByClient(); });
}

void TFormPorychkaDvigKontr::RefreshByClient()
{
    const SmpDataset& products = po_.SmpPorychki_Dvigenie;
    const QVariant product = products.isActive() && !products.isEmpty() ? products.value(u"NTIP_IZDELIE"_s) : QVariant(0);
    for (SmpDataset* ds : {&po_.SmpPorychDvigKontrSum, &po_.SmpPorychDvigKontrFull, &po_.SmpPorychProdSvobodno})
        TDMPorychki::reopen(*ds, u"Ntip_Izdelie"_s, product);
}
