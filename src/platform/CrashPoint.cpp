// SPDX-License-Identifier: GPL-3.0-or-later
#include "CrashPoint.h"

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <csignal>
#include <cstdlib>

namespace {
// 0: not counting. The limit is read once; a bad or absent value leaves the seam off.
std::atomic<long> remaining{0};
std::atomic<long> untilInterrupt{0};
std::atomic<bool> withinWrites{false};
} // namespace

void CrashPoint::passed() {
    if (untilInterrupt.load(std::memory_order_relaxed) != 0 &&
        untilInterrupt.fetch_sub(1, std::memory_order_relaxed) == 1)
        std::raise(SIGINT);
    if (remaining.load(std::memory_order_relaxed) == 0)
        return;
    if (remaining.fetch_sub(1, std::memory_order_relaxed) == 1)
        std::_Exit(ExitStatus);
}

void CrashPoint::inside() {
    if (!withinWrites.load(std::memory_order_relaxed) ||
        remaining.load(std::memory_order_relaxed) == 0)
        return;
    if (remaining.fetch_sub(1, std::memory_order_relaxed) == 1)
        std::_Exit(ExitStatus);
}

void CrashPoint::startCounting(Phase phase) {
    const bool atStart = qEnvironmentVariable("VEK_CRASH_IN") == QLatin1String("start");
    if (atStart != (phase == Phase::StartUp))
        return;
    bool ok = false;
    const long k = qEnvironmentVariableIntValue("VEK_CRASH_AFTER", &ok);
    remaining.store(ok && k > 0 ? k : 0, std::memory_order_relaxed);
    withinWrites.store(qEnvironmentVariable("VEK_CRASH_WITHIN") == QLatin1String("1"),
                       std::memory_order_relaxed);
    const long i = qEnvironmentVariableIntValue("VEK_INTERRUPT_AFTER", &ok);
    untilInterrupt.store(ok && i > 0 ? i : 0, std::memory_order_relaxed);
}
