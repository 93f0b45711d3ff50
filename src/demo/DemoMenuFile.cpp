// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoMenuFile.h"

#include "Text8.h"

#include <QtEndian>

namespace {

struct Area {
    int x, y, w, h;
};

struct SideEntry {
    const char *text;
    Area area;
};

struct Menu {
    char letter;
    QList<int> slotOrder;
    QList<Area> areas;
    SideEntry others[2];
    Area exitArea;
    unsigned char exitSecond; // second byte after the closing entry's number
};

const Menu &menu(DemoMenuFile::Side side) {
    static const Menu american{'a',
                               {5, 3, 4, 2, 0, 1},
                               {{184, 36, 203, 140},
                                {380, 119, 203, 137},
                                {31, 173, 201, 131},
                                {230, 258, 197, 150},
                                {423, 252, 197, 126},
                                {27, 316, 203, 139}},
                               {{"GERMANY", {365, 409, 89, 30}}, {"BRITAIN", {406, 412, 86, 54}}},
                               {525, 375, 76, 71},
                               22};
    static const Menu british{'b',
                              {13, 11, 10, 9, 14, 12},
                              {{18, 46, 185, 138},
                               {214, 0, 197, 158},
                               {412, 46, 199, 139},
                               {128, 181, 180, 130},
                               {6, 331, 205, 147},
                               {293, 272, 198, 142}},
                              {{"GERMANY", {328, 416, 93, 30}}, {"USA", {375, 422, 90, 58}}},
                              {514, 368, 75, 81},
                              29};
    static const Menu german{'g',
                             {18, 17, 22, 23, 16, 24, 20, 19},
                             {{0, 0, 182, 163},
                              {219, 19, 195, 142},
                              {434, 6, 206, 172},
                              {52, 158, 206, 129},
                              {267, 182, 189, 133},
                              {456, 241, 184, 121},
                              {17, 296, 193, 153},
                              {219, 321, 194, 128}},
                             {{"BRITAIN", {393, 381, 89, 31}}, {"USA", {439, 387, 68, 46}}},
                             {515, 368, 75, 74},
                             22};
    switch (side) {
    case DemoMenuFile::Side::American:
        return american;
    case DemoMenuFile::Side::British:
        return british;
    case DemoMenuFile::Side::German:
        break;
    }
    return german;
}

void put16(QByteArray &out, int v) {
    char b[2];
    qToLittleEndian(static_cast<quint16>(v), b);
    out.append(b, 2);
}

void put32(QByteArray &out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void putArea(QByteArray &out, const Area &a) {
    put16(out, a.x);
    put16(out, a.y);
    put16(out, a.w);
    put16(out, a.h);
}

void putText(QByteArray &out, const QByteArray &text) {
    put32(out, static_cast<quint32>(text.size() + 1));
    out += text;
    out += '\0';
}

void putEntry(QByteArray &out, int number, const QByteArray &text, const Area &area) {
    out += char(6);
    put16(out, number);
    putText(out, text);
    putArea(out, area);
    put32(out, 1);
}

} // namespace

QString DemoMenuFile::fileName(Side side) {
    return QStringLiteral("picpln%1.mnu").arg(QLatin1Char(menu(side).letter));
}

QList<int> DemoMenuFile::menuSlots(Side side) {
    return menu(side).slotOrder;
}

QByteArray DemoMenuFile::bytes(Side side, const QStringList &slotNames) {
    const Menu &m = menu(side);
    QByteArray out;
    out += char(14);
    putText(out, QByteArrayLiteral("picpln") + m.letter + QByteArrayLiteral(".pic"));
    out += char(13);
    putArea(out, {0, 0, 640, 480});
    put32(out, static_cast<quint32>(m.slotOrder.size() + 3));
    out += char(53);
    out += char(0);

    int number = 1;
    for (qsizetype i = 0; i < m.slotOrder.size(); ++i)
        putEntry(out, number++, Text8::fromUnicode(slotNames.value(m.slotOrder.at(i))),
                 m.areas.at(i));
    for (const SideEntry &e : m.others)
        putEntry(out, number++, QByteArray(e.text), e.area);

    out += char(3);
    put16(out, number);
    out += char(39);
    out += static_cast<char>(m.exitSecond);
    putText(out, QByteArrayLiteral("EXIT"));
    putArea(out, m.exitArea);
    put32(out, 175);
    out += char(3);
    out += char(0);
    out += char(0);
    return out;
}
