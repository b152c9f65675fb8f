#include "sales/qrfaktura.h"

#include "common/basecurrency.h"
#include "data/dmns.h"
#include "sales/layoutblocks.h"

#include <QHash>

using namespace Report;
using namespace Qt::StringLiterals;
using InvoicePrint::Heading;

namespace {

constexpr double kLine = 5.5;  // mm, one line of the header blocks
constexpr double kRow = 5;     // mm, one invoice line
const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
const QString kOriginal = u"ОРИГИНАЛ"_s;

using LayoutBlocks::serif;

// Which heading text each fillable label shows.
QString Heading::*textOf(const QString& name)
{
    static const QHash<QString, QString Heading::*> table = {
        {u"QRLbNFakt"_s, &Heading::number},           {u"QRLbDateFakt"_s, &Heading::date},
        {u"QRLbDateVyznSyb"_s, &Heading::taxEventDate}, {u"QRLbNfaktKred"_s, &Heading::creditedInvoice},
        {u"QRLbNporychka"_s, &Heading::order},        {u"QRLbNstRazp"_s, &Heading::stockReceipt},
        {u"QRLbMqstoSdelka"_s, &Heading::placeOfDeal}, {u"QRLbMOLFirma"_s, &Heading::companyMol},
        {u"QRLbSystavil"_s, &Heading::compiledBy},    {u"QRLbVidPlastane"_s, &Heading::paymentType},
        {u"QRLbOsnovanie"_s, &Heading::vatBasis},     {u"QRLbBelegki"_s, &Heading::remarks},
        {u"QRLbDatePoluchena"_s, &Heading::receivedOn}, {u"QRLbClientIme"_s, &Heading::receivedBy},
        {u"QRLbClientEGN"_s, &Heading::receiverEgn},  {u"QRLbClientLK"_s, &Heading::receiverLk},
        {u"QRLbSumaBezDDS"_s, &Heading::sumWithoutVat}, {u"QRLbOtstProcent"_s, &Heading::discountPct},
        {u"QRLbOtstStoinost"_s, &Heading::discountAmount}, {u"QRLbOblagaemaSt"_s, &Heading::taxable},
        {u"QRLbDDSProcent"_s, &Heading::vatPct},      {u"QRLbDDSStoinost"_s, &Heading::vat},
        {u"QRLbSumaObsto"_s, &Heading::total},        {u"QRLbSumaPlastane"_s, &Heading::total},
        {u"QRLbSlovom"_s, &Heading::words},           {u"QRLbNFaktFooter"_s, &Heading::number},
    };
    return table.value(name, nullptr);
}

QString InvoicePrint::Recipient::*recipientTextOf(const QString& name)
{
    using R = InvoicePrint::Recipient;
    static const QHash<QString, QString R::*> table = {
        {u"QRLbPoluchatel"_s, &R::name}, {u"QRLbAdres_Grad"_s, &R::town},   {u"QRLbAdres_UlicaN"_s, &R::street},
        {u"QRLbTDan_No"_s, &R::idCaption}, {u"QRLbDan_No"_s, &R::id},     {u"QRLbTBulstat"_s, &R::vatCaption},
        {u"QRLbBulstat"_s, &R::vat},     {u"QRLbMOL"_s, &R::mol},
    };
    return table.value(name, nullptr);
}

} // namespace

TQRInvoice::TQRInvoice(const QString& name, Kind kind, bool recorded, TDMNS& dm, SmpDataset& lines)
    : Layout(name), kind_(kind), recorded_(recorded), dm_(dm), lines_(lines)
{
    setPage(Paper::A4, Orientation::Portrait);
    margins = Margins{10, 10, 10, 10};
    printIfEmpty = true;

    // The tax invoice and the credit note print their heading once; the others on every page.
    const bool everyPage = kind == Kind::Simplified || kind == Kind::Chain;
    Band& head = addBand(everyPage ? BandType::PageHeader : BandType::Title, 10);
    head.frame = Frame::box(0.3);
    recipientAndSupplier(head, 0);
    double y = title(head, 52);
    head.height = y + 1;
    if (everyPage) {
        LayoutBlocks::columnHeader(head, columns(), y + 1);
        head.height = y + 1 + 10;
    } else {
        Band& titles = addBand(BandType::ColumnHeader, 10);
        LayoutBlocks::columnHeader(titles, columns(), 2);
        titles.height = 12;
    }
    detail();
    summary();
    footer();
}

