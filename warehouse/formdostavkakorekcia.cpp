#include "warehouse/formdostavkakorekcia.h"

#include "data/dmns.h"
#include "data/dmpers.h"
#include "data/dmsklad.h"
#include "platform/base/formats.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "warehouse/shownnumber.h"
#include "warehouse/stocklines.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString kQuantity = u"#0.000"_s;
const QString kPercent = u"#0.00"_s;

QLabel* valueLabel(const char* name)
{
    auto* l = new QLabel;
    l->setObjectName(QString::fromLatin1(name));
    l->setMinimumWidth(90);
    l->setFrameShape(QFrame::StyledPanel);
    return l;
}

// The value the edit stands for; false (the user told) when its text is not a number.
bool readNumber(QLineEdit* e, double& out)
{
    const std::optional<double> v = ShownNumber::read(e);
    if (!v) {
        UiService::current().showMessage(u"'%1' не е валидно число !"_s.arg(e->text()));
        e->setFocus();
        return false;
    }
    out = *v;
    return true;
}

QString quantityText(double v) { return Formats::formatNumber(v, u"#0.00"_s); }

QLineEdit* numberEdit(const char* name)
{
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    e->setAlignment(Qt::AlignRight);
    e->setMaximumWidth(130);
    return e;
}
} // namespace

