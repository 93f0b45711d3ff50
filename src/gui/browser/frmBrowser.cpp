// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmBrowser.h"

#include "Processes.h"

#include <QGuiApplication>
#include <QScreen>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QResizeEvent>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace {
// Room left beside and below the page, as the window has always kept it: 100 twips.
int margin(const QWidget *w) {
    return 100 * w->logicalDpiY() / 1440;
}
} // namespace

bool frmBrowser::canRun(QString *why) {
    const bool sandboxOff = !qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX") ||
                            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("--no-sandbox");
    if (Processes::runsAsRoot() && !sandboxOff) {
        if (why)
            *why = QStringLiteral(
                "The links and help browser cannot open for the root user: its web engine "
                "refuses to run so. Start the selector as an ordinary user to see the links.");
        return false;
    }
    return true;
}

frmBrowser::frmBrowser(const QString &modFolder, Prompt &prompt, QWidget *parent)
    : QWidget(parent), links_(modFolder, prompt) {
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowFlag(Qt::Window);
    // Escape closes a side window, as it closes a dialog.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    setAttribute(Qt::WA_DeleteOnClose);
    // At the top left corner, as wide and as high as the screen.
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    else
        resize(820, 600);

    tbToolBar = new QToolBar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    const QStyle::StandardPixmap icons[] = {
        QStyle::SP_ArrowBack,   QStyle::SP_ArrowForward,           QStyle::SP_BrowserReload,
        QStyle::SP_DirHomeIcon, QStyle::SP_FileDialogContentsView, QStyle::SP_BrowserStop};
    for (int i = 0; i < LinkTable::ToolbarKeys.size(); ++i) {
        const QString key = LinkTable::ToolbarKeys.at(i);
        QAction *a = tbToolBar->addAction(style()->standardIcon(icons[i]), key);
        a->setObjectName(key);
        connect(a, &QAction::triggered, this, [this, key] { toolbar(key); });
    }
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    picAddress = new QWidget(this);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    cboAddress = new QComboBox(picAddress);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setEditable(true);
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setMaxVisibleItems(LinkTable::MaxLinks + 1);
    cboAddress->lineEdit()->installEventFilter(this);
    auto *addressLayout = new QHBoxLayout(picAddress);
    addressLayout->setContentsMargins(margin(this) / 2, 0, margin(this) / 2, 0);
    addressLayout->addWidget(cboAddress);

    brwWebBrowser = new QWebEngineView(this);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));

    timTimer = new QTimer(this);
    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setInterval(200);

    connect(cboAddress, &QComboBox::activated, this, &frmBrowser::choose);
    connect(brwWebBrowser, &QWebEngineView::loadStarted, this, [this] { busy_ = true; });
    connect(brwWebBrowser, &QWebEngineView::loadFinished, this, [this](bool) {
        busy_ = false;
        links_.navigationComplete(brwWebBrowser->title(), brwWebBrowser->url().toString());
        refresh();
    });
    connect(brwWebBrowser, &QWebEngineView::titleChanged, this, [this](const QString &title) {
        links_.downloadComplete(title);
        refresh();
    });
    connect(timTimer, &QTimer::timeout, this, [this] {
        links_.timerTick(busy_, brwWebBrowser->title());
        refresh();
    });

    const QString start = links_.open();
    layOut();
    navigate(start);
    refresh();
}

void frmBrowser::navigate(const QString &address) {
    const QUrl url = links_.url(address);
    if (url.isEmpty())
        return;
    // A local page without an extension (the VEK folder's start page) is HTML; the page
    // component would otherwise show its source as text.
    if (url.isLocalFile() && QFileInfo(url.toLocalFile()).suffix().isEmpty()) {
        QFile page(url.toLocalFile());
        if (page.open(QIODevice::ReadOnly) && page.size() < 2 * 1024 * 1024) {
            brwWebBrowser->setContent(page.readAll(), QStringLiteral("text/html"), url);
            return;
        }
    }
    brwWebBrowser->load(url);
}

void frmBrowser::choose(int index) {
    const QString address = links_.choose(index);
    refresh();
    if (!address.isEmpty())
        navigate(address);
}

void frmBrowser::toolbar(const QString &key) {
    const LinkTable::Command command = links_.toolbar(key, brwWebBrowser->title());
    switch (command) {
    case LinkTable::Command::Back:
        brwWebBrowser->back();
        break;
    case LinkTable::Command::Forward:
        brwWebBrowser->forward();
        break;
    case LinkTable::Command::Refresh:
        brwWebBrowser->reload();
        break;
    case LinkTable::Command::Home:
        navigate(links_.startPage());
        break;
    case LinkTable::Command::Search:
        cboAddress->showPopup();
        break;
    case LinkTable::Command::Stop:
        brwWebBrowser->stop();
        break;
    case LinkTable::Command::None:
        break;
    }
    refresh();
}

bool frmBrowser::eventFilter(QObject *watched, QEvent *event) {
    if (watched == cboAddress->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter goes to the chosen entry, or to an address typed in.
            const int index = cboAddress->findText(cboAddress->currentText());
            if (index >= 0) {
                choose(index);
            } else {
                links_.TimerEnabled = true;
                navigate(cboAddress->currentText());
                refresh();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmBrowser::refresh() {
    setWindowTitle(links_.Caption);
    if (links_.TimerEnabled != timTimer->isActive())
        links_.TimerEnabled ? timTimer->start() : timTimer->stop();
    // The list is rebuilt only when its entries changed, so an open list keeps its place.
    QStringList texts;
    for (const LinkTable::Item &item : links_.items)
        texts << item.text;
    QStringList shown;
    for (int i = 0; i < cboAddress->count(); ++i)
        shown << cboAddress->itemText(i);
    const QSignalBlocker block(cboAddress);
    if (texts != shown) {
        cboAddress->clear();
        cboAddress->addItems(texts);
    }
    cboAddress->setCurrentIndex(links_.ListIndex);
    cboAddress->setEditText(links_.Text);
}

void frmBrowser::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    if (!isMinimized())
        layOut();
}

void frmBrowser::layOut() {
    // The toolbar, then the address list, then the page: as wide as the window less the
    // margin, and as high as what the address list leaves less the margin.
    const int m = margin(this);
    const int toolbarHeight = tbToolBar->sizeHint().height();
    tbToolBar->setGeometry(0, 0, width(), toolbarHeight);
    picAddress->setGeometry(0, toolbarHeight, width(), cboAddress->sizeHint().height() + 4);
    const int top = picAddress->y() + picAddress->height();
    brwWebBrowser->setGeometry(m / 2, top, qMax(0, width() - m), qMax(0, height() - top - m));
}
