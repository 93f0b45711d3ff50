// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderListBox.h"

#include "FileList.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStyle>

FolderListBox::FolderListBox(QWidget *parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { setPath(item->data(Qt::UserRole).toString()); });
}

void FolderListBox::setPath(const QString &path) {
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (clean == path_)
        return;
    path_ = clean;
    fill();
    Q_EMIT pathChanged(path_);
}

void FolderListBox::fill() {
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QStringList chain;
    for (QDir d(path_);;) {
        chain.prepend(d.absolutePath());
        if (!d.cdUp())
            break;
    }
    int depth = 0;
    for (const QString &p : chain) {
        const QString name =
            QDir(p).isRoot() ? QDir::toNativeSeparators(p) : QFileInfo(p).fileName();
        auto *item = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(Qt::UserRole, p);
        ++depth;
    }
    setCurrentRow(count() - 1);
    for (const QString &p : FileList::folders(path_)) {
        auto *item = new QListWidgetItem(
            closed, QString(depth * 2, QLatin1Char(' ')) + QFileInfo(p).fileName(), this);
        item->setData(Qt::UserRole, p);
    }
}
