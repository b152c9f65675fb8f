#include "sales/qrstokrazpiska.h"

#include "data/dmns.h"
#include "platform/report/reportpainter.h"
#include "sales/layoutblocks.h"

#include <QHash>

#include <functional>

using namespace Report;
using namespace Qt::StringLiterals;
using LayoutBlocks::label;
using LayoutBlocks::serif;

const QString TQRStockDocument::kStockReceiptTitle = u"С Т О К О В А     Р А З П И С К А"_s;
const QString TQRStockDocument::kConsignmentTitle = u"К О Н С И Г Н А Ц И О Н Е Н     П Р О Т О К О Л"_s;

namespace {

constexpr double kLine = 5.5;
constexpr double kRow = 5;
const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
const QString kSignature = u"Подпис : ..................."_s;
const QString kSignatureDots = u"Подпис : . . . . . . . . . . . . . . . . . . "_s;

using Text = std::function<QString(const StockDocHeading&)>;

// Which heading text each fillable label shows.
const QHash<QString, Text>& texts()
{
    using H = StockDocHeading;
    static const QHash<QString, Text> table = [] {
        QHash<QString, Text> t;
        const auto member = [](QString H::*m) { return Text([m](const H& h) { return h.*m; }); };
        const auto cell = [](std::array<QString, 3> H::*m, int i) { return Text([m, i](const H& h) { return (h.*m)[i]; }); };
        for (const char* n : {"QRLbNFakt", "QRLbNumDoc", "QRLbEkspBelN", "QRLbProdIskaneNUM"}) t.insert(QString::fromLatin1(n), member(&H::number));
        for (const char* n : {"QRLbDateFakt", "QRLbDateDoc", "QRLbDateIskane"}) t.insert(QString::fromLatin1(n), member(&H::date));
        t.insert(u"QRLbEkspBelChas"_s, member(&H::time));
        t.insert(u"QRLbNumPorychka"_s, member(&H::order));
        t.insert(u"QRLbMOLFirma"_s, member(&H::companyMol));
        t.insert(u"QRLbRazreshil"_s, member(&H::companyMol));
        t.insert(u"QRLbSystavil"_s, member(&H::compiledBy));
        t.insert(u"QRLbMqstoSdelka"_s, member(&H::placeOfDeal));
        t.insert(u"QRLbLicePoluch"_s, member(&H::receivedBy));
        t.insert(u"QRLbShofior"_s, member(&H::receivedBy));
        t.insert(u"QRLbNumTransport"_s, member(&H::transport));
        t.insert(u"QRLbTransport"_s, member(&H::transport));
        t.insert(u"QRLbBelegka"_s, member(&H::remarks));
        t.insert(u"QRLbStoinost"_s, member(&H::value));
        t.insert(u"QRLbOtstypka"_s, member(&H::discount));
        t.insert(u"QRLbObstaStoinost"_s, member(&H::total));
        t.insert(u"QRLbSlovom"_s, member(&H::words));
        t.insert(u"QRLbStoinostUSD"_s, member(&H::valueUsd));
        t.insert(u"QRLbStoinostEUR"_s, member(&H::valueEur));
        t.insert(u"QRLbOtstypkaUSD"_s, member(&H::discountUsd));
        t.insert(u"QRLbOtstypkaEUR"_s, member(&H::discountEur));
        t.insert(u"QRLbObstaStoinostUSD"_s, member(&H::totalUsd));
        t.insert(u"QRLbObstaStoinostEUR"_s, member(&H::totalEur));
        const char* cur[] = {"LV", "USD", "EUR"};
        for (int i = 0; i < 3; ++i) {
            t.insert(u"QRLbStari"_s + QString::fromLatin1(cur[i]), cell(&H::oldDebt, i));
            t.insert(u"QRLbPoDokument"_s + QString::fromLatin1(cur[i]), cell(&H::byDocument, i));
            t.insert(u"QRLbPlateno"_s + QString::fromLatin1(cur[i]), cell(&H::paid, i));
            t.insert(u"QRLbOstatyk"_s + QString::fromLatin1(cur[i]), cell(&H::remaining, i));
        }
        t.insert(u"QRLbPoiskal"_s, member(&H::requester));
        t.insert(u"QRLbOtpusnal"_s, member(&H::issuer));
        t.insert(u"QRLbZaiavitel"_s, Text([](const H& h) { return h.recipient.name; }));
        t.insert(u"QRLbTegloBruto"_s, member(&H::gross));
        t.insert(u"QRLbTegloTara"_s, member(&H::tare));
        t.insert(u"QRLbTegloNeto"_s, member(&H::net));
        t.insert(u"QRLbVidSmes"_s, member(&H::materialName));
        t.insert(u"QRLbKolichestvo"_s, member(&H::quantity));
        using R = InvoicePrint::Recipient;
        const auto recipient = [](QString R::*m) { return Text([m](const H& h) { return h.recipient.*m; }); };
        t.insert(u"QRLbPoluchatel"_s, recipient(&R::name));
        t.insert(u"QRLbAdres_Grad"_s, recipient(&R::town));
        t.insert(u"QRLbAdres_UlicaN"_s, recipient(&R::street));
        t.insert(u"QRLbTDan_No"_s, recipient(&R::idCaption));
        t.insert(u"QRLbDan_No"_s, recipient(&R::id));
        t.insert(u"QRLbTBulstat"_s, recipient(&R::vatCaption));
        t.insert(u"QRLbBulstat"_s, recipient(&R::vat));
        t.insert(u"QRLbMOL"_s, recipient(&R::mol));
        return t;
    }();
    return table;
}

} // namespace

