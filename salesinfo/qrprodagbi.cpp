#include "salesinfo/qrprodagbi.h"

#include "data/dmns.h"
#include "data/dmnsspravki.h"
#include "platform/base/formats.h"

using namespace Report;
using namespace Qt::StringLiterals;

namespace {

constexpr double kLine = 5;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

struct Column
{
    QString caption, field;  // no field: the running number
    double width;
    bool number;
};

// Company name, the period line with the labels the window fills, the column captions.
void pageHeader(Layout& layout, TDMNS& dm, const QString& title, const QList<Column>& columns)
{
    const double w = layout.bodyWidth();
    Band& head = layout.addBand(BandType::PageHeader, 4 * kLine + 4);
    head.addField(u"QRDBTextImeFirma"_s, {0, 0, w, 7}, &dm.SmpFirma, u"IMEFIRMA"_s).withFont(Font::sized(13, true));
    const double y = 8;
    head.addLabel(u"QRLbTitle"_s, {0, y, 75, kLine}, title).withFont(Font::sized(10, true));
    head.addLabel(u"QRLbProdagbiData_Ot"_s, {75, y, 22, kLine}, QString()).withFont(Font::sized(10, true));
    head.addLabel(QString(), {97, y, 8, kLine}, u"г. -"_s).withFont(Font::sized(10));
    head.addLabel(u"QRLbProdagbiData_Do"_s, {105, y, 22, kLine}, QString()).withFont(Font::sized(10, true));
    head.addLabel(QString(), {127, y, 6, kLine}, u"г."_s).withFont(Font::sized(10));
    double x = 0;
    const double cy = y + kLine + 3;
    for (const Column& c : columns) {
        head.addLabel(QString(), {x, cy, c.width, kLine}, c.caption)
            .withFont(Font::sized(8.5, true))
            .align(c.number ? kRight : Qt::AlignLeft | Qt::AlignVCenter);
        x += c.width;
    }
    head.addHLine(QString(), 0, w, cy + kLine + 0.5);
}

void detailBand(Layout& layout, SmpDataset& rows, const QList<Column>& columns)
{
    Band& d = layout.setDetail(&rows, kLine);
    double x = 0;
    for (const Column& c : columns) {
        const QRectF cell{x, 0, c.width, kLine};
        if (c.field.isEmpty()) d.addSystem(u"QRSysNomer"_s, cell, SystemData::LineNumber).align(kRight).withFont(Font::sized(8.5));
        else {
            Item& it = d.addField(u"QRDBText"_s + c.field, cell, &rows, c.field).withFont(Font::sized(8.5));
            if (c.number) it.align(kRight);
        }
        x += c.width;
    }
}

void setDates(Layout& layout, const QDate& from, const QDate& to)
{
    layout.setCaption(u"QRLbProdagbiData_Ot"_s, Formats::dateToText(from));
    layout.setCaption(u"QRLbProdagbiData_Do"_s, Formats::dateToText(to));
}

} // namespace

TQRProdagbi::TQRProdagbi(const QString& name, TDMNS& dm, TDMNsSpravki& spravki, bool clients) : Layout(name)
{
    setPage(Paper::A4, clients ? Orientation::Landscape : Orientation::Portrait);
    margins = Margins{10, 10, 10, 10};
    SmpDataset& rows = spravki.SmpSprRealizacia;
    const double w = bodyWidth();
    // The name takes what the other columns leave.
    const double fixed = 10 + (clients ? 70 : 0) + 18 + 20 + 24 + 26 + 14;
    QList<Column> columns = {{u"№"_s, {}, 10, true}, {u"Наименование"_s, u"IME_MATERIAL_IZDELIE"_s, w - fixed, false}};
    if (clients) columns.append({u"Клиент"_s, u"IMEKONTRAGENT"_s, 70, false});
    columns.append({{u"Дата"_s, u"DATEFAKTURA"_s, 18, false},
                    {u"Колич."_s, u"BROI_MATERIAL_IZDELIE"_s, 20, true},
                    {u"Ед. цена"_s, u"Cena"_s, 24, true},
                    {u"Общо"_s, u"CenaObsto"_s, 26, true},
                    {u"  Валута"_s, u"Valuta"_s, 14, false}});
    pageHeader(*this, dm, u"Продажби за период :"_s, columns);
    detailBand(*this, rows, columns);
    Band& sum = addBand(BandType::Summary, 3 * kLine + 3);
    sum.addHLine(QString(), 0, w, 1);
    const double right = w - 14;
    int line = 0;
    for (const auto& [field, currency] : {std::pair{"SumLV", "BGN"}, {"SumUSD", "USD"}, {"SumEUR", "EUR"}}) {
        const double y = 2 + kLine * line++;
        sum.addField(u"QRDBText"_s + QLatin1String(field), {right - 40, y, 40, kLine}, &rows, QString::fromLatin1(field))
            .withFont(Font::sized(9, true))
            .align(kRight);
        sum.addLabel(QString(), {right + 2, y, 12, kLine}, QString::fromLatin1(currency)).withFont(Font::sized(9, true));
    }
}

void TQRProdagbi::setPeriod(const QDate& from, const QDate& to) { setDates(*this, from, to); }

TQRProdagbiArtik::TQRProdagbiArtik(TDMNS& dm, TDMNsSpravki& spravki) : Layout(u"TQRProdagbiArtik"_s)
{
    setPage(Paper::A4, Orientation::Portrait);
    margins = Margins{10, 10, 10, 10};
    const double w = bodyWidth();
    const QList<Column> columns = {{u"№"_s, {}, 10, true},
                                   {u"Наименование"_s, u"IME_MATERIAL_IZDELIE"_s, w - 10 - 18 - 28 - 50, false},
                                   {u"  Мярка"_s, u"IMEMKA"_s, 18, false},
                                   {u"Количество"_s, u"KOLICHESTVO"_s, 28, true},
                                   {u"  Забележка"_s, {}, 50, false}};
    pageHeader(*this, dm, u"Продажби на артикули за период :"_s, columns);
    detailBand(*this, spravki.SmpSprRealizaciaArtik, columns.mid(0, 4));
    // The notes column stays empty for handwriting: a ruled line under each row.
    detail()->addHLine(QString(), w - 50, w, kLine - 0.3).lineWidth = 0.1;
}

void TQRProdagbiArtik::setPeriod(const QDate& from, const QDate& to) { setDates(*this, from, to); }
