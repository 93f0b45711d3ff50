// SPDX-License-Identifier: GPL-3.0-or-later
#include "Journal.h"

#include "FileList.h"
#include "FileOps.h"
#include "FolderListing.h"
#include "LoadGrid.h"
#include "TextFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

const QByteArray kHeader = "VEK Selector journal 1";
// Kept readable: only what would break a field or a line, and "%" itself, is encoded; a field
// that holds none of them is written as it is (any other bytes read back unchanged).
const QByteArray kPlain = " !\"#$&'()*+,/:;<=>?@[\\]^`{|}";

QByteArray field(const QString &text) {
    // Most names need no encoding; a record of thousands of names is written at every load.
    QByteArray utf8 = text.toUtf8();
    for (const char c : std::as_const(utf8))
        if (c == '\t' || c == '\r' || c == '\n' || c == '%')
            return utf8.toPercentEncoding(kPlain);
    return utf8;
}

// `field(text)` appended to `out`: an ASCII name that needs no encoding goes in as it is,
// without a string of its own (a record holds thousands of names).
void appendField(QByteArray &out, const QString &text) {
    const QChar *c = text.constData();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = c[i].unicode();
        if (u >= 0x80 || u == '\t' || u == '\r' || u == '\n' || u == '%') {
            out += field(text);
            return;
        }
    }
    const qsizetype at = out.size();
    out.resize(at + n);
    char *o = out.data() + at;
    for (qsizetype i = 0; i < n; ++i)
        o[i] = char(c[i].unicode());
}

QString text(const QByteArray &field) {
    return QString::fromUtf8(QByteArray::fromPercentEncoding(field));
}

QByteArray line(std::initializer_list<QByteArray> fields) {
    QByteArray l;
    for (const QByteArray &f : fields) {
        if (!l.isEmpty())
            l += '\t';
        l += f;
    }
    return l;
}

QString journalPath(const QString &modFolder) {
    return FileList::resolve(modFolder, Journal::FileName);
}

// A field quoted in a message: a hostile record can hold a line of any length. Its start and
// its end tell most: the folder and the file.
QString shortly(const QString &field) {
    constexpr qsizetype kHalf = 30;
    return QStringLiteral("\"%1\"").arg(
        field.size() > 2 * kHalf + 3 ? field.left(kHalf) + "..." + field.right(kHalf) : field);
}

bool isSeparator(QChar c) {
    // Where the system takes no backslash for a separator (Linux), it is part of a name and
    // leads nowhere; a record from elsewhere holding one is read as the name it is here.
    return c == QLatin1Char('/') || c == QDir::separator();
}

// Why the relative `path` (names joined by separators; with `single`, one name) could reach
// outside the folder it is joined to, or empty when it cannot.
QString outside(const QString &path, bool single) {
    if (path.isEmpty())
        return QStringLiteral("is empty");
    if (path.contains(QChar(0)))
        return QStringLiteral("holds a NUL character");
    if (QDir::isAbsolutePath(path))
        return QStringLiteral("is an absolute path");
#ifdef Q_OS_WIN
    // "C:name" is relative to another drive's current folder.
    if (path.contains(QLatin1Char(':')))
        return QStringLiteral("names a drive");
#endif
    qsizetype start = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !isSeparator(path.at(i)))
            continue;
        if (single && i < path.size())
            return QStringLiteral("holds a folder separator where a file name belongs");
        const QStringView part = QStringView(path).mid(start, i - start);
        if (part == u"..")
            return QStringLiteral("leads out of its folder by \"..\"");
        if (part.isEmpty() || part == u".")
            return QStringLiteral("is not a name in the folder");
        start = i + 1;
    }
    return QString();
}

