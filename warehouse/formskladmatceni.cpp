#include "warehouse/formskladmatceni.h"

#include "data/dmsklspravki.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbtext.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

TFormSkladMatCENI::TFormSkladMatCENI(TDMNS& dm, TDMSklSpravki& spravki, QWidget* parent)
    : TFormStockInquiry(dm, spravki.SmpSklMatCeni, &spravki.SmpIzbMatCeni, QStringLiteral("FormSkladMatCENI"),
                        QStringLiteral("Склад - наличности. Доставни и продажни ЦЕНИ !"), QStringLiteral(" > Excel"),
                        parent)
{
    GrpBoxTotals = new QGroupBox;
    GrpBoxTotals->setObjectName(QStringLiteral("GrpBoxTotals"));
    auto* grid = new QGridLayout(GrpBoxTotals);
    const QStringList heads{QStringLiteral("Валута"), QStringLiteral("Лева"), QStringLiteral("USD"), QStringLiteral("EUR")};
    for (int c = 0; c < heads.size(); ++c) grid->addWidget(new QLabel(heads[c]), 0, c, Qt::AlignRight);
    const struct { const char* caption; const char* fields[3]; } rows[] = {
        {"Общо по доставни цени", {"SumObCenaLv", "SumObCenaUSD", "SumObCenaEUR"}},
        {"Общо по продажни цени", {"SumProdCenaLV", "SumProdCenaUSD", "SumProdCenaEUR"}},
        {"Разлика", {"SumObProMinusDostLV", "SumObProMinusDostUSD", "SumObProMinusDostEUR"}}};
    int r = 1;
    for (const auto& row : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(row.caption)), r, 0);
        for (int c = 0; c < 3; ++c) {
            const QByteArray name = QByteArray("DBText") + row.fields[c];
            grid->addWidget(DbControls::makeShownNumber(name.constData(), listSource(), row.fields[c], 110), r, c + 1);
        }
        ++r;
    }
    footer()->addWidget(GrpBoxTotals);
}

void TFormSkladMatCENI::warehouseChoiceChanged()
{
    DBGrid1->setColumnVisible(QStringLiteral("SKLAD"), allWarehouses());
}
