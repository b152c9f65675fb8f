#include "app/formns.h"

#include "app/instances.h"
#include "backup/backupui.h"
#include "cash/formkasa.h"
#include "platform/base/formats.h"
#include "data/dmns.h"
#include "data/dmnsspravki.h"
#include "data/dmpers.h"
#include "data/dmporychki.h"
#include "platform/dataset/smpdataset.h"
#include "platform/db/dberror.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/handlers.h"
#include "reference/formnomenklaturi.h"
#include "staff/formpersonal.h"
#include "warehouse/formsklad.h"
#include "outlets/formsklobekti.h"
#include "production/formproizvodstvo.h"
#include "warehouse/formskladpunkt.h"
#include "sales/formprodagba.h"
#include "payments/formrazplastania.h"
#include "payments/tabrazpl.h"
#include "orders/formporychka.h"
#include "salesinfo/formgotovaprod.h"

#include <QCloseEvent>
#include <QToolButton>
#include <QCoreApplication>
#include <QLinearGradient>
#include <QMenuBar>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPainterPath>

#include <tuple>

namespace {

const QString kCaption = QStringLiteral("ИНФОРМАЦИОННА  СИСТЕМА  ЗА  УПРАВЛЕНИЕ  НА  БИЗНЕСА  !");
constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The hot spots sit on a 4 x 3 grid of tiles drawn into the background picture.
constexpr int kTileW = 170, kTileH = 110, kGapX = 22, kGapY = 24, kLeft = 33, kTop = 118;

QRect tileRect(int index)
{
    const int col = index % 4, row = index / 4;
    return QRect(kLeft + col * (kTileW + kGapX), kTop + row * (kTileH + kGapY), kTileW, kTileH);
}

// Tile captions and symbols of the picture, by tile.
struct Tile
{
    const char* title;
    const char* symbol;
    QColor colour;
};
const Tile kTiles[] = {
    {"Поръчки", "✎", QColor(0x3a, 0x7b, 0xbf)},        {"Складове", "▦", QColor(0x2e, 0x8b, 0x57)},
    {"Склад /пункт/", "⌂", QColor(0x3c, 0x9d, 0x7a)},  {"Цехове", "⚙", QColor(0x8a, 0x6d, 0x3b)},
    {"Фактуриране", "✍", QColor(0xb0, 0x44, 0x3a)},    {"Продажби", "▤", QColor(0xc2, 0x6a, 0x2f)},
    {"Каса", "лв", QColor(0xa0, 0x85, 0x1d)},           {"Складови обекти", "⌘", QColor(0x5b, 0x6e, 0x9e)},
    {"Разплащания", "⚖", QColor(0x6b, 0x4c, 0x9a)},    {"Номенклатури", "☰", QColor(0x45, 0x7b, 0x8c)},
    {"Персонал", "☺", QColor(0x4f, 0x8a, 0x3c)},       {"Изход", "✖", QColor(0x7a, 0x7a, 0x7a)},
};

QPixmap drawBackground(const QVector<TFormNS::Command>& commands)
{
    QPixmap pm(kWidth, kHeight);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, QColor(0x1f, 0x3b, 0x5c));
    sky.setColorAt(1, QColor(0xd9, 0xe4, 0xee));
    p.fillRect(pm.rect(), sky);

