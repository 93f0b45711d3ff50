// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

/// What a message quotes of a line read from a file. A damaged or hostile file may hold a
/// line of megabytes, or binary bytes; the message names the file and the line number, and
/// quotes only enough of the line for the player to find it.
class Excerpt {
public:
    /// The most characters of a line a message quotes.
    static constexpr qsizetype MaxChars = 60;

    /// `text` as a message quotes it: control characters shown as '?', and a longer text cut
    /// to its first `MaxChars` characters followed by "... (N characters)".
    static QString of(const QString &text);
    /// An 8-bit line (Windows-1252), as `of` quotes its text. Only the bytes quoted are
    /// converted.
    static QString of(const QByteArray &line);
};
