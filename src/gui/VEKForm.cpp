// SPDX-License-Identifier: GPL-3.0-or-later
#include "VEKForm.h"
#include "OperationJournal.h"

#include "Airgrid.h"
#include "AutoscriptsPage.h"
#include "FileList.h"
#include "FolderLine.h"
#include "FuelPage.h"
#include "GeneralPage.h"
#include "HelpMenu.h"
#include "History.h"
#include "HistoryWindow.h"
#include "ImportArchive.h"
#include "LoadFilesPage.h"
#include "LoadedPage.h"
#include "Niteform.h"
#include "PlanesSkinsPage.h"
#include "ProgressWindow.h"
#include "Prompt.h"
#include "SRForm.h"
#include "Selector.h"
#include "WindowGeometry.h"
#include "WindowHistory.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

VEKForm::VEKForm(Selector &selector, QWidget *parent) : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("VEKForm"));
    showCaption(selector.caption());
    resize(1000, 700);
    setAcceptDrops(true);

    SSTab1 = new QTabWidget(this);
    SSTab1->setAccessibleName(QStringLiteral("Pages"));
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    general = new GeneralPage(selector, SSTab1);
    loadFiles = new LoadFilesPage(selector, SSTab1);
    planesSkins = new PlanesSkinsPage(selector, SSTab1);
    loaded = new LoadedPage(selector, SSTab1);
    autoscripts = new AutoscriptsPage(selector, SSTab1);
    fuel = new FuelPage(selector, SSTab1);
    const QList<QWidget *> pages = {general, loadFiles, planesSkins, loaded, autoscripts, fuel};
    for (int i = 0; i < pages.size(); ++i)
        SSTab1->addTab(pages.at(i), Selector::Pages.at(i));

    auto *corner = new QWidget(SSTab1);
    EditStrings = new QPushButton(QStringLiteral("Edit Pnames.str"), corner);
    EditStrings->setObjectName(QStringLiteral("EditStrings"));
    UndoButton = new QPushButton(QStringLiteral("Undo"), corner);
    UndoButton->setObjectName(QStringLiteral("UndoButton"));
    UndoButton->setAccessibleName(QStringLiteral("Undo the latest change"));
    UndoButton->setToolTip(
        QStringLiteral("Takes back the latest change (%1)")
            .arg(QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText)));
    HistoryButton = new QPushButton(QStringLiteral("History..."), corner);
    HistoryButton->setObjectName(QStringLiteral("HistoryButton"));
    HistoryButton->setAccessibleName(QStringLiteral("History of changes"));
    HistoryButton->setToolTip(
        QStringLiteral("Every change, and going back to any of them (%1)")
            .arg(QKeySequence(Qt::CTRL | Qt::Key_H).toString(QKeySequence::NativeText)));
    auto *cornerLayout = new QHBoxLayout(corner);
    cornerLayout->setContentsMargins(0, 0, 0, 0);
    cornerLayout->addWidget(UndoButton);
    cornerLayout->addWidget(HistoryButton);
    cornerLayout->addWidget(EditStrings);
    HelpButton = new HelpMenu(this, corner);
    cornerLayout->addWidget(HelpButton);
    SSTab1->setCornerWidget(corner, Qt::TopRightCorner);
    windowHistory_ = new WindowHistory(selector, this);

    // A folder copied into the VEK folder shows up without a restart; a burst of changes is
    // read once, a moment after the last.
    watcher_ = new QFileSystemWatcher(this);
    rescanTimer_ = new QTimer(this);
    rescanTimer_->setSingleShot(true);
    rescanTimer_->setInterval(300);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, rescanTimer_,
            qOverload<>(&QTimer::start));
    connect(rescanTimer_, &QTimer::timeout, this, &VEKForm::rescanFolders);

    StatusLine = new QLabel(this);
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    StatusLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    StatusLine->setWordWrap(true); // a long line must not widen the window
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addWidget(StatusLine);
    folderLine = new FolderLine(selector.GameFolder(), selector.ModFolder(), this);
    layout->addWidget(folderLine);
    // A screen too small for the pages (a small monitor, a large scale) scrolls them.
    WindowGeometry::scrollWhenSmall(this);

    progress = new ProgressWindow(selector, this);
    // The file a move is on, at the pace the dialog keeps.
    connect(progress, &ProgressWindow::captionDue, this, &VEKForm::showCaption);

    // The engine's page is the page shown: the player's choice of tab is recorded there, and
    // only a whole refresh (after the load sequence) turns to the engine's page. An action
    // never does: turning the page can move the focus onto a list that acts at once (the
    // script list shows its first script), before this records the new page.
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0)
            selector_.turnToPage(index);
    });
    // Ctrl+Tab and Ctrl+Shift+Tab move between pages from anywhere in the window, also
    // from inside a grid or a list that would otherwise keep the key.
    auto *next = new QShortcut(this);
    next->setKeys({QKeySequence(Qt::CTRL | Qt::Key_Tab)});
    connect(next, &QShortcut::activated, this, [this] { turnPage(1); });
    auto *previous = new QShortcut(this);
    previous->setKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)});
    connect(previous, &QShortcut::activated, this, [this] { turnPage(-1); });
    // Ctrl+Q does what "Exit" does (it may ask, and be cancelled).
    auto *quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    quit->setObjectName(QStringLiteral("ExitKey"));
    connect(quit, &QShortcut::activated, this, &VEKForm::exitRequested);

    // A title reaches the window system at once, also while an operation keeps this thread
    // busy; painting the whole window for it would cost more than the files it names.
    connect(&selector, &Selector::captionChanged, this, &VEKForm::showCaption);
    connect(&selector, &Selector::centreRequested, this, &VEKForm::centre);
    connect(&selector, &Selector::minimiseRequested, this, &QWidget::showMinimized);
    // Maximised or full screen stays so; only the minimised state goes.
    connect(&selector, &Selector::restoreRequested, this, [this] {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        raise();
        activateWindow();
    });
    // The engine says what an operation may change; once the page's action returns, only
    // that is shown again (a fuel click does not refill a load grid of 10,000 rows).
    connect(&selector, &Selector::changed, this, [this](Changes what) { pending_ |= what; });
    connect(general, &GeneralPage::changed, this, &VEKForm::showChanges);
    connect(loadFiles, &LoadFilesPage::changed, this, &VEKForm::showChanges);
    connect(planesSkins, &PlanesSkinsPage::changed, this, &VEKForm::showChanges);
    connect(fuel, &FuelPage::changed, this, &VEKForm::showChanges);
    connect(autoscripts, &AutoscriptsPage::changed, this, &VEKForm::showChanges);
    connect(loaded, &LoadedPage::changed, this, &VEKForm::showChanges);
    connect(general, &GeneralPage::exitRequested, this, &VEKForm::exitRequested);
    connect(general, &GeneralPage::newVekDirectoryRequested, this,
            &VEKForm::newVekDirectoryRequested);
    connect(general, &GeneralPage::linksRequested, this, [this] {
        Q_EMIT linksRequested();
        // Whoever opens the browser makes it a child of this window; each click places it
        // again at the top left corner, as large as the screen, wherever it was moved since.
        if (auto *browser =
                findChild<QWidget *>(QStringLiteral("frmBrowser"), Qt::FindDirectChildrenOnly);
            browser && browser->isWindow()) {
            const QScreen *screen =
                this->screen() ? this->screen() : QGuiApplication::primaryScreen();
            if (screen) {
                browser->showNormal();
                browser->setGeometry(screen->geometry());
            }
        }
    });
    connect(general, &GeneralPage::editPlanesRequested, this, &VEKForm::openAirgrid);
    connect(EditStrings, &QPushButton::clicked, this, &VEKForm::openStringEditor);

    // Undo and the history from any page and any side window (the string editor, the
    // planes.dat editor, the night switch, the history itself); a box waiting for an answer
    // holds them back: the keys do not reach a window a modal box blocks, and the history does
    // nothing under one.
    auto *undo = new QShortcut(QKeySequence::Undo, this);
    undo->setContext(Qt::ApplicationShortcut);
    undo->setObjectName(QStringLiteral("UndoKey"));
    connect(undo, &QShortcut::activated, windowHistory_, &WindowHistory::undo);
    connect(UndoButton, &QPushButton::clicked, windowHistory_, &WindowHistory::undo);
    auto *history = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this);
    history->setContext(Qt::ApplicationShortcut);
    history->setObjectName(QStringLiteral("HistoryKey"));
    connect(history, &QShortcut::activated, this, &VEKForm::openHistory);
    connect(HistoryButton, &QPushButton::clicked, this, &VEKForm::openHistory);
    connect(windowHistory_, &WindowHistory::wentBack, this, &VEKForm::showAll);
    connect(windowHistory_, &WindowHistory::recorded, this, [this] {
        if (historyWindow_ && historyWindow_->isVisible())
            historyWindow_->refresh();
    });
}