TQRStockDocument::TQRStockDocument(const QString& name, Kind kind, bool recorded, TDMNS& dm, SmpDataset& lines)
    : Layout(name), kind_(kind), recorded_(recorded), dm_(dm), lines_(lines)
{
    setPage(kind == Kind::A5 ? Paper::A5 : Paper::A4, kind == Kind::A5 ? Orientation::Landscape : Orientation::Portrait);
    margins = Margins{10, 10, 10, 10};
    printIfEmpty = true;
    header();
    // The recorded dispatch note prints the browser's current line once, in its summary.
    if (!(kind == Kind::DispatchNote && recorded)) detail();
    summary();
}

QList<TQRStockDocument::Column> TQRStockDocument::columns() const
{
    const QString name = recorded_ ? u"IME_MATERIAL_IZDELIE"_s : u"ImeMaterial"_s;
    const QString unit = recorded_ ? u"IMEMKA"_s : u"ImeMkaMat"_s;
    const QString qty = u"BROI_MATERIAL_IZDELIE"_s;
    const QString price = recorded_ ? u"CENA_MAT_IZD_DDS"_s : u"CenaMatIzdCalc"_s;
    const QString value = recorded_ ? u"CENA_OBSTO_MAT_IZD_DDS"_s : u"CenaMatIzdBroiObsto"_s;
    switch (kind_) {
    case Kind::StockReceipt:
        return {{u"№"_s, {}, 10, true}, {u"Наименование"_s, name, 78, false}, {u"Мярка"_s, unit, 15, false},
                {u"Количество"_s, qty, 22, true}, {recorded_ ? u"Ед.цена"_s : u"Ед.цена "_s, price, 22, true},
                {u"% ТО"_s, u"OTST_IZDELIE"_s, 15, true}, {u"Стойност"_s, value, 28, true}};
    case Kind::Chain:
        return {{u"№"_s, {}, 10, true},
                {recorded_ ? u"Арт.№\nПолучател"_s : u"Арт. №\nПолучател"_s, u"ARTN_POLUCH"_s, 24, false},
                {u"Арт. №\nДоставчик"_s, u"ARTN_DOSTAV"_s, 24, false}, {u"Наименование"_s, name, 64, false},
                {u"Баркод"_s, u"BARKOD"_s, 30, false}, {u"Мярка"_s, unit, 15, false}, {u"Количество"_s, qty, 23, true}};
    case Kind::ThreeCurrency:
        return {{u"№"_s, {}, 7, true}, {u"Наименование"_s, name, 46, false}, {u"Мка"_s, unit, 10, false},
                {u"Колич."_s, qty, 14, true}, {u"Лева"_s, price, 14, true},
                {u"USD"_s, recorded_ ? u"CENA_MAT_IZD_USD_DDS"_s : u"CenaMatIzdCalcUSD"_s, 14, true},
                {u"EUR"_s, recorded_ ? u"CENA_MAT_IZD_EUR_DDS"_s : u"CenaMatIzdCalcEUR"_s, 14, true},
                {u"% то"_s, u"OTST_IZDELIE"_s, 10, true}, {u"Общо лв."_s, value, 18, true},
                {u"Общо USD"_s, recorded_ ? u"CENA_OBSTO_MAT_IZD_USD_DDS"_s : u"CenaMatIzdBroiObstoUSD"_s, 21, true},
                {u"Общо EUR"_s, recorded_ ? u"CENA_OBSTO_MAT_IZD_EUR_DDS"_s : u"CenaMatIzdBroiObstoEUR"_s, 22, true}};
    case Kind::A5:
        return {{u"№"_s, {}, 10, true}, {u"Наименование"_s, name, 80, false}, {u"Колич."_s, qty, 20, true},
                {u"Цена"_s, u"Cena"_s, 22, true}, {u"% то"_s, u"OTST_IZDELIE"_s, 15, true},
                {u"Цена с отст."_s, recorded_ ? u"Cena_otst"_s : u"Cena_Otst"_s, 25, true},
                {u"Валута"_s, u"Valuta"_s, 18, false}};
    case Kind::DispatchNote:
        return {{u"Наименование"_s, name, 120, false}, {u"Количество"_s, qty, 35, true}, {u"Мярка"_s, unit, 35, false}};
    case Kind::Requisition:
        return {{u"№"_s, {}, 10, true}, {u"Наименование"_s, name, 88, false}, {u"Мярка"_s, unit, 18, false},
                {u"Количество"_s, qty, 24, true}, {u"Ед.цена "_s, price, 24, true}, {u"Стойност"_s, value, 26, true}};
    }
    return {};
}

