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
#include "data/dmproizv.h"
#include "production/formiskizdelie.h"
#include "production/formproizvodstvo.h"
#include "production/formrecepizdisk.h"
#include "production/formsklisk.h"
#include "production/formspriskania.h"
#include "production/qriskane.h"
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
#include "data/dmsklobekti.h"
#include "outlets/formsklobekti.h"
#include "outlets/formsklobtransfer.h"
#include "outlets/qrpsklrazp.h"
#include "warehouse/formskldostbrak.h"
#include "warehouse/formupddostcena.h"
#include "data/dmsklspravki.h"
#include "warehouse/formambalag.h"
#include "warehouse/formmatspravka.h"
#include "warehouse/formskladmatceni.h"
#include "warehouse/formskladpunkt.h"
#include "warehouse/formsprskladdvigenie.h"
#include "warehouse/formsprskladmateriali.h"
#include "warehouse/formsprskladmaterialikymdata.h"
#include "warehouse/formsprskladsklrazp.h"
#include "sales/documentprintdialog.h"
#include "sales/formprodagba.h"
#include "sales/formrealizaciaprint.h"
#include "sales/formprodagbaelementi.h"
#include "sales/formprodagbamateriali.h"
#include "data/dmrazpl.h"
#include "payments/formrazplastania.h"
#include "orders/formporychdvigmat.h"
#include "orders/formporychka.h"
#include "orders/formporychkadvigkontr.h"
#include "orders/formporychkaizdelia.h"
#include "orders/formporychkamat.h"
#include "orders/formporychkanova.h"
#include "orders/formporychkidate.h"
#include "orders/qrporychki.h"
#include "payments/formrazpldost.h"
#include "payments/formrazplklient.h"
#include "salesinfo/formgotovaprod.h"
#include "salesinfo/formklientioborot.h"
#include "salesinfo/formprodpomeseci.h"
#include "salesinfo/formsprprodagbi.h"
#include "salesinfo/formsprrealizaciarazplastania.h"
#include "salesinfo/formvlmatizd.h"
#include "salesinfo/salesinfodata.h"
#include "platform/ui/uiservice.h"

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
    std::unique_ptr<TDMSklSpravki> dmSklSpravki;
    std::unique_ptr<TFormSprSkladDvigenie> formSprSkladDvigenie;
    std::unique_ptr<TFormSprSkladMateriali> formSprSkladMateriali;
    std::unique_ptr<TFormSprSkladMaterialiKymData> formSprSkladMaterialiKymData;
    std::unique_ptr<TFormSkladMatCENI> formSkladMatCENI;
    std::unique_ptr<TFormMat_Spravka> formMat_Spravka;
    std::unique_ptr<TFormSprSkladSklRazp> formSprSkladSklRazp;
    std::unique_ptr<TFormAmbalag> formAmbalag;
    std::unique_ptr<TFormSkladPunkt> formSkladPunkt;
    std::unique_ptr<TDMProdagba> dmProdagba;
    std::unique_ptr<TFormProdagbaMateriali> formProdagbaMateriali;
    std::unique_ptr<TFormOKBottomDlg> formOKBottomDlg;
    std::unique_ptr<TFormRealizaciaPrint> formRealizaciaPrint;
    std::unique_ptr<TFormProdagba> formProdagba;
    std::unique_ptr<TDMProizv> dmProizv;
    std::unique_ptr<TQRIskane> qrIskane;
    std::unique_ptr<TQRSpecif> qrSpecif;
    std::unique_ptr<TQRNUMIskane> qrNumIskane;
    std::unique_ptr<TFormRecepIzdISK> formRecepIzdISK;
    std::unique_ptr<TFormIskIzdelie> formIskIzdelie;
    std::unique_ptr<TFormSklIsk> formSklIsk;
    std::unique_ptr<TFormSprIskania> formSprIskania;
    std::unique_ptr<TFormProizvodstvo> formProizvodstvo;
    std::unique_ptr<TDMSklObekti> dmSklObekti;
    std::unique_ptr<TQRpSklRazp> qrpSklRazp;
    std::unique_ptr<TFormSklObTransfer> formSklObTransfer;
    std::unique_ptr<TFormSklObekti> formSklObekti;
    std::unique_ptr<TDMRazpl> dmRazpl;
    std::unique_ptr<TFormRazplastania> formRazplastania;
    std::unique_ptr<TQRPorychka_izvestie> qrPorychkaIzvestie;
    std::unique_ptr<TQRPorychka_Materiali> qrPorychkaMateriali;
    std::unique_ptr<TQRPorychkaDvigMat> qrPorychkaDvigMat;
    std::unique_ptr<TFormPorychkaNova> formPorychkaNova;
    std::unique_ptr<TFormPorychkiDate> formPorychkiDate;
    std::unique_ptr<TFormPorychkaIzdelia> formPorychkaIzdelia;
    std::unique_ptr<TFormPorychkaDvigKontr> formPorychkaDvigKontr;
    std::unique_ptr<TFormPorychkaMat> formPorychkaMat;
    std::unique_ptr<TFormPorychDvigMat> formPorychDvigMat;
    std::unique_ptr<TFormPorychka> formPorychka;
    std::unique_ptr<TFormRazplKlient> formRazplKlient;
    std::unique_ptr<TFormRazplDost> formRazplDost;
    std::unique_ptr<TFormSprProdagbi> formSprProdagbi;
    std::unique_ptr<TFormSprRealizaciaRazplastania> formSprRealizaciaRazplastania;
    std::unique_ptr<TFormKlientiOborot> formKlientiOborot;
    std::unique_ptr<TFormProdPoMeseci> formProdPoMeseci;
    std::unique_ptr<TFormVlMatIzd> formVlMatIzd;
    std::unique_ptr<TFormGotovaProd> formGotovaProd;
    std::unique_ptr<TFormProdagbaElementi> formProdagbaElementi;
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
    createWarehouseInquiries();
    DMProdagba = (owned_->dmProdagba = std::make_unique<TDMProdagba>(*DMNS)).get();
    FormProdagbaMateriali =
        (owned_->formProdagbaMateriali = std::make_unique<TFormProdagbaMateriali>(*DMNS, *DMProdagba)).get();
    FormOKBottomDlg = (owned_->formOKBottomDlg = std::make_unique<TFormOKBottomDlg>()).get();
    FormRealizaciaPrint = (owned_->formRealizaciaPrint = std::make_unique<TFormRealizaciaPrint>(*DMNS)).get();
    FormProdagba = (owned_->formProdagba = std::make_unique<TFormProdagba>(*DMNS, *DMProdagba, *FormProdagbaMateriali,
                                                                           *FormOKBottomDlg)).get();
    FormProdagba->setReferenceWindow([this](int recipient) {
        FormNomenklaturi->PageControl1->setCurrentWidget(FormNomenklaturi->TabSheet2);
        FormNomenklaturi->OpenOnKontragent(recipient);
    });
    QObject::connect(FormNomenklaturi, &TFormNomenklaturi::mainCaptionChanged, FormProdagba,
                     [form = FormProdagba] { Handlers::run([form] { form->companySettingsSaved(); }); });
    DMProizv = (owned_->dmProizv = std::make_unique<TDMProizv>(*DMNS)).get();
    QRIskane = (owned_->qrIskane = std::make_unique<TQRIskane>(*DMNS, *DMProizv)).get();
    QRSpecif = (owned_->qrSpecif = std::make_unique<TQRSpecif>(*DMNS, *DMProizv)).get();
    QRNUMIskane = (owned_->qrNumIskane = std::make_unique<TQRNUMIskane>(*DMProizv)).get();
    FormRecepIzdISK = (owned_->formRecepIzdISK = std::make_unique<TFormRecepIzdISK>(*DMNS, *DMProizv, *QRIskane)).get();
    FormIskIzdelie = (owned_->formIskIzdelie = std::make_unique<TFormIskIzdelie>(*DMNS, *DMProizv)).get();
    FormSklIsk = (owned_->formSklIsk = std::make_unique<TFormSklIsk>(*DMNS, *DMSklad, *DMProizv, *FormRecepIzdISK,
                                                                     *QRSpecif))
                     .get();
    FormSklIsk->setBatchDialog(FormIskIzdelie);
    FormSprIskania = (owned_->formSprIskania = std::make_unique<TFormSprIskania>(*DMNS, *DMProizv)).get();
    FormProizvodstvo = (owned_->formProizvodstvo = std::make_unique<TFormProizvodstvo>(*DMNS, *DMProizv)).get();
    FormProizvodstvo->FormSklIsk = FormSklIsk;
    FormProizvodstvo->FormIskIzdelie = FormIskIzdelie;
    FormProizvodstvo->FormSprIskania = FormSprIskania;
    FormProizvodstvo->QRNUMIskane = QRNUMIskane;
    DMSklObekti = (owned_->dmSklObekti = std::make_unique<TDMSklObekti>(*DMNS)).get();
    QRpSklRazp = (owned_->qrpSklRazp = std::make_unique<TQRpSklRazp>(*DMNS, *DMSklObekti)).get();
    FormSklObTransfer =
        (owned_->formSklObTransfer = std::make_unique<TFormSklObTransfer>(*DMNS, *DMSklObekti, *QRpSklRazp)).get();
    FormSklObekti = (owned_->formSklObekti = std::make_unique<TFormSklObekti>(*DMNS, *DMSklObekti)).get();
    FormSklObekti->setEditors(FormNovaDostavka, FormSklObTransfer, FormDostavkaKorekcia);
    DMRazpl = (owned_->dmRazpl = std::make_unique<TDMRazpl>(DMNS->SQLConnectNS)).get();
    FormRazplastania = (owned_->formRazplastania = std::make_unique<TFormRazplastania>(*DMNS, *DMRazpl)).get();
    FormRazplKlient =
        (owned_->formRazplKlient = std::make_unique<TFormRazplKlient>(*DMRazpl, FormRazplastania->acknowledgement())).get();
    FormRazplDost = (owned_->formRazplDost = std::make_unique<TFormRazplDost>(*DMRazpl)).get();
    FormRazplastania->setDialogs(FormRazplKlient, FormRazplDost);
    createOrders();
    createSalesInformation();
}

