#pragma once

#include <QString>
#include <QStringList>

/// The copy that loads content into the game folder: as fast as the system's own copy, and
/// never a half-written target.
///
/// The bytes go into a temporary file created exclusively beside the target, which is then
/// renamed over it, so a reader of the game folder sees the old file or the whole new one and
/// a failure leaves the target as it was. Unlike `FileOps::copyReplace` this does not sync
/// the copy to disk: a content folder is copied by the thousand files, a sync per file makes
/// a load many times slower than the system's copy, and nothing is lost if a crash takes a
/// copy: the source stays in the VEK folder and loading again restores it. Copies that must
/// survive a crash because their source goes away (campaign saves) use `FileOps`.
class FileCopy {
public:
    /// Copies `from` over `to`. The copy gets normal attributes; with `normalSource` the
    /// source gets them too (set on the already open file, so it costs no second lookup).
    /// Refused: a read-only `to`, a folder at `to`, a source that is not a file. Failing
    /// calls answer false with `error` naming the file and the reason.
    static bool copyReplace(const QString &from, const QString &to, QString *error,
                            bool normalSource = false);

    /// The same copy through Qt alone, used where the system offers no faster primitive.
    /// Public so that it is tested on every platform, not only where it is the one in use.
    static bool copyReplacePortable(const QString &from, const QString &to, QString *error,
                                    bool normalSource = false);

    /// The names of the files of `folder` (what `FileList::files` lists for "*.*"), in no
    /// particular order. This is the listing for copying or deleting many files by name in a
    /// big folder: it reads the folder once at the speed of the system's own listing, where a
    /// sorted listing costs several times more in a game folder of tens of thousands of files.
    /// A folder that cannot be read answers false with `error` naming it and the reason.
    static bool fileNames(const QString &folder, QStringList *names, QString *error);

    /// Deletes the file `path`; a read-only file or a folder is refused, and a file that is
    /// already gone counts as deleted. One status query and one unlink, nothing more: an
    /// unload deletes thousands of files.
    static bool removeFile(const QString &path, QString *error);
};
