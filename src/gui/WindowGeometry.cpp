// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowGeometry.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStandardPaths>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <limits>

namespace {
QString settingsFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("vekselector/vekselector.conf"));
}

QString key(const QWidget *window) {
    return QStringLiteral("Windows/%1/geometry").arg(window->objectName());
}

/// The screen whose available area holds most of `frame`, else the one nearest to it.
QScreen *screenFor(const QRect &frame) {
    QScreen *best = nullptr;
    qint64 bestArea = -1, bestDistance = std::numeric_limits<qint64>::max();
    for (QScreen *screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        const QRect common = area & frame;
        const qint64 overlap = common.isEmpty() ? 0 : qint64(common.width()) * common.height();
        const qint64 distance = (area.center() - frame.center()).manhattanLength();
        if (overlap > bestArea ||
            (overlap == bestArea && overlap == 0 && distance < bestDistance)) {
            best = screen;
            bestArea = overlap;
            bestDistance = distance;
        }
    }
    return best ? best : QGuiApplication::primaryScreen();
}

/// What the window system adds around the window; before the window is first shown it is not
/// known yet, and a title bar's height is reserved.
QMargins frameMargins(const QWidget *window) {
    if (window->isVisible() && window->windowHandle())
        return window->windowHandle()->frameMargins();
    return {0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0};
}

/// Keeps the focused control of `area`'s contents in view.
void showFocused(QScrollArea *area, QWidget *focused) {
    if (!focused || !area->widget() || !area->widget()->isAncestorOf(focused))
        return;
    if (auto *bar = qobject_cast<QTabBar *>(focused); bar && bar->currentIndex() >= 0) {
        // The whole bar may be wider than the window: the tab the arrow keys are on counts.
        const QRect tab = bar->tabRect(bar->currentIndex());
        const QPoint centre = bar->mapTo(area->widget(), tab.center());
        area->ensureVisible(centre.x(), centre.y(), tab.width() / 2 + 8, tab.height() / 2 + 8);
        return;
    }
    area->ensureWidgetVisible(focused);
}
/// The window system tells a window's frame only once it is on the screen: until the frame is
/// known, each show, move and resize fits the window again.
class FitOnceFramed : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize)
            return false;
        auto *window = static_cast<QWidget *>(watched);
        if (window->isVisible() && window->windowHandle()) {
            WindowGeometry::fit(window);
            if (!window->windowHandle()->frameMargins().isNull()) {
                window->removeEventFilter(this);
                deleteLater();
            }
        }
        return false;
    }
};
} // namespace

void WindowGeometry::scrollWhenSmall(QWidget *window) {
    auto *area = new QScrollArea(window);
    area->setObjectName(QStringLiteral("WindowScroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    // The scroll area is no stop of its own for the Tab key.
    area->setFocusPolicy(Qt::NoFocus);
    auto *contents = new QWidget(area);
    contents->setObjectName(QStringLiteral("WindowContents"));
    // Takes the layout off the window, with the controls in it.
    contents->setLayout(window->layout());
    area->setWidget(contents);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);
    QObject::connect(qApp, &QApplication::focusChanged, area,
                     [area](QWidget *, QWidget *now) { showFocused(area, now); });
    for (QTabBar *bar : contents->findChildren<QTabBar *>()) {
        // A narrow window shows the bar's scroll arrows; the arrow keys on the bar do what
        // they do, so they are no stops of the Tab key (nor controls a screen reader cannot name).
        for (QWidget *arrow : bar->findChildren<QToolButton *>())
            arrow->setFocusPolicy(Qt::NoFocus);
        QObject::connect(bar, &QTabBar::currentChanged, area, [area, bar] {
            if (bar->hasFocus())
                showFocused(area, bar);
        });
    }
}

void WindowGeometry::place(QWidget *window) {
    if (!window->property("vekFitOnceFramed").toBool()) {
        window->setProperty("vekFitOnceFramed", true);
        window->installEventFilter(new FitOnceFramed(window));
    }
    const QByteArray kept =
        QSettings(settingsFile(), QSettings::IniFormat).value(key(window)).toByteArray();
    if (!kept.isEmpty() && window->restoreGeometry(kept)) {
        fit(window);
        return;
    }
    fit(window);
    const QRect area = screenFor(window->frameGeometry())->availableGeometry();
    const QMargins margins = frameMargins(window);
    const QSize frame = window->size().grownBy(margins);
    // A window's place is its frame's.
    window->move(area.left() + (area.width() - frame.width()) / 2,
                 area.top() + (area.height() - frame.height()) / 2);
}

void WindowGeometry::keep(const QWidget *window) {
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.setValue(key(window), window->saveGeometry());
    s.sync();
}

void WindowGeometry::fit(QWidget *window) {
    if (window->isMaximized() || window->isFullScreen())
        return;
    const QMargins margins = frameMargins(window);
    const QRect area = screenFor(window->frameGeometry())->availableGeometry();
    const QSize room = area.size().shrunkBy(margins);
    const QSize size = window->size().boundedTo(room).expandedTo(window->minimumSize());
    if (size != window->size())
        window->resize(size);
    // The frame's top left corner, as far in as the frame's size needs.
    const QSize frame = window->size().grownBy(margins);
    const QPoint corner = window->frameGeometry().topLeft();
    const int x = std::clamp(corner.x(), area.left(),
                             std::max(area.left(), area.right() + 1 - frame.width()));
    const int y = std::clamp(corner.y(), area.top(),
                             std::max(area.top(), area.bottom() + 1 - frame.height()));
    if (QPoint(x, y) != corner)
        window->move(x, y);
}
