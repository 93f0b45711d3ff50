// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportArchive.h"

#include "ArchiveLayout.h"
#include "ArchiveReader.h"
#include "FileCopy.h"
#include "FileHook.h"
#include "FileList.h"
#include "FileOps.h"
#include "ImportStaging.h"
#include "Progress.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {
using Result = ImportArchive::Result;
using Outcome = ImportArchive::Outcome;

Outcome ended(Result result, const QString &message) {
    Outcome o;
    o.result = result;
    o.message = message;
    return o;
}

/// What a Mac adds to a zip it makes (its files' resource forks): never content.
bool macExtras(const QString &path) {
    return path.section(QLatin1Char('/'), 0, 0)
               .compare(QLatin1String("__MACOSX"), Qt::CaseInsensitive) == 0;
}

/// What the headers say: the entries, the bytes they claim, and the first reason the archive
/// cannot be imported.
struct Scan {
    QList<ArchiveLayout::Entry> entries;
    qint64 bytes = 0;
    qsizetype files = 0;
    QString refusal;
    QString damage;
    /// The bytes of the text files a collection's VEK folder merges (`mergedNames`), by path.
    QHash<QString, QByteArray> texts;
    /// For a folder imported: the file each entry's path copies.
    QHash<QString, QString> sources;
};

const QStringList MergedNames{QStringLiteral("vek.ini"), QStringLiteral("links.txt"),
                              QStringLiteral("helpfile.txt")};

/// Whether the file at `path` may be one a collection merges into the VEK folder: named so,
/// at the archive's top or in its one folder, and small, as such text is.
bool mergedText(const QString &path, qint64 size) {
    const QString name = path.section(QLatin1Char('/'), -1);
    return path.count(QLatin1Char('/')) <= 1 && size >= 0 && size <= (qint64(1) << 20) &&
           std::any_of(MergedNames.cbegin(), MergedNames.cend(), [&name](const QString &n) {
               return name.compare(n, Qt::CaseInsensitive) == 0;
           });
}

/// A file a download's maker writes for the player to read: a .txt, .nfo or .diz, or any
/// "readme".
bool readmeName(const QString &path) {
    const QString name = path.section(QLatin1Char('/'), -1);
    return name.startsWith(QLatin1String("readme"), Qt::CaseInsensitive) ||
           name.startsWith(QLatin1String("read me"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".nfo"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".diz"), Qt::CaseInsensitive);
}

/// Each name is checked against the names before it without regard to case: on Windows (and
/// for the selector's lookups) "a.bmp" and "A.BMP" are one file, and the second would silently
/// take the first one's place.
struct Names {
    struct Seen {
        QString path;
        bool folder;
    };
    QHash<QString, Seen> seen;

    QString add(const QString &path, bool folder) {
        const QString key = path.toCaseFolded();
        const auto it = seen.constFind(key);
        if (it == seen.cend()) {
            seen.insert(key, {path, folder});
            return QString();
        }
        if (it->path != path)
            return QStringLiteral("it holds \"%1\" and \"%2\", names that differ only in case.")
                .arg(it->path, path);
        if (!folder || !it->folder)
            return QStringLiteral("it holds \"%1\" twice.").arg(path);
        return QString();
    }

