// SPDX-License-Identifier: GPL-3.0-or-later
// `FileIdentity` from the POSIX status of a file.
#include "FileIdentity_posix.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

FileIdentity identityOfStatus(const struct stat &st) {
    FileIdentity id;
    id.exists = true;
    id.size = qint64(st.st_size);
    id.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + qint64(st.st_mtim.tv_nsec);
    id.inode = quint64(st.st_ino);
    id.changed = qint64(st.st_ctim.tv_sec) * 1000000000 + qint64(st.st_ctim.tv_nsec);
    id.links = quint64(st.st_nlink);
    id.folder = S_ISDIR(st.st_mode);
    return id;
}

FileIdentity FileIdentity::of(const QString &path) {
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return FileIdentity();
    return identityOfStatus(st);
}

bool FileIdentity::hardLink(const QString &from, const QString &to) {
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}
