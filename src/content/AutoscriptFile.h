// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// An autoscript: a file in the VEK folder's "Autoscripts" folder naming what to load, in
/// order (content folders, skins, alternative aircraft, by their grid names).
class AutoscriptFile {
public:
    static inline const QString Folder = QStringLiteral("Autoscripts");

    /// The entries of an autoscript. An entry ends at a comma or a line end (CR LF or LF);
    /// an entry in double quotes keeps its commas and blanks and loses the quotes (text after
    /// the closing quote up to the next comma is dropped); blanks around an unquoted entry
    /// are dropped. An entry holding a path is cut to its last part (after the last "\" or
    /// "/"). An empty line gives one empty entry; the line end closing the file gives none.
    static QStringList entries(const QByteArray &bytes);

    /// The bytes saved for the edited loaded list `text`: its lines with CR LF ends (a lone
    /// LF from an editor becomes CR LF), then one more CR LF.
    static QByteArray bytes(const QString &text);

    /// Why `name` cannot be a file name in the autoscript folder (empty, "." or "..", or
    /// holding a path separator); empty when it can.
    static QString badName(const QString &name);
};
