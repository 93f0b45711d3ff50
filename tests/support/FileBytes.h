#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <initializer_list>

/// Whole-file bytes for tests that work on single paths.
inline bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

/// Bytes written as numbers, for file layouts spelled out byte by byte.
inline QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values)
        out += static_cast<char>(v);
    return out;
}

/// The file's bytes; "<missing>" when it cannot be read, so a missing file never passes for
/// an empty one.
inline QByteArray contentOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
