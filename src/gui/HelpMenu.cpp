// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpMenu.h"

#include "HelpWindow.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>

HelpMenu::HelpMenu(QWidget *window, QWidget *parent)
    : QPushButton(QStringLiteral("?"), parent), window_(window) {
    setObjectName(QStringLiteral("HelpButton"));
    setAccessibleName(QStringLiteral("Help and About"));
    setToolTip(QStringLiteral("Help and About"));
    // As narrow as its mark: a button's usual least width would crowd the page tabs.
    setFixedWidth(fontMetrics().horizontalAdvance(text()) +
                  style()->pixelMetric(QStyle::PM_MenuButtonIndicator) +
                  4 * style()->pixelMetric(QStyle::PM_ButtonMargin));
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("HelpMenu"));
    HelpAction = menu->addAction(QStringLiteral("&Help"), this, &HelpMenu::openHelp);
    HelpAction->setShortcut(QKeySequence(Qt::Key_F1));
    // The menu only shows F1; the key itself works from every window, the menu shut.
    HelpAction->setShortcutContext(Qt::WidgetShortcut);
    AboutAction = menu->addAction(QStringLiteral("&About"), this, &HelpMenu::openAbout);
    setMenu(menu);
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    f1->setObjectName(QStringLiteral("HelpKey"));
    f1->setContext(Qt::ApplicationShortcut);
    connect(f1, &QShortcut::activated, this, &HelpMenu::openHelp);
}

void HelpMenu::openHelp() {
    if (!help_)
        help_ = new HelpWindow(window_);
    help_->show();
    help_->raise();
    help_->activateWindow();
    help_->Guide->setFocus();
}

void HelpMenu::openAbout() {
    QMessageBox::about(window_, QStringLiteral("About VEK Selector"), aboutText());
}

QString HelpMenu::aboutText() {
    return QStringLiteral("<h3>VEK Selector %1</h3>"
                          "<p>Puts add-on content from a VEK folder into the game folder of "
                          "EAW, takes it out again and starts the game.</p>"
                          "<p>Licence: GNU General Public License, version 3 or later "
                          "(GPL-3.0-or-later). There is no warranty.</p>"
                          "<p>Runs on Qt %2.</p>")
        .arg(QStringLiteral(VEK_VERSION), QString::fromLatin1(qVersion()));
}
