#pragma once

// The client library answers SIGINT and SIGTERM on its own once a database was attached: it shuts
// the engine down and leaves the program running on a dead connection. This refuses that shutdown
// and calls onSignal instead (on the library's thread; it must only do what a signal handler may),
// so the program ends in its own order.
namespace DbEngine {

void takeOverSignals(void (*onSignal)());

} // namespace DbEngine
