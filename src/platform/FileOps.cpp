// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileOps.h"

#include "CrashPoint.h"
#include "FileHook.h"
#include "FileList.h"
#include "FolderScan.h"
#include "NativePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QStorageInfo>

#include <memory>
#include <vector>

namespace {
QString describe(const QString &action, const QString &path, const QString &reason) {
    return QStringLiteral("Could not %1 \"%2\": %3.")
        .arg(action, QDir::toNativeSeparators(path), reason);
}

} // namespace

bool FileOps::EnsureFolder(const QString &path, bool *created) {
    if (QFileInfo(path).isDir()) {
        if (created)
            *created = false;
        return true;
    }
    const bool ok = FileHook::mayChange(path, nullptr) && QDir().mkdir(path);
    if (ok)
        FileHook::folderCreated(path);
    if (created)
        *created = ok;
    return false;
}

bool FileOps::isReadOnly(const QString &path) {
    const QFileInfo fi(path);
    return fi.exists() && !(fi.permissions() & QFileDevice::WriteOwner);
}

bool FileOps::isReadOnlyFolder(const QString &path) {
    const QFileInfo fi(path);
    return fi.isDir() && !(fi.permissions() & QFileDevice::WriteOwner);
}

QString FileOps::reasonOf(const QFileDevice &file) {
    const QString said = file.errorString();
    // QIODevice's stand-in when nobody set a reason: a short write, say.
    if (!said.isEmpty() && said != QIODevice::tr("Unknown error"))
        return said;
    switch (file.error()) {
    case QFileDevice::ResourceError:
        return QStringLiteral("No space left on device");
    case QFileDevice::WriteError: {
        const QStorageInfo disk(QFileInfo(file.fileName()).absolutePath());
        if (disk.isValid() && disk.bytesAvailable() <= 0)
            return QStringLiteral("No space left on device");
        return QStringLiteral("the system did not take all of the bytes written");
    }
    case QFileDevice::ReadError:
        return QStringLiteral("the system did not give all of the file's bytes");
    case QFileDevice::PermissionsError:
        return QStringLiteral("Permission denied");
    case QFileDevice::OpenError:
        return QStringLiteral("it could not be opened");
    case QFileDevice::RenameError:
        return QStringLiteral("it could not be renamed");
    case QFileDevice::RemoveError:
        return QStringLiteral("it could not be deleted");
    default:
        return QStringLiteral("the system gave no reason");
    }
}