    /// `path` and each folder above it; the first refusal, or empty.
    QString addWithParents(const QString &path, bool folder) {
        QString parent;
        const QStringList parts = path.split(QLatin1Char('/'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            parent += (i ? QStringLiteral("/") : QString()) + parts.at(i);
            if (QString refusal = add(parent, i + 1 < parts.size() || folder); !refusal.isEmpty())
                return refusal;
        }
        return QString();
    }
};

Scan scan(const QString &archive) {
    Scan s;
    ArchiveReader reader;
    if (!reader.open(archive, &s.damage))
        return s;
    Names names;
    ArchiveReader::Entry e;
    for (;;) {
        const ArchiveReader::Step step = reader.next(&e, &s.damage);
        if (step == ArchiveReader::Step::End) {
            reader.checkWhole(&s.damage);
            return s;
        }
        if (step == ArchiveReader::Step::Failed)
            return s;
        QString path;
        QString reason;
        if (!ArchiveLayout::entryPath(e.name, &path, &reason)) {
            s.refusal = QStringLiteral("its entry \"%1\" has %2.").arg(e.name, reason);
            return s;
        }
        if (e.kind == ArchiveReader::Entry::Kind::Other) {
            s.refusal = QStringLiteral("its entry \"%1\" is %2, which the selector never makes.")
                            .arg(e.name, e.otherKind);
            return s;
        }
        if (macExtras(path))
            continue;
        const bool folder = e.kind == ArchiveReader::Entry::Kind::Folder;
        s.refusal = names.addWithParents(path, folder);
        if (!s.refusal.isEmpty())
            return s;
        s.entries.append({path, folder});
        if (!folder && (mergedText(path, e.size) ||
                        (readmeName(path) && e.size >= 0 && e.size <= (qint64(256) << 10)))) {
            QByteArray &bytes = s.texts[path];
            for (;;) {
                const void *data = nullptr;
                size_t size = 0;
                qint64 offset = 0;
                if (!reader.block(&data, &size, &offset, &s.damage))
                    return s;
                if (size == 0 || bytes.size() + qint64(size) > e.size)
                    break;
                bytes.append(static_cast<const char *>(data), qsizetype(size));
            }
        }
        if (!folder) {
            ++s.files;
            // What the disk gives a file: whole blocks.
            s.bytes += (qMax<qint64>(e.size, 0) + 4095) / 4096 * 4096;
        }
    }
}

/// A folder read as an archive holding it: its entries are its name, then the paths inside
/// it, so that one content folder, a folder of several and a VEK folder of its own are told
/// apart as in an archive. A link is refused where it leads out of the folder or to a folder
/// (a copy would take in what is not the folder's, or go round forever); a link to a file of
/// the folder copies that file.
Scan scanFolder(const QString &folder) {
    Scan s;
    const QFileInfo top(folder);
    const QString root = top.canonicalFilePath();
    const QString name = top.fileName();
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList found;
    while (it.hasNext())
        found << it.next();
    std::sort(found.begin(), found.end());
    Names names;
    for (const QString &file : std::as_const(found)) {
        const QFileInfo info(file);
        const QString inside = file.mid(folder.size() + 1);
        QString path;
        QString reason;
        // The folder's own name is the player's (their downloads folder, in any language):
        // checked only where it becomes a place (see `run`).
        if (!ArchiveLayout::entryPath(inside, &path, &reason)) {
            s.refusal = QStringLiteral("its file \"%1\" has %2.").arg(inside, reason);
            return s;
        }
        path = name + QLatin1Char('/') + path;
        QString source = file;
        if (info.isSymLink()) {
            const QString target = info.canonicalFilePath();
            if (target.isEmpty() || !target.startsWith(root + QLatin1Char('/')))
                s.refusal = QStringLiteral("\"%1\" is a link out of it, to \"%2\".")
                                .arg(inside, QDir::toNativeSeparators(info.symLinkTarget()));
            else if (QFileInfo(target).isDir())
                s.refusal = QStringLiteral("\"%1\" is a link to a folder, which the selector "
                                           "never copies.")
                                .arg(inside);
            if (!s.refusal.isEmpty())
                return s;
            source = target;
        } else if (!info.isDir() && !info.isFile()) {
            s.refusal = QStringLiteral("\"%1\" is neither a file nor a folder.").arg(inside);
            return s;
        }
        const bool isFolder = QFileInfo(source).isDir();
        s.refusal = names.addWithParents(path, isFolder);
        if (!s.refusal.isEmpty())
            return s;
        s.entries.append({path, isFolder});
        if (isFolder)
            continue;
        s.sources.insert(path, source);
        const qint64 size = QFileInfo(source).size();
        ++s.files;
        s.bytes += (size + 4095) / 4096 * 4096;
        if (mergedText(path, size) || (readmeName(path) && size <= (qint64(256) << 10))) {
            QByteArray bytes;
            QString error;
            if (!FileOps::readAll(source, &bytes, &error)) {
                s.damage = error;
                return s;
            }
            s.texts.insert(path, bytes);
        }
    }
    return s;
}

/// `place` as the VEK folder spells it: each name that is there in its own case, "/" between
/// them (the path is built with the system's separator, which the places never use).
QString spelled(const QString &modFolder, const QString &place, bool file = false) {
    QString path = modFolder;
    const QStringList names = place.split(QLatin1Char('/'));
    for (qsizetype i = 0; i < names.size(); ++i)
        path = file && i + 1 == names.size() ? FileList::resolve(path, names.at(i))
                                             : FileList::resolveFolder(path, names.at(i));
    return ArchiveLayout::placeIn(modFolder, path);
}

int targetOf(const QList<ArchiveLayout::Target> &targets, const QString &path) {
    for (qsizetype i = 0; i < targets.size(); ++i)
        if (targets.at(i).file ? path == targets.at(i).prefix
                               : targets.at(i).prefix.isEmpty() ||
                                     (path + QLatin1Char('/')).startsWith(targets.at(i).prefix))
            return int(i);
    return -1;
}

/// Ends the progress however the unpacking ends.
struct Following {
    Progress *progress;
    ~Following() {
        if (progress)
            progress->end();
    }
};

/// The folders the selector keeps for itself: an import that would make or replace one of
/// them (the campaign saves of a store, the saves exchanged, the skins, the scripts) is
/// refused whole. A skin's place inside Skinfolder is not Skinfolder.
QString ownFolder(const QString &place, const QStringList &stores) {
    if (place.contains(QLatin1Char('/')))
        return QString();
    static const QStringList own{QStringLiteral("C-Default"), QStringLiteral("Interchange"),
                                 QStringLiteral("Skinfolder"), QStringLiteral("Autoscripts")};
    for (const QString &name : own + stores)
        if (place.compare(name, Qt::CaseInsensitive) == 0)
            return name;
    return QString();
}

/// Whether the archive is a download wrapped once more: files that are all readmes but one,
/// which is an archive. `inner` is its path; `texts` the readmes, in the archive's order, each
/// after a line with its name when there are several.
bool wrapped(const Scan &s, QString *inner, QByteArray *texts) {
    QStringList readmes;
    for (const ArchiveLayout::Entry &e : s.entries) {
        if (e.folder)
            continue;
        if (ImportArchive::isArchiveName(e.path.section(QLatin1Char('/'), -1))) {
            if (!inner->isEmpty())
                return false;
            *inner = e.path;
        } else if (readmeName(e.path) && s.texts.contains(e.path)) {
            readmes << e.path;
        } else {
            return false;
        }
    }
    if (inner->isEmpty())
        return false;
    for (const QString &r : std::as_const(readmes)) {
        if (readmes.size() > 1)
            *texts += (texts->isEmpty() ? QByteArray() : QByteArray("\r\n")) +
                      Text8::fromUnicode(r.section(QLatin1Char('/'), -1)) + "\r\n\r\n";
        *texts += s.texts.value(r);
        if (!texts->isEmpty() && !texts->endsWith('\n'))
            *texts += "\r\n";
    }
    return true;
}

/// A collection's text files merged into the VEK folder's: what the VEK folder lacks is added
/// after its last line, and nothing it holds is removed or changed (its bytes stay as they are).
struct Merge {
    QList<FileOps::NewFile> files;  ///< the merged bytes
    QList<FileOps::NewFile> before; ///< the bytes of those that were there, to put back
    QStringList made;               ///< those that were not
    QStringList added;              ///< what the player is told
};

QByteArray collectionText(const QHash<QString, QByteArray> &texts, const QString &path) {
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        if (it.key().compare(path, Qt::CaseInsensitive) == 0)
            return it.value();
    return QByteArray();
}

/// What of `theirs` the VEK folder's `mine` lacks, for the file `name`: vek.ini's groups by
/// their letter (a line's last character, as the group filter reads it), links.txt's pairs by
/// their address, helpfile.txt's lines as they are. `told` says what they are.
QList<QByteArray> lacking(const QString &name, const QList<QByteArray> &mine,
                          const QList<QByteArray> &theirs, QStringList *told) {
    QList<QByteArray> add;
    if (name == MergedNames.at(0)) {
        QSet<QString> letters;
        for (const QByteArray &line : mine)
            letters.insert(Text8::toUnicode(line).right(1));
        for (const QByteArray &line : theirs) {
            const QString text = Text8::toUnicode(line);
            if (text.isEmpty() || letters.contains(text.right(1)))
                continue;
            letters.insert(text.right(1));
            add << line;
            *told << QStringLiteral("the group \"%1\" in vek.ini").arg(text);
        }
    } else if (name == MergedNames.at(1)) {
        QSet<QString> addresses;
        for (qsizetype k = 1; k < mine.size(); k += 2)
            addresses.insert(Text8::toUnicode(mine.at(k)).trimmed().toCaseFolded());
        qsizetype links = 0;
        for (qsizetype k = 0; k + 1 < theirs.size(); k += 2) {
            const QString address = Text8::toUnicode(theirs.at(k + 1)).trimmed().toCaseFolded();
            if (address.isEmpty() || addresses.contains(address))
                continue;
            addresses.insert(address);
            add << theirs.at(k) << theirs.at(k + 1);
            ++links;
        }
        // An odd last line of ours is a title without an address: it gets its empty address,
        // so that the pairs added stay pairs.
        if (!add.isEmpty() && mine.size() % 2 == 1)
            add.prepend(QByteArray());
        if (links)
            *told << QStringLiteral("%1 %2 in links.txt")
                         .arg(links)
                         .arg(links == 1 ? QStringLiteral("link") : QStringLiteral("links"));
    } else {
        QSet<QByteArray> lines(mine.cbegin(), mine.cend());
        for (const QByteArray &line : theirs)
            if (!line.trimmed().isEmpty() && !lines.contains(line)) {
                lines.insert(line);
                add << line;
            }
        if (!add.isEmpty())
            *told << QStringLiteral("%1 %2 in helpfile.txt")
                         .arg(add.size())
                         .arg(add.size() == 1 ? QStringLiteral("line") : QStringLiteral("lines"));
    }
    return add;
}

bool merge(const QString &modFolder, const QHash<QString, QByteArray> &texts, const QString &root,
           Merge *m, QString *error) {
    for (const QString &name : MergedNames) {
        const QByteArray theirs = collectionText(texts, root + name);
        if (theirs.isEmpty())
            continue;
        const QString present = FileList::find(modFolder, name);
        const QString path = FileList::join(modFolder, present.isEmpty() ? name : present);
        QByteArray mine;
        if (!present.isEmpty() && !FileOps::readAll(path, &mine, error))
            return false;
        const QList<QByteArray> add =
            lacking(name, TextFile::splitLines(mine), TextFile::splitLines(theirs), &m->added);
        if (add.isEmpty())
            continue;
        if (!FileOps::canRewrite(path, error))
            return false;
        QByteArray bytes = mine;
        if (!bytes.isEmpty() && !bytes.endsWith('\n'))
            bytes += "\r\n";
        m->files.append({path, bytes + TextFile::joinLines(add), QString()});
        if (present.isEmpty())
            m->made << path;
        else
            m->before.append({path, mine, QString()});
    }
    return true;
}

/// The first `count` files a merge rewrote get their bytes back; those it made go.
void putBack(const Merge &m, qsizetype count) {
    QList<FileOps::NewFile> back;
    for (qsizetype i = 0; i < count && i < m.files.size(); ++i) {
        const QString &path = m.files.at(i).path;
        QString error;
        if (m.made.contains(path))
            FileOps::remove(path, &error);
        else
            for (const FileOps::NewFile &b : m.before)
                if (b.path == path)
                    back << b;
    }
    QString error;
    qsizetype renamed = 0;
    if (!back.isEmpty())
        FileOps::writeSet(back, &error, &renamed);
}

/// A size as a player reads it, `extra` more decimals than usual; `value` is what the text
/// says, in bytes.
QString sizeText(qint64 bytes, int extra, double *value) {
    const auto in = [&](double unit, int decimals, const char *name) {
        const double scale = std::pow(10.0, decimals);
        const double shown = std::round(double(bytes) / unit * scale) / scale;
        *value = shown * unit;
        return QString::number(shown, 'f', decimals) + QLatin1String(name);
    };
    if (bytes < 1024) {
        *value = double(bytes);
        return QString::number(bytes) +
               (bytes == 1 ? QStringLiteral(" byte") : QStringLiteral(" bytes"));
    }
    if (bytes < (qint64(1) << 20))
        return in(1024.0, extra, " KB");
    return in(1024.0 * 1024.0, 1 + extra, " MB");
}
} // namespace

