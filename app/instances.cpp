#include "app/instances.h"

#include "app/formns.h"
#include "data/dmns.h"

#include <QDir>
#include <QStandardPaths>

namespace {
AppInstances* currentSet = nullptr;
}

struct AppInstances::Owned
{
    std::unique_ptr<TFormNS> formNS;
    std::unique_ptr<TDMNS> dmNS;
};

AppInstances::AppInstances(const ConnectionParams& params) : owned_(std::make_unique<Owned>())
{
    Q_ASSERT(!currentSet);
    currentSet = this;
    owned_->formNS = std::make_unique<TFormNS>();
    FormNS = owned_->formNS.get();
    owned_->dmNS = std::make_unique<TDMNS>(params);
    DMNS = owned_->dmNS.get();
}

AppInstances::~AppInstances()
{
    // Windows go before the data modules they are bound to.
    owned_->formNS.reset();
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
