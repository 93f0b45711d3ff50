#pragma once

#include "Progress.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;
class QPushButton;
class Selector;

/// The window program's `Progress`: an operation of more than `Threshold` files shows this
/// modal dialog (the progress caption with the file now moved, a bar, "k of n files", Cancel)
/// and keeps the windows repainting by handling events between files; a smaller one shows
/// nothing new. While it is shown the player can start nothing else, so handling events cannot
/// start a second operation. The progress captions ("Please wait- copying: :" ...) stay in the
/// main window's title too, and are the dialog's title.
///
/// Cancel stops the operation after the file being moved; the engine then undoes it and the
/// dialog stays up, its button disabled, until the undo is done.
class ProgressWindow : public QDialog, public Progress {
    Q_OBJECT
public:
    /// Operations of more files than this show the dialog.
    static constexpr qsizetype Threshold = 200;

    ProgressWindow(Selector &selector, QWidget *parent);
    ~ProgressWindow() override;

    /// The least time between two updates of the dialog (and rounds of event handling), in
    /// milliseconds. Tests set 0 to see every file.
    void setInterval(int ms) { interval_ = ms; }

    QLabel *Label;
    QProgressBar *Bar;
    QLabel *Counts;
    QPushButton *Cancel;

Q_SIGNALS:
    /// The dialog has been brought up to date: `done` files are done and `file` is next.
    void shown(qsizetype done, const QString &file);

protected:
    void beginning(qsizetype total) override;
    bool proceed(qsizetype done, const QString &file) override;
    void ending() override;
    /// Closing the dialog by its frame or Escape is Cancel, never a way to leave it early.
    void reject() override;

private:
    void display(qsizetype done, const QString &file);

    Selector &selector_;
    QElapsedTimer since_;
    int interval_ = 50;
    bool on_ = false;
    bool cancel_ = false;
};
