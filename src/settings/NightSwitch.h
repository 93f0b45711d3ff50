// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// The day-to-night patch of the game program: two bytes of GameFolder\eaw.exe, at an offset
/// that depends on the game's version.
///
/// The bytes are checked before anything is written: the two bytes at the version's offset
/// must be the normal pair or the night pair. Anything else means the file is not that
/// version of the program (or not the program at all), and writing there would damage it, so
/// the switch refuses and writes nothing. A file that ends before the two bytes is refused too,
/// never lengthened.
class NightSwitch {
public:
    struct Version {
        const char *caption; ///< the `niteopt` caption
        const char *name;    ///< the command-line name
        qint64 offset;       ///< 0-based offset of the first byte
    };
    /// `niteopt` indices 0 to 3.
    static const Version Versions[4];
    static inline const QByteArray NightBytes = QByteArrayLiteral("\xEB\x5F");
    static inline const QByteArray NormalBytes = QByteArrayLiteral("\x94\x07");

    /// How long a program must be to hold any version's two bytes: the smallest offset + 2.
    /// A shorter one is none of the versions the switch knows, or one cut short.
    static qint64 reach();

    /// The version index for a command-line name ("1.2", "1.1", "1.0", "1.2a"), or -1.
    static int versionNamed(const QString &name);

    /// "Day ==> Night" (`night` true) or "Reset to normal" for version `index`. Answers false
    /// with a message naming the file and the reason when nothing could be written.
    static bool apply(const QString &gameFolder, int index, bool night, QString *error);

    /// What the game program holds now, in words for the player: night or day missions and
    /// the version whose bytes say so, or that no version's bytes are there.
    static QString state(const QString &gameFolder);
};
