#include "warehouse/qrnalichkymdata.h"

#include "data/dmns.h"
#include "data/dmsklspravki.h"
#include "platform/base/formats.h"

using namespace Report;
using namespace Qt::StringLiterals;

namespace {
constexpr double kRow = 5;
const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
} // namespace

TQRNalichKymDataSrCena::TQRNalichKymDataSrCena(TDMNS& dm, TDMSklSpravki& spravki)
    : Layout(u"TQRNalichKymDataSrCena"_s)
{
    setPage(Paper::A4, Orientation::Portrait);
    margins = Margins{10, 10, 10, 10};
    printIfEmpty = true;
    SmpDataset* stock = &spravki.SmpSprMatKymData;
    const double w = bodyWidth();

    Band& header = addBand(BandType::PageHeader, 28);
    header.addField(u"QRDBTextFirma"_s, {0, 0, w, 7}, &dm.SmpFirma, u"IMEFIRMA"_s).withFont(Font::sized(11, true));
    header.addLabel(QString(), {0, 9, 80, 7}, u"Списък на наличностите към дата :"_s).withFont(Font::sized(11, true));
    header.addLabel(u"QRLbDate"_s, {80, 9, 26, 7}, QString()).withFont(Font::sized(11, true));
    header.addLabel(QString(), {106, 9, 8, 7}, u"г."_s).withFont(Font::sized(11, true));
    const struct { const char* title; const char* field; double width; } columns[] = {
        {"№", nullptr, 12}, {"Наименование", "IMEMATERIAL", 86}, {"Количество", "NALICHNOST", 24},
        {"Средна. цена", "SrednaCena", 24}, {"Ср.цена общо", "SrednaCenaObsto", 26}, {"Валута", "Valuta", 18}};
    Band& detail = setDetail(stock, kRow);
    detail.frame = Frame::sides(false, false, false, true, 0.1);
    double x = 0;
    for (const auto& c : columns) {
        header.addLabel(QString(), {x, 20, c.width, 7}, QString::fromUtf8(c.title))
            .align(Qt::AlignCenter).framed(Frame::box(0.2)).filled(QColor(235, 235, 235)).withFont(Font::sized(8, true));
        const QRectF cell{x, 0, c.width, kRow};
        if (!c.field)
            detail.addSystem(u"QRSysDataNo"_s, cell, SystemData::LineNumber).align(kRight).withFont(Font::sized(8));
        else {
            Item& item = detail.addField(u"QRDBText"_s + QString::fromLatin1(c.field), cell, stock, QString::fromLatin1(c.field))
                             .withFont(Font::sized(8));
            if (c.width < 30) item.align(kRight);
        }
        x += c.width;
    }

    Band& summary = addBand(BandType::Summary, 3 * kRow + 4);
    double y = 2;
    for (const auto& [sum, code] : {std::pair{"SumLVSrCena", "BGN"}, std::pair{"SumUSDSrCena", "USD"},
                                    std::pair{"SumEURSrCena", "EUR"}}) {
        const QString field = QString::fromLatin1(sum);
        // A currency without value is left blank.
        summary.addExpression(u"QRExpr"_s + field + u"Agg"_s, {122, y, 50, kRow}, [stock, field](const RowContext&) {
                   const SmpField* f = stock->isActive() ? stock->findField(field) : nullptr;
                   return f && f->asFloat() > 0 ? Formats::formatNumber(f->asFloat(), u"# ### ##0.00"_s) : QString();
               })
            .align(kRight).withFont(Font::sized(9, true));
        summary.addLabel(QString(), {174, y, 16, kRow}, QString::fromLatin1(code)).withFont(Font::sized(9, true));
        y += kRow;
    }
}
