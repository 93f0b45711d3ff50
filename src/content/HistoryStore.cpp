// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryStore.h"

#include "FileOps.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

const QByteArray Magic = "VEK history entry 1";

QByteArray escaped(const QString &text) {
    return text.toUtf8().toPercentEncoding(" /:()[]!,'\"");
}

// Most paths hold nothing escaped: a history of many entries is read at a start.
QString unescaped(const QByteArray &text) {
    return QString::fromUtf8(text.contains('%') ? QByteArray::fromPercentEncoding(text) : text);
}

// A path kept in an entry stays inside its folder: relative, no "..", no empty part.
bool insideFolder(const QString &path) {
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || path.contains(QLatin1Char('\\')) ||
        QDir::isAbsolutePath(path))
        return false;
    for (const QString &part : path.split(QLatin1Char('/')))
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    return true;
}

bool objectName(const QString &name) {
    QString vekPath;
    FileIdentity identity;
    if (name.startsWith(QLatin1String("r-")))
        return HistoryStore::referred(name, &vekPath, &identity) && insideFolder(vekPath);
    return name == QLatin1String("absent") ||
           ((name.startsWith(QLatin1String("l-")) || name.startsWith(QLatin1String("c-"))) &&
            !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
            !name.contains(QLatin1String("..")));
}

// A fingerprint of a file's bytes: "s-" and 64 hexadecimal digits, or none.
bool contentName(const QString &name) {
    static const QRegularExpression form(QStringLiteral("^s-[0-9a-f]{64}$"));
    return name.isEmpty() || form.match(name).hasMatch();
}

} // namespace

QByteArray HistoryEntry::text() const {
    QByteArray out = Magic + '\n';
    out += "number\t" + QByteArray::number(number) + '\n';
    out += "time\t" + time.toString(Qt::ISODate).toLatin1() + '\n';
    out += "sentence\t" + escaped(sentence) + '\n';
    out += "options\t" + escaped(optionsBefore) + '\t' + escaped(optionsAfter) + '\n';
    if (backTo >= 0)
        out += "back\t" + QByteArray::number(backTo) + '\n';
    if (gone)
        out += "gone\n";
    for (const File &f : files)
        out += "file\t" + QByteArray(1, char(f.root)) + '\t' + escaped(f.path) + '\t' +
               f.before.toLatin1() + '\t' + f.after.text().toLatin1() +
               (f.source.isEmpty() ? QByteArray() : '\t' + f.source.toLatin1()) +
               (f.content.isEmpty() ? QByteArray() : '\t' + f.content.toLatin1()) + '\n';
    return out;
}

bool HistoryEntry::parse(const QByteArray &bytes, HistoryEntry *entry, QString *error) {
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.isEmpty() || lines.first() != Magic) {
        *error = QStringLiteral("it is not an entry of the history");
        return false;
    }
    HistoryEntry e;
    bool numbered = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> f = lines.at(i).split('\t');
        const QByteArray &key = f.first();
        if (key.isEmpty())
            continue;
        bool ok = true;
        if (key == "number" && f.size() == 2) {
            e.number = f.at(1).toInt(&ok);
            numbered = ok && e.number > 0;
        } else if (key == "time" && f.size() == 2) {
            e.time = QDateTime::fromString(QString::fromLatin1(f.at(1)), Qt::ISODate);
            ok = e.time.isValid();
        } else if (key == "sentence" && f.size() == 2) {
            e.sentence = unescaped(f.at(1));
        } else if (key == "options" && f.size() == 3) {
            e.optionsBefore = unescaped(f.at(1));
            e.optionsAfter = unescaped(f.at(2));
        } else if (key == "back" && f.size() == 2) {
            e.backTo = f.at(1).toInt(&ok);
            ok = ok && e.backTo >= 0;
        } else if (key == "gone" && f.size() == 1) {
            e.gone = true;
        } else if (key == "file" && f.size() >= 5 && f.size() <= 7 && f.at(1).size() == 1 &&
                   (f.at(1) == "g" || f.at(1) == "v")) {
            File file;
            file.root = Root(f.at(1).at(0));
            file.path = unescaped(f.at(2));
            file.before = QString::fromLatin1(f.at(3));
            file.after = FileIdentity::fromText(QString::fromLatin1(f.at(4)));
            for (qsizetype k = 5; k < f.size(); ++k) {
                const QString extra = QString::fromLatin1(f.at(k));
                (extra.startsWith(QLatin1String("s-")) ? file.content : file.source) = extra;
            }
            ok = insideFolder(file.path) && objectName(file.before) && contentName(file.content) &&
                 (file.source.isEmpty() ||
                  (file.source.startsWith(QLatin1String("r-")) && objectName(file.source))) &&
                 (file.root == Root::Game || !file.path.contains(QLatin1Char('/')));
            e.files.append(file);
        } else {
            ok = false;
        }
        if (!ok) {
            *error = QStringLiteral("line %1 is not understood: \"%2\"")
                         .arg(i + 1)
                         .arg(QString::fromUtf8(lines.at(i).left(60)));
            return false;
        }
    }
    if (!numbered || !e.time.isValid()) {
        *error = QStringLiteral("its number or time is missing");
        return false;
    }
    *entry = e;
    return true;
}

