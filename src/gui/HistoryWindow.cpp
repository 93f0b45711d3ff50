// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryWindow.h"

#include "History.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int EntryRole = Qt::UserRole;
constexpr int ReachableRole = Qt::UserRole + 1;
const QString Unreachable = QStringLiteral(" (can no longer be returned to");
} // namespace

HistoryWindow::HistoryWindow(History &history, QWidget *parent)
    : QDialog(parent), history_(history) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("History of changes"));
    resize(720, 420);

    auto *intro = new QLabel(QStringLiteral("Every change, newest at the top. Select one and "
                                            "press Enter or \"Go back to here\" to bring the "
                                            "game folder back to the state right after it; "
                                            "going back is itself a change, so Ctrl+Z takes "
                                            "it back."),
                             this);
    intro->setWordWrap(true);

    HistoryList = new QTreeWidget(this);
    HistoryList->setObjectName(QStringLiteral("HistoryList"));
    HistoryList->setAccessibleName(QStringLiteral("History of changes, newest first"));
    HistoryList->setRootIsDecorated(false);
    HistoryList->setUniformRowHeights(true);
    HistoryList->setAllColumnsShowFocus(true);
    HistoryList->setHeaderLabels(
        {QStringLiteral("No."), QStringLiteral("Time"), QStringLiteral("What it did")});
    HistoryList->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    HistoryList->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    HistoryList->header()->setStretchLastSection(true);
    HistoryList->installEventFilter(this);
    intro->setBuddy(HistoryList);

    Now = new QLabel(this);
    Now->setObjectName(QStringLiteral("Now"));
    Now->setWordWrap(true);

    GoBack = new QPushButton(QStringLiteral("&Go back to here"), this);
    GoBack->setObjectName(QStringLiteral("GoBack"));
    GoBack->setAccessibleName(QStringLiteral("Go back to the selected entry"));
    GoBack->setAutoDefault(false);
    Done = new QPushButton(QStringLiteral("Close"), this);
    Done->setObjectName(QStringLiteral("Done"));
    Done->setAccessibleName(QStringLiteral("Close the history"));
    Done->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Now, 1);
    buttons->addWidget(GoBack);
    buttons->addWidget(Done);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(HistoryList, 1);
    layout->addLayout(buttons);

    connect(GoBack, &QPushButton::clicked, this, &HistoryWindow::goBack);
    connect(Done, &QPushButton::clicked, this, &QDialog::close);
    connect(HistoryList, &QTreeWidget::currentItemChanged, this, &HistoryWindow::selectionMoved);
    refresh();
}

int HistoryWindow::entryAt(int row) const {
    const QTreeWidgetItem *item = HistoryList->topLevelItem(row);
    return item ? item->data(0, EntryRole).toInt() : -1;
}

void HistoryWindow::refresh() {
    const QTreeWidgetItem *was = HistoryList->currentItem();
    const int selected = was ? was->data(0, EntryRole).toInt() : -1;
    const QStringList lines = history_.lines();
    const int now = history_.current();
    // Rebuilt only when the history moved: a rebuild under a pressed button would let the
    // press go (the button is disabled for a moment).
    if (lines == shownLines_ && now == shownNow_)
        return;
    shownLines_ = lines;
    shownNow_ = now;
    const QSignalBlocker quiet(HistoryList);
    // A going back cannot pass an entry whose bytes are gone: every entry before the newest
    // of those is out of reach too.
    int barrier = -1;
    for (const QString &line : lines)
        if (line.contains(Unreachable))
            barrier = std::max(barrier, line.section(QLatin1Char('\t'), 0, 0).toInt());
    const QBrush greyed = palette().brush(QPalette::Disabled, QPalette::Text);
    HistoryList->clear();
    QTreeWidgetItem *current = nullptr;
    QTreeWidgetItem *state = nullptr;
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const int number = line->section(QLatin1Char('\t'), 0, 0).toInt();
        const QDateTime time = QDateTime::fromString(line->section(QLatin1Char('\t'), 1, 1),
                                                     QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QString what = line->section(QLatin1Char('\t'), 2);
        auto *item = new QTreeWidgetItem(
            HistoryList,
            {QString::number(number),
             time.isValid() ? QLocale().toString(time, QLocale::ShortFormat) : QString(), what});
        const bool reachable = number >= barrier;
        item->setData(0, EntryRole, number);
        item->setData(0, ReachableRole, reachable);
        if (!reachable) {
            for (int c = 0; c < 3; ++c)
                item->setForeground(c, greyed);
            item->setToolTip(2, QStringLiteral("Can no longer be returned to: a later entry's "
                                               "kept bytes are gone."));
        }
        if (number == now) {
            QFont bold = item->font(2);
            bold.setBold(true);
            for (int c = 0; c < 3; ++c)
                item->setFont(c, bold);
        }
        if (number == selected)
            current = item;
        if (number == now)
            state = item;
    }
    if (current || state)
        HistoryList->setCurrentItem(current ? current : state);
    Now->setText(QStringLiteral("The game folder is as right after entry %1.").arg(now));
    selectionMoved();
}

void HistoryWindow::selectionMoved() {
    const QTreeWidgetItem *item = HistoryList->currentItem();
    GoBack->setEnabled(item && item->data(0, ReachableRole).toBool());
}

void HistoryWindow::goBack() {
    const QTreeWidgetItem *item = HistoryList->currentItem();
    if (item && item->data(0, ReachableRole).toBool())
        Q_EMIT goBackRequested(item->data(0, EntryRole).toInt());
}

bool HistoryWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == HistoryList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            goBack();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
