// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlotGrid.h"

#include "AltPlane.h"
#include "FileList.h"
#include "Slots.h"
#include "Text8.h"

#include <QDir>
#include <QFileInfo>

bool SlotGrid::GridSet(const QString &contentFolder, QStringList *problems) {
    QStringList folders;
    for (const QString &path : FileList::folders(contentFolder))
        if (AltPlane::isAltFolder(QFileInfo(path).fileName()))
            folders << path;
    // The rows of the folder loaded before never outlive it: a swap from them would copy in
    // an aircraft whose set is no longer in the game folder.
    clear();
    if (folders.isEmpty())
        return false;
    base = contentFolder + QDir::separator();
    for (const QString &path : folders) {
        AltPlane plane;
        QString error;
        if (!plane.readVek(path, &error)) {
            problems->append(error);
            continue;
        }
        Row row;
        row.folder = QFileInfo(path).fileName();
        row.slotText = Text8::toUnicode(plane.slotText);
        row.slot = plane.slot;
        row.code = Slots::PlaneCodes().at(plane.slot).toUpper();
        row.name = Text8::toUnicode(plane.nameLine);
        rows.append(row);
    }
    return true;
}

void SlotGrid::mark(int r) {
    const int slot = row(r).slot;
    for (Row &other : rows) {
        if (other.slot == slot && other.marked) {
            other.marked = false;
            other.colour = DefaultCellColour;
        }
    }
    row(r).marked = true;
    row(r).colour = MarkedColour;
}

QHash<QString, QList<int>> SlotGrid::rowsByFolder() const {
    QHash<QString, QList<int>> index;
    for (int r = 0; r < rows.size(); ++r)
        index[rows.at(r).folder] << r;
    return index;
}

void SlotGrid::markRows(const QList<int> &rowIndexes) {
    for (const int r : rowIndexes) {
        rows[r].marked = true;
        rows[r].colour = MarkedColour;
    }
}

void SlotGrid::filter(int entry) {
    for (Row &r : rows) {
        r.height = ShownHeight;
        r.colour = r.marked ? MarkedColour : DefaultCellColour;
        if (entry > 0 && r.slot + 1 != entry)
            r.height = 0;
    }
}