void TQRStockDocument::header()
{
    const double w = bodyWidth();
    Band& b = addBand(BandType::PageHeader, 10);
    double y = 0;
    if (kind_ == Kind::DispatchNote) {
        dispatchHeader(b);
        return;
    }
    if (kind_ == Kind::Requisition) {
        b.addField(u"QRDBTextFirma"_s, {0, 0, w, 7}, &dm_.SmpFirma, u"IMEFIRMA"_s).withFont(serif(12, true));
        label(b, QString(), {0, 8, w, 9}, u"И С К А Н Е"_s, 16, true).align(Qt::AlignCenter);
        label(b, QString(), {0, 18, 18, kLine}, u"Адрес: гр."_s);
        b.addField(u"QRDBTextGrad"_s, {18, 18, 30, kLine}, &dm_.SmpFirma, u"GradFirma"_s).withFont(serif(9, true));
        b.addField(u"QRDBTextAdres"_s, {48, 18, 80, kLine}, &dm_.SmpFirma, u"ADRES"_s).withFont(serif(9, true));
        label(b, QString(), {0, 24, w, kLine}, u"за отпускане на материални ценности"_s, 10).align(Qt::AlignCenter);
        label(b, QString(), {0, 30, 44, kLine}, u"Идентификационен № ДДС :"_s, 8);
        b.addField(u"QRDBTextBulstat"_s, {44, 30, 50, kLine}, &dm_.SmpFirma, u"BULSTAT"_s).withFont(serif(9, true));
        label(b, QString(), {w - 90, 30, 20, kLine}, u"Разрешил :"_s);
        label(b, u"QRLbRazreshil"_s, {w - 70, 30, 70, kLine}, {}, 9, true);
        label(b, QString(), {w - 90, 36, 90, kLine}, kSignatureDots, 8);
        y = 42;
    } else if (kind_ == Kind::A5) {
        label(b, QString(), {0, 0, 28, 7}, u" Получател :"_s, 10, true);
        label(b, u"QRLbPoluchatel"_s, {28, 0, w - 28, 7}, {}, 12, true);
        y = 9;
    } else {
        LayoutBlocks::PartyCaptions c{u" Получател "_s, u" Доставчик "_s};
        if (kind_ == Kind::Chain && recorded_) c.companyId = u"Номер от НДР :"_s, c.companyVat = u"Е И К :"_s;
        LayoutBlocks::parties(b, 0, w, dm_.SmpFirma, c);
        y = 52;
    }
    if (kind_ != Kind::Requisition) {
        const QString titleName = kind_ == Kind::StockReceipt ? (recorded_ ? u"QRLbStRazpKonsign"_s : u"QRLbStRazp_Konsign"_s)
                                                              : u"QRLbTitle"_s;
        label(b, titleName, {0, y, w, 9}, kStockReceiptTitle, kind_ == Kind::A5 ? 13 : 15, true).align(Qt::AlignCenter);
        y += 9;
        if (kind_ != Kind::A5) {
            label(b, QString(), {0, y, w, kLine}, u"за приемане / предаване на материални запаси"_s, 9).align(Qt::AlignCenter);
            y += kLine;
        }
    }
    const double mid = w / 2;
    const QString numberName = recorded_ && kind_ == Kind::StockReceipt ? u"QRLbNumDoc"_s
                               : kind_ == Kind::Requisition             ? u"QRLbProdIskaneNUM"_s
                                                                        : u"QRLbNFakt"_s;
    const QString dateName = kind_ == Kind::Requisition ? u"QRLbDateIskane"_s
                             : recorded_                 ? u"QRLbDateDoc"_s
                                                         : u"QRLbDateFakt"_s;
    label(b, QString(), {mid - 42, y, 8, 7}, u"№"_s, 12, true).align(kRight);
    label(b, QString(), {mid + 1, y, 5, 7}, u"/"_s, 12, true).align(Qt::AlignCenter);
    if (kind_ == Kind::Requisition && recorded_) {
        // The recorded requisition prints the sale's own number and date, unfilled.
        b.addField(numberName, {mid - 33, y, 34, 7}, &lines_, u"NEKSP_BEL"_s).withFont(serif(12, true)).align(Qt::AlignCenter);
        b.addField(dateName, {mid + 6, y, 30, 7}, &lines_, u"DATEFAKTURA"_s).withFont(serif(12, true)).format(u"dd.mm.yy"_s);
    } else {
        label(b, numberName, {mid - 33, y, 34, 7}, {}, 12, true).align(Qt::AlignCenter);
        label(b, dateName, {mid + 6, y, 30, 7}, {}, 12, true);
    }
    y += 8;
    if (kind_ == Kind::Chain) {
        label(b, QString(), {0, y, 22, kLine}, u"Поръчка №"_s);
        label(b, u"QRLbNumPorychka"_s, {22, y, 40, kLine}, {}, 9, true);
        y += kLine + 1;
    }
    LayoutBlocks::columnHeader(b, columns(), y);
    b.height = y + 10;
}

