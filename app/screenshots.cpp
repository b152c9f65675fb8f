// Writes a PNG of every built window into the folder given as the only argument, over a fresh
// embedded database in a temporary folder. Run it with QT_QPA_PLATFORM=offscreen.
#include "app/formns.h"
#include "app/instances.h"
#include "data/dmporychki.h"
#include "orders/formporychdvigmat.h"
#include "orders/formporychka.h"
#include "orders/formporychkadvigkontr.h"
#include "orders/formporychkaizdelia.h"
#include "orders/formporychkamat.h"
#include "orders/formporychkanova.h"
#include "orders/formporychkidate.h"
#include "orders/ordersdata.h"
#include "platform/widgets/dblookupcombobox.h"
#include "cash/cashbook.h"
#include "cash/formkasa.h"
#include "cash/formkasovorder.h"
#include "warehouse/formnovadostavka.h"
#include "warehouse/formmaterialdostavka.h"
#include "platform/base/clock.h"
#include <QDateEdit>
#include <QLineEdit>
#include "reference/formnomenklaturi.h"
#include "reference/tabcompany.h"
#include "reference/tabproduction.h"
#include "reference/formkontragent.h"
#include "reference/formmateriali.h"
#include "reference/formspecceni.h"
#include "reference/formtipsklad.h"
#include "reference/formmiarki.h"
#include "reference/formgrad.h"
#include "reference/formcountry.h"
#include "reference/formtipkontr.h"
#include "data/dmns.h"
#include "reference/formizdmatiso.h"
#include "reference/formrecepizdelie.h"
#include "reference/formtipizdelie.h"
#include "reference/formtipproizv.h"
#include "platform/widgets/radiogroup.h"
#include "reference/tabsettings.h"
#include <QSpinBox>
#include <QToolButton>
#include <QTabWidget>
#include "platform/ui/application.h"
#include "data/dmpers.h"
#include "staff/formpersonal.h"
#include "staff/formslugavans.h"
#include "staff/formslugotchet.h"
#include "staff/formslugrazplobsto.h"
#include "staff/formviewzarab.h"
#include "staff/formpers.h"
#include "data/dmsklad.h"
#include "warehouse/deliveries.h"
#include "warehouse/formdostavkakorekcia.h"
#include "warehouse/formambalag.h"
#include "warehouse/formmatspravka.h"
#include "warehouse/formskladmatceni.h"
#include "warehouse/formskladpunkt.h"
#include "warehouse/formsprskladdvigenie.h"
#include "warehouse/formsprskladmateriali.h"
#include "warehouse/formsprskladmaterialikymdata.h"
#include "warehouse/formsprskladsklrazp.h"
#include "platform/report/reportpreview.h"
#include "warehouse/formsklad.h"
#include "warehouse/formskldostbrak.h"
#include "warehouse/formupddostcena.h"
#include "warehouse/stocklines.h"
#include "staff/formpersmat.h"
#include "staff/tabslugrazpl.h"
#include "staff/tabtools.h"
#include "staff/tabzarab.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/ui/uiservice.h"

#include "data/dmprodagba.h"
#include "data/dmsklobekti.h"
#include "outlets/formsklobekti.h"
#include "outlets/formsklobtransfer.h"
#include "outlets/objecttransfers.h"
#include "data/dmproizv.h"
#include "production/formiskizdelie.h"
#include "production/formproizvodstvo.h"
#include "production/formrecepizdisk.h"
#include "production/formsklisk.h"
#include "production/formspriskania.h"
#include "production/production.h"
#include "sales/documentprintdialog.h"
#include "sales/formprodagba.h"
#include "sales/formprodagbaelementi.h"
#include "sales/formrealizaciaprint.h"
#include "sales/formprodagbamateriali.h"
#include "sales/salerecording.h"
#include "data/dmnsspravki.h"
#include "salesinfo/formgotovaprod.h"
#include "salesinfo/formklientioborot.h"
#include "salesinfo/formprodpomeseci.h"
#include "salesinfo/formsprprodagbi.h"
#include "salesinfo/formsprrealizaciarazplastania.h"
#include "salesinfo/formvlmatizd.h"

#include <QMessageBox>
#include "payments/formrazpldost.h"
#include "payments/formrazplastania.h"
#include "payments/formrazplklient.h"
#include "payments/paymentsdata.h"
#include "payments/tabrazpl.h"
#include "platform/widgets/radiogroup.h"
#include "platform/widgets/wrappingtabwidget.h"
#include <QDateEdit>
#include <QLineEdit>
#include <functional>
#include <memory>
#include <tuple>

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

namespace {
// No message box may wait offscreen for an answer nobody gives: a notice, a question (answered No)
// or an error a scene runs into is written to stderr and fails the run instead.
class ShotUi : public UiService
{
public:
    explicit ShotUi(int& failures) : failures_(failures) {}
    void showMessage(const QString& text) override { unexpected(QStringLiteral("message"), text); }
    bool askYesNo(const QString& text) override
    {
        unexpected(QStringLiteral("question"), text);
        return false;
    }
    void reportError(const QString& text) override { unexpected(QStringLiteral("error"), text); }

protected:
    int& failures_;

private:
    void unexpected(const QString& kind, const QString& text)
    {
        QTextStream(stderr) << kind << ": " << text << '\n';
        ++failures_;
    }
};

// Stands in for the modal showing while an editor is opened by the call that names its mode: the
// editor is shown, filled by the script if one is given, photographed under the name given and closed.
class ModalShot : public ShotUi
{
public:
    ModalShot(const QDir& out, int& failures) : ShotUi(failures), out_(out), previous_(&UiService::current())
    {
        UiService::install(this);
    }
    ~ModalShot() override { UiService::install(previous_); }
    QString name;
    std::function<void(Form*)> script;
    int result = 0;
    int showModal(Form* form) override
    {
        form->show();
        QCoreApplication::processEvents();
        if (script) {
            script(form);
            QCoreApplication::processEvents();
        }
        const QString file = out_.filePath(name + QStringLiteral(".png"));
        if (!form->grab().save(file)) ++failures_;
        QTextStream(stdout) << file << '\n';
        form->close();
        return result;
    }

private:
    const QDir& out_;
    UiService* previous_;
};
}  // namespace

