// SPDX-License-Identifier: GPL-3.0-or-later
#include "SelectorState.h"

#include "FileList.h"

#include <QDateTime>
#include <QFileInfo>

#include <utility>

QString SelectorState::skinFolder() const {
    // A skin folder under its usual name answers by one status query; any other answer
    // (another case, or none) stands while the VEK folder has not changed since.
    const QString usual = FileList::join(ModFolder(), SkinGrid::Folder);
    if (skinFolder_ == usual && QFileInfo(usual).isDir())
        return skinFolder_;
    const qint64 stamp = listingStamp(ModFolder());
    if (skinFolder_.isEmpty() || stamp < 0 || stamp != skinFolderStamp_) {
        skinFolder_ = FileList::resolveFolder(ModFolder(), SkinGrid::Folder);
        skinFolderStamp_ = stamp;
    }
    return skinFolder_;
}

qint64 SelectorState::listingStamp(const QString &folder) {
    const QDateTime changed = QFileInfo(folder).lastModified();
    if (!changed.isValid())
        return -1;
    const qint64 stamp = changed.toMSecsSinceEpoch();
    return QDateTime::currentMSecsSinceEpoch() - stamp >= 2000 ? stamp : -1;
}

void SelectorState::clickStatus(bool ok, bool unloading, const QString &what, int files,
                                const QStringList &before,
                                const std::function<bool(const QString &)> &stillLoaded,
                                const QString &kind) {
    if (!FormReady)
        return;
    const QStringList news = std::exchange(news_, {});
    if (!ok) {
        setStatus(QStringLiteral("%1 %2\"%3\" did not work: see the message.")
                      .arg(unloading ? QStringLiteral("Unloading") : QStringLiteral("Loading"),
                           kind, what));
        return;
    }
    QString status = QStringLiteral("%1 %2%3").arg(
        unloading ? QStringLiteral("Unloaded") : QStringLiteral("Loaded"), kind, what);
    if (files >= 0)
        status += QStringLiteral(": %1 %2").arg(files).arg(files == 1 ? QStringLiteral("file")
                                                                      : QStringLiteral("files"));
    for (const QString &out : before)
        if (out != what && !stillLoaded(out))
            status += QStringLiteral("; took out %1%2").arg(kind, out);
    for (const QString &n : news)
        status += QStringLiteral("; ") + n;
    setStatus(status + QLatin1Char('.'));
}
