#include "app/instances.h"

#include "app/formns.h"
#include "cash/formkasa.h"
#include "cash/formkasovorder.h"
#include "common/columnsettings.h"
#include "data/dmnsspravki.h"
#include "data/dmns.h"
#include "data/dmpers.h"
#include "data/dmporychki.h"
#include "data/dmsklad.h"
#include "data/dmprodagba.h"
#include "platform/widgets/handlers.h"
#include "reference/formnomenklaturi.h"
#include "reference/formcountry.h"
#include "reference/formgrad.h"
#include "reference/formkontragent.h"
#include "reference/formmateriali.h"
#include "reference/formmiarki.h"
#include "reference/formspecceni.h"
#include "reference/formtipkontr.h"
#include "reference/formtipsklad.h"
#include "reference/formizdmatiso.h"
#include "reference/formrecepizdelie.h"
#include "reference/formtipizdelie.h"
#include "reference/formtipproizv.h"
#include "reference/tabcounterparties.h"
#include "reference/tabitems.h"
#include "reference/tabplaces.h"
#include "reference/tabproduction.h"
#include "reports/reference/qrrecepta.h"
#include "staff/formpers.h"
#include "staff/formpersmat.h"
#include "staff/formpersonal.h"
#include "staff/formslugavans.h"
#include "staff/formslugotchet.h"
#include "staff/formslugrazplobsto.h"
#include "staff/formviewzarab.h"
#include "staff/tabslugrazpl.h"
#include "staff/tabtools.h"
#include "warehouse/formmaterialdostavka.h"
#include "warehouse/formnovadostavka.h"
#include "warehouse/formdostavkakorekcia.h"
#include "warehouse/formsklad.h"
#include "warehouse/formskldostbrak.h"
#include "warehouse/formupddostcena.h"
#include "sales/documentprintdialog.h"
#include "sales/formprodagba.h"
#include "sales/formrealizaciaprint.h"
#include "sales/formprodagbamateriali.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

struct AppInstances::Owned
{
    // First in, last out: the datasets registered with it go before it.
    ColumnSettings::Registry columnSettings;
    std::unique_ptr<TFormNS> formNS;
    std::unique_ptr<TDMNS> dmNS;
    std::unique_ptr<TFormNomenklaturi> formNomenklaturi;
    std::unique_ptr<TDMNsSpravki> dmNsSpravki;
    std::unique_ptr<TDMPorychki> dmPorychki;
    std::unique_ptr<TDMPers> dmPers;
    std::unique_ptr<TFormKontragent> formKontragent;
    std::unique_ptr<TFormMateriali> formMateriali;
    std::unique_ptr<TFormTipSklad> formTipSklad;
    std::unique_ptr<TFormMiarki> formMiarki;
    std::unique_ptr<TFormGrad> formGrad;
    std::unique_ptr<TFormCountry> formCountry;
    std::unique_ptr<TFormTipKontr> formTipKontr;
    std::unique_ptr<TFormSpecCeni> formSpecCeni;
    std::unique_ptr<TQRRecepta> qrRecepta;
    std::unique_ptr<TFormTipProizv> formTipProizv;
    std::unique_ptr<TFormTipIzdelie> formTipIzdelie;
    std::unique_ptr<TFormRecepIzdelie> formRecepIzdelie;
    std::unique_ptr<TFormIzdMatISO> formIzdMatISO;
    std::unique_ptr<TFormPers> formPers;
    std::unique_ptr<TFormPersMat> formPersMat;
    std::unique_ptr<TFormSlugAvans> formSlugAvans;
    std::unique_ptr<TFormSlugOtchet> formSlugOtchet;
    std::unique_ptr<TFormSlugRazplObsto> formSlugRazplObsto;
    std::unique_ptr<TFormViewZarab> formViewZarab;
    std::unique_ptr<TFormPersonal> formPersonal;
    std::unique_ptr<TFormKasovOrder> formKasovOrder;
    std::unique_ptr<TFormKasa> formKasa;
    std::unique_ptr<TDMSklad> dmSklad;
    std::unique_ptr<TFormSklad> formSklad;
    std::unique_ptr<TFormMaterialDostavka> formMaterialDostavka;
    std::unique_ptr<TFormNovaDostavka> formNovaDostavka;
    std::unique_ptr<TFormDostavkaKorekcia> formDostavkaKorekcia;
    std::unique_ptr<TFormUpdDostCena> formUpdDostCena;
    std::unique_ptr<TFormSklDostBrak> formSklDostBrak;
    std::unique_ptr<TDMProdagba> dmProdagba;
    std::unique_ptr<TFormProdagbaMateriali> formProdagbaMateriali;
    std::unique_ptr<TFormOKBottomDlg> formOKBottomDlg;
    std::unique_ptr<TFormRealizaciaPrint> formRealizaciaPrint;
    std::unique_ptr<TFormProdagba> formProdagba;
};