void TQRStockDocument::dispatchHeader(Band& b)
{
    const double w = bodyWidth();
    b.addField(u"QRDBTextFirma"_s, {0, 0, w, 7}, &dm_.SmpFirma, u"IMEFIRMA"_s).withFont(serif(12, true));
    label(b, QString(), {0, 9, w, 9}, u"ЕКСПЕДИЦИОННА БЕЛЕЖКА"_s, 16, true).align(Qt::AlignCenter);
    label(b, QString(), {w / 2 - 30, 19, 8, 7}, u"№"_s, 12, true).align(kRight);
    label(b, u"QRLbEkspBelN"_s, {w / 2 - 21, 19, 40, 7}, {}, 12, true);
    label(b, QString(), {0, 27, 14, kLine}, u"Дата :"_s);
    label(b, recorded_ ? u"QRLbDateDoc"_s : u"QRLbDateFakt"_s, {14, 27, 26, kLine}, {}, 9, true);
    label(b, QString(), {40, 27, 22, kLine}, u"г.   Час :"_s);
    label(b, u"QRLbEkspBelChas"_s, {62, 27, 30, kLine}, {}, 9, true);
    label(b, QString(), {0, 33, 20, kLine}, u"Заявител :"_s);
    label(b, u"QRLbZaiavitel"_s, {20, 33, w - 20, kLine}, {}, 10, true);
    b.height = 40;
    if (recorded_) return;
    double x = 0;
    for (const Column& c : columns()) {
        label(b, QString(), {x, 40, c.width, 8}, c.heading, 9, true).align(Qt::AlignCenter).framed(Frame::box(0.3));
        x += c.width;
    }
    b.height = 49;
}

