#pragma once

#include <atomic>

// Marks a write to a database in place that must run to its end (an upgrade of an existing
// database). While none runs, a program stuck at start-up may be ended at once: a database still
// under its temporary name is never in place, so leaving it loses nothing.
class CriticalWrite
{
public:
    CriticalWrite() { ++depth_; }
    ~CriticalWrite() { --depth_; }
    CriticalWrite(const CriticalWrite&) = delete;
    CriticalWrite& operator=(const CriticalWrite&) = delete;

    // Lock-free: safe to ask from a signal handler.
    static bool inProgress() { return depth_.load() > 0; }

private:
    static inline std::atomic<int> depth_{0};
};
static_assert(std::atomic<int>::is_always_lock_free);