Item& TQRInvoice::label(Band& band, const QString& name, const QRectF& rect, const QString& text, double size, bool bold)
{
    return LayoutBlocks::label(band, name, rect, text, size, bold);
}

void TQRInvoice::recipientAndSupplier(Band& b, double y)
{
    const bool chain = kind_ == Kind::Chain;
    LayoutBlocks::PartyCaptions c;
    c.recipient = chain ? (recorded_ ? u" Получател :"_s : u" Получател "_s) : (recorded_ ? u"Получател :"_s : u" Получател :"_s);
    c.supplier = chain ? u" Доставчик "_s : (recorded_ ? u"Доставчик :"_s : u" Доставчик :"_s);
    LayoutBlocks::parties(b, y, bodyWidth(), dm_.SmpFirma, c);
}

double TQRInvoice::title(Band& b, double y)
{
    const double w = bodyWidth();
    QString caption = u"Ф А К Т У Р А"_s;
    if (kind_ == Kind::Simplified) caption = u"П Р О Ф О Р М А   Ф А К Т У Р А"_s;
    if (kind_ == Kind::CreditNote) caption = u"К Р Е Д И Т Н О   И З В Е С Т И Е"_s;
    label(b, u"QRLbTitle"_s, {0, y, w, 9}, caption, 16, true).align(Qt::AlignCenter);
    // "№ <number> / <date>", centred as one line.
    const double mid = w / 2;
    label(b, QString(), {mid - 42, y + 9, 8, 7}, u"№"_s, 12, true).align(kRight);
    label(b, u"QRLbNFakt"_s, {mid - 33, y + 9, 34, 7}, {}, 12, true).align(Qt::AlignCenter);
    label(b, QString(), {mid + 1, y + 9, 5, 7}, u"/"_s, 12, true).align(Qt::AlignCenter);
    label(b, u"QRLbDateFakt"_s, {mid + 6, y + 9, 30, 7}, {}, 12, true);
    if (kind_ != Kind::Simplified)
        label(b, u"QRLbOriginal"_s, {w - 40, y + 2, 38, 8}, kOriginal, 12, true).align(Qt::AlignCenter);
    y += 17;
    if (kind_ == Kind::CreditNote) {
        label(b, QString(), {mid - 42, y, 40, kLine}, u"към Фактура №"_s, 10).align(kRight);
        label(b, u"QRLbNfaktKred"_s, {mid - 1, y, 70, kLine}, {}, 10, true);
        y += kLine + 1;
    }
    if (kind_ != Kind::Simplified) {
        label(b, QString(), {1, y, 76, kLine}, u"Дата на данъчното събитие/дата на плащане :"_s, 8);
        label(b, u"QRLbDateVyznSyb"_s, {77, y, 30, kLine}, {}, 9, true);
        y += kLine;
    }
    if (kind_ == Kind::Chain) {
        label(b, QString(), {1, y, 20, kLine}, u"Поръчка №"_s);
        label(b, u"QRLbNporychka"_s, {21, y, 35, kLine}, {}, 9, true);
        label(b, QString(), {60, y, 34, kLine}, u"Стокова разписка №"_s);
        label(b, u"QRLbNstRazp"_s, {94, y, 35, kLine}, {}, 9, true);
        y += kLine;
    }
    return y;
}

QList<TQRInvoice::Column> TQRInvoice::columns() const
{
    const QString name = recorded_ ? u"IME_MATERIAL_IZDELIE"_s : u"ImeMaterial"_s;
    const QString unit = recorded_ ? u"IMEMKA"_s : u"ImeMkaMat"_s;
    QString price = u"CENA_MATERIAL_IZDELIE"_s;
    QString value = recorded_ ? u"CENA_OBSTO_MATERIAL_IZDELIE"_s : u"CenaMatIzdBroiObsto"_s;
    if (recorded_ && kind_ == Kind::Simplified) price = u"CENA_MAT_IZD_DDS"_s, value = u"CENA_OBSTO_MAT_IZD_DDS"_s;
    const QString qty = u"BROI_MATERIAL_IZDELIE"_s;
    if (kind_ == Kind::Chain)
        return {{u"№"_s, {}, 8, true},
                {u"Арт. №\nПолучател"_s, u"ARTN_POLUCH"_s, 19, false},
                {u"Арт. №\nДоставчик"_s, u"ARTN_DOSTAV"_s, 19, false},
                {u"Наименование"_s, name, 55, false},
                {u"Баркод"_s, u"BARKOD"_s, 25, false},
                {u"Мяр-\nка"_s, unit, 10, false},
                {u"Коли-\nчество"_s, qty, 16, true},
                {u"Ед. цена"_s, price, 17, true},
                {u"Стойност"_s, value, 21, true}};
    const bool simplified = kind_ == Kind::Simplified;
    return {{u"№"_s, {}, 9, true},
            {u"Наименование"_s, name, 74, false},
            {simplified ? u"Мярка"_s : u"М-ка"_s, unit, 15, false},
            {simplified ? u"Количество"_s : u"Колич."_s, qty, 25, true},
            {u"Ед. цена"_s, price, 22, true},
            {u"% ТО"_s, u"OTST_IZDELIE"_s, 15, true},
            {u"Стойност"_s, value, 30, true}};
}

