// SPDX-License-Identifier: GPL-3.0-or-later
#include "Text8.h"

namespace {
// Code points of bytes 0x80..0x9F; 0 marks the five bytes Windows-1252 leaves undefined,
// which are passed through as the matching C1 control character.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QString Text8::toUnicode(const QByteArray &bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0)
            out.append(QChar(kHigh[b - 0x80]));
        else
            out.append(QChar(b));
    }
    return out;
}

QByteArray Text8::fromUnicode(const QString &text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        // A character beyond the BMP is one character in two UTF-16 units, and gets one '?'.
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out.append('?');
            ++i;
            continue;
        }
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(static_cast<char>(u));
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k) {
            if (kHigh[k] == u || (kHigh[k] == 0 && u == 0x80 + k)) {
                mapped = static_cast<char>(0x80 + k);
                break;
            }
        }
        out.append(mapped);
    }
    return out;
}

QStringList Text8::foreign(const QString &text) {
    QStringList found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        // Latin-1 letters are their own bytes; only the rest needs the code page's table.
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            continue;
        const qsizetype units =
            QChar::isHighSurrogate(u) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2
                                                                                                : 1;
        const QString character = text.mid(i, units);
        i += units - 1;
        if (toUnicode(fromUnicode(character)) != character && !found.contains(character))
            found << character;
    }
    return found;
}

QString Text8::foreignPhrase(const QString &text) {
    const QStringList found = foreign(text);
    if (found.isEmpty())
        return {};
    constexpr qsizetype kListed = 8;
    QStringList quoted;
    for (qsizetype i = 0; i < qMin(found.size(), kListed); ++i)
        quoted << QLatin1Char('"') + found.at(i) + QLatin1Char('"');
    if (found.size() > kListed)
        quoted << QStringLiteral("and %1 more").arg(found.size() - kListed);
    return QStringLiteral("%1 %2 that 8-bit text (Windows-1252) cannot hold")
        .arg(found.size() == 1 ? QStringLiteral("the character") : QStringLiteral("the characters"),
             quoted.join(QStringLiteral(", ")));
}
