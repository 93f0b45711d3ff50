// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <array>

/// The game's aircraft table planes.dat: 30 records of 216 bytes, one per aircraft slot, no
/// header. The selector owns only the span of record offsets 4 to 171 (what an alternative
/// aircraft replaces and the record editor shows); inside it, it interprets the slot number
/// (offset 4), the flag bytes (8 and 9) and the fuel load (40 and 41, little-endian). The
/// bytes outside the spans belong to the game: the span and fuel operations never write there,
/// and `writeBytes` writes only the positions it is handed.
///
/// Positions are 1-based file positions, as the grids show them. Every operation opens the
/// file, does its work and closes it; failures answer false with `error` naming the file and
/// the reason. The file is looked up without regard to case in its folder.
///
/// Decisions where the game's own tools check nothing:
/// - A slot outside 0 to 29 is refused: there is no 31st record and a write there would grow
///   the file.
/// - A missing file, or one too short to hold every addressed byte, is refused for reads and
///   writes alike, before anything is written. A swap must never lengthen planes.dat: a
///   lengthened table is not one the game wrote, and a short one is damaged anyway.
/// - A read-only file is refused for writes (the attribute is honoured even where this
///   process could override it).
/// - `writeBytes` checks every position (1 to the file's length) before the first byte is
///   written, so a bad list changes nothing. It addresses the whole file, not only the spans:
///   the same in-place rule serves the loadout patches of loadout.dat.
/// - The fuel load is read as an unsigned 16-bit number, 0 to 65535. For 0 to 32767 that is
///   the signed reading the game's tools use; a high byte of 128 or more would read as a
///   negative load, which no percentage of the fuel grid can scale sensibly. Read unsigned,
///   the player sees the number the bytes hold, and choosing 100 % writes back the same two
///   bytes, so nothing is lost or refused. `writeFuel` takes 0 to 65535 and refuses the rest.
class PlanesDat {
public:
    static constexpr int RecordSize = 216;
    static constexpr int SlotCount = 30;
    /// The span: record offsets 4 to 171.
    static constexpr int SpanOffset = 4;
    static constexpr int SpanSize = 168;
    static constexpr int TypeFlagsOffset = 8;
    static constexpr int NationGearFlagsOffset = 9;
    static constexpr int FuelOffset = 40;
    static constexpr int MaxFuel = 65535;

    /// One byte of the file: its 1-based position and its value.
    using PlaneByte = QPair<qint64, quint8>;

    static constexpr bool validSlot(int slot) { return slot >= 0 && slot < SlotCount; }

    /// slot * 216 + 4: span byte k (1 to 168) of the slot is at position spanBase + k.
    static constexpr qint64 spanBase(int slot) { return qint64(slot) * RecordSize + SpanOffset; }

    /// Position of the fuel load's low byte (the high byte follows): slot * 216 + 41.
    static constexpr qint64 fuelPosition(int slot) {
        return qint64(slot) * RecordSize + FuelOffset + 1;
    }

    /// The 168 bytes at positions spanBase + 1 to spanBase + 168, in file order.
    static bool readSpan(const QString &path, int slot, QList<PlaneByte> *span, QString *error);

    /// Writes the 168 bytes of `span` at positions spanBase + 1 to spanBase + 168, in place;
    /// every other byte of the file keeps its value. `span` must hold exactly 168 bytes.
    static bool writeSpan(const QString &path, int slot, const QByteArray &span, QString *error);

    /// Writes each value at its position, in list order, in place (the record editor's save;
    /// also usable for the game's other fixed-size tables, such as loadout.dat).
    static bool writeBytes(const QString &path, const QList<PlaneByte> &bytes, QString *error);

    /// The slot's fuel load, low byte at fuelPosition, high byte after it (see the class note
    /// on the unsigned reading).
    static bool readFuel(const QString &path, int slot, int *fuel, QString *error);

    /// Writes `fuel` (0 to 65535) as low byte, then high byte.
    static bool writeFuel(const QString &path, int slot, int fuel, QString *error);

    /// Bit i (0 = least significant) of a flag byte at index i.
    static std::array<bool, 8> flagBits(quint8 flags);
    static quint8 flagByte(const std::array<bool, 8> &bits);

    /// Captions of the bits of the flag byte at offset 8, bit 0 first.
    static const QStringList TypeFlagCaptions;
    /// Captions of the bits of the flag byte at offset 9, bit 0 first.
    static const QStringList NationGearFlagCaptions;
};
