// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LinkTable.h"

#include <QWidget>

class QComboBox;
class QTimer;
class QToolBar;
class QWebEngineView;

/// The links and help browser: shows the VEK folder's start page, its help file and the
/// links of links.txt. The address list, the caption and the timer follow the `LinkTable`;
/// this window only owns the page component and passes its notifications on.
class frmBrowser : public QWidget {
    Q_OBJECT
public:
    frmBrowser(const QString &modFolder, Prompt &prompt, QWidget *parent = nullptr);

    /// Whether the page component can start in this process. The web engine's sandbox refuses
    /// to start for the root user and would end the whole program; unless the player has
    /// turned the sandbox off for the engine, `why` then says so and the browser stays shut.
    static bool canRun(QString *why);

    /// Opens `address` (a web address or a local file) in the page component.
    void navigate(const QString &address);
    /// Shows the table's state; never runs a handler.
    void refresh();

    LinkTable &links() { return links_; }

    QWebEngineView *brwWebBrowser;
    QWidget *picAddress;
    QComboBox *cboAddress;
    QToolBar *tbToolBar;
    QTimer *timTimer;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void choose(int index);
    void toolbar(const QString &key);
    void layOut();

    LinkTable links_;
    bool busy_ = false;
};
