// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QStringList>

/// The system's "immutable" mark, which even the administrator's writes obey (tests may run as
/// root), on files and folders; taken off again when this goes out of scope, so that the test's
/// temporary folder can be removed.
struct ImmutableMarks {
    QStringList marked;
    /// False where the file system or the user cannot mark `path`: the test then skips.
    bool set(const QString &path) {
        marked << path;
        return QProcess::execute(QStringLiteral("chattr"), {"+i", path}) == 0;
    }
    ~ImmutableMarks() {
        for (const QString &path : std::as_const(marked))
            QProcess::execute(QStringLiteral("chattr"), {"-i", path});
    }
};
