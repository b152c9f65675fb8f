#include "outlets/qrpsklrazp.h"

#include "data/dmns.h"
#include "data/dmsklobekti.h"
#include "platform/base/formats.h"

using namespace Report;
using namespace Qt::StringLiterals;

namespace {
constexpr double kRow = 6;
const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

// A value of the list's first line, through its display format; empty without lines.
TextFunction firstLine(SmpDataset* lines, const QString& field)
{
    return [lines, field](const RowContext&) {
        const SmpField* f = lines->findField(field);
        return f && lines->isActive() && !lines->isEmpty() ? lines->displayTextAt(0, f) : QString();
    };
}

TextFunction company(TDMNS& dm, const QString& field)
{
    SmpDataset* firma = &dm.SmpFirma;
    return [firma, field](const RowContext&) {
        return firma->isActive() && !firma->isEmpty() ? firma->fieldByName(field)->asString() : QString();
    };
}
} // namespace

TQRpSklRazp::TQRpSklRazp(TDMNS& dm, TDMSklObekti& obekti) : Layout(u"TQRpSklRazp"_s)
{
    setPage(Paper::A4, Orientation::Portrait);
    margins = Margins{15, 12, 12, 12};
    printIfEmpty = true;
    SmpDataset* lines = &obekti.SmpSklObTemp;
    const double w = bodyWidth();
    const Font bold = Font::sized(10, true);

    Band& title = addBand(BandType::Title, 46);
    title.addExpression(u"QRDBTextFirma"_s, {0, 0, w * 0.6, 7}, company(dm, u"IMEFIRMA"_s)).withFont(Font::sized(12, true));
    title.addLabel(QString(), {w * 0.6, 0, 8, 7}, u"гр."_s);
    title.addExpression(u"QRDBTextGrad"_s, {w * 0.6 + 8, 0, w * 0.4 - 8, 7}, company(dm, u"GradFirma"_s));
    title.addLabel(u"QRLbSklRazpN"_s, {0, 12, w * 0.66, 8}, QString()).align(kRight).withFont(Font::sized(12, true));
    title.addExpression(u"QRDBTNsklRazp"_s, {w * 0.66 + 2, 12, 18, 8},
                        [this, f = firstLine(lines, u"NUM_SKL_RAZP"_s)](const RowContext& row) {
                            return into_ ? f(row) : QString();
                        })
        .withFont(Font::sized(12, true));
    title.addExpression(u"QRLb_"_s, {w * 0.66 + 20, 12, 4, 8}, [this](const RowContext&) {
        return into_ ? u"/"_s : QString();
    }).withFont(Font::sized(12, true));
    title.addExpression(u"QRDBTextDate"_s, {w * 0.66 + 24, 12, 30, 8}, firstLine(lines, u"DATEPOLUCHENO"_s))
        .withFont(Font::sized(12, true));
    title.addLabel(u"QRLbAdd_Undo"_s, {0, 22, w, 7}, QString()).align(Qt::AlignCenter).withFont(bold);
    title.addLabel(QString(), {0, 31, 8, 6}, u"от"_s);
    title.addExpression(u"QRDBTextOtSklad"_s, {8, 31, w / 2 - 10, 6}, firstLine(lines, u"OT_SKLAD"_s)).withFont(bold);
    title.addLabel(QString(), {w / 2, 31, 6, 6}, u"в"_s);
    title.addExpression(u"QRDBTextVSklad"_s, {w / 2 + 6, 31, w / 2 - 6, 6}, firstLine(lines, u"V_SKLAD"_s)).withFont(bold);

    struct Column { const char* heading; const char* field; double width; };
    const Column columns[] = {{"№", nullptr, 12},
                              {"Име на изделие / материал", "ImeMaterial", w - 12 - 3 * 30},
                              {"Количество", "KOLICHESTVO", 30},
                              {"Ед. цена", "DOSTCENA", 30},
                              {"Стойност", "CenaObsto", 30}};
    Band& header = addBand(BandType::ColumnHeader, 8);
    Band& detail = setDetail(lines, kRow);
    detail.frame = Frame::sides(false, false, false, true, 0.1);
    double x = 0;
    for (const Column& c : columns) {
        header.addLabel(QString(), {x, 0, c.width, 8}, QString::fromUtf8(c.heading))
            .align(Qt::AlignCenter).framed(Frame::box(0.2)).filled(QColor(235, 235, 235)).withFont(Font::sized(9, true));
        const QRectF cell{x, 0, c.width, kRow};
        if (!c.field)
            detail.addSystem(u"QRSysDataNo"_s, cell, SystemData::LineNumber).align(kRight);
        else if (qstrcmp(c.field, "ImeMaterial") == 0)
            detail.addField(u"QRDBTextImeMaterial"_s, cell, nullptr, QString::fromLatin1(c.field));
        else
            detail.addField(u"QRDBText"_s + QString::fromLatin1(c.field), cell, nullptr, QString::fromLatin1(c.field))
                .align(kRight);
        detail.addVLine(QString(), x).lineWidth = 0.1;
        x += c.width;
    }
    detail.addVLine(QString(), x).lineWidth = 0.1;

    Band& summary = addBand(BandType::Summary, 50);
    summary.addLabel(QString(), {w - 60, 2, 28, kRow}, u"Общо :"_s).align(kRight).withFont(bold);
    summary.addExpression(u"QRDBTextSCenaObsto"_s, {w - 30, 2, 30, kRow}, [lines](const RowContext&) {
        const SmpField* f = lines->findField(u"SumCenaObsto"_s);
        return Formats::formatNumber(f && lines->isActive() ? f->asFloat() : 0.0, u"# ### ##0.00"_s);
    }).align(kRight).framed(Frame::box(0.1)).withFont(bold);
    summary.addLabel(QString(), {0, 16, w / 2, kRow}, u"Предал : . . . . . . . . . . . . . ."_s);
    summary.addLabel(QString(), {w / 2, 16, w / 2, kRow}, u"Приел : . . . . . . . . . . . . . ."_s);
    summary.addSystem(u"QRSysDate"_s, {0, 28, 26, kRow}, SystemData::PrintDate);
    summary.addLabel(QString(), {w / 2, 28, 4, kRow}, u"/"_s);
    summary.addExpression(u"QRDBTextImeMolFirma"_s, {w / 2 + 4, 28, w / 2 - 12, kRow},
                          firstLine(lines, u"ImeMolFirma"_s));
    summary.addLabel(QString(), {w - 6, 28, 4, kRow}, u"/"_s);
    summary.addLabel(QString(), {0, 36, 8, kRow}, u"гр."_s);
    summary.addExpression(u"QRDBTextGradSummary"_s, {8, 36, 60, kRow}, company(dm, u"GradFirma"_s));

    Band& footer = addBand(BandType::PageFooter, 8);
    footer.addLabel(QString(), {0, 1, 24, kRow}, u"Документ №"_s);
    footer.addExpression(u"QRDBTextDokument"_s, {24, 1, 30, kRow},
                         [this, f = firstLine(lines, u"NUM_SKL_RAZP"_s)](const RowContext& row) {
                             return into_ ? f(row) : QString();
                         });
    footer.addSystem(u"QRSysPage"_s, {w - 30, 1, 30, kRow}, SystemData::PageNumber, u"Стр. - %1"_s).align(kRight);
    setIntoObject(true);
}

void TQRpSklRazp::setIntoObject(bool into)
{
    into_ = into;
    setCaption(u"QRLbAdd_Undo"_s, into ? u"За заприхождаване на изделия / материали"_s : u"За връщане на изделия / материали"_s);
    setCaption(u"QRLbSklRazpN"_s, into ? u"С К Л А Д О В А   Р А З П И С К А  №"_s
                                       : u"С К Л А Д О В А   Р А З П И С К А    от дата   -"_s);
}
