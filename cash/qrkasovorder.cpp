#include "cash/qrkasovorder.h"

#include "common/basecurrency.h"
#include "data/dmns.h"

#include <QHash>

using namespace Report;
using namespace Qt::StringLiterals;

namespace {

constexpr double kLine = 5.5;  // mm, one line of text
// The caption of the company ID: the receipt and payment forms print it differently.
const QString kReceiptId = u"Ид.№"_s;
const QString kPaymentId = u"Ид №"_s;

// Which part of the order each fillable label shows, by its name without trailing underscores.
QString CashOrderPrint::*contentOf(QString name)
{
    while (name.endsWith(u'_')) name.chop(1);
    static const QHash<QString, QString CashOrderPrint::*> table = {
        {u"QRLbNPKO"_s, &CashOrderPrint::number},           {u"QRLbNRKO"_s, &CashOrderPrint::number},
        {u"QRLbDatePKO"_s, &CashOrderPrint::date},          {u"QRLbDateRKO"_s, &CashOrderPrint::date},
        {u"QRLbImePrezFam"_s, &CashOrderPrint::name},       {u"QRLbGrad"_s, &CashOrderPrint::town},
        {u"QRLbAdres"_s, &CashOrderPrint::address},         {u"QRLbOsnovanieKO"_s, &CashOrderPrint::basis},
        {u"QRLbSumaPKO"_s, &CashOrderPrint::amount},        {u"QRLbSumaRKO"_s, &CashOrderPrint::amount},
        {u"QRLbSumaPKOTXT"_s, &CashOrderPrint::words},      {u"QRLbSumaRKOTXT"_s, &CashOrderPrint::words},
        {u"QRLbValutaKurs"_s, &CashOrderPrint::rate},       {u"QRLbValutaIme"_s, &CashOrderPrint::currencyName},
        {u"QRLbValutaOpisanie"_s, &CashOrderPrint::currencyDescription},
        {u"QRLvObsto"_s, &CashOrderPrint::baseAmount},      {u"QRLvObstoLV"_s, &CashOrderPrint::baseAmount},
        {u"QRLbSumaPKO_LV"_s, &CashOrderPrint::baseAmount}, {u"QRLbSumaRKO_LV"_s, &CashOrderPrint::baseAmount},
    };
    return table.value(name, nullptr);
}

} // namespace

TQRKasovOrder::TQRKasovOrder(const QString& name, TDMNS& dm, Orientation orientation) : Layout(name), dm_(dm)
{
    setPage(Paper::A5, orientation);
    margins = Margins{6, 6, 6, 6};
    band_ = &setDetail(&dm.SmpFirma, pageSize().height() - margins.top - margins.bottom - 1);
}

void TQRKasovOrder::fill(const CashOrderPrint& order)
{
    for (const auto& item : band_->items())
        if (QString CashOrderPrint::*member = contentOf(item->name); member && !item->name.isEmpty())
            item->caption = order.*member;
}

Document TQRKasovOrder::build() const { return Report::build(*this); }

void TQRKasovOrder::text(double x, double y, double w, const QString& caption, bool bold, double size)
{
    band_->addLabel(QString(), {x, y, w, kLine}, caption).withFont(Font::sized(size, bold));
}

void TQRKasovOrder::value(const QString& name, double x, double y, double w, bool bold)
{
    band_->addLabel(name, {x, y, w, kLine}, QString())
        .withFont(Font::sized(9, bold))
        .framed(Frame::sides(false, false, false, true, 0.1));
}

void TQRKasovOrder::company(double x, double y, double w, const QString& idCaption)
{
    band_->addField(u"QRDBTextFirma"_s, {x, y, w, kLine}, &dm_.SmpFirma, u"IMEFIRMA"_s).withFont(Font::sized(10, true));
    if (idCaption.isEmpty()) return;
    text(x, y + kLine, 12, idCaption);
    band_->addField(u"QRDBTextBulstat"_s, {x + 12, y + kLine, 40, kLine}, &dm_.SmpFirma, u"BULSTAT"_s);
}

