// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Progress.h"

#include <QElapsedTimer>

/// The command-line tool's `Progress`. While stderr is a terminal, an operation that moves
/// files draws one line there, rewritten in place ("[#####     ] 512/2000 NAME"), and clears
/// it at the end; otherwise it writes nothing. Ctrl+C while files move cancels the operation
/// like the window's Cancel (it is undone, and the tool exits 130, as shells expect); outside of
/// one it ends the tool as usual.
class TerminalProgress : public Progress {
public:
    /// `draw`: whether to draw the bar (stderr is a terminal).
    explicit TerminalProgress(bool draw) : draw_(draw) {}

    /// Takes the bar off its line, so that a message written now starts a line of its own; the
    /// next file draws it again below the message.
    void clearLine();

    /// Whether Ctrl+C cancelled the last operation that moved files.
    static bool interrupted();

protected:
    void beginning(qsizetype total) override;
    bool proceed(qsizetype done, const QString &file) override;
    void ending() override;

private:
    void drawLine(qsizetype done, const QString &file);

    bool draw_;
    bool drawn_ = false;
    bool redraw_ = false; // taken off for a message: drawn again at the next file
    QElapsedTimer since_;
};