void VEKForm::openHistory() {
    if (!historyWindow_) {
        historyWindow_ = new HistoryWindow(selector_.history(), this);
        historyWindow_->setWindowFlag(Qt::Window);
        connect(historyWindow_, &HistoryWindow::goBackRequested, windowHistory_,
                &WindowHistory::back);
    }
    historyWindow_->refresh();
    historyWindow_->show();
    historyWindow_->raise();
    historyWindow_->activateWindow();
    historyWindow_->HistoryList->setFocus();
}

void VEKForm::showAll() {
    pending_ = Change::Everything;
    showChanges();
    if (airgrid_)
        airgrid_->reread();
    if (srForm_)
        srForm_->reread();
    if (general->niteform)
        general->niteform->refresh();
    if (historyWindow_)
        historyWindow_->refresh();
}

void VEKForm::openAirgrid() {
    // The editor has nothing to show without the game's planes.dat.
    if (FileList::find(selector_.GameFolder(), QStringLiteral("planes.dat")).isEmpty()) {
        selector_.prompt().fail(
            QStringLiteral("The game folder \"%1\" has no planes.dat: there is no aircraft record "
                           "to edit.")
                .arg(QDir::toNativeSeparators(selector_.GameFolder())));
        return;
    }
    if (!airgrid_)
        airgrid_ = new Airgrid(selector_, this);
    airgrid_->show();
    airgrid_->raise();
    airgrid_->activateWindow();
}

