// SPDX-License-Identifier: GPL-3.0-or-later
#include "PickMenu.h"

#include "ByteWriter.h"
#include "FileList.h"
#include "FileOps.h"

#include <QDir>

#include <algorithm>

namespace {

struct Area {
    int x, y, w, h;
};

struct Entry {
    const char *text;
    Area area;
};

struct Layout {
    char letter;
    QList<int> slotOrder;
    QList<Area> planeAreas; // one per slot, same order
    Entry sides[2];         // the buttons to the other sides' menus
    Area exitArea;
    int exitCode; // the second byte after the EXIT entry's number
};

// The hot areas are where each aircraft stands on the side's menu picture.
const Layout &layout(PickMenu::Side side) {
    static const Layout american{'a',
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
    static const Layout british{'b',
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
    static const Layout german{'g',
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
    case PickMenu::Side::American:
        return american;
    case PickMenu::Side::British:
        return british;
    case PickMenu::Side::German:
        break;
    }
    return german;
}

QByteArray menuText(const QByteArray &name) {
    const qsizetype zero = name.indexOf('\0');
    const QByteArray text = zero < 0 ? name : name.left(zero);
    return text.left(PickMenu::MaxNameLength);
}

void putText(ByteWriter &out, const QByteArray &text) {
    out.put32(static_cast<quint32>(text.size() + 1));
    out.putBytes(text);
    out.puttit(0);
}

void putArea(ByteWriter &out, const Area &a) {
    out.put16(a.x);
    out.put16(a.y);
    out.put16(a.w);
    out.put16(a.h);
}

void putEntry(ByteWriter &out, int number, const QByteArray &text, const Area &area) {
    out.puttit(6);
    out.put16(number);
    putText(out, text);
    putArea(out, area);
    out.put32(1);
}

constexpr PickMenu::Side kWriteOrder[] = {PickMenu::Side::German, PickMenu::Side::British,
                                          PickMenu::Side::American};

} // namespace

QString PickMenu::fileName(Side side) {
    return QStringLiteral("picpln%1.mnu").arg(QLatin1Char(layout(side).letter));
}

QList<int> PickMenu::menuSlots(Side side) {
    return layout(side).slotOrder;
}

QByteArray PickMenu::build(Side side, const QList<QByteArray> &names) {
    const Layout &m = layout(side);
    const int planes = int(m.slotOrder.size());
    ByteWriter out;

    out.puttit(14);
    putText(out, QByteArrayLiteral("picpln") + m.letter + QByteArrayLiteral(".pic"));
    out.puttit(13);
    putArea(out, {0, 0, 640, 480});
    out.put32(static_cast<quint32>(planes + 3)); // the planes, two sides and EXIT
    out.puttit(53);
    out.puttit(0);

    int number = 1;
    for (int i = 0; i < planes; ++i)
        putEntry(out, number++, menuText(names.value(i)), m.planeAreas.at(i));
    for (const Entry &e : m.sides)
        putEntry(out, number++, QByteArray(e.text), e.area);

    out.puttit(3);
    out.put16(number);
    out.puttit(39);
    out.puttit(m.exitCode);
    putText(out, QByteArrayLiteral("EXIT"));
    putArea(out, m.exitArea);
    out.put32(175);
    out.puttit(3);
    out.puttit(0);
    out.puttit(0);
    return out.bytes();
}

QList<QByteArray> PickMenu::namesFor(Side side, const QList<QByteArray> &slotNames) {
    QList<QByteArray> names;
    for (const int slot : menuSlots(side)) {
        if (slot >= slotNames.size())
            return {};
        names.append(slotNames.at(slot));
    }
    return names;
}

bool PickMenu::write(const QString &gameFolder, Side side, const QList<QByteArray> &names,
                     QString *error) {
    const QString path = FileList::resolve(gameFolder, fileName(side));
    if (names.size() < menuSlots(side).size()) {
        if (error)
            *error = QStringLiteral("Could not write \"%1\": the menu lists %2 aircraft, but "
                                    "only %3 names were given.")
                         .arg(QDir::toNativeSeparators(path))
                         .arg(menuSlots(side).size())
                         .arg(names.size());
        return false;
    }
    return FileOps::writeAtomic(path, build(side, names), error);
}

bool PickMenu::writeAll(const QString &gameFolder, const QList<QByteArray> &slotNames,
                        QString *error) {
    // Everything that can be known in advance is checked before the first menu is written,
    // so that a refusal never leaves the three menus out of step with one another.
    const int needed = NamesNeeded;
    if (slotNames.size() < needed) {
        if (error)
            *error = QStringLiteral("Could not write the plane-pick menus: the names file holds "
                                    "%1 entries, the menus need the names of slots 0 to %2.")
                         .arg(slotNames.size())
                         .arg(needed - 1);
        return false;
    }
    for (const Side side : kWriteOrder) {
        const QString path = FileList::resolve(gameFolder, fileName(side));
        if (FileOps::isReadOnly(path)) {
            if (error)
                *error = QStringLiteral("Could not write \"%1\": the file is read-only.")
                             .arg(QDir::toNativeSeparators(path));
            return false;
        }
    }
    for (const Side side : kWriteOrder) {
        if (!write(gameFolder, side, namesFor(side, slotNames), error))
            return false;
    }
    return true;
}
