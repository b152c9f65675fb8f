#include "app/termination.h"

#include "platform/base/criticalwrite.h"
#include "platform/db/engine.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <atomic>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

int wakeFds[2] = {-1, -1};
int watchdogFds[2] = {-1, -1};  // never closed: the watchdog thread waits on it for the program's life
volatile std::sig_atomic_t arrived = 0;
std::atomic<bool> startingUp{true};

// A start stuck where the signal cannot reach it (an attach that blocks, an engine that waits on
// its own lock) is ended here, unless a database in place is being written.
[[noreturn]] void endStuckStart()
{
    static const char text[] = "TRX: a signal ended the start-up\n";
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, text, sizeof text - 1);
    ::_exit(0);
}

// Waits for the first signal, then gives the start-up its grace to end in order.
void watch()
{
    char c;
    while (::read(watchdogFds[0], &c, 1) < 0 && errno == EINTR) {
    }
    constexpr int kGraceMs = 1500;
    ::poll(nullptr, 0, kGraceMs);
    while (startingUp.load()) {
        if (!CriticalWrite::inProgress()) endStuckStart();
        ::poll(nullptr, 0, 50);
    }
}

// Async-signal-safe: a flag and one byte down each pipe. Called by the signal handler and by the
// database client when it passes the same signal on, so one signal may note twice.
void note()
{
    const int saved = errno;
    arrived = 1;
    const char c = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFds[1], &c, 1);
    if (watchdogFds[1] >= 0) n = ::write(watchdogFds[1], &c, 1);
    errno = saved;
}

// A second signal during the start-up ends it at once when nothing in place is being written.
void onSignal(int)
{
    if (arrived && startingUp.load() && !CriticalWrite::inProgress()) endStuckStart();
    note();
}

} // namespace

Termination::Termination(QObject* parent) : QObject(parent)
{
    if (::pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) != 0) qFatal("cannot make the signal pipe");
    if (watchdogFds[0] < 0) {
        if (::pipe2(watchdogFds, O_CLOEXEC | O_NONBLOCK) != 0) qFatal("cannot make the watchdog pipe");
        ::fcntl(watchdogFds[0], F_SETFL, 0);  // the watchdog blocks on it
        std::thread(watch).detach();
    }
    notifier_ = new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char buf[64];
        while (::read(wakeFds[0], buf, sizeof buf) > 0) {
        }
        emit signalled();
    });
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    // The client library chains our handler behind its own; its own would stop the engine.
    DbEngine::takeOverSignals(note);
}

Termination::~Termination()
{
    struct sigaction sa = {};
    sa.sa_handler = SIG_DFL;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    delete notifier_;
    ::close(wakeFds[0]);
    ::close(wakeFds[1]);
    wakeFds[0] = wakeFds[1] = -1;
}

bool Termination::requested() { return arrived != 0; }

void Termination::startupDone() { startingUp.store(false); }
