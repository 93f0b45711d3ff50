#include "Journal.h"

#include "FileCopy.h"
#include "FileList.h"
#include "FileOps.h"
#include "TextFile.h"

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
        out.reserve(out.size() + m.files.size() * 24);
        for (const QString &f : m.files) {
            out += "file\t";
            appendField(out, f);
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
    for (const Backup &b : r.backups)
        add({"backup", field(b.path), b.existed ? b.bytes.toBase64() : "-"});
    for (const QString &o : r.order)
        add({"order", field(o)});
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
            r.moves.append({key == "in", text(f[1]), text(f[2]), text(f[3]), {}});
        } else if (key == "file" && needs(2) && !r.moves.isEmpty()) {
            r.moves.last().files << text(f[1]);
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
        } else if (key == "backup" && needs(3)) {
            Backup b{text(f[1]), f[2] != "-", {}};
            if (b.existed) {
                const auto decoded =
                    QByteArray::fromBase64Encoding(f[2], QByteArray::AbortOnBase64DecodingErrors);
                if (!decoded)
                    return bad(QStringLiteral("line %1 holds damaged bytes").arg(i + 1));
                b.bytes = *decoded;
            }
            r.backups << b;
        } else if (key == "order" && needs(2)) {
            r.order << text(f[1]);
        } else {
            return bad(QStringLiteral("line %1 is not understood").arg(i + 1));
        }
    }
    if (r.operation.isEmpty() || r.stage.isEmpty())
        return bad(QStringLiteral("it does not say what was being done"));
    *record = r;
    return true;
}

bool Journal::write(const QString &modFolder, const Record &record, QString *error) {
    // writeAtomic syncs the file before renaming it over the old record; the folder sync makes
    // the rename itself survive a power cut.
    return FileOps::writeAtomic(journalPath(modFolder), toBytes(record), error) &&
           FileOps::syncFolder(modFolder, error);
}

Journal::Found Journal::read(const QString &modFolder, Record *record, QString *error) {
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
    return Found::Record;
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
    FileCopy::fileNames(folder, &names, nullptr);
    return names;
}