QString ImportArchive::spaceRefusal(qint64 needed, qint64 free) {
    // Rounded alike, two sizes may read the same ("1.0 MB" and "1024 KB" too): decimals come
    // until what is needed reads more than what is free, and at last the bytes themselves.
    for (int extra = 0; extra <= 2; ++extra) {
        double n = 0;
        double f = 0;
        const QString neededText = sizeText(needed, extra, &n);
        const QString freeText = sizeText(free, extra, &f);
        if (n > f || needed <= free)
            return QStringLiteral("it unpacks to %1, and the VEK folder's disk has %2 free.")
                .arg(neededText, freeText);
    }
    return QStringLiteral("it unpacks to %1 bytes, and the VEK folder's disk has %2 bytes free.")
        .arg(QLocale::c().toString(needed), QLocale::c().toString(free));
}

bool ImportArchive::isArchiveName(const QString &fileName) {
    return std::any_of(Patterns.cbegin(), Patterns.cend(), [&fileName](const QString &p) {
        return fileName.endsWith(p.mid(1), Qt::CaseInsensitive);
    });
}

namespace {
/// Unpacks the entry `inner` of `archive` to the file `to`, weighed as any entry is: no more
/// bytes than it claims, no more than `MaxRatio` times what was read.
bool unpackOne(const QString &archive, const QString &inner, const QString &to, QString *error) {
    ArchiveReader reader;
    if (!reader.open(archive, error))
        return false;
    ArchiveReader::Entry e;
    for (;;) {
        const ArchiveReader::Step step = reader.next(&e, error);
        if (step != ArchiveReader::Step::Entry) {
            if (step == ArchiveReader::Step::End)
                *error = QStringLiteral("it changed while it was read.");
            return false;
        }
        QString path;
        QString reason;
        if (ArchiveLayout::entryPath(e.name, &path, &reason) && path == inner)
            break;
    }
    if (!FileHook::mayChange(to, error))
        return false;
    QFile file(to);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        *error = QStringLiteral("could not create \"%1\": %2.")
                     .arg(QDir::toNativeSeparators(to), FileOps::reasonOf(file));
        return false;
    }
    qint64 end = 0;
    for (;;) {
        const void *data = nullptr;
        size_t size = 0;
        qint64 offset = 0;
        if (!reader.block(&data, &size, &offset, error))
            return false;
        if (size == 0)
            break;
        if ((offset != end && !file.seek(offset)) ||
            !FileOps::writeFully(file, static_cast<const char *>(data), qint64(size), error))
            return false;
        end = offset + qint64(size);
        if ((e.size >= 0 && end > e.size) ||
            end > qMax(ImportArchive::RatioFloor,
                       ImportArchive::MaxRatio * reader.packedBytesRead())) {
            *error = QStringLiteral("its entry \"%1\" holds more than it claims.").arg(e.name);
            return false;
        }
    }
    return FileOps::flushFully(file, error);
}
} // namespace

