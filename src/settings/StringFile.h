// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// The game's binary string files (pnames.str, the aircraft names, and the like). All numbers
/// are unsigned little-endian:
///
///     offset 0      total size of the file, 32-bit
///     offset 4      N, the number of strings, 32-bit
///     offset 8      N table entries of 32 bits: offset of string i minus 8
///     8 + 4N        the strings, each followed by one 0x00 byte
///
/// An entry's number (0-based) is the string's identity for the game; pnames.str entry s is
/// the name of aircraft slot s. Strings are 8-bit (Windows-1252) bytes and stay bytes.
///
/// Reading follows the game's tools, not the table: the data starts at the 16-bit value at
/// offset 8, plus 8, and runs to the end of the file. The first string is the bytes up to the
/// first 0x00 (it is empty when the data starts with 0x00); every later string is a maximal
/// run of non-zero bytes. So a run of 0x00 bytes is one separator, an empty string after the
/// first is lost, a last string without its 0x00 still counts, and data that is empty or all
/// zeros reads as one empty string. For files written by `build` without empty strings after
/// the first, reading gives back the list that was written.
///
/// Decisions:
/// - A file shorter than 10 bytes (it cannot hold the first table entry), or whose data
///   offset lies beyond its end, is not a string file and is refused with a message naming
///   the file.
/// - Positions are held as signed 16-bit values by the game's tools, so a list whose last
///   string would start beyond offset 32767 is refused, and nothing is written; the upper two
///   bytes of every table entry are therefore 0. A string holding a 0x00 byte is refused too
///   (a reader would split it), and so is an empty list (a reader always finds one string).
/// - Files are looked up without regard to case: writing "Pnames.str" where "PNAMES.STR" is
///   present rewrites that file. Writes are atomic (temporary file, then rename).
class StringFile {
public:
    /// The highest offset at which a string may start.
    static constexpr int MaxPosition = 32767;

    /// The strings of `bytes` by the reading rule above. False, with `reason` (a phrase
    /// without the file's name), for bytes that are not a string file.
    static bool parse(const QByteArray &bytes, QList<QByteArray> *strings,
                      QString *reason = nullptr);

    /// The file for `strings`. False, with `reason`, for a list that cannot be stored.
    static bool build(const QList<QByteArray> &strings, QByteArray *bytes,
                      QString *reason = nullptr);
    /// As `build`, for the string file `path`: `error` is a sentence that names the file, as
    /// every message about a file does (a `reason` alone left the player guessing which of
    /// the game's string files had grown too big).
    static bool buildFor(const QString &path, const QList<QByteArray> &strings, QByteArray *bytes,
                         QString *error);

    /// Reads the string file `path`: its strings and, when `raw` is given, all its bytes.
    static bool ReadStringFile(const QString &path, QList<QByteArray> *strings, QByteArray *raw,
                               QString *error);

    /// Writes `strings` as the string file `path`, replacing the whole file.
    static bool WriteStringFile(const QString &path, const QList<QByteArray> &strings,
                                QString *error);
};