TFormDostavkaKorekcia::TFormDostavkaKorekcia(TDMNS& dm, TDMSklad& sklad, TDMPers& pers, QWidget* parent)
    : Form(parent), dm_(dm), sklad_(sklad), pers_(pers)
{
    setObjectName(u"FormDostavkaKorekcia"_s);
    setWindowTitle(u"Корекция на  доставка в склад !"_s);

    LbSklad = valueLabel("LbSklad");
    LbMat = valueLabel("LbMat");
    LbProdad = valueLabel("LbProdad");
    LbIzpis = valueLabel("LbIzpis");
    LbEksped = valueLabel("LbEksped");
    LbBrak = valueLabel("LbBrak");
    LbNalich = valueLabel("LbNalich");
    LbDostav = valueLabel("LbDostav");
    LbDatePoluch = valueLabel("LbDatePoluch");
    LbNumFakt = valueLabel("LbNumFakt");
    LbDateFakt = valueLabel("LbDateFakt");
    LbZakupch = valueLabel("LbZakupch");
    for (QLabel* l : {LbProdad, LbIzpis, LbEksped, LbBrak, LbNalich}) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    EditKolichestvo = numberEdit("EditKolichestvo");
    EditEdCenaLV = numberEdit("EditEdCenaLV");
    EditEdCenaUSD = numberEdit("EditEdCenaUSD");
    EditEdCenaEUR = numberEdit("EditEdCenaEUR");
    EditProcOtst = numberEdit("EditProcOtst");
    EditProcDDS = numberEdit("EditProcDDS");
    EditKomis = numberEdit("EditKomis");
    EditDateGodnost = numberEdit("EditDateGodnost");
    EditDateGodnost->setAlignment(Qt::AlignLeft);
    EditDateGodnost->setPlaceholderText(u"дд.мм.гггг"_s);

    DBLkpCmBoxShifyrZakup = new DBLookupComboBox;
    DBLkpCmBoxShifyrZakup->setObjectName(u"DBLkpCmBoxShifyrZakup"_s);
    auto* people = new DataSource(&pers.SmpViewPers, this);
    people->setObjectName(u"DtSrcViewPers"_s);
    DBLkpCmBoxShifyrZakup->setListSource(people);
    DBLkpCmBoxShifyrZakup->setKeyField(u"SHIFYR"_s);
    DBLkpCmBoxShifyrZakup->setListField(u"IMEFULL"_s);
    DBLkpCmBoxShifyrZakup->setMinimumWidth(260);

    for (QLineEdit* e : numberEdits()) {
        e->installEventFilter(this);  // digits and "." only
        Handlers::enterSaves(e, [this] { BitBtnZapisClick(); });
    }
    Handlers::enterSaves(DBLkpCmBoxShifyrZakup, [this] { BitBtnZapisClick(); });

    BitBtnZapis = Handlers::makeButton("BitBtnZapis", u"Запис - корекция"_s, this, &TFormDostavkaKorekcia::BitBtnZapisClick);
    BitBtnIzhod = Handlers::makeButton("BitBtnIzhod", u"Изход"_s);
    connect(BitBtnIzhod, &QToolButton::clicked, this, &QWidget::close);

    auto* line = new QGroupBox(u"Доставка"_s);
    auto* info = new QGridLayout(line);
    int r = 0;
    const auto pair = [&](const QString& caption, QWidget* w, int col) {
        info->addWidget(new QLabel(caption), r, col * 2);
        info->addWidget(w, r, col * 2 + 1);
    };
    pair(u"Склад :"_s, LbSklad, 0);
    pair(u"Материал :"_s, LbMat, 1);
    ++r;
    pair(u"Доставчик"_s, LbDostav, 0);
    pair(u"Закупчик :"_s, LbZakupch, 1);
    ++r;
    pair(u"№ фактура"_s, LbNumFakt, 0);
    pair(u"Дата на фактура"_s, LbDateFakt, 1);
    ++r;
    pair(u"Дата получено"_s, LbDatePoluch, 0);
    info->setColumnStretch(1, 1);
    info->setColumnStretch(3, 1);

    auto* used = new QGroupBox(u"Изразходвано"_s);
    auto* usedRow = new QGridLayout(used);
    const QList<QPair<QString, QLabel*>> outflows{{u"Изписано"_s, LbIzpis}, {u"Продадено"_s, LbProdad},
                                                  {u"Експедирано"_s, LbEksped}, {u"Брак"_s, LbBrak},
                                                  {u"Налично"_s, LbNalich}};
    for (int i = 0; i < outflows.size(); ++i) {
        usedRow->addWidget(new QLabel(outflows[i].first), 0, i);
        usedRow->addWidget(outflows[i].second, 1, i);
    }

    auto* edits = new QGridLayout;
    r = 0;
    const auto field = [&](const QString& caption, QWidget* w, int col) {
        edits->addWidget(new QLabel(caption), r, col * 2);
        edits->addWidget(w, r, col * 2 + 1);
    };
    field(u"Доставено количество"_s, EditKolichestvo, 0);
    field(u"Годност до"_s, EditDateGodnost, 1);
    ++r;
    field(u"Ед цена лв. :"_s, EditEdCenaLV, 0);
    field(u"Процент ТО :"_s, EditProcOtst, 1);
    ++r;
    field(u"Ед цена USD :"_s, EditEdCenaUSD, 0);
    field(u"Процент ДДС :"_s, EditProcDDS, 1);
    ++r;
    field(u"Ед цена EUR :"_s, EditEdCenaEUR, 0);
    field(u"Комисионна :"_s, EditKomis, 1);
    ++r;
    edits->addWidget(new QLabel(u"Закупчик :"_s), r, 0);
    edits->addWidget(DBLkpCmBoxShifyrZakup, r, 1, 1, 3);

    auto* warning = new QLabel(u"Отговорността за промяна на данните е изцяло Ваша!"_s);
    warning->setObjectName(u"LbWarning"_s);
    warning->setStyleSheet(u"color: #b00000; font-weight: bold;"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(warning, 1);
    buttons->addWidget(BitBtnZapis);
    buttons->addWidget(BitBtnIzhod);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(line);
    layout->addWidget(used);
    layout->addLayout(edits);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(660, 420);
}

QList<QLineEdit*> TFormDostavkaKorekcia::numberEdits() const
{
    return {EditKolichestvo, EditEdCenaLV, EditEdCenaUSD, EditEdCenaEUR,
            EditProcOtst,    EditProcDDS,  EditKomis,     EditDateGodnost};
}

bool TFormDostavkaKorekcia::open(Mode mode, const StockLines::Line& line)
{
    mode_ = mode;
    key_ = line.key;
    saved_ = false;
    purchaser_ = line.purchaser;
    objects_ = {};
    const auto qty = quantityText;
    LbSklad->setText(line.warehouseName);
    LbMat->setText(line.materialName);
    LbProdad->setText(qty(line.sold));
    LbIzpis->setText(qty(line.drawn));
    LbEksped->setText(qty(line.dispatched));
    LbBrak->setText(qty(line.defective));
    LbNalich->setText(qty(line.onHand()));
    LbDostav->setText(line.supplierName);
    LbDatePoluch->setText(Formats::dateToText(line.received));
    LbNumFakt->setText(line.document);
    LbDateFakt->setText(Formats::dateToText(line.documentDate));
    LbZakupch->setText(line.purchaserName);
    const auto put = ShownNumber::put;
    put(EditKolichestvo, line.quantity, kQuantity);
    put(EditEdCenaLV, line.priceLv, kQuantity);
    put(EditEdCenaUSD, line.priceUsd, kQuantity);
    put(EditEdCenaEUR, line.priceEur, kQuantity);
    put(EditProcOtst, line.discountPct, kPercent);
    put(EditProcDDS, line.vatPct, kPercent);
    put(EditKomis, line.commission, kPercent);
    EditDateGodnost->setText(line.expiry ? Formats::dateToText(*line.expiry) : QString());
    EditKomis->setEnabled(false);
    EditProcDDS->setEnabled(true);
    DBLkpCmBoxShifyrZakup->setEnabled(true);
    EditKolichestvo->setEnabled(mode != Mode::OwnProduction);  // own production keeps its quantity

    if (!pers_.SmpViewPers.isActive()) pers_.SmpViewPers.open();
    DBLkpCmBoxShifyrZakup->setKeyValue(line.purchaser > 0 ? QVariant(line.purchaser) : QVariant());
    (mode == Mode::OwnProduction ? EditEdCenaLV : EditKolichestvo)->setFocus();
    UiService::current().showModal(this);
    return saved_;
}

bool TFormDostavkaKorekcia::open(Mode mode, const ObjectLine& line, ObjectLineAccess access)
{
    mode_ = mode;
    key_ = line.key;
    saved_ = false;
    objects_ = std::move(access);
    LbSklad->setText(line.objectName);
    LbMat->setText(line.materialName);
    LbProdad->setText(quantityText(line.sold));
    LbIzpis->setText(quantityText(0));  // nothing is drawn by requisition from an object
    LbEksped->setText(quantityText(line.dispatched));
    LbBrak->setText(quantityText(0));
    LbNalich->setText(quantityText(line.onHand()));
    LbDostav->setText(line.sourceName);
    LbDatePoluch->setText(Formats::dateToText(line.received));
    LbNumFakt->setText(line.document);
    LbDateFakt->setText(Formats::dateToText(line.received));
    LbZakupch->setText(line.molName);
    ShownNumber::put(EditKolichestvo, line.quantity, kQuantity);
    ShownNumber::put(EditEdCenaLV, line.priceLv, kQuantity);
    ShownNumber::put(EditEdCenaUSD, line.priceUsd, kQuantity);
    ShownNumber::put(EditEdCenaEUR, line.priceEur, kQuantity);
    // VAT, commission and purchaser are no part of an object line.
    EditProcDDS->setEnabled(false);
    EditKomis->setEnabled(false);
    DBLkpCmBoxShifyrZakup->setEnabled(false);
    EditKolichestvo->setEnabled(!line.quantityFixed);
    (mode == Mode::ObjectPrices || line.quantityFixed ? EditEdCenaLV : EditKolichestvo)->setFocus();
    UiService::current().showModal(this);
    return saved_;
}

void TFormDostavkaKorekcia::saveObjectLine()
{
    for (QLineEdit* e : {EditEdCenaLV, EditEdCenaUSD, EditEdCenaEUR})
        if (e->text().trimmed().isEmpty()) e->setText(u"0"_s);
    ObjectCorrection c;
    c.key = key_;
    if (!readNumber(EditKolichestvo, c.quantity) || !readNumber(EditEdCenaLV, c.priceLv)
        || !readNumber(EditEdCenaUSD, c.priceUsd) || !readNumber(EditEdCenaEUR, c.priceEur))
        return;
    // Checked against the line as it is now: what left it since the window opened counts too.
    const std::optional<ObjectLine> line = objects_.read(key_);
    if (!line) {
        UiService::current().showMessage(u"Редът от складовия обект вече е изтрит !"_s);
        closeWith(0);
        return;
    }
    if (line->quantityFixed) c.quantity = line->quantity;
    if (const QString why = objects_.refusal(key_, c.quantity); !why.isEmpty()) {
        UiService::current().showMessage(why);
        EditKolichestvo->setFocus();
        return;
    }
    if (!UiService::current().askYesNo(u" Запис корекция на доставка ?"_s)) return;
    objects_.store(c);
    saved_ = true;
    closeWith(1);
}

bool TFormDostavkaKorekcia::eventFilter(QObject* watched, QEvent* event)
{
    // Installed on the edits only.
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched)) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty() && text.at(0).isPrint() && text.at(0) != u'.' && !text.at(0).isDigit()) {
            QApplication::beep();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void TFormDostavkaKorekcia::BitBtnZapisClick()
{
    if (objectMode()) {
        saveObjectLine();
        return;
    }
    for (QLineEdit* e : {EditEdCenaLV, EditEdCenaUSD, EditEdCenaEUR, EditProcOtst, EditProcDDS, EditKomis})
        if (e->text().trimmed().isEmpty()) e->setText(u"0"_s);
    const auto number = readNumber;
    StockLines::Correction c;
    c.key = key_;
    if (!number(EditKolichestvo, c.quantity) || !number(EditEdCenaLV, c.priceLv) || !number(EditEdCenaUSD, c.priceUsd)
        || !number(EditEdCenaEUR, c.priceEur) || !number(EditProcOtst, c.discountPct)
        || !number(EditProcDDS, c.vatPct) || !number(EditKomis, c.commission))
        return;
    c.writeExpiry = true;  // an empty box clears the expiry date
    if (const QString typed = EditDateGodnost->text().trimmed(); !typed.isEmpty()) {
        c.expiry = Formats::textToDate(typed);
        if (!c.expiry) {
            UiService::current().showMessage(u"'%1' не е валидна дата !"_s.arg(typed));
            EditDateGodnost->setFocus();
            return;
        }
    }
    const QVariant chosen = DBLkpCmBoxShifyrZakup->keyValue();
    c.purchaser = chosen.isValid() && chosen.toInt() > 0 ? chosen.toInt() : purchaser_;

    // What has left the line is read afresh: outflows recorded since the window opened count too.
    const auto line = StockLines::read(dm_.SQLConnectNS, key_);
    if (!line) {
        UiService::current().showMessage(u"Редът от доставката вече е изтрит !"_s);
        sklad_.SmpSklNalich.refresh();
        closeWith(0);
        return;
    }
    if (mode_ == Mode::OwnProduction) c.quantity = line->quantity;
    if (const QString why = StockLines::correctionRefusal(*line, c.quantity); !why.isEmpty()) {
        UiService::current().showMessage(why);
        EditKolichestvo->setFocus();
        return;
    }
    if (!UiService::current().askYesNo(u" Запис корекция на доставка ?"_s)) return;
    // A refusal of the server escapes to the error report and the window stays as typed.
    StockLines::correct(dm_.SQLConnectNS, c);
    saved_ = true;
    sklad_.SmpSklNalich.refresh();
    closeWith(1);
}
