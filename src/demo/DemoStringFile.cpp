// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoStringFile.h"

#include "Text8.h"

#include <QtEndian>

namespace {
void append32(QByteArray &out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}
} // namespace

QByteArray DemoStringFile::bytes(const QStringList &strings) {
    const qint64 count = strings.size();
    QByteArray data;
    QByteArray table;
    qint64 position = 8 + 4 * count;
    for (const QString &s : strings) {
        const QByteArray text = Text8::fromUnicode(s);
        if (text.contains('\0') || position > 32767)
            return {};
        append32(table, static_cast<quint32>(position - 8));
        data += text;
        data += '\0';
        position += text.size() + 1;
    }
    QByteArray out;
    out.reserve(8 + table.size() + data.size());
    append32(out, static_cast<quint32>(8 + table.size() + data.size()));
    append32(out, static_cast<quint32>(count));
    out += table;
    out += data;
    return out;
}
