#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

/// Whole-file bytes for tests that work on single paths.
inline bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

/// The file's bytes; "<missing>" when it cannot be read, so a missing file never passes for
/// an empty one.
inline QByteArray contentOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
