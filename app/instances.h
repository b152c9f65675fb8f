#pragma once

#include "platform/db/connectionparams.h"

#include <memory>

class TFormNS;
class TDMNS;
class TDMNsSpravki;
class TDMPorychki;
class TDMPers;
class TFormNomenklaturi;
class TFormKontragent;
class TFormMateriali;
class TFormTipSklad;
class TFormMiarki;
class TFormGrad;
class TFormCountry;
class TFormTipKontr;
class TFormSpecCeni;
class TQRRecepta;
class TFormTipProizv;
class TFormTipIzdelie;
class TFormRecepIzdelie;
class TFormIzdMatISO;
class TFormPersonal;
class TFormPers;
class TFormPersMat;
class TFormSlugAvans;
class TFormSlugOtchet;
class TFormSlugRazplObsto;
class TFormViewZarab;
class TFormKasa;
class TFormKasovOrder;
class TDMSklad;
class TFormSklad;
class TDMSklSpravki;
class TFormSprSkladDvigenie;
class TFormSprSkladMateriali;
class TFormSprSkladMaterialiKymData;
class TFormSkladMatCENI;
class TFormMat_Spravka;
class TFormSprSkladSklRazp;
class TFormAmbalag;
class TFormSkladPunkt;
class TFormMaterialDostavka;
class TFormNovaDostavka;
class TFormDostavkaKorekcia;
class TFormSklDostBrak;
class TFormUpdDostCena;
class TDMProdagba;
class TFormProdagbaMateriali;
class TFormProdagba;
class TDMProizv;
class TFormProizvodstvo;
class TFormSklIsk;
class TFormRecepIzdISK;
class TFormIskIzdelie;
class TFormSprIskania;
class TQRIskane;
class TQRSpecif;
class TQRNUMIskane;
class TDMSklObekti;
class TQRpSklRazp;
class TFormSklObTransfer;
class TFormSklObekti;
class TDMRazpl;
class TFormRazplastania;
class TFormRazplKlient;
class TFormRazplDost;
class TFormOKBottomDlg;
class TFormRealizaciaPrint;
class TFormProdagbaElementi;
class TQRPorychka_izvestie;
class TQRPorychka_Materiali;
class TQRPorychkaDvigMat;
class TFormPorychkaNova;
class TFormPorychkiDate;
class TFormPorychkaIzdelia;
class TFormPorychkaDvigKontr;
class TFormPorychkaMat;
class TFormPorychDvigMat;
class TFormPorychka;
class TFormGotovaProd;
class TFormSprProdagbi;
class TFormSprRealizaciaRazplastania;
class TFormKlientiOborot;
class TFormProdPoMeseci;
class TFormVlMatIzd;
namespace ColumnSettings {
class Registry;
}

// Owns the one instance of every window, report layout and data module, created in the fixed
// start-up order and destroyed together, and hands each what it needs at construction. A test
// builds its own set over its own database, or only the data module and window it needs.
class AppInstances
{
public:
    explicit AppInstances(const ConnectionParams& params);
    ~AppInstances();
    AppInstances(const AppInstances&) = delete;
    AppInstances& operator=(const AppInstances&) = delete;