void TQRStockDocument::detail() { LayoutBlocks::lineDetail(setDetail(&lines_, kRow), columns(), dm_.SmpMateriali); }

void TQRStockDocument::signatures(Band& b, double y)
{
    const double w = bodyWidth();
    const std::pair<const char*, QString> rows[] = {{"QRLbMOLFirma", u"Разрешил:"_s},
                                                    {"QRLbLicePoluch", u"Приел, МОЛ :"_s},
                                                    {"QRLbSystavil", u"Предал, МОЛ :"_s}};
    for (const auto& [name, text] : rows) {
        label(b, QString(), {0, y, 26, kLine}, text);
        label(b, QString::fromLatin1(name), {26, y, 80, kLine}, {}, 9, true);
        label(b, QString(), {w - 70, y, 70, kLine}, kSignature);
        y += kLine + 1;
    }
    label(b, QString(), {0, y, 50, kLine}, u"№ на транспортно средство :"_s);
    label(b, u"QRLbNumTransport"_s, {50, y, 50, kLine}, {}, 9, true);
}

void TQRStockDocument::summary()
{
    const double w = bodyWidth();
    Band& b = addBand(BandType::Summary, 60);
    const auto amount = [&](const QString& caption, const QString& name, double x, double y, double cw, bool bold = false) {
        label(b, QString(), {x, y, cw, kLine}, caption, 9, bold).align(kRight);
        label(b, name, {x + cw, y, 30, kLine}, {}, 9, true).align(kRight);
    };
    double y = 2;
    switch (kind_) {
    case Kind::StockReceipt:
        amount(recorded_ ? u"Стойност :"_s : u"Стойност:"_s, u"QRLbStoinost"_s, w - 80, y, 50), y += kLine;
        amount(u"Отстъпка :"_s, u"QRLbOtstypka"_s, w - 80, y, 50), y += kLine;
        amount(u"Обща стойност :"_s, u"QRLbObstaStoinost"_s, w - 80, y, 50, true), y += kLine + 1;
        label(b, QString(), {0, y, 16, kLine}, u"Словом:"_s, 9, true);
        label(b, u"QRLbSlovom"_s, {16, y, w - 16, kLine}, {}, 9, true);
        y += kLine + 3;
        signatures(b, y);
        y += 4 * (kLine + 1);
        break;
    case Kind::Chain:
        signatures(b, y);
        y += 4 * (kLine + 1);
        break;
    case Kind::ThreeCurrency: {
        // Right: the three totals in each currency; left: the debts.
        const double rx = w - 100;
        const char* cur[] = {"", "USD", "EUR"};
        const std::pair<QString, const char*> rows[] = {{u"Стойност"_s, "QRLbStoinost"}, {u"Отстъпка"_s, "QRLbOtstypka"},
                                                        {u"Обща стойност"_s, "QRLbObstaStoinost"}};
        for (int r = 0; r < 3; ++r) {
            label(b, QString(), {rx, y + r * kLine, 28, kLine}, rows[r].first, 9, r == 2).align(kRight);
            for (int c = 0; c < 3; ++c)
                label(b, QString::fromLatin1(rows[r].second) + QString::fromLatin1(cur[c]),
                      {rx + 28 + c * 24, y + r * kLine, 24, kLine}, {}, 9, r == 2).align(kRight);
        }
        const QString heads[] = {u"Суми \\ Валута"_s, u"ЛЕВА"_s, u"USD"_s, u"EUR"_s};
        for (int c = 0; c < 4; ++c)
            label(b, QString(), {c == 0 ? 0.0 : 30.0 + (c - 1) * 19, y, c == 0 ? 30.0 : 19.0, kLine}, heads[c], 8, true)
                .align(Qt::AlignCenter).framed(Frame::box(0.2));
        double dy = y + kLine;
        std::vector<std::pair<QString, QString>> debt;
        if (!recorded_) debt.push_back({u"Стари задължения"_s, u"QRLbStari"_s});
        debt.push_back({u"По документ"_s, u"QRLbPoDokument"_s});
        debt.push_back({u"Платено"_s, u"QRLbPlateno"_s});
        debt.push_back({u"Остатък задължения"_s, u"QRLbOstatyk"_s});
        const char* codes[] = {"LV", "USD", "EUR"};
        for (std::size_t r = 0; r < debt.size(); ++r) {
            const bool bold = r + 1 == debt.size();
            label(b, QString(), {0, dy, 30, kLine}, debt[r].first, 7, bold).framed(Frame::box(0.2));
            for (int c = 0; c < 3; ++c)
                label(b, debt[r].second + QString::fromLatin1(codes[c]), {30.0 + c * 19, dy, 19, kLine}, {}, 8, bold)
                    .align(kRight).framed(Frame::box(0.2));
            dy += kLine;
        }
        y = dy + 2;
        label(b, QString(), {0, y, 24, kLine}, u"* Забележка:"_s);
        label(b, u"QRLbBelegka"_s, {24, y, w - 24, recorded_ ? kLine : 2 * kLine}).wrap().align(Qt::AlignLeft | Qt::AlignTop);
        y += 2 * kLine + 1;
        signatures(b, y);
        y += 4 * (kLine + 1);
        label(b, QString(), {0, y, 100, kLine}, u"Платено в брой:. . . . . . . . . . . . . . . . . ."_s);
        label(b, QString(), {w - 90, y, 90, kLine},
              recorded_ ? u"Вносител/подпис/ :. . . . . . . . . . . . . . ."_s : u"Вносител/подпис/ :. . . . . . . . . . . . . ."_s);
        y += kLine;
        break;
    }
    case Kind::A5: {
        const char* cur[] = {"", "USD", "EUR"};
        const QString codes[] = {u"BGN"_s, u"USD"_s, u"EUR"_s};
        for (int c = 0; c < 3; ++c) {
            label(b, u"QRLbObstaStoinost"_s + QString::fromLatin1(cur[c]), {w - 60, y, 40, kLine}, {}, 10, true).align(kRight);
            label(b, QString(), {w - 18, y, 18, kLine}, codes[c], 10, true);
            y += kLine;
        }
        label(b, QString(), {0, y, 24, kLine}, u"* Забележка:"_s);
        label(b, u"QRLbBelegka"_s, {24, y, w - 24, 2 * kLine}).wrap().align(Qt::AlignLeft | Qt::AlignTop);
        y += 2 * kLine;
        break;
    }
    case Kind::DispatchNote: {
        if (recorded_) {
            label(b, QString(), {0, y, 44, kLine}, u"Вид на заявената смес :"_s);
            label(b, u"QRLbVidSmes"_s, {44, y, w - 44, kLine}, {}, 10, true);
            y += kLine;
            label(b, QString(), {0, y, 44, kLine}, u"Количество :"_s);
            label(b, u"QRLbKolichestvo"_s, {44, y, 60, kLine}, {}, 10, true);
            y += kLine + 2;
        }
        const std::pair<QString, const char*> rows[] = {{u"Автомобил рег. № :"_s, "QRLbTransport"}, {u"Шофьор :"_s, "QRLbShofior"}};
        for (const auto& [text, name] : rows) {
            label(b, QString(), {0, y, 36, kLine}, text);
            label(b, QString::fromLatin1(name), {36, y, 80, kLine}, {}, 9, true);
            y += kLine;
        }
        label(b, QString(), {0, y, 24, kLine}, u"Тегло: Бруто "_s);
        label(b, u"QRLbTegloBruto"_s, {24, y, 24, kLine}, {}, 9, true);
        label(b, QString(), {50, y, 10, kLine}, u"Тара"_s);
        label(b, u"QRLbTegloTara"_s, {60, y, 24, kLine}, {}, 9, true);
        label(b, QString(), {86, y, 10, kLine}, u"Нето"_s);
        label(b, u"QRLbTegloNeto"_s, {96, y, 24, kLine}, {}, 9, true);
        y += kLine + 2;
        label(b, QString(), {0, y, 20, kLine}, u"Изпращач :"_s);
        label(b, u"QRLbSystavil"_s, {20, y, 80, kLine}, {}, 9, true);
        label(b, QString(), {110, y, 30, kLine}, u"/подпис/"_s, 8);
        y += kLine + 2;
        label(b, QString(), {0, y, w, kLine}, u"Получател :_______________________________________________________ в ________часа"_s);
        y += kLine;
        label(b, QString(), {40, y, 40, kLine}, u"/трите имена/"_s, 8);
        label(b, QString(), {110, y, 30, kLine}, u"/подпис/"_s, 8);
        y += kLine;
        break;
    }
    case Kind::Requisition:
        amount(u"Обща стойност :"_s, u"QRLbObstaStoinost"_s, w - 80, y, 50, true), y += kLine + 1;
        label(b, QString(), {0, y, 16, kLine}, u"Словом:"_s, 9, true);
        label(b, u"QRLbSlovom"_s, {16, y, w - 16, kLine}, {}, 9, true);
        y += kLine + 3;
        for (const auto& [text, name] : {std::pair{u"Поискал :"_s, "QRLbPoiskal"}, {u"Отпуснал :"_s, "QRLbOtpusnal"}}) {
            label(b, QString(), {0, y, 20, kLine}, text);
            label(b, QString::fromLatin1(name), {20, y, 80, kLine}, {}, 9, true);
            label(b, QString(), {w - 80, y, 80, kLine}, kSignatureDots, 8);
            y += kLine + 1;
        }
        break;
    }
    b.height = y + 2;
}

