// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Progress;

/// Brings the content folders (or skins) an archive holds into the VEK folder in one step,
/// whole or not at all, whatever the archive holds. An archive shaped like a VEK folder (a
/// collection, see `ArchiveLayout`) brings its content folders, skins and autoscripts, and
/// adds to the VEK folder's vek.ini, links.txt and helpfile.txt what they lack.
///
/// The archive is read twice. The first pass reads the headers only: every entry must be a
/// file or a folder (no link, no device), its name a path inside its folder
/// (`ArchiveLayout::entryPath`), no two names the same but for case; the names decide the
/// folders (`ArchiveLayout::plan`); a folder already there is replaced only when it is not
/// loaded and `replace` says so (the selector's own folders, its save stores among them, never);
/// and the sizes the headers claim must fit the disk. Nothing
/// is written until all of that holds. The second pass unpacks into a hidden folder of the VEK
/// folder (`ImportStaging`), stopping at an entry that holds more bytes than it claims (or
/// fewer), or once the bytes unpacked outgrow `MaxRatio` times the archive's bytes read (a
/// bomb), and at Cancel; then renames the folders into place.
class ImportArchive {
public:
    /// Unpacked bytes may reach this many times the archive's bytes read...
    static constexpr qint64 MaxRatio = 100;
    /// ... or this many bytes, whichever is more: below it no archive fills a disk, and a
    /// small archive of a few flat pictures may well pack tighter than `MaxRatio`.
    static constexpr qint64 RatioFloor = qint64(16) << 20;

    enum class Result {
        Imported,  ///< the folders are in place
        NeedsName, ///< the archive names no folder: ask the player (`suggestion`) and run again
        Refused,   ///< nothing written: `message` says why
        Cancelled, ///< the player cancelled; nothing is left
        Failed,    ///< a damaged archive, a full disk ...: nothing is left; `message` says why
    };

    struct Outcome {
        Result result = Result::Failed;
        QString message;
        /// The folders made (or that would be), relative to the VEK folder: "A-One",
        /// "Skinfolder/A-05 Red".
        QStringList places;
        /// Those of `places` that replaced a folder.
        QStringList replaced;
        QString suggestion;
        qsizetype files = 0;
        /// A VEK folder of its own was imported (a collection, or its update): `added` says
        /// what its text files added to the VEK folder's ("the group "Ships:S" in vek.ini",
        /// "2 links in links.txt"), `leftOut` the archive paths of its folders not imported.
        bool collection = false;
        QStringList added;
        QStringList leftOut;
    };

    struct Options {
        /// The player's name for the folder; empty for none.
        QString name;
        /// vek.ini's group letters: the names of content folders.
        QStringList groupLetters;
        /// Whether the folder at this place (relative, as the VEK folder spells it) is loaded:
        /// a loaded folder is never replaced.
        std::function<bool(const QString &place)> loaded;
        /// The save stores of the missions in the VEK folder ("C-Alpha" of "M-Alpha"): like
        /// "C-Default", "Interchange", "Skinfolder" and "Autoscripts", never made nor replaced
        /// by an import, whatever vek.ini's groups say.
        QStringList stores;
        /// The save store of a mission folder ("C-Beta" of "M-Beta"), empty for other names:
        /// a collection's stores stay out with the selector's own folders.
        std::function<QString(const QString &folder)> storeOf;
        /// Asked once, with the places that would be replaced; true to replace them.
        std::function<bool(const QStringList &places)> replace;
        /// Told each file unpacked; may cancel.
        Progress *progress = nullptr;
    };

    /// An archive holding text files and exactly one archive (a download wrapped once more)
    /// imports the inner one, its readmes kept as `contents.txt` in each content folder it
    /// brings that has none; the inner archive is unpacked into the hidden folder first.
    static Outcome run(const QString &archive, const QString &modFolder, const Options &options);

    /// The name a wrapped download's readmes are kept under.
    static inline const QString ContentsFile = QStringLiteral("contents.txt");

    /// Why an archive that unpacks to `needed` bytes does not fit a disk with `free` bytes:
    /// sizes in bytes, KB (under 1 MB) or MB, with as many decimals as it takes for the larger
    /// to read larger.
    static QString spaceRefusal(qint64 needed, qint64 free);

    /// The file names of the archives a player is offered (a file dialog's filter) and whose
    /// drop on the window imports them.
    static inline const QStringList Patterns = {
        QStringLiteral("*.zip"),     QStringLiteral("*.7z"),     QStringLiteral("*.rar"),
        QStringLiteral("*.tar"),     QStringLiteral("*.tar.gz"), QStringLiteral("*.tgz"),
        QStringLiteral("*.tar.bz2"), QStringLiteral("*.tbz2"),   QStringLiteral("*.tar.xz"),
        QStringLiteral("*.txz")};
    /// Whether a file's name is one of `Patterns`, in any case.
    static bool isArchiveName(const QString &fileName);

private:
    /// `run` for one archive; with `readme` it is the archive inside another (never looked into
    /// once more), and a non-empty `readme` goes into its content folders.
    static Outcome runOne(const QString &archive, const QString &modFolder, const Options &options,
                          const QByteArray *readme);
    /// The inner archive `inner` of `archive` imported, with `readme`.
    static Outcome nested(const QString &archive, const QString &inner, const QByteArray &readme,
                          const QString &modFolder, const Options &options);
};