void VEKForm::openStringEditor() {
    if (!srForm_)
        srForm_ = new SRForm(selector_, this);
    srForm_->show();
    srForm_->raise();
    srForm_->activateWindow();
}

void VEKForm::centre() {
    // Where the player left the window last time, else centred; on the screen either way.
    WindowGeometry::place(this);
}

void VEKForm::turnPage(int step) {
    const int count = SSTab1->count();
    SSTab1->setCurrentIndex((SSTab1->currentIndex() + step + count) % count);
}

void VEKForm::closeEvent(QCloseEvent *event) {
    if (closing_) {
        WindowGeometry::keep(this);
        event->accept();
        return;
    }
    // The owner decides (the exit procedure may be cancelled) and closes us itself.
    event->ignore();
    Q_EMIT exitRequested();
}

void VEKForm::load() {
    selector_.load();
    watchFolders();
    refresh();
}

void VEKForm::watchFolders() {
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
    QStringList folders{selector_.ModFolder()};
    if (QFileInfo(selector_.skinFolder()).isDir())
        folders << selector_.skinFolder();
    watcher_->addPaths(folders);
}

void VEKForm::rescanFolders() {
    // Rows never change under a click: an operation or a message under way puts the look off.
    if (QApplication::activeModalWidget() || selector_.journal().underWay()) {
        rescanTimer_->start();
        return;
    }
    selector_.rescan();
    // A skin folder made since: watched from now on.
    watchFolders();
    showChanges();
}

void VEKForm::showCaption(const QString &caption) {
    setWindowTitle(FolderLine::title(caption, selector_.GameFolder()));
}

void VEKForm::refresh() {
    pending_ = Change::Everything;
    showChanges();
    if (selector_.CurrentPage >= 0)
        SSTab1->setCurrentIndex(selector_.CurrentPage);
}

void VEKForm::showChanges() {
    const Changes what = std::exchange(pending_, Changes());
    showCaption(selector_.caption());
    if (what.testFlag(Change::Status))
        StatusLine->setText(selector_.Status);
    if (what.testFlag(Change::Options))
        general->refresh();
    // The click preview follows the game folder, so it is worked out again after any load.
    if (what & (Change::LoadGrid | Change::Ledger))
        loadFiles->refresh(what);
    planesSkins->refresh(what);
    if (what.testFlag(Change::Ledger))
        loaded->refresh();
    if (what.testFlag(Change::Autoscripts))
        autoscripts->refresh();
    if (what.testFlag(Change::Fuel))
        fuel->refresh();
}

namespace {
/// The archives and folders among what a drag carries.
QStringList droppedArchives(const QMimeData *data) {
    QStringList archives;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile() &&
            (ImportArchive::isArchiveName(url.fileName()) || QFileInfo(url.toLocalFile()).isDir()))
            archives << url.toLocalFile();
    return archives;
}
} // namespace

void VEKForm::dragEnterEvent(QDragEnterEvent *event) {
    if (!droppedArchives(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void VEKForm::dropEvent(QDropEvent *event) {
    const QStringList archives = droppedArchives(event->mimeData());
    if (archives.isEmpty())
        return;
    event->acceptProposedAction();
    // The new rows are shown where they are: on the page "Load Files".
    SSTab1->setCurrentWidget(loadFiles);
    for (const QString &archive : archives)
        loadFiles->addContent(archive);
}
