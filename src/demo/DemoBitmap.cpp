// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoBitmap.h"

#include <QtEndian>

#include <algorithm>

namespace {
void put16(QByteArray &out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}
void put32(QByteArray &out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}
int channel(unsigned rgb, int shift) {
    return static_cast<int>((rgb >> shift) & 0xFF);
}
} // namespace

QByteArray DemoBitmap::gradient(int width, int height, unsigned topRgb, unsigned bottomRgb) {
    width = std::clamp(width, 1, 4096);
    height = std::clamp(height, 1, 4096);
    const int stride = (width * 3 + 3) & ~3; // rows are padded to four bytes
    const quint32 pixelBytes = static_cast<quint32>(stride * height);
    constexpr quint32 headerBytes = 14 + 40;

    QByteArray out;
    out.reserve(static_cast<qsizetype>(headerBytes + pixelBytes));
    // File header.
    out += "BM";
    put32(out, headerBytes + pixelBytes);
    put32(out, 0);
    put32(out, headerBytes);
    // Info header: positive height means rows are stored bottom-up.
    put32(out, 40);
    put32(out, static_cast<quint32>(width));
    put32(out, static_cast<quint32>(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0); // no compression
    put32(out, pixelBytes);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);

    for (int row = height - 1; row >= 0; --row) {
        const int t = height > 1 ? row * 256 / (height - 1) : 0;
        QByteArray line;
        line.reserve(stride);
        for (int x = 0; x < width; ++x) {
            const int shade = 256 - (width > 1 ? x * 48 / (width - 1) : 0);
            for (int shift : {0, 8, 16}) { // stored blue, green, red
                const int top = channel(topRgb, shift);
                const int bottom = channel(bottomRgb, shift);
                const int v = (top + (bottom - top) * t / 256) * shade / 256;
                line += static_cast<char>(std::clamp(v, 0, 255));
            }
        }
        line.resize(stride, '\0');
        out += line;
    }
    return out;
}