void AppInstances::createOrders()
{
    Owned& o = *owned_;
    TDMPorychki& po = *DMPorychki;
    QRPorychka_izvestie = (o.qrPorychkaIzvestie = std::make_unique<TQRPorychka_izvestie>(*DMNS, po)).get();
    QRPorychka_Materiali = (o.qrPorychkaMateriali = std::make_unique<TQRPorychka_Materiali>(*DMNS, po)).get();
    QRPorychkaDvigMat = (o.qrPorychkaDvigMat = std::make_unique<TQRPorychkaDvigMat>(*DMNS, po)).get();
    FormPorychkaNova = (o.formPorychkaNova = std::make_unique<TFormPorychkaNova>(po)).get();
    FormPorychkaNova->setReferenceWindow([this](int counterparty) {
        TFormNomenklaturi* reference = FormNomenklaturi;
        reference->PageControl1->setCurrentWidget(reference->TabSheet2);
        reference->OpenOnKontragent(counterparty);
    });
    FormPorychkiDate = (o.formPorychkiDate = std::make_unique<TFormPorychkiDate>(po)).get();
    FormPorychkaIzdelia = (o.formPorychkaIzdelia = std::make_unique<TFormPorychkaIzdelia>(po)).get();
    FormPorychkaDvigKontr = (o.formPorychkaDvigKontr = std::make_unique<TFormPorychkaDvigKontr>(po)).get();
    FormPorychkaMat = (o.formPorychkaMat = std::make_unique<TFormPorychkaMat>(po, *QRPorychka_Materiali)).get();
    FormPorychDvigMat = (o.formPorychDvigMat = std::make_unique<TFormPorychDvigMat>(po, *QRPorychkaDvigMat)).get();
    FormPorychka = (o.formPorychka = std::make_unique<TFormPorychka>(po, *QRPorychka_izvestie)).get();
    FormPorychka->FormPorychkaNova = FormPorychkaNova;
    FormPorychka->FormPorychkiDate = FormPorychkiDate;
    FormPorychka->FormPorychkaIzdelia = FormPorychkaIzdelia;
    FormPorychka->FormPorychkaDvigKontr = FormPorychkaDvigKontr;
    FormPorychka->FormPorychkaMat = FormPorychkaMat;
    FormPorychka->FormPorychDvigMat = FormPorychDvigMat;
}