void TQRStockDocument::fill(const StockDocHeading& h)
{
    for (const auto& band : bands())
        for (const auto& item : band->items()) {
            if (item->name.isEmpty() || item->kind != ItemKind::Label) continue;
            if (item->name == u"QRLbStRazp_Konsign"_s || item->name == u"QRLbStRazpKonsign"_s) {
                if (!h.title.isEmpty()) item->caption = h.title;  // other types keep the last title
                continue;
            }
            const auto it = texts().find(item->name);
            if (it != texts().end()) item->caption = (*it)(h);
        }
}

bool TQRStockDocument::print(int copies)
{
    if (copies <= 0) return true;
    Document doc;
    const Document one = build();
    doc.name = one.name, doc.paper = one.paper, doc.orientation = one.orientation, doc.pageSize = one.pageSize;
    for (int c = 0; c < copies; ++c)
        for (Page p : one.pages) {
            p.copy = c;
            doc.pages << p;
        }
    return Report::printDocument(doc);
}

StockLayouts::StockLayouts(TDMNS& dm, SmpDataset& lines, bool recorded)
{
    if (recorded) {
        receipt_ = std::make_unique<TQRStokRazpElementi>(dm, lines);
        chain_ = std::make_unique<TQRpStRazpDorvexElementi>(dm, lines);
        currencies_ = std::make_unique<TQRStokRazpLvUsdEurElementi>(dm, lines);
        a5_ = std::make_unique<TQRStokRazpElementiA5>(dm, lines);
        dispatch_ = std::make_unique<TQREkspBelElementi>(dm, lines);
        requisition_ = std::make_unique<TQRProdIskaneElementi>(dm, lines);
    } else {
        receipt_ = std::make_unique<TQRStokRaspiska>(dm, lines);
        chain_ = std::make_unique<TQRpStRazpDorvex>(dm, lines);
        currencies_ = std::make_unique<TQRStokRazpLvUsdEur>(dm, lines);
        a5_ = std::make_unique<TQRStokRazpA5>(dm, lines);
        dispatch_ = std::make_unique<TQREkspBel>(dm, lines);
        requisition_ = std::make_unique<TQRProdIskane>(dm, lines);
    }
}

TQRStockDocument* StockLayouts::layoutFor(int documentType)
{
    switch (documentType) {
    case 2: case 3: return receipt_.get();
    case 4: return chain_.get();
    case 6: return currencies_.get();
    case 7: return dispatch_.get();
    case 8: return a5_.get();
    case 9: return requisition_.get();
    default: return nullptr;
    }
}
