#include "app/termination.h"

#include "platform/db/engine.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int wakeFds[2] = {-1, -1};
volatile std::sig_atomic_t arrived = 0;

// Async-signal-safe: a flag and one byte down the pipe.
void note()
{
    const int saved = errno;
    arrived = 1;
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFds[1], &c, 1);
    errno = saved;
}

void onSignal(int) { note(); }

} // namespace

Termination::Termination(QObject* parent) : QObject(parent)
{
    if (::pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) != 0) qFatal("cannot make the signal pipe");
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