void HistoryIndex::add(const HistoryEntry &entry) {
    last = std::max(last, entry.number);
    if (entry.gone)
        pruned = std::max(pruned, entry.number);
    for (const HistoryEntry::File &f : entry.files)
        files.insert(key(f.root, f.path), f);
}

namespace {
const QByteArray IndexMagic = "VEK history index 1";
} // namespace

QByteArray HistoryIndex::text() const {
    QByteArray out = IndexMagic + '\n';
    out += "last\t" + QByteArray::number(last) + '\n';
    out += "pruned\t" + QByteArray::number(pruned) + '\n';
    for (const HistoryEntry::File &f : files)
        out += "file\t" + QByteArray(1, char(f.root)) + '\t' + escaped(f.path) + '\t' +
               f.after.text().toLatin1() + '\t' + f.source.toLatin1() +
               (f.content.isEmpty() ? QByteArray() : '\t' + f.content.toLatin1()) + '\n';
    return out;
}

bool HistoryIndex::parse(const QByteArray &bytes, HistoryIndex *index) {
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.isEmpty() || lines.first() != IndexMagic)
        return false;
    HistoryIndex x;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> f = lines.at(i).split('\t');
        bool ok = true;
        if (f.first().isEmpty() && f.size() == 1)
            continue;
        if (f.first() == "last" && f.size() == 2) {
            x.last = f.at(1).toInt(&ok);
        } else if (f.first() == "pruned" && f.size() == 2) {
            x.pruned = f.at(1).toInt(&ok);
        } else if (f.first() == "file" && (f.size() == 5 || f.size() == 6) &&
                   (f.at(1) == "g" || f.at(1) == "v")) {
            HistoryEntry::File file;
            file.root = HistoryEntry::Root(f.at(1).at(0));
            file.path = unescaped(f.at(2));
            file.after = FileIdentity::fromText(QString::fromLatin1(f.at(3)));
            file.source = QString::fromLatin1(f.at(4));
            file.content = f.size() == 6 ? QString::fromLatin1(f.at(5)) : QString();
            ok = insideFolder(file.path) && contentName(file.content) &&
                 (file.source.isEmpty() ||
                  (file.source.startsWith(QLatin1String("r-")) && objectName(file.source)));
            x.files.insert(key(file.root, file.path), file);
        } else {
            ok = false;
        }
        if (!ok)
            return false;
    }
    *index = x;
    return true;
}

HistoryStore::HistoryStore(const QString &gameFolder)
    : folder_(gameFolder + QLatin1Char('/') + FolderName) {}

