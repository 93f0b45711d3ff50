// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderScan.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace {

QString reasonOf(int err) {
    return err == ENOENT ? QStringLiteral("it does not exist") : qt_error_string(err);
}

// Reads `folder` entry by entry, handing `take` each entry and the folder's descriptor; the
// entry's type tells most files from folders without a status query.
template <typename Take> bool readFolder(const QString &folder, QString *error, Take take) {
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) {
        if (error)
            *error = FolderScan::unreadable(folder, reasonOf(errno));
        return false;
    }
    const int fd = ::dirfd(dir);
    const dirent *entry = nullptr;
    for (errno = 0; (entry = ::readdir(dir)) != nullptr; errno = 0)
        take(fd, entry);
    const int err = errno;
    ::closedir(dir);
    if (err != 0) {
        if (error)
            *error = FolderScan::unreadable(folder, reasonOf(err));
        return false;
    }
    return true;
}

// Whether the entry is of `kind`; a link, or an entry of a file system that does not tell
// the type, is asked about by its status.
bool isOfKind(int fd, const dirent *entry, FolderScan::Kind kind) {
    unsigned char type = entry->d_type;
    if (type == DT_LNK || type == DT_UNKNOWN) {
        struct stat st;
        if (::fstatat(fd, entry->d_name, &st, 0) != 0)
            return false;
        type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
    }
    return type == (kind == FolderScan::Kind::Files ? DT_REG : DT_DIR);
}

bool isDotOrDotDot(const char *n) {
    return n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'));
}

} // namespace

bool FolderScan::systemNames(const QString &folder, Kind kind, QStringList *names, QString *error) {
    names->clear();
    return readFolder(folder, error, [&](int fd, const dirent *entry) {
        if (!isDotOrDotDot(entry->d_name) && isOfKind(fd, entry, kind))
            names->append(QFile::decodeName(entry->d_name));
    });
}

bool FolderScan::systemCollect(const QString &folder, const QHash<QByteArray, qsizetype> &groupOf,
                               QList<QStringList> *found, QString *error) {
    char folded[256];
    return readFolder(folder, error, [&](int fd, const dirent *entry) {
        const char *name = entry->d_name;
        const size_t length = std::strlen(name);
        bool ascii = length < sizeof folded;
        for (size_t i = 0; ascii && i < length; ++i) {
            const char c = name[i];
            ascii = (c & 0x80) == 0;
            folded[i] = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
        }
        // Most names are ASCII, where folding is lower-casing and needs no decoding; only a
        // name that is asked for becomes a string.
        const auto it = groupOf.constFind(ascii ? QByteArray::fromRawData(folded, qsizetype(length))
                                                : QFile::decodeName(name).toCaseFolded().toUtf8());
        if (it != groupOf.cend() && isOfKind(fd, entry, Kind::Files))
            (*found)[it.value()].append(QFile::decodeName(name));
    });
}

bool FolderScan::systemFoldersWithPrefix(const QString &folder, const QString &prefix,
                                         QStringList *names, QString *error) {
    names->clear();
    const QByteArray bytes = QFile::encodeName(prefix);
    const size_t length = size_t(bytes.size());
    return readFolder(folder, error, [&](int fd, const dirent *entry) {
        if (std::strncmp(entry->d_name, bytes.constData(), length) == 0 &&
            !isDotOrDotDot(entry->d_name) && isOfKind(fd, entry, Kind::Folders))
            names->append(QFile::decodeName(entry->d_name));
    });
}

bool FolderScan::systemWithPrefix(const QString &folder, const QString &prefix, QStringList *rests,
                                  QString *error) {
    rests->clear();
    const QByteArray bytes = QFile::encodeName(prefix);
    const size_t length = size_t(bytes.size());
    // Only the rare name with the prefix becomes a string: the folder may hold tens of
    // thousands.
    return readFolder(folder, error, [&](int, const dirent *entry) {
        if (std::strncmp(entry->d_name, bytes.constData(), length) == 0 &&
            entry->d_name[length] != '\0' && entry->d_type != DT_DIR)
            rests->append(QFile::decodeName(entry->d_name + length));
    });
}

bool FolderScan::systemEntries(const QString &folder, QList<Entry> *entries, QString *error) {
    entries->clear();
    return readFolder(folder, error, [&](int fd, const dirent *entry) {
        if (isDotOrDotDot(entry->d_name))
            return;
        Entry e;
        e.name = QFile::decodeName(entry->d_name);
        e.link = entry->d_type == DT_LNK;
        e.folderItself = entry->d_type == DT_DIR;
        e.type = isOfKind(fd, entry, Kind::Files)     ? Entry::File
                 : isOfKind(fd, entry, Kind::Folders) ? Entry::Folder
                                                      : Entry::Other;
        entries->append(e);
    });
}
