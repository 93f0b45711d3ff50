#include "FileOps.h"

#include "FileHook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

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
            *error = describe(QStringLiteral("write"), path, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        if (error)
            *error = describe(QStringLiteral("write"), path, reason);
        return false;
    }
    // QSaveFile's commit renames even when its buffered flush came up short (a full disk):
    // flush first, and give up on a short write.
    if (!file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        if (error)
            *error = describe(QStringLiteral("write"), path, reason);
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = describe(QStringLiteral("write"), path, file.errorString());
        return false;
    }
    FileHook::rewritten(path);
    return true;
}

bool FileOps::syncFolder(const QString &path, QString *error) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = describe(QStringLiteral("sync the folder"), path, qt_error_string(errno));
        return false;
    }
    // Some file systems cannot sync a folder (EINVAL); their entries are as durable as they get.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    const int err = errno;
    ::close(fd);
    if (!ok && error)
        *error = describe(QStringLiteral("sync the folder"), path, qt_error_string(err));
    return ok;
#else
    Q_UNUSED(path);
    Q_UNUSED(error);
    return true;
#endif
}

bool FileOps::readAll(const QString &path, QByteArray *bytes, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error =
                describe(QStringLiteral("read"), path,
                         file.exists() ? file.errorString() : QStringLiteral("it does not exist"));
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = describe(QStringLiteral("read"), path, file.errorString());
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
            *error =
                describe(QStringLiteral("read"), from,
                         src.exists() ? src.errorString() : QStringLiteral("it does not exist"));
        return false;
    }
    const bool existed = FileHook::recording() && QFileInfo::exists(to);
    QSaveFile dst(to);
    dst.setDirectWriteFallback(false);
    if (!dst.open(QIODevice::WriteOnly)) {
        if (error)
            *error = describe(QStringLiteral("write"), to, dst.errorString());
        return false;
    }
    // Large blocks: the copy should cost what the platform's own copy costs.
    constexpr qint64 kBlock = 1 << 20;
    QByteArray buffer;
    buffer.resize(kBlock);
    for (;;) {
        const qint64 n = src.read(buffer.data(), kBlock);
        if (n < 0) {
            dst.cancelWriting();
            if (error)
                *error = describe(QStringLiteral("read"), from, src.errorString());
            return false;
        }
        if (n == 0)
            break;
        if (dst.write(buffer.constData(), n) != n) {
            const QString reason = dst.errorString();
            dst.cancelWriting();
            if (error)
                *error = describe(QStringLiteral("write"), to, reason);
            return false;
        }
    }
    if (!dst.flush()) {
        const QString reason = dst.errorString();
        dst.cancelWriting();
        if (error)
            *error = describe(QStringLiteral("write"), to, reason);
        return false;
    }
    if (!dst.commit()) {
        if (error)
            *error = describe(QStringLiteral("write"), to, dst.errorString());
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
        *error = describe(QStringLiteral("delete"), path, file.errorString());
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

bool FileOps::renameFolder(const QString &from, const QString &to) {
    if (!FileHook::mayChange(from, nullptr) || !FileHook::mayChange(to, nullptr) ||
        !QDir().rename(from, to))
        return false;
    FileHook::moved(from, to);
    return true;
}
