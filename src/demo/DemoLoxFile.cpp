// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoLoxFile.h"

QByteArray DemoLoxFile::bytes(const QList<Patch> &patches) {
    QByteArray out;
    for (const Patch &p : patches) {
        out += QByteArray::number(p.first) + "\r\n";
        out += QByteArray::number(p.second) + "\r\n";
    }
    return out;
}
