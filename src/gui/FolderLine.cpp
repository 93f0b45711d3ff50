// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderLine.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>

namespace {
const QString kGame = QStringLiteral("Game folder: ");
const QString kVek = QStringLiteral("VEK folder: ");

QLabel *pathLabel(const QString &objectName, const QString &full, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setToolTip(full);
    label->setAccessibleName(full);
    // The elided text follows the width it is given; it never widens the window.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setMinimumWidth(80);
    return label;
}
} // namespace

FolderLine::FolderLine(const QString &gameFolder, const QString &vekFolder, QWidget *parent)
    : QFrame(parent), game_(QDir::toNativeSeparators(gameFolder)),
      vek_(QDir::toNativeSeparators(vekFolder)) {
    setObjectName(QStringLiteral("FolderLine"));
    setFrameShape(QFrame::StyledPanel);
    Game = pathLabel(QStringLiteral("GameFolderLine"), kGame + game_, this);
    Vek = pathLabel(QStringLiteral("VekFolderLine"), kVek + vek_, this);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 4, 1);
    layout->addWidget(Game, 1);
    layout->addWidget(Vek, 1);
    elide();
}

QString FolderLine::title(const QString &caption, const QString &gameFolder) {
    return caption + QStringLiteral(" \u2014 ") + QDir::toNativeSeparators(gameFolder);
}

void FolderLine::resizeEvent(QResizeEvent *event) {
    QFrame::resizeEvent(event);
    elide();
}

void FolderLine::elide() {
    // The label names its folder in full; only the path gives way.
    const auto fit = [](QLabel *label, const QString &lead, const QString &path) {
        const QFontMetrics metrics(label->font());
        const int room = std::max(0, label->width() - metrics.horizontalAdvance(lead) - 4);
        label->setText(lead + metrics.elidedText(path, Qt::ElideMiddle, room));
    };
    fit(Game, kGame, game_);
    fit(Vek, kVek, vek_);
}
