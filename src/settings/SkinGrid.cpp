// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinGrid.h"

#include "FileList.h"

#include <QFileInfo>
#include <QHash>

#include <initializer_list>

namespace {
bool oneOf(const QString &upper, std::initializer_list<const char *> names) {
    for (const char *n : names)
        if (upper == QLatin1String(n))
            return true;
    return false;
}

bool endsInOneOf(const QString &upper, std::initializer_list<const char *> endings) {
    for (const char *e : endings)
        if (upper.endsWith(QLatin1String(e)))
            return true;
    return false;
}
} // namespace

int SkinGrid::find(const QString &name) const {
    for (int r = 1; r < rowCount(); ++r)
        if (row(r).name == name)
            return r;
    return 0;
}

void SkinGrid::fill(const QString &skinFolder) {
    rows.clear();
    for (const QString &path : FileList::folders(skinFolder)) {
        Row r;
        r.name = QFileInfo(path).fileName();
        rows.append(r);
    }
}

void SkinGrid::mark(int r, bool loaded) {
    row(r).loaded = loaded;
    row(r).colour = loaded ? LoadedColour : DefaultCellColour;
}

QList<bool> SkinGrid::markLines(const QStringList &lines) {
    QList<bool> matched(lines.size(), false);
    QHash<QString, QList<int>> byName;
    QList<qsizetype> lengths;
    for (int r = 1; r < rowCount(); ++r) {
        const QString &name = row(r).name;
        if (name.isEmpty())
            continue;
        byName[name] << r;
        if (!lengths.contains(name.size()))
            lengths << name.size();
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        for (const qsizetype length : std::as_const(lengths)) {
            if (length > line.size())
                continue;
            const auto found = byName.constFind(line.right(length));
            if (found == byName.cend())
                continue;
            matched[i] = true;
            for (const int r : *found)
                mark(r, true);
        }
    }
    return matched;
}

void SkinGrid::filter(int entry, const QString &entryText) {
    for (Row &r : rows) {
        r.height = ShownHeight;
        r.colour = r.loaded ? LoadedColour : DefaultCellColour;
        if (entry != 0 && r.name.left(4) != entryText.left(4))
            r.height = 0;
    }
}

int SkinGrid::slotOf(const QString &name) {
    qsizetype i = 2;
    while (i < name.size() && name.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < name.size() && (name.at(i) == QLatin1Char('-') || name.at(i) == QLatin1Char('+')))
        negative = name.at(i++) == QLatin1Char('-');
    const qsizetype start = i;
    int value = 0;
    while (i < name.size() && name.at(i).isDigit() && name.at(i).unicode() < 128) {
        value = value * 10 + (name.at(i).unicode() - '0');
        if (value > LastSlot)
            return -1;
        ++i;
    }
    if (i == start || (negative && value != 0))
        return -1;
    return value;
}

bool SkinGrid::skippedOnLoad(const QString &name, bool withFlt) {
    const QString upper = name.toUpper();
    if (!withFlt && upper.endsWith(QLatin1String(".FLT")))
        return true;
    return oneOf(upper, {"SKINPIC", "MYPIC", "CONTENTS.TXT"}) ||
           endsInOneOf(upper, {".JPG", ".ASK", ".PCX"});
}

bool SkinGrid::keptOnUnload(const QString &name) {
    const QString upper = name.toUpper();
    return skippedOnLoad(name) || oneOf(upper, {"LOADOUT.DAT", "PLANES.DAT", "WEAPONS.DAT"}) ||
           endsInOneOf(upper, {".FLT", ".STR"});
}
