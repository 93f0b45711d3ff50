// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QStringList>

#include <utility>

/// The system's "immutable" mark, which even the administrator's writes obey (tests may run as
/// root), on files and folders; taken off again at the latest when this goes out of scope, so
/// that the test's temporary folder can be removed.
struct ImmutableMarks {
    QStringList marked;
    ~ImmutableMarks() { clear(); }
    /// False where the file system or the user cannot mark `path`: the test then skips.
    bool set(const QString &path) {
        const bool ok = QProcess::execute(QStringLiteral("chattr"), {"+i", path}) == 0;
        if (ok)
            marked << path;
        return ok;
    }
    /// Takes every mark off: false when one stays.
    bool clear() {
        bool ok = true;
        for (const QString &path : std::exchange(marked, {}))
            ok = QProcess::execute(QStringLiteral("chattr"), {"-i", path}) == 0 && ok;
        return ok;
    }
};
