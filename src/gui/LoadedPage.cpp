// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadedPage.h"

#include "LoadedFiles.h"
#include "LoadedList.h"
#include "Selector.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QTreeWidget>
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
    Conflicts->setContextMenuPolicy(Qt::DefaultContextMenu);
    Conflicts->installEventFilter(this);
    MakeWin = new QPushButton(QStringLiteral("Make this one win"), ConflictsFrame);
    MakeWin->setObjectName(QStringLiteral("MakeWin"));
    MakeWin->setToolTip(QStringLiteral("Moves a folder that also carries the chosen file to just "
                                       "after the one it is in the game from now"));
    MakeLose = new QPushButton(QStringLiteral("Make this one lose"), ConflictsFrame);
    MakeLose->setObjectName(QStringLiteral("MakeLose"));
    MakeLose->setToolTip(QStringLiteral("Moves the folder the chosen file is in the game from to "
                                        "just before the next one that carries it"));
    connect(MakeWin, &QPushButton::clicked, this, [this] { makeWinOrLose(true); });
    connect(MakeLose, &QPushButton::clicked, this, [this] { makeWinOrLose(false); });
    auto *conflictsLayout = new QVBoxLayout(ConflictsFrame);
    conflictsLayout->addWidget(Conflicts);
    auto *make = new QHBoxLayout;
    make->addWidget(MakeWin);
    make->addWidget(MakeLose);
    make->addStretch(1);
    conflictsLayout->addLayout(make);

    OrderFrame = new QGroupBox(QStringLiteral("Load order: the last one wins"), this);
    Order = new QTreeWidget(OrderFrame);
    Order->setObjectName(QStringLiteral("Order"));
    Order->setAccessibleName(QStringLiteral("Load order"));
    Order->setAccessibleDescription(
        QStringLiteral("Alt+Up and Alt+Down move the chosen folder or skin"));
    Order->setToolTip(QStringLiteral("Drag a folder or skin, or press Alt+Up or Alt+Down, to "
                                     "move it: the one lower in the list wins a file both carry"));
    Order->setHeaderLabels(
        {QStringLiteral("Folder or skin"), QStringLiteral("Wins"), QStringLiteral("Loses")});
    Order->setRootIsDecorated(false);
    Order->setSelectionMode(QAbstractItemView::SingleSelection);
    Order->setDragEnabled(true);
    Order->setAcceptDrops(true);
    Order->setDropIndicatorShown(true);
    Order->setDragDropMode(QAbstractItemView::InternalMove);
    Order->installEventFilter(this);
    Order->viewport()->installEventFilter(this);
    auto *orderLayout = new QVBoxLayout(OrderFrame);
    orderLayout->addWidget(Order);

    auto *left = new QVBoxLayout;
    left->addWidget(OrderFrame, 3);
    left->addWidget(Frame, 2);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
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
    showOrder();
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

void LoadedPage::showOrder() {
    const QString current =
        Order->currentItem() ? Order->currentItem()->data(0, Qt::UserRole).toString() : QString();
    const QList<LoadOrder::Row> rows = selector_.loadOrder().rows();
    Order->clear();
    for (const LoadOrder::Row &r : rows) {
        auto *item =
            new QTreeWidgetItem(Order, {r.skin ? r.name + QStringLiteral(" (skin)") : r.name,
                                        QString::number(r.wins), QString::number(r.loses)});
        item->setData(0, Qt::UserRole, r.name);
        // A drop on a row is a move before or after it (by the half it lands on), never a child.
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
                       Qt::ItemIsDropEnabled);
        item->setToolTip(0, r.skin ? QStringLiteral("A skin") : QStringLiteral("A content folder"));
        item->setData(0, Qt::AccessibleTextRole,
                      QStringLiteral("%1 %2: wins %3, loses %4")
                          .arg(r.skin ? QStringLiteral("skin") : QStringLiteral("folder"), r.name)
                          .arg(r.wins)
                          .arg(r.loses));
        if (r.name == current)
            Order->setCurrentItem(item);
    }
    for (int c = 0; c < Order->columnCount(); ++c)
        Order->resizeColumnToContents(c);
    OrderFrame->setTitle(rows.isEmpty() ? QStringLiteral("Load order: nothing is loaded")
                                        : QStringLiteral("Load order: the last one wins"));
}

QStringList LoadedPage::orderShown() const {
    QStringList names;
    for (int i = 0; i < Order->topLevelItemCount(); ++i)
        names << Order->topLevelItem(i)->data(0, Qt::UserRole).toString();
    return names;
}

void LoadedPage::moveRow(int row, LoadOrder::Place place, const QString &other) {
    QTreeWidgetItem *item = Order->topLevelItem(row);
    if (!item)
        return;
    const QString name = item->data(0, Qt::UserRole).toString();
    selector_.loadOrder().move(name, place, other);
    Q_EMIT changed();
    // The moved entry stays the chosen one, so a second Alt+Up moves it on.
    const int at = int(orderShown().indexOf(name));
    if (at >= 0)
        Order->setCurrentItem(Order->topLevelItem(at));
}

