#include "warehouse/qrsklrazp.h"

#include "data/dmns.h"
#include "data/dmsklad.h"
#include "platform/base/formats.h"

#include <cmath>

using namespace Report;
using namespace Qt::StringLiterals;

namespace {

constexpr double kRow = 5;
const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
const QString kFooter = u"Стоката е приета в склада по количество и цена съгласно документа на доставчика."_s;

// The quantity in whole units, as the A5 receipt prints it; a fractional quantity keeps its
// decimals rather than being rounded off.
QString wholeQuantity(const RowContext& row)
{
    const double q = row.value(u"KOLICHESTVO"_s).toDouble();
    return Formats::formatNumber(q, std::abs(q - std::round(q)) < 1e-9 ? u"# ### ###"_s : u"# ### ##0.000"_s);
}

} // namespace

TQRSklRazpBase::TQRSklRazpBase(const QString& name, TDMSklad& sklad, Paper paper, Orientation orientation)
    : Layout(name), sklad_(sklad)
{
    setPage(paper, orientation);
    margins = Margins{8, 8, 8, 8};
    printIfEmpty = true;
}

void TQRSklRazpBase::fill(const ReceiptHeading& h)
{
    setCaption(u"QRLbNFakt"_s, h.document);
    setCaption(u"QRLbDateSkladRazp"_s, h.documentDate);
    setCaption(u"QRLbSklRazpNum"_s, h.receiptNumber);
    setCaption(u"QRLbSklRazpData"_s, h.receivedDate);
    if (findItem(u"QRLbImekontragent"_s)) setCaption(u"QRLbImekontragent"_s, h.supplier);
}

Document TQRSklRazpBase::build() const { return Report::build(*this); }

void TQRSklRazpBase::heading(Band& header, double y, const QList<Column>& columns)
{
    const double w = bodyWidth();
    const Font title = Font::sized(12, true);
    header.addLabel(QString(), {0, y, w * 0.62, 8}, u"С К Л А Д О В А   Р А З П И С К А   №"_s)
        .align(kRight).withFont(title);
    header.addLabel(u"QRLbSklRazpNum"_s, {w * 0.62 + 2, y, 18, 8}, QString()).withFont(title);
    header.addLabel(QString(), {w * 0.62 + 20, y, 4, 8}, u"/"_s).withFont(title);
    header.addLabel(u"QRLbSklRazpData"_s, {w * 0.62 + 24, y, 30, 8}, QString()).withFont(title);
    header.addLabel(QString(), {0, y + 9, w * 0.62, 6}, u"Към факт./скл.разп./ №"_s).align(kRight);
    header.addLabel(u"QRLbNFakt"_s, {w * 0.62 + 2, y + 9, 22, 6}, QString()).withFont(Font::sized(9, true));
    header.addLabel(QString(), {w * 0.62 + 24, y + 9, 4, 6}, u"/"_s);
    header.addLabel(u"QRLbDateSkladRazp"_s, {w * 0.62 + 28, y + 9, 24, 6}, QString()).withFont(Font::sized(9, true));

    Band& detail = setDetail(&sklad_.SmpDostavka, kRow);
    detail.frame = Frame::sides(false, false, false, true, 0.1);
    double x = 0;
    const double top = y + 17;
    for (const Column& c : columns) {
        header.addLabel(QString(), {x, top, c.width, 7}, QString::fromUtf8(c.heading))
            .align(Qt::AlignCenter).framed(Frame::box(0.2)).filled(QColor(235, 235, 235)).withFont(Font::sized(8, true));
        const QRectF cell{x, 0, c.width, kRow};
        const QString field = c.field ? QString::fromLatin1(c.field) : QString();
        if (field.isEmpty())
            detail.addSystem(u"QRSysDataNo"_s, cell, SystemData::LineNumber).align(kRight).withFont(Font::sized(8));
        else if (field == u"ImeMaterial"_s || field == u"Valuta"_s)
            detail.addField(u"QRDBText"_s + field, cell, nullptr, field).withFont(Font::sized(8));
        else if (field == u"WholeQuantity"_s)
            detail.addExpression(u"QRDBTextKOLICHESTVO"_s, cell, wholeQuantity).align(kRight).withFont(Font::sized(8));
        else
            detail.addField(u"QRDBText"_s + field, cell, nullptr, field).align(kRight).withFont(Font::sized(8));
        if (field == u"ObstoCenaOtstDDS"_s) totalX_ = x, totalWidth_ = c.width;
        detail.addVLine(QString(), x).lineWidth = 0.1;
        x += c.width;
    }
    detail.addVLine(QString(), x).lineWidth = 0.1;
}

