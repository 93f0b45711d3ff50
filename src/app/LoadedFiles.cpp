// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadedFiles.h"

#include "FileList.h"
#include "FileMover.h"
#include "FileRemoval.h"
#include "FolderListing.h"
#include "Ledgers.h"
#include "Prompt.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "SkinGrid.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

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
            out << Entry{true, row.name, s_.Check5};
    return out;
}

void LoadedFiles::readLedger() {
    if (read_)
        return;
    read_ = true;
    order_.clear();
    names_.clear();
    const QString name = FileList::find(s_.ModFolder(), Ledgers::LoadOrder);
    QList<QByteArray> lines;
    if (!name.isEmpty() &&
        TextFile::readLines(FileList::join(s_.ModFolder(), name), &lines, nullptr))
        order_ = parse(lines);
    const QString names = FileList::find(s_.ModFolder(), Ledgers::LoadedNames);
    lines.clear();
    if (names.isEmpty() ||
        !TextFile::readLines(FileList::join(s_.ModFolder(), names), &lines, nullptr))
        return;
    for (const QByteArray &line : std::as_const(lines)) {
        const qsizetype first = line.indexOf('\t');
        const qsizetype second = first < 0 ? -1 : line.indexOf('\t', first + 1);
        const QByteArray kind = line.left(first);
        if (second < 0 || (kind != kFolder && kind != kSkin) || second + 1 == line.size())
            continue;
        const Entry e{kind == kSkin, Text8::toUnicode(line.mid(first + 1, second - first - 1))};
        names_[key(e)] << Text8::toUnicode(line.mid(second + 1));
    }
    // Names of what the load order does not record say nothing.
    QSet<QString> recorded;
    for (const Entry &e : std::as_const(order_))
        recorded.insert(key(e));
    names_.removeIf([&recorded](const auto &it) { return !recorded.contains(it.key()); });
}

QStringList LoadedFiles::recordedNames(const QString &name) {
    readLedger();
    return names_.value(key(Entry{false, name})) + names_.value(key(Entry{true, name}));
}

void LoadedFiles::noteGone(const QString &name, const QStringList &present) {
    if (!present.isEmpty())
        gone_.append({name, present});
}

bool LoadedFiles::askAboutGone() {
    if (gone_.isEmpty())
        return true;
    const QList<QPair<QString, QStringList>> gone = std::exchange(gone_, {});
    // A file that a loaded folder or skin brings too is that one's now.
    const Ownership owners = ownership();
    QStringList told;
    qsizetype more = 0;
    QStringList paths;
    for (const auto &[name, files] : gone) {
        QStringList out;
        for (const QString &f : files)
            if (!owners.find(f)) {
                out << f;
                paths << FileList::join(s_.GameFolder(), f);
            }
        // The first few names of each, and of the first few folders.
        constexpr qsizetype Shown = 10;
        QString names = out.mid(0, Shown).join(QStringLiteral(", "));
        if (out.size() > Shown)
            names += QStringLiteral(" and %1 more").arg(out.size() - Shown);
        if (!out.isEmpty() && told.size() < Shown)
            told << QStringLiteral("\"%1\": %2").arg(name, names);
        else if (!out.isEmpty())
            ++more;
    }
    if (paths.isEmpty())
        return true;
    if (more > 0)
        told << QStringLiteral("... and %1 more folders").arg(more);
    const bool ok = r_.prompt().message(
        QStringLiteral("VEK Selector"),
        QStringLiteral("These folders are no longer in the VEK folder, but files they brought "
                       "are still in the game folder:\r\n") +
            told.join(QStringLiteral("\r\n")) +
            QStringLiteral("\r\n\r\nTake these files out of the game folder? Cancel leaves "
                           "them where they are."),
        Prompt::Icon::Exclamation, Prompt::Buttons::OkCancel);
    if (!ok)
        return true;
    QStringList problems;
    for (const QString &path : std::as_const(paths)) {
        QString error;
        if (QFileInfo::exists(path) && !FileRemoval::removeFile(path, &error))
            problems << error;
    }
    if (problems.isEmpty())
        return true;
    r_.report(QStringLiteral("Some files of the folders no longer in the VEK folder could not be "
                             "taken out of the game folder:\r\n") +
              problems.join(QStringLiteral("\r\n")));
    return false;
}

