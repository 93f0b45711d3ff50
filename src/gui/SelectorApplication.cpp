// SPDX-License-Identifier: GPL-3.0-or-later
#include "SelectorApplication.h"

#include "WindowHistory.h"

#include <QEvent>

namespace {
QPointer<WindowHistory> current;
} // namespace

SelectorApplication::SelectorApplication(int &argc, char **argv) : QApplication(argc, argv) {}

void SelectorApplication::setRecorder(WindowHistory *recorder) {
    current = recorder;
}

WindowHistory *SelectorApplication::recorder() {
    return current;
}

bool SelectorApplication::isPlayerInput(const QEvent *event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::Drop:
    case QEvent::Close:
    case QEvent::InputMethod:
    case QEvent::TouchEnd:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

bool SelectorApplication::notify(QObject *receiver, QEvent *event) {
    const QPointer<WindowHistory> recorder = current;
    if (!recorder || !isPlayerInput(event))
        return QApplication::notify(receiver, event);
    // The recorder may go with its window during the event (New VEK Directory): it is told
    // the end only while it is there.
    recorder->begin(receiver);
    const bool handled = QApplication::notify(receiver, event);
    if (recorder)
        recorder->end();
    return handled;
}
