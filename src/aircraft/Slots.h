// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// The game's 30 aircraft slots: record s of planes.dat and entry s of pnames.str.
class Slots {
public:
    static constexpr int Count = 30;

    /// Display names, as the fuel grid labels its rows ("P-38H", ..., "V -1").
    static const QStringList &displayNames();

    /// `PlaneCodes`: the four-letter codes of slots 0..29 ("p38h", ...), and an empty
    /// entry 30.
    static const QStringList &PlaneCodes();

    /// The slot filter entries: "ALL", then "A-00: P38H" ... "A-29: V1V1".
    static QStringList filterEntries();
};
