// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadedPage.h"

#include "LoadedFiles.h"
#include "LoadedList.h"
#include "Selector.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
QScrollArea *scrolled(QLabel *label, QWidget *parent) {
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *scroll = new QScrollArea(parent);
    scroll->setWidget(label);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    return scroll;
}
} // namespace

LoadedPage::LoadedPage(Selector &selector, QWidget *parent) : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("What is loaded!"));
    Frame = new QGroupBox(QStringLiteral("Folders currently loaded"), this);
    Label8 = new QLabel;
    Label8->setObjectName(QStringLiteral("Label8"));
    auto *inner = new QVBoxLayout(Frame);
    inner->addWidget(scrolled(Label8, Frame));

    CheckLoadedFiles = new QPushButton(QStringLiteral("Check loaded files"), this);
    CheckLoadedFiles->setObjectName(QStringLiteral("CheckLoadedFiles"));
    CheckLoadedFiles->setToolTip(QStringLiteral("Looks for files of the loaded folders and skins "
                                                "that are missing from the game folder or differ "
                                                "from their source"));
    RepairLoadedFiles = new QPushButton(QStringLiteral("Repair"), this);
    RepairLoadedFiles->setObjectName(QStringLiteral("RepairLoadedFiles"));
    RepairLoadedFiles->setToolTip(
        QStringLiteral("Copies the files the check finds back from their folders"));
    CheckResult = new QLabel;
    CheckResult->setObjectName(QStringLiteral("CheckResult"));
    connect(CheckLoadedFiles, &QPushButton::clicked, this, [this] {
        selector_.loadedFiles().check();
        Q_EMIT changed();
    });
    connect(RepairLoadedFiles, &QPushButton::clicked, this, [this] {
        selector_.loadedFiles().repair();
        Q_EMIT changed();
    });

    CheckFrame = new QGroupBox(QStringLiteral("Files of the loaded folders and skins"), this);
    auto *checkLayout = new QVBoxLayout(CheckFrame);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CheckLoadedFiles);
    buttons->addWidget(RepairLoadedFiles);
    buttons->addStretch(1);
    checkLayout->addLayout(buttons);
    checkLayout->addWidget(scrolled(CheckResult, CheckFrame), 1);
    ConflictsFrame =
        new QGroupBox(QStringLiteral("Files more than one loaded folder carries"), this);
    Conflicts = new QTableWidget(0, 3, ConflictsFrame);
    Conflicts->setAccessibleName(QStringLiteral("Files more than one loaded folder carries"));
    Conflicts->setObjectName(QStringLiteral("Conflicts"));
    Conflicts->setHorizontalHeaderLabels({QStringLiteral("File"), QStringLiteral("In the game now"),
                                          QStringLiteral("Also carried by")});
    Conflicts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Conflicts->setSelectionBehavior(QAbstractItemView::SelectRows);
    Conflicts->verticalHeader()->hide();
    Conflicts->horizontalHeader()->setStretchLastSection(true);
    Conflicts->setToolTip(QStringLiteral("The folder loaded last wins; when it is unloaded, "
                                         "the file comes back from the next one"));
    auto *conflictsLayout = new QVBoxLayout(ConflictsFrame);
    conflictsLayout->addWidget(Conflicts);

    auto *top = new QHBoxLayout;
    top->addWidget(Frame, 1);
    top->addWidget(ConflictsFrame, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addWidget(CheckFrame, 2);
}

void LoadedPage::refresh() {
    QString text = selector_.loadedList().Label8();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Label8->setText(text);
    Label8->setVisible(!text.isEmpty());
    showConflicts();
    // A finding's three parts in columns of their own, so the lines read as a table.
    const LoadedFiles &files = selector_.loadedFiles();
    if (files.Findings.isEmpty()) {
        CheckResult->setTextFormat(Qt::PlainText);
        CheckResult->setText(files.CheckResult);
        return;
    }
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">");
    for (const QString &line : files.CheckResult.split(QLatin1Char('\n'))) {
        html += QStringLiteral("<tr>");
        for (const QString &cell : line.split(QLatin1Char('\t')))
            html += QStringLiteral("<td style=\"padding-right:16px\">%1</td>")
                        .arg(cell.toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    CheckResult->setTextFormat(Qt::RichText);
    CheckResult->setText(html + QStringLiteral("</table>"));
}

void LoadedPage::showConflicts() {
    const QStringList lines = selector_.loadedFiles().sharedFiles(false);
    Conflicts->setRowCount(int(lines.size()));
    for (int r = 0; r < lines.size(); ++r) {
        const QStringList cells = lines.at(r).split(QLatin1Char('\t'));
        for (int c = 0; c < 3; ++c)
            Conflicts->setItem(r, c, new QTableWidgetItem(cells.value(c)));
    }
    Conflicts->resizeColumnToContents(0);
    Conflicts->resizeColumnToContents(1);
    ConflictsFrame->setTitle(
        lines.isEmpty()
            ? QStringLiteral("No file is carried by more than one loaded folder")
            : QStringLiteral("Files more than one loaded folder carries: %1").arg(lines.size()));
}
