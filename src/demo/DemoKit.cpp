// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoKit.h"

#include "DemoGameFolder.h"
#include "DemoVekFolder.h"
#include "FileList.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool usable(const QString &path, QString *error) {
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    const QString shown = QDir::toNativeSeparators(path);
    if (!info.isDir()) {
        if (error)
            *error = QStringLiteral("\"%1\" already exists and is not a folder.").arg(shown);
        return false;
    }
    if (!QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                            QDir::NoDotAndDotDot)) {
        if (error)
            *error = QStringLiteral("\"%1\" already exists and is not empty; the demo kit only "
                                    "writes into new or empty folders.")
                         .arg(shown);
        return false;
    }
    return true;
}

} // namespace

QString DemoKit::gameFolder(const QString &root) {
    return FileList::join(root, QStringLiteral("EAW"));
}

QString DemoKit::vekFolder(const QString &root) {
    return FileList::join(root, QStringLiteral("VEK"));
}

bool DemoKit::generate(const QString &root, QString *error) {
    if (root.isEmpty()) {
        if (error)
            *error = QStringLiteral("No folder given for the demo.");
        return false;
    }
    const QString game = gameFolder(root);
    const QString vek = vekFolder(root);
    // Both checked before anything is written, so a refusal leaves no half-made kit behind.
    if (!usable(game, error) || !usable(vek, error))
        return false;
    return DemoGameFolder::build(game, error) && DemoVekFolder::build(vek, error);
}
