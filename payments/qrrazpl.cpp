#include "payments/qrrazpl.h"

#include "data/dmns.h"
#include "data/dmrazpl.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"

using namespace Report;
using namespace Qt::StringLiterals;

namespace {

constexpr double kLine = 5;
const char* const kCurrencies[] = {"LV", "USD", "EUR"};
const QString kFooter = u"Счетоводство, склад, продажби и разплащания - в една програма."_s;

// The company's name centred on top, beneath it postcode, town, street, phone and e-mail.
double addressBlock(Band& band, TDMNS& dm, double width)
{
    band.addField(u"QRDBTextImeFirma"_s, {0, 0, width, 7}, &dm.SmpFirma, u"IMEFIRMA"_s)
        .align(Qt::AlignCenter)
        .withFont(Font::sized(13, true));
    band.addExpression(u"QRExprAdresFirma"_s, {0, 7, width, kLine}, [&dm](const RowContext&) {
        const auto v = [&dm](const char* f) { return dm.SmpFirma.isEmpty() ? QString() : dm.SmpFirma.value(QString::fromLatin1(f)).toString(); };
        return u"%1 %2, ул. %3, тел. %4, e-mail: %5"_s.arg(v("POSTKOD"), v("GradFirma"), v("ADRES"), v("TEL"), v("EMAIL"));
    }).align(Qt::AlignCenter);
    band.addHLine(QString(), 0, width, 13);
    return 15;
}

void label(Band& band, const QString& name, const QRectF& rect, const QString& text, bool bold = false,
           Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    band.addLabel(name, rect, text).withFont(Font::sized(9, bold)).align(align);
}

void footer(Layout& layout)
{
    Band& f = layout.addBand(BandType::PageFooter, 8);
    f.addHLine(QString(), 0, layout.bodyWidth(), 1);
    f.addLabel(u"QRLbReklama"_s, {0, 2, layout.bodyWidth(), kLine}, kFooter).withFont(Font::sized(7).withItalic());
}

QString money(double v) { return Formats::formatNumber(v, u"# ### ##0.00"_s); }

Document dated(Layout& layout)
{
    layout.printDate = Clock::today();
    return Report::build(layout);
}

} // namespace