// `path` placed in `folder`: a relative path joined to it, an absolute one (as older records
// wrote them) taken when it lies inside; with `single`, one name in it. Empty with `why` when
// it does not.
QString placed(const QString &path, const QString &folder, bool single, QString *why) {
    QString relative = path;
    if (QDir::isAbsolutePath(path)) {
        // ".." is refused as written, before cleaning could hide it.
        for (const QString &part : QDir::fromNativeSeparators(path).split(QLatin1Char('/')))
            if (part == QLatin1String("..")) {
                *why = QStringLiteral("leads out of its folder by \"..\"");
                return QString();
            }
        relative = QDir(folder).relativeFilePath(path);
        if (QDir::isAbsolutePath(relative) || relative == QLatin1String("..") ||
            relative.startsWith(QLatin1String("../"))) {
            *why = QStringLiteral("is an absolute path outside %1")
                       .arg(shortly(QDir::toNativeSeparators(folder)));
            return QString();
        }
    }
    *why = outside(relative, single);
    if (!why->isEmpty())
        return QString();
    return FileList::join(folder, QDir::toNativeSeparators(relative));
}

// Why `path` (inside `folder`) could lead out of it through a link: the first part of it below
// `folder` that is a symbolic link or a junction, which every later step would follow. Empty
// when there is none. A part that is not there ends the walk: nothing below it is either.
QString throughLink(const QString &folder, const QString &path) {
    const QString relative = QDir::fromNativeSeparators(QDir(folder).relativeFilePath(path));
    QString at = folder;
    for (const QString &part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        at = FileList::join(at, part);
        const QFileInfo info(at);
        if (info.isSymLink() || info.isJunction())
            return QStringLiteral("leads through the link %1")
                .arg(shortly(QDir::toNativeSeparators(at)));
        if (!info.exists())
            break;
    }
    return QString();
}

bool isFlightFile(const QString &name) {
    return name.endsWith(QLatin1String(".flt"), Qt::CaseInsensitive);
}

// Why the backup `b` of the game file `name` may not be put back, or empty when it may. An
// aircraft swap rewrites planes.dat, pnames.str and loadout.dat, which it reads first and so
// finds there and not empty, and writes the three plane-pick menus and the aircraft's flight
// file, which may be new; no other file (above all not eaw.exe or eaw.ini, whose copies a start
// keeps as the originals) is ever a backup's.
QString unfit(const Journal::Backup &b, const QString &name) {
    static const QStringList read = {QStringLiteral("planes.dat"), QStringLiteral("pnames.str"),
                                     QStringLiteral("loadout.dat")};
    static const QStringList written = {QStringLiteral("picplna.mnu"),
                                        QStringLiteral("picplnb.mnu"),
                                        QStringLiteral("picplng.mnu")};
    const bool mustBe = read.contains(name, Qt::CaseInsensitive);
    if (!mustBe && !written.contains(name, Qt::CaseInsensitive) && !isFlightFile(name))
        return QStringLiteral("is not a file an aircraft swap writes");
    if (!b.existed)
        return mustBe ? QStringLiteral("is a file every swap finds there, not one to delete")
                      : QString();
    if (b.size < 0)
        return QStringLiteral("comes without the size and hash its bytes are checked by");
    if (b.size != b.bytes.size() ||
        QCryptographicHash::hash(b.bytes, QCryptographicHash::Sha256) != b.sha256)
        return QStringLiteral("does not hold the bytes its size and hash say");
    if (b.bytes.isEmpty() && mustBe)
        return QStringLiteral("holds no bytes");
    return QString();
}

// `path` relative to `folder` with "/" between names, as the file stores it; a path that is
// not inside stays as it is, and is refused when read back.
QString stored(const QString &path, const QString &folder) {
    const QString relative = QDir(folder).relativeFilePath(path);
    return QDir::isAbsolutePath(relative) || relative.startsWith(QLatin1String("..")) ? path
                                                                                      : relative;
}

} // namespace