void AppInstances::createSalesInformation()
{
    Owned& o = *owned_;
    TDMNsSpravki& spravki = *DMNsSpravki;
    for (SmpDataset* ds : {&spravki.SmpRealizacia, &spravki.SmpSprRealizacia}) o.columnSettings.registerDataset(*ds);
    FormSprProdagbi = (o.formSprProdagbi = std::make_unique<TFormSprProdagbi>(*DMNS, spravki, DMProdagba->SmpFaktObobstena,
                                                                              specialIdNumber()))
                          .get();
    FormSprRealizaciaRazplastania =
        (o.formSprRealizaciaRazplastania = std::make_unique<TFormSprRealizaciaRazplastania>(spravki)).get();
    FormKlientiOborot = (o.formKlientiOborot = std::make_unique<TFormKlientiOborot>(spravki)).get();
    FormProdPoMeseci = (o.formProdPoMeseci = std::make_unique<TFormProdPoMeseci>(*DMNS, spravki)).get();
    FormVlMatIzd = (o.formVlMatIzd = std::make_unique<TFormVlMatIzd>(spravki)).get();
    FormGotovaProd = (o.formGotovaProd = std::make_unique<TFormGotovaProd>(spravki)).get();
    FormSprSkladDvigenie->setUsageWindow([this](int material, const QString& name) {
        FormVlMatIzd->openFor(material, name);
        UiService::current().showModeless(FormVlMatIzd);
    });
    FormGotovaProd->setInquiries({FormSprProdagbi, FormSprRealizaciaRazplastania, FormKlientiOborot, FormProdPoMeseci});
    FormProdagbaElementi = (o.formProdagbaElementi = std::make_unique<TFormProdagbaElementi>(
                                *DMNS, *DMProdagba, spravki.SmpRealizacia, DMRazpl->SmpSprRazpl_Klienti,
                                *FormRealizaciaPrint, FormProdagbaMateriali))
                               .get();
    FormGotovaProd->setBrowser([form = FormProdagbaElementi](const TFormGotovaProd::BrowserRequest& r) {
        form->open(TFormProdagbaElementi::Mode(r.mode), r.saleNumber, r.invoiceText, r.invoiceInt);
    });
    // A summary invoice written shows in the sales list at once.
    FormSprProdagbi->setAfterInvoice([list = &spravki.SmpRealizacia] {
        if (list->isActive()) list->refresh();
    });
}

