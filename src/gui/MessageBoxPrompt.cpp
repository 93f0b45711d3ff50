// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxPrompt.h"

#include "SharedListing.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>

#include <algorithm>

bool MessageBoxPrompt::message(const QString &title, const QString &text, Icon icon,
                               Buttons buttons) {
    return show(title, text, icon, buttons, false);
}

bool MessageBoxPrompt::askCancelFirst(const QString &title, const QString &text, Icon icon) {
    return show(title, text, icon, Buttons::OkCancel, true);
}

bool MessageBoxPrompt::show(const QString &title, const QString &text, Icon icon, Buttons buttons,
                            bool cancelFirst) {
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(body);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    // The window system cuts a title wider than the box: the box is made as wide as its title
    // and the title bar's buttons need.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        const int wanted = box.fontMetrics().horizontalAdvance(title) + 160;
        const QScreen *screen = box.screen();
        grid->addItem(
            new QSpacerItem(screen ? std::min(wanted, screen->availableGeometry().width()) : wanted,
                            0, QSizePolicy::Minimum, QSizePolicy::Fixed),
            grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (buttons == Buttons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        if (cancelFirst)
            box.setDefaultButton(QMessageBox::Cancel);
    } else
        box.setStandardButtons(QMessageBox::Ok);
    const bool ok = box.exec() == QMessageBox::Ok;
    // While the box was up the player may have changed the folders by hand (put a file back,
    // as a message asked): what the start listed before is read again.
    SharedListing::drop();
    return ok;
}