ImportArchive::Outcome ImportArchive::nested(const QString &archive, const QString &inner,
                                             const QByteArray &readme, const QString &modFolder,
                                             const Options &options) {
    const QString shown = QDir::toNativeSeparators(archive);
    const QString notImported = QStringLiteral("\"%1\" was not imported: ").arg(shown);
    // The inner archive waits in a hidden folder of the import's kind: a start after a crash
    // removes it like any unpacking cut short.
    ImportStaging holder(modFolder);
    QString error;
    if (!holder.create(&error))
        return ended(Result::Failed, notImported + error);
    const QString file = holder.unpackFolder(0) + QLatin1Char('.') +
                         inner.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 1);
    if (!unpackOne(archive, inner, file, &error))
        return ended(
            Result::Failed,
            notImported +
                QStringLiteral("its archive \"%1\" could not be unpacked: %2").arg(inner, error) +
                QStringLiteral(" Nothing was imported."));
    Outcome o = runOne(file, modFolder, options, &readme);
    // The player knows the archive they chose, not the copy of the one inside it.
    const QString inside = shown + QDir::separator() + QDir::toNativeSeparators(inner);
    o.message.replace(QDir::toNativeSeparators(file), inside);
    return o;
}

ImportArchive::Outcome ImportArchive::run(const QString &archive, const QString &modFolder,
                                          const Options &options) {
    return runOne(archive, modFolder, options, nullptr);
}

