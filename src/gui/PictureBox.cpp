// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureBox.h"

#include <QImageReader>

PictureBox::PictureBox(QWidget *parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setMinimumSize(32, 32);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

bool PictureBox::load(const QString &path) {
    path_ = path;
    original_ = QPixmap();
    if (!path.isEmpty()) {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        const QImage image = reader.read();
        if (!image.isNull())
            original_ = QPixmap::fromImage(image);
    }
    rescale();
    return hasPicture();
}

void PictureBox::resizeEvent(QResizeEvent *event) {
    QLabel::resizeEvent(event);
    rescale();
}

void PictureBox::rescale() {
    if (original_.isNull()) {
        clear();
        return;
    }
    setPixmap(original_.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}
