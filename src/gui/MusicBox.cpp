// SPDX-License-Identifier: GPL-3.0-or-later
#include "MusicBox.h"

#include "MusicButtons.h"
#include "Selector.h"
#include "Twips.h"
#include "WindowHistory.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

MusicBox::MusicBox(Selector &selector, QWidget *parent) : QGroupBox(parent), selector_(selector) {
    setObjectName(QStringLiteral("Frame12"));
    setMouseTracking(true);
    installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    for (int i = 0; i < 7; ++i) {
        Option12[i] = new QRadioButton(this);
        Option12[i]->setObjectName(QStringLiteral("Option12(%1)").arg(i));
        // The buttons act as commands: each is left unselected after its switch.
        Option12[i]->setAutoExclusive(false);
        Option12[i]->installEventFilter(this);
        layout->addWidget(Option12[i]);
        connect(Option12[i], &QRadioButton::clicked, this, [this, i] {
            Option12[i]->setChecked(false);
            if (selector_.music().click(i))
                WindowHistory::nameChange(
                    QStringLiteral("Music \"%1\" switched to.").arg(Option12[i]->text()));
            Q_EMIT changed();
        });
    }
    MusicPlaying = new QLabel(this);
    MusicPlaying->setObjectName(QStringLiteral("MusicPlaying"));
    MusicPlaying->setWordWrap(true);
    layout->addWidget(MusicPlaying);
    delmsn = new QPushButton(QStringLiteral("Del MSN"), this);
    delmsn->setObjectName(QStringLiteral("delmsn"));
    delmsn->setToolTip(QStringLiteral("Deletes \"DefaultXXX.msn\""));
    layout->addWidget(delmsn);
    connect(delmsn, &QPushButton::clicked, this, [this] { selector_.music().delmsn(); });
}

bool MusicBox::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Enter) {
        for (int i = 0; i < 7; ++i) {
            if (watched == Option12[i]) {
                selector_.music().hover(i);
                setCaption(this, selector_.music().Frame12);
            }
        }
    } else if (event->type() == QEvent::MouseMove && watched == this) {
        // A move over one of the buttons reaches the frame too (the buttons do not track the
        // pointer): only the frame's own surface clears the hint.
        if (!childAt(static_cast<QMouseEvent *>(event)->position().toPoint())) {
            selector_.music().hoverFrame();
            setCaption(this, selector_.music().Frame12);
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void MusicBox::refresh() {
    const MusicButtons &music = selector_.music();
    setCaption(this, music.Frame12);
    MusicPlaying->setText(music.Playing);
    for (int i = 0; i < 7; ++i) {
        const bool shown = i < music.Option12.size();
        Option12[i]->setVisible(shown);
        if (shown)
            Option12[i]->setText(music.Option12.at(i));
    }
}
