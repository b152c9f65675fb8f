#include "cash/qrkasa.h"

#include "data/dmns.h"
#include "platform/base/formats.h"

using namespace Report;
using namespace Qt::StringLiterals;

namespace {

constexpr double kRow = 5;
const QString kMoney = u"# ### ##0.00"_s;

// A sum of the loaded list, 0 for an empty one.
QString sumText(const SmpDataset& ds, const QString& field)
{
    const SmpField* f = ds.findField(field);
    return Formats::formatNumber(f && ds.isActive() ? f->asFloat() : 0.0, kMoney);
}

} // namespace

TQRKasaBase::TQRKasaBase(const QString& name, TDMNS& dm, const QString& title, const QList<Column>& columns,
                         const QList<std::pair<QString, QString>>& totals,
                         const QList<std::pair<QString, QString>>& closing)
    : Layout(name), dm_(dm)
{
    setPage(Paper::A4, Orientation::Portrait);
    margins = Margins{10, 10, 10, 10};
    printIfEmpty = true;
    const double w = bodyWidth();
    SmpDataset* book = &dm.SmpViewKasa;

    Band& header = addBand(BandType::PageHeader, 42);
    header.addField(u"QRDBTextFirma"_s, {0, 0, w, 6}, &dm.SmpFirma, u"IMEFIRMA"_s).withFont(Font::sized(10, true));
    header.addLabel(u"QRLbTitle"_s, {0, 8, w, 8}, title).align(Qt::AlignCenter).withFont(Font::sized(13, true));
    header.addLabel(QString(), {50, 17, 28, 6}, u"За периода от"_s);
    header.addLabel(u"QRLbDateOt"_s, {78, 17, 22, 6}, QString()).withFont(Font::sized(9, true));
    header.addLabel(QString(), {100, 17, 8, 6}, u"до"_s);
    header.addLabel(u"QRLbDateDo"_s, {108, 17, 22, 6}, QString()).withFont(Font::sized(9, true));
    header.addLabel(QString(), {0, 25, 30, 6}, u"Начално салдо"_s);
    // The balance before the period, also when the period has no orders.
    header.addExpression(u"QRExprNachSaldo"_s, {30, 25, 30, 6}, [&dm](const RowContext&) {
        return Formats::formatNumber(dm.KasaNachSaldo, kMoney);
    }).align(Qt::AlignRight | Qt::AlignVCenter).withFont(Font::sized(9, true));

    Band& detail = setDetail(book, kRow);
    detail.frame = Frame::sides(false, false, false, true, 0.1);
    double x = 0;
    QHash<QString, QRectF> at;
    for (const Column& c : columns) {
        header.addLabel(QString(), {x, 32, c.width, 10}, QString::fromUtf8(c.heading))
            .align(Qt::AlignCenter).wrap().framed(Frame::box(0.2)).filled(QColor(235, 235, 235)).withFont(Font::sized(7, true));
        const QRectF cell{x, 0, c.width, kRow};
        if (!c.field) {
            detail.addSystem(u"QRSysDataNo"_s, cell, SystemData::LineNumber).align(Qt::AlignRight | Qt::AlignVCenter).withFont(Font::sized(7));
        } else {
            const QString f = QString::fromLatin1(c.field);
            at.insert(f, cell);
            const bool text = f == u"IMEPREZFAM"_s || f == u"OSNOVANIE_KO"_s;
            detail.addField(u"QRDBText"_s + f, cell, nullptr, f)
                .align(text ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter)
                .withFont(Font::sized(7));
        }
        detail.addVLine(QString(), x).lineWidth = 0.1;
        x += c.width;
    }
    detail.addVLine(QString(), x).lineWidth = 0.1;

    Band& summary = addBand(BandType::Summary, 8 + 7 * closing.size());
    const double firstTotal = at.value(totals.front().first).x();
    summary.addLabel(QString(), {firstTotal - 20, 1, 19, 6}, u"Общо"_s).align(Qt::AlignRight | Qt::AlignVCenter)
        .withFont(Font::sized(8, true));
    for (const auto& [under, total] : totals)
        summary.addExpression(u"QRExpr"_s + total, {at.value(under).x(), 1, at.value(under).width(), 6},
                              [book, total](const RowContext&) { return sumText(*book, total); })
            .align(Qt::AlignRight | Qt::AlignVCenter).framed(Frame::box(0.1)).withFont(Font::sized(7, true));
    double y = 9;
    for (const auto& [caption, which] : closing) {
        summary.addLabel(QString(), {w - 90, y, 50, 6}, caption).align(Qt::AlignRight | Qt::AlignVCenter)
            .withFont(Font::sized(9, true));
        const bool lv = which.endsWith(u"LV"_s);
        summary.addExpression(u"QRExpr"_s + which, {w - 38, y, 38, 6}, [&dm, book, lv](const RowContext&) {
            const double start = lv ? dm.KasaNachSaldoLV : dm.KasaNachSaldo;
            const auto sum = [book](const QString& f) {
                const SmpField* field = book->findField(f);
                return field && book->isActive() ? field->asFloat() : 0.0;
            };
            return Formats::formatNumber(lv ? start + sum(u"SumSumaPKOLV"_s) - sum(u"SumSumaRKOLV"_s)
                                            : start + sum(u"SumSumaPKO"_s) - sum(u"SumSumaRKO"_s),
                                         kMoney);
        }).align(Qt::AlignRight | Qt::AlignVCenter).withFont(Font::sized(9, true));
        y += 7;
    }
}

