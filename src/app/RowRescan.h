// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <utility>

/// The rows of a grid read again from its folder, for folders added or removed since: `fresh`
/// holds a row for each folder there now, in grid order. A row already in `rows` keeps its
/// marks; a row whose folder has gone goes, unless it is loaded (its files are in the game
/// folder, and its unload tells that the folder has gone): that one stays, in its place by
/// name. Answers whether any row came or went; `rows` is changed only then.
template <class Row> bool rescanRows(QList<Row> &rows, const QList<Row> &fresh) {
    QHash<QString, Row> known;
    for (const Row &r : std::as_const(rows))
        known.insert(r.name, r);
    QList<Row> now;
    now.reserve(fresh.size());
    for (const Row &r : fresh)
        now.append(known.contains(r.name) ? known.take(r.name) : r);
    for (const Row &gone : std::as_const(known))
        if (gone.loaded) {
            qsizetype at = 0;
            while (at < now.size() && now.at(at).name.compare(gone.name, Qt::CaseInsensitive) < 0)
                ++at;
            now.insert(at, gone);
        }
    bool same = now.size() == rows.size();
    for (qsizetype i = 0; same && i < now.size(); ++i)
        same = now.at(i).name == rows.at(i).name;
    if (!same)
        rows = std::move(now);
    return !same;
}