QByteArray Journal::toBytes(const Record &r) {
    QByteArray out;
    const auto add = [&out](std::initializer_list<QByteArray> fields) {
        out += line(fields);
        out += "\r\n";
    };
    add({kHeader});
    add({"operation", field(r.operation)});
    add({"stage", field(r.stage)});
    for (const Move &m : r.moves) {
        add({m.in ? "in" : "out", field(m.name), field(m.rule), field(m.folder)});
        out.reserve(out.size() + m.files.size() * 28);
        const bool says = m.had.size() == m.files.size();
        for (qsizetype i = 0; i < m.files.size(); ++i) {
            out += "file\t";
            appendField(out, m.files.at(i));
            if (says)
                out += m.had.at(i) ? "\thad" : "\tnew";
            out += "\r\n";
        }
    }
    for (const QString &d : r.drops)
        add({"drop", field(d)});
    if (!r.mission.isEmpty())
        add({"mission", field(r.mission)});
    if (!r.previous.isEmpty())
        add({"previous", field(r.previous)});
    for (const QString &h : r.held)
        add({"held", field(h)});
    if (r.skinSlot >= 0)
        add({"skinslot", QByteArray::number(r.skinSlot)});
    if (!r.aircraft.isEmpty())
        add({"aircraft", field(r.aircraft)});
    for (const QString &a : r.replaced)
        add({"replaced", field(a)});
    for (const Backup &b : r.backups) {
        if (!b.existed) {
            add({"backup", field(b.path), "-"});
            continue;
        }
        add({"backup", field(b.path), QByteArray::number(b.bytes.size()),
             QCryptographicHash::hash(b.bytes, QCryptographicHash::Sha256).toHex(),
             b.bytes.toBase64()});
    }
    for (const QString &o : r.order)
        add({"order", field(o)});
    for (const QString &o : r.reorder)
        add({"reorder", field(o)});
    for (const QString &f : r.recopied)
        add({"recopy", field(f)});
    // The last line tells a whole record from one cut short by a failing disk.
    add({"end"});
    return out;
}

bool Journal::fromBytes(const QByteArray &bytes, Record *record, QString *reason) {
    const QList<QByteArray> lines = TextFile::splitLines(bytes);
    const auto bad = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    if (lines.isEmpty() || lines.first() != kHeader)
        return bad(QStringLiteral("it is not a journal of this program"));
    if (lines.last() != "end")
        return bad(QStringLiteral("it is cut short"));
    Record r;
    r.stage.clear();
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> f = lines.at(i).split('\t');
        const QByteArray &key = f.first();
        const auto needs = [&f](qsizetype n) { return f.size() == n; };
        if (key == "operation" && needs(2)) {
            r.operation = text(f[1]);
        } else if (key == "stage" && needs(2)) {
            r.stage = text(f[1]);
        } else if ((key == "in" || key == "out") && needs(4)) {
            r.moves.append({key == "in", text(f[1]), text(f[2]), text(f[3]), {}, {}});
        } else if (key == "file" && needs(2) && !r.moves.isEmpty()) {
            r.moves.last().files << text(f[1]);
        } else if (key == "file" && needs(3) && (f[2] == "had" || f[2] == "new") &&
                   !r.moves.isEmpty()) {
            Move &m = r.moves.last();
            // A list that says it of only some files says nothing (see `Move::had`).
            if (m.had.size() == m.files.size())
                m.had << (f[2] == "had");
            m.files << text(f[1]);
        } else if (key == "drop" && needs(2)) {
            r.drops << text(f[1]);
        } else if (key == "mission" && needs(2)) {
            r.mission = text(f[1]);
        } else if (key == "previous" && needs(2)) {
            r.previous = text(f[1]);
        } else if (key == "held" && needs(2)) {
            r.held << text(f[1]);
        } else if (key == "skinslot" && needs(2)) {
            bool ok = false;
            r.skinSlot = f[1].toInt(&ok);
            if (!ok)
                return bad(QStringLiteral("line %1 has no slot number").arg(i + 1));
        } else if (key == "aircraft" && needs(2)) {
            r.aircraft = text(f[1]);
        } else if (key == "replaced" && needs(2)) {
            r.replaced << text(f[1]);
        } else if (key == "backup" && (needs(3) || needs(5))) {
            // Written as the name and "-" for a file that was not there, else the name, the
            // size, the SHA-256 and the bytes; older records hold the name and the bytes.
            Backup b{text(f[1]), f.size() == 5 || f[2] != "-", {}, -1, {}};
            if (b.existed) {
                const auto decoded = QByteArray::fromBase64Encoding(
                    f.last(), QByteArray::AbortOnBase64DecodingErrors);
                if (!decoded)
                    return bad(QStringLiteral("line %1 holds damaged bytes").arg(i + 1));
                b.bytes = *decoded;
            }
            if (f.size() == 5) {
                bool ok = false;
                b.size = f[2].toLongLong(&ok);
                b.sha256 = QByteArray::fromHex(f[3]);
                if (!ok || b.size < 0 || b.sha256.size() != 32)
                    return bad(
                        QStringLiteral("line %1 has no size and hash of its bytes").arg(i + 1));
            }
            r.backups << b;
        } else if (key == "order" && needs(2)) {
            r.order << text(f[1]);
        } else if (key == "reorder" && needs(2)) {
            r.reorder << text(f[1]);
        } else if (key == "recopy" && needs(2)) {
            r.recopied << text(f[1]);
        } else {
            return bad(QStringLiteral("line %1 is not understood").arg(i + 1));
        }
    }
    if (r.operation.isEmpty() || r.stage.isEmpty())
        return bad(QStringLiteral("it does not say what was being done"));
    for (Move &m : r.moves)
        if (m.had.size() != m.files.size())
            m.had.clear();
    *record = r;
    return true;
}

