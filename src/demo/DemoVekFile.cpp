// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoVekFile.h"

#include "DemoPlanesDat.h"

QByteArray DemoVekFile::bytes(const QByteArray &nameLine, const QByteArray &span) {
    if (span.size() != DemoPlanesDat::SpanSize)
        return {};
    QByteArray out = nameLine + "\r\n";
    for (char c : span) {
        out += QByteArray::number(static_cast<unsigned char>(c));
        out += "\r\n";
    }
    return out;
}
