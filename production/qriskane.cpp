#include "production/qriskane.h"

#include "data/dmns.h"
#include "data/dmproizv.h"
#include "platform/base/clock.h"
#include "platform/report/reportpreview.h"

using namespace Report;
using namespace Qt::StringLiterals;

namespace {
constexpr double kRow = 6;
const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

Font serif(double points, bool bold = false)
{
    return Font::sized(points, bold).withFamily(u"Times New Roman"_s, u"DejaVu Serif"_s);
}
} // namespace

TQRIskaneBase::TQRIskaneBase(const QString& name) : Layout(name)
{
    setPage(Paper::A4, Orientation::Portrait);
    margins = Margins{10, 12, 10, 12};
    printIfEmpty = true;
}

Document TQRIskaneBase::build()
{
    printDate = Clock::today();
    return Report::build(*this);
}

void TQRIskaneBase::Preview() { Report::preview(build()); }

void TQRIskaneBase::title(Band& header, double y, const QString& text, double points)
{
    header.addLabel(u"QRLabelTitle"_s, {0, y, bodyWidth(), 10}, text).align(Qt::AlignCenter).withFont(serif(points, true));
}

void TQRIskaneBase::productAndClient(Band& header, double y, TDMNS& dm, std::function<bool()> clientShown)
{
    header.addLabel(QString(), {0, y, 86, 7}, u"За изписване на материали за изработването на -"_s).withFont(serif(10));
    header.addLabel(u"QRLbBr"_s, {86, y, 16, 7}, QString()).align(kRight).withFont(serif(10, true));
    header.addLabel(QString(), {103, y, 15, 7}, u"бр./с-я"_s).withFont(serif(10));
    header.addField(u"QRDBTextIzdelie"_s, {118, y, bodyWidth() - 118, 7}, &dm.SmpProizIzdISK, u"IMEMATIZD"_s)
        .withFont(serif(10, true));
    header.addLabel(QString(), {0, y + 8, 52, 7}, u"По поръчка на /клиент/ :"_s).withFont(serif(10));
    SmpDataset* clients = &dm.SmpIzbKontr;
    header.addExpression(u"QRDBTextKontr"_s, {52, y + 8, bodyWidth() - 52, 7},
                         [clients, clientShown](const RowContext&) {
                             if (!clientShown() || !clients->isActive() || clients->isEmpty()) return QString();
                             return clients->fieldByName(u"IMEKONTRAGENT"_s)->asString();
                         })
        .withFont(serif(10, true));
}

void TQRIskaneBase::table(Band& header, double y, SmpDataset* list, const QList<Column>& columns)
{
    Band& detail = setDetail(list, kRow);
    detail.frame = Frame::sides(false, false, false, true, 0.1);
    double x = 0;
    for (const Column& c : columns) {
        header.addLabel(QString(), {x, y, c.width, 8}, QString::fromUtf8(c.heading))
            .align(Qt::AlignCenter)
            .framed(Frame::sides(false, true, false, true, 0.3))
            .withFont(serif(10, true));
        const QRectF cell{x, 0, c.width, kRow};
        const QString field = c.field ? QString::fromLatin1(c.field) : QString();
        if (!c.field)
            detail.addSystem(u"QRSysDataNo"_s, cell, SystemData::LineNumber).align(kRight).withFont(serif(10));
        else if (!field.isEmpty()) {  // an empty field: a column left for handwriting
            Item& item = detail.addField(u"QRDBText"_s + field, cell, nullptr, field).wrap().withFont(serif(10));
            if (field.startsWith(u"KOLICH"_s, Qt::CaseInsensitive)) item.align(kRight).format(u"# ### ##0.000"_s);
        }
        x += c.width;
    }
}

void TQRIskaneBase::signatures(Band& summary, double y)
{
    summary.addSystem(u"QRSysDataDate"_s, {0, y, 70, 6}, SystemData::PrintDate, u"%1 год."_s).withFont(serif(10));
    summary.addLabel(u"QRLabelSklad"_s, {0, y + 14, 90, 6}, u"Началник склад: ............................."_s)
        .withFont(serif(10));
    summary.addLabel(u"QRLabelPoluchil"_s, {105, y + 14, 85, 6}, u"Получил: ............................."_s)
        .withFont(serif(10));
}

TQRIskane::TQRIskane(TDMNS& dm, TDMProizv& pr) : TQRIskaneBase(u"TQRIskane"_s)
{
    Band& header = addBand(BandType::PageHeader, 44);
    title(header, 2, u"И С К А Н Е  по П Р Е Д В А Р И Т Е Л Н О  З А Д А Д Е Н А   Р Е Ц Е П Т А "_s, 12);
    productAndClient(header, 16, dm, [this] { return clientShown_; });
    table(header, 34, &pr.SmpRecepIzdISK,
          {{"№", nullptr, 10}, {"Склад", "IMESKLAD", 35}, {"Наименование на материал", "IMEMATERIAL", 75},
           {"Мка", "IMEMIARKA", 14}, {"Количество", "KolichObsto", 28}, {"Забележка", "", 28}});
    Band& summary = addBand(BandType::Summary, 30);
    signatures(summary, 4);
}

