// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadedList.h"

#include "Ledgers.h"
#include "LoadedFiles.h"
#include "SelectorState.h"
#include "Text8.h"

LoadedListFields &LoadedList::own() {
    return s_.own(Key<LoadedList>());
}

void LoadedList::refresh() {
    s_.touch(Change::Ledger | Change::Autoscripts);
    if (!s_.FormReady)
        return;
    label8_ = fromGrids();
    if (colourLoaded)
        colourLoaded();
    QString error;
    if (!Ledgers::writeFoldersLoaded(s_.folders().ModFolder, Text8::fromUnicode(label8_), &error))
        ledgerFailed(error);
    loadedFiles_.follow();
    own().Text2 = label8_;
}

void LoadedList::set(const QString &label8) {
    label8_ = label8;
    own().Text2 = label8;
}

void LoadedList::resetScriptText() {
    own().Text2 = label8_;
}

void LoadedList::editScriptText(const QString &text) {
    own().Text2 = text;
}

QString LoadedList::fromGrids() const {
    QString label8;
    for (int r = 1; r < s_.Unigrid.rowCount(); ++r)
        if (const LoadGrid::Row &row = s_.Unigrid.row(r); row.loaded)
            label8 += row.name + QStringLiteral("\r\n");
    for (const SkinGrid::Row &row : s_.SK1.rows)
        if (row.loaded)
            label8 += row.name + QStringLiteral("\r\n");
    for (const SlotGrid::Row &row : s_.G1.rows)
        if (row.marked)
            label8 += row.folder + QStringLiteral("\r\n");
    return label8;
}

QStringList LoadedList::loadedNames() const {
    QStringList names = label8_.split(QStringLiteral("\r\n"));
    names.removeAll(QString());
    return names;
}
