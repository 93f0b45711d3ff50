// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// How a long file operation tells how far it has come, and learns whether to go on. The
/// window program shows a progress dialog with a Cancel button, the command-line tool a bar on
/// a terminal, tests stop at a file of their choice; without a listener nothing is counted.
///
/// An operation announces its files with `begin`, asks `next` before each file, and calls
/// `end` however it ended. Once the listener has answered "stop", every later `next` of the
/// operation answers so too, and `stopped` tells the operation's code that the player
/// cancelled (as opposed to a failure).
///
/// `next` is on the path of every file a load copies: it does no work of its own beyond a
/// count and one virtual call, and builds no text, so a listener that does little costs little.
class Progress {
public:
    virtual ~Progress();

    /// An operation of `total` files starts (each operation of a sequence starts anew).
    void begin(qsizetype total) {
        total_ = total;
        done_ = 0;
        stopped_ = false;
        beginning(total);
    }

    /// Before each file: answers false when the operation is to stop before `file` (the
    /// files before it are done).
    bool next(const QString &file) {
        if (stopped_ || !proceed(done_, file)) {
            stopped_ = true;
            return false;
        }
        ++done_;
        return true;
    }

    /// The operation has ended: done, failed or cancelled (and then undone).
    void end() { ending(); }

    bool stopped() const { return stopped_; }
    qsizetype filesDone() const { return done_; }
    qsizetype filesTotal() const { return total_; }

protected:
    /// The listener's side of `begin`.
    virtual void beginning(qsizetype total) { (void)total; }
    /// The listener's side of `next`: `done` files of `filesTotal()` are done and `file` is the
    /// next. Answers false to stop the operation.
    virtual bool proceed(qsizetype done, const QString &file) = 0;
    /// The listener's side of `end`.
    virtual void ending() {}

private:
    qsizetype total_ = 0;
    qsizetype done_ = 0;
    bool stopped_ = false;
};
