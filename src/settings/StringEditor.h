// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class Prompt;

/// The model of the string file editor `SRForm`: the byte view `SFG1` (one column per byte of
/// the file), the string list `SFG2`, the text box `SRText` and the four buttons. The window
/// only shows this state and forwards the clicks and keys.
///
/// The file edited is the game's pnames.str, found without regard to case when "Load" reads
/// it; every later write goes to that same file, so the editor never writes outside the game
/// folder nor makes a second file differing only in case: a write is refused when the folder
/// holds the file under another case by then, and a failed Load empties the view, so nothing
/// is written until a Load succeeds. Every write replaces the file
/// atomically (temporary file and rename), and a read-only file is refused with a message.
///
/// The byte view holds bytes, not characters: a byte 0x00 shows an empty character cell, and
/// "Save the edited stringfile" writes the view as the whole file, an empty cell as the 0x00
/// it stands for, so the file ends up exactly as the view shows it.
class StringEditor {
public:
    /// Column widths of the byte view, in twips, after "Load" and after "Make".
    static constexpr int LoadColumnWidth = 480;
    static constexpr int MakeColumnWidth = 600;

    StringEditor(const QString &gameFolder, Prompt &prompt);

    /// `Command1` "Load, read and display an existing stringfile".
    bool Command1();
    /// `Command5` "Make a stringfile from the lines in this table>>": builds the file from
    /// `SFG2`, shows it in `SFG1` and writes it.
    bool Command5();
    /// `Command9` "Replace the text in this row": the current row of `SFG2` takes `SRText`.
    bool Command9();
    /// `Command3` "Save the edited stringfile": writes the byte view as the file.
    bool Command3();
    /// Right mouse button on `SFG2` row `row`: that row becomes current and its text goes
    /// into `SRText`.
    void rightClick(int row);
    /// The player's typing in `SRText`. A character the file's 8-bit text cannot hold is kept
    /// in mind, so "Replace" refuses the text instead of writing '?' for it.
    void setText(const QString &text);
    /// A key typed in `SFG1` column `column`: `key` is the character's byte; Enter (13) and
    /// Backspace (8) count as 0. The byte goes into the view and into the file at the
    /// column's position.
    bool keyPress(int column, int key);

    /// The character cell of a byte: empty for 0x00, a control picture below 0x20, else the
    /// Windows-1252 character.
    static QString character(quint8 byte);

    /// The file being edited; empty until "Load" found it.
    const QString &path() const { return path_; }

    QByteArray SFG1; ///< the byte view: column c is the byte at offset c
    int ColumnWidth = LoadColumnWidth;
    int LeftCol = 0;        ///< the column scrolled to the left edge (the first string)
    QList<QByteArray> SFG2; ///< the string list, row i = string i
    int SFG2Row = -1;       ///< current row of the string list
    QByteArray SRText;

private:
    bool loaded();
    bool write(const QByteArray &bytes);

    QString gameFolder_;
    Prompt &prompt_;
    QString path_;
    QString refusedText_; ///< what the last `setText` could not hold, for Replace's message
};
