#include "warehouse/formupddostcena.h"

#include "platform/base/formats.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/handlers.h"
#include "warehouse/shownnumber.h"
#include "warehouse/stocklines.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TFormUpdDostCena::TFormUpdDostCena(SQLConnection& db, QWidget* parent) : Form(parent), db_(db)
{
    setObjectName(u"FormUpdDostCena"_s);
    setWindowTitle(u"Корекция на доставна цена !"_s);
    const auto label = [](const char* name) {
        auto* l = new QLabel;
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    LbDostavchik = label("LbDostavchik");
    LbMaterial = label("LbMaterial");
    LbKolichestvo = label("LbKolichestvo");
    LbFaktura = label("LbFaktura");
    QFont bold = LbMaterial->font();
    bold.setBold(true);
    for (QLabel* l : {LbDostavchik, LbMaterial, LbKolichestvo, LbFaktura}) l->setFont(bold);
    const auto price = [this](const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(name));
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(130);
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*[.]?[0-9]*"_s), e));
        Handlers::enterSaves(e, [this] { BitBtnUpdDostCenaClick(); });
        return e;
    };
    DBEdit1 = price("DBEdit1");
    DBEdit2 = price("DBEdit2");
    DBEdit3 = price("DBEdit3");
    BitBtnUpdDostCena = Handlers::makeButton("BitBtnUpdDostCena", u"Запис"_s, this, &TFormUpdDostCena::BitBtnUpdDostCenaClick);
    BitBtnExit = Handlers::makeButton("BitBtnExit", u"Изход"_s);
    connect(BitBtnExit, &QToolButton::clicked, this, &QWidget::close);

    auto* form = new QFormLayout;
    form->addRow(u"Доставчик:"_s, LbDostavchik);
    form->addRow(u"Име на материал:"_s, LbMaterial);
    form->addRow(u"Количество:"_s, LbKolichestvo);
    form->addRow(u"Фактура № / дата:"_s, LbFaktura);
    form->addRow(u"Ед.цена ЛВ:"_s, DBEdit1);
    form->addRow(u"Ед.цена USD:"_s, DBEdit2);
    form->addRow(u"Ед.цена EUR:"_s, DBEdit3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtnUpdDostCena);
    buttons->addWidget(BitBtnExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(440, 270);
}

bool TFormUpdDostCena::open(const StockLines::Line& line)
{
    key_ = line.key;
    saved_ = false;
    LbDostavchik->setText(line.supplierName);
    LbMaterial->setText(line.materialName);
    LbKolichestvo->setText(Formats::formatNumber(line.quantity, u"# ### ##0.000"_s));
    LbFaktura->setText(line.document + u" / "_s + Formats::dateToText(line.documentDate));
    ShownNumber::put(DBEdit1, line.priceLv, u"0.000"_s);
    ShownNumber::put(DBEdit2, line.priceUsd, u"0.000"_s);
    ShownNumber::put(DBEdit3, line.priceEur, u"0.000"_s);
    DBEdit1->setFocus();
    UiService::current().showModal(this);
    return saved_;
}

void TFormUpdDostCena::BitBtnUpdDostCenaClick()
{
    double prices[3] = {};
    const QLineEdit* edits[3] = {DBEdit1, DBEdit2, DBEdit3};
    for (int i = 0; i < 3; ++i) {
        const QString text = edits[i]->text().trimmed();
        const std::optional<double> v = text.isEmpty() ? std::optional<double>(0) : ShownNumber::read(edits[i]);
        if (!v) {
            UiService::current().showMessage(u"'%1' не е валидно число !"_s.arg(text));
            return;
        }
        prices[i] = *v;
    }
    // A refusal of the server escapes to the error report and the window stays as typed.
    StockLines::setPrices(db_, key_, prices[0], prices[1], prices[2]);
    saved_ = true;
    emit pricesSaved(key_);
    closeWith(1);
}
