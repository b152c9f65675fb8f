#include "sales/documentprintdialog.h"

#include "platform/ui/uiservice.h"
#include "platform/widgets/handlers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

DocumentPrintDialog::DocumentPrintDialog(const QString& objectName, bool browser, QWidget* parent) : Form(parent)
{
    setObjectName(objectName);
    setWindowTitle(u"Печат на документ !"_s);
    auto* grid = new QGridLayout;
    int row = 0;
    const auto add = [&](const char* name, const QString& caption, const QString& sub, const QString& unit, int value) {
        auto* spin = new QSpinBox;
        spin->setObjectName(QString::fromLatin1(name));
        spin->setRange(0, 10);
        spin->setValue(value);
        spin->setFixedWidth(60);
        auto* first = new QLabel(caption);
        auto* second = new QLabel(sub);
        auto* units = new QLabel(unit);
        for (QLabel* l : {first, second, units}) l->setProperty("printRow", QString::fromLatin1(name));
        first->setStyleSheet(caption.isEmpty() ? QString() : u"font-weight: bold"_s);
        grid->addWidget(first, row, 0);
        grid->addWidget(second, row, 1);
        grid->addWidget(spin, row, 2);
        grid->addWidget(units, row, 3);
        ++row;
        return spin;
    };
    const QString pcs = u"бр."_s, copies = browser ? u"Бр. копия"_s : u"бр. копия"_s;
    SpEdFaktOriginal = add("SpEdFaktOriginal", u"Данъчна фактура"_s, u"Оригинал"_s, pcs, 1);
    SpEdFaktPrepis = add("SpEdFaktPrepis", QString(), u"Препис"_s, pcs, 0);
    SpEdOprostena = add("SpEdOprostena", u"Опростена фактура :"_s, QString(), u"бр. копия"_s, 1);
    SpEdStokRazp = add("SpEdStokRazp", browser ? u"Стокова разписка"_s : u"Стокова разписка :"_s, QString(), copies, 1);
    SpEdKonsign = add("SpEdKonsign", u"Консигн. протокол :"_s, QString(), u"бр. копия"_s, 1);
    SpEdDorvexOriginal = add("SpEdDorvexOriginal", u"Данъчна фактура - Дорвекс"_s, u"Оригинал"_s, pcs, 1);
    SpEdDorvexPrepis = add("SpEdDorvexPrepis", QString(), u"Препис"_s, pcs, 0);
    SpEdDorvStRazp = add("SpEdDorvStRazp", u"Сток. разп. Дорв. :"_s, QString(), u"бр. копия"_s, 1);
    SpEdStRazpValuti = add("SpEdStRazpValuti", u"Сток.разп.ЛВ,USD,EUR"_s, QString(), u"бр. копия"_s, 1);

    BtnPrint = Handlers::makeButton("BtnPrint", u"Печат"_s, this, &DocumentPrintDialog::BtnPrintClick);
    BtnCancel = Handlers::makeButton("BtnCancel", u"Отказ"_s, this, &DocumentPrintDialog::BtnCancelClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QToolButton* b : {BtnPrint, BtnCancel}) {
        b->setMinimumWidth(90);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

QList<QWidget*> DocumentPrintDialog::rowOf(QSpinBox* spin) const
{
    QList<QWidget*> row{spin};
    for (QLabel* l : findChildren<QLabel*>())
        if (l->property("printRow").toString() == spin->objectName()) row << l;
    return row;
}

void DocumentPrintDialog::BtnPrintClick() { closeWith(1); }
void DocumentPrintDialog::BtnCancelClick() { closeWith(0); }

void DocumentPrintDialog::enableRows(int type)
{
    // Unknown types leave the rows as they were. Dispatch notes, A5 stock receipts and requisitions
    // print nothing here; a credit note prints with the tax invoice counts.
    if (type < 0 || type > 10) return;
    const QList<QSpinBox*> byType[] = {{SpEdFaktOriginal, SpEdFaktPrepis}, {SpEdOprostena}, {SpEdStokRazp}, {SpEdKonsign},
                                       {SpEdDorvStRazp}, {SpEdDorvexOriginal, SpEdDorvexPrepis}, {SpEdStRazpValuti}, {},
                                       {}, {}, {SpEdFaktOriginal, SpEdFaktPrepis}};
    for (QSpinBox* spin : findChildren<QSpinBox*>()) {
        const bool on = byType[type].contains(spin);
        for (QWidget* w : rowOf(spin)) w->setEnabled(on);
    }
}

bool DocumentPrintDialog::ask(int documentType)
{
    enableRows(documentType);
    return UiService::current().showModal(this) == 1;
}

PrintCounts DocumentPrintDialog::counts(int type) const
{
    switch (type) {
    case 0:
    case 10: return {SpEdFaktOriginal->value(), SpEdFaktPrepis->value()};
    case 1: return {SpEdOprostena->value(), 0};
    case 2: return {SpEdStokRazp->value(), 0};
    case 3: return {SpEdKonsign->value(), 0};
    case 4: return {SpEdDorvStRazp->value(), 0};
    case 5: return {SpEdDorvexOriginal->value(), SpEdDorvexPrepis->value()};
    case 6: return {SpEdStRazpValuti->value(), 0};
    default: return {};
    }
}

TFormOKBottomDlg::TFormOKBottomDlg(QWidget* parent) : DocumentPrintDialog(u"FormOKBottomDlg"_s, false, parent) {}