bool HistoryStore::open(QString *error) {
    for (const QString &sub : {QString(), QStringLiteral("/entries"), QStringLiteral("/objects")})
        if (!QDir().mkpath(folder_ + sub)) {
            *error = QStringLiteral("Could not make the folder \"%1\".")
                         .arg(QDir::toNativeSeparators(folder_ + sub));
            return false;
        }
    const QString begun = folder_ + QStringLiteral("/begun.txt");
    if (!QFileInfo::exists(begun))
        return writeDurably(
            begun, QDateTime::currentDateTime().toString(Qt::ISODate).toLatin1() + '\n', error);
    return true;
}

QString HistoryStore::objectPath(const QString &object) const {
    return folder_ + QStringLiteral("/objects/") + object;
}

QString HistoryStore::keepLink(const QString &path, QString *error) {
    const QString stamp = QString::number(QDateTime::currentMSecsSinceEpoch(), 36);
    for (int tries = 0; tries < 1000; ++tries) {
        const QString object = QStringLiteral("l-%1-%2-%3")
                                   .arg(stamp)
                                   .arg(QCoreApplication::applicationPid())
                                   .arg(++serial_);
        if (QFileInfo::exists(objectPath(object)))
            continue;
        if (FileIdentity::hardLink(path, objectPath(object)))
            return object;
        break;
    }
    return keepCopy(path, error);
}

QString HistoryStore::keepCopy(const QString &path, QString *error) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Could not read \"%1\" to keep it in the history: %2.")
                     .arg(QDir::toNativeSeparators(path), in.errorString());
        return QString();
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&in)) {
        *error = QStringLiteral("Could not read \"%1\" to keep it in the history.")
                     .arg(QDir::toNativeSeparators(path));
        return QString();
    }
    const QString object = QStringLiteral("c-") + QString::fromLatin1(hash.result().toHex());
    if (QFileInfo::exists(objectPath(object)))
        return object;
    // A copy under a temporary name first: a half copy never carries the content's name.
    const QString temporary = objectPath(object) + QStringLiteral(".part");
    QFile::remove(temporary);
    if (!QFile::copy(path, temporary) || !QFile::rename(temporary, objectPath(object))) {
        QFile::remove(temporary);
        *error = QStringLiteral("Could not keep a copy of \"%1\" in \"%2\".")
                     .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(folder_));
        return QString();
    }
    return object;
}

QString HistoryStore::contentOf(const QByteArray &bytes) {
    return QStringLiteral("s-") +
           QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QString HistoryStore::keepBytes(const QByteArray &bytes, QString *error) {
    const QString object =
        QStringLiteral("c-") +
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    if (QFileInfo::exists(objectPath(object)))
        return object;
    QSaveFile file(objectPath(object));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("Could not write \"%1\": %2.")
                     .arg(QDir::toNativeSeparators(objectPath(object)), file.errorString());
        return QString();
    }
    return object;
}

QString HistoryStore::reference(const QString &vekPath, const FileIdentity &identity) {
    return QStringLiteral("r-") + QString::fromLatin1(vekPath.toUtf8().toHex()) + QLatin1Char('-') +
           identity.text();
}

bool HistoryStore::referred(const QString &object, QString *vekPath, FileIdentity *identity) {
    if (!object.startsWith(QLatin1String("r-")))
        return false;
    const qsizetype dash = object.indexOf(QLatin1Char('-'), 2);
    if (dash < 0)
        return false;
    *vekPath = QString::fromUtf8(QByteArray::fromHex(object.mid(2, dash - 2).toLatin1()));
    *identity = FileIdentity::fromText(object.mid(dash + 1));
    return !vekPath->isEmpty() && identity->exists;
}

bool HistoryStore::has(const QString &object) const {
    return object == QLatin1String("absent") || QFileInfo::exists(objectPath(object));
}

void HistoryStore::drop(const QString &object) {
    if (object != QLatin1String("absent"))
        QFile::remove(objectPath(object));
}

