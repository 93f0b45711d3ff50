// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpWindow.h"

#include "WindowGeometry.h"

#include <QFile>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("VEK Selector Help"));
    Guide = new QTextBrowser(this);
    Guide->setObjectName(QStringLiteral("Guide"));
    Guide->setAccessibleName(QStringLiteral("Player's guide"));
    Guide->setOpenExternalLinks(true);
    // The guide names its pictures as they lie beside it.
    Guide->setSearchPaths({QStringLiteral(":/docs")});
    Guide->setMarkdown(guide());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Guide);
    // Escape closes a side window, as it closes a dialog.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    resize(760, 640);
    WindowGeometry::fit(this);
}

QString HelpWindow::guide() {
    QFile file(QStringLiteral(":/docs/guide.md"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("# VEK Selector\n\nThe guide is missing from this build.");
    return QString::fromUtf8(file.readAll());
}
