// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoWave.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>

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
} // namespace

QByteArray DemoWave::tone(int hertz, int milliseconds) {
    constexpr quint32 rate = 11025;
    milliseconds = std::clamp(milliseconds, 1, 10000);
    const quint32 samples = rate * static_cast<quint32>(milliseconds) / 1000;

    QByteArray out;
    out += "RIFF";
    put32(out, 36 + samples + (samples & 1));
    out += "WAVE";
    out += "fmt ";
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, rate);
    put32(out, rate); // bytes per second
    put16(out, 1);    // block align
    put16(out, 8);    // bits per sample
    out += "data";
    put32(out, samples);
    for (quint32 i = 0; i < samples; ++i) {
        const double fade = 1.0 - static_cast<double>(i) / samples;
        const double s = std::sin(2.0 * std::numbers::pi * hertz * i / rate);
        out += static_cast<char>(128 + static_cast<int>(std::lround(40.0 * fade * s)));
    }
    if (samples & 1)
        out += '\0'; // chunks are padded to an even length
    return out;
}
