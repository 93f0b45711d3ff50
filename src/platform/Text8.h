// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// The game's and the VEK folder's text files are 8-bit Windows-1252. Their bytes are kept
/// as bytes; this converts them to and from QString only where a line becomes a path or a
/// caption. Characters Windows-1252 cannot hold are written as '?'.
class Text8 {
public:
    static QString toUnicode(const QByteArray &bytes);
    static QByteArray fromUnicode(const QString &text);
    /// The characters of `text` that Windows-1252 cannot hold (each once, in the order met;
    /// a character beyond the first plane counts as one), which `fromUnicode` would write as
    /// '?'. Control characters are not counted: the code page holds them.
    static QStringList foreign(const QString &text);
    /// What a message says of those characters ("the character "Ω" that 8-bit text
    /// (Windows-1252) cannot hold", eight of them at most); empty when there are none.
    static QString foreignPhrase(const QString &text);
};
