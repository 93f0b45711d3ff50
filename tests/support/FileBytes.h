// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QMap>
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

/// The files directly in a folder, hidden ones too: name -> bytes, to compare a folder before
/// and after an operation.
inline QMap<QString, QByteArray> filesOf(const QString &folder) {
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        files.insert(name, contentOf(QDir(folder).filePath(name)));
    return files;
}

/// Every file below a folder, hidden ones too: relative path -> bytes ("<unreadable>" for one
/// that cannot be read), to compare a whole tree before and after an operation. The history's
/// store (`.vek-history`) is left out: it records each run, with its times.
using Tree = QHash<QString, QByteArray>;

inline Tree treeOf(const QString &root) {
    Tree tree;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.contains(QLatin1String("/.vek-history/")))
            continue;
        QFile f(path);
        tree.insert(QDir(root).relativeFilePath(path),
                    f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>"));
    }
    return tree;
}

/// No hidden folder of an import is left in the VEK folder `vek`.
inline bool noStaging(const QString &vek) {
    return QDir(vek).entryList({".vek-import*"}, QDir::Dirs | QDir::Hidden).isEmpty();
}

/// The 256 byte values in order: a file of every byte proves that nothing is translated.
inline QByteArray allByteValues() {
    QByteArray bytes(256, '\0');
    for (int i = 0; i < 256; ++i)
        bytes[i] = static_cast<char>(i);
    return bytes;
}
