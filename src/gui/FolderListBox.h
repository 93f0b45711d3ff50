// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

/// A folder list in the classic style: the current folder's ancestors from the root down,
/// then its subfolders. Activating an entry (double-click or Enter) makes it the current
/// folder.
class FolderListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FolderListBox(QWidget *parent = nullptr);

    QString path() const { return path_; }
    /// Moves to `path`; emits `pathChanged` when the folder changes.
    void setPath(const QString &path);

Q_SIGNALS:
    void pathChanged(const QString &path);

private:
    void fill();
    QString path_;
};