void TQRKasaBase::setPeriod(const QString& from, const QString& to)
{
    setCaption(u"QRLbDateOt"_s, from);
    setCaption(u"QRLbDateDo"_s, to);
}

Document TQRKasaBase::build() const { return Report::build(*this); }

TQRKasa::TQRKasa(TDMNS& dm)
    : TQRKasaBase(u"TQRKasa"_s, dm, u"К А С О В А   К Н И Г А   В   Л Е В А"_s,
                  {{"№", nullptr, 10}, {"Дата", "DATEKO", 16}, {"№ ПКО", "NPKO", 13}, {"№ РКО", "NRKO", 13},
                   {"Име презиме фамилия", "IMEPREZFAM", 48}, {"Основание", "OSNOVANIE_KO", 44},
                   {"Приход", "SUMA_PKO", 23}, {"Разход", "SUMA_RKO", 23}},
                  {{u"SUMA_PKO"_s, u"SumSumaPKO"_s}, {u"SUMA_RKO"_s, u"SumSumaRKO"_s}},
                  {{u"Крайно салдо :"_s, u"KrainoSaldo"_s}})
{
}

TQRKasaValuta::TQRKasaValuta(TDMNS& dm)
    : TQRKasaBase(u"TQRKasaValuta"_s, dm, QString(),
                  {{"№", nullptr, 8}, {"Дата", "DATEKO", 14}, {"№\nПКО", "NPKO", 10}, {"№\nРКО", "NRKO", 10},
                   {"Име презиме фамилия", "IMEPREZFAM", 34}, {"Основание", "OSNOVANIE_KO", 30},
                   {"Приход\nВалута", "SUMA_PKO", 16}, {"Разход\nВалута", "SUMA_RKO", 16}, {"Курс", "VALUTA_KURS", 14},
                   {"Приход\nЛева", "SUMA_PKO_LV", 19}, {"Разход\nЛева", "SUMA_RKO_LV", 19}},
                  {{u"SUMA_PKO"_s, u"SumSumaPKO"_s}, {u"SUMA_RKO"_s, u"SumSumaRKO"_s},
                   {u"SUMA_PKO_LV"_s, u"SumSumaPKOLV"_s}, {u"SUMA_RKO_LV"_s, u"SumSumaRKOLV"_s}},
                  {{u"Крайно салдо валута:"_s, u"KrainoSaldo"_s}, {u"Крайно салдо лв:"_s, u"KrainoSaldoLV"_s}})
{
}

void TQRKasaValuta::setCurrency(const QString& name, const QString& description)
{
    setCaption(u"QRLbTitle"_s, u"К А С О В А   К Н И Г А   В   "_s + name + u" / "_s + description);
}
