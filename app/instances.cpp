#include "app/instances.h"

#include "app/formns.h"
#include "data/dmnsspravki.h"
#include "data/dmns.h"
#include "data/dmpers.h"
#include "data/dmporychki.h"
#include "reference/formnomenklaturi.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
AppInstances* currentSet = nullptr;
}

struct AppInstances::Owned
{
    std::unique_ptr<TFormNS> formNS;
    std::unique_ptr<TDMNS> dmNS;
    std::unique_ptr<TFormNomenklaturi> formNomenklaturi;
    std::unique_ptr<TDMNsSpravki> dmNsSpravki;
    std::unique_ptr<TDMPorychki> dmPorychki;
    std::unique_ptr<TDMPers> dmPers;
};

AppInstances::AppInstances(const ConnectionParams& params) : owned_(std::make_unique<Owned>())
{
    Q_ASSERT(!currentSet);
    currentSet = this;
    owned_->formNS = std::make_unique<TFormNS>();
    FormNS = owned_->formNS.get();
    owned_->dmNS = std::make_unique<TDMNS>(params);
    DMNS = owned_->dmNS.get();
    // The personnel module is created later in the order, but the reference data window edits its
    // lists, so it exists before the window is given it.
    owned_->dmPers = std::make_unique<TDMPers>(DMNS->SQLConnectNS);
    owned_->formNomenklaturi = std::make_unique<TFormNomenklaturi>(*DMNS, *owned_->dmPers);
    FormNomenklaturi = owned_->formNomenklaturi.get();
    QObject::connect(FormNomenklaturi, &TFormNomenklaturi::mainCaptionChanged, FormNS, &QWidget::setWindowTitle);
    owned_->dmNsSpravki = std::make_unique<TDMNsSpravki>(DMNS->SQLConnectNS);
    DMNsSpravki = owned_->dmNsSpravki.get();
    owned_->dmPorychki = std::make_unique<TDMPorychki>(DMNS->SQLConnectNS);
    DMPorychki = owned_->dmPorychki.get();
    DMPers = owned_->dmPers.get();
}

AppInstances::~AppInstances()
{
    // Windows go before the data modules they are bound to.
    owned_->formNomenklaturi.reset();
    owned_->formNS.reset();
    owned_->dmPers.reset();
    owned_->dmPorychki.reset();
    owned_->dmNsSpravki.reset();
    owned_->dmNS.reset();
    currentSet = nullptr;
}

AppInstances& AppInstances::get()
{
    Q_ASSERT(currentSet);
    return *currentSet;
}

QString AppInstances::dataDir() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }

QString AppInstances::iniPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(QStringLiteral("trx.ini"));
}

ConnectionParams AppInstances::configuredParams() { return ConnectionParams::fromIni(iniPath(), dataDir()); }

QString AppInstances::specialVatNumber()
{
    return QSettings(iniPath(), QSettings::IniFormat).value(QStringLiteral("installation/special_vat")).toString().trimmed();
}