double TQRSklRazpBase::totals(Band& summary, double y)
{
    SmpDataset* lines = &sklad_.SmpDostavka;
    for (const auto& [copy, sum, code] : {std::tuple{"SumObstoLVAgg", "SumObCenaLv", "BGN"},
                                          std::tuple{"SumObstoUSDAgg", "SumObCenaUSD", "USD"},
                                          std::tuple{"SumObstoEURAgg", "SumObCenaEUR", "EUR"}}) {
        const QString total = QString::fromLatin1(sum);
        // The document totals, 0.00 for a receipt without lines.
        summary.addExpression(u"QRDBText"_s + QString::fromLatin1(copy), {totalX_, y, totalWidth_, kRow},
                              [lines, total](const RowContext&) {
                                  const SmpField* f = lines->findField(total);
                                  return Formats::formatNumber(f && lines->isActive() ? f->asFloat() : 0.0,
                                                               u"# ### ##0.00"_s);
                              })
            .align(kRight).framed(Frame::box(0.1)).withFont(Font::sized(8, true));
        summary.addLabel(QString(), {totalX_ + totalWidth_ + 1, y, 12, kRow}, QString::fromLatin1(code))
            .withFont(Font::sized(8, true));
        y += kRow;
    }
    return y;
}

void TQRSklRazpBase::footer(Band& summary, double y)
{
    summary.addLabel(u"QRLbFooter"_s, {0, y, bodyWidth(), kRow}, kFooter).withFont(Font::sized(7).withItalic());
}

TQRSklRazp::TQRSklRazp(TDMNS& dm, TDMSklad& sklad) : TQRSklRazpBase(u"TQRSklRazp"_s, sklad, Paper::A5, Orientation::Landscape)
{
    Band& header = addBand(BandType::PageHeader, 33);
    header.addLabel(QString(), {0, 0, 24, 6}, u"Доставчик :"_s);
    header.addField(u"QRDBTextKontragent"_s, {24, 0, 120, 6}, &dm.SmpIzbKontr, u"IMEKONTRAGENT"_s)
        .withFont(Font::sized(10, true));
    heading(header, 9, {{"№", nullptr, 10}, {"Наименование", "ImeMaterial", 88}, {"Колич.", "WholeQuantity", 22},
                        {"Цена", "Cena", 26}, {"Общо", "ObstoCenaOtstDDS", 30}, {"Валута", "Valuta", 18}});
    Band& summary = addBand(BandType::Summary, 3 * kRow + 10);
    footer(summary, totals(summary, 1) + 3);
}

TQRSklRazpA4::TQRSklRazpA4(TDMNS& dm, TDMSklad& sklad)
    : TQRSklRazpBase(u"TQRSklRazpA4"_s, sklad, Paper::A4, Orientation::Portrait)
{
    const double w = bodyWidth();
    Band& header = addBand(BandType::PageHeader, 33);
    header.addLabel(QString(), {0, 0, 24, 6}, u"Доставчик :"_s);
    header.addLabel(u"QRLbImekontragent"_s, {24, 0, 80, 6}, QString()).withFont(Font::sized(10, true));
    header.addField(u"QRDBTextFirma"_s, {w - 84, 0, 84, 6}, &dm.SmpFirma, u"IMEFIRMA"_s)
        .align(kRight).withFont(Font::sized(10, true));
    heading(header, 9, {{"№", nullptr, 9}, {"Наименование", "ImeMaterial", 71}, {"Количество", "KOLICHESTVO", 22},
                        {"Цена", "Cena", 22}, {"% ТО", "PROCENT_OTST", 14}, {"% ДДС", "PROCENT_DDS", 14},
                        {"Общо", "ObstoCenaOtstDDS", 28}, {"Валута", "Valuta", 14}});
    Band& summary = addBand(BandType::Summary, 3 * kRow + 40);
    double y = totals(summary, 1) + 8;
    const auto signature = [&summary](double x, double y, const QString& who) {
        summary.addLabel(QString(), {x, y, 20, 6}, who);
        summary.addLabel(QString(), {x + 20, y, 50, 6}, u"......................................"_s);
    };
    signature(0, y, u"Предал : "_s);
    signature(95, y, u"Приел : "_s);
    signature(0, y + 8, u"Подпис : "_s);
    signature(95, y + 8, u"Подпис : "_s);
    footer(summary, y + 18);
}
