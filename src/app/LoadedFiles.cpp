#include "LoadedFiles.h"

#include "AltPlane.h"
#include "FileList.h"
#include "FileMover.h"
#include "Ledgers.h"
#include "NativePath.h"
#include "OperationJournal.h"
#include "PickMenu.h"
#include "Prompt.h"
#include "Selector.h"
#include "SkinGrid.h"
#include "Skins.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>

namespace {
const QByteArray kFolder = "folder";
const QByteArray kSkin = "skin";
const QByteArray kNoFlt = "no flt";

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}
} // namespace

QList<LoadedFiles::Entry> LoadedFiles::marked() const {
    QList<Entry> out;
    for (int r = 1; r < s_.Unigrid.rowCount(); ++r)
        if (s_.Unigrid.row(r).loaded)
            out << Entry{false, s_.Unigrid.row(r).name, true};
    for (const SkinGrid::Row &row : s_.SK1.rows)
        if (row.loaded)
            out << Entry{true, row.name, s_.skins().Check5};
    return out;
}

void LoadedFiles::readLedger() {
    if (read_)
        return;
    read_ = true;
    order_.clear();
    const QString name = FileList::find(s_.ModFolder(), Ledgers::LoadOrder);
    QList<QByteArray> lines;
    if (!name.isEmpty() &&
        TextFile::readLines(FileList::join(s_.ModFolder(), name), &lines, nullptr))
        order_ = parse(lines);
}

QList<LoadedFiles::Entry> LoadedFiles::parse(const QList<QByteArray> &lines) {
    QList<Entry> entries;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> parts = line.split('\t');
        if (parts.size() < 2 || (parts[0] != kFolder && parts[0] != kSkin))
            continue;
        entries << Entry{parts[0] == kSkin, Text8::toUnicode(parts[1]),
                         !(parts.size() > 2 && parts[2] == kNoFlt)};
    }
    return entries;
}

QList<QByteArray> LoadedFiles::lines() const {
    QList<QByteArray> lines;
    for (const Entry &e : std::as_const(order_)) {
        QByteArray line = (e.skin ? kSkin : kFolder) + '\t' + Text8::fromUnicode(e.name);
        if (e.skin && !e.withFlt)
            line += '\t' + kNoFlt;
        lines << line;
    }
    return lines;
}

void LoadedFiles::writeLedger() {
    QString error;
    if (!TextFile::writeLines(FileList::resolve(s_.ModFolder(), Ledgers::LoadOrder), lines(),
                              &error))
        s_.journal().ledgerFailed(error);
}

QStringList LoadedFiles::ledgerLines() {
    follow();
    QStringList out;
    for (const QByteArray &line : lines())
        out << Text8::toUnicode(line);
    return out;
}

void LoadedFiles::recovered(const QStringList &before, const QList<Journal::Move> &moves,
                            const QList<QByteArray> &loaded) {
    read_ = false;
    readLedger();
    if (!before.isEmpty()) {
        QList<QByteArray> kept;
        for (const QString &line : before)
            kept << Text8::fromUnicode(line);
        order_ = parse(kept);
    }
    for (const Journal::Move &m : moves) {
        const Entry entry{m.rule != Journal::ContentRule, m.name,
                          m.rule != Journal::SkinWithoutFltRule};
        const auto at = std::find_if(order_.begin(), order_.end(), [&entry](const Entry &e) {
            return e.skin == entry.skin && e.name == entry.name;
        });
        if (!loaded.contains(Text8::fromUnicode(m.name))) {
            if (at != order_.end())
                order_.erase(at);
        } else if (m.in && at == order_.end()) {
            // The whole load would have put it last.
            order_ << entry;
        }
    }
    writeLedger();
    // The re-load reads it again.
    read_ = false;
}

void LoadedFiles::follow() {
    reconcile(false);
}

void LoadedFiles::startUp() {
    read_ = false;
    reconcile(true);
}

void LoadedFiles::reconcile(bool unknownFirst) {
    readLedger();
    const QList<Entry> now = marked();
    const auto in = [](const QList<Entry> &list, const Entry &e) {
        return std::any_of(list.begin(), list.end(),
                           [&e](const Entry &x) { return x.skin == e.skin && x.name == e.name; });
    };
    QList<Entry> kept;
    QList<Entry> unknown; // marked loaded, but not in the ledger
    for (const Entry &e : std::as_const(order_))
        if (in(now, e) && !in(kept, e))
            kept << e;
    for (const Entry &e : now)
        if (!in(kept, e))
            unknown << e;
    const QList<Entry> next = unknownFirst ? unknown + kept : kept + unknown;
    if (next == order_)
        return;
    order_ = next;
    writeLedger();
    // A check of what was loaded before says nothing of what is loaded now.
    Findings.clear();
    CheckResult.clear();
}

QStringList LoadedFiles::order() {
    follow();
    QStringList names;
    for (const Entry &e : std::as_const(order_))
        names << e.name;
    return names;
}

QString LoadedFiles::folderOf(const Entry &e) const {
    if (e.skin)
        return FileList::join(s_.skins().skinFolder(), e.name);
    const int row = s_.Unigrid.find(e.name);
    return row > 0 ? s_.Unigrid.row(row).path : QString();
}