bool HistoryStore::writeDurably(const QString &path, const QByteArray &bytes, QString *error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        *error = QStringLiteral("Could not write \"%1\": %2.")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = QStringLiteral("Could not write \"%1\": %2.")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return FileOps::syncFolder(QFileInfo(path).absolutePath(), error);
}

bool HistoryStore::write(const HistoryEntry &entry, QString *error) {
    return writeDurably(
        folder_ + QStringLiteral("/entries/%1.txt").arg(entry.number, 6, 10, QLatin1Char('0')),
        entry.text(), error);
}

bool HistoryStore::writeIndex(const HistoryIndex &index, QString *error) {
    return writeDurably(folder_ + QStringLiteral("/index.txt"), index.text(), error);
}

bool HistoryStore::readIndex(HistoryIndex *index) const {
    QFile file(folder_ + QStringLiteral("/index.txt"));
    // An entry after the index's last one: it was written, the index not yet.
    return file.open(QIODevice::ReadOnly) && HistoryIndex::parse(file.readAll(), index) &&
           !QFileInfo::exists(
               folder_ +
               QStringLiteral("/entries/%1.txt").arg(index->last + 1, 6, 10, QLatin1Char('0')));
}

namespace {
// Reads the entry file `path` into `entries`; `missing`: a file that is not there is no problem.
void readEntry(const QString &path, bool missing, QList<HistoryEntry> *entries,
               QStringList *problems) {
    QFile file(path);
    HistoryEntry entry;
    QString why;
    if (!file.open(QIODevice::ReadOnly)) {
        if (missing && !file.exists())
            return;
        why = file.errorString();
    } else if (HistoryEntry::parse(file.readAll(), &entry, &why)) {
        entries->append(entry);
    }
    if (!why.isEmpty() && problems)
        problems->append(QStringLiteral("The history's entry \"%1\" cannot be read: %2.")
                             .arg(QDir::toNativeSeparators(path), why));
}
} // namespace

QList<HistoryEntry> HistoryStore::read(QStringList *problems) const {
    QList<HistoryEntry> entries;
    const QDir dir(folder_ + QStringLiteral("/entries"));
    const QStringList names = dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString &name : names)
        readEntry(dir.filePath(name), false, &entries, problems);
    return entries;
}

QList<HistoryEntry> HistoryStore::read(int first, int last, QStringList *problems) const {
    QList<HistoryEntry> entries;
    for (int n = std::max(first, 1); n <= last; ++n)
        readEntry(folder_ + QStringLiteral("/entries/%1.txt").arg(n, 6, 10, QLatin1Char('0')), true,
                  &entries, problems);
    return entries;
}

QDateTime HistoryStore::begun() const {
    QFile file(folder_ + QStringLiteral("/begun.txt"));
    const QDateTime time =
        file.open(QIODevice::ReadOnly)
            ? QDateTime::fromString(QString::fromLatin1(file.readAll().trimmed()), Qt::ISODate)
            : QDateTime();
    return time.isValid() ? time : QDateTime::currentDateTime();
}

bool HistoryStore::writePlan(const QByteArray &plan, QString *error) {
    return writeDurably(folder_ + QLatin1Char('/') + PlanName, plan, error);
}

QByteArray HistoryStore::readPlan() const {
    QFile file(folder_ + QLatin1Char('/') + PlanName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void HistoryStore::removePlan() {
    QFile::remove(folder_ + QLatin1Char('/') + PlanName);
    QString ignored;
    FileOps::syncFolder(folder_, &ignored);
}

void HistoryStore::setPlanAside() {
    const QString plan = folder_ + QLatin1Char('/') + PlanName;
    QFile::remove(plan + QStringLiteral(".refused"));
    QFile::rename(plan, plan + QStringLiteral(".refused"));
}

qint64 HistoryStore::size() const {
    qint64 total = 0;
    const QDir dir(folder_ + QStringLiteral("/objects"));
    for (const QString &name : dir.entryList(QDir::Files)) {
        const FileIdentity id = FileIdentity::of(dir.filePath(name));
        if (id.links <= 1)
            total += id.size;
    }
    return total;
}