AppInstances::AppInstances(const ConnectionParams& params) : owned_(std::make_unique<Owned>())
{
    owned_->formNS = std::make_unique<TFormNS>(*this);
    FormNS = owned_->formNS.get();
    owned_->dmNS = std::make_unique<TDMNS>(params);
    DMNS = owned_->dmNS.get();
    // The lists the report column settings apply to (the later data modules register their own).
    owned_->columnSettings.registerDataset(DMNS->SmpViewMateriali);
    // The personnel module is created later in the order, but the reference data window edits its
    // lists, so it exists before the window is given it.
    owned_->dmPers = std::make_unique<TDMPers>(DMNS->SQLConnectNS);
    owned_->formNomenklaturi = std::make_unique<TFormNomenklaturi>(*DMNS, *owned_->dmPers, owned_->columnSettings);
    FormNomenklaturi = owned_->formNomenklaturi.get();
    QObject::connect(FormNomenklaturi, &TFormNomenklaturi::mainCaptionChanged, FormNS, &QWidget::setWindowTitle);
    owned_->dmNsSpravki = std::make_unique<TDMNsSpravki>(DMNS->SQLConnectNS);
    DMNsSpravki = owned_->dmNsSpravki.get();
    QRRecepta = (owned_->qrRecepta = std::make_unique<TQRRecepta>(*DMNS)).get();
    owned_->dmPorychki = std::make_unique<TDMPorychki>(DMNS->SQLConnectNS);
    DMPorychki = owned_->dmPorychki.get();
    DMPers = owned_->dmPers.get();
    // Reference data editors, in their start-up order, handed to the window that opens them.
    FormKontragent = (owned_->formKontragent = std::make_unique<TFormKontragent>(*DMNS)).get();
    FormMateriali = (owned_->formMateriali = std::make_unique<TFormMateriali>(*DMNS)).get();
    FormTipProizv = (owned_->formTipProizv = std::make_unique<TFormTipProizv>(*DMNS)).get();
    FormTipIzdelie = (owned_->formTipIzdelie = std::make_unique<TFormTipIzdelie>(*DMNS)).get();
    FormRecepIzdelie = (owned_->formRecepIzdelie = std::make_unique<TFormRecepIzdelie>(*DMNS)).get();
    FormTipSklad = (owned_->formTipSklad = std::make_unique<TFormTipSklad>(*DMNS)).get();
    FormMiarki = (owned_->formMiarki = std::make_unique<TFormMiarki>(*DMNS)).get();
    FormGrad = (owned_->formGrad = std::make_unique<TFormGrad>(*DMNS)).get();
    FormCountry = (owned_->formCountry = std::make_unique<TFormCountry>(*DMNS)).get();
    FormTipKontr = (owned_->formTipKontr = std::make_unique<TFormTipKontr>(*DMNS)).get();
    FormSpecCeni = (owned_->formSpecCeni = std::make_unique<TFormSpecCeni>(*DMNS)).get();
    FormIzdMatISO = (owned_->formIzdMatISO = std::make_unique<TFormIzdMatISO>(*DMNS)).get();
    FormNomenklaturi->TabSheet1->FormMateriali = FormMateriali;
    FormNomenklaturi->TabSheet1->FormTipSklad = FormTipSklad;
    FormNomenklaturi->TabSheet1->FormMiarki = FormMiarki;
    FormNomenklaturi->TabSheet2->FormKontragent = FormKontragent;
    FormNomenklaturi->TabSheet2->FormSpecCeni = FormSpecCeni;
    FormKasovOrder = (owned_->formKasovOrder = std::make_unique<TFormKasovOrder>(*DMNS)).get();
    FormKasa = (owned_->formKasa = std::make_unique<TFormKasa>(*DMNS, *FormKasovOrder)).get();
    FormNomenklaturi->TabSheet3->FormGrad = FormGrad;
    FormNomenklaturi->TabSheet3->FormCountry = FormCountry;
    FormNomenklaturi->TabSheet3->FormTipKontr = FormTipKontr;
    FormNomenklaturi->TabSheet4->QRRecepta = QRRecepta;
    FormNomenklaturi->TabSheet4->FormTipProizv = FormTipProizv;
    FormNomenklaturi->TabSheet4->FormTipIzdelie = FormTipIzdelie;
    FormNomenklaturi->TabSheet4->FormRecepIzdelie = FormRecepIzdelie;
    FormNomenklaturi->TabSheet4->FormIzdMatISO = FormIzdMatISO;
    // The staff window, its dialogs and inquiries.
    FormPers = (owned_->formPers = std::make_unique<TFormPers>(*DMPers)).get();
    FormPersMat = (owned_->formPersMat = std::make_unique<TFormPersMat>(*DMPers)).get();
    FormSlugAvans = (owned_->formSlugAvans = std::make_unique<TFormSlugAvans>(*DMPers)).get();
    FormSlugOtchet = (owned_->formSlugOtchet = std::make_unique<TFormSlugOtchet>(*DMPers)).get();
    FormSlugRazplObsto = (owned_->formSlugRazplObsto = std::make_unique<TFormSlugRazplObsto>(*DMPers)).get();
    FormViewZarab = (owned_->formViewZarab = std::make_unique<TFormViewZarab>(*DMPers)).get();
    FormPersonal = (owned_->formPersonal = std::make_unique<TFormPersonal>(*DMNS, *DMPers)).get();
    FormPersonal->FormPers = FormPers;
    FormPersonal->FormSlugRazplObsto = FormSlugRazplObsto;
    FormPersonal->FormViewZarab = FormViewZarab;
    FormPersonal->TabSheet1->FormSlugAvans = FormSlugAvans;
    FormPersonal->TabSheet1->FormSlugOtchet = FormSlugOtchet;
    FormPersonal->TabSheet2->FormPersMat = FormPersMat;
    DMSklad = (owned_->dmSklad = std::make_unique<TDMSklad>(*DMNS)).get();
    owned_->columnSettings.registerDataset(DMSklad->SmpSklNalich);
    FormSklad = (owned_->formSklad = std::make_unique<TFormSklad>(*DMNS, *DMSklad)).get();
    FormMaterialDostavka =
        (owned_->formMaterialDostavka = std::make_unique<TFormMaterialDostavka>(*DMNS, *DMSklad)).get();
    FormNovaDostavka = (owned_->formNovaDostavka = std::make_unique<TFormNovaDostavka>(
                            *DMNS, *DMSklad, *DMPers, *FormMaterialDostavka, specialVatNumber()))
                           .get();
    FormNovaDostavka->setCounterpartyWindow([this](int supplier) {
        FormNomenklaturi->PageControl1->setCurrentWidget(FormNomenklaturi->TabSheet2);
        FormNomenklaturi->OpenOnKontragent(supplier);
    });
    FormDostavkaKorekcia =
        (owned_->formDostavkaKorekcia = std::make_unique<TFormDostavkaKorekcia>(*DMNS, *DMSklad, *DMPers)).get();
    FormUpdDostCena = (owned_->formUpdDostCena = std::make_unique<TFormUpdDostCena>(DMNS->SQLConnectNS)).get();
    FormSklDostBrak = (owned_->formSklDostBrak = std::make_unique<TFormSklDostBrak>(*DMNS, *DMSklad)).get();
    FormSklad->setEditors(FormNovaDostavka, FormDostavkaKorekcia, FormSklDostBrak);
    FormSklad->setPriceEditor(FormUpdDostCena);
    DMProdagba = (owned_->dmProdagba = std::make_unique<TDMProdagba>(*DMNS)).get();
    FormProdagbaMateriali =
        (owned_->formProdagbaMateriali = std::make_unique<TFormProdagbaMateriali>(*DMNS, *DMProdagba)).get();
    FormOKBottomDlg = (owned_->formOKBottomDlg = std::make_unique<TFormOKBottomDlg>()).get();
    FormRealizaciaPrint = (owned_->formRealizaciaPrint = std::make_unique<TFormRealizaciaPrint>(*DMNS)).get();
    FormProdagba = (owned_->formProdagba = std::make_unique<TFormProdagba>(*DMNS, *DMProdagba, *FormProdagbaMateriali,
                                                                           *FormOKBottomDlg)).get();
    QObject::connect(FormNomenklaturi, &TFormNomenklaturi::mainCaptionChanged, FormProdagba,
                     [form = FormProdagba] { Handlers::run([form] { form->companySettingsSaved(); }); });
}