int main(int argc, char** argv)
{
    Application app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: trx-screenshots OUTPUT_DIR\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    QTemporaryDir data;
    ConnectionParams params;
    params.database = QDir(data.path()).filePath(params.database);
    AppInstances instances(params);

    const QList<QWidget*> windows = {instances.FormNS, instances.FormNomenklaturi};
    int failures = 0;
    ShotUi ui(failures);
    UiService::install(&ui);
    // Shows a window, photographs it under the name given and lists the file.
    const auto shot = [&](QWidget* w, const QString& name) {
        w->show();
        QCoreApplication::processEvents();
        const QString file = out.filePath(name + QStringLiteral(".png"));
        if (!w->grab().save(file)) ++failures;
        QTextStream(stdout) << file << '\n';
    };
    for (QWidget* w : windows) shot(w, w->objectName());
    // Every tab of the reference data window at its size, named after the tab, and the company
    // tab's lists; then the editors.
    {
        TFormNomenklaturi* nom = instances.FormNomenklaturi;
        const auto tabs = [&](QTabWidget* pages, QWidget* window) {
            for (int i = 0; i < pages->count(); ++i) {
                pages->setCurrentIndex(i);
                window->show();
                QCoreApplication::processEvents();
                const QString file = out.filePath(QStringLiteral("FormNomenklaturi_%1.png").arg(pages->widget(i)->objectName()));
                if (!window->grab().save(file)) ++failures;
                QTextStream(stdout) << file << '\n';
            }
        };
        tabs(nom->PageControl1, nom);
        nom->PageControl1->setCurrentWidget(nom->TabSheet6);
        tabs(nom->TabSheet6->findChild<QTabWidget*>(QStringLiteral("PageControlFirmaSpisyci")), nom);
        nom->PageControl1->setCurrentIndex(0);
        nom->close();
    }
    // A Yes/No question as the user sees it.
    {
        const std::unique_ptr<QMessageBox> box(UiService::questionBox(nullptr, QStringLiteral(" Изтриване на материал ? ")));
        box->show();
        QCoreApplication::processEvents();
        const QString file = out.filePath(QStringLiteral("Question.png"));
        if (!box->grab().save(file)) ++failures;
        QTextStream(stdout) << file << '\n';
    }
    const QList<QWidget*> editors = {instances.FormMateriali, instances.FormKontragent, instances.FormTipSklad,
                                     instances.FormMiarki,    instances.FormGrad,       instances.FormCountry,
                                     instances.FormTipKontr};
    for (QWidget* w : editors) {
        w->show();
        QCoreApplication::processEvents();
        const QString file = out.filePath(w->objectName() + QStringLiteral(".png"));
        if (!w->grab().save(file)) ++failures;
        QTextStream(stdout) << file << '\n';
        w->close();
    }
    {
        ModalShot modal(out, failures);
        modal.name = QStringLiteral("FormSpecCeni");
        instances.FormSpecCeni->openNew(QString());  // the new-price layout, with its choice groups
    }
    // The production tab over a small workshop with one product, and the recipe windows.
    {
        TDMNS& dm = *instances.DMNS;
        SQLConnection& db = dm.SQLConnectNS;
        const char* rows[] = {
            "insert into TIP_PROIZVODSTVO (NPROIZVODSTVO, PROIZVODSTVO, PSEVDONIM_CEH) values (1, 'Дърводелски цех', 'ДЦ')",
            "insert into TIP_PROIZVODSTVO (NPROIZVODSTVO, PROIZVODSTVO, PSEVDONIM_CEH) values (2, 'Тапицерски цех', 'ТЦ')",
            "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA, NSKLAD, ED_CENA) values (9101, 'Дъска бук 20 мм', 5, 1, 24.6)",
            "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA, NSKLAD, ED_CENA) values (9102, 'Лепило ПВА', 2, 1, 4.35)",
            "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA, NSKLAD, ED_CENA) values (9103, 'Винт 4x40', 1, 1, 0.07)",
            "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA, NSKLAD, ED_CENA) values (9201, 'Маса трапезна, бук', 1, 1, 35.2)",
            "insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (1, 1, 9201)",
            "insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (1, 9101, 1.25)",
            "insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (1, 9102, 0.3)",
            "insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (1, 9103, 16)",
        };
        for (const char* sql : rows) db.execute(QString::fromUtf8(sql));
        for (SmpDataset* ds : {&dm.SmpMateriali, &dm.SmpTipProizv, &dm.SmpTipProizvN, &dm.SmpTipIzdVIEW}) {
            ds->close();
            ds->open();
        }
        TFormNomenklaturi* nom = instances.FormNomenklaturi;
        nom->PageControl1->setCurrentWidget(nom->TabSheet4);
        nom->TabSheet4->SpnEdtBrIzdeliaN->setValue(2);
        shot(nom, QStringLiteral("FormNomenklaturi_TabSheet4"));
        shot(instances.FormTipProizv, QStringLiteral("FormTipProizv"));
        instances.FormTipProizv->close();
        {
            ModalShot modal(out, failures);
            instances.FormTipIzdelie->RdGrpRecepta->click(1);
            modal.name = QStringLiteral("FormTipIzdelie_0");
            instances.FormTipIzdelie->open(TFormTipIzdelie::Mode::New);
            modal.name = QStringLiteral("FormTipIzdelie_1");
            instances.FormTipIzdelie->open(TFormTipIzdelie::Mode::Move);
            instances.FormTipIzdelie->SpdBtnIzhod->click();
        }
        shot(instances.FormRecepIzdelie, QStringLiteral("FormRecepIzdelie"));
        instances.FormRecepIzdelie->SpdBtnIzhod->click();
        nom->TabSheet4->BitBtnIsoClick();
        shot(instances.FormIzdMatISO, QStringLiteral("FormIzdMatISO"));
        instances.FormIzdMatISO->close();
        nom->close();
    }
    // The column settings tab (the item list has its fields once the window has been shown).
    {
        TFormNomenklaturi* nom = instances.FormNomenklaturi;
        nom->PageControl1->setCurrentWidget(nom->TabSheet5);
        nom->show();
        QCoreApplication::processEvents();
        const QString file = out.filePath(QStringLiteral("FormNomenklaturi_TabSheet5.png"));
        if (!nom->grab().save(file)) ++failures;
        QTextStream(stdout) << file << '\n';
        // The tab alone at the width it has in a window of 790 pixels.
        const QSize page = nom->TabSheet5->size();
        nom->TabSheet5->resize(page.width() - (nom->width() - 790), page.height());
        const QString narrow = out.filePath(QStringLiteral("FormNomenklaturi_TabSheet5_790.png"));
        if (!nom->TabSheet5->grab().save(narrow)) ++failures;
        QTextStream(stdout) << narrow << '\n';
        nom->TabSheet5->resize(page);
        nom->close();
    }
    // The staff window with employees, issued tools, business payments and piece-work.
    {
        TDMPers& pers = *instances.DMPers;
        SQLConnection& db = instances.DMNS->SQLConnectNS;
        const QString month = QDate::currentDate().toString(QStringLiteral("yyyyMM"));
        const QString prev = QDate::currentDate().addMonths(-1).toString(QStringLiteral("yyyyMM"));
        const QString day = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
        const char* rows[] = {
            "insert into DLYGNOSTI (KOD_DLYGNOST, IME_DLYGNOST) values (1, 'Шивач')",
            "insert into DLYGNOSTI (KOD_DLYGNOST, IME_DLYGNOST) values (2, 'Снабдител')",
            "insert into PERSONAL (SHIFYR, IME, PREZ, FAM, EGN, POST_KOD, ADRES_UL_N, LK, LK_DATE, POST_KOD_RPU, TEL, KOD_DLYGNOST) "
            "values (1, 'Иван', 'Петров', 'Иванов', '7803124563', 4000, 'ул. Иван Вазов 12', '645123987', '14.05.2019', 4000, '0888 123 456', 2)",
            "insert into PERSONAL (SHIFYR, IME, PREZ, FAM, EGN, POST_KOD, KOD_DLYGNOST) values (2, 'Мария', 'Георгиева', 'Петрова', '8511054421', 4000, 1)",
            "insert into PERSONAL (SHIFYR, IME, PREZ, FAM, EGN, POST_KOD, KOD_DLYGNOST) values (3, 'Георги', 'Стоянов', 'Колев', '9002146678', 1000, 1)",
            "insert into TIP_SKLAD (NSKLAD, SKLAD) values (40, 'Инструменти')",
            "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA, NSKLAD) values (9401, 'Бормашина Bosch GSB 13', 1, 40)",
            "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA, NSKLAD) values (9402, 'Шевна машина Juki DDL', 1, 40)",
            "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA, NSKLAD) values (9403, 'Ножици шивашки', 1, 40)",
            "insert into MATERIAL_PERSONAL (NMATERIAL, SHIFYR, KOLICHESTVO, DATEOT) values (9401, 1, 1, '03.02.2026')",
            "insert into MATERIAL_PERSONAL (NMATERIAL, SHIFYR, KOLICHESTVO, DATEOT) values (9403, 1, 2, '03.02.2026')",
            "insert into MATERIAL_PERSONAL (NMATERIAL, SHIFYR, KOLICHESTVO, DATEOT) values (9402, 2, 1, '11.03.2026')",
            "insert into TIP_SLUG_OTCHET (NTIP_SLUG_OTCHET, IME_SLUG_OTCHET) values (1, 'Гориво')",
            "insert into TIP_SLUG_OTCHET (NTIP_SLUG_OTCHET, IME_SLUG_OTCHET) values (2, 'Командировка')",
            "insert into TIP_MANIPULACII (NUM_MANIPULACIA, IME_MANIPULACIA, RAZCENKA) values (1, 'Кроене', 0.45)",
            "insert into TIP_MANIPULACII (NUM_MANIPULACIA, IME_MANIPULACIA, RAZCENKA) values (2, 'Шиене', 0.80)",
            "insert into DOSTAVKI_PLASTANE (NKONTRAGENT, SHIFYR, PLATENO_DATE, PLATENO_LV, ZABELEGKA) values (0, 1, '04.12.2026', 180.4, 'плат')",
        };
        for (const char* sql : rows) db.execute(QString::fromUtf8(sql));
        db.execute(QStringLiteral("update FIRMA set IMESKL_INSTR = 'Инструменти'"));
        const auto exec = [&](const QString& sql) { db.execute(sql); };
        exec(QStringLiteral("execute procedure ADD_UPDATE_SLUG_AVANS (1, 0, 1, '01.12.2026', 500, 100, 0, 0, 'за доставки')"));
        exec(QStringLiteral("execute procedure ADD_UPDATE_SLUG_OTCHET (1, 0, 1, '03.12.2026', 62.5, 0, 0, 1, 0, 'Пловдив - София')"));
        exec(QStringLiteral("execute procedure ADD_UPDATE_SLUG_OTCHET (1, 0, 1, '05.12.2026', 120, 0, 0, 0, 2, 'за гориво')"));
        exec(QStringLiteral("execute procedure ADD_UPDATE_SLUG_AVANS (1, 0, 2, '05.12.2026', 120, 0, 0, 1, 'за гориво')"));
        const struct { int shifyr; const char* m; int day, op, n; } work[] = {
            {1, "", 2, 1, 120}, {1, "", 3, 2, 85}, {1, "", 5, 2, 96}, {1, "p", 12, 1, 140}, {1, "p", 20, 2, 110},
            {2, "", 2, 2, 150}, {3, "", 4, 1, 60}};
        for (const auto& w : work)
            db.execute(QStringLiteral("insert into VEDOMOST_MANIPULACII (GGGGMM, GGGGMM_DEN, SHIFYR, NUM_MANIPULACIA, BROI_MANIPULACII, RAZCENKA) "
                                      "select :M, :D, :S, NUM_MANIPULACIA, :N, RAZCENKA from TIP_MANIPULACII where NUM_MANIPULACIA = :O"),
                       {{QStringLiteral("M"), *w.m ? prev : month}, {QStringLiteral("D"), w.day}, {QStringLiteral("S"), w.shifyr},
                        {QStringLiteral("N"), w.n}, {QStringLiteral("O"), w.op}});
        Q_UNUSED(day);
        instances.DMNS->SmpFirma.refresh();
        for (SmpDataset* ds : {&pers.SmpDlygnosti, &pers.SmpTipSlugOtchet, &pers.SmpTipManip})
            if (ds->isActive()) ds->refresh();
        TFormPersonal* staff = instances.FormPersonal;
        staff->show();
        pers.SmpViewPers.locate(QStringLiteral("SHIFYR"), {1});
        staff->DBGrid10CellClick();
        for (QWidget* tab : {static_cast<QWidget*>(staff->TabSheet1), static_cast<QWidget*>(staff->TabSheet2),
                             static_cast<QWidget*>(staff->TabSheet3)}) {
            staff->PageControl1->setCurrentWidget(tab);
            shot(staff, QStringLiteral("FormPersonal_") + tab->objectName());
        }
        pers.SmpViewPersMat.first();
        shot(instances.FormPersMat, QStringLiteral("FormPersMat"));
        instances.FormPersMat->close();
        shot(instances.FormPers, QStringLiteral("FormPers"));
        instances.FormPers->close();
        instances.FormSlugAvans->setMode(2);
        shot(instances.FormSlugAvans, QStringLiteral("FormSlugAvans_2"));
        instances.FormSlugAvans->close();
        pers.SmpViewRazplPers.first();
        pers.SmpViewRazplPers.next();
        instances.FormSlugOtchet->setMode(0);
        shot(instances.FormSlugOtchet, QStringLiteral("FormSlugOtchet_0"));
        instances.FormSlugOtchet->close();
        shot(instances.FormSlugRazplObsto, QStringLiteral("FormSlugRazplObsto"));
        instances.FormSlugRazplObsto->close();
        TFormViewZarab* inquiry = instances.FormViewZarab;
        inquiry->show();
        inquiry->DBLkpCmbMesOt->setKeyValue(prev);
        inquiry->DBLkpCmbMesDo->setKeyValue(month);
        inquiry->ReloadEarningsInquiry();
        shot(inquiry, QStringLiteral("FormViewZarab"));
        inquiry->close();
        staff->close();
    }
    // The cash book with a month of orders in BGN and in dollars, and the cash order dialog.
    {
        TDMNS& dm = *instances.DMNS;
        const struct
        {
            Cash::OrderKind kind;
            int day, currency;
            double amount, rate;
            const char *name, *basis;
        } orders[] = {
            {Cash::OrderKind::Receipt, 1, 1, 2500, 1, "Иван Петров Иванов", "Внесен оборот"},
            {Cash::OrderKind::Payment, 2, 1, 180.4, 1, "Мария Георгиева Стоянова", "Аванс командировка"},
            {Cash::OrderKind::Receipt, 3, 1, 1320.75, 1, "Петър Стоянов Илиев", "Продажба по ф-ра 1045"},
            {Cash::OrderKind::Payment, 4, 1, 96.2, 1, "Георги Николов", "Горива"},
            {Cash::OrderKind::Payment, 8, 1, 450, 1, "Стефан Димитров", "Ремонт машина"},
            {Cash::OrderKind::Receipt, 2, 2, 1200, 1.7215, "John Smith", "Обмяна"},
            {Cash::OrderKind::Payment, 5, 2, 300, 1.7340, "Мария Георгиева Стоянова", "Командировка Виена"},
        };
        for (const auto& o : orders) {
            Cash::CashOrder c;
            c.kind = o.kind;
            c.date = QDate(Clock::today().year(), Clock::today().month(), 1).addDays(o.day - 1);
            c.name = QString::fromUtf8(o.name);
            c.town = QStringLiteral("Самоков");
            c.basis = QString::fromUtf8(o.basis);
            c.amount = o.amount;
            c.currency = o.currency;
            c.rate = o.rate;
            Cash::insertOrder(dm.SQLConnectNS, c);
        }
        TFormKasa* kasa = instances.FormKasa;
        kasa->show();
        kasa->DateKasaOT->setDate(QDate(Clock::today().year(), Clock::today().month(), 1));
        shot(kasa, QStringLiteral("FormKasa"));
        kasa->chooseCurrency(2);
        shot(kasa, QStringLiteral("FormKasa_USD"));
        instances.FormKasovOrder->prepare(TFormKasovOrder::NewReceipt, 2);
        instances.FormKasovOrder->EditImePrezFam->setText(QStringLiteral("John Smith"));
        instances.FormKasovOrder->EditSumaKO->setText(QStringLiteral("250"));
        instances.FormKasovOrder->EditKursValuta->setText(QStringLiteral("1.7215"));
        instances.FormKasovOrder->EditOsnovanie->setText(QStringLiteral("Обмяна"));
        instances.FormKasovOrder->EditKursValuta->editingFinished();
        shot(instances.FormKasovOrder, QStringLiteral("FormKasovOrder"));
        instances.FormKasovOrder->close();
        kasa->close();
    }
    // The stock window with a month of deliveries (some lines expiring, some claimed as defective)
    // and the correction, delivery price and defective-goods windows over one of its lines.
    {
        SQLConnection& db = instances.DMNS->SQLConnectNS;
        const char* rows[] = {
            "insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен склад')",
            "insert into TIP_SKLAD (NSKLAD, SKLAD) values (2, 'Склад готова продукция')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (31, 2, 'Метал Трейд ООД')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (32, 2, 'Химинвест АД')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (33, 2, 'Опаковки Плюс ЕООД')",
        };
        for (const char* sql : rows) db.execute(QString::fromUtf8(sql));
        const char* materials[] = {"Болт М8х40", "Гайка М8", "Шайба 8 мм", "Ламарина 2 мм", "Тръба ф25", "Боя грунд сива",
                                   "Лепило епоксидно", "Разтворител 650", "Кашон 40х30х20", "Стреч фолио",
                                   "Профил 40х40", "Електрод 3.25", "Уплътнител силикон", "Винт за дърво 4х40"};
        int n = 0;
        for (const char* name : materials) {
            ++n;
            db.execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA, PRODAGNA_CENA)"
                                      " values (:N, :I, :S, 1, 1, :P)"),
                       {{QStringLiteral("N"), 700 + n}, {QStringLiteral("I"), QString::fromUtf8(name)},
                        {QStringLiteral("S"), n % 4 == 0 ? 2 : 1}, {QStringLiteral("P"), 1.5 + n * 0.75}});
        }
        const QDate today = Clock::today();
        QVector<int> keys;
        for (int doc = 0; doc < 5; ++doc) {
            Deliveries::Header h;
            h.supplier = 31 + doc % 3;
            h.document = QStringLiteral("%1").arg(2400 + doc * 17, 10, 10, QLatin1Char('0'));
            h.documentDate = today.addDays(-30 + doc * 6);
            h.received = h.documentDate.addDays(1);
            h.receiptNumber = doc + 1;
            QVector<Deliveries::Line> lines;
            for (int i = 0; i < 7; ++i) {
                Deliveries::Line l;
                l.material = 701 + (doc * 5 + i * 3) % n;
                l.quantity = 20 + (doc * 7 + i * 13) % 90;
                l.priceLv = 0.35 + ((doc + 2) * (i + 3)) % 17 * 0.85;
                if (i == 6) l.priceEur = l.priceLv / 1.95583;
                l.vatPct = 20;
                // A few lines expire soon or have expired: drawn red.
                if ((doc + i) % 6 == 0) l.expiry = today.addDays((doc - 2) * 2);
                else if ((doc + i) % 4 == 0) l.expiry = today.addDays(200 + doc * 10);
                lines << l;
            }
            keys += Deliveries::save(db, h, lines, {}).lineKeys;
        }
        for (int i : {2, 9, 20}) {
            const auto line = StockLines::read(db, keys[i]);
            StockLines::DefectClaim claim;
            claim.line = line->key;
            claim.date = today.addDays(-2);
            claim.quantity = 3;
            claim.priceLv = line->priceLv;
            claim.counterparty = line->supplier;
            claim.claimDocument = QStringLiteral("Р-%1").arg(i);
            claim.claimDocumentDate = today.addDays(-2);
            StockLines::recordDefect(db, claim);
        }
        TFormSklad* sklad = instances.FormSklad;
        sklad->show();
        sklad->RdGrpIzbSklad->click(0);
        sklad->RdGrpIzbMaterial->click(0);
        shot(sklad, QStringLiteral("FormSklad"));
        // One supplier chosen, as the defective-goods panel is used.
        sklad->RdGrpKontrDaNeDostav->click(1);
        instances.DMSklad->SmpTipKontrSklPunkt.locate(QStringLiteral("NTIP_KONTRAGENT"), {2});
        instances.DMSklad->SmpKontrSklPunkt.locate(QStringLiteral("NKONTRAGENT"), {32});
        sklad->DBLkpCmBoxTipKontrDost->setKeyValue(2);
        sklad->DBLkpCmBoxKontrDostav->setKeyValue(32);
        sklad->DBLkpCmBoxKontrDostavCloseUp();
        SmpDataset& stock = instances.DMSklad->SmpSklNalich;
        stock.moveTo(stock.find(QStringLiteral("AUTONUM"), {keys[9]}));
        const auto line = StockLines::read(db, keys[9]);
        {
            ModalShot modal(out, failures);
            modal.name = QStringLiteral("FormDostavkaKorekcia");
            instances.FormDostavkaKorekcia->open(TFormDostavkaKorekcia::Mode::Delivery, *line);
            modal.name = QStringLiteral("FormUpdDostCena");
            instances.FormUpdDostCena->open(*line);
            modal.name = QStringLiteral("FormSklDostBrak");
            instances.FormSklDostBrak->open(*line);
        }
        // The defective-goods panel with every supplier's claims.
        sklad->RdGrpDostBrak->click(1);
        shot(sklad, QStringLiteral("FormSklad_DostBrak"));
        sklad->RdGrpKontrDaNeDostav->click(0);
        sklad->close();

        // The stock inquiries over the same month: some of it sold, drawn and dispatched, minimum and
        // maximum quantities set. The printed lists head with the company's own name.
        db.execute(QStringLiteral("update FIRMA set IMEFIRMA = 'Рила Метал ООД'"));
        instances.DMNS->SmpFirma.refresh();
        for (int i = 0; i < keys.size(); i += 3)
            db.execute(QStringLiteral("insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE)"
                                      " values (:L, :V, :Q, :D)"),
                       {{QStringLiteral("L"), keys[i]}, {QStringLiteral("V"), 1 + (i / 3) % 3}, {QStringLiteral("Q"), 5 + i % 7},
                        {QStringLiteral("D"), QDateTime(today.addDays(-12 + i % 10), QTime(11, 0))}});
        db.execute(QStringLiteral("update MATERIALI set MIN_KOL = 40 + mod(NMATERIAL, 5) * 20, MAX_KOL = iif(mod(NMATERIAL, 3) = 0, 0, 150)"));
        const auto inquiry = [&](TFormStockInquiry* w, const QString& name) {
            w->show();
            w->RdGrpIzbSklad->click(0);
            shot(w, name);
        };
        instances.FormSprSkladDvigenie->DatePoluchOt->setDate(today.addDays(-40));
        inquiry(instances.FormSprSkladDvigenie, QStringLiteral("FormSprSkladDvigenie"));
        inquiry(instances.FormSprSkladMateriali, QStringLiteral("FormSprSkladMateriali"));
        inquiry(instances.FormSkladMatCENI, QStringLiteral("FormSkladMatCENI"));
        inquiry(instances.FormMat_Spravka, QStringLiteral("FormMat_Spravka"));
        TFormSprSkladMaterialiKymData* kymData = instances.FormSprSkladMaterialiKymData;
        inquiry(kymData, QStringLiteral("FormSprSkladMaterialiKymData"));
        kymData->DateFakturaKym->setDate(today.addDays(-10));
        shot(kymData, QStringLiteral("FormSprSkladMaterialiKymData_10"));
        const auto savePdf = [&out](ModalShot& modal, const QString& name) {
            modal.name = name;
            modal.script = [&out, name](Form* form) {
                if (auto* preview = qobject_cast<Report::ReportPreview*>(form))
                    preview->savePdf(out.filePath(name + QStringLiteral(".pdf")));
            };
        };
        {
            ModalShot modal(out, failures);
            savePdf(modal, QStringLiteral("QRNalichKymDataSrCena"));
            kymData->ActNalichSrCenaClick();
        }
        {
            ModalShot modal(out, failures);
            savePdf(modal, QStringLiteral("QRNalichKymData"));
            kymData->ActNalichKolichestvaClick();
        }
        TFormSprSkladSklRazp* razp = instances.FormSprSkladSklRazp;
        razp->show();
        razp->RdGrpIzbDate->click(2);
        shot(razp, QStringLiteral("FormSprSkladSklRazp"));
        {
            ModalShot modal(out, failures);
            savePdf(modal, QStringLiteral("QRSklRazpA4_reprint"));
            razp->BitBtnPrnKasaClick();
        }
        for (Form* w : std::initializer_list<Form*>{instances.FormSprSkladDvigenie, instances.FormSprSkladMateriali,
                                                    instances.FormSkladMatCENI, instances.FormMat_Spravka, kymData, razp})
            w->close();

        // The warehouse points for one supplier, and its packaging account.
        for (const char* sql : {"insert into TIP_AMBALAG (NAMBALAG, IME_AMBALAG) values (1, 'Европалет')",
                                "insert into TIP_AMBALAG (NAMBALAG, IME_AMBALAG) values (2, 'Каса пластмасова')",
                                "insert into TIP_AMBALAG (NAMBALAG, IME_AMBALAG) values (3, 'Бидон 20 л')",
                                "insert into AMB_FIRMA_DOST (NKONTRAGENT, NAMBALAG, BROI_AMB, DATE_AMB) values (32, 1, 12, current_timestamp - 20)",
                                "insert into AMB_FIRMA_DOST (NKONTRAGENT, NAMBALAG, BROI_AMB, DATE_AMB) values (32, 2, 40, current_timestamp - 14)",
                                "insert into AMB_FIRMA_DOST (NKONTRAGENT, NAMBALAG, BROI_AMB, DATE_AMB) values (32, 3, 6, current_timestamp - 5)",
                                "insert into AMB_DOST_FIRMA (NKONTRAGENT, NAMBALAG, BROI_AMB, DATE_AMB) values (32, 1, 8, current_timestamp - 9)",
                                "insert into AMB_DOST_FIRMA (NKONTRAGENT, NAMBALAG, BROI_AMB, DATE_AMB) values (32, 2, 25, current_timestamp - 3)"})
            db.execute(QString::fromUtf8(sql));
        TFormSkladPunkt* punkt = instances.FormSkladPunkt;
        inquiry(punkt, QStringLiteral("FormSkladPunkt"));
        punkt->RdGrpKontrDaNeDostav->click(1);
        instances.DMSklad->SmpTipKontrSklPunkt.locate(QStringLiteral("NTIP_KONTRAGENT"), {2});
        instances.DMSklad->SmpKontrSklPunkt.locate(QStringLiteral("NKONTRAGENT"), {32});
        punkt->DBLkpCmBoxTipKontrDost->setKeyValue(2);
        punkt->DBLkpCmBoxKontrDostav->setKeyValue(32);
        punkt->DBLkpCmBoxKontrDostavCloseUp();
        shot(punkt, QStringLiteral("FormSkladPunkt_Dostavchik"));
        {
            ModalShot modal(out, failures);
            modal.name = QStringLiteral("FormAmbalag");
            punkt->SpdBtnAmbalagClick();
        }
        punkt->RdGrpKontrDaNeDostav->click(0);
        punkt->close();
    }
    // The new delivery window with a document of three lines, one priced in EUR.
    {
        TDMNS& dm = *instances.DMNS;
        for (const char* sql : {
                 "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, NMOL) values (9301, 2, 'Дървесина Рила ЕООД', 9301)",
                 "insert into MOL (NMOL, NKONTRAGENT, IMEMOL) values (9301, 9301, 'Петър Иванов')",
                 "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA, NSKLAD, ED_CENA) values (9301, 'Шкурка P120', 1, 1, 0.9)"})
            dm.SQLConnectNS.execute(QString::fromUtf8(sql));
        dm.SmpMateriali.refresh();
        TFormNovaDostavka* nova = instances.FormNovaDostavka;
        nova->show();
        nova->DBLkpCmBoxIzbTipKontr->setKeyValue(2);
        nova->DBLkpCmBoxIzbTipKontrCloseUp();
        nova->DBLkpCmBoxIzbKontr->setKeyValue(9301);
        nova->DBLkpCmBoxIzbKontrCloseUp();
        nova->EditFakturaNum->setText(QStringLiteral("0000012345"));
        SmpDataset& lines = instances.DMSklad->SmpDostavka;
        const struct { int material; double quantity, lv, eur, discount, vat; } rows[] = {
            {9101, 12, 24.6, 0, 5, 20}, {9102, 3.5, 4.35, 0, 0, 20}, {9301, 40, 0, 0.46, 0, 0}};
        for (const auto& r : rows) {
            lines.append();
            lines.setValue(QStringLiteral("NMATERIAL"), r.material);
            lines.setValue(QStringLiteral("KOLICHESTVO"), r.quantity);
            lines.setValue(QStringLiteral("ED_CENA_LV"), r.lv);
            lines.setValue(QStringLiteral("EUR"), r.eur);
            lines.setValue(QStringLiteral("PROCENT_OTST"), r.discount);
            lines.setValue(QStringLiteral("PROCENT_DDS"), r.vat);
            lines.post();
        }
        QCoreApplication::processEvents();
        const QString file = out.filePath(QStringLiteral("FormNovaDostavka.png"));
        if (!nova->grab().save(file)) ++failures;
        QTextStream(stdout) << file << '\n';
        lines.first();
        ModalShot modal(out, failures);
        modal.name = QStringLiteral("FormMaterialDostavka");
        instances.FormMaterialDostavka->open({});
        nova->close();
    }
    // A tax invoice of four warehouse lines, one at the client's special price, and the item
    // selection it was composed in.
    {
        TDMNS& dm = *instances.DMNS;
        SQLConnection& db = dm.SQLConnectNS;
        db.execute(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (11, 'Склад Самоков')"));
        const struct
        {
            int n;
            const char* name;
            double wholesale, retail, quantity;
        } items[] = {{9001, "Болт М8х40 поцинкован", 0.42, 0.55, 1200}, {9002, "Гайка М8", 0.12, 0.16, 3000},
                     {9003, "Шайба М8 DIN 125", 0.05, 0.07, 5000}, {9004, "Анкер 10х80", 1.35, 1.70, 400},
                     {9005, "Дюбел 8х40", 0.09, 0.12, 2500}};
        for (const auto& i : items) {
            db.execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA, "
                                      "PROD_CENA_LV_DREBNO) values (:N, :I, 11, 1, :W, :R)"),
                       {{QStringLiteral("N"), i.n}, {QStringLiteral("I"), QString::fromUtf8(i.name)},
                        {QStringLiteral("W"), i.wholesale}, {QStringLiteral("R"), i.retail}});
            db.executeProcedure(QStringLiteral("ADDDOSTAVKA"),
                                {{QStringLiteral("NMATERIAL"), i.n}, {QStringLiteral("KOLICHESTVO"), i.quantity},
                                 {QStringLiteral("ED_CENA_LV"), i.wholesale * 0.7},
                                 {QStringLiteral("DATEPOLUCHENO"), Clock::today().addDays(-20)},
                                 {QStringLiteral("NKONTRAGENT"), 0}, {QStringLiteral("NFAKTURA"), QStringLiteral("4410")},
                                 {QStringLiteral("DATEFAKTURA"), Clock::today().addDays(-20)}});
        }
        db.execute(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, PROCENT_OTST_KONTR) "
                                  "values (9100, 1, 'Строймаркет ООД', 2)"));
        db.execute(QStringLiteral("insert into KONTR_MAT_CENI (NKONTRAGENT, NMATERIAL, SPEC_CENA) values (9100, 9004, 1.20)"));
        // An earlier sale on credit: the client's old debt.
        db.executeProcedure(QStringLiteral("ADDPRODAGBI"),
                            {{QStringLiteral("NUMPRODAGBA"), Clock::today().addDays(-9).toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("001")},
                             {QStringLiteral("NKONTRAGENT"), 9100}, {QStringLiteral("NVIDPLASTANE"), 1},
                             {QStringLiteral("TIP_DOCUMENT"), 0}, {QStringLiteral("PROCENT_DDS"), 20.0},
                             {QStringLiteral("DATEFAKTURA"), Clock::today().addDays(-9)}, {QStringLiteral("NMATERIAL"), 9005},
                             {QStringLiteral("BROI_MATERIAL_IZDELIE"), 1000.0}, {QStringLiteral("CENA_MATERIAL_IZDELIE"), 0.12}});
        TFormProdagba* sale = instances.FormProdagba;
        TFormProdagbaMateriali* choice = instances.FormProdagbaMateriali;
        sale->show();
        sale->RdGrpSklObDaNe->setItemIndex(1);
        sale->RdGrpSklObDaNeClick();
        dm.SmpIzbKontrSklad.locate(QStringLiteral("NKONTRAGENT"), {9100});
        sale->DBLkpCmBoxImeKontr->setKeyValue(9100);
        sale->DBLkpCmBoxImeKontrCloseUp();
        sale->RdGrpVidPlastane->setItemIndex(1);
        sale->RdGrpVidPlastaneClick();
        sale->EdRazsrSumaLv->setText(QStringLiteral("200"));
        sale->DBLookupComboBox3->setKeyValue(1);
        sale->DBLookupComboBox4->setKeyValue(1);
        {
            ModalShot modal(out, failures);
            modal.name = QStringLiteral("FormProdagbaMateriali");
            modal.result = 1;
            modal.script = [&](Form*) {
                SmpDataset& stock = instances.DMProdagba->SmpProdSkladNalich;
                choice->RdGrpIzbSklad->click(0);
                for (const auto& [n, q] : {std::pair{9001, "250"}, {9002, "250"}, {9003, "500"}, {9004, "40"}}) {
                    stock.locate(QStringLiteral("NMATERIAL"), {n});
                    choice->EditKolich->setText(QString::fromLatin1(q));
                    choice->SpeedBtnZapMaterialClick();
                }
                stock.locate(QStringLiteral("NMATERIAL"), {9004});
            };
            sale->SpdBtnIzbIzdProdagbaClick();
        }
        QCoreApplication::processEvents();
        const QString file = out.filePath(QStringLiteral("FormProdagba.png"));
        if (!sale->grab().save(file)) ++failures;
        QTextStream(stdout) << file << '\n';
        sale->close();
    }
    // The sales documents browser: a consignment with settlements and a later payment, a stock
    // receipt, and the print dialog of a recorded sale.
    {
        SQLConnection& db = instances.DMNS->SQLConnectNS;
        const auto sell = [&](int type, const QString& number, std::initializer_list<std::tuple<int, double, double>> lines) {
            Sales::SaleHeader h;
            h.documentType = type;
            h.counterparty = 9100;
            h.recipientName = QStringLiteral("Строймаркет ООД");
            h.paymentType = 1;
            h.stockReceiptNumber = h.consignmentNumber = number;
            h.vatPct = 20;
            h.date = Clock::today().addDays(-4);
            h.companyMol = 1, h.compiledBy = 1, h.office = 1;
            h.remarks = QStringLiteral("Доставка до обект \"Младост 4\"");
            h.clientName = QStringLiteral("Стефан Маринов");
            h.transport = QStringLiteral("СА 4512 КН");
            h.payAtOnce = false;
            QVector<Sales::SaleLine> sale;
            for (const auto& [material, quantity, price] : lines) {
                Sales::SaleLine l;
                l.material = material, l.quantity = quantity, l.priceLv = price;
                sale << l;
            }
            return Sales::recordSale(db, h, sale).saleNumber;
        };
        const QString consignment = sell(3, QStringLiteral("318"), {{9004, 60, 1.35}, {9001, 400, 0.42}, {9005, 800, 0.09}});
        const QString receipt = sell(2, QStringLiteral("1042"), {{9002, 500, 0.12}, {9003, 1000, 0.05}});
        const QVariantMap c{{QStringLiteral("N"), consignment}, {QStringLiteral("D1"), Clock::today().addDays(-3)},
                            {QStringLiteral("D2"), Clock::today().addDays(-1)}};
        db.execute(QStringLiteral("insert into PRODAGBI_KONSIGN (NUMPRODAGBA, NMATERIAL, DATE_PLATENO, BROI_MAT_IZD_PLATENO) "
                                  "values (:N, 9004, :D1, 25)"), c);
        db.execute(QStringLiteral("insert into PRODAGBI_KONSIGN (NUMPRODAGBA, NMATERIAL, DATE_PLATENO, BROI_MAT_IZD_PLATENO) "
                                  "values (:N, 9004, :D2, 15)"), c);
        db.execute(QStringLiteral("insert into PRODAGBI_KONSIGN_VYRNATO (NUMPRODAGBA, NMATERIAL, DATE_VYRNATO, "
                                  "BROI_MAT_IZD_VYRNATO) values (:N, 9004, :D2, 8)"), c);
        db.execute(QStringLiteral("insert into PRODAGBI_PLASTANE (NUMPRODAGBA, NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA) "
                                  "values (:N, 9100, :D1, 65)"), c);
        db.execute(QStringLiteral("insert into PRODAGBI_PLASTANE (NUMPRODAGBA, NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA) "
                                  "values (:N, 9100, :D2, 40)"), c);
        ModalShot modal(out, failures);
        modal.name = QStringLiteral("FormProdagbaElementi");
        instances.FormProdagbaElementi->open(TFormProdagbaElementi::BySale, consignment, {}, 0);
        modal.name = QStringLiteral("FormProdagbaElementi_StokRazp");
        instances.FormProdagbaElementi->open(TFormProdagbaElementi::BySale, receipt, {}, 0);
        modal.name = QStringLiteral("FormRealizaciaPrint_StokRazp");
        instances.FormRealizaciaPrint->ask(2);
    }
    // A shoe workshop that drew leather, soles and thread for two requisitions and made one batch:
    // the production window, the requisition window and its recipe dialog, the batch dialog and
    // the requisition inquiry.
    {
        TDMNS& dm = *instances.DMNS;
        SQLConnection& db = dm.SQLConnectNS;
        const QDate today = Clock::today();
        db.execute(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (21, 'Склад кожи и подметки')"));
        db.execute(QStringLiteral("insert into TIP_PROIZVODSTVO (NPROIZVODSTVO, PROIZVODSTVO, PSEVDONIM_CEH) "
                                  "values (3, 'Шивашки цех - обувки', 'ШЦ')"));
        const struct
        {
            int n;
            const char* name;
            int unit;
            double price, quantity;
        } items[] = {{9601, "Кожа телешка черна 1.4 мм", 1, 38.5, 60}, {9602, "Подметка гумена, р-р 42", 1, 6.2, 120},
                     {9603, "Конец полиестерен 40/3", 1, 3.1, 40},     {9604, "Лепило за кожа", 2, 14.8, 12},
                     {9605, "Стелка кожена", 1, 2.4, 150}};
        for (const auto& i : items) {
            db.execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA) "
                                      "values (:N, :I, 21, :U, :P)"),
                       {{QStringLiteral("N"), i.n}, {QStringLiteral("I"), QString::fromUtf8(i.name)},
                        {QStringLiteral("U"), i.unit}, {QStringLiteral("P"), i.price}});
            db.executeProcedure(QStringLiteral("ADDDOSTAVKA"),
                                {{QStringLiteral("NMATERIAL"), i.n}, {QStringLiteral("KOLICHESTVO"), i.quantity},
                                 {QStringLiteral("ED_CENA_LV"), i.price},
                                 {QStringLiteral("DATEPOLUCHENO"), today.addDays(-30)},
                                 {QStringLiteral("NKONTRAGENT"), 0}, {QStringLiteral("NFAKTURA"), QStringLiteral("7731")},
                                 {QStringLiteral("DATEFAKTURA"), today.addDays(-30)}});
        }
        db.execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA) "
                                  "values (9701, 'Обувки мъжки, модел Рила', 21, 1, 0)"));
        db.execute(QStringLiteral("insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (11, 3, 9701)"));
        for (const auto& [m, q] : {std::pair{9601, 0.35}, {9602, 2.0}, {9603, 0.1}, {9604, 0.05}, {9605, 2.0}})
            db.execute(QStringLiteral("insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (11, :M, :Q)"),
                       {{QStringLiteral("M"), m}, {QStringLiteral("Q"), q}});
        const auto requisition = [&](int count, const QDate& date) {
            Production::Requisition r;
            r.date = date;
            r.workshop = 3;
            r.product = Production::RequestedProduct{11, count, 0};
            for (const auto& [m, q] : {std::pair{9601, 0.35}, {9602, 2.0}, {9603, 0.1}, {9604, 0.05}, {9605, 2.0}})
                r.lines.append({21, m, QString(), q * count});
            Production::saveRequisition(db, r, date);
        };
        requisition(20, today.addDays(-6));
        requisition(12, today.addDays(-2));
        Production::Batch batch;
        batch.workshop = 3;
        batch.productMaterial = 9701;
        batch.count = 14;
        batch.produced = today.addDays(-1);
        for (const auto& [m, q, p] : {std::tuple{9601, 0.35, 38.5}, {9602, 2.0, 6.2}, {9603, 0.1, 3.1},
                                      {9604, 0.05, 14.8}, {9605, 2.0, 2.4}})
            batch.materials.append({m, q * 14, p});
        Production::saveBatch(db, batch, today.addDays(-1));
        dm.SmpMateriali.close();
        dm.SmpMateriali.open();
        TFormProizvodstvo* prod = instances.FormProizvodstvo;
        prod->show();
        dm.SmpTipProizv.locate(QStringLiteral("NPROIZVODSTVO"), {3});
        prod->DBLkpCmBoxIzbProizv->setKeyValue(3);
        prod->DBLkpCmBoxIzbProizvCloseUp();
        shot(prod, QStringLiteral("FormProizvodstvo"));
        dm.SmpProizIzdISK.locate(QStringLiteral("NTIP_IZDELIE"), {11});
        {
            ModalShot modal(out, failures);
            modal.name = QStringLiteral("FormIskIzdelie");
            modal.script = [&](Form*) { instances.FormIskIzdelie->SpnEdtBrIzdelie->setValue(10); };
            if (instances.FormIskIzdelie->readRecipe(3))
                instances.FormIskIzdelie->open(TFormIskIzdelie::Mode::FromWorkshop, 3, QStringLiteral("Шивашки цех - обувки"), 0, 0);
            SmpDataset& recipe = instances.DMProizv->SmpRecepIzdISK;
            recipe.close();
            recipe.setParam(QStringLiteral("INUMIzdelie"), 11);
            instances.DMProizv->RequisitionCount = 40;
            recipe.open();
            modal.name = QStringLiteral("FormRecepIzdISK");
            modal.script = nullptr;
            instances.FormRecepIzdISK->open();
            modal.name = QStringLiteral("FormSklIsk");
            modal.script = [&](Form*) {
                TFormSklIsk* isk = instances.FormSklIsk;
                isk->RdGrpIzpisvRec_Mat->click(1);
                isk->RdGrpIzpisvRec_MatClick();
                SmpDataset& stock = instances.DMSklad->SmpSklNalich;
                for (const auto& [m, q] : {std::pair{9601, "7"}, {9602, "40"}, {9605, "40"}}) {
                    stock.locate(QStringLiteral("NMATERIAL"), {m});
                    isk->EditKolichestvoMat->setText(QString::fromLatin1(q));
                    isk->SpdBtnZapMatIskClick();
                }
                isk->EditKolichestvoMat->setText(QStringLiteral("2"));
            };
            instances.FormSklIsk->open(3, QStringLiteral("Шивашки цех - обувки"));
        }
        prod->NSprIskaniaClick();
        shot(instances.FormSprIskania, QStringLiteral("FormSprIskania"));
        instances.FormSprIskania->close();
        prod->close();
    }
    // The print dialogs, as a tax invoice and a simplified invoice show them.
    for (const auto& [dialog, type] : {std::pair<DocumentPrintDialog*, int>{instances.FormOKBottomDlg, 0},
                                       {instances.FormRealizaciaPrint, 1}}) {
        ModalShot modal(out, failures);
        modal.name = dialog->objectName();
        dialog->ask(type);
    }
    // The payments window over a month of sales, deliveries, a claim and payments in three currencies,
    // each of its tabs, and the two payment dialogs.
    {
        SQLConnection& db = instances.DMNS->SQLConnectNS;
        const QString month = QDate(Clock::today().year(), Clock::today().month(), 1).toString(QStringLiteral("yyyy-MM-"));
        const char* rows[] = {
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, IMEKONTRAGENT_LAT, ADRES) values (9501, 1, 'Рила Трейд ООД', 'Rila Trade OOD', 'ул. Искър 12')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, IMEKONTRAGENT_LAT, ADRES) values (9502, 1, 'Мусала ЕООД', 'Musala EOOD', 'бул. Витоша 40')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, ADRES) values (9503, 5, 'Верига Север АД', 'ул. Дунав 3')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, ADRES) values (9511, 2, 'Метал Инвест ООД', 'Промишлена зона')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, ADRES) values (9512, 3, 'Импорт Трейд ЕООД', 'ул. Шипка 8')",
        };
        for (const char* r : rows) db.execute(QString::fromUtf8(r));
        struct Line { int no, client, type, day; double qty, lv, usd, eur; };
        const Line lines[] = {{95001, 9501, 0, 2, 500, 0.35, 0, 0}, {95002, 9501, 0, 2, 500, 0.12, 0, 0},
                              {95003, 9502, 2, 5, 1000, 0.05, 0.03, 0}, {95004, 9503, 2, 8, 200, 0, 0, 0.4},
                              {95005, 9501, 10, 12, -20, 0.35, 0, 0}, {95006, 9502, 2, 14, 300, 0.2, 0.11, 0}};
        for (const Line& l : lines)
            db.execute(QStringLiteral("insert into PRODAGBI (AUTONUM, NUMPRODAGBA, NKONTRAGENT, TIP_DOCUMENT, PROCENT_DDS, NMATERIAL, "
                                      "BROI_MATERIAL_IZDELIE, CENA_MATERIAL_IZDELIE, CENA_MAT_IZD_USD, CENA_MAT_IZD_EUR, DATEFAKTURA) "
                                      "values (:A, :N, :K, :T, 20, (select min(NMATERIAL) from MATERIALI), :B, :LV, :USD, :EUR, :D)"),
                       {{QStringLiteral("A"), l.no}, {QStringLiteral("N"), QStringLiteral("9500%1").arg(l.no)},
                        {QStringLiteral("K"), l.client}, {QStringLiteral("T"), l.type}, {QStringLiteral("B"), l.qty},
                        {QStringLiteral("LV"), l.lv}, {QStringLiteral("USD"), l.usd}, {QStringLiteral("EUR"), l.eur},
                        {QStringLiteral("D"), QDate::fromString(month + QStringLiteral("%1").arg(l.day, 2, 10, QChar(u'0')), QStringLiteral("yyyy-MM-dd"))}});
        const QDate d0 = QDate(Clock::today().year(), Clock::today().month(), 1);
        Payments::addClientPayment(db, {9501, d0.addDays(9), 150, 0, 0, QStringLiteral("в брой")});
        Payments::addClientPayment(db, {9502, d0.addDays(15), 20, 10, 0, QStringLiteral("банков превод")});
        Payments::addClientPayment(db, {9503, d0.addDays(16), 0, 0, 50, {}});
        db.execute(QStringLiteral("insert into SKLAD (AUTONUM, NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA, KOLICHESTVO, ED_CENA_LV, "
                                  "PROCENT_DDS, NUMSHIFYR) values (95101, (select min(NMATERIAL) from MATERIALI), 9511, '0000004711', :D, 2000, 0.18, 20, 0)"),
                   {{QStringLiteral("D"), d0.addDays(1)}});
        db.execute(QStringLiteral("insert into SKLAD (AUTONUM, NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA, KOLICHESTVO, USD, EUR) "
                                  "values (95102, (select min(NMATERIAL) from MATERIALI), 9512, 'INV-2231', :D, 500, 0.09, 0.08)"),
                   {{QStringLiteral("D"), d0.addDays(3)}});
        db.execute(QStringLiteral("insert into SKLAD_DOST_BRAK (AUTONUM_SKLAD, DATE_BRAK, NMATERIAL, KOLICH_BRAK, ED_CENA_LV, NKONTRAGENT) "
                                  "values (95101, :D, (select min(NMATERIAL) from MATERIALI), 100, 0.18, 9511)"),
                   {{QStringLiteral("D"), d0.addDays(6)}});
        Payments::addSupplierPayment(db, {9511, d0.addDays(10), 200, 0, 0, QStringLiteral("аванс"), 0});
        Payments::addSupplierPayment(db, {9512, d0.addDays(11), 0, 20, 15, {}, 0});

        TFormRazplastania* w = instances.FormRazplastania;
        w->show();
        w->TabSheet1->DateOtKlienti->setDate(d0);
        w->TabSheet1->RdGrpKontragentDaNeKlienti->click(0);
        w->TabSheet2->DateOtDostav->setDate(d0);
        w->TabSheet2->RdGrpKontragentDaNeDostav->click(0);
        w->TabSheet5->DateOtDostZak->setDate(d0);
        w->TabSheet5->ReloadPurchaserPayments();
        const char* names[] = {"FormRazplastania", "FormRazplastania_Dost", "FormRazplastania_KlientiObsto",
                               "FormRazplastania_DostObsto", "FormRazplastania_Zak", "FormRazplastania_Tipove",
                               "FormRazplastania_Kontr"};
        for (int i = 0; i < 7; ++i) {
            w->PageControl1->setCurrentIndex(i);
            QCoreApplication::processEvents();
            const QString file = out.filePath(QString::fromLatin1(names[i]) + QStringLiteral(".png"));
            if (!w->grab().save(file)) ++failures;
            QTextStream(stdout) << file << '\n';
        }
        {
            ModalShot modal(out, failures);
            modal.name = QStringLiteral("FormRazplKlient");
            modal.script = [&](Form*) { instances.FormRazplKlient->Edit1->setText(QStringLiteral("120.00")); };
            instances.FormRazplKlient->open(TFormRazplKlient::Mode::New, 9501, QStringLiteral("Рила Трейд ООД"));
            modal.name = QStringLiteral("FormRazplDost");
            modal.script = {};
            instances.FormRazplDost->open(TFormRazplDost::Mode::New, 9511, QStringLiteral("Метал Инвест ООД"));
        }
        w->close();
    }
    // The warehouse objects window over three outlets stocked from the central warehouse and by a
    // supplier directly, and the transfer window collecting a transfer from the warehouse.
    {
        SQLConnection& db = instances.DMNS->SQLConnectNS;
        TDMNS& dm = *instances.DMNS;
        const QDate today = Clock::today();
        db.execute(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD, SKL_OBEKT_DA_NE) values (70, 'Централен склад', 1)"));
        for (const auto& [n, name] : {std::pair{71, "Магазин Център"}, {72, "Магазин Младост"}, {73, "Павилион Гарата"}})
            db.execute(QStringLiteral("insert into TIP_SKL_OBEKT (NSKL_OBEKT, IME_SKL_OBEKT) values (:N, :I)"),
                       {{QStringLiteral("N"), n}, {QStringLiteral("I"), QString::fromUtf8(name)}});
        db.execute(QStringLiteral("insert into MOL_FIRMA (NMOL_FIRMA, IMEMOLFIRMA) values (70, 'Мария Иванова')"));
        struct Item { int n; const char* name; double wholesale, retail; };
        const Item items[] = {{9801, "Лепило за плочки 25 кг", 14.5, 17.9}, {9802, "Грунд дълбокопроникващ 5 л", 21.0, 25.5},
                              {9803, "Шпакловка финишна 20 кг", 18.2, 22.0}, {9804, "Валяк мохер 25 см", 6.4, 8.5},
                              {9805, "Силикон санитарен бял", 5.1, 6.9}};
        for (const Item& i : items)
            db.execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA, "
                                      "PROD_CENA_LV_DREBNO) values (:N, :I, 70, 1, :W, :R)"),
                       {{QStringLiteral("N"), i.n}, {QStringLiteral("I"), QString::fromUtf8(i.name)},
                        {QStringLiteral("W"), i.wholesale}, {QStringLiteral("R"), i.retail}});
        Deliveries::Header h;
        h.supplier = 0;
        h.document = QStringLiteral("7710");
        h.documentDate = today.addDays(-12);
        h.received = today.addDays(-12);
        QVector<Deliveries::Line> delivered;
        for (const Item& i : items) {
            Deliveries::Line l;
            l.material = i.n;
            l.quantity = 400;
            l.priceLv = i.wholesale * 0.72;
            delivered.append(l);
        }
        Deliveries::save(db, h, delivered, {});
        const auto move = [&](ObjectTransfers::Mode mode, int from, int to, int daysAgo,
                              QVector<ObjectTransfers::Line> lines) {
            ObjectTransfers::Transfer t;
            t.mode = mode;
            t.target = to;
            (mode == ObjectTransfers::Mode::FromWarehouse ? t.sourceWarehouse : t.sourceObject) = from;
            t.date = today.addDays(-daysAgo);
            t.mol = 70;
            t.lines = std::move(lines);
            ObjectTransfers::save(db, t);
        };
        using M = ObjectTransfers::Mode;
        move(M::FromWarehouse, 70, 71, 10, {{0, 9801, 60, 10.44}, {0, 9802, 24, 15.12}, {0, 9803, 40, 13.10}});
        move(M::FromWarehouse, 70, 72, 9, {{0, 9801, 30, 10.44}, {0, 9804, 50, 4.61}, {0, 9805, 80, 3.67}});
        move(M::FromWarehouse, 70, 73, 7, {{0, 9804, 20, 4.61}, {0, 9805, 36, 3.67}});
        move(M::BetweenObjects, 71, 73, 4, {{0, 9801, 12, 10.44}});
        db.execute(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) "
                                  "values (9711, 2, 'Строймаркет Вега ООД')"));
        // The lists the transfer lines look their names up in hold the materials just added.
        dm.SmpMateriali.isActive() ? dm.SmpMateriali.refresh() : dm.SmpMateriali.open();
        Deliveries::Header direct;
        direct.supplier = 9711;
        direct.document = QStringLiteral("0000318");
        direct.documentDate = today.addDays(-3);
        direct.received = today.addDays(-3);
        Deliveries::Line paint;
        paint.material = 9802;
        paint.quantity = 18;
        paint.priceLv = 14.80;
        Deliveries::saveToWarehouseObject(db, direct, 72, {paint});
        TFormSklObekti* objects = instances.FormSklObekti;
        objects->show();
        objects->RdGrpIzbViewDanni->click(0);
        shot(objects, QStringLiteral("FormSklObekti"));
        objects->RdGrpIzbViewDanni->click(2);
        shot(objects, QStringLiteral("FormSklObekti_Ekspedirano"));
        objects->RdGrpIzbViewDanni->click(0);
        {
            ModalShot modal(out, failures);
            modal.name = QStringLiteral("FormSklObTransfer");
            modal.script = [&](Form*) {
                TFormSklObTransfer* t = instances.FormSklObTransfer;
                dm.SmpTipSklad.locate(QStringLiteral("NSKLAD"), {70});
                t->RdGrpIzbSklad->setItemIndex(1);
                t->DBLkpCmbIzbSklad->setKeyValue(70);
                t->DBLkpCmbIzbSkladCloseUp();
                dm.SmpTipSklOb.locate(QStringLiteral("NSKL_OBEKT"), {72});
                t->DBLkpCmbVsklOb->setKeyValue(72);
                t->DBLkpCmbVsklObCloseUp();
                t->DBLkpCmbMol->setKeyValue(70);
                // Three lines collected from the stock rows of three materials.
                SmpDataset& stock = instances.DMSklObekti->SmpProdSkladNalich;
                for (const auto& [material, quantity, price] :
                     {std::tuple{9803, "24", "13.10"}, {9804, "30", "4.61"}, {9805, "48", "3.67"}}) {
                    stock.locate(QStringLiteral("NMATERIAL"), {material});
                    t->EditKolich->setText(QString::fromLatin1(quantity));
                    t->EditDostCena->setText(QString::fromLatin1(price));
                    t->BitBtnZapisNewSklClick();
                }
                stock.first();
            };
            objects->BitBtnDostOtSklClick();
        }
        // The price correction of a transferred line.
        {
            ModalShot modal(out, failures);
            modal.name = QStringLiteral("FormDostavkaKorekcia_SklOb");
            instances.DMSklObekti->SmpSklObNalich.locate(QStringLiteral("NSKL_OBEKT;NMATERIAL"), {71, 9801});
            objects->BitBtnKorekcCeniClick();
        }
        objects->close();
    }
    // Client orders: three clients' orders of chairs, tables and wardrobes, part of the chairs
    // requisitioned, made and sold; the orders window, its dialogs, the progress by client and the
    // two material calculations.
    {
        SQLConnection& db = instances.DMNS->SQLConnectNS;
        const QDate today = Clock::today();
        const char* rows[] = {
            "insert into TIP_SKLAD (NSKLAD, SKLAD) values (96, 'Склад дървесина')",
            "insert into TIP_PROIZVODSTVO (NPROIZVODSTVO, PROIZVODSTVO, PSEVDONIM_CEH) values (96, 'Мебелен цех', 'МЦ')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD, ADRES) values (9601, 1, 'Хотел Родина АД', 1000, 'бул. Дондуков 8')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD, ADRES) values (9602, 1, 'Ресторант Златна круша', 1000, 'ул. Граф Игнатиев 21')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD, ADRES) values (9603, 1, 'Офис Плюс ЕООД', 1000, 'ул. Пиротска 5')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, ADRES) values (9611, 2, 'Дървен материал АД', 'Промишлена зона')",
            "insert into MOL (NMOL, NKONTRAGENT, IMEMOL) values (9601, 9601, 'Петър Стоянов')",
        };
        for (const char* r : rows) db.execute(QString::fromUtf8(r));
        struct Item { int n; const char* name; int unit; double price, stock; };
        const Item items[] = {{9901, "Стол Виена бук", 1, 0, 0}, {9902, "Маса трапезна орех", 1, 0, 0},
                              {9903, "Гардероб двукрилен", 1, 0, 0}, {9911, "Бук дъска 25 мм", 4, 2.60, 180},
                              {9912, "Лепило PVA", 2, 4.20, 6}, {9913, "Лак полиуретанов", 2, 9.80, 14},
                              {9914, "Винт 4x40", 1, 0.04, 2000}, {9915, "ПДЧ плоскост 18 мм", 5, 21.50, 12}};
        for (const Item& i : items) {
            db.execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA) values (:N, :I, 96, :U, :P)"),
                       {{QStringLiteral("N"), i.n}, {QStringLiteral("I"), QString::fromUtf8(i.name)}, {QStringLiteral("U"), i.unit},
                        {QStringLiteral("P"), i.price}});
            if (i.stock > 0)
                db.execute(QStringLiteral("insert into SKLAD (AUTONUM, NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA, DATEPOLUCHENO, "
                                          "KOLICHESTVO, ED_CENA_LV) values (:A, :N, 9611, '0000009611', :D, :D, :Q, :P)"),
                           {{QStringLiteral("A"), i.n * 10}, {QStringLiteral("N"), i.n}, {QStringLiteral("D"), today.addDays(-20)},
                            {QStringLiteral("Q"), i.stock}, {QStringLiteral("P"), i.price}});
        }
        for (const auto& [t, m] : {std::pair{961, 9901}, {962, 9902}, {963, 9903}})
            db.execute(QStringLiteral("insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (:T, 96, :M)"),
                       {{QStringLiteral("T"), t}, {QStringLiteral("M"), m}});
        struct Recipe { int product, material; double qty; };
        for (const Recipe& r : {Recipe{961, 9911, 3}, {961, 9912, 0.2}, {961, 9913, 0.3}, {961, 9914, 12},
                                {962, 9911, 8}, {962, 9913, 0.8}, {962, 9914, 24}, {963, 9915, 4}, {963, 9914, 40},
                                {963, 9913, 1}})
            db.execute(QStringLiteral("insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (:T, :M, :Q)"),
                       {{QStringLiteral("T"), r.product}, {QStringLiteral("M"), r.material}, {QStringLiteral("Q"), r.qty}});
        const int hotel = Orders::addOrder(db, {today.addDays(-14), today.addDays(20), 9601, 9601});
        Orders::saveLine(db, {hotel, 9601, 961, 40, today.addDays(2), 5, 9611, QStringLiteral("тъмен орех")});
        Orders::saveLine(db, {hotel, 9601, 962, 10, today.addDays(4), 5, 9611, QStringLiteral("за 4 души")});
        Orders::updateOrder(db, hotel, today.addDays(-14), today.addDays(20), QStringLiteral("Доставка и монтаж в хотела, 3-ти етаж."));
        const int restaurant = Orders::addOrder(db, {today.addDays(-9), today.addDays(12), 9602, 0});
        Orders::saveLine(db, {restaurant, 9602, 961, 24, today.addDays(1), 3, 0, QStringLiteral("светъл бук")});
        Orders::saveLine(db, {restaurant, 9602, 961, -4, today.addDays(1), 3, 0, QStringLiteral("светъл бук")});
        const int office = Orders::addOrder(db, {today.addDays(-3), today.addDays(30), 9603, 0});
        Orders::saveLine(db, {office, 9603, 963, 6, today.addDays(10), 7, 0, QStringLiteral("бял гланц")});
        Orders::saveLine(db, {office, 9603, 962, -2, today.addDays(10), 7, 0, QStringLiteral("отказани")});
        // 30 chairs requisitioned, 24 made and stored; the hotel took 18 of them, Офис Плюс, who ordered
        // no chairs, 2.
        Production::Requisition chairs;
        chairs.date = today.addDays(-8);
        chairs.workshop = 96;
        chairs.product = Production::RequestedProduct{961, 30, 0};
        chairs.lines = {{96, 9911, {}, 90}, {96, 9912, {}, 6}, {96, 9913, {}, 9}, {96, 9914, {}, 360}};
        Production::saveRequisition(db, chairs, today.addDays(-8));
        Production::Batch made;
        made.workshop = 96;
        made.productMaterial = 9901;
        made.count = 24;
        made.produced = today.addDays(-4);
        made.materials = {{9911, 72, 2.60}, {9912, 4.8, 4.20}, {9913, 7.2, 9.80}, {9914, 288, 0.04}};
        const int stored = Production::saveBatch(db, made, today.addDays(-4)).stockLine;
        struct Sale { int no, client; double qty; int daysAgo; };
        for (const Sale& sale : {Sale{99011, 9601, 18, 2}, {99012, 9603, 2, 1}}) {
            db.execute(QStringLiteral("insert into PRODAGBI (AUTONUM, NUMPRODAGBA, NKONTRAGENT, TIP_DOCUMENT, NMATERIAL, "
                                      "BROI_MATERIAL_IZDELIE, CENA_MATERIAL_IZDELIE, DATEFAKTURA) values (:A, :N, :K, 0, 9901, :Q, 58, :D)"),
                       {{QStringLiteral("A"), sale.no}, {QStringLiteral("N"), QStringLiteral("99%1").arg(sale.no)},
                        {QStringLiteral("K"), sale.client}, {QStringLiteral("Q"), sale.qty},
                        {QStringLiteral("D"), today.addDays(-sale.daysAgo)}});
            // What the sale took from the stored chairs.
            db.execute(QStringLiteral("insert into SKLAD_DVIGENIE (AUTONUM, AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE, "
                                      "DOK_NOMER, DOK_AUTONUM) values (:A, :S, 1, :Q, :D, :N, :A)"),
                       {{QStringLiteral("A"), sale.no}, {QStringLiteral("S"), stored},
                        {QStringLiteral("N"), QStringLiteral("99%1").arg(sale.no)},
                        {QStringLiteral("Q"), sale.qty}, {QStringLiteral("D"), today.addDays(-sale.daysAgo)}});
        }

        TDMPorychki& po = *instances.DMPorychki;
        TFormPorychka* w = instances.FormPorychka;
        w->show();
        po.SmpPorychkiArh.first();
        shot(w, QStringLiteral("FormPorychka"));
        {
            ModalShot modal(out, failures);
            modal.name = QStringLiteral("FormPorychkaNova");
            modal.script = [&](Form*) {
                TFormPorychkaNova* d = instances.FormPorychkaNova;
                d->DBLkpCmBoxTipKontr->setKeyValue(1);
                d->DBLkpCmBoxTipKontrCloseUp();
                d->DBLkpCmBoxImeKontr->setKeyValue(9601);
                d->DBLkpCmBoxImeKontrCloseUp();
                d->DBLkpCmBoxMol->setKeyValue(9601);
                d->DatePorychkaSrok->setDate(today.addDays(21));
            };
            instances.FormPorychkaNova->open();
            modal.name = QStringLiteral("FormPorychkiDate");
            modal.script = {};
            instances.FormPorychkiDate->open();
            modal.name = QStringLiteral("FormPorychkaIzdelia");
            modal.script = [&](Form*) {
                TFormPorychkaIzdelia* d = instances.FormPorychkaIzdelia;
                d->DBLkpCmBIzbProizv->setKeyValue(96);
                d->DBLkpCmBIzbProizvCloseUp();
                d->DBLkpCmBIzbIzdelie->setKeyValue(962);
                d->EdOpisanie->setText(QStringLiteral("разтегателна"));
                d->SpnEdtBrIzdelia->setValue(4);
                d->DBLkpCmBoxTipKontr->setKeyValue(2);
                d->DBLkpCmBoxTipKontrCloseUp();
                d->DBLkpCmBoxImeKontr->setKeyValue(9611);
                d->Edit1->setText(QStringLiteral("5"));
            };
            instances.FormPorychkaIzdelia->open();
        }
        po.SmpPorychki_Dvigenie.locate(QStringLiteral("NTIP_IZDELIE"), {961});
        shot(instances.FormPorychkaDvigKontr, QStringLiteral("FormPorychkaDvigKontr"));
        instances.FormPorychkaDvigKontr->close();
        instances.FormPorychkaMat->showOrder(hotel, QStringLiteral("Хотел Родина АД"));
        shot(instances.FormPorychkaMat, QStringLiteral("FormPorychkaMat"));
        instances.FormPorychkaMat->close();
        instances.FormPorychDvigMat->showAll();
        shot(instances.FormPorychDvigMat, QStringLiteral("FormPorychDvigMat"));
        instances.FormPorychDvigMat->close();
        w->close();
    }
    // Sales information: a furniture maker's year of invoices to four clients, and in the last
    // days invoices, stock receipts (one with a USD price) and a consignment, paid in full, in part,
    // not at all and once too much; the hub, the sales inquiry with three stock receipts of one
    // client marked for a summary invoice, the payments, the turnover, the monthly sales and the
    // batches made with the lacquer.
    {
        SQLConnection& db = instances.DMNS->SQLConnectNS;
        const QDate today = Clock::today();
        const char* rows[] = {
            "insert into TIP_SKLAD (NSKLAD, SKLAD) values (97, 'Готова продукция - мебели')",
            "insert into TIP_SKLAD (NSKLAD, SKLAD) values (98, 'Бояджийски материали')",
            "insert into TIP_PROIZVODSTVO (NPROIZVODSTVO, PROIZVODSTVO, PSEVDONIM_CEH) values (97, 'Цех за мебели от масив', 'ЦМ')",
            "insert into MOL (NMOL, NKONTRAGENT, IMEMOL) values (9751, 9751, 'Стефан Маринов')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD, ADRES, NMOL) values (9751, 1, 'Хотел Панорама ООД', 8000, 'ул. Морска 3', 9751)",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD, ADRES) values (9752, 1, 'Мебелна къща Дом ЕООД', 4000, 'бул. Марица 41')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD, ADRES) values (9753, 1, 'Ресторант Тракия АД', 9000, 'ул. Шипка 7')",
            "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD, ADRES) values (9754, 1, 'Архитект Стил ЕТ', 1000, 'ул. Оборище 15')",
        };
        for (const char* r : rows) db.execute(QString::fromUtf8(r));
        struct Item { int n; const char* name; int store, unit; };
        for (const Item& i : {Item{9751, "Маса трапезна дъб 160х90", 97, 1}, {9752, "Стол с тапицерия, бук", 97, 1},
                              {9753, "Шкаф за обувки, бял", 97, 1}, {9754, "Легло двойно 160х200", 97, 1},
                              {9755, "Лак за дърво, мат", 98, 7}}) {
            db.execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (:N, :I, :S, :U)"),
                       {{QStringLiteral("N"), i.n}, {QStringLiteral("I"), QString::fromUtf8(i.name)},
                        {QStringLiteral("S"), i.store}, {QStringLiteral("U"), i.unit}});
            db.executeProcedure(QStringLiteral("ADDDOSTAVKA"),
                                {{QStringLiteral("NMATERIAL"), i.n}, {QStringLiteral("KOLICHESTVO"), 800.0},
                                 {QStringLiteral("ED_CENA_LV"), 20.0}, {QStringLiteral("PROCENT_DDS"), 20.0},
                                 {QStringLiteral("DATEPOLUCHENO"), QDate(today.year(), 1, 2)}, {QStringLiteral("NKONTRAGENT"), 0},
                                 {QStringLiteral("NFAKTURA"), QStringLiteral("ЦМ")}, {QStringLiteral("DATEFAKTURA"), QDate(today.year(), 1, 2)}});
        }
        // The lists the windows name the new items and warehouses from.
        for (SmpDataset* ds : {&instances.DMNS->SmpMateriali, &instances.DMNS->SmpTipSklad}) {
            ds->close();
            ds->open();
        }
        QMap<int, int> numbers{{0, 9700}, {2, 9700}, {3, 9700}};
        const auto sell = [&](int type, int client, const QDate& date, std::initializer_list<std::pair<int, double>> lines,
                              double paid, double usd = 0) {
            const QMap<int, double> prices{{9751, 480}, {9752, 95}, {9753, 210}, {9754, 690}, {9755, 18.5}};
            QVector<Sales::SaleLine> sale;
            for (const auto& [material, quantity] : lines) {
                Sales::SaleLine l;
                l.material = material;
                l.quantity = quantity;
                l.priceLv = prices.value(material);
                l.priceUsd = usd;
                sale << l;
            }
            Sales::SaleHeader h;
            h.documentType = type;
            h.counterparty = client;
            h.recipientName = QStringLiteral("Получател");
            h.clientName = client == 9751 ? QStringLiteral("Стефан Маринов")
                                          : client == 9754 ? QStringLiteral("арх. Елена Стоева") : QString();
            h.paymentType = 1;
            h.invoiceNumbering = 1;
            const int n = ++numbers[type];
            h.invoiceNumber = QStringLiteral("0%1").arg(n, 9, 10, QLatin1Char('0'));
            h.stockReceiptNumber = h.consignmentNumber = QString::number(n);
            h.vatPct = 20;
            h.date = date;
            h.payAtOnce = paid < 0;
            h.paidNowLv = std::max(paid, 0.0);
            return Sales::recordSale(db, h, sale).lineKeys;
        };
        // Earlier this year: one invoice a month, the clients in turn.
        for (int m = 1; m < today.month(); ++m)
            sell(0, 9751 + m % 4, QDate(today.year(), m, 12), {{9751, 1 + m % 3}, {9752, 4 + m % 5}, {9755, m % 2 ? 3 : 0.5}}, -1);
        sell(0, 9751, today.addDays(-9), {{9751, 2}, {9752, 12}}, -1);
        sell(2, 9752, today.addDays(-8), {{9753, 3}}, 200, 118);
        // The three stock receipts the summary invoice is assembled from.
        QVector<int> receipts = sell(2, 9754, today.addDays(-7), {{9754, 1}}, 0);
        receipts << sell(2, 9754, today.addDays(-6), {{9752, 6}}, -1);
        sell(3, 9753, today.addDays(-5), {{9752, 20}}, 0);
        sell(0, 9753, today.addDays(-4), {{9755, 4}}, 100);
        receipts << sell(2, 9754, today.addDays(-3), {{9753, 2}}, 0);
        sell(0, 9752, today.addDays(-2), {{9754, 1}, {9752, 2}}, -1);
        for (const auto& [batch, product, qty, days] : {std::tuple{"97000001", 9751, 8, 60}, {"97000002", 9752, 40, 45},
                                                        {"97000003", 9753, 12, 20}}) {
            const QVariantMap p{{QStringLiteral("B"), QString::fromLatin1(batch)}, {QStringLiteral("M"), product},
                                {QStringLiteral("Q"), qty}, {QStringLiteral("D"), today.addDays(-days)}};
            db.execute(QStringLiteral("insert into IZDELIE (PART_NUM_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE, KOLICH_SERII, "
                                      "KOLICH_IZDELIE, DATEIZDELIE) values (:B, 97, :M, 1, :Q, :D)"), p);
            db.execute(QStringLiteral("insert into IZDELIE_MATERIALI (PART_NUM_IZDELIE, NPROIZVODSTVO, NMATERIAL, KOLICHESTVO) "
                                      "values (:B, 97, 9755, :Q)"), p);
        }

        TFormGotovaProd* hub = instances.FormGotovaProd;
        shot(hub, QStringLiteral("FormGotovaProd"));
        TFormSprProdagbi* inquiry = instances.FormSprProdagbi;
        TDMNsSpravki& spravki = *instances.DMNsSpravki;
        inquiry->show();
        inquiry->RdGrpIzbKontragent->click(1);
        spravki.SmpSprTipKontr.locate(QStringLiteral("NTIP_KONTRAGENT"), {1});
        inquiry->DBLkpCmBoxTipKontragert->setKeyValue(1);
        inquiry->DBLkpCmBoxTipKontragertCloseUp();
        inquiry->DBLkpCmBoxKontr->setKeyValue(9754);
        inquiry->DBLkpCmBoxKontrCloseUp();
        for (int line : receipts) {
            spravki.SmpSprRealizacia.locate(QStringLiteral("NUM_ZAPIS"), {line});
            inquiry->SpeedBtnZapMaterialClick();
        }
        shot(inquiry, QStringLiteral("FormSprProdagbi"));
        inquiry->close();
        shot(instances.FormSprRealizaciaRazplastania, QStringLiteral("FormSprRealizaciaRazplastania"));
        instances.FormSprRealizaciaRazplastania->close();
        shot(instances.FormKlientiOborot, QStringLiteral("FormKlientiOborot"));
        instances.FormKlientiOborot->close();
        TFormProdPoMeseci* monthly = instances.FormProdPoMeseci;
        monthly->show();
        instances.DMNS->SmpTipSklad.locate(QStringLiteral("NSKLAD"), {97});
        monthly->DBLkpCmbIzbSklad->setKeyValue(97);
        monthly->DBLkpCmbIzbSkladCloseUp();
        shot(monthly, QStringLiteral("FormProdPoMeseci"));
        monthly->close();
        instances.FormVlMatIzd->openFor(9755, QStringLiteral("Лак за дърво, мат"));
        shot(instances.FormVlMatIzd, QStringLiteral("FormVlMatIzd"));
        instances.FormVlMatIzd->close();
        hub->close();
    }
    UiService::install(nullptr);  // the stand-in goes before the windows it served
    return failures == 0 ? 0 : 1;
}
