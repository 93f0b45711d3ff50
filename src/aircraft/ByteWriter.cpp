// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteWriter.h"

#include <QtGlobal>

void ByteWriter::puttit(int x) {
    Q_ASSERT(x >= 0 && x <= 255);
    Q_ASSERT(bytenum >= 1);
    const qint64 at = bytenum - 1;
    if (buffer_.size() <= at)
        buffer_.resize(at + 1, '\0');
    buffer_[at] = static_cast<char>(x & 0xFF);
    ++bytenum;
}

void ByteWriter::put16(int x) {
    Q_ASSERT(x >= 0 && x <= 0xFFFF);
    puttit(x & 0xFF);
    puttit((x >> 8) & 0xFF);
}

void ByteWriter::put32(quint32 x) {
    for (int shift = 0; shift < 32; shift += 8)
        puttit(static_cast<int>((x >> shift) & 0xFF));
}

void ByteWriter::putBytes(const QByteArray &bytes) {
    for (const char c : bytes)
        puttit(static_cast<unsigned char>(c));
}