void TQRKasovOrder::signature(double x, double y, const QString& who, const QString& sign)
{
    text(x, y, 30, who);
    text(x + 30, y, 40, sign + u" ............"_s);
}

void TQRKasovOrder::accountingTable(double x, double y, double w, const QString& lastCaption)
{
    const double c[] = {x, x + w * 0.1, x + w * 0.4, x + w * 0.7, x + w};
    const QStringList heads = {u"№"_s, u"Дебит с/ка"_s, u"Кредит с/ка"_s, u"Сума"_s};
    for (int i = 0; i < 4; ++i)
        for (int row = 0; row < 3; ++row)
            band_->addLabel(QString(), {c[i], y + row * kLine, c[i + 1] - c[i], kLine}, row == 0 ? heads[i] : QString())
                .align(Qt::AlignCenter)
                .framed(Frame::box(0.15))
                .withFont(Font::sized(8));
    text(x, y + 3 * kLine, w, lastCaption + u" ..............................."_s, false, 8);
}

void TQRKasovOrder::currencyTable(double x, double y, double w, const QString& suffix, const QString& amountName,
                                  const QString& baseName, const QString& baseHeading)
{
    const double c[] = {x, x + w * 0.07, x + w * 0.37, x + w * 0.5, x + w * 0.67, x + w * 0.8, x + w};
    band_->addLabel(QString(), {c[0], y, c[5] - c[0], kLine}, u"В А Л У Т А"_s)
        .align(Qt::AlignCenter).framed(Frame::box(0.15)).withFont(Font::sized(8, true));
    band_->addLabel(QString(), {c[5], y, c[6] - c[5], kLine * 2}, baseHeading)
        .align(Qt::AlignCenter).framed(Frame::box(0.15)).wrap().withFont(Font::sized(7));
    const QStringList heads = {u"№"_s, u"Вид"_s, u"Шифър"_s, u"Размер"_s, u"Курс"_s};
    const QStringList names = {QString(), u"QRLbValutaOpisanie"_s + suffix, u"QRLbValutaIme"_s + suffix, amountName,
                               u"QRLbValutaKurs"_s + suffix, baseName};
    for (int i = 0; i < 5; ++i)
        band_->addLabel(QString(), {c[i], y + kLine, c[i + 1] - c[i], kLine}, heads[i])
            .align(Qt::AlignCenter).framed(Frame::box(0.15)).withFont(Font::sized(8));
    for (int i = 0; i < 6; ++i)
        band_->addLabel(names[i], {c[i], y + 2 * kLine, c[i + 1] - c[i], kLine}, i == 0 ? u"1"_s : QString())
            .align(i >= 3 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter)
            .framed(Frame::box(0.15))
            .withFont(Font::sized(8));
}

void TQRKasovOrder::recipientLines(double x, double y, double w)
{
    const QStringList lines = {
        u"Получих сумата, пълн.№ ........... от ........... ЕГН ..................."_s,
        u"Лична карта № ..................... издадена на ................. от ..........."_s,
        u"от ................................................ подпис: ................"_s,
        u"Съставил: ................   Броил сумата: ................ касиер"_s};
    for (int i = 0; i < lines.size(); ++i) text(x, y + i * kLine, w, lines[i], false, 8);
}