QString LoadedFiles::key(const Entry &e) {
    return (e.skin ? QStringLiteral("skin\t") : QStringLiteral("folder\t")) + e.name;
}

QStringList LoadedFiles::brought(const Entry &e) const {
    const QString folder = folderOf(e);
    if (folder.isEmpty() || folder == s_.GameFolder())
        return {};
    const QStringList *known = listed ? listed(folder) : nullptr;
    QStringList names = known ? *known : FileList::files(folder);
    const bool withFlt = e.withFlt;
    names.removeIf([&e, withFlt](const QString &n) {
        return e.skin ? SkinGrid::skippedOnLoad(n, withFlt) : FileMover::skipped(n);
    });
    return names;
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

QStringList LoadedFiles::linesOf(const QList<Entry> &order) {
    QStringList out;
    for (const Entry &e : order)
        out << (e.skin ? QStringLiteral("skin\t") : QStringLiteral("folder\t")) + e.name +
                   (e.skin && !e.withFlt ? QStringLiteral("\tno flt") : QString());
    return out;
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

namespace {
// A ledger is written only when it would change: a write changes the VEK folder's time, which
// makes the window read the folder's thousands of entries again.
bool writeChanged(const QString &path, const QList<QByteArray> &lines, QString *error) {
    QList<QByteArray> now;
    if (QFileInfo(path).isFile() && TextFile::readLines(path, &now, nullptr) && now == lines)
        return true;
    return TextFile::writeLines(path, lines, error);
}
} // namespace

void LoadedFiles::writeLedger() {
    QString error;
    if (!writeChanged(FileList::resolve(s_.ModFolder(), Ledgers::LoadOrder), lines(), &error))
        ledgerFailed(error);
    QList<QByteArray> names;
    for (const Entry &e : std::as_const(order_)) {
        const QByteArray head =
            (e.skin ? kSkin : kFolder) + '\t' + Text8::fromUnicode(e.name) + '\t';
        for (const QString &n : names_.value(key(e)))
            names << head + Text8::fromUnicode(n);
    }
    if (!writeChanged(FileList::resolve(s_.ModFolder(), Ledgers::LoadedNames), names, &error))
        ledgerFailed(error);
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
    // Thousands of folders may be loaded: each question is one lookup.
    QSet<QString> marks;
    for (const Entry &e : now)
        marks.insert(key(e));
    QSet<QString> keptKeys;
    QList<Entry> kept;
    QList<Entry> unknown; // marked loaded, but not in the ledger
    for (const Entry &e : std::as_const(order_))
        if (const QString k = key(e); marks.contains(k) && !keptKeys.contains(k)) {
            keptKeys.insert(k);
            kept << e;
        }
    for (const Entry &e : now)
        if (!keptKeys.contains(key(e)))
            unknown << e;
    const QList<Entry> next = unknownFirst ? unknown + kept : kept + unknown;
    // What a folder brings is taken when it comes into the ledger (its load has just copied
    // it), or when the ledger has no record of it yet.
    bool named = false;
    for (const Entry &e : unknown) {
        names_.insert(key(e), brought(e));
        named = true;
    }
    for (const Entry &e : kept)
        if (!names_.contains(key(e))) {
            names_.insert(key(e), brought(e));
            named = true;
        }
    if (next == order_ && !named)
        return;
    for (const Entry &e : std::as_const(order_))
        if (!marks.contains(key(e)))
            names_.remove(key(e));
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

QList<LoadedFiles::Entry> LoadedFiles::entries() {
    follow();
    return order_;
}

void LoadedFiles::reorder(const QList<Entry> &order) {
    follow();
    if (order.size() != order_.size() ||
        !std::all_of(order.cbegin(), order.cend(),
                     [this](const Entry &e) { return order_.contains(e); }) ||
        order == order_)
        return;
    order_ = order;
    writeLedger();
    Findings.clear();
    CheckResult.clear();
}

QString LoadedFiles::folderOf(const Entry &e) const {
    if (e.skin)
        return FileList::join(s_.skinFolder(), e.name);
    const int row = s_.Unigrid.find(e.name);
    return row > 0 ? s_.Unigrid.row(row).path : QString();
}

QList<Ownership::Carrier> LoadedFiles::carriers(const QString &without) {
    follow();
    return carriersOf(order_, without);
}

Ownership LoadedFiles::markedOwnership(const QString &without) {
    // Mid-operation the marks may say what the ledger is not to say yet (and an undone
    // operation puts them back): they are read, the load order is neither followed nor written.
    readLedger();
    QList<Entry> entries = marked();
    for (Entry &e : entries)
        for (const Entry &o : std::as_const(order_))
            if (e.skin && o.skin && o.name == e.name)
                e.withFlt = o.withFlt;
    Ownership o;
    QStringList problems;
    o.build(carriersOf(entries, without), &problems);
    for (const QString &p : problems)
        r_.report(p);
    return o;
}

QList<Ownership::Carrier> LoadedFiles::carriersOf(const QList<Entry> &entries,
                                                  const QString &without) const {
    QList<Ownership::Carrier> out;
    for (const Entry &e : entries) {
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
        r_.report(p);
    return o;
}

bool LoadedFiles::changedBySelector(const QString &name) {
    return presenceOnly_.contains(name, Qt::CaseInsensitive);
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
        r_.news(QStringLiteral("\"%1\" shared files with folders that stay loaded; they were "
                               "copied back")
                    .arg(shown(QFileInfo(folder).fileName())),
                QStringLiteral("copied back what it shared with folders that stay loaded"), told);
    for (const QString &p : std::as_const(problems))
        r_.report(p);
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

KeptFiles::Rule LoadedFiles::gameOwnRule(const QString &without) {
    // Most loads replace no game file: who carries what is read only when one does.
    auto owners = std::make_shared<std::optional<Ownership>>();
    return [this, without, owners](const QString &name) {
        if (!owners->has_value())
            owners->emplace(markedOwnership(without));
        return (*owners)->find(name) == nullptr;
    };
}

KeptFiles::Rule LoadedFiles::gameOwnRuleOf(const QStringList &ledgerLines,
                                           const QStringList &without) {
    QList<QByteArray> bytes;
    for (const QString &line : ledgerLines)
        bytes << Text8::fromUnicode(line);
    QStringList folders;
    for (const Entry &e : parse(bytes)) {
        // A record is read from disk: only a folder of the VEK folder is listed.
        if (e.name.contains(QLatin1Char('/')) || e.name.contains(QLatin1Char('\\')) ||
            e.name == QLatin1String(".") || e.name == QLatin1String(".."))
            continue;
        const QString folder = FileList::join(e.skin ? s_.skinFolder() : s_.ModFolder(), e.name);
        if (!without.contains(folder))
            folders << folder;
    }
    auto carried = std::make_shared<std::optional<QSet<QString>>>();
    return [folders, carried](const QString &name) {
        if (!carried->has_value()) {
            QSet<QString> names;
            for (const QString &folder : folders) {
                QStringList files;
                QString unread; // a folder gone since carries nothing
                if (FolderListing::fileNames(folder, &files, &unread))
                    for (const QString &f : std::as_const(files))
                        names.insert(FileList::fold(f));
            }
            carried->emplace(std::move(names));
        }
        return !(*carried)->contains(FileList::fold(name));
    };
}

void LoadedFiles::putBackGameOwn(const QString &without, const QStringList *found) {
    const QString game = s_.GameFolder();
    QStringList names;
    QString error;
    if (found)
        names = *found;
    else if (!KeptFiles::findGame(game, &names, &error))
        return; // a game folder that cannot be read is told by the steps that read it
    if (names.isEmpty())
        return;
    const Ownership owners = markedOwnership(without);
    names.removeIf([&owners](const QString &n) { return owners.find(n) != nullptr; });
    QStringList problems;
    const QStringList back = KeptFiles::putBack(game, names, &problems);
    // A reset puts everything back: that the game's own files are among it is no news.
    if (!back.isEmpty() && RestoreShared)
        r_.news(QStringLiteral("The game's own files that loaded content had replaced are back "
                               "under their names"),
                QStringLiteral("put the game's own files back"), back);
    for (const QString &p : std::as_const(problems))
        r_.report(p);
}

void LoadedFiles::putBack(const QStringList &names, QStringList *problems) {
    FileCheck::putBack(ownership(), names, s_.GameFolder(), problems);
}