ImportArchive::Outcome ImportArchive::runOne(const QString &archive, const QString &modFolder,
                                             const Options &options, const QByteArray *readme) {
    const QString shown = QDir::toNativeSeparators(archive);
    const QString notImported = QStringLiteral("\"%1\" was not imported: ").arg(shown);
    const bool fromFolder = QFileInfo(archive).isDir();
    if (fromFolder) {
        // Copying the VEK folder (or a folder of it) into itself would only go round.
        const QString vek = QFileInfo(modFolder).canonicalFilePath() + QLatin1Char('/');
        const QString own = QFileInfo(archive).canonicalFilePath() + QLatin1Char('/');
        if (vek.startsWith(own) || own.startsWith(vek))
            return ended(Result::Refused,
                         notImported + QStringLiteral("it is the VEK folder, or inside it or "
                                                      "holds it. Import a folder from elsewhere."));
    }
    const Scan s = fromFolder ? scanFolder(archive) : scan(archive);
    if (!s.damage.isEmpty())
        return ended(Result::Failed, s.damage + QStringLiteral(" Nothing was imported."));
    if (!s.refusal.isEmpty())
        return ended(Result::Refused, notImported + s.refusal);

    if (!readme) {
        QString inner;
        QByteArray texts;
        if (wrapped(s, &inner, &texts))
            return fromFolder ? runOne(s.sources.value(inner), modFolder, options, &texts)
                              : nested(archive, inner, texts, modFolder, options);
    }

    // A collection's own groups name its content folders as much as the VEK folder's do.
    QStringList letters = options.groupLetters;
    QString root;
    if (ArchiveLayout::collectionRoot(s.entries, &root))
        for (const QByteArray &line :
             TextFile::splitLines(collectionText(s.texts, root + MergedNames.at(0))))
            if (const QString letter = Text8::toUnicode(line).right(1); !letter.isEmpty())
                letters << letter;
    ArchiveLayout::Plan plan = ArchiveLayout::plan(
        s.entries, letters, options.name,
        fromFolder ? QFileInfo(archive).fileName()
                   : QFileInfo(archive).completeBaseName().section(QLatin1Char('.'), 0, 0));
    if (plan.collection && plan.refusal.isEmpty()) {
        // A VEK folder of its own holds its maker's saves and exchanges too: those stay out,
        // and the rest comes in.
        QStringList stores = options.stores;
        if (options.storeOf)
            for (const ArchiveLayout::Target &t : std::as_const(plan.targets))
                if (const QString store = options.storeOf(t.place); !store.isEmpty())
                    stores << store;
        plan.targets.removeIf([&](const ArchiveLayout::Target &t) {
            const bool own = !ownFolder(t.place, stores).isEmpty();
            if (own)
                plan.leftOut << plan.root + t.place;
            return own;
        });
        if (plan.targets.isEmpty())
            plan.refusal = QStringLiteral("it is a VEK folder of its own that holds no content "
                                          "folder, skin or autoscript of its own.");
    }
    if (plan.needsName) {
        Outcome o = ended(Result::NeedsName,
                          QStringLiteral("\"%1\" holds no folder named as a content folder is "
                                         "named: the folder it makes needs a name, such as "
                                         "\"%2\".")
                              .arg(shown, plan.suggestion));
        o.suggestion = plan.suggestion;
        return o;
    }
    if (!plan.refusal.isEmpty())
        return ended(Result::Refused, notImported + plan.refusal);
    for (const ArchiveLayout::Target &t : std::as_const(plan.targets)) {
        QString path;
        QString reason;
        if (!ArchiveLayout::entryPath(t.place, &path, &reason))
            return ended(Result::Refused,
                         notImported + QStringLiteral("the folder \"%1\" it makes would have %2.")
                                           .arg(t.place, reason));
    }

    for (const ArchiveLayout::Target &t : plan.targets)
        if (const QString own = ownFolder(t.place, options.stores); !own.isEmpty())
            return ended(Result::Refused,
                         notImported +
                             QStringLiteral("\"%1\" is a folder VEK Selector keeps for itself%2, "
                                            "and an import never makes or replaces it. Give the "
                                            "folder another name.")
                                 .arg(spelled(modFolder, t.place),
                                      own.compare(QLatin1String("C-Default")) == 0 ||
                                              options.stores.contains(own)
                                          ? QStringLiteral(" (it holds campaign saves)")
                                          : QString()));

    Outcome o;
    QStringList asked;
    o.collection = plan.collection;
    o.leftOut = plan.leftOut;
    for (const ArchiveLayout::Target &t : std::as_const(plan.targets)) {
        const QString present = spelled(modFolder, t.place, t.file);
        const QString parent = present.section(QLatin1Char('/'), 0, -2);
        o.places << (parent.isEmpty() ? QString() : parent + QLatin1Char('/')) +
                        t.place.section(QLatin1Char('/'), -1);
        if (!QFileInfo(modFolder + QLatin1Char('/') + present).exists()) {
            o.replaced << QString();
            continue;
        }
        if (options.loaded && options.loaded(present))
            return ended(Result::Refused,
                         notImported + QStringLiteral("\"%1\" is loaded, and a loaded folder is "
                                                      "never replaced. Unload it first.")
                                           .arg(present));
        o.replaced << present;
        asked << present;
    }
    if (!asked.isEmpty() && !(options.replace && options.replace(asked)))
        return ended(Result::Refused,
                     notImported + QStringLiteral("\"%1\" is in the VEK folder already, and was "
                                                  "kept.")
                                       .arg(asked.join(QStringLiteral("\", \""))));
    const qint64 free = FileOps::bytesFree(modFolder);
    const qint64 needed = s.bytes + 4096 * s.entries.size();
    if (free >= 0 && needed > free)
        return ended(Result::Refused, notImported + spaceRefusal(needed, free));

    QString error;
    Merge merged;
    if (plan.collection && !merge(modFolder, s.texts, plan.root, &merged, &error))
        return ended(Result::Refused, notImported + error);
    ImportStaging staging(modFolder);
    if (!staging.create(&error))
        return ended(Result::Failed, notImported + error);
    for (qsizetype i = 0; i < plan.targets.size(); ++i)
        if (!plan.targets.at(i).file && !QDir().mkdir(staging.unpackFolder(int(i))))
            return ended(Result::Failed,
                         notImported + QStringLiteral("could not create a folder in \"%1\".")
                                           .arg(QDir::toNativeSeparators(modFolder)));
    Following following{options.progress};
    if (options.progress)
        options.progress->begin(s.files);
    QSet<QString> made;
    const auto makeFolder = [&made](const QString &folder) {
        if (made.contains(folder))
            return true;
        made.insert(folder);
        return QDir().mkpath(folder);
    };
    // A folder is copied file by file as the load copies (cloned where the file system can).
    for (const ArchiveLayout::Entry &en : fromFolder ? s.entries : QList<ArchiveLayout::Entry>()) {
        const int t = targetOf(plan.targets, en.path);
        if (macExtras(en.path) || t < 0)
            continue;
        const bool whole = plan.targets.at(t).file;
        const QString inside = whole ? en.path.section(QLatin1Char('/'), -1)
                                     : en.path.mid(plan.targets.at(t).prefix.size());
        if (inside.isEmpty())
            continue;
        const QString dest =
            whole ? staging.unpackFolder(t) : staging.unpackFolder(t) + QLatin1Char('/') + inside;
        const QString folder = en.folder ? dest : dest.section(QLatin1Char('/'), 0, -2);
        if (!makeFolder(folder))
            return ended(Result::Failed,
                         notImported + QStringLiteral("could not create the folder \"%1\".")
                                           .arg(QDir::toNativeSeparators(folder)));
        if (en.folder)
            continue;
        if (options.progress && !options.progress->next(inside))
            return ended(Result::Cancelled,
                         QStringLiteral("The import of \"%1\" was cancelled; nothing was "
                                        "imported.")
                             .arg(shown));
        if (!FileCopy::copyReplace(s.sources.value(en.path), dest, &error))
            return ended(Result::Failed, notImported + error);
        ++o.files;
    }
    ArchiveReader reader;
    if (!fromFolder && !reader.open(archive, &error))
        return ended(Result::Failed, error + QStringLiteral(" Nothing was imported."));
    qint64 unpacked = 0;
    ArchiveReader::Entry e;
    for (; !fromFolder;) {
        const ArchiveReader::Step step = reader.next(&e, &error);
        if (step == ArchiveReader::Step::End)
            break;
        if (step == ArchiveReader::Step::Failed)
            return ended(Result::Failed, error + QStringLiteral(" Nothing was imported."));
        QString path;
        QString reason;
        // The same names as the first pass: an archive cannot change between the two reads
        // unnoticed, since a name refused now ends the import too.
        if (!ArchiveLayout::entryPath(e.name, &path, &reason) ||
            e.kind == ArchiveReader::Entry::Kind::Other)
            return ended(Result::Failed, notImported + QStringLiteral("it changed while it was "
                                                                      "read."));
        const int t = targetOf(plan.targets, path);
        if (macExtras(path) || t < 0)
            continue;
        const bool whole = plan.targets.at(t).file;
        const QString inside =
            whole ? path.section(QLatin1Char('/'), -1) : path.mid(plan.targets.at(t).prefix.size());
        if (inside.isEmpty())
            continue;
        const QString dest =
            whole ? staging.unpackFolder(t) : staging.unpackFolder(t) + QLatin1Char('/') + inside;
        const QString folder = e.kind == ArchiveReader::Entry::Kind::Folder
                                   ? dest
                                   : dest.section(QLatin1Char('/'), 0, -2);
        if (!made.contains(folder)) {
            if (!QDir().mkpath(folder))
                return ended(Result::Failed,
                             notImported + QStringLiteral("could not create the folder \"%1\".")
                                               .arg(QDir::toNativeSeparators(folder)));
            made.insert(folder);
        }
        if (e.kind == ArchiveReader::Entry::Kind::Folder)
            continue;
        if (options.progress && !options.progress->next(inside))
            return ended(Result::Cancelled,
                         QStringLiteral("The import of \"%1\" was cancelled; nothing was "
                                        "imported.")
                             .arg(shown));
        if (!FileHook::mayChange(dest, &error))
            return ended(Result::Failed, notImported + error);
        QFile file(dest);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return ended(Result::Failed,
                         notImported +
                             QStringLiteral("could not create \"%1\": %2.")
                                 .arg(QDir::toNativeSeparators(dest), FileOps::reasonOf(file)));
        qint64 end = 0;
        for (;;) {
            const void *data = nullptr;
            size_t size = 0;
            qint64 offset = 0;
            if (!reader.block(&data, &size, &offset, &error))
                return ended(Result::Failed, error + QStringLiteral(" Nothing was imported."));
            if (size == 0)
                break;
            if (offset != end && !file.seek(offset))
                return ended(Result::Failed, notImported + FileOps::reasonOf(file));
            end = offset + qint64(size);
            unpacked += qint64(size);
            if (e.size >= 0 && end > e.size)
                return ended(Result::Refused,
                             notImported +
                                 QStringLiteral("its entry \"%1\" claims %2 bytes and holds more.")
                                     .arg(e.name)
                                     .arg(e.size));
            if (unpacked > qMax(RatioFloor, MaxRatio * reader.packedBytesRead()))
                return ended(Result::Refused,
                             notImported + QStringLiteral("it unpacks to more than %1 times its "
                                                          "own size, as an archive made to fill "
                                                          "the disk does.")
                                               .arg(MaxRatio));
            if (!FileOps::writeFully(file, static_cast<const char *>(data), qint64(size), &reason))
                return ended(Result::Failed,
                             notImported + QStringLiteral("could not write \"%1\": %2.")
                                               .arg(QDir::toNativeSeparators(dest), reason));
        }
        if (e.size >= 0 && end < e.size)
            return ended(Result::Failed,
                         notImported + QStringLiteral("its entry \"%1\" claims %2 bytes and "
                                                      "holds %3.")
                                           .arg(e.name)
                                           .arg(e.size)
                                           .arg(end));
        file.close();
        FileHook::copied(archive + QLatin1Char('/') + path, dest, false);
        ++o.files;
    }
    if (readme && !readme->isEmpty())
        for (qsizetype i = 0; i < plan.targets.size(); ++i) {
            const QString folder = staging.unpackFolder(int(i));
            if (plan.targets.at(i).file ||
                plan.targets.at(i).place.startsWith(QStringLiteral("Skinfolder/")) ||
                !FileList::find(folder, ContentsFile).isEmpty())
                continue;
            if (!FileHook::mayChange(folder + QLatin1Char('/') + ContentsFile, &error) ||
                !FileOps::writeAtomic(folder + QLatin1Char('/') + ContentsFile, *readme, &error))
                return ended(Result::Failed, notImported + error);
        }
    // The lines a collection adds go in first: should the folders not, the files get their
    // bytes back. A crash between the two leaves lines that name what a new import brings.
    qsizetype renamed = 0;
    if (!merged.files.isEmpty() && !FileOps::writeSet(merged.files, &error, &renamed)) {
        putBack(merged, renamed);
        return ended(Result::Failed, notImported + error);
    }
    if (!staging.commit(o.places, o.replaced, &error)) {
        putBack(merged, merged.files.size());
        return ended(Result::Failed, notImported + error);
    }
    o.added = merged.added;
    o.result = Result::Imported;
    return o;
}