QList<Ownership::Carrier> LoadedFiles::carriers(const QString &without) {
    follow();
    QList<Ownership::Carrier> out;
    for (const Entry &e : std::as_const(order_)) {
        const QString folder = folderOf(e);
        if (folder.isEmpty() || folder == without || folder == s_.GameFolder())
            continue;
        Ownership::Carrier c{e.name, folder, FileMover::skipped, {}};
        if (e.skin) {
            const bool withFlt = e.withFlt;
            c.skip = [withFlt](const QString &n) { return SkinGrid::skippedOnLoad(n, withFlt); };
            c.keep = SkinGrid::keptOnUnload;
        }
        out << c;
    }
    return out;
}

Ownership LoadedFiles::ownership(const QString &without) {
    Ownership o;
    QStringList problems;
    o.build(carriers(without), &problems);
    for (const QString &p : problems)
        s_.report(p);
    return o;
}

bool LoadedFiles::changedBySelector(const QString &name) {
    return presenceOnly_.contains(name, Qt::CaseInsensitive);
}

bool LoadedFiles::run(QStringList *problems) {
    presenceOnly_ = {QStringLiteral("planes.dat"),  QStringLiteral("pnames.str"),
                     QStringLiteral("loadout.dat"), QStringLiteral("flt.cdf"),
                     QStringLiteral("V1V1.FLT"),    QStringLiteral("eaw.ini"),
                     QStringLiteral("eaw.exe")};
    for (PickMenu::Side side :
         {PickMenu::Side::American, PickMenu::Side::British, PickMenu::Side::German})
        presenceOnly_ << PickMenu::fileName(side);
    // The flight file of an aircraft swapped in replaced the one its folder brought.
    for (int r = 1; r < s_.G1.rowCount(); ++r) {
        if (!s_.G1.row(r).marked)
            continue;
        AltPlane plane;
        plane.folder = s_.G1.folderPath(r);
        plane.findExtras();
        if (!plane.fltPath.isEmpty())
            presenceOnly_ << QFileInfo(plane.fltPath).fileName();
    }
    const Ownership o = ownership();
    Findings = FileCheck::verify(
        o, s_.GameFolder(), [this](const QString &n) { return changedBySelector(n); }, problems);
    QStringList lines;
    for (const FileCheck::Finding &f : std::as_const(Findings))
        lines << f.line();
    if (!problems->isEmpty())
        lines << QStringLiteral("Some files could not be read; the player was told which.");
    CheckResult = lines.isEmpty() ? QStringLiteral("All loaded files are whole.")
                                  : lines.join(QLatin1Char('\n'));
    return Findings.isEmpty() && problems->isEmpty();
}

bool LoadedFiles::check() {
    QStringList problems;
    const bool whole = run(&problems);
    for (const QString &p : std::as_const(problems))
        s_.report(p);
    return whole;
}

bool LoadedFiles::repair() {
    QStringList problems;
    run(&problems);
    QList<FileCheck::Finding> done;
    FileCheck::repair(Findings, &done, &problems);
    QStringList told;
    for (const FileCheck::Finding &f : std::as_const(done))
        told << QStringLiteral("%1 from \"%2\"").arg(f.file, f.carrier);
    if (!told.isEmpty())
        s_.inform(QStringLiteral("Copied back into the game folder:\r\n") +
                  told.join(QStringLiteral("\r\n")));
    else if (problems.isEmpty() && Findings.isEmpty())
        s_.inform(QStringLiteral("Nothing to repair: all loaded files are whole."));
    for (const QString &p : std::as_const(problems))
        s_.report(p);
    QStringList after;
    return run(&after) && problems.isEmpty();
}

void LoadedFiles::restoreAfterUnload(const QString &folder) {
    if (!RestoreShared || !s_.FormReady)
        return;
    const Ownership all = ownership();
    int gone = -1;
    for (int c = 0; c < all.carriers().size(); ++c)
        if (all.carriers().at(c).folder == folder)
            gone = c;
    if (gone < 0)
        return;
    // What the unload deleted: the folder's files but those its delete rule leaves in place.
    QStringList deleted = all.carried(gone);
    if (const Ownership::Rule &keep = all.carriers().at(gone).keep)
        deleted.removeIf([&keep](const QString &n) { return keep(n); });
    QStringList problems;
    const QStringList told = restoreDeleted(deleted, folder, &problems);
    if (!told.isEmpty())
        s_.inform(QStringLiteral("\"%1\" shared files with folders that stay loaded; they were "
                                 "copied back:\r\n")
                      .arg(shown(QFileInfo(folder).fileName())) +
                  told.join(QStringLiteral("\r\n")));
    for (const QString &p : std::as_const(problems))
        s_.report(p);
}

QStringList LoadedFiles::restoreDeleted(const QStringList &deleted, const QString &without,
                                        QStringList *problems) {
    QList<FileCheck::Finding> restored;
    FileCheck::restore(ownership(without), deleted, s_.GameFolder(), &restored, problems);
    QStringList told;
    for (const FileCheck::Finding &f : std::as_const(restored))
        told << QStringLiteral("%1 from \"%2\"").arg(f.file, f.carrier);
    return told;
}

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
            s_.report(p);
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

void LoadedFiles::putBack(const QStringList &names, QStringList *problems) {
    FileCheck::putBack(ownership(), names, s_.GameFolder(), problems);
}

bool LoadedFiles::conflictsOf(const QString &name, QStringList *lines) {
    const bool skin = s_.Unigrid.find(name) == 0 && s_.SK1.find(name) > 0;
    const Entry entry{skin, name, s_.skins().Check5};
    const QString folder = folderOf(entry);
    if (folder.isEmpty() || (!skin && s_.Unigrid.find(name) == 0)) {
        s_.prompt().fail(
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