QMenu *LoadedPage::choicesFor(int row, bool win, bool lose, QWidget *parent) {
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("MakeChoices"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (!Conflicts->item(row, 0))
        return menu;
    const QString file = Conflicts->item(row, 0)->text();
    const QString owner = Conflicts->item(row, 1)->text();
    const QString others =
        QStringLiteral(", ") + Conflicts->item(row, 2)->text() + QStringLiteral(", ");
    // The carriers by the load order's names, so a name with a comma in it stays whole.
    for (const LoadOrder::Row &r : selector_.loadOrder().rows()) {
        if (!win || !others.contains(QStringLiteral(", ") + r.name + QStringLiteral(", ")))
            continue;
        const QString name = r.name;
        menu->addAction(QStringLiteral("Make \"%1\" win").arg(name), this, [this, file, name] {
            selector_.loadOrder().makeWin(file, name);
            Q_EMIT changed();
        });
    }
    if (lose)
        menu->addAction(QStringLiteral("Make \"%1\" lose").arg(owner), this, [this, file, owner] {
            selector_.loadOrder().makeLose(file, owner);
            Q_EMIT changed();
        });
    return menu;
}

void LoadedPage::makeWinOrLose(bool win) {
    const int row = Conflicts->currentRow();
    if (row < 0) {
        selector_.setStatus(QStringLiteral("Choose a file in \"Files more than one loaded folder "
                                           "carries\" first."));
        Q_EMIT changed();
        return;
    }
    QMenu *menu = choicesFor(row, win, !win, this);
    // One way to do it: done at once; several (other carriers): the player picks one.
    if (menu->actions().size() == 1) {
        menu->actions().first()->trigger();
        menu->deleteLater();
        return;
    }
    QPushButton *button = win ? MakeWin : MakeLose;
    menu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void LoadedPage::dropAt(const QPoint &at) {
    const int row = Order->currentItem() ? Order->indexOfTopLevelItem(Order->currentItem()) : -1;
    QTreeWidgetItem *target = Order->itemAt(at);
    if (row < 0 || target == Order->topLevelItem(row))
        return;
    if (!target)
        moveRow(row, LoadOrder::Place::Last, QString());
    else
        moveRow(row,
                at.y() < Order->visualItemRect(target).center().y() ? LoadOrder::Place::Before
                                                                    : LoadOrder::Place::After,
                target->data(0, Qt::UserRole).toString());
}

bool LoadedPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Order && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int row =
            Order->currentItem() ? Order->indexOfTopLevelItem(Order->currentItem()) : -1;
        const bool up = key->key() == Qt::Key_Up, down = key->key() == Qt::Key_Down;
        if (key->modifiers() == Qt::AltModifier && (up || down) && row >= 0) {
            const int next = up ? row - 1 : row + 1;
            if (next >= 0 && next < Order->topLevelItemCount())
                moveRow(row, up ? LoadOrder::Place::Before : LoadOrder::Place::After,
                        Order->topLevelItem(next)->data(0, Qt::UserRole).toString());
            return true;
        }
    }
    if (watched == Order->viewport() && event->type() == QEvent::Drop) {
        // The engine moves the entry; the list is then shown again from the engine's order,
        // never rearranged by the view itself.
        auto *drop = static_cast<QDropEvent *>(event);
        if (drop->source() != Order && !drop->mimeData()->hasFormat(QStringLiteral(
                                           "application/x-qabstractitemmodeldatalist")))
            return true;
        drop->setDropAction(Qt::IgnoreAction);
        drop->accept();
        dropAt(drop->position().toPoint());
        return true;
    }
    if (watched == Conflicts && event->type() == QEvent::KeyPress) {
        // The context-menu keys open the row's menu under the row.
        const auto *key = static_cast<QKeyEvent *>(event);
        const int row = Conflicts->currentRow();
        if ((key->key() == Qt::Key_Menu ||
             (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) &&
            row >= 0) {
            const QRect cell = Conflicts->visualRect(Conflicts->model()->index(row, 0));
            choicesFor(row, true, true, this)
                ->popup(Conflicts->viewport()->mapToGlobal(cell.bottomLeft()));
            return true;
        }
    }
    if (watched == Conflicts && event->type() == QEvent::ContextMenu) {
        const auto *context = static_cast<QContextMenuEvent *>(event);
        int row = Conflicts->currentRow();
        if (context->reason() == QContextMenuEvent::Mouse)
            row = Conflicts->rowAt(Conflicts->viewport()->mapFrom(Conflicts, context->pos()).y());
        if (row < 0)
            return true;
        Conflicts->selectRow(row);
        choicesFor(row, true, true, this)->popup(context->globalPos());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
