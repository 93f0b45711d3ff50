// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Progress.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;
class QPushButton;
class Selector;

/// The window program's `Progress`: an operation of more than `Threshold` files, or one that
/// has lasted `showAfter` already, shows this modal dialog (the progress caption with the file
/// now moved, a bar, "k of n files", Cancel) and keeps the windows repainting by handling
/// events between files; a smaller one shows nothing new. While it is shown the player can
/// start nothing else, so handling events cannot start a second operation. The progress
/// captions ("Please wait- copying: :" ...) stay in the main window's title too
/// (`captionDue`), and are the dialog's title.
///
/// The window follows the screen, not the files: the title, the dialog and the handling of
/// events are brought up to date for the first file, then at most every `interval`
/// milliseconds, and for the last file. Between those a file costs a look at the clock, so a
/// load in the window costs what it costs in the command-line tool.
///
/// Cancel stops the operation after the file being moved; the engine then undoes it and the
/// dialog stays up, its button disabled, until the undo is done.
class ProgressWindow : public QDialog, public Progress {
    Q_OBJECT
public:
    /// Operations of more files than this show the dialog.
    static constexpr qsizetype Threshold = 200;
    /// A smaller operation (a few big files) shows it once it has lasted this long, in
    /// milliseconds, so the window never looks frozen.
    static constexpr int ShowAfter = 1000;

    ProgressWindow(Selector &selector, QWidget *parent);
    ~ProgressWindow() override;

    /// The least time between two updates of the dialog (and rounds of event handling), in
    /// milliseconds. Tests set 0 to see every file.
    void setInterval(int ms) { interval_ = ms; }
    /// Tests set how long a small operation lasts before the dialog shows.
    void setShowAfter(int ms) { showAfter_ = ms; }

    QLabel *Label;
    QProgressBar *Bar;
    QLabel *Counts;
    QPushButton *Cancel;

Q_SIGNALS:
    /// The dialog has been brought up to date: `done` files are done and `file` is next.
    void shown(qsizetype done, const QString &file);
    /// The main window's title is due: the caption names the file the operation is on.
    void captionDue(const QString &caption);

protected:
    void beginning(qsizetype total) override;
    bool proceed(qsizetype done, const QString &file) override;
    void ending() override;
    /// Closing the dialog by its frame or Escape is Cancel, never a way to leave it early.
    void reject() override;

private:
    void showDialog();
    void display(qsizetype done, const QString &file);

    Selector &selector_;
    QElapsedTimer since_;   ///< since the last update
    QElapsedTimer started_; ///< since the operation began
    int interval_ = 50;
    int showAfter_ = ShowAfter;
    bool on_ = false;
    bool cancel_ = false;
};
