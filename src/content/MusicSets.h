// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// The game's music sets and its default mission files, two tools of the "General" page that
/// act on the game folder directly.
///
/// The game plays GameFolder\Music. A music set is a subfolder whose name begins with
/// "MUSIC#" (any case); switching to it swaps the names of the two folders through the
/// temporary name "Musictemp". Every precondition is checked before the first rename, and a
/// rename that fails midway is undone, so the folders are always left with the names they had
/// or with the switch complete, never in between.
class MusicSets {
public:
    /// There are seven music buttons.
    static constexpr int Buttons = 7;
    static inline const QString Active = QStringLiteral("Music");
    static inline const QString Temp = QStringLiteral("Musictemp");

    /// The music sets of the game folder in folder-list order, at most `Buttons`; `skipped`
    /// gets how many more there are.
    static QStringList sets(const QString &gameFolder, int *skipped = nullptr);

    /// The name of a folder "Musictemp" (any case) left by an interrupted switch, or empty.
    static QString leftoverTemp(const QString &gameFolder);

    /// Makes the set `name` the active music and gives the active music the name `name`.
    /// Answers false with a message (the folders as they were) when the set or Music is
    /// missing, a Musictemp is in the way, or a rename is refused.
    static bool switchTo(const QString &gameFolder, const QString &name, QString *error);

    /// The first line of the set's music.txt (any case), at most `DescriptionBytes` of it;
    /// false when it has none.
    static bool description(const QString &gameFolder, const QString &name, QString *line);
    /// The caption shows a line or two: a music.txt of one huge line (megabytes without a
    /// line end) is neither read whole nor laid out, which froze the window.
    static constexpr qint64 DescriptionBytes = 300;

    /// `delmsn`: deletes the files "Default*.msn" (any case) of GameFolder\savedata. Answers
    /// false with a message naming the files that could not be deleted; the others are gone.
    static bool deleteDefaultMissions(const QString &gameFolder, int *deleted, QString *error);

    /// The subfolder of `folder` named `name` without regard to case (the exact name first),
    /// or empty.
    static QString findFolder(const QString &folder, const QString &name);
};
