// SPDX-License-Identifier: GPL-3.0-or-later
#include "History.h"

#include "FileCompare.h"
#include "FileCopy.h"
#include "FileHook.h"
#include "FileList.h"
#include "FileOps.h"
#include "KeptOptions.h"
#include "Ledgers.h"
#include "Progress.h"
#include "Prompt.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "Text8.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

using Root = HistoryEntry::Root;

const QByteArray PlanMagic = "VEK history going back 1";
const QByteArray TargetsMark = "targets";
const QString Absent = QStringLiteral("absent");
// Bytes the open entry holds in memory (`History::Open::held`): never written as such.
const QString Held = QStringLiteral("held");

// Small files are compared by their bytes when a rewrite may have left them as they were
// (eaw.ini written again at every start): an entry then does not claim a change it did not
// make. Bigger ones count as changed once their name holds another file.
constexpr qint64 CompareUpTo = 1 << 20;
// A file written whole up to this size carries a fingerprint of its bytes in the history.
constexpr qint64 FingerprintUpTo = 256 << 10;

bool isLink(const QString &object) {
    return object.startsWith(QLatin1String("l-"));
}

// A campaign save: in a folder named Savedata, at any depth (the game's saves and the stores
// the save exchange keeps).
bool isSave(const QString &path) {
    const QStringList parts = path.split(QLatin1Char('/'));
    for (qsizetype i = 0; i + 1 < parts.size(); ++i)
        if (parts.at(i).compare(QLatin1String("Savedata"), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// "game1.sav" as "game1 (2).sav", as the save exchange numbers a displaced save; a file of the
// player's that is not a save as "name.mine", "name.mine2" ...
QString freeName(const QString &path, bool save) {
    const QFileInfo info(path);
    const QString folder = info.path() + QLatin1Char('/');
    const QString base = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QStringList present = FileList::files(info.path());
    const FileList::Index index(present);
    for (int n = save ? 2 : 1;; ++n) {
        const QString name = save ? QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(suffix)
                                  : info.fileName() + QStringLiteral(".mine") +
                                        (n == 1 ? QString() : QString::number(n));
        if (index.find(name).isEmpty())
            return folder + name;
    }
}

QSet<QString> ledgerLines(const QString &vek) {
    QSet<QString> lines;
    for (const QByteArray &line : Ledgers::readFoldersLoaded(vek))
        if (!line.isEmpty())
            lines.insert(Text8::toUnicode(line));
    return lines;
}

QString namesOf(QSet<QString> names) {
    QStringList sorted(names.begin(), names.end());
    sorted.sort(Qt::CaseInsensitive);
    return sorted.join(QStringLiteral(", "));
}

// A file the selector leaves read-only (eaw.ini) is written or deleted all the same, and
// keeps its mark.
// A file copied again from the VEK folder or the store is copied as a load copies it, without a
// sync of its own: its source stays there, and a going back cut short is finished from its
// plan (a sync per file made going back over a load of game files many times slower).
// `absent`: the caller has just seen that nothing is at `to`, so there is no mark to look at.
bool replaceFile(const QString &from, const QString &to, QString *error, bool fast = false,
                 bool absent = false) {
    if (absent && fast && !from.isEmpty())
        return FileCopy::copyReplace(from, to, error, false, FileCopy::Way::Best, nullptr, true);
    // A delete is tried first: most files are not read-only, and the mark is looked at (and
    // taken off) only when the delete did not work.
    if (from.isEmpty()) {
        QString first;
        if (FileOps::remove(to, &first))
            return true;
        if (!FileOps::isReadOnly(to)) {
            *error = first;
            return false;
        }
    }
    const bool readOnly = FileOps::isReadOnly(to);
    if (readOnly && !FileOps::setReadOnly(to, false)) {
        *error = QStringLiteral("Could not write \"%1\": it is read-only.")
                     .arg(QDir::toNativeSeparators(to));
        return false;
    }
    const bool ok = from.isEmpty() ? FileOps::remove(to, error)
                    : fast         ? FileCopy::copyReplace(from, to, error)
                                   : FileOps::copyReplace(from, to, error);
    if (readOnly && !from.isEmpty())
        FileOps::setReadOnly(to, true);
    return ok;
}

// `known` holds the folders found or made already: a going back of thousands of files in one
// folder looks at it once.
bool makeFolders(const QString &folder, const QString &root, QSet<QString> &known) {
    if (folder == root || known.contains(folder))
        return true;
    if (QFileInfo(folder).isDir() ||
        (makeFolders(QFileInfo(folder).path(), root, known) && FileOps::EnsureFolder(folder))) {
        known.insert(folder);
        return true;
    }
    return false;
}

// What `History::Early` saw: each path once, with its bytes then (nullopt: absent).
struct EarlyFile {
    QString path;
    std::optional<QByteArray> bytes;
};
QList<EarlyFile> earlyFiles;

// The history FileHook's observers report to: a window's engine is replaced by the next one
// before it goes, and the one going must not silence the new one's.
const History *observing = nullptr;

} // namespace

History::Early::Early() {
    earlyFiles.clear();
    if (FileHook::isolated())
        return;
    FileHook::setObserver([](const QString &path, bool, bool) {
        for (const EarlyFile &f : std::as_const(earlyFiles))
            if (f.path == path)
                return;
        QFile file(path);
        // Only the small files the locator writes pass here.
        earlyFiles.append({path, file.open(QIODevice::ReadOnly)
                                     ? std::optional<QByteArray>(file.read(CompareUpTo))
                                     : std::nullopt});
    });
}

History::Early::~Early() {
    FileHook::setObserver({});
}

History::History(SelectorState &state, Reporter &reporter)
    : s_(state), r_(reporter), store_(state.folders().GameFolder),
      game_(state.folders().GameFolder + QLatin1Char('/')),
      vek_(state.folders().ModFolder + QLatin1Char('/')) {
    // How many entries keep their bytes; VEK_HISTORY_KEEP sets fewer (or more) for a test.
    bool set = false;
    const int kept = qEnvironmentVariableIntValue("VEK_HISTORY_KEEP", &set);
    if (set && kept > 0)
        kept_ = kept;
    if (state.folders().GameFolder.isEmpty())
        return;
    if (FileHook::isolated()) {
        // A dry run works on a twin of the folders that leaves the store out, and keeps no
        // history of its own. It reads the real game folder's history to foretell a going
        // back, and writes nothing to it: the twin's files are second names of the real ones,
        // so they are what the history last left exactly when the real ones are.
        const QString real = state.folders().OptionsFolder;
        if (!real.isEmpty() && real != state.folders().GameFolder &&
            QFileInfo(real + QLatin1Char('/') + HistoryStore::FolderName).isDir()) {
            store_ = HistoryStore(real);
            on_ = foretell_ = true;
        }
        return;
    }
    QString error;
    on_ = QFileInfo(state.folders().GameFolder).isDir() && store_.open(&error);
    if (!on_)
        return;
    observing = this;
    FileHook::setObserver(
        [this](const QString &path, bool inPlace, bool absent) { capture(path, inPlace, absent); });
    FileHook::setFolderObserver(
        [this](const QString &from, const QString &to) { captureMove(from, to); });
    FileHook::setCopyObserver([this](const QString &from, const QString &to,
                                     const FileIdentity *seenSource, const FileIdentity *seenCopy) {
        Root root;
        QString rel;
        // What the copy left, as the copy routine saw it: the entry's end need not look again.
        if (open_ && seenCopy && place(to, &root, &rel))
            left_.insert(key(root, rel), *seenCopy);
        // Only a content file of the VEK folder (in a folder of its own), copied into the game
        // folder while an entry is open.
        // Never a file of a campaign store (a "C" folder, loaded like any other): the save
        // exchange moves its saves away, so they are kept by their own bytes.
        if (!open_ || !from.startsWith(vek_) || !from.mid(vek_.size()).contains(QLatin1Char('/')) ||
            from.at(vek_.size()) == QLatin1Char('C') || !place(to, &root, &rel) ||
            root != Root::Game)
            return;
        // What the copy routine saw of both from its open files spares a look at each.
        const FileIdentity source = seenSource ? *seenSource : FileIdentity::of(from);
        if (source.exists && !source.folder)
            copies_.insert(key(root, rel), {HistoryStore::reference(from.mid(vek_.size()), source),
                                            seenCopy ? *seenCopy : FileIdentity::of(to)});
    });
}

History::~History() {
    if (on_ && observing == this) {
        observing = nullptr;
        FileHook::setObserver({});
        FileHook::setCopyObserver({});
        FileHook::setFolderObserver({});
    }
}

QString History::keptPath(const QString &object) const {
    QString vekPath;
    FileIdentity identity;
    return HistoryStore::referred(object, &vekPath, &identity) ? vek_ + vekPath
                                                               : store_.objectPath(object);
}

bool History::available(const QString &object) const {
    QString vekPath;
    FileIdentity identity;
    if (!HistoryStore::referred(object, &vekPath, &identity))
        return store_.has(object);
    // The VEK file a copy was made of, as it was then: a file written or replaced since has
    // other bytes, and the copy cannot be made again.
    return FileIdentity::of(vek_ + vekPath).same(identity);
}

QString History::copyOf(const QString &k, const QString &path, const FileIdentity &now) {
    const auto last = index().files.constFind(k);
    QString vekPath;
    FileIdentity then;
    if (last == index().files.cend() || !HistoryStore::referred(last->source, &vekPath, &then))
        return QString();
    const QString from = vek_ + vekPath;
    const FileIdentity source = FileIdentity::of(from);
    if (!source.exists || source.size != now.size)
        return QString();
    // Nothing touched either since the copy; or the folders were copied elsewhere (new inodes,
    // same times), and the bytes show the copy is still its source's.
    QString ignored;
    const bool proven = (last->after.untouched(now) && source.same(then)) ||
                        (last->after.size == now.size && last->after.modified == now.modified &&
                         FileCompare::sameBytes(path, from, &ignored) == FileCompare::Result::Same);
    return proven ? HistoryStore::reference(vekPath, source) : QString();
}

HistoryIndex &History::index() {
    if (!index_) {
        index_.emplace();
        if (!store_.readIndex(&*index_)) {
            // Missing, unreadable or behind the entries: made again from them, once.
            index_.emplace();
            for (const HistoryEntry &e : entries())
                index_->add(e);
            QString error;
            if (!foretell_ && !store_.writeIndex(*index_, &error))
                r_.report(error);
        }
    }
    return *index_;
}

QString History::optionsFolder() const {
    return s_.folders().optionsFolder();
}

QString History::key(Root root, const QString &path) {
    return QLatin1Char(char(root)) + path;
}

QString History::absolute(Root root, const QString &path) const {
    return (root == Root::Game ? game_ : vek_) + path;
}

void History::open(const QString &sentence) {
    if (depth_++ > 0 || !on_ || foretell_)
        return;
    open_.emplace();
    open_->sentence = sentence;
    open_->status = s_.Status;
    open_->options = KeptOptions::text(optionsFolder());
    // What changed before the engine was made belongs to the first entry.
    for (const EarlyFile &f : std::as_const(earlyFiles)) {
        HistoryEntry::File file;
        if (!place(f.path, &file.root, &file.path) ||
            open_->index.contains(key(file.root, file.path)))
            continue;
        file.before = f.bytes ? Held : Absent;
        if (f.bytes)
            open_->held.insert(open_->files.size(), *f.bytes);
        open_->index.insert(key(file.root, file.path), open_->files.size());
        open_->files.append(file);
    }
    earlyFiles.clear();
}

void History::name(const QString &sentence) {
    if (open_) {
        open_->sentence = sentence;
        open_->named = true;
    }
}

bool History::place(const QString &path, Root *rootOut, QString *relOut) const {
    Root root;
    QString rel;
    if (path.startsWith(game_)) {
        rel = QDir::cleanPath(path.mid(game_.size()));
        // The store is the history's own, and eaw.exe is the player's program: the night
        // switch and the features patch it, and every start puts the original back.
        // LastVEKDir is where the selector remembers the VEK folder, written at every start:
        // going back to 0 would take it away, and the next start would ask for the folder.
        if (HistoryStore::hidden(rel.section(QLatin1Char('/'), 0, 0)) ||
            rel.compare(QLatin1String("eaw.exe"), Qt::CaseInsensitive) == 0 ||
            rel.compare(QLatin1String("LastVEKDir"), Qt::CaseInsensitive) == 0)
            return false;
        root = Root::Game;
    } else if (path.startsWith(vek_)) {
        rel = path.mid(vek_.size());
        // Of the VEK folder only the ledgers: its content folders and autoscripts are the
        // player's, and no going back deletes what they imported or saved.
        if (rel.contains(QLatin1Char('/')) || !Ledgers::All.contains(rel, Qt::CaseInsensitive))
            return false;
        root = Root::Vek;
    } else {
        return false;
    }
    if (rel.isEmpty() || rel.startsWith(QLatin1String("..")))
        return false;
    *rootOut = root;
    *relOut = rel;
    return true;
}

void History::capture(const QString &path, bool inPlace, bool absent, const FileIdentity *seen) {
    Root root;
    QString rel;
    if (!open_ || !place(path, &root, &rel))
        return;
    const QString k = key(root, rel);
    QString error;
    if (const auto at = open_->index.constFind(k); at != open_->index.cend()) {
        // Changed again: no longer the copy a load made, as far as the entry's end knows.
        copies_.remove(k);
        left_.remove(k);
        // Kept by a second name, and now to be written in place: the second name would change
        // with it, so the bytes are copied first.
        HistoryEntry::File &f = open_->files[*at];
        if (inPlace && isLink(f.before) &&
            FileIdentity::of(path).inode == FileIdentity::of(store_.objectPath(f.before)).inode) {
            const QString copy = store_.keepCopy(path, &error);
            if (!copy.isEmpty()) {
                store_.drop(f.before);
                f.before = copy;
            }
        }
        return;
    }
    HistoryEntry::File f;
    f.root = root;
    f.path = rel;
    const FileIdentity now = seen ? *seen : absent ? FileIdentity() : FileIdentity::of(path);
    // Folders are not kept: a folder the selector made stays (empty, or with what the player
    // put in it), and the files in it come and go one by one.
    if (now.folder)
        return;
    if (!now.exists) {
        f.before = Absent;
    } else if ((inPlace || root == Root::Vek) && now.size <= CompareUpTo) {
        // Written in place or rewritten, and small: held until the entry ends, when only a
        // file whose bytes really changed costs a copy in the store.
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            open_->held.insert(open_->files.size(), file.readAll());
            f.before = Held;
        } else {
            error = QStringLiteral("Could not read \"%1\" to keep it in the history: %2.")
                        .arg(QDir::toNativeSeparators(path), file.errorString());
        }
    } else if (inPlace || root == Root::Vek) {
        f.before = store_.keepCopy(path, &error);
    } else if (const QString source = copyOf(k, path, now); !source.isEmpty()) {
        // Still the very copy a load made of a VEK file that is as it was: going back copies
        // it again from there, and deleting it frees its space.
        f.before = source;
    } else {
        f.before = store_.keepLink(path, &error);
    }
    if (f.before.isEmpty()) {
        // Nothing is lost by this change, but it cannot be gone back over: the entry says so.
        r_.report(error);
        f.before = QStringLiteral("c-lost");
    }
    open_->index.insert(k, open_->files.size());
    open_->files.append(f);
}

void History::captureMove(const QString &from, const QString &to) {
    Root root;
    QString rel;
    if (!open_ || !place(from, &root, &rel) || !QFileInfo(from).isDir())
        return;
    // A music switch renames folders of the game folder: a going back puts each file back
    // under the name it had, and takes away what came in under the new one.
    QDirIterator it(from, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString inner = it.next().mid(from.size());
        const QString k = key(root, rel + inner);
        if (!open_->index.contains(k)) {
            capture(from + inner, false);
            if (const auto at = open_->index.constFind(k); at != open_->index.cend())
                open_->moved.insert(*at);
        }
        capture(to + inner, false);
    }
}

bool History::matches(const QString &path, const QString &object) const {
    return matches(path, FileIdentity::of(path), object);
}

bool History::matches(const QString &path, const FileIdentity &now, const QString &object) const {
    if (object == Absent || !now.exists)
        return object == Absent && !now.exists;
    const QString kept = keptPath(object);
    const FileIdentity was = FileIdentity::of(kept);
    if (!now.exists || !was.exists || now.size != was.size)
        return false;
    if (now.inode != 0 && now.inode == was.inode)
        return true;
    QString ignored;
    return now.size <= CompareUpTo &&
           FileCompare::sameBytes(path, kept, &ignored) == FileCompare::Result::Same;
}

const QList<HistoryEntry> &History::entries() {
    if (!entries_) {
        QStringList problems;
        entries_ = store_.read(&problems);
        r_.tell(problems);
    }
    return *entries_;
}

QString History::contentNow(const QString &path, const FileIdentity &now) const {
    if (!now.exists || now.folder || now.size > FingerprintUpTo)
        return QString();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? HistoryStore::contentOf(file.readAll()) : QString();
}

bool History::leftAsIs(const QString &path, const FileIdentity &now,
                       const HistoryEntry::File &last) const {
    if (now.same(last.after))
        return true;
    return !last.content.isEmpty() && now.size == last.after.size &&
           contentNow(path, now) == last.content;
}

void History::relink(const HistoryEntry::File &file, const FileIdentity &now,
                     const QString &content) {
    // A file written again with the same bytes (eaw.ini at every start, a ledger rewritten in
    // grid order) is no change, but is another file now. Its fingerprint tells a going back
    // so, and nothing is written; only a file kept without one has its identity told to the
    // index. No entry is rewritten for it.
    const auto at = index().files.find(HistoryIndex::key(file.root, file.path));
    if (at == index().files.end() || at->after.same(now) ||
        (!at->content.isEmpty() && at->content == content))
        return;
    at->content = content;
    at->after = now;
    indexChanged_ = true;
}

bool History::persist(QString *error) {
    for (auto it = open_->held.cbegin(); it != open_->held.cend(); ++it) {
        const QString object = store_.keepBytes(it.value(), error);
        if (object.isEmpty())
            return false;
        open_->files[it.key()].before = object;
    }
    open_->held.clear();
    return true;
}

void History::close() {
    if (depth_ == 0 || --depth_ > 0 || !open_)
        return;
    Open o = std::move(*open_);
    open_.reset();
    const struct Forget {
        QHash<QString, Copy> &copies;
        QHash<QString, FileIdentity> &left;
        ~Forget() {
            copies.clear();
            left.clear();
        }
    } forget{copies_, left_};
    QList<HistoryEntry::File> kept;
    for (qsizetype i = 0; i < o.files.size(); ++i) {
        HistoryEntry::File f = o.files.at(i);
        const QString path = absolute(f.root, f.path);
        // A load's copy that nothing changed since is as its copy routine saw it; so is a file
        // the history's own going back copied or deleted last.
        const auto copied = copies_.constFind(key(f.root, f.path));
        const auto left = left_.constFind(key(f.root, f.path));
        const FileIdentity now = copied != copies_.cend() && copied->copy.exists ? copied->copy
                                 : left != left_.cend()                          ? *left
                                                        : FileIdentity::of(path);
        if (now.folder)
            continue;
        const auto held = o.held.constFind(i);
        bool same;
        if (held != o.held.cend()) {
            QFile file(path);
            same = now.exists && now.size == held->size() && file.open(QIODevice::ReadOnly) &&
                   file.readAll() == *held;
        } else {
            same = matches(path, now, f.before);
        }
        if (same) {
            if (now.exists && (held != o.held.cend() ||
                               now.inode != FileIdentity::of(store_.objectPath(f.before)).inode))
                relink(f, now,
                       held != o.held.cend() ? HistoryStore::contentOf(*held)
                                             : contentNow(path, now));
            if (isLink(f.before))
                store_.drop(f.before);
            continue;
        }
        QString error;
        if (held != o.held.cend()) {
            // Changed: only now do its bytes of before go into the store.
            f.before = store_.keepBytes(*held, &error);
            if (f.before.isEmpty()) {
                r_.report(error);
                f.before = QStringLiteral("c-lost");
            }
        } else if (isLink(f.before) && !o.moved.contains(i) &&
                   FileIdentity::of(store_.objectPath(f.before)).links > 1) {
            // A second name of a file that is still in a folder under another name (renamed,
            // not replaced) would change when the game writes it: its bytes are copied. The
            // game only reads what a folder's rename carried along (music), and the selector
            // writes none of it in place: that keeps its second name, free.
            const QString copy = store_.keepCopy(store_.objectPath(f.before), &error);
            if (!copy.isEmpty()) {
                store_.drop(f.before);
                f.before = copy;
            }
        }
        f.after = now;
        f.source = copied != copies_.cend() && copied->copy.untouched(f.after) ? copied->reference
                                                                               : QString();
        // A small file written whole is fingerprinted, so that the same bytes written again
        // later are no change: a copy of a VEK file is told by its source instead.
        if (f.source.isEmpty())
            f.content = contentNow(path, now);
        kept.append(f);
    }
    const QString options = KeptOptions::text(optionsFolder());
    QString error;
    if (kept.isEmpty() && options == o.options && o.backTo < 0) {
        if (indexChanged_ && store_.writeIndex(index(), &error))
            indexChanged_ = false;
        else if (indexChanged_)
            r_.report(error);
        return;
    }
    HistoryEntry e;
    e.number = index().last + 1;
    e.time = QDateTime::currentDateTime();
    e.sentence = !o.named && s_.Status != o.status && !s_.Status.isEmpty() ? s_.Status : o.sentence;
    e.optionsBefore = o.options;
    e.optionsAfter = options;
    e.backTo = o.backTo;
    e.files = kept;
    e.gone = std::any_of(kept.cbegin(), kept.cend(), [](const HistoryEntry::File &f) {
        return f.before == QLatin1String("c-lost");
    });
    if (!store_.write(e, &error)) {
        r_.report(error);
        return;
    }
    if (entries_)
        entries_->append(e);
    index().add(e);
    // Past the limit the entries are read to let the oldest give up their bytes: once every
    // tenth of the limit, so that the entries are not all read again at every change.
    if (index().last - index().pruned > kept_ + kept_ / 10) {
        entries();
        prune(*entries_);
        for (const HistoryEntry &old : std::as_const(*entries_))
            if (old.gone)
                index().pruned = std::max(index().pruned, old.number);
    }
    if (store_.writeIndex(index(), &error))
        indexChanged_ = false;
    else
        r_.report(error);
}

void History::prune(QList<HistoryEntry> &entries) {
    if (entries.size() <= kept_)
        return;
    // The oldest entries past the limit give up their bytes; an object another kept entry
    // still names stays.
    QSet<QString> used;
    const qsizetype cut = entries.size() - kept_;
    for (qsizetype i = cut; i < entries.size(); ++i)
        for (const HistoryEntry::File &f : std::as_const(entries.at(i).files))
            used.insert(f.before);
    for (qsizetype i = 0; i < cut; ++i) {
        HistoryEntry &e = entries[i];
        if (e.gone)
            continue;
        for (const HistoryEntry::File &f : std::as_const(e.files))
            if (!used.contains(f.before))
                store_.drop(f.before);
        e.gone = true;
        QString error;
        if (!store_.write(e, &error))
            r_.report(error);
    }
}

QStringList History::lines() {
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    QStringList out;
    out << QStringLiteral("0\t%1\tThe history begins: the game folder as the selector found it.")
               .arg(store_.begun().toString(format));
    // Going back to N needs what every later entry kept: past the newest entry that gave up
    // its bytes, no earlier state can come back.
    int lost = 0;
    for (const HistoryEntry &e : entries())
        if (e.gone)
            lost = std::max(lost, e.number);
    const QString noLonger = QStringLiteral(" (can no longer be returned to)");
    if (lost > 0)
        out.first() += noLonger;
    // Entries of a folder loaded and unloaded again name the same VEK files: each is looked
    // at once.
    QHash<QString, bool> looked;
    const auto availableOnce = [&](const QString &object) {
        auto it = looked.find(object);
        if (it == looked.end())
            it = looked.insert(object, available(object));
        return it.value();
    };
    for (const HistoryEntry &e : entries()) {
        // A VEK file that one of its copies would be made again from has changed since.
        const bool changed = std::any_of(e.files.cbegin(), e.files.cend(), [&](const auto &f) {
            return f.before.startsWith(QLatin1String("r-")) && !availableOnce(f.before);
        });
        out << QStringLiteral("%1\t%2\t%3%4")
                   .arg(e.number)
                   .arg(e.time.toString(format), e.sentence,
                        e.number < lost ? noLonger
                        : changed ? QStringLiteral(" (can no longer be returned to: a VEK file it "
                                                   "would copy again has changed since)")
                                  : QString());
    }
    return out;
}

int History::stateOf(const QList<HistoryEntry> &entries, int number) const {
    for (int guard = 0; number > 0 && guard <= entries.size(); ++guard) {
        const auto at =
            std::find_if(entries.cbegin(), entries.cend(),
                         [number](const HistoryEntry &e) { return e.number == number; });
        if (at == entries.cend() || at->backTo < 0)
            return number;
        number = at->backTo;
    }
    return number;
}

int History::current() {
    const QList<HistoryEntry> &all = entries();
    return !on_ || all.isEmpty() ? 0 : stateOf(all, all.last().number);
}

QString History::undoRefusal() {
    if (!on_)
        return QStringLiteral("No history is kept for this game folder: nothing can be taken "
                              "back.");
    if (current() == 0)
        return QStringLiteral("There is nothing to take back: the game folder is as the history "
                              "found it.");
    return QString();
}

bool History::undo() {
    if (const QString why = undoRefusal(); !why.isEmpty()) {
        r_.prompt().fail(why);
        return false;
    }
    const int now = current();
    // The status line says what was taken back, then what the going back did.
    QString sentence;
    for (const HistoryEntry &e : entries())
        if (e.number == now)
            sentence = e.sentence;
    if (sentence.endsWith(QLatin1Char('.')))
        sentence.chop(1);
    if (!back(now - 1))
        return false;
    s_.setStatus(
        QStringLiteral("Taken back: %1 (entry %2). %3").arg(sentence).arg(now).arg(s_.Status));
    return true;
}

bool History::back(int number) {
    if (!on_ && FileHook::isolated()) {
        r_.prompt().fail(QStringLiteral("This game folder has no history to go back in."));
        return false;
    }
    if (!on_) {
        r_.prompt().fail(QStringLiteral("No history is kept for this game folder: its folder "
                                        "\"%1\" cannot be made.")
                             .arg(QDir::toNativeSeparators(store_.folder())));
        return false;
    }
    const int last = index().last;
    if (number < 0 || number > last) {
        r_.prompt().fail(QStringLiteral("There is no entry %1 in the history: it goes from 0 "
                                        "to %2.")
                             .arg(number)
                             .arg(last));
        return false;
    }
    // Going back to N needs the entries from N on (N for its options and time), not the whole
    // history: a long one is not read again at every going back.
    QList<HistoryEntry> from;
    if (entries_) {
        for (const HistoryEntry &e : std::as_const(*entries_))
            if (e.number >= number)
                from.append(e);
    } else {
        QStringList problems;
        from = store_.read(number, last, &problems);
        r_.tell(problems);
    }
    return run(number, from, false, QByteArray());
}

namespace {
const QByteArray PlanBreak = "\n----\n";
} // namespace

bool History::run(int number, const QList<HistoryEntry> &entries, bool resuming,
                  const QByteArray &plan) {
    // The targets travel as an entry of their own in the plan: each path with the bytes it is
    // to get (`before`) and what the history last left there (`after`).
    HistoryEntry goal;
    HistoryEntry captured;
    if (resuming) {
        const qsizetype cut = plan.indexOf(PlanBreak);
        QString why;
        if (!plan.startsWith(PlanMagic + '\n') || cut < 0 ||
            !HistoryEntry::parse(plan.mid(PlanMagic.size() + 1, cut - PlanMagic.size() - 1), &goal,
                                 &why) ||
            !HistoryEntry::parse(plan.mid(cut + PlanBreak.size()), &captured, &why)) {
            r_.report(QStringLiteral("A going back that was cut short cannot be finished: its "
                                     "plan \"%1\" cannot be read (%2). It is kept as \"%3\".")
                          .arg(QDir::toNativeSeparators(store_.folder() + QLatin1Char('/') +
                                                        HistoryStore::PlanName),
                               why, QStringLiteral("back.txt.refused")));
            store_.setPlanAside();
            return false;
        }
    } else {
        QHash<QString, qsizetype> at;
        const auto entry = [&entries](int n) {
            return std::find_if(entries.cbegin(), entries.cend(),
                                [n](const HistoryEntry &e) { return e.number == n; });
        };
        for (const HistoryEntry &e : entries) {
            if (e.number <= number) {
                goal.optionsAfter = e.optionsAfter;
                continue;
            }
            if (goal.files.isEmpty() && number == 0 && at.isEmpty())
                goal.optionsAfter = e.optionsBefore;
            if (e.gone) {
                r_.prompt().fail(QStringLiteral("Entry %1 can no longer be returned to: the "
                                                "bytes entry %2 (\"%3\") kept are gone (the "
                                                "history keeps them for its last %4 entries).")
                                     .arg(number)
                                     .arg(e.number)
                                     .arg(e.sentence)
                                     .arg(kept_));
                return false;
            }
            for (const HistoryEntry::File &f : e.files) {
                const QString k = key(f.root, f.path);
                if (const auto found = at.constFind(k); found != at.cend()) {
                    goal.files[*found].after = f.after;
                    continue;
                }
                if (!available(f.before)) {
                    r_.prompt().fail(QStringLiteral("The history can no longer go back past "
                                                    "entry %1: the bytes it kept of \"%2\" are "
                                                    "gone.")
                                         .arg(e.number)
                                         .arg(QDir::toNativeSeparators(f.path)));
                    return false;
                }
                at.insert(k, goal.files.size());
                goal.files.append(f);
            }
        }
        // What the history last left at each path, as the index knows it (a rewrite with the
        // same bytes since included).
        for (HistoryEntry::File &f : goal.files)
            if (const auto it = index().files.constFind(key(f.root, f.path));
                it != index().files.cend()) {
                f.after = it->after;
                f.content = it->content;
            }
        if (entries.isEmpty() || number == entries.last().number) {
            s_.setStatus(QStringLiteral("Nothing to bring back: the game folder is as right "
                                        "after entry %1.")
                             .arg(number));
            return true;
        }
        const auto to = entry(number);
        const QDateTime when = number == 0 || to == entries.cend() ? store_.begun() : to->time;
        goal.number = 1;
        goal.time = when;
        goal.backTo = number;
        goal.sentence = QStringLiteral("Back to %1 (entry %2)")
                            .arg(when.toString(QStringLiteral("HH:mm:ss")))
                            .arg(number);
    }

    const QSet<QString> loadedBefore = ledgerLines(s_.folders().ModFolder);
    if (foretell_) {
        // A dry run: what the going back would do is said by the twin's changes.
        QStringList kept;
        QString error;
        if (!apply(goal.files, nullptr, &kept, &error)) {
            r_.prompt().fail(error.isEmpty()
                                 ? QStringLiteral("Going back was cancelled.")
                                 : QStringLiteral("Going back would not work: %1").arg(error));
            return false;
        }
        s_.setStatus(told(goal.sentence, loadedBefore, goal.files.size(), kept));
        if (reread)
            reread();
        return true;
    }
    open(goal.sentence);
    if (!open_) {
        close();
        return false;
    }
    open_->backTo = goal.backTo;
    QList<FileIdentity> seen;
    if (resuming) {
        // What the cut going back had kept before its first change.
        open_->options = captured.optionsBefore;
        for (const HistoryEntry::File &f : std::as_const(captured.files)) {
            open_->index.insert(key(f.root, f.path), open_->files.size());
            open_->files.append(f);
        }
    } else {
        // Every file it will touch is kept first, so the plan names what undoes the going
        // back too, and a kill at any moment loses nothing. Each is looked at once: what the
        // history keeps of it and what the going back does with it start from the same look.
        seen.reserve(goal.files.size());
        for (const HistoryEntry::File &f : std::as_const(goal.files)) {
            const QString path = absolute(f.root, f.path);
            seen.append(FileIdentity::of(path));
            capture(path, false, false, &seen.last());
        }
        QString error;
        const bool held = persist(&error);
        captured.number = 1;
        captured.time = goal.time;
        captured.sentence = goal.sentence;
        captured.optionsBefore = open_->options;
        captured.files = open_->files;
        if (!held || !store_.writePlan(PlanMagic + '\n' + goal.text() + PlanBreak + captured.text(),
                                       &error)) {
            r_.prompt().fail(error);
            putBack(open_->files, &error);
            open_.reset();
            depth_ = 0;
            return false;
        }
    }

    QStringList kept;
    QString error;
    const bool applied = apply(goal.files, resuming ? nullptr : &seen, &kept, &error);
    if (!applied) {
        // All or nothing: every file the going back touched is put back as it was.
        QString undoError;
        const bool undone = persist(&undoError) && putBack(open_->files, &undoError);
        for (const HistoryEntry::File &f : std::as_const(open_->files))
            if (isLink(f.before))
                store_.drop(f.before);
        open_.reset();
        depth_ = 0;
        if (undone)
            store_.removePlan();
        const QString what =
            error.isEmpty() ? QStringLiteral("Going back was cancelled: nothing was changed.")
                            : QStringLiteral("Going back did not work, and nothing was changed: "
                                             "%1")
                                  .arg(error);
        s_.setStatus(error.isEmpty() ? what
                                     : QStringLiteral("Going back did not work: see the "
                                                      "message."));
        r_.prompt().fail(undone ? what : what + QStringLiteral(" ") + undoError);
        if (reread && !resuming)
            reread();
        return false;
    }
    KeptOptions::setText(optionsFolder(), goal.optionsAfter);

    const QString sentence = told(goal.sentence, loadedBefore, open_->files.size(), kept);
    open_->sentence = sentence;
    s_.setStatus(sentence);
    close();
    store_.removePlan();
    if (!kept.isEmpty())
        r_.inform(QStringLiteral("These files were changed after the history last touched them. "
                                 "Nothing of them is lost: each is kept beside under a name of "
                                 "its own:\r\n") +
                  kept.join(QStringLiteral("\r\n")));
    if (reread && !resuming)
        reread();
    return true;
}

QString History::told(const QString &what, const QSet<QString> &loadedBefore, qsizetype files,
                      const QStringList &kept) const {
    const QSet<QString> loadedAfter = ledgerLines(s_.folders().ModFolder);
    QStringList parts;
    if (const QSet<QString> out = loadedBefore - loadedAfter; !out.isEmpty())
        parts << QStringLiteral("unloaded ") + namesOf(out);
    if (const QSet<QString> in = loadedAfter - loadedBefore; !in.isEmpty())
        parts << QStringLiteral("loaded ") + namesOf(in);
    parts << QStringLiteral("%1 file%2").arg(files).arg(files == 1 ? "" : "s");
    QString sentence =
        what + QStringLiteral(": ") + parts.join(QStringLiteral("; ")) + QLatin1Char('.');
    if (!kept.isEmpty())
        sentence += QStringLiteral(" Kept beside, changed since: ") +
                    kept.join(QStringLiteral(", ")) + QLatin1Char('.');
    return sentence;
}

bool History::apply(const QList<HistoryEntry::File> &targets, const QList<FileIdentity> *seen,
                    QStringList *kept, QString *error) {
    constexpr qsizetype ProgressFrom = 200;
    Progress *progress = nullptr;
    if (targets.size() > ProgressFrom) {
        r_.setProgressOn(true);
        progress = r_.progress();
        if (progress)
            progress->begin(targets.size());
    }
    const auto done = [&](bool ok) {
        if (progress)
            progress->end();
        if (targets.size() > ProgressFrom)
            r_.setProgressOn(false);
        return ok;
    };
    QSet<QString> folders;
    for (qsizetype i = 0; i < targets.size(); ++i) {
        const HistoryEntry::File &t = targets.at(i);
        if (progress && !progress->next(t.path))
            return done(false);
        const QString path = absolute(t.root, t.path);
        // Already as it is to be: a going back run again after a kill does nothing here.
        const FileIdentity now = seen ? seen->at(i) : FileIdentity::of(path);
        if (matches(path, now, t.before))
            continue;
        if (now.exists && !leftAsIs(path, now, t)) {
            // Changed since the history last touched it: by the player, or the game.
            const bool save = t.root == Root::Game && isSave(t.path);
            if (save) {
                // The save the game wrote last keeps its name; the one the going back
                // brings goes in under a numbered name.
                if (t.before == Absent)
                    continue;
                const QString aside = freeName(path, true);
                if (!replaceFile(keptPath(t.before), aside, error))
                    return done(false);
                kept->append(QDir::toNativeSeparators(t.path) +
                             QStringLiteral(" (the one of "
                                            "then as ") +
                             QFileInfo(aside).fileName() + QLatin1Char(')'));
                continue;
            }
            const QString aside = freeName(path, false);
            if (!replaceFile(path, aside, error))
                return done(false);
            kept->append(QDir::toNativeSeparators(t.path) + QStringLiteral(" (as ") +
                         QFileInfo(aside).fileName() + QLatin1Char(')'));
        }
        const QString k = key(t.root, t.path);
        if (t.before == Absent) {
            // A file just seen is deleted without a second look; one that will not go (a
            // read-only mark where the system heeds it) the long way.
            if (now.exists && !now.folder && FileHook::mayChange(path, error) &&
                QFile::remove(path)) {
                FileHook::deleted(path);
            } else if (!replaceFile(QString(), path, error)) {
                return done(false);
            }
            left_.insert(k, FileIdentity());
            continue;
        }
        const QString root =
            t.root == Root::Game ? s_.folders().GameFolder : s_.folders().ModFolder;
        if (!makeFolders(QFileInfo(path).path(), root, folders) ||
            !replaceFile(keptPath(t.before), path, error, true, !now.exists)) {
            if (error->isEmpty())
                *error = QStringLiteral("Could not make the folder of \"%1\".")
                             .arg(QDir::toNativeSeparators(path));
            return done(false);
        }
    }
    return done(true);
}

bool History::putBack(const QList<HistoryEntry::File> &files, QString *error) {
    bool whole = true;
    for (const HistoryEntry::File &f : files) {
        const QString path = absolute(f.root, f.path);
        if (matches(path, f.before))
            continue;
        QString why;
        const bool ok =
            replaceFile(f.before == Absent ? QString() : keptPath(f.before), path, &why);
        if (!ok && whole) {
            *error = why;
            whole = false;
        }
    }
    return whole;
}

void History::resume() {
    if (!on_ || foretell_)
        return;
    const QByteArray plan = store_.readPlan();
    if (plan.isEmpty())
        return;
    // Cut after its entry was written: only the plan is left to remove.
    const QList<HistoryEntry> &all = entries();
    const qsizetype cut = plan.indexOf(PlanBreak);
    HistoryEntry goal;
    QString why;
    if (!all.isEmpty() && all.last().backTo >= 0 && cut > PlanMagic.size() &&
        HistoryEntry::parse(plan.mid(PlanMagic.size() + 1, cut - PlanMagic.size() - 1), &goal,
                            &why) &&
        all.last().backTo == goal.backTo && all.last().sentence.startsWith(goal.sentence) &&
        all.last().time >= QFileInfo(store_.folder() + QLatin1Char('/') + HistoryStore::PlanName)
                               .lastModified()
                               .addSecs(-1)) {
        store_.removePlan();
        return;
    }
    run(-1, {}, true, plan);
}
