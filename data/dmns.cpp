#include "data/dmns.h"

#include "schema/schema.h"

TDMNS::TDMNS(const ConnectionParams& params, QObject* parent) : QObject(parent), SQLConnectNS(params)
{
    setObjectName(QStringLiteral("DMNS"));
}

void TDMNS::connect()
{
    if (SQLConnectNS.isOpen()) return;
    try {
        Schema::openAndUpgrade(SQLConnectNS);
    } catch (...) {
        SQLConnectNS.close();  // a half-upgraded attachment is never used; the next call tries again
        throw;
    }
}
