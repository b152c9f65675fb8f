#pragma once

#include "platform/db/connectionparams.h"

#include <memory>

class TFormNS;
class TDMNS;
class TDMNsSpravki;
class TDMPorychki;
class TDMPers;
class TFormNomenklaturi;

// Owns the one instance of every window, report layout and data module, created in the fixed
// start-up order and destroyed together. A test builds its own set over its own database.
class AppInstances
{
public:
    explicit AppInstances(const ConnectionParams& params);
    ~AppInstances();
    AppInstances(const AppInstances&) = delete;
    AppInstances& operator=(const AppInstances&) = delete;

    static AppInstances& get();

    // Start-up order: the main window first, then the shared data module, then the rest.
    TFormNS* FormNS = nullptr;
    TDMNS* DMNS = nullptr;
    TFormNomenklaturi* FormNomenklaturi = nullptr;
    TDMNsSpravki* DMNsSpravki = nullptr;
    TDMPorychki* DMPorychki = nullptr;
    TDMPers* DMPers = nullptr;

    // Where the program keeps its database file and reads its INI file.
    static QString dataDir();
    static QString iniPath();
    static ConnectionParams configuredParams();
    // The installation's special VAT number ([installation] special_vat of the INI file).
    static QString specialVatNumber();

private:
    struct Owned;
    std::unique_ptr<Owned> owned_;
};
