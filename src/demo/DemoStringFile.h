// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

/// The game's binary string files (pnames.str and the like):
///
///     offset 0      total size of the file, 32-bit little-endian
///     offset 4      N, the number of strings, 32-bit little-endian
///     offset 8      N table entries of 4 bytes: offset of string i minus 8
///     8 + 4N        the strings, each followed by one 0x00 byte
///
/// The game's tools hold string positions as signed 16-bit values, so the upper two bytes of
/// every table entry are 0 and no string may start beyond offset 32767.
class DemoStringFile {
public:
    /// The file for `strings` (converted to Windows-1252). Empty when a string holds a 0x00
    /// character (the game would split it) or a string would start beyond offset 32767.
    static QByteArray bytes(const QStringList &strings);
};
