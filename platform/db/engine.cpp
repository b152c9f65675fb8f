#include "platform/db/engine.h"

#include "platform/db/dberror.h"

#include <firebird/Interface.h>

namespace {

int refuseSignalShutdown(const int reason, const int, void* arg)
{
    if (reason != fb_shutrsn_signal) return 0;
    reinterpret_cast<void (*)()>(arg)();
    return 1;  // non-zero at confirmation: the engine stays up
}

} // namespace

void DbEngine::takeOverSignals(void (*onSignal)())
{
    ISC_STATUS_ARRAY status{};
    if (fb_shutdown_callback(status, refuseSignalShutdown, fb_shut_confirmation, reinterpret_cast<void*>(onSignal)))
        throw DbError(QStringLiteral("Обработката на сигналите не може да бъде поета от клиента на базата данни."));
}
