// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

/// The byte sink the plane-pick menus are written through: one byte at a time at `bytenum`,
/// the 1-based position of the next byte, which every write moves on by one. The bytes
/// collect in memory and the caller writes the finished file in one go, so a failure can
/// never leave a half-written menu behind.
class ByteWriter {
public:
    /// 1-based position of the next byte. Setting it inside the buffer overwrites from there;
    /// setting it past the end fills the gap with zero bytes at the next write.
    qint64 bytenum = 1;

    /// Writes `x` (0 to 255) at `bytenum` and moves on. Only the low 8 bits of `x` are kept.
    void puttit(int x);

    /// 16-bit little-endian (0 to 65535): low byte first.
    void put16(int x);

    /// 32-bit little-endian: lowest byte first.
    void put32(quint32 x);

    /// Each byte of `bytes`, in order.
    void putBytes(const QByteArray &bytes);

    const QByteArray &bytes() const { return buffer_; }

private:
    QByteArray buffer_;
};
