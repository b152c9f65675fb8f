// Writes a PNG of every built window into the folder given as the only argument, over a fresh
// embedded database in a temporary folder. Run it with QT_QPA_PLATFORM=offscreen.
#include "app/formns.h"
#include "app/instances.h"
#include "reference/formnomenklaturi.h"
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
#include "platform/ui/uiservice.h"

#include <QMessageBox>
#include <memory>

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

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
    for (QWidget* w : windows) {
        w->show();
        QCoreApplication::processEvents();
        const QString file = out.filePath(w->objectName() + QStringLiteral(".png"));
        if (!w->grab().save(file)) ++failures;
        QTextStream(stdout) << file << '\n';
    }
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
                                     instances.FormTipKontr,  instances.FormSpecCeni};
    instances.FormSpecCeni->Tag = 1;  // the new-price layout, with its choice groups
    for (QWidget* w : editors) {
        w->show();
        QCoreApplication::processEvents();
        const QString file = out.filePath(w->objectName() + QStringLiteral(".png"));
        if (!w->grab().save(file)) ++failures;
        QTextStream(stdout) << file << '\n';
        w->close();
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
        const auto shot = [&](QWidget* w, const QString& name) {
            w->show();
            QCoreApplication::processEvents();
            const QString file = out.filePath(name + QStringLiteral(".png"));
            if (!w->grab().save(file)) ++failures;
            QTextStream(stdout) << file << '\n';
        };
        TFormNomenklaturi* nom = instances.FormNomenklaturi;
        nom->PageControl1->setCurrentWidget(nom->TabSheet4);
        nom->TabSheet4->SpnEdtBrIzdeliaN->setValue(2);
        shot(nom, QStringLiteral("FormNomenklaturi_TabSheet4"));
        shot(instances.FormTipProizv, QStringLiteral("FormTipProizv"));
        instances.FormTipProizv->close();
        instances.FormTipIzdelie->Tag = 0;
        instances.FormTipIzdelie->RdGrpRecepta->click(1);
        shot(instances.FormTipIzdelie, QStringLiteral("FormTipIzdelie_0"));
        instances.FormTipIzdelie->close();
        instances.FormTipIzdelie->Tag = 1;
        shot(instances.FormTipIzdelie, QStringLiteral("FormTipIzdelie_1"));
        instances.FormTipIzdelie->SpdBtnIzhod->click();
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
    return failures == 0 ? 0 : 1;
}