void TQRInvoice::detail() { LayoutBlocks::lineDetail(setDetail(&lines_, kRow), columns(), dm_.SmpMateriali); }

// One band, so the totals, words, remarks and signatures stay together on the last page.
void TQRInvoice::summary()
{
    const double w = bodyWidth();
    Band& b = addBand(BandType::Summary, 100);
    // Totals, right-aligned in framed boxes, the VAT basis beside them.
    const double cx = w - 110, vx = w - 32;
    double y = 2;
    const auto box = [&](const QString& name, double at, bool bold = true) {
        label(b, name, {vx, at, 32, kLine}, {}, 9, bold).align(kRight).framed(Frame::box(0.2));
    };
    const auto row = [&](const QString& caption, const QString& name, bool bold = false) {
        label(b, QString(), {cx, y, 76, kLine}, caption, 9, bold).align(kRight);
        box(name, y);
        y += kLine;
    };
    row(u"Сума без ДДС :"_s, u"QRLbSumaBezDDS"_s);
    label(b, QString(), {cx, y, 52, kLine}, recorded_ ? u"Отстъпка:"_s : u"Отстъпка :"_s).align(kRight);
    label(b, u"QRLbOtstProcent"_s, {cx + 52, y, 16, kLine}).align(kRight);
    label(b, QString(), {cx + 69, y, 6, kLine}, u"%"_s);
    box(u"QRLbOtstStoinost"_s, y);
    y += kLine;
    row(u"Данъчна основа :"_s, u"QRLbOblagaemaSt"_s);
    label(b, QString(), {cx - 14, y, 34, kLine}, u"Данъчна ставка :"_s).align(kRight);
    label(b, u"QRLbDDSProcent"_s, {cx + 20, y, 9, kLine}).align(kRight);
    label(b, QString(), {cx + 30, y, 4, kLine}, u"%"_s);
    label(b, QString(), {cx + 34, y, 42, kLine}, u"Размер на данъка :"_s).align(kRight);
    box(u"QRLbDDSStoinost"_s, y);
    y += kLine;
    row(u"Сума на  данъчна основа и ДДС:"_s, u"QRLbSumaObsto"_s, true);
    if (!(kind_ == Kind::Chain && !recorded_)) {
        label(b, QString(), {0, 2, 21, kLine}, u"Основание :"_s);
        label(b, u"QRLbOsnovanie"_s, {0, 2 + kLine, cx - 2, kLine}, {}, 9, true);
    }
    y += 3;

    // Words and payment.
    label(b, QString(), {0, y, 16, kLine}, u"Словом:"_s, 9, true);
    label(b, u"QRLbSlovom"_s, {16, y, w - 16, kLine}, {}, 9, true);
    y += kLine;
    label(b, QString(), {0, y, 34, kLine}, u"Начин на плащане:"_s);
    label(b, u"QRLbVidPlastane"_s, {35, y, 60, kLine}, {}, 9, true);
    label(b, QString(), {w - 96, y, 40, kLine}, u"Сума за плащане:"_s, 10, true).align(kRight);
    label(b, u"QRLbSumaPlastane"_s, {w - 56, y, 40, kLine}, {}, 10, true).align(kRight);
    label(b, QString(), {w - 15, y, 15, kLine}, BaseCurrency::symbol(), 10, true);
    y += kLine + 2;

    // Remarks: two lines of the text.
    if (kind_ == Kind::Chain && recorded_) {
        label(b, QString(), {0, y, w, kLine}, u"Обстоятелства, които определят стоката като ново превозно средство"_s, 8);
        y += kLine;
    }
    label(b, QString(), {0, y, 17, kLine}, u"Бележки:"_s);
    label(b, u"QRLbBelegki"_s, {18, y, w - 18, 2 * kLine}).wrap().align(Qt::AlignLeft | Qt::AlignTop);
    y += 2 * kLine + 2;

    // Receipt, signatures, bank.
    const double half = w / 2 + 5;
    if (kind_ != Kind::Simplified) {
        label(b, QString(), {0, y, 38, kLine}, u"Стоката получена на:"_s);
        label(b, u"QRLbDatePoluchena"_s, {39, y, 24, kLine}, {}, 9, true);
        label(b, QString(), {0, y + kLine, 8, kLine}, u"От "_s);
        label(b, u"QRLbClientIme"_s, {8, y + kLine, half - 10, kLine}, {}, 9, true);
        label(b, QString(), {0, y + 2 * kLine, 10, kLine}, u"ЕГН:"_s);
        label(b, u"QRLbClientEGN"_s, {10, y + 2 * kLine, 26, kLine}, {}, 9, true);
        label(b, QString(), {38, y + 2 * kLine, 10, kLine}, u"ЛК №"_s);
        label(b, u"QRLbClientLK"_s, {48, y + 2 * kLine, 30, kLine}, {}, 9, true);
        label(b, QString(), {0, y + 3 * kLine + 1, half - 5, kLine}, u"Подпис: .............................................."_s);
    }
    label(b, QString(), {half, y, 20, kLine}, u"Съставил :"_s);
    label(b, u"QRLbSystavil"_s, {half + 20, y, w - half - 20, kLine}, {}, 9, true);
    label(b, QString(), {half, y + 3 * kLine + 1, w - half, kLine}, u"Подпис: ................................................"_s);
    y += 4 * kLine + 4;
    b.addHLine(QString(), 0, w, y - 1).lineWidth = 0.2;
    const auto bank = [&](double x, double width, double captionWidth, const QString& caption, const QString& field) {
        label(b, QString(), {x, y, captionWidth, kLine}, caption, 8);
        b.addField(u"QRDBText"_s + field, {x + captionWidth, y, width - captionWidth, kLine}, &dm_.SmpFirma, field)
            .withFont(serif(8, true));
    };
    bank(0, 70, 13, u"Банка :"_s, u"BANK"_s);
    const bool chain = kind_ == Kind::Chain;
    bank(70, 50, chain ? 24 : 15, chain ? u"Swift BIC код :"_s : u"BIC код :"_s, u"BANK_CODE"_s);
    bank(120, w - 120, 21, u"IBAN сметка:"_s, u"BANK_SMETKA"_s);
    b.height = y + kLine + 1;
}

