#include "warehouse/formmatspravka.h"

#include "data/dmns.h"
#include "data/dmsklspravki.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "warehouse/stockinquiries.h"

#include <QHBoxLayout>

namespace {
double number(const SmpDataset& ds, int position, const char* field)
{
    return ds.valueAt(position, ds.findField(QString::fromLatin1(field))).toDouble();
}
} // namespace

TFormMat_Spravka::TFormMat_Spravka(TDMNS& dm, TDMSklSpravki& spravki, QWidget* parent)
    : TFormStockInquiry(dm, spravki.SmpMat_Spravka, nullptr, QStringLiteral("FormMat_Spravka"),
                        QStringLiteral("Склад материали - справка минимални и максимални количества, цени !"),
                        QStringLiteral("Изход > Excel"), parent)
{
    RdGrpKritNalich = new RadioGroup(QStringLiteral("RdGrpKritNalich"), QStringLiteral("Избор на критични складови наличности "),
                                     {QStringLiteral("Всички материали"), QStringLiteral("Под критичния минимум"),
                                      QStringLiteral("Над критичния максимум")});
    RdGrpKritNalich->setItemIndex(0);
    filters()->addWidget(RdGrpKritNalich, 1);
    list_.setFilterPredicate([this](const SmpDataset& ds) {
        const auto n = [&ds](const char* f) { return ds.fieldByName(QString::fromLatin1(f))->asFloat(); };
        return StockInquiries::listedUnder(RdGrpKritNalich->itemIndex(), n("NALICHNOST"), n("MIN_KOL"), n("MAX_KOL"));
    });
    DBGrid1->setRowTextColor([this](int position) { return rowColor(position); });
    Handlers::connect(RdGrpKritNalich, &RadioGroup::clicked, this, &TFormMat_Spravka::RdGrpKritNalichClick);
}

void TFormMat_Spravka::FormShow()
{
    if (!dm_.SmpTipSklad.isActive()) dm_.SmpTipSklad.open();
    load(true);
}

QColor TFormMat_Spravka::rowColor(int position) const
{
    switch (StockInquiries::level(number(list_, position, "NALICHNOST"), number(list_, position, "MIN_KOL"),
                                  number(list_, position, "MAX_KOL"))) {
    case StockInquiries::Level::BelowMinimum: return QColor(Qt::red);
    case StockInquiries::Level::AboveMaximum: return QColor(Qt::blue);
    case StockInquiries::Level::Within: break;
    }
    return QColor(Qt::black);
}

void TFormMat_Spravka::RdGrpKritNalichClick()
{
    // The record filter is read afresh: off and on again.
    list_.setFiltered(false);
    list_.setFiltered(RdGrpKritNalich->itemIndex() != 0);
}

void TFormMat_Spravka::warehouseChoiceChanged()
{
    DBGrid1->setColumnVisible(QStringLiteral("IMESKLAD"), allWarehouses());
}
