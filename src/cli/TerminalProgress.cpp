// SPDX-License-Identifier: GPL-3.0-or-later
#include "TerminalProgress.h"

#include "Terminal.h"

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t interruptSeen = 0;
void (*previous)(int) = SIG_DFL;

extern "C" void onInterrupt(int) {
    interruptSeen = 1;
}

} // namespace

bool TerminalProgress::interrupted() {
    return interruptSeen != 0;
}

void TerminalProgress::beginning(qsizetype total) {
    (void)total;
    interruptSeen = 0;
    previous = std::signal(SIGINT, onInterrupt);
    drawn_ = false;
    since_.start();
}

bool TerminalProgress::proceed(qsizetype done, const QString &file) {
    if (draw_ && (done == 0 || redraw_ || since_.hasExpired(100))) {
        redraw_ = false;
        drawLine(done, file);
        since_.start();
    }
    return interruptSeen == 0;
}

void TerminalProgress::drawLine(qsizetype done, const QString &file) {
    const qsizetype total = qMax<qsizetype>(filesTotal(), 1);
    const int width = 20;
    const int filled = int(qMin<qsizetype>(done, total) * width / total);
    QString line =
        QStringLiteral("[%1%2] %3/%4 ")
            .arg(QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char(' ')))
            .arg(done)
            .arg(filesTotal());
    line += file;
    // One line of the terminal: a longer one would wrap and \r would no longer reach its start.
    line.truncate(Terminal::stderrColumns() - 1);
    std::fprintf(stderr, "\r%s\033[K", line.toLocal8Bit().constData());
    std::fflush(stderr);
    drawn_ = true;
}

void TerminalProgress::clearLine() {
    if (drawn_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        redraw_ = true;
    }
    drawn_ = false;
}

void TerminalProgress::ending() {
    std::signal(SIGINT, previous == SIG_ERR ? SIG_DFL : previous);
    clearLine();
    redraw_ = false;
}
