#include "warehouse/qrnalichkymdata.h"

#include "data/dmns.h"
#include "data/dmsklspravki.h"
#include "platform/base/formats.h"

using namespace Report;
using namespace Qt::StringLiterals;

namespace {
constexpr double kRow = 5;
const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
const QString kHeading = u"Списък на наличностите към дата :"_s;

// What the rows of one currency print as their value at the average price: the total of a
// currency is the sum of its rows, whatever the list's own sums hold.
double printedTotal(const SmpDataset& stock, const QString& currency)
{
    if (!stock.isActive()) return 0;
    const SmpField* value = stock.findField(u"SrednaCenaObsto"_s);
    const SmpField* code = stock.findField(u"Valuta"_s);
    double total = 0;
    for (int i = 0; i < stock.recordCount(); ++i)
        if (stock.valueAt(i, code).toString() == currency) total += stock.valueAt(i, value).toDouble();
    return total;
}
} // namespace

TQRNalichKymData::TQRNalichKymData(TDMNS& dm, TDMSklSpravki& spravki)
    : TQRNalichKymData(u"TQRNalichKymData"_s, dm, spravki,
                       {{"№", nullptr, 12, true}, {"Наименование", "IMEMATERIAL", 118, false},
                        {"Мка", "MIARKA_BG", 24, false}, {"Количество", "NALICHNOST", 36, true}})
{
}

TQRNalichKymData::TQRNalichKymData(const QString& name, TDMNS& dm, TDMSklSpravki& spravki,
                                   std::initializer_list<Column> columns)
    : Layout(name), stock_(spravki.SmpSprMatKymData)
{
    setPage(Paper::A4, Orientation::Portrait);
    margins = Margins{10, 10, 10, 10};
    printIfEmpty = true;
    SmpDataset* stock = &stock_;
    const double w = bodyWidth();

    Band& header = addBand(BandType::PageHeader, 28);
    header.addField(u"QRDBTextFirma"_s, {0, 0, w, 7}, &dm.SmpFirma, u"IMEFIRMA"_s).withFont(Font::sized(11, true));
    header.addLabel(u"QRLbDate"_s, {0, 9, w, 7}, kHeading).withFont(Font::sized(11, true));
    Band& detail = setDetail(stock, kRow);
    detail.frame = Frame::sides(false, false, false, true, 0.1);
    double x = 0;
    for (const Column& c : columns) {
        header.addLabel(QString(), {x, 20, c.width, 7}, QString::fromUtf8(c.title))
            .align(Qt::AlignCenter).framed(Frame::box(0.2)).filled(QColor(235, 235, 235)).withFont(Font::sized(8, true));
        const QRectF cell{x, 0, c.width, kRow};
        if (!c.field)
            detail.addSystem(u"QRSysDataNo"_s, cell, SystemData::LineNumber).align(kRight).withFont(Font::sized(8));
        else {
            Item& item = detail.addField(u"QRDBText"_s + QString::fromLatin1(c.field), cell, stock, QString::fromLatin1(c.field))
                             .withFont(Font::sized(8));
            if (c.right) item.align(kRight);
        }
        x += c.width;
    }
}

void TQRNalichKymData::setDate(const QString& date) { setCaption(u"QRLbDate"_s, kHeading + date + u"г."_s); }

TQRNalichKymDataSrCena::TQRNalichKymDataSrCena(TDMNS& dm, TDMSklSpravki& spravki)
    : TQRNalichKymData(u"TQRNalichKymDataSrCena"_s, dm, spravki,
                       {{"№", nullptr, 12, true}, {"Наименование", "IMEMATERIAL", 86, false},
                        {"Количество", "NALICHNOST", 24, true}, {"Средна. цена", "SrednaCena", 24, true},
                        {"Ср.цена общо", "SrednaCenaObsto", 26, true}, {"Валута", "Valuta", 18, false}})
{
    SmpDataset* stock = &stock_;
    Band& summary = addBand(BandType::Summary, 3 * kRow + 4);
    double y = 2;
    for (const auto& [name, code] : {std::pair{"QRExprSumLVSrCenaAgg", "BGN"}, std::pair{"QRExprSumUSDSrCenaAgg", "USD"},
                                     std::pair{"QRExprSumEURSrCenaAgg", "EUR"}}) {
        const QString currency = QString::fromLatin1(code);
        // A currency without value is left blank.
        summary.addExpression(QString::fromLatin1(name), {122, y, 50, kRow}, [stock, currency](const RowContext&) {
                   const double total = printedTotal(*stock, currency);
                   return total > 0 ? Formats::formatNumber(total, u"# ### ##0.00"_s) : QString();
               })
            .align(kRight).withFont(Font::sized(9, true));
        summary.addLabel(QString(), {174, y, 16, kRow}, currency).withFont(Font::sized(9, true));
        y += kRow;
    }
}
