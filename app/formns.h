#pragma once

#include <QMainWindow>
#include <QVector>

class QAction;
class QLabel;
class QMenu;
class HotSpot;
class AppInstances;

// The main window: the background picture with its twelve hot spots, the status text and the main
// menu from which every working window is opened.
class TFormNS : public QMainWindow
{
    Q_OBJECT
public:
    // The main window opens the set's windows; it is built first, so it reads them when used.
    explicit TFormNS(AppInstances& app, QWidget* parent = nullptr);

    // One entry of the main menu with its hot spot.
    struct Command
    {
        const char* action;   // menu item component
        const char* caption;  // menu caption
        const char* hotSpot;  // hot spot component; nullptr for the separator
        const char* hover;    // text shown in Label1 while the pointer is over the hot spot
        // nullptr while the command's window is not built yet: the item and its hot spot are
        // shown disabled rather than doing nothing when clicked.
        void (TFormNS::*handler)();
        int tile;             // the picture's tile the hot spot lies over
    };
    static const QVector<Command>& commands();

    QMenuBar* MenuFirm = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* DBText1 = nullptr;

    void FormCreate();
    void FormShow();

    void N3SkladDostClick();
    void N4CehProizvClick();
    void N10SkladPunktClick();
    void N5ProdFaktClick();
    void N9NomenklClick();
    void N12PersClick();
    void N7RazplClick();
    void N2PorychClick();
    void N6InfProdagbaClick();
    void N14IzhodClick();
    // Backup and restore of the database, in the "Система" menu.
    void NArhivClick();
    void NVazstanoviClick();
    void N2KasaClick();
    void N1SklObektClick();

    void Image1MouseMove();

    bool firstShowDone() const { return firstShowDone_; }
    // The company's VAT number is the installation's special one (set by the first show).
    bool SpecialVatCompany = false;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void buildPicture();
    AppInstances& app_;
    bool firstShowDone_ = false;
};
