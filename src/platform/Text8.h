// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

/// The game's and the VEK folder's text files are 8-bit Windows-1252. Their bytes are kept
/// as bytes; this converts them to and from QString only where a line becomes a path or a
/// caption. Characters Windows-1252 cannot hold are written as '?'.
class Text8 {
public:
    static QString toUnicode(const QByteArray &bytes);
    static QByteArray fromUnicode(const QString &text);
};