void TQRInvoice::footer()
{
    const double w = bodyWidth();
    Band& f = addBand(BandType::PageFooter, 7);
    if (kind_ == Kind::Tax) {
        label(f, QString(), {0, 1, 22, kLine}, u"Документ №"_s, 8);
        label(f, u"QRLbNFaktFooter"_s, {22, 1, 40, kLine}, {}, 8, true);
    }
    f.addSystem(u"QRSysDataPage"_s, {w - 40, 1, 40, kLine}, SystemData::PageOfPages,
                (recorded_ ? u"Стр. %1 / %2"_s : u"Стр. - %1 / %2"_s))
        .align(kRight).withFont(serif(8));
}

void TQRInvoice::fill(const Heading& h)
{
    for (const auto& band : bands())
        for (const auto& item : band->items()) {
            if (item->name.isEmpty() || item->kind != ItemKind::Label) continue;
            if (QString Heading::*member = textOf(item->name)) item->caption = h.*member;
            else if (QString InvoicePrint::Recipient::*r = recipientTextOf(item->name)) item->caption = h.recipient.*r;
        }
}

Document TQRInvoice::buildCopies(int originals, int copies)
{
    originals = std::max(0, originals), copies = std::max(0, copies);
    if (findItem(u"QRLbOriginal"_s))
        return Report::buildCopies(*this, originals + copies, u"QRLbOriginal"_s,
                                   [originals](int copy) { return copy < originals ? kOriginal : QString(); });
    Document doc;
    const Document one = build();
    doc.name = one.name, doc.paper = one.paper, doc.orientation = one.orientation, doc.pageSize = one.pageSize;
    for (int c = 0; c < originals + copies; ++c)
        for (Page p : one.pages) {
            p.copy = c;
            doc.pages << p;
        }
    return doc;
}
