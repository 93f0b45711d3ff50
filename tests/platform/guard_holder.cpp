// SPDX-License-Identifier: GPL-3.0-or-later
// Holds the instance guard for the guard test: prints "locked" once it holds it (or "busy"
// when another instance does) and keeps it until stdin closes or the test kills it.

#include "InstanceGuard.h"

#include <QCoreApplication>

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char **argv) {
    // The application exists, under its default name, before the guard is taken: the lock
    // records the owner's name, and the next start compares it with the running process.
    QCoreApplication app(argc, argv);
    InstanceGuard guard;
    if (!guard.tryAcquire()) {
        std::fputs("busy\n", stdout);
        std::fflush(stdout);
        return 1;
    }
    std::fputs("locked\n", stdout);
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    return 0;
}