bool FileOps::writeFully(QFileDevice &file, const char *data, qint64 size, QString *reason) {
    // A short count is followed by one more write: it writes the rest or meets the error.
    for (int tries = 0; size > 0; ++tries) {
        const qint64 n = file.write(data, size);
        if (n <= 0 || tries > 64) {
            if (reason)
                *reason = reasonOf(file);
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

bool FileOps::flushFully(QFileDevice &file, QString *reason) {
    // A flush cut short keeps the rest in the buffer, with no reason: flushing again writes
    // it or meets the system's error.
    for (int tries = 0; tries < 3; ++tries) {
        if (file.flush())
            return true;
        const QString said = file.errorString();
        if (!said.isEmpty() && said != QIODevice::tr("Unknown error"))
            break;
    }
    if (reason)
        *reason = reasonOf(file);
    return false;
}

QStringList FileOps::removeCutWrites(const QString &folder, const QStringList &names,
                                     QStringList *problems) {
    // One pass over the folder's names, each looked at only when it has the shape: a folder
    // of thousands of content folders costs its listing and no pattern match per name.
    QSet<QString> bases;
    for (const QString &n : names)
        bases.insert(n.toCaseFolded());
    QStringList removed;
    QStringList files;
    FolderScan::names(folder, FolderScan::Kind::Files, &files, nullptr);
    static const QRegularExpression copyName(QStringLiteral("\\A\\.vek-copy-\\d+-\\d+\\.tmp\\z"));
    for (const QString &file : std::as_const(files)) {
        // The mover's own copy under its hidden name, cut before it got the file's name.
        if (file.startsWith(QLatin1String(".vek-copy-")) && copyName.match(file).hasMatch()) {
            QString error;
            if (remove(FileList::join(folder, file), &error))
                removed << file;
            else if (problems)
                problems->append(error);
            continue;
        }
        const qsizetype dot = file.size() - 7;
        if (dot < 1 || file.at(dot) != QLatin1Char('.') ||
            !bases.contains(file.left(dot).toCaseFolded()))
            continue;
        const QString suffix = file.right(6);
        bool alnum = true;
        bool lower = false, upper = false, digit = false;
        for (const QChar c : suffix) {
            const char16_t u = c.unicode();
            lower = lower || (u >= 'a' && u <= 'z');
            upper = upper || (u >= 'A' && u <= 'Z');
            digit = digit || (u >= '0' && u <= '9');
            alnum = alnum &&
                    ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9'));
        }
        if (!alnum || (!digit && lower != upper))
            continue;
        QString error;
        if (remove(FileList::join(folder, file), &error))
            removed << file;
        else if (problems)
            problems->append(error);
    }
    return removed;
}

bool FileOps::writeAtomic(const QString &path, const QByteArray &bytes, QString *error) {
    if (!FileHook::mayChange(path, error))
        return false;
    if (isReadOnly(path)) {
        if (error)
            *error =
                describe(QStringLiteral("write"), path, QStringLiteral("the file is read-only"));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = describe(QStringLiteral("write"), path, reasonOf(file));
        return false;
    }
    CrashPoint::inside();
    QString reason;
    // QSaveFile's commit renames even when its buffered flush came up short (a full disk):
    // flush first, and give up on a short write.
    if (!writeFully(file, bytes.constData(), bytes.size(), &reason) || !flushFully(file, &reason)) {
        file.cancelWriting();
        if (error)
            *error = describe(QStringLiteral("write"), path, reason);
        return false;
    }
    CrashPoint::inside();
    if (!file.commit()) {
        if (error)
            *error = describe(QStringLiteral("write"), path, reasonOf(file));
        return false;
    }
    FileHook::rewritten(path);
    return true;
}

bool FileOps::canRewrite(const QString &path, QString *error) {
    if (!FileHook::mayChange(path, error))
        return false;
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    QString reason;
    if (isReadOnly(path))
        reason = QStringLiteral("the file is read-only");
    // The system's own answer covers what the attribute does not: an immutable file, a disk
    // mounted read-only, a file or folder of another user.
    else if (file.exists() && !file.isWritable())
        reason = QStringLiteral("the system does not let the file be changed");
    else if (!folder.isWritable())
        reason = QStringLiteral("the system does not let a file be written in its folder");
    if (reason.isEmpty())
        return true;
    if (error)
        *error = describe(QStringLiteral("write"), path, reason);
    return false;
}

bool FileOps::writeSet(const QList<NewFile> &files, QString *error, qsizetype *renamed) {
    if (renamed)
        *renamed = 0;
    for (const NewFile &f : files) {
        if (!FileHook::mayChange(f.path, error))
            return false;
        if (isReadOnly(f.path)) {
            if (error)
                *error = describe(QStringLiteral("write"), f.path,
                                  QStringLiteral("the file is read-only"));
            return false;
        }
    }
    // Every new file whole on the disk before the first target changes. QSaveFile writes to
    // its own temporary file until `commit`, which syncs and renames; destroyed uncommitted,
    // it removes the temporary file.
    std::vector<std::unique_ptr<QSaveFile>> staged;
    for (const NewFile &f : files) {
        auto file = std::make_unique<QSaveFile>(f.path);
        file->setDirectWriteFallback(false);
        QString reason;
        if (!file->open(QIODevice::WriteOnly))
            reason = reasonOf(*file);
        else if (!writeFully(*file, f.bytes.constData(), f.bytes.size(), &reason) ||
                 !flushFully(*file, &reason))
            file->cancelWriting();
        if (!reason.isEmpty()) {
            if (error)
                *error = describe(QStringLiteral("write"), f.path, reason);
            return false;
        }
        CrashPoint::inside();
        staged.push_back(std::move(file));
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        const NewFile &f = files.at(i);
        const bool existed = FileHook::recording() && QFileInfo::exists(f.path);
        if (!staged[size_t(i)]->commit()) {
            if (error)
                *error = describe(QStringLiteral("write"), f.path, reasonOf(*staged[size_t(i)]));
            return false;
        }
        if (renamed)
            *renamed = i + 1;
        if (f.copiedFrom.isEmpty())
            FileHook::rewritten(f.path);
        else
            FileHook::copied(f.copiedFrom, f.path, existed);
    }
    return true;
}

qint64 FileOps::bytesFree(const QString &folder) {
    const QStorageInfo disk(folder);
    return disk.isValid() ? disk.bytesAvailable() : -1;
}

bool FileOps::readAll(const QString &path, QByteArray *bytes, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = describe(QStringLiteral("read"), path,
                              file.exists() ? reasonOf(file) : QStringLiteral("it does not exist"));
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = describe(QStringLiteral("read"), path, reasonOf(file));
        return false;
    }
    return true;
}

bool FileOps::copyReplace(const QString &from, const QString &to, QString *error) {
    if (!FileHook::mayChange(to, error))
        return false;
    if (isReadOnly(to)) {
        if (error)
            *error =
                describe(QStringLiteral("copy over"), to, QStringLiteral("the file is read-only"));
        return false;
    }
    QFile src(from);
    if (!src.open(QIODevice::ReadOnly)) {
        if (error)
            *error = describe(QStringLiteral("read"), from,
                              src.exists() ? reasonOf(src) : QStringLiteral("it does not exist"));
        return false;
    }
    const bool existed = FileHook::recording() && QFileInfo::exists(to);
    QSaveFile dst(to);
    dst.setDirectWriteFallback(false);
    if (!dst.open(QIODevice::WriteOnly)) {
        if (error)
            *error = describe(QStringLiteral("write"), to, reasonOf(dst));
        return false;
    }
    CrashPoint::inside();
    // Large blocks: the copy should cost what the platform's own copy costs.
    constexpr qint64 kBlock = 1 << 20;
    QByteArray buffer;
    buffer.resize(kBlock);
    for (;;) {
        const qint64 n = src.read(buffer.data(), kBlock);
        if (n < 0) {
            dst.cancelWriting();
            if (error)
                *error = describe(QStringLiteral("read"), from, reasonOf(src));
            return false;
        }
        if (n == 0)
            break;
        QString reason;
        if (!writeFully(dst, buffer.constData(), n, &reason)) {
            dst.cancelWriting();
            if (error)
                *error = describe(QStringLiteral("write"), to, reason);
            return false;
        }
    }
    QString reason;
    if (!flushFully(dst, &reason)) {
        dst.cancelWriting();
        if (error)
            *error = describe(QStringLiteral("write"), to, reason);
        return false;
    }
    CrashPoint::inside();
    if (!dst.commit()) {
        if (error)
            *error = describe(QStringLiteral("write"), to, reasonOf(dst));
        return false;
    }
    FileHook::copied(from, to, existed);
    return true;
}

bool FileOps::remove(const QString &path, QString *error) {
    QFile file(path);
    if (!file.exists())
        return true;
    if (!FileHook::mayChange(path, error))
        return false;
    if (file.remove()) {
        FileHook::deleted(path);
        return true;
    }
    if (error)
        *error = describe(QStringLiteral("delete"), path, reasonOf(file));
    return false;
}

namespace {
// Sets the permissions where they differ, reporting the change as `state`. An attribute lives
// in the file's inode, which a dry run's replica shares with the player's file.
bool changePermissions(const QString &path, QFileDevice::Permissions wanted, const QString &state) {
    // Compare modes. The "user" flags read are what this process may do (everything, for
    // root), not the mode; the "user" flags set are set as the owner's.
    const int now = int(QFile::permissions(path).toInt()) & 0x7077;
    const int bits = int(wanted.toInt());
    if (QFileInfo::exists(path) && now == ((bits & 0x7077) | ((bits & 0x0700) << 4)))
        return true;
    if (!FileHook::detach(path, nullptr) || !QFile::setPermissions(path, wanted))
        return false;
    FileHook::attributesChanged(path, state);
    return true;
}
} // namespace

bool FileOps::setNormal(const QString &path) {
    const QFileDevice::Permissions normal = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadUser | QFileDevice::WriteUser |
                                            QFileDevice::ReadGroup | QFileDevice::ReadOther;
    return changePermissions(path, normal, QStringLiteral("normal"));
}

bool FileOps::setReadOnly(const QString &path, bool readOnly) {
    QFileDevice::Permissions p = QFile::permissions(path);
    const QFileDevice::Permissions write = QFileDevice::WriteOwner | QFileDevice::WriteUser |
                                           QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (readOnly)
        p &= ~write;
    else
        p |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    return changePermissions(path, p,
                             readOnly ? QStringLiteral("read-only") : QStringLiteral("writable"));
}

bool FileOps::sameFolder(const QString &a, const QString &b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    std::error_code error;
    const bool same = std::filesystem::equivalent(nativePath(a), nativePath(b), error);
    return !error && same && QFileInfo(a).isDir();
}

bool FileOps::renameFolder(const QString &from, const QString &to) {
    if (!FileHook::mayChange(from, nullptr) || !FileHook::mayChange(to, nullptr))
        return false;
    FileHook::folderMoving(from, to);
    if (!QDir().rename(from, to))
        return false;
    FileHook::moved(from, to);
    return true;
}