bool Journal::place(Record *record, const QString &modFolder, const QString &gameFolder,
                    QString *reason) {
    Record r = *record;
    QString why;
    // "the file "../x" of "A-Name" leads out of its folder by "..""
    const auto bad = [reason, &why](const QString &what, const QString &field,
                                    const QString &of = QString()) {
        if (reason)
            *reason = QStringLiteral("%1 %2%3 %4")
                          .arg(what, shortly(field),
                               of.isNull() ? QString() : QStringLiteral(" of ") + shortly(of), why);
        return false;
    };
    const auto name = [&why](const QString &n) {
        why = outside(n, true);
        return why.isEmpty();
    };
    const auto names = [&name, &why](const QStringList &list) {
        why.clear();
        for (const QString &n : list)
            if (!name(n))
                return n;
        return QString();
    };
    // A mission's name gives the save store its saves go to and come from.
    const auto mission = [&why, &name](const QString &m) {
        if (m.isEmpty() || !name(m))
            return m.isEmpty();
        if (LoadGrid::storeOf(m).isEmpty())
            why = QStringLiteral("is not a mission with a save store");
        return why.isEmpty();
    };
    // A stage this program never writes is no step to go on from: "finishing" it would take
    // the operation for done without having done it.
    if (!QStringList{Files, SavesPark, SavesBring, SavesStore, SavesDefault, Over}.contains(
            r.stage)) {
        why = QStringLiteral("is not one this program writes");
        return bad(QStringLiteral("the stage"), r.stage);
    }
    for (Move &m : r.moves) {
        if (!name(m.name))
            return bad(QStringLiteral("the ledger name"), m.name);
        const QString folder = m.folder;
        m.folder = placed(folder, modFolder, false, &why);
        if (!m.folder.isEmpty())
            why = throughLink(modFolder, m.folder);
        if (!why.isEmpty())
            return bad(QStringLiteral("the folder"), folder, m.name);
        if (const QString f = names(m.files); !why.isEmpty())
            return bad(QStringLiteral("the file"), f, m.name);
    }
    for (Backup &b : r.backups) {
        const QString path = b.path;
        b.path = placed(path, gameFolder, true, &why);
        if (!b.path.isEmpty())
            why = unfit(b, QFileInfo(b.path).fileName());
        if (why.isEmpty())
            why = throughLink(gameFolder, b.path);
        if (!why.isEmpty())
            return bad(QStringLiteral("the game file backed up"), path);
    }
    if (const QString d = names(r.drops); !why.isEmpty())
        return bad(QStringLiteral("the ledger name to drop"), d);
    if (const QString a = names(r.replaced); !why.isEmpty())
        return bad(QStringLiteral("the aircraft replaced"), a);
    if (!r.aircraft.isEmpty() && !name(r.aircraft))
        return bad(QStringLiteral("the aircraft"), r.aircraft);
    if (const QString h = names(r.held); !why.isEmpty())
        return bad(QStringLiteral("the held save"), h);
    if (const QString f = names(r.recopied); !why.isEmpty())
        return bad(QStringLiteral("the game file to copy"), f);
    if (!mission(r.mission))
        return bad(QStringLiteral("the mission"), r.mission);
    if (!mission(r.previous))
        return bad(QStringLiteral("the mission before"), r.previous);
    // The saves of a mission travel between the stores and Savedata, deleting what they leave.
    if (!r.mission.isEmpty()) {
        QStringList stores{LoadGrid::storeOf(r.mission), QStringLiteral("C-Default")};
        if (!r.previous.isEmpty())
            stores << LoadGrid::storeOf(r.previous);
        for (const QString &store : std::as_const(stores))
            if (why = throughLink(modFolder, FileList::resolveFolder(modFolder, store));
                !why.isEmpty())
                return bad(QStringLiteral("the save store"), store);
        const QString saves = QStringLiteral("Savedata");
        if (why = throughLink(gameFolder, FileList::resolveFolder(gameFolder, saves));
            !why.isEmpty())
            return bad(QStringLiteral("the game's save folder"), saves);
    }
    *record = r;
    return true;
}

