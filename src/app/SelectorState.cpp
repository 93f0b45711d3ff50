// SPDX-License-Identifier: GPL-3.0-or-later
#include "SelectorState.h"

#include "FileList.h"

QString SelectorState::skinFolder() const {
    return FileList::resolveFolder(ModFolder(), SkinGrid::Folder);
}

void SelectorState::clickStatus(bool ok, bool unloading, const QString &what, int files,
                                const QStringList &before,
                                const std::function<bool(const QString &)> &stillLoaded,
                                const QString &kind) {
    if (!FormReady)
        return;
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
    setStatus(status + QLatin1Char('.'));
}