void AppInstances::createWarehouseInquiries()
{
    Owned& o = *owned_;
    DMSklSpravki = (o.dmSklSpravki = std::make_unique<TDMSklSpravki>(*DMNS, DMSklad->SmpKontrSklPunkt)).get();
    for (SmpDataset* ds : {&DMSklSpravki->SmpSprSklDvig, &DMSklSpravki->SmpSprSklMat, &DMSklSpravki->SmpSprMatKymData,
                           &DMSklSpravki->SmpSklMatCeni, &DMSklSpravki->SmpMat_Spravka, &DMSklSpravki->SmpSklRazp})
        o.columnSettings.registerDataset(*ds);
    FormSprSkladDvigenie =
        (o.formSprSkladDvigenie = std::make_unique<TFormSprSkladDvigenie>(*DMNS, *DMSklad, *DMSklSpravki)).get();
    FormSprSkladDvigenie->setPriceEditor(FormUpdDostCena);
    FormSprSkladMateriali = (o.formSprSkladMateriali = std::make_unique<TFormSprSkladMateriali>(*DMNS, *DMSklSpravki)).get();
    FormSprSkladMaterialiKymData = (o.formSprSkladMaterialiKymData = std::make_unique<TFormSprSkladMaterialiKymData>(
                                        *DMNS, *DMSklSpravki, specialVatNumber()))
                                       .get();
    FormSkladMatCENI = (o.formSkladMatCENI = std::make_unique<TFormSkladMatCENI>(*DMNS, *DMSklSpravki)).get();
    FormMat_Spravka = (o.formMat_Spravka = std::make_unique<TFormMat_Spravka>(*DMNS, *DMSklSpravki)).get();
    FormSprSkladSklRazp =
        (o.formSprSkladSklRazp = std::make_unique<TFormSprSkladSklRazp>(*DMNS, *DMSklad, *DMSklSpravki)).get();
    FormSklad->setInquiries({FormSprSkladDvigenie, FormSprSkladMateriali, FormSprSkladMaterialiKymData, FormSkladMatCENI,
                             FormMat_Spravka, FormSprSkladSklRazp});
    FormAmbalag = (o.formAmbalag = std::make_unique<TFormAmbalag>(*DMSklad, *DMSklSpravki)).get();
    FormSkladPunkt = (o.formSkladPunkt = std::make_unique<TFormSkladPunkt>(*DMNS, *DMSklad, *DMSklSpravki)).get();
    FormSkladPunkt->setEditors(FormNovaDostavka, FormDostavkaKorekcia, FormAmbalag);
}

