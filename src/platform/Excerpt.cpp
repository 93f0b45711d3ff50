// SPDX-License-Identifier: GPL-3.0-or-later
#include "Excerpt.h"

#include "Text8.h"

namespace {

QString shown(QString piece, qsizetype fullLength) {
    for (QChar &c : piece)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char('?');
    if (fullLength > Excerpt::MaxChars)
        piece += QStringLiteral("... (%1 characters)").arg(fullLength);
    return piece;
}

} // namespace

QString Excerpt::of(const QString &text) {
    return shown(text.left(MaxChars), text.size());
}

QString Excerpt::of(const QByteArray &line) {
    // Windows-1252 is one character a byte.
    return shown(Text8::toUnicode(line.left(MaxChars)), line.size());
}
