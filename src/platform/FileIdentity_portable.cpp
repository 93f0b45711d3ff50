// SPDX-License-Identifier: GPL-3.0-or-later
// `FileIdentity` through Qt and the standard library: no inode, so a rename over a file of the
// same size and time goes unseen; the hard link through std::filesystem.
#include "FileIdentity.h"

#include "NativePath.h"

#include <QDateTime>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

FileIdentity FileIdentity::of(const QString &path) {
    FileIdentity id;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return id;
    id.exists = true;
    id.size = info.size();
    id.folder = info.isDir() && !info.isSymLink();
    id.modified = info.lastModified().toMSecsSinceEpoch() * 1000000;
    std::error_code ec;
    const auto count = std::filesystem::hard_link_count(nativePath(path), ec);
    id.links = ec ? 1 : quint64(count);
    return id;
}

bool FileIdentity::hardLink(const QString &from, const QString &to) {
    std::error_code ec;
    std::filesystem::create_hard_link(nativePath(from), nativePath(to), ec);
    return !ec;
}
