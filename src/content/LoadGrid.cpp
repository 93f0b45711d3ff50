// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadGrid.h"

#include "GroupTable.h"

#include <algorithm>

int LoadGrid::find(const QString &name) const {
    for (int r = 1; r < rowCount(); ++r)
        if (row(r).name == name)
            return r;
    return 0;
}

int LoadGrid::takenOutBy(int r) const {
    const QString group = letter(r);
    if (group == QLatin1String("G"))
        return 0;
    int out = 0;
    for (int k = 1; k < rowCount(); ++k)
        if (row(k).loaded && letter(k) == group)
            out = k;
    return out;
}

bool LoadGrid::listed(const QString &name) {
    // The hidden folder an archive is unpacked into is no content, nor one left by a crash
    // before the next start cleans it up.
    if (name.startsWith(QLatin1String(".vek-import")))
        return false;
    // An ASCII name is compared without an upper-case copy (a VEK folder holds thousands);
    // any other is upper-cased, where one letter may become two.
    const bool ascii =
        std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; });
    const auto is = [&name, ascii](QLatin1String upper) {
        return ascii ? name.compare(upper, Qt::CaseInsensitive) == 0 : name.toUpper() == upper;
    };
    return !is(QLatin1String("AUTOSCRIPTS")) && !is(QLatin1String("SKINFOLDER"));
}

QString LoadGrid::storeOf(const QString &missionName) {
    // A name that gives no store ("M", "M-", "M ") gets none: its store would be a folder
    // "C" or "C-" that no mission owns, shared by every mission so named.
    if (missionName.startsWith(QLatin1String("M-")) || missionName.startsWith(QLatin1String("M ")))
        return missionName.mid(2).trimmed().isEmpty() ? QString()
                                                      : QStringLiteral("C-") + missionName.mid(2);
    // Any other mission ("Mfoo") still has a store of its own ("Cfoo"): without one, its saves
    // would be exchanged with the VEK folder itself.
    if (missionName.startsWith(QLatin1Char('M')) && !missionName.mid(1).trimmed().isEmpty())
        return QLatin1Char('C') + missionName.mid(1);
    return QString();
}

void LoadGrid::filter(int index, const GroupTable &groups) {
    hint = AllAvailable;
    if (index == 0) {
        for (Row &r : rows) {
            const bool hidden = r.name == QLatin1String("Autoscripts") ||
                                r.name == QLatin1String("Skinfolder") ||
                                r.name.startsWith(QLatin1String("C-"));
            r.height = hidden ? 0 : ShownHeight;
        }
    } else if (index == 1) {
        for (Row &r : rows) {
            r.height = r.loaded ? ShownHeight : 0;
            if (r.loaded)
                r.colour = LoadedColour;
        }
    } else if (index >= 2 && index - 2 < GroupTable::MaxGroups) {
        const QString letter = groups.GroupLetters[index - 2];
        for (Row &r : rows) {
            const QString head = r.name.left(2);
            const bool member = !letter.isEmpty() && (head == letter + QLatin1Char('-') ||
                                                      head == letter + QLatin1Char(' '));
            r.height = member ? ShownHeight : 0;
        }
        hint = letter == QLatin1String("G") ? Multiple : OneOnly;
    }
}

int LoadGrid::gridHeight(int rowCount, int rowHeight) {
    return rowHeight * (rowCount < 26 ? rowCount : 26) + 72;
}
