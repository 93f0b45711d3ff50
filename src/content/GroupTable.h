// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

/// The group table vek.ini: one group per line, "description:letter". The letter is the
/// line's last character, so "Aircraft: A" still gives "A".
///
/// Choices for files the selector did not write:
/// - a line without ":" is still a group (so line k stays group k); its description is the
///   whole line;
/// - only the first 31 lines are groups; further lines are ignored and reported;
/// - a missing or unreadable vek.ini gives no groups and is reported; the window still opens
///   with "Show ALL" and "Show Selections".
class GroupTable {
public:
    static constexpr int MaxGroups = 31;

    /// Reads `ModFolder`\vek.ini (any case). Answers false with `problem` set when the player
    /// should hear about the file; the table is filled as far as it could be either way.
    bool read(const QString &modFolder, QString *problem);

    /// Fills the table from lines already read.
    void parse(const QList<QByteArray> &lines);

    /// Descriptions in file order (entries 2.. of the group filter).
    QStringList descriptions;
    /// Letter of group k; empty beyond the file's lines.
    std::array<QString, MaxGroups> GroupLetters;
    /// Lines of the file, including those beyond the table.
    int lineCount = 0;
};