TQRRazplStatement::TQRRazplStatement(const QString& name, TDMNS& dm, SmpDataset& rows, const QString& title,
                                     const Columns& c)
    : Layout(name)
{
    setPage(Paper::A4, Orientation::Portrait);
    margins = Margins{10, 10, 10, 10};
    printIfEmpty = true;
    const double w = bodyWidth();
    Band& head = addBand(BandType::PageHeader, 50);
    double y = addressBlock(head, dm, w);
    label(head, QString(), {0, y, 80, kLine}, title, true);
    head.addSystem(u"QRSysDate"_s, {80, y, 30, kLine}, SystemData::PrintDate);
    y += kLine + 1;
    label(head, QString(), {0, y, 20, kLine}, u"С фирма :"_s);
    head.addField(u"QRDBTextKontragent"_s, {20, y, 100, kLine}, &rows, u"IMEKONTRAGENT"_s).withFont(Font::sized(9, true));
    y += kLine;
    label(head, u"QRLbPeriod"_s, {0, y, 20, kLine}, u"За период :"_s);
    label(head, u"QRLbDateOt"_s, {20, y, 22, kLine}, QString());
    label(head, u"QRLbDate_"_s, {42, y, 4, kLine}, u"-"_s);
    label(head, u"QRLbDateDo"_s, {46, y, 22, kLine}, QString());
    y += kLine + 2;
    // Number, date, name, quantity, then due and paid under each currency.
    const double xs[] = {0, 8, 24, 78, 94, 110, 126, 142, 158, 174};
    const double ws[] = {8, 16, 54, 16, 16, 16, 16, 16, 16, 16};
    const char* heads[] = {"ЛЕВА", "USD", "EUR"};
    for (int i = 0; i < 3; ++i) label(head, QString(), {xs[4 + 2 * i], y, 32, kLine}, QString::fromUtf8(heads[i]), true, Qt::AlignCenter);
    y += kLine;
    const QStringList captions = {u"№"_s, u"Дата"_s, u"Наименование/плащане/"_s, u"Брой"_s, u"Получено"_s, u"Платено"_s,
                                  u"Получено"_s, u"Платено"_s, u"Получено"_s, u"Платено"_s};
    for (int i = 0; i < 10; ++i)
        head.addLabel(QString(), {xs[i], y, ws[i], kLine}, captions[i]).withFont(Font::sized(7.5, true)).align(Qt::AlignCenter);
    head.addHLine(QString(), 0, w, y + kLine);

    Band& detail = setDetail(&rows, kLine);
    detail.addSystem(u"QRSysNomer"_s, {xs[0], 0, ws[0], kLine}, SystemData::LineNumber);
    detail.addField(u"QRDBTextDate"_s, {xs[1], 0, ws[1], kLine}, &rows, u"DATE_FAKTURA_PLASTANE"_s);
    detail.addField(u"QRDBTextIme"_s, {xs[2], 0, ws[2], kLine}, &rows, u"IME_MATERIAL_IZDELIE"_s);
    detail.addField(u"QRDBTextBroi"_s, {xs[3], 0, ws[3], kLine}, &rows, QString::fromLatin1(c.quantity)).align(Qt::AlignRight | Qt::AlignVCenter);
    for (int i = 0; i < 3; ++i) {
        const QString cur = QString::fromLatin1(kCurrencies[i]);
        detail.addField(u"QRDBTextDue"_s + cur, {xs[4 + 2 * i], 0, ws[4], kLine}, &rows, QString::fromLatin1(c.due).arg(cur))
            .align(Qt::AlignRight | Qt::AlignVCenter);
        detail.addField(u"QRDBTextPlateno"_s + cur, {xs[5 + 2 * i], 0, ws[5], kLine}, &rows, u"PLATENO_"_s + cur)
            .align(Qt::AlignRight | Qt::AlignVCenter);
    }

    Band& sum = addBand(BandType::Summary, 4 * kLine + 4);
    sum.addHLine(QString(), 0, w, 1);
    const QStringList rowsCaptions = {u"Дължимо"_s, u"Платено"_s, u"За получаване"_s};
    label(sum, QString(), {60, 2, 30, kLine}, u"Валута"_s, true);
    for (int i = 0; i < 3; ++i) label(sum, QString(), {90 + 30.0 * i, 2, 30, kLine}, QString::fromUtf8(heads[i]), true, Qt::AlignRight | Qt::AlignVCenter);
    for (int r = 0; r < 3; ++r) {
        label(sum, QString(), {60, 2 + kLine * (r + 1), 30, kLine}, rowsCaptions[r]);
        for (int i = 0; i < 3; ++i) {
            const QString cur = QString::fromLatin1(kCurrencies[i]);
            const QString field = r == 0 ? QString::fromLatin1(c.dueSum).arg(cur) + u"Agg"_s
                                  : r == 1 ? u"PlatenoSum%1Agg"_s.arg(cur)
                                           : u"OstatykSum"_s + cur;
            sum.addExpression(u"QRExpr"_s + field, {90 + 30.0 * i, 2 + kLine * (r + 1), 30, kLine},
                              [&rows, field](const RowContext&) {
                                  return money(rows.isEmpty() ? 0.0 : rows.fieldByName(field)->asFloat());
                              })
                .align(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    footer(*this);
}

Document TQRRazplStatement::build() { return dated(*this); }
Document TQRRazplProdObobst::build() { return dated(*this); }
Document TQRSaldaKlienti::build() { return dated(*this); }

void TQRRazplStatement::setPeriod(bool defined, const QDate& from, const QDate& to)
{
    // Without a defined period the period line prints nothing.
    setCaption(u"QRLbPeriod"_s, defined ? u"За период :"_s : QString());
    setCaption(u"QRLbDate_"_s, defined ? u"-"_s : QString());
    setCaption(u"QRLbDateOt"_s, defined ? Formats::dateToText(from) : QString());
    setCaption(u"QRLbDateDo"_s, defined ? Formats::dateToText(to) : QString());
}

TQRRazplProdagbi::TQRRazplProdagbi(TDMNS& dm, TDMRazpl& razpl)
    : TQRRazplStatement(u"QRRazplProdagbi"_s, dm, razpl.SmpSprRazpl_Klienti,
                        u"Справка за разплащания с клиент към -"_s,
                        {"BROI_MATERIAL_IZDELIE", "POLUCHENO_%1", "PoluchenoSum%1"})
{
}

TQRRazplDostavki::TQRRazplDostavki(TDMNS& dm, TDMRazpl& razpl)
    : TQRRazplStatement(u"QRRazplDostavki"_s, dm, razpl.SmpSprRazpl_Dost,
                        u"Справка за разплащания с доставчик към -"_s,
                        {"KOLICHESTVO", "ZA_PLASTANE_%1", "ZaPlastaneSum%1"})
{
}

TQRRazplProdObobst::TQRRazplProdObobst(TDMNS& dm) : Layout(u"QRRazplProdObobst"_s)
{
    setPage(Paper::A4, Orientation::Portrait);
    margins = Margins{15, 15, 15, 15};
    const double w = bodyWidth();
    Band& head = setDetail(&dm.SmpFirma, 120);
    double y = addressBlock(head, dm, w) + 4;
    label(head, QString(), {0, y, 55, kLine + 1}, u"Разплащания с клиент на -"_s, true);
    label(head, u"QRLbDate"_s, {55, y, 40, kLine + 1}, QString(), true);
    y += kLine + 3;
    label(head, QString(), {0, y, 20, kLine}, u"Фирма :"_s);
    label(head, u"QRLbKlient"_s, {20, y, 120, kLine}, QString(), true);
    y += kLine + 5;
    const QStringList heads = {u"Суми/Валута"_s, u"ЛЕВА"_s, u"USD"_s, u"EUR"_s};
    for (int i = 0; i < 4; ++i)
        head.addLabel(QString(), {40.0 * i, y, 40, kLine + 1}, heads[i]).withFont(Font::sized(9, true)).framed().align(Qt::AlignCenter);
    const QStringList rowsCaptions = {u"Стари задължения"_s, u"Плащане"_s, u"Остатък дължимо"_s};
    const char* names[] = {"QRLbOstOld", "QRLbPlateni", "QRLbOstNew"};
    for (int r = 0; r < 3; ++r) {
        const double ry = y + (kLine + 1) * (r + 1);
        head.addLabel(QString(), {0, ry, 40, kLine + 1}, rowsCaptions[r]).withFont(Font::sized(9)).framed();
        for (int i = 0; i < 3; ++i)
            head.addLabel(QString::fromLatin1(names[r]) + QString::fromLatin1(kCurrencies[i]), {40.0 * (i + 1), ry, 40, kLine + 1}, QString())
                .withFont(Font::sized(9, r == 2))
                .framed()
                .align(Qt::AlignRight | Qt::AlignVCenter);
    }
    y += (kLine + 1) * 4 + 10;
    label(head, QString(), {0, y, 120, kLine}, u"Платено в брой: . . . . . . . . . . . . . . . . ."_s);
    label(head, QString(), {0, y + 10, 80, kLine}, u"Приел : . . . . . . . . . . ."_s);
    label(head, QString(), {90, y + 10, 80, kLine}, u"Вносител : . . . . . . . . . . ."_s);
    head.addHLine(QString(), 0, w, y + 20);
    head.addLabel(u"QRLbReklama"_s, {0, y + 21, w, kLine}, kFooter).withFont(Font::sized(7).withItalic());
}

void TQRRazplProdObobst::fill(const Filled& f)
{
    setCaption(u"QRLbDate"_s, Formats::dateToText(f.date));
    setCaption(u"QRLbKlient"_s, f.client);
    const double before[] = {f.before.lv, f.before.usd, f.before.eur};
    const double paid[] = {f.paid.lv, f.paid.usd, f.paid.eur};
    const double after[] = {f.after.lv, f.after.usd, f.after.eur};
    for (int i = 0; i < 3; ++i) {
        const QString cur = QString::fromLatin1(kCurrencies[i]);
        setCaption(u"QRLbOstOld"_s + cur, money(before[i]));
        setCaption(u"QRLbPlateni"_s + cur, paid[i] != 0 ? money(paid[i]) : QString());
        setCaption(u"QRLbOstNew"_s + cur, paid[i] != 0 ? money(after[i]) : QString());
    }
}

TQRSaldaKlienti::TQRSaldaKlienti(TDMNS& dm, TDMRazpl& razpl) : Layout(u"QRSaldaKlienti"_s)
{
    setPage(Paper::A4, Orientation::Portrait);
    margins = Margins{12, 10, 12, 10};
    printIfEmpty = true;
    const double w = bodyWidth();
    SmpDataset& rows = razpl.SmpSprRazplKlientiObsto;
    Band& head = addBand(BandType::PageHeader, 24);
    head.addField(u"QRDBTextImeFirma"_s, {0, 0, w, 7}, &dm.SmpFirma, u"IMEFIRMA"_s).align(Qt::AlignCenter).withFont(Font::sized(13, true));
    label(head, QString(), {0, 9, 40, kLine}, u"Салда на клиенти -"_s, true);
    head.addSystem(u"QRSysDate"_s, {40, 9, 30, kLine}, SystemData::PrintDate);
    const double xs[] = {0, 12, 100, 130, 160};
    const double ws[] = {12, 88, 30, 30, 26};
    const QStringList heads = {u"№"_s, u"Клиент"_s, u"BGN"_s, u"USD"_s, u"EUR"_s};
    for (int i = 0; i < 5; ++i) label(head, QString(), {xs[i], 17, ws[i], kLine}, heads[i], true, i >= 2 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
    head.addHLine(QString(), 0, w, 23);
    Band& detail = setDetail(&rows, kLine);
    detail.addSystem(u"QRSysNomer"_s, {xs[0], 0, ws[0], kLine}, SystemData::LineNumber);
    detail.addField(u"QRDBTextImeLat"_s, {xs[1], 0, ws[1], kLine}, &rows, u"IMEKONTRAGENT_LAT"_s);
    for (int i = 0; i < 3; ++i)
        detail.addField(u"QRDBTextDylgimo"_s + QString::fromLatin1(kCurrencies[i]), {xs[2 + i], 0, ws[2 + i], kLine}, &rows,
                        u"DYLGIMO_"_s + QString::fromLatin1(kCurrencies[i]))
            .align(Qt::AlignRight | Qt::AlignVCenter);
}