AppInstances::~AppInstances()
{
    owned_->formProdagbaElementi.reset();
    owned_->formGotovaProd.reset();
    owned_->formVlMatIzd.reset();
    owned_->formProdPoMeseci.reset();
    owned_->formKlientiOborot.reset();
    owned_->formSprRealizaciaRazplastania.reset();
    owned_->formSprProdagbi.reset();
    // The warehouse inquiries go before the warehouse lists they show.
    owned_->formSkladPunkt.reset();
    owned_->formAmbalag.reset();
    owned_->formSprSkladSklRazp.reset();
    owned_->formMat_Spravka.reset();
    owned_->formSkladMatCENI.reset();
    owned_->formSprSkladMaterialiKymData.reset();
    owned_->formSprSkladMateriali.reset();
    owned_->formSprSkladDvigenie.reset();
    owned_->dmSklSpravki.reset();
    // Windows go before the data modules they are bound to.
    owned_->formPorychka.reset();
    owned_->formPorychDvigMat.reset();
    owned_->formPorychkaMat.reset();
    owned_->formPorychkaDvigKontr.reset();
    owned_->formPorychkaIzdelia.reset();
    owned_->formPorychkiDate.reset();
    owned_->formPorychkaNova.reset();
    owned_->qrPorychkaDvigMat.reset();
    owned_->qrPorychkaMateriali.reset();
    owned_->qrPorychkaIzvestie.reset();
    owned_->formProizvodstvo.reset();
    owned_->formSprIskania.reset();
    owned_->formSklIsk.reset();
    owned_->formIskIzdelie.reset();
    owned_->formRecepIzdISK.reset();
    owned_->qrNumIskane.reset();
    owned_->qrSpecif.reset();
    owned_->qrIskane.reset();
    owned_->dmProizv.reset();
    owned_->formSklObekti.reset();
    owned_->formSklObTransfer.reset();
    owned_->qrpSklRazp.reset();
    owned_->dmSklObekti.reset();
    owned_->formRazplDost.reset();
    owned_->formRazplKlient.reset();
    owned_->formRazplastania.reset();
    owned_->dmRazpl.reset();
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

QString AppInstances::specialIdNumber()
{
    return QSettings(iniPath(), QSettings::IniFormat).value(QStringLiteral("installation/special_id")).toString().trimmed();
}

QString AppInstances::specialVatNumber()
{
    return QSettings(iniPath(), QSettings::IniFormat).value(QStringLiteral("installation/special_vat")).toString().trimmed();
}
