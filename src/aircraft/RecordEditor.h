// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class Prompt;

/// The model of the planes.dat record editor `Airgrid`: the aircraft list `List1`, the byte
/// grid `G1` of the chosen slot's span and the flag boxes `Check1` (the type byte, span row 5)
/// and `Check2` (the nation and gear byte, span row 6). A click on a box writes the span back
/// at once; the window only shows this state and forwards the clicks.
///
/// Decisions where the game's own editor checks nothing:
/// - A planes.dat that is missing, or too short for the chosen slot, is named in a message;
///   the grid and the boxes then show nothing for that slot and no click writes.
/// - A read-only planes.dat is named in a message as soon as a slot is shown (before any
///   click could write); the record is shown, `ReadOnly` is set and clicks write nothing.
/// - Ticking one box of an exclusive pair ("Twin engined"/"Four engined", "Gear
///   Inwards"/"Gear Outwards") clears the other in the same save: the file ends with only the
///   new box of the pair set.
/// - A click reads the record again before it writes: the 166 other bytes of the span are
///   written back as the file holds them at that moment, and the clicked box changes the flag
///   byte as it is in the file, so a change made meanwhile (a slot swap) is never undone.
class RecordEditor {
public:
    /// One row of `G1`: column 0 the 1-based file position, 1 the value read, 2 the value
    /// written back.
    struct Row {
        qint64 position = 0;
        int read = 0;
        int current = 0;
    };

    /// `List1`: the game's aircraft, list index = slot.
    static const QStringList AircraftNames;
    /// Span rows (1-based) of the two flag bytes.
    static constexpr int TypeRow = 5;
    static constexpr int NationRow = 6;

    RecordEditor(const QString &gameFolder, Prompt &prompt);

    /// A click on `List1`: shows the slot's span. False (the player told) when planes.dat
    /// cannot give it; nothing is shown then.
    bool showSlot(int slot);

    /// A click on box `bit` of `Check1` (`group` 1) or `Check2` (`group` 2), leaving it
    /// `ticked`. Nothing while no record is shown or the file is read-only. Answers whether
    /// the span was written.
    bool clickCheck(int group, int bit, bool ticked);

    const std::array<bool, 8> &checks(int group) const { return group == 1 ? Check1 : Check2; }

    int List1Index = -1;
    qint64 SpanBase = 0;
    QList<Row> rows; ///< G1 rows 1 to 168 (index k - 1), empty while nothing is shown
    bool Loaded = false;
    bool ReadOnly = false;
    std::array<bool, 8> Check1{};
    std::array<bool, 8> Check2{};
    QString F1; ///< frame caption: the type byte after the last click on Check1
    QString F2; ///< frame caption: the nation and gear byte after the last click on Check2

private:
    QString path() const;
    void clear();

    QString gameFolder_;
    Prompt &prompt_;
};