AppInstances::~AppInstances()
{
    // Windows go before the data modules they are bound to.
    owned_->formPersonal.reset();
    owned_->formViewZarab.reset();
    owned_->formSlugRazplObsto.reset();
    owned_->formSlugOtchet.reset();
    owned_->formSlugAvans.reset();
    owned_->formPersMat.reset();
    owned_->formPers.reset();
    owned_->formKasa.reset();
    owned_->formKasovOrder.reset();
    owned_->formSklDostBrak.reset();
    owned_->formUpdDostCena.reset();
    owned_->formDostavkaKorekcia.reset();
    owned_->formProdagba.reset();
    owned_->formOKBottomDlg.reset();
    owned_->formRealizaciaPrint.reset();
    owned_->formProdagbaMateriali.reset();
    owned_->dmProdagba.reset();
    owned_->formSklad.reset();
    owned_->formNovaDostavka.reset();
    owned_->formMaterialDostavka.reset();
    owned_->dmSklad.reset();
    owned_->formIzdMatISO.reset();
    owned_->formRecepIzdelie.reset();
    owned_->formTipIzdelie.reset();
    owned_->formTipProizv.reset();
    owned_->qrRecepta.reset();
    owned_->formSpecCeni.reset();
    owned_->formTipKontr.reset();
    owned_->formCountry.reset();
    owned_->formGrad.reset();
    owned_->formMiarki.reset();
    owned_->formTipSklad.reset();
    owned_->formMateriali.reset();
    owned_->formKontragent.reset();
    owned_->formNomenklaturi.reset();
    owned_->formNS.reset();
    owned_->dmPers.reset();
    owned_->dmPorychki.reset();
    owned_->dmNsSpravki.reset();
    owned_->dmNS.reset();
}

ColumnSettings::Registry& AppInstances::columnSettings() { return owned_->columnSettings; }

QString AppInstances::dataDir() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }

QString AppInstances::backupStatePath() { return dataDir() + QStringLiteral("/backup.ini"); }

QString AppInstances::iniPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(QStringLiteral("trx.ini"));
}

ConnectionParams AppInstances::configuredParams() { return ConnectionParams::fromIni(iniPath(), dataDir()); }

QString AppInstances::specialVatNumber()
{
    return QSettings(iniPath(), QSettings::IniFormat).value(QStringLiteral("installation/special_vat")).toString().trimmed();
}
