// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

/// An alternative aircraft file (.vek): 8-bit text, one value a line, CR LF.
///
///     line 1        the aircraft name as shown in the aircraft grid; trimmed, it becomes
///                   the slot's entry of pnames.str
///     lines 2-169   the 168 bytes of the record span in decimal; the first of them, line 2,
///                   is the slot number and doubles as the record's slot byte
class DemoVekFile {
public:
    /// The file for `span` (168 bytes, span[0] the slot). `nameLine` is written as given,
    /// blanks included. Empty when the span is not 168 bytes long.
    static QByteArray bytes(const QByteArray &nameLine, const QByteArray &span);
};
