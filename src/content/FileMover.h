// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class KeptFiles;
class Progress;

/// Moves a content folder's files into the game folder and out again, by name. Only the
/// folder's own files take part, never its subfolders.
///
/// Cost: one listing of the content folder and one of the game folder per call, whatever
/// the number of files, so loading n files into a game folder of m files costs O(n + m).
class FileMover {
public:
    /// Called with the progress caption just before each file is copied or deleted. Putting
    /// the caller's own caption back afterwards is the caller's business.
    using Caption = std::function<void(const QString &)>;
    /// A test on a file name: for `MoveIn` the files left out, for `MoveOut` the files left in
    /// the game folder.
    using Rule = std::function<bool(const QString &)>;

    /// Whether `MoveIn` leaves a file out: names beginning "ECA", the preview picture "MYPIC",
    /// the description "CONTENTS.TXT", and pictures ending ".JPG", ".PCX", ".BMP", ".GIF"
    /// (all tested on the upper-cased name).
    static bool skipped(const QString &name);

    /// Copies every file of `folder` not left out by `skip` (by default `skipped`) into
    /// `gameFolder`, replacing a file of the same name there (under any case: the present name is
    /// kept), and gives both the source and the copy normal attributes. A `folder` equal to
    /// `gameFolder` (exact comparison) does nothing. Progress: "Please wait- copying: :" + name.
    ///
    /// On a failure the copies this call made are removed again, so the game folder holds
    /// none of the folder's files that it did not hold before. With `kept`, every game file a
    /// copy replaces is kept first (see `KeptFiles`) and a failure puts each one back, so the
    /// game folder is byte for byte as before the call; after a call that worked the caller
    /// drops them once its operation is over. Without `kept` a game file that a copy had
    /// already replaced is gone. Answers false with `error` naming the file and the reason.
    ///
    /// `progress` (when given) is asked before each file; when it says stop, the call ends
    /// as after a failure (the copies made are removed) and `progress->stopped()` tells the
    /// caller that it was cancelled.
    static bool MoveIn(const QString &folder, const QString &gameFolder, const Caption &caption,
                       QString *error, const Rule &skip = skipped, Progress *progress = nullptr,
                       KeptFiles *kept = nullptr);

    /// Deletes from `gameFolder` every file named like a file of `folder` (compared without
    /// regard to case). Of a name present under several cases, the files holding the bytes of
    /// `folder`'s file go and the others stay, each named as a file it could not take out.
    /// Files whose name `keep` accepts stay (content folders have no such rule; skins do).
    /// Progress: "Deleting " + name.
    ///
    /// All or nothing, like a load: when one file cannot go (read-only, in a read-only folder,
    /// a folder by its name, marked unchangeable by the system, a case variant that stays),
    /// none goes, and the call answers false with `error` naming each such file and why. A
    /// delete that fails all the same stops the deletes, and the files already deleted are
    /// copied back from `folder`. When `progress` says stop, the files deleted so far stay
    /// deleted (the caller undoes the cancel), and the call answers false with
    /// `progress->stopped()` set. `listed`, when given, holds the names of `folder`'s files as
    /// the caller has just listed them (the journal's record), so that the folder is not read
    /// a second time.
    static bool MoveOut(const QString &folder, const QString &gameFolder, const Caption &caption,
                        QString *error, const Rule &keep = {}, Progress *progress = nullptr,
                        const QStringList *listed = nullptr);
};
