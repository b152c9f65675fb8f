#include "salesinfo/formsprrealizaciarazplastania.h"

#include "data/dmnsspravki.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "salesinfo/infocontrols.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <QShowEvent>

using namespace Qt::StringLiterals;

TFormSprRealizaciaRazplastania::TFormSprRealizaciaRazplastania(TDMNsSpravki& dm) : dm_(dm)
{
    setObjectName(u"FormSprRealizaciaRazplastania"_s);
    setWindowTitle(u"Реализация - разплащания с клиенти !"_s);
    resize(1200, 600);
    SmpDataset& list = dm.SmpRealizaciaPlastania;
    DBGrid1 = InfoControls::grid("DBGrid1", list, this);
    InfoControls::keepWidths(DBGrid1, 100,
               {{"NUMPRODAGBA", 100}, {"NSTOK_RAZP", 75}, {"NFAKTURA", 85}, {"DATEFAKTURA", 65}, {"IMEKONTRAGENT", 200},
                {"ImeKlient", 150}, {"FZLICE_ADRES", 160}});
    DBGrid1->setRowTextColor([&list](int position) {
        const auto at = [&list, position](const char* f) { return list.valueAt(position, list.fieldByName(QString::fromLatin1(f))).toDouble(); };
        return rowColour(at("SUMA_DDS_FAKTURA"), at("SUMA_PLATENA"), at("SUMA_OSTATYK"));
    });
    auto* source = new DataSource(&list, this);
    auto* totals = new QGridLayout;
    const QList<std::pair<QString, const char*>> sums = {{u"Дължима сума от клиенти /лв./ -"_s, "ObstoSumaOstatyk"},
                                                         {u"Сума по фактури/лв./ -"_s, "ObstoSumaFaktura"},
                                                         {u"Платени суми/лв./ -"_s, "ObstoSumaPlateno"}};
    for (int i = 0; i < sums.size(); ++i) {
        totals->addWidget(new QLabel(sums[i].first), i, 0);
        totals->addWidget(DbControls::makeShownNumber(sums[i].second, source, sums[i].second, 110), i, 1);
    }
    auto* excel = Handlers::makeButton("SpdBtnEXCEL", u"Изход -> Excel"_s);
    Handlers::connectClick(excel, this, [this] { InfoControls::exportList(dm_.SmpRealizaciaPlastania, this); });
    auto* exit = Handlers::makeButton("SpdBtnIzhod", u"Изход"_s);
    Handlers::connectClick(exit, this, [this] { close(); });
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(totals);
    bottom->addStretch(1);
    bottom->addWidget(excel, 0, Qt::AlignBottom);
    bottom->addWidget(exit, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottom);
}

QColor TFormSprRealizaciaRazplastania::rowColour(double total, double paid, double left)
{
    if (paid - total > 0.001) return QColor(Qt::blue);
    if (left > 0.001) return QColor(Qt::red);
    return {};
}

void TFormSprRealizaciaRazplastania::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    // Restoring from minimised is a spontaneous show: it keeps what the user set.
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormSprRealizaciaRazplastania::FormShow()
{
    dm_.SmpRealizaciaPlastania.close();
    dm_.SmpRealizaciaPlastania.open();
}