bool Journal::write(const QString &modFolder, const QString &gameFolder, const Record &record,
                    QString *error) {
    Record r = record;
    for (Move &m : r.moves)
        m.folder = stored(m.folder, modFolder);
    for (Backup &b : r.backups)
        b.path = stored(b.path, gameFolder);
    // writeAtomic syncs the file before renaming it over the old record; the folder sync makes
    // the rename itself survive a power cut.
    return FileOps::writeAtomic(journalPath(modFolder), toBytes(r), error) &&
           FileOps::syncFolder(modFolder, error);
}

Journal::Found Journal::read(const QString &modFolder, const QString &gameFolder, Record *record,
                             QString *error) {
    const QString name = FileList::find(modFolder, FileName);
    if (name.isEmpty())
        return Found::None;
    const QString path = FileList::join(modFolder, name);
    QByteArray bytes;
    if (!FileOps::readAll(path, &bytes, error))
        return Found::Unreadable;
    QString reason;
    if (!fromBytes(bytes, record, &reason)) {
        if (error)
            *error = QStringLiteral("Could not read \"%1\": %2.")
                         .arg(QDir::toNativeSeparators(path), reason);
        return Found::Unreadable;
    }
    if (!place(record, modFolder, gameFolder, &reason)) {
        if (error)
            *error = QStringLiteral("The journal \"%1\" was not acted on: %2, and VEK Selector "
                                    "changes nothing outside the game folder and the VEK folder.")
                         .arg(QDir::toNativeSeparators(path), reason);
        return Found::Refused;
    }
    return Found::Record;
}

bool Journal::setAside(const QString &modFolder, QString *aside, QString *error) {
    const QString name = FileList::find(modFolder, FileName);
    if (name.isEmpty())
        return true;
    QString free = FileName + QStringLiteral(".refused");
    for (int n = 2; !FileList::find(modFolder, free).isEmpty(); ++n)
        free = FileName + QStringLiteral(".refused-%1").arg(n);
    const QString from = FileList::join(modFolder, name);
    *aside = FileList::join(modFolder, free);
    // A rename within one folder, which renameFolder makes for a file as for a folder; the
    // name was checked free, so no other record is replaced.
    if (!FileOps::renameFolder(from, *aside)) {
        if (error)
            *error = QStringLiteral("Could not rename \"%1\" to \"%2\".")
                         .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(*aside));
        return false;
    }
    return FileOps::syncFolder(modFolder, error);
}

bool Journal::remove(const QString &modFolder, QString *error) {
    const QString name = FileList::find(modFolder, FileName);
    if (name.isEmpty())
        return true;
    return FileOps::remove(FileList::join(modFolder, name), error) &&
           FileOps::syncFolder(modFolder, error);
}

bool Journal::backUp(const QString &path, Backup *backup, QString *error) {
    backup->path = path;
    backup->existed = QFileInfo(path).isFile();
    backup->bytes.clear();
    return !backup->existed || FileOps::readAll(path, &backup->bytes, error);
}

QStringList Journal::filesOf(const QString &folder) {
    QStringList names;
    // A folder that cannot be listed records no names; the move itself will tell why.
    FolderListing::fileNames(folder, &names, nullptr);
    return names;
}
