// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// Single bytes of game files, written in place: the file is opened without truncation and
/// only the addressed byte changes. Positions are 1-based, as the game tools count them.
class BytePatch {
public:
    /// Writes `value` at `position`. A file shorter than that is extended with zero bytes up to
    /// the position (the game's own files are long enough; a short one is still patched
    /// where the game will look). A missing file is created.
    static bool writeByte(const QString &path, qint64 position, unsigned char value,
                          QString *error);

    /// Writes `bytes` starting at `position`, same rules.
    static bool writeBytes(const QString &path, qint64 position, const QByteArray &bytes,
                           QString *error);

    /// Overwrites bytes that are already there: a missing file, or one that ends before the
    /// last byte to write, is refused with a message and left as it was. For game files whose
    /// layout is fixed, where a short file is not the file the position belongs to.
    static bool overwriteBytes(const QString &path, qint64 position, const QByteArray &bytes,
                               QString *error);

    /// The `count` bytes from `position`; false when the file is missing or ends before them.
    static bool readBytes(const QString &path, qint64 position, qint64 count, QByteArray *bytes,
                          QString *error);

    /// Reads the byte at `position`; false when the file is missing or shorter.
    static bool readByte(const QString &path, qint64 position, unsigned char *value,
                         QString *error);
};