void TQRIskane::setCount(int count) { setCaption(u"QRLbBr"_s, QString::number(count)); }

TQRSpecif::TQRSpecif(TDMNS& dm, TDMProizv& pr) : TQRIskaneBase(u"TQRSpecif"_s)
{
    const double w = bodyWidth();
    Band& header = addBand(BandType::PageHeader, 44);
    header.addLabel(QString(), {w - 50, 0, 12, 6}, u"Дата: "_s).withFont(serif(10));
    header.addSystem(u"QRSysDataDate"_s, {w - 38, 0, 38, 6}, SystemData::PrintDate).withFont(serif(10));
    title(header, 4, u"И С К А Н Е "_s);
    productAndClient(header, 16, dm, [] { return true; });
    table(header, 34, &pr.SmpSklIskTEMP,
          {{"№", nullptr, 10}, {"Склад", "IMESKLAD", 35}, {"Наименование на материал", "IMEMATERIAL", 75},
           {"Мка", "IMEMIARKA", 14}, {"Количество", "KOLICHOBSTO", 28}, {"Забележка", "", 28}});

    Band& summary = addBand(BandType::Summary, 96);
    summary.addLabel(QString(), {0, 4, w, 8}, u"С П Е Ц И Ф И К А Ц И Я "_s).align(Qt::AlignCenter).withFont(serif(13, true));
    const double cell = w / 11;
    for (int size = 35; size <= 45; ++size) {
        const double x = (size - 35) * cell;
        summary.addLabel(QString(), {x, 14, cell, 7}, QString::number(size))
            .align(Qt::AlignCenter).framed(Frame::box(0.3)).withFont(serif(10, true));
        summary.addField(u"QRDBTextN_%1"_s.arg(size), {x, 21, cell, 7}, &pr.SmpSeria, u"N_%1"_s.arg(size))
            .align(Qt::AlignCenter).framed(Frame::box(0.3)).withFont(serif(10));
    }
    summary.addLabel(QString(), {0, 33, w, 8}, u"И З Р А Б О Т И Л И"_s).align(Qt::AlignCenter).withFont(serif(13, true));
    for (int size = 35; size <= 45; ++size) {
        const bool left = size <= 40;
        const double y = 44 + (left ? size - 35 : size - 41) * 8;
        summary.addLabel(QString(), {left ? 0.0 : w / 2, y, w / 2, 7},
                         u"........................№ %1 .........ЧФ."_s.arg(size))
            .withFont(serif(10));
    }
}

void TQRSpecif::setCount(int count) { setCaption(u"QRLbBr"_s, QString::number(count)); }

TQRNUMIskane::TQRNUMIskane(TDMProizv& pr) : TQRIskaneBase(u"TQRNUMIskane"_s), pr_(pr)
{
    SmpDataset* lines = &pr.SmpSklIskPRN;
    Band& header = addBand(BandType::PageHeader, 40);
    title(header, 2, u"И С К А Н Е"_s);
    header.addLabel(QString(), {60, 14, 8, 7}, u"№"_s).withFont(serif(11));
    header.addField(u"QRDBTextNISKANE"_s, {68, 14, 30, 7}, lines, u"NISKANE"_s).withFont(serif(11, true));
    header.addLabel(QString(), {100, 14, 8, 7}, u"от"_s).withFont(serif(11));
    header.addField(u"QRDBTextDATEISKANE"_s, {108, 14, 30, 7}, lines, u"DATEISKANE"_s)
        .format(u"dd.mm.yyyy"_s)
        .withFont(serif(11, true));
    header.addLabel(QString(), {0, 22, bodyWidth(), 7}, u"ЗА ИЗПИСВАНЕ НА МАТЕРИАЛИ ОТ СКЛАД"_s)
        .align(Qt::AlignCenter)
        .withFont(serif(11, true));
    table(header, 31, lines,
          {{"№", nullptr, 10}, {"Склад", "SKLAD", 40}, {"Наименование на материал", "IMEMATERIAL", 98},
           {"Мка", "MIARKA_BG", 14}, {"Количество", "KOLICHESTVO", 28}});
    Band& summary = addBand(BandType::Summary, 30);
    signatures(summary, 4);
}

void TQRNUMIskane::read(const QString& requisition)
{
    SmpDataset& lines = pr_.SmpSklIskPRN;
    lines.close();
    lines.setParam(u"INIskane"_s, requisition);
    lines.open();
}

Document TQRNUMIskane::build(const QString& requisition)
{
    read(requisition);
    return TQRIskaneBase::build();
}

void TQRNUMIskane::Preview(const QString& requisition) { Report::preview(build(requisition)); }
