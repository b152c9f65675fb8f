#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT and SIGTERM end the program in order: the handler only notes the signal and wakes the
// event loop through a pipe; the loop then emits signalled(). The database client's own reaction to
// these signals (shutting the engine down under the program) is refused. Made once, before the first
// database attach.
class Termination : public QObject
{
    Q_OBJECT
public:
    explicit Termination(QObject* parent = nullptr);
    ~Termination() override;

    // True once a signal arrived; long work (migrations) asks it between steps.
    static bool requested();
    // Until this is called, a signal the start-up does not answer within 1.5 s (or a second signal)
    // ends the process at once, unless a database in place is being written.
    static void startupDone();

signals:
    void signalled();

private:
    QSocketNotifier* notifier_ = nullptr;
};