    QFont title(QStringLiteral("DejaVu Sans"), 20, QFont::Bold);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 44, kWidth, 40), Qt::AlignCenter, QStringLiteral("Управление на бизнеса"));
    p.setPen(QPen(QColor(255, 255, 255, 120), 2));
    p.drawLine(120, 92, kWidth - 120, 92);

    QFont symbol(QStringLiteral("DejaVu Sans"), 30);
    QFont caption(QStringLiteral("DejaVu Sans"), 11, QFont::Bold);
    for (const TFormNS::Command& c : commands) {
        if (c.tile < 0) continue;
        const int i = c.tile;
        const QRect r = tileRect(i);
        // A command without its window yet is drawn grey.
        const QColor colour = c.handler ? kTiles[i].colour : QColor(0xa8, 0xae, 0xb4);
        QPainterPath path;
        path.addRoundedRect(r, 14, 14);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, colour.lighter(135));
        g.setColorAt(1, colour);
        p.fillPath(path.translated(3, 4), QColor(0, 0, 0, 60));
        p.fillPath(path, g);
        p.setPen(QPen(colour.darker(140), 1.5));
        p.drawPath(path);
        p.setPen(c.handler ? QColor(Qt::white) : QColor(0xe8, 0xea, 0xec));
        p.setFont(symbol);
        p.drawText(r.adjusted(0, 6, 0, -36), Qt::AlignCenter, QString::fromUtf8(kTiles[i].symbol));
        p.setFont(caption);
        p.drawText(r.adjusted(4, 0, -4, -10), Qt::AlignHCenter | Qt::AlignBottom, QString::fromUtf8(kTiles[i].title));
    }
    return pm;
}

} // namespace

// A transparent region over the picture: hand cursor, hover text, click.
class HotSpot : public QWidget
{
public:
    HotSpot(const TFormNS::Command& command, TFormNS* form, QWidget* parent)
        : QWidget(parent), command_(command), form_(form)
    {
        setObjectName(QString::fromLatin1(command.hotSpot));
        setEnabled(command.handler != nullptr);
        setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
        setMouseTracking(true);
        setToolTip(QString());
    }

protected:
    void mouseMoveEvent(QMouseEvent*) override { form_->Label1->setText(QString::fromUtf8(command_.hover)); }
    void enterEvent(QEnterEvent*) override { form_->Label1->setText(QString::fromUtf8(command_.hover)); }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) Handlers::run([this] { (form_->*command_.handler)(); });
    }

private:
    const TFormNS::Command& command_;
    TFormNS* form_;
};

const QVector<TFormNS::Command>& TFormNS::commands()
{
    // The working windows join these handlers as they are built.
    static const QVector<Command> table = {
        {"N2Porych", "Поръчки - формиране", "ImgPorychki", "Поръчки - формиране", &TFormNS::N2PorychClick, 0},
        {"N3SkladDost", "Складове - доставка", "ImgSklad", "Складове - доставка", &TFormNS::N3SkladDostClick, 1},
        {"N10SkladPunkt", "Склад /пункт/ - доставка", "ImgSklPunkt", "Склад/пункт/ - доставка",
         &TFormNS::N10SkladPunktClick, 2},
        {"N4CehProizv", "Цехове - производство", "ImgCeh", "Цехове - производство", &TFormNS::N4CehProizvClick, 3},
        {"N5ProdFakt", "Продажба - фактуриране", "ImgFakt", "Фактуриране - продажба", &TFormNS::N5ProdFaktClick, 4},
        {"N6InfProdagba", "Информация - продажби", "ImgInfProd", "Информация - продажби", &TFormNS::N6InfProdagbaClick, 5},
        {"N2Kasa", "Каса", "ImgKasa", "Каса, приходен и разходен ордери !", &TFormNS::N2KasaClick, 6},
        {"N1SklObekt", "Складови обекти", "ImgSklObekti", "Складови обекти / магазини / !", &TFormNS::N1SklObektClick, 7},
        {"N7Razpl", "Разплащания - мониторинг", "ImgRazpl", "Разплащания - мониторинг", &TFormNS::N7RazplClick, 8},
        {"N13", "-", nullptr, nullptr, nullptr, -1},
        {"N14Izhod", "Изход", "ImgIzhod", "Радвам се, че работихме заедно. Приятна почивка!", &TFormNS::N14IzhodClick,
         11},
        {"N9Nomenkl", "Номенклатури - формиране", "ImgNomenlk", "Номенклатури - формиране, настройки",
         &TFormNS::N9NomenklClick, 9},
        {"N12Pers", "Персонал - фирма", "ImgPers", "Персонал - фирма", &TFormNS::N12PersClick, 10},
    };
    return table;
}

