// SPDX-License-Identifier: GPL-3.0-or-later
// The part of `FileOps` that speaks to a POSIX system directly.
#include "FileOps.h"

#include "FileSync.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
QString failed(const QString &path, int err) {
    return FileSync::failed(path, qt_error_string(err));
}
} // namespace

bool FileOps::syncFolder(const QString &path, QString *error) {
    if (!FileSync::mayPass(path, error))
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = failed(path, errno);
        return false;
    }
    // Some file systems cannot sync a folder (EINVAL); their entries are as durable as they get.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    const int err = errno;
    ::close(fd);
    if (!ok && error)
        *error = failed(path, err);
    return ok;
}
