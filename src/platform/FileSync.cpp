// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSync.h"

#include <QDir>

namespace {
// Set by a test before the engine runs, on the one thread it runs on.
std::function<QString(const QString &)> testFault;
} // namespace

void FileSync::setFault(std::function<QString(const QString &)> fault) {
    testFault = std::move(fault);
}

bool FileSync::mayPass(const QString &path, QString *error) {
    const QString reason = testFault ? testFault(path) : QString();
    if (reason.isEmpty())
        return true;
    if (error)
        *error = failed(path, reason);
    return false;
}

QString FileSync::failed(const QString &path, const QString &reason) {
    return QStringLiteral("Could not sync the folder \"%1\" to the disk: %2.")
        .arg(QDir::toNativeSeparators(path), reason);
}

bool FileSync::syncFileSystem(const QString &folder, QString *error) {
    return mayPass(folder, error) && syncSystem(folder, error);
}