TFormNS::TFormNS(AppInstances& app, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      app_(app)
{
    setObjectName(QStringLiteral("FormNS"));
    FormCreate();
}

void TFormNS::FormCreate()
{
    // The program's text conversions use fixed formats whatever the user's regional settings.
    Formats::installProcessFormats();
    setWindowTitle(kCaption);
    buildMenu();
    buildPicture();
}

void TFormNS::buildMenu()
{
    MenuFirm = new QMenuBar(this);
    MenuFirm->setObjectName(QStringLiteral("MenuFirm"));
    setMenuBar(MenuFirm);
    struct Top { const char* name; const char* caption; int first, last; };
    const Top tops[] = {{"N1Porychki", "Система", 0, 10}, {"N8", "Настройки", 11, 11}, {"N11", "Персонал", 12, 12}};
    const auto& cmds = commands();
    for (const Top& t : tops) {
        QMenu* menu = MenuFirm->addMenu(QString::fromUtf8(t.caption));
        menu->setObjectName(QString::fromLatin1(t.name));
        for (int i = t.first; i <= t.last; ++i) {
            const Command& c = cmds[i];
            QAction* a = c.hotSpot ? menu->addAction(QString::fromUtf8(c.caption)) : menu->addSeparator();
            a->setObjectName(QString::fromLatin1(c.action));
            if (c.handler) Handlers::connect(a, &QAction::triggered, this, c.handler);
            else if (c.hotSpot) a->setEnabled(false);
        }
        if (qstrcmp(t.name, "N1Porychki") == 0) {
            // Backup and restore, above the separator before "Изход".
            QAction* before = menu->findChild<QAction*>(QStringLiteral("N13"));
            QAction* first = nullptr;
            for (auto [name, caption, handler] : {std::tuple{"NArhiv", "Архивиране на базата данни…", &TFormNS::NArhivClick},
                                                  std::tuple{"NVazstanovi", "Възстановяване от архив…", &TFormNS::NVazstanoviClick}}) {
                auto* a = new QAction(QString::fromUtf8(caption), menu);
                a->setObjectName(QString::fromLatin1(name));
                menu->insertAction(before, a);
                Handlers::connect(a, &QAction::triggered, this, handler);
                if (!first) first = a;
            }
            menu->insertSeparator(first);
        }
    }
}

void TFormNS::buildPicture()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    central->setFixedSize(kWidth, kHeight);
    setCentralWidget(central);

    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, kWidth, kHeight);
    Image1->setPixmap(drawBackground(commands()));
    Image1->setMouseTracking(true);
    Image1->installEventFilter(this);

    DBText1 = new QLabel(central);
    DBText1->setObjectName(QStringLiteral("DBText1"));
    DBText1->setGeometry(kWidth - 110, 8, 100, 24);
    DBText1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    DBText1->setStyleSheet(QStringLiteral("color: white;"));
    DBText1->setAttribute(Qt::WA_TransparentForMouseEvents);

    for (const Command& c : commands()) {
        if (!c.hotSpot) continue;
        auto* spot = new HotSpot(c, this, central);
        spot->setGeometry(tileRect(c.tile));
    }

    Label1 = new QLabel(central);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(0, kHeight - 58, kWidth, 40);
    Label1->setAlignment(Qt::AlignCenter);
    QFont f(QStringLiteral("DejaVu Sans"), 15, QFont::Bold);
    Label1->setFont(f);
    Label1->setStyleSheet(QStringLiteral("color: #1f3b5c;"));
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

bool TFormNS::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && event->type() == QEvent::MouseMove) Image1MouseMove();
    return QMainWindow::eventFilter(watched, event);
}

void TFormNS::Image1MouseMove() { Label1->clear(); }

void TFormNS::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (firstShowDone_) return;
    firstShowDone_ = true;
    FormShow();
}