TQRPrihKO::TQRPrihKO(TDMNS& dm) : TQRKasovOrder(u"TQRPrihKO"_s, dm, Orientation::Landscape)
{
    const double half = bodyWidth() / 2, w = half - 4, r = half + 4;
    const QString lv = BaseCurrency::symbol();
    band_->addVLine(QString(), half, 0).lineWidth = 0.1;
    // The order.
    company(0, 0, w, kReceiptId);
    text(0, 14, 60, u"ПРИХОДЕН КАСОВ ОРДЕР  №"_s, true, 10);
    value(u"QRLbNPKO"_s, 60, 14, 12, true);
    text(73, 14, 3, u"/"_s);
    value(u"QRLbDatePKO"_s, 76, 14, w - 76);
    text(0, 24, 30, u"Да се приеме от:"_s);
    value(u"QRLbImePrezFam"_s, 30, 24, w - 30);
    text(0, 31, 30, u"За/ срещу:"_s);
    value(u"QRLbOsnovanieKO"_s, 30, 31, w - 30);
    text(0, 38, 30, u"Сумата:"_s);
    value(u"QRLbSumaPKO"_s, 30, 38, 30, true);
    text(61, 38, 10, lv);
    text(0, 45, 30, u"Словом:"_s);
    band_->addLabel(u"QRLbSumaPKOTXT"_s, {30, 45, w - 30, kLine * 2}, QString()).wrap().withFont(Font::sized(8));
    signature(0, 60, u"Касиер:"_s);
    signature(0, 67, u"Вносител:"_s);
    signature(0, 74, u"Гл.счетоводител:"_s);
    accountingTable(0, 86, w, u"Всичко:"_s);
    text(0, 114, w, u"Гл.счетоводител: ..............................."_s, false, 8);
    // The stub for the payer.
    company(r, 0, w, {});
    text(r, 14, 62, u"КВИТАНЦИЯ Към прих. ордер №"_s, true, 9);
    value(u"QRLbNPKO_"_s, r + 63, 14, 14, true);
    text(r, 24, 28, u"Получен от:"_s);
    value(u"QRLbImePrezFam_"_s, r + 28, 24, w - 28);
    text(r, 31, 28, u"За/ срещу:"_s);
    value(u"QRLbOsnovanieKO_"_s, r + 28, 31, w - 28);
    text(r, 38, 28, u"Сумата:"_s);
    value(u"QRLbSumaPKO_"_s, r + 28, 38, 30, true);
    text(r + 59, 38, 10, lv);
    text(r, 45, 28, u"Словом:"_s);
    band_->addLabel(u"QRLbSumaPKOTXT_"_s, {r + 28, 45, w - 28, kLine * 2}, QString()).wrap().withFont(Font::sized(8));
    value(u"QRLbDatePKO_"_s, r, 67, 25);
    signature(r + 27, 67, u"Гл.счетоводител:"_s);
    value(u"QRLbDatePKO__"_s, r, 74, 25);
    signature(r + 27, 74, u"Касиер:"_s);
}

void TQRKasovOrder::paymentHeading(double w)
{
    text(0, 14, w, u"Р А З Х О Д Е Н КАСОВ ОРДЕР"_s, true, 12);
    text(0, 22, 8, u"№"_s);
    value(u"QRLbNRKO"_s, 8, 22, 20, true);
    text(32, 22, 12, u"Дата"_s);
    value(u"QRLbDateRKO"_s, 44, 22, 30);
    text(0, 30, 28, u"Да се брои на:"_s);
    value(u"QRLbImePrezFam"_s, 28, 30, w - 28);
    text(0, 37, 28, u"Град:"_s);
    value(u"QRLbGrad"_s, 28, 37, 40);
    text(70, 37, 14, u"ул.,№:"_s);
    value(u"QRLbAdres"_s, 84, 37, w - 84);
    text(0, 44, 28, u"За:"_s);
    value(u"QRLbOsnovanieKO"_s, 28, 44, w - 28);
}

TQRRazhKO::TQRRazhKO(TDMNS& dm) : TQRKasovOrder(u"TQRRazhKO"_s, dm, Orientation::Portrait)
{
    const double w = bodyWidth();
    company(0, 0, w, kPaymentId);
    paymentHeading(w);
    text(0, 53, 28, u"Сумата:"_s);
    value(u"QRLbSumaRKO"_s, 28, 53, 30, true);
    text(60, 53, 30, BaseCurrency::symbol() + u" Словом:"_s);
    band_->addLabel(u"QRLbSumaRKOTXT"_s, {28, 60, w - 28, kLine * 2}, QString()).wrap().withFont(Font::sized(8));
    signature(0, 74, u"Гл.счетоводител:"_s);
    signature(0, 81, u"Ръководител:"_s);
    recipientLines(0, 92, w);
    accountingTable(0, 120, w, u"Всичко:"_s);
    text(0, 150, w, u"Счетоводител: ..............................."_s, false, 8);
}