    // Start-up order: the main window first, then the shared data module, then the rest.
    TFormNS* FormNS = nullptr;
    TDMNS* DMNS = nullptr;
    TFormNomenklaturi* FormNomenklaturi = nullptr;
    TDMNsSpravki* DMNsSpravki = nullptr;
    TDMPorychki* DMPorychki = nullptr;
    TDMPers* DMPers = nullptr;
    // The reference data editors, at their places in the order.
    TFormKontragent* FormKontragent = nullptr;
    TFormMateriali* FormMateriali = nullptr;
    TFormTipSklad* FormTipSklad = nullptr;
    TFormMiarki* FormMiarki = nullptr;
    TFormGrad* FormGrad = nullptr;
    TFormCountry* FormCountry = nullptr;
    TFormTipKontr* FormTipKontr = nullptr;
    TFormSpecCeni* FormSpecCeni = nullptr;
    // Product recipes: the calculation layout, the workshop, product and recipe line editors,
    // the accumulated materials.
    TQRRecepta* QRRecepta = nullptr;
    TFormTipProizv* FormTipProizv = nullptr;
    TFormTipIzdelie* FormTipIzdelie = nullptr;
    TFormRecepIzdelie* FormRecepIzdelie = nullptr;
    TFormIzdMatISO* FormIzdMatISO = nullptr;
    // The staff window and the dialogs and inquiries it opens.
    TFormPersonal* FormPersonal = nullptr;
    TFormPers* FormPers = nullptr;
    TFormPersMat* FormPersMat = nullptr;
    TFormSlugAvans* FormSlugAvans = nullptr;
    TFormSlugOtchet* FormSlugOtchet = nullptr;
    TFormSlugRazplObsto* FormSlugRazplObsto = nullptr;
    TFormViewZarab* FormViewZarab = nullptr;
    // Cash desk: the cash book and the cash order dialog it opens.
    TFormKasovOrder* FormKasovOrder = nullptr;
    TFormKasa* FormKasa = nullptr;
    // The warehouse: its lists and the stock window.
    TDMSklad* DMSklad = nullptr;
    TFormSklad* FormSklad = nullptr;
    TFormMaterialDostavka* FormMaterialDostavka = nullptr;
    TFormNovaDostavka* FormNovaDostavka = nullptr;
    // The corrections of a delivery line and its defective goods, opened by the stock window.
    TFormDostavkaKorekcia* FormDostavkaKorekcia = nullptr;
    TFormUpdDostCena* FormUpdDostCena = nullptr;
    TFormSklDostBrak* FormSklDostBrak = nullptr;
    // The stock inquiries of the stock window's menu, the warehouse points and their packaging.
    TDMSklSpravki* DMSklSpravki = nullptr;
    TFormSprSkladDvigenie* FormSprSkladDvigenie = nullptr;
    TFormSprSkladMateriali* FormSprSkladMateriali = nullptr;
    TFormSprSkladMaterialiKymData* FormSprSkladMaterialiKymData = nullptr;
    TFormSkladMatCENI* FormSkladMatCENI = nullptr;
    TFormMat_Spravka* FormMat_Spravka = nullptr;
    TFormSprSkladSklRazp* FormSprSkladSklRazp = nullptr;
    TFormAmbalag* FormAmbalag = nullptr;
    TFormSkladPunkt* FormSkladPunkt = nullptr;
    // Sales: the sale's lists, the item selection and the sale entry window.
    TDMProdagba* DMProdagba = nullptr;
    TFormProdagbaMateriali* FormProdagbaMateriali = nullptr;
    TFormProdagba* FormProdagba = nullptr;
    // Production: its lists, the printed requisitions, the requisition, recipe and batch dialogs,
    // the inquiry and the production window that opens them.
    TDMProizv* DMProizv = nullptr;
    TQRIskane* QRIskane = nullptr;
    TQRSpecif* QRSpecif = nullptr;
    TQRNUMIskane* QRNUMIskane = nullptr;
    TFormRecepIzdISK* FormRecepIzdISK = nullptr;
    TFormIskIzdelie* FormIskIzdelie = nullptr;
    TFormSklIsk* FormSklIsk = nullptr;
    TFormSprIskania* FormSprIskania = nullptr;
    TFormProizvodstvo* FormProizvodstvo = nullptr;
    // Warehouse objects: their lists, the transfer receipt, the transfer window and the objects window.
    TDMSklObekti* DMSklObekti = nullptr;
    TQRpSklRazp* QRpSklRazp = nullptr;
    TFormSklObTransfer* FormSklObTransfer = nullptr;
    TFormSklObekti* FormSklObekti = nullptr;
    // Payments monitoring: its lists, the payments window and the two payment dialogs it opens.
    TDMRazpl* DMRazpl = nullptr;
    TFormRazplastania* FormRazplastania = nullptr;
    TFormRazplKlient* FormRazplKlient = nullptr;
    TFormRazplDost* FormRazplDost = nullptr;
    TFormOKBottomDlg* FormOKBottomDlg = nullptr;
    TFormRealizaciaPrint* FormRealizaciaPrint = nullptr;
    // Client orders: the printouts, the dialogs and windows the orders window opens, and the window.
    TQRPorychka_izvestie* QRPorychka_izvestie = nullptr;
    TQRPorychka_Materiali* QRPorychka_Materiali = nullptr;
    TQRPorychkaDvigMat* QRPorychkaDvigMat = nullptr;
    TFormPorychkaNova* FormPorychkaNova = nullptr;
    TFormPorychkiDate* FormPorychkiDate = nullptr;
    TFormPorychkaIzdelia* FormPorychkaIzdelia = nullptr;
    TFormPorychkaDvigKontr* FormPorychkaDvigKontr = nullptr;
    TFormPorychkaMat* FormPorychkaMat = nullptr;
    TFormPorychDvigMat* FormPorychDvigMat = nullptr;
    TFormPorychka* FormPorychka = nullptr;
    // Sales information: the sales list, its inquiries and the batches made with a material.
    TFormGotovaProd* FormGotovaProd = nullptr;
    TFormSprProdagbi* FormSprProdagbi = nullptr;
    TFormSprRealizaciaRazplastania* FormSprRealizaciaRazplastania = nullptr;
    TFormKlientiOborot* FormKlientiOborot = nullptr;
    TFormProdPoMeseci* FormProdPoMeseci = nullptr;
    // The sales documents browser the sales information window opens.
    TFormProdagbaElementi* FormProdagbaElementi = nullptr;
    TFormVlMatIzd* FormVlMatIzd = nullptr;

    // The report column settings: the lists they apply to and the settings last read.
    ColumnSettings::Registry& columnSettings();

    // Where the program keeps its database file and reads its INI file.
    static QString dataDir();
    static QString iniPath();
    // What the program remembers of its backups (folder, last day), beside the database.
    static QString backupStatePath();
    static ConnectionParams configuredParams();
    // The installation's special VAT number ([installation] special_vat of the INI file).
    static QString specialVatNumber();
    // The company identification number that prints the sales report without clients.
    static QString specialIdNumber();

private:
    void createWarehouseInquiries();
    void createOrders();
    void createSalesInformation();
    struct Owned;
    std::unique_ptr<Owned> owned_;
};
