// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// What an archive holds decides where it goes in the VEK folder. This is the decision alone,
/// on the entries' names: no file is read or written here.
///
/// - Folders at the top whose names are all those of content folders (a group letter of
///   vek.ini and "-" or a blank: "A-Eastern Front", "G Cockpit sounds") or of skins ("A-05 Red
///   Tails", which goes into Skinfolder, or "Skinfolder" itself, each of its folders a skin):
///   each of them, under its own name, all or none.
/// - One folder of another name at the top (what a download wraps its content in): the same
///   test one level down.
/// - A VEK folder of its own (the archive's top, or its one folder, holds `linkscreen`): a
///   collection or its update. Its content folders and skins each under their own names, the
///   folders of its `Skinfolder` as skins, the files of its `Autoscripts` as autoscripts; its
///   `vek.ini`, `links.txt` and `helpfile.txt` are merged by the import, anything else is left
///   out (`leftOut`).
/// - Anything else (loose files, folders of other names beside each other, a wrapper holding
///   files): one content folder, whose name the player gives.
class ArchiveLayout {
public:
    /// One entry of the archive, its name made a path by `entryPath`.
    struct Entry {
        QString path;
        bool folder = false;
    };

    /// One folder the import makes.
    struct Target {
        QString place; ///< relative to the VEK folder, "/" between names: "A-One", "Skinfolder/A-05
                       ///< Red"
        QString prefix; ///< the archive path whose contents it receives: "", "Pack/", "A-One/"
        /// A single file (an autoscript): `prefix` is the file's own archive path.
        bool file = false;
    };

    struct Plan {
        QList<Target> targets;
        /// The archive names no folder: the player gives the name (`suggestion` is offered).
        bool needsName = false;
        QString suggestion;
        /// Why the archive cannot be imported as it is; empty when it can.
        QString refusal;
        /// A collection: the archive path of its VEK folder ("" or "Pack/"), where its
        /// vek.ini, links.txt and helpfile.txt are; empty `collection` false otherwise.
        bool collection = false;
        QString root;
        /// What of a collection is not imported: the archive paths of its other folders.
        QStringList leftOut;
    };

    /// The archive path of the VEK folder an archive is shaped like ("" its top, "Pack/" its one
    /// folder): where a file `linkscreen` is, in any case. False when it holds none there.
    static bool collectionRoot(const QList<Entry> &entries, QString *root);

    /// Turns an entry's name into a path inside the target folder, "/" between names. A
    /// backslash separates names too, as it does where the game runs, so "..\x" is caught
    /// like "../x". Refused, with the reason: an absolute path, a drive letter, a ".." step, a
    /// name Windows cannot hold (see `windowsProblem`) or 8-bit text (Windows-1252) cannot
    /// spell, an empty name.
    static bool entryPath(const QString &name, QString *path, QString *reason);
    /// Why Windows cannot hold the file or folder name `name` (one name, no separator): a
    /// control character or one of <>:"|?*, a dot or blank at its end, or a device's name
    /// (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, in any case, with or without an
    /// extension). Empty when it can. Refused on every system: what is imported here is
    /// shared with players on Windows.
    static QString windowsProblem(const QString &name);
    /// The place of `path` inside the folder `root`, in the form places are written in: "/"
    /// between names, whichever separator the system's paths (`FileList::join`) put there. A
    /// backslash counts as one too: no name of a place holds one (see `entryPath`).
    static QString placeIn(const QString &root, const QString &path);

    /// Whether a folder name is a content folder's: a letter of `groupLetters` (any letter
    /// when the list is empty, as without vek.ini), then "-" or a blank, then more.
    static bool contentName(const QString &name, const QStringList &groupLetters);
    /// Whether a folder name is a skin's: "A-", the two digits of an aircraft slot (00 to
    /// 30), then the end or a blank, as the slot filter reads it.
    static bool skinName(const QString &name);
    /// Whether the player may give a folder this name: a single name Windows can hold, not
    /// hidden, not one of the VEK folder's own ("Autoscripts", "Skinfolder"); empty when it
    /// may, else why not.
    static QString nameProblem(const QString &name);

    /// Where the entries go. `name` is the player's name for the folder (empty when none was
    /// given): it names the one folder of an archive that names none, and renames the one
    /// folder of an archive that does; with several it is refused. `archiveName` (the file's
    /// base name) is the suggestion when the archive has nothing better.
    static Plan plan(const QList<Entry> &entries, const QStringList &groupLetters,
                     const QString &name, const QString &archiveName);
};