TQRPrihKOvaluta::TQRPrihKOvaluta(TDMNS& dm) : TQRKasovOrder(u"TQRPrihKOvaluta"_s, dm, Orientation::Portrait)
{
    const double w = bodyWidth(), half = (pageSize().height() - margins.top - margins.bottom) / 2;
    const QString lv = BaseCurrency::symbol();
    const auto part = [&](double y, const QString& s, bool stub) {
        company(0, y, w, stub ? QString() : kReceiptId);
        if (stub) {
            text(0, y + 7, 62, u"КВИТАНЦИЯ Към прих. ордер №"_s, true);
        } else {
            text(0, y + 12, 56, u"ПРИХОДЕН КАСОВ ОРДЕР  №"_s, true);
        }
        const double t = stub ? y + 7 : y + 12;
        value(u"QRLbNPKO"_s + s, 63, t, 14, true);
        text(78, t, 3, u"/"_s);
        value(u"QRLbDatePKO"_s + s, 81, t, 28);
        text(0, t + 7, 31, stub ? u"Получих от:"_s : u"Да се приеме от:"_s);
        value(u"QRLbImePrezFam"_s + s, 31, t + 7, w - 31);
        text(0, t + 13, 31, u"За/ срещу:"_s);
        value(u"QRLbOsnovanieKO"_s + s, 31, t + 13, w - 31);
        currencyTable(0, t + 20, w, s, u"QRLbSumaPKO"_s + s, u"QRLvObsto"_s + s, u"Равностойност в левове-сума"_s);
        text(0, t + 38, 20, u"Словом:"_s);
        band_->addLabel(u"QRLbSumaPKOTXT"_s + s, {20, t + 38, w - 20, kLine}, QString()).withFont(Font::sized(8));
        text(0, t + 44, 20, u"Всичко:"_s);
        value(u"QRLbSumaPKO_LV"_s + s, 20, t + 44, 30, true);
        text(51, t + 44, 10, lv);
        return t + 51;
    };
    double y = part(0, QString(), false);
    signature(0, y, u"Гл.счетоводител:"_s);
    signature(68, y, u"Касиер:"_s);
    accountingTable(0, y + 6, w * 0.7, u"Статия №"_s);
    text(0, y + 28, w, u"Счетоводител: ..............................."_s, false, 8);
    band_->addHLine(QString(), 0, w, half).lineWidth = 0.1;
    y = part(half + 2, u"_"_s, true);
    signature(0, y, u"Касиер:"_s, u"подпис и печат:"_s);
    signature(0, y + 6, u"Гл.счетоводител:"_s);
    signature(68, y + 6, u"Касиер:"_s);
}

TQRRazhKOvaluta::TQRRazhKOvaluta(TDMNS& dm) : TQRKasovOrder(u"TQRRazhKOvaluta"_s, dm, Orientation::Portrait)
{
    const double w = bodyWidth();
    company(0, 0, w, kPaymentId);
    paymentHeading(w);
    currencyTable(0, 52, w, QString(), u"QRLbSumaRKO"_s, u"QRLvObstoLV"_s, u"Равностойност в левове - сума"_s);
    text(0, 70, 20, u"Словом:"_s);
    band_->addLabel(u"QRLbSumaRKOTXT"_s, {20, 70, w - 20, kLine}, QString()).withFont(Font::sized(8));
    text(0, 76, 20, u"Всичко:"_s);
    value(u"QRLbSumaRKO_LV"_s, 20, 76, 30, true);
    text(51, 76, 10, BaseCurrency::symbol());
    text(70, 84, w - 70, u"Получих валутата и декларирам,"_s, false, 8);
    text(70, 89, w - 70, u"че са ми известни задълженията"_s, false, 8);
    text(70, 94, w - 70, u"до отчитането и."_s, false, 8);
    signature(0, 84, u"Гл.счетоводител:"_s);
    signature(0, 90, u"Ръководител:"_s);
    signature(0, 96, u"Броил сумата:"_s);
    recipientLines(0, 106, w);
    accountingTable(0, 132, w * 0.7, u"Статия №:"_s);
    text(0, 158, w, u"Счетоводител: ..............................."_s, false, 8);
}
