// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

class QLabel;

/// The line at the foot of the main window that names the game folder and the VEK folder it
/// works on, so a player with several installations (or the demo's folders) sees which one
/// a click changes. A path too long for its half of the line loses its middle; the tooltip
/// and the accessible name carry it whole.
class FolderLine : public QFrame {
    Q_OBJECT
public:
    FolderLine(const QString &gameFolder, const QString &vekFolder, QWidget *parent = nullptr);

    /// The main window's title: the window's caption, then the game folder.
    static QString title(const QString &caption, const QString &gameFolder);

    QLabel *Game; ///< "Game folder: ..."
    QLabel *Vek;  ///< "VEK folder: ..."

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void elide();

    QString game_;
    QString vek_;
};
