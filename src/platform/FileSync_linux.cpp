// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux sync of a whole file system, through a descriptor of one of its folders.
#include "FileSync.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool FileSync::syncSystem(const QString &folder, QString *error) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = failed(folder, qt_error_string(errno));
        return false;
    }
    const bool ok = ::syncfs(fd) == 0;
    const int err = errno;
    ::close(fd);
    if (!ok && error)
        *error = failed(folder, qt_error_string(err));
    return ok;
}
