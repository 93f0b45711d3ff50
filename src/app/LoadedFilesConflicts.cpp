// SPDX-License-Identifier: GPL-3.0-or-later
// Which game files a folder or skin would replace, and whose they are now: the preview of a
// click and the shared-files list.
#include "LoadedFiles.h"

#include "FileList.h"
#include "FileMover.h"
#include "NativePath.h"
#include "Prompt.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "SkinGrid.h"

#include <algorithm>
#include <filesystem>

void LoadedFiles::refreshPicture(bool tell) {
    follow();
    std::error_code ec;
    const auto stamp = std::filesystem::last_write_time(nativePath(s_.GameFolder()), ec);
    const qint64 time = ec ? -1 : qint64(stamp.time_since_epoch().count());
    if (picture_.valid && picture_.order == order_ && picture_.gameFolderTime == time)
        return;
    // A folder's time has the granularity of the system's clock tick, so a change in the same
    // tick as the listing would not show: a time less than two seconds before the listing is
    // not trusted, and the next call lists again.
    using Clock = std::filesystem::file_time_type::clock;
    picture_.valid = !ec && Clock::now() - stamp > std::chrono::seconds(2);
    picture_.order = order_;
    picture_.gameFolderTime = time;
    QStringList problems;
    picture_.owners.build(carriers({}), &problems);
    if (tell)
        for (const QString &p : std::as_const(problems))
            r_.report(p);
    picture_.inGame.clear();
    for (const QString &f : FileList::files(s_.GameFolder()))
        picture_.inGame.insert(f.toCaseFolded());
}

QList<LoadedFiles::Replaced> LoadedFiles::replacedBy(const Entry &entry, const QString &folder,
                                                     bool tell) {
    refreshPicture(tell);
    const Ownership &now = picture_.owners;
    QList<Replaced> out;
    for (const QString &file : FileList::files(folder)) {
        const bool left =
            entry.skin ? SkinGrid::skippedOnLoad(file, entry.withFlt) : FileMover::skipped(file);
        if (left || !picture_.inGame.contains(file.toCaseFolded()))
            continue;
        const Ownership::File *owned = now.find(file);
        out << Replaced{file, owned ? now.carriers().at(owned->owner()).name : QString()};
    }
    return out;
}

bool LoadedFiles::conflictsOf(const QString &name, QStringList *lines) {
    const bool skin = s_.Unigrid.find(name) == 0 && s_.SK1.find(name) > 0;
    const Entry entry{skin, name, s_.Check5};
    const QString folder = folderOf(entry);
    if (folder.isEmpty() || (!skin && s_.Unigrid.find(name) == 0)) {
        r_.prompt().fail(
            QStringLiteral("There is no content folder or skin named \"%1\".").arg(name));
        return false;
    }
    for (const Replaced &r : replacedBy(entry, folder, true))
        *lines << r.file + QLatin1Char('\t') +
                      (r.owner.isEmpty() ? QStringLiteral("game") : r.owner);
    return true;
}

namespace {
QString files(qsizetype n) {
    return n == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(n);
}
} // namespace

QString LoadedFiles::clickPreview(int row) {
    if (row < 1 || row >= s_.Unigrid.rowCount() || s_.Unigrid.row(row).path.isEmpty() ||
        s_.Unigrid.row(row).path == s_.GameFolder())
        return {};
    const LoadGrid::Row &target = s_.Unigrid.row(row);
    if (!target.loaded) {
        // Whose files the load replaces, the loaded folders latest first, the game's own last.
        const QList<Replaced> replaced =
            replacedBy(Entry{false, target.name, true}, target.path, false);
        // The click takes the loaded folder of its group out without asking: the preview is
        // where the player learns of it.
        QString takesOut;
        if (const int out = s_.Unigrid.takenOutBy(row); out > 0) {
            const QString &name = s_.Unigrid.row(out).name;
            takesOut = QStringLiteral(" It first takes out \"%1\", the loaded folder of its group")
                           .arg(name);
            takesOut += s_.Unigrid.letter(row) == QLatin1String("M")
                            ? QStringLiteral(", and swaps the campaign saves: those of \"%1\" go "
                                             "back to its store, those of \"%2\" come into "
                                             "Savedata.")
                                  .arg(name, target.name)
                            : QStringLiteral(".");
        }
        if (replaced.isEmpty())
            return QStringLiteral("Loading it replaces no file in the game folder.") + takesOut;
        QStringList owners;
        QHash<QString, int> count;
        for (const Replaced &r : replaced)
            if (count[r.owner]++ == 0)
                owners << r.owner;
        std::sort(owners.begin(), owners.end(), [this](const QString &a, const QString &b) {
            const int ia = picture_.owners.indexOf(a), ib = picture_.owners.indexOf(b);
            return ia > ib;
        });
        QStringList parts;
        for (const QString &o : std::as_const(owners))
            parts << (o.isEmpty() ? QStringLiteral("%1 of the game's own").arg(count[o])
                                  : QStringLiteral("%1 of \"%2\"").arg(count[o]).arg(o));
        return QStringLiteral("Loading it replaces %1 in the game folder: %2.")
                   .arg(files(replaced.size()), parts.join(QStringLiteral(", "))) +
               takesOut;
    }
    // Loaded: what its unload deletes, and what comes back from folders that stay loaded.
    refreshPicture(false);
    const Ownership &now = picture_.owners;
    const int gone = now.indexOf(target.name);
    if (gone < 0)
        return {};
    QStringList deleted;
    for (const QString &f : now.carried(gone))
        if (picture_.inGame.contains(f.toCaseFolded()))
            deleted << f;
    if (deleted.isEmpty())
        return QStringLiteral("Unloading it deletes no file from the game folder.");
    QStringList from;
    QHash<QString, int> back;
    for (const QString &f : std::as_const(deleted)) {
        const Ownership::File *file = now.find(f);
        // The carrier loaded last of those staying is the one the unload copies back from.
        for (qsizetype k = file ? file->carriers.size() - 1 : -1; k >= 0; --k) {
            const int c = file->carriers.at(k);
            if (c == gone)
                continue;
            const QString &name = now.carriers().at(c).name;
            if (back[name]++ == 0)
                from << name;
            break;
        }
    }
    QString text =
        QStringLiteral("Unloading it deletes %1 from the game folder.").arg(files(deleted.size()));
    if (!from.isEmpty()) {
        QStringList parts;
        for (const QString &o : std::as_const(from))
            parts << QStringLiteral("%1 from \"%2\"").arg(back[o]).arg(o);
        text += QStringLiteral(" Folders that stay loaded carry some of them too, so they come "
                               "back: %1.")
                    .arg(parts.join(QStringLiteral(", ")));
    }
    return text;
}

QStringList LoadedFiles::sharedFiles(bool tell) {
    refreshPicture(tell);
    const Ownership &now = picture_.owners;
    QStringList lines;
    for (const Ownership::File &file : now.files()) {
        if (file.carriers.size() < 2)
            continue;
        QStringList others;
        for (qsizetype k = file.carriers.size() - 2; k >= 0; --k)
            others << now.carriers().at(file.carriers.at(k)).name;
        lines << file.name() + QLatin1Char('\t') + now.carriers().at(file.owner()).name +
                     QLatin1Char('\t') + others.join(QStringLiteral(", "));
    }
    return lines;
}
