// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// 8-bit text files as the game and the selector write them: lines end in CR LF; lines
/// ended by a lone LF are read too. Lines stay bytes.
class TextFile {
public:
    /// Splits `bytes` into lines. A last line without a line end is a line; a file that ends
    /// with a line end has no empty line after it (as a line-by-line reader sees it).
    static QList<QByteArray> splitLines(const QByteArray &bytes);

    /// Every line followed by CR LF.
    static QByteArray joinLines(const QList<QByteArray> &lines);

    static bool readLines(const QString &path, QList<QByteArray> *lines, QString *error);

    /// The first line, or an empty array for an empty or unreadable file. With `maxBytes`,
    /// at most that many bytes of it: nothing past them is read, however long the line is.
    static QByteArray firstLine(const QString &path, qint64 maxBytes = -1);

    /// Atomic rewrite with CR LF line ends.
    static bool writeLines(const QString &path, const QList<QByteArray> &lines, QString *error);
    /// The same, but a file that already holds exactly these bytes is left alone: its time,
    /// its attributes and the disk (no sync) stay as they are. For files rewritten at every
    /// start or click with what they mostly hold already.
    static bool writeLinesIfChanged(const QString &path, const QList<QByteArray> &lines,
                                    QString *error);
    /// Whether the file `path` holds exactly `bytes` (false when it cannot be read).
    static bool holds(const QString &path, const QByteArray &bytes);
};