void TFormNS::FormShow()
{
    // A step that fails is reported and the rest of the preparation is left out; the window stays.
    try {
        TDMNS& dm = *app_.DMNS;
        // Step 1: the report column settings (they need no database).
        app_.FormNomenklaturi->ApplyColumnSettings();
        dm.connect();
        for (SmpDataset* ds : {&dm.SmpTipProizvN, &dm.SmpTipIzdelieN, &dm.SmpRecep_izdN, &dm.SmpDaNe, &dm.SmpMOLKontr,
                               &dm.SmpKontrFilial, &dm.SmpFirma, &dm.SmpOsnovDDS, &dm.SmpTipSklOb, &dm.SmpTipValuta})
            ds->open();
        DBText1->setText(dm.SmpFirma.fieldByName(QStringLiteral("VER"))->asString());
        // An exact match only: the windows built for that company read this flag for their captions.
        const QString special = AppInstances::specialVatNumber();
        SpecialVatCompany = !special.isEmpty() && dm.SmpFirma.fieldByName(QStringLiteral("BULSTAT"))->asString() == special;
        if (SpecialVatCompany) {
            app_.FormSklad->N6->setText(QStringLiteral("Склад - материали наличности към дата - Дамул"));
            app_.FormSklad->N7->setText(QStringLiteral("Склад - складови разписки - Дамул"));
            app_.FormRazplastania->TabSheet3->BitBtnSaldaKlienti->setText(QStringLiteral("Салда на клиенти-Дамул"));
        }
        dm.SmpMolFirma.open();
        dm.SmpVidPlastane.open();
        const QString title = dm.SmpFirma.fieldByName(QStringLiteral("IMELOGO"))->asString();
        if (!title.isEmpty()) setWindowTitle(title);
        dm.RefreshKontragenti(1, 100, 0);
    } catch (const DbError& e) {
        UiService::current().reportError(userText(e));
    }
}

void TFormNS::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) QCoreApplication::quit();
}

void TFormNS::N3SkladDostClick() { UiService::current().showModeless(app_.FormSklad); }
void TFormNS::N4CehProizvClick() { UiService::current().showModeless(app_.FormProizvodstvo); }
void TFormNS::N10SkladPunktClick() { UiService::current().showModeless(app_.FormSkladPunkt); }
void TFormNS::N5ProdFaktClick() { UiService::current().showModeless(app_.FormProdagba); }
void TFormNS::N9NomenklClick() { UiService::current().showModal(app_.FormNomenklaturi); }
void TFormNS::N12PersClick() { UiService::current().showModal(app_.FormPersonal); }
void TFormNS::N7RazplClick() { UiService::current().showModal(app_.FormRazplastania); }
void TFormNS::N2PorychClick() { UiService::current().showModal(app_.FormPorychka); }
void TFormNS::N6InfProdagbaClick()
{
    app_.FormGotovaProd->setSpecialCompany(SpecialVatCompany);
    UiService::current().showModeless(app_.FormGotovaProd);
}
void TFormNS::N14IzhodClick() { close(); }

void TFormNS::NArhivClick() { BackupUi::backupDatabase(app_.DMNS->SQLConnectNS, AppInstances::backupStatePath(), this); }

void TFormNS::NVazstanoviClick()
{
    if (!BackupUi::restoreDatabase(app_.DMNS->SQLConnectNS, AppInstances::backupStatePath(), this)) return;
    // Every open list is read again from the restored database.
    for (QObject* module : std::initializer_list<QObject*>{app_.DMNS, app_.DMNsSpravki, app_.DMPorychki, app_.DMPers})
        for (SmpDataset* ds : module->findChildren<SmpDataset*>())
            if (ds->isActive()) {
                if (ds->state() != SmpDataset::State::Browse) ds->cancel();
                ds->refresh();
            }
    FormShow();
}
void TFormNS::N2KasaClick() { UiService::current().showModeless(app_.FormKasa); }
void TFormNS::N1SklObektClick() { UiService::current().showModeless(app_.FormSklObekti); }
