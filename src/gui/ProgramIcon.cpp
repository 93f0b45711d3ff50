// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramIcon.h"

#include <QApplication>

QIcon ProgramIcon::icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(
            QStringLiteral(":/data/icons/hicolor/%1x%1/apps/org.vekselector.vekselector.png")
                .arg(size),
            QSize(size, size));
    return icon;
}

void ProgramIcon::install() {
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(icon());
}
