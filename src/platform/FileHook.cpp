// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileHook.h"

#include "NativePath.h"

#include "CrashPoint.h"
#include "SharedListing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

// The hook is set up once by the front end before the engine runs and lives on one thread.
FileHook::Sink sink;
FileHook::Observer observer;
FileHook::CopyObserver copyObserver;
FileHook::FolderObserver folderObserver;
QStringList isolatedRoots;
FileHook::Group *innermost = nullptr;

const char *kindName(FileOperation::Kind kind) {
    switch (kind) {
    case FileOperation::Kind::Copy:
        return "copy";
    case FileOperation::Kind::Replace:
        return "replace";
    case FileOperation::Kind::Delete:
        return "delete";
    case FileOperation::Kind::Rewrite:
        return "rewrite";
    case FileOperation::Kind::Patch:
        return "patch";
    case FileOperation::Kind::Move:
        return "move";
    case FileOperation::Kind::Folder:
        return "mkdir";
    case FileOperation::Kind::Attributes:
        return "attributes";
    case FileOperation::Kind::Launch:
        return "launch";
    case FileOperation::Kind::Link:
        return "link";
    }
    return "?";
}

QString hex(int byte) {
    return byte < 0 ? QStringLiteral("--")
                    : QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
}

bool inside(const QString &path, const QString &root) {
    return path == root || (path.startsWith(root) && (root.endsWith(QLatin1Char('/')) ||
                                                      path.at(root.size()) == QLatin1Char('/')));
}

// Copies `path` to a hidden file beside it and renames the copy over it: the name then has
// an inode of its own with the same bytes, mode and modification time.
bool breakLink(const QString &path, QString *error) {
    const QFileInfo info(path);
    const QString temporary = QStringLiteral("%1/.vek-detach-%2.tmp")
                                  .arg(info.path())
                                  .arg(QCoreApplication::applicationPid());
    std::error_code ec;
    std::filesystem::remove(nativePath(temporary), ec);
    std::filesystem::copy_file(nativePath(path), nativePath(temporary), ec);
    if (!ec) {
        const auto permissions = std::filesystem::status(nativePath(path), ec).permissions();
        if (!ec)
            std::filesystem::permissions(nativePath(temporary), permissions, ec);
    }
    if (!ec) {
        const auto time = std::filesystem::last_write_time(nativePath(path), ec);
        if (!ec)
            std::filesystem::last_write_time(nativePath(temporary), time, ec);
    }
    if (!ec)
        std::filesystem::rename(nativePath(temporary), nativePath(path), ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(nativePath(temporary), ignored);
        if (error)
            *error = QStringLiteral("Could not write to \"%1\": %2.")
                         .arg(QDir::toNativeSeparators(path), QString::fromStdString(ec.message()));
        return false;
    }
    return true;
}

} // namespace

void FileHook::deliver(const FileOperation &operation) {
    if (innermost)
        innermost->steps_.append(operation);
    else if (sink)
        sink(operation);
}

QString FileOperation::line(const std::function<QString(const QString &)> &map) const {
    const auto shown = [&](const QString &p) { return QDir::toNativeSeparators(map ? map(p) : p); };
    QString text = QString::fromLatin1(kindName(kind)) + QLatin1Char('\t') + shown(path);
    switch (kind) {
    case Kind::Copy:
    case Kind::Replace:
    case Kind::Move:
    case Kind::Link:
        text += QLatin1Char('\t') + shown(other);
        break;
    case Kind::Attributes:
        text += QLatin1Char('\t') + other;
        break;
    case Kind::Patch:
        text += QStringLiteral("\t%1\t%2\t%3").arg(position).arg(hex(before), hex(after));
        break;
    default:
        break;
    }
    return text;
}

void FileHook::setSink(Sink s) {
    sink = std::move(s);
}

bool FileHook::recording() {
    return bool(sink);
}

void FileHook::done(const FileOperation &operation) {
    SharedListing::changed(operation.kind, operation.path, operation.other);
    if (sink)
        deliver(operation);
}

void FileHook::copied(const QString &from, const QString &to, bool existedBefore) {
    copied(from, to, existedBefore, nullptr, nullptr);
}

void FileHook::copied(const QString &from, const QString &to, bool existedBefore,
                      const FileIdentity *source, const FileIdentity *copy) {
    SharedListing::changed(existedBefore ? FileOperation::Kind::Replace : FileOperation::Kind::Copy,
                           from, to);
    if (sink)
        deliver(
            {existedBefore ? FileOperation::Kind::Replace : FileOperation::Kind::Copy, from, to});
    if (copyObserver)
        copyObserver(from, to, source, copy);
    CrashPoint::passed();
}

void FileHook::deleted(const QString &path) {
    SharedListing::changed(FileOperation::Kind::Delete, path, QString());
    if (sink)
        deliver(FileOperation::of(FileOperation::Kind::Delete, path));
    CrashPoint::passed();
}

void FileHook::rewritten(const QString &path) {
    SharedListing::changed(FileOperation::Kind::Rewrite, path, QString());
    if (sink)
        deliver(FileOperation::of(FileOperation::Kind::Rewrite, path));
    CrashPoint::passed();
}

void FileHook::moved(const QString &from, const QString &to) {
    SharedListing::changed(FileOperation::Kind::Move, from, to);
    if (sink)
        deliver(FileOperation::of(FileOperation::Kind::Move, from, to));
}

void FileHook::linked(const QString &from, const QString &to) {
    SharedListing::changed(FileOperation::Kind::Link, from, to);
    if (sink)
        deliver(FileOperation::of(FileOperation::Kind::Link, from, to));
    CrashPoint::passed();
}

void FileHook::renamed(const QString &from, const QString &to) {
    SharedListing::changed(FileOperation::Kind::Move, from, to);
    if (sink)
        deliver(FileOperation::of(FileOperation::Kind::Move, from, to));
    CrashPoint::passed();
}

void FileHook::folderCreated(const QString &path) {
    SharedListing::changed(FileOperation::Kind::Folder, path, QString());
    if (sink)
        deliver(FileOperation::of(FileOperation::Kind::Folder, path));
}

void FileHook::patched(const QString &path, const QList<PatchedByte> &bytes) {
    SharedListing::changed(FileOperation::Kind::Patch, path, QString());
    if (sink) {
        for (const PatchedByte &b : bytes) {
            if (b.before == b.after)
                continue;
            FileOperation op = FileOperation::of(FileOperation::Kind::Patch, path);
            op.position = b.position;
            op.before = b.before;
            op.after = b.after;
            deliver(op);
        }
    }
    CrashPoint::passed();
}

void FileHook::attributesChanged(const QString &path, const QString &state) {
    SharedListing::changed(FileOperation::Kind::Attributes, path, QString());
    if (sink)
        deliver(FileOperation::of(FileOperation::Kind::Attributes, path, state));
}

void FileHook::isolate(const QStringList &roots) {
    isolatedRoots.clear();
    for (const QString &root : roots) {
        const QString canonical = QFileInfo(root).canonicalFilePath();
        isolatedRoots << (canonical.isEmpty() ? QDir::cleanPath(QDir::fromNativeSeparators(root))
                                              : canonical);
    }
}

bool FileHook::isolated() {
    return !isolatedRoots.isEmpty();
}

namespace {
// Where a change of `path` lands: its folder with every link resolved, and its name; a name
// that is a link is followed to its final target, as a whole-file write and an in-place
// write follow it.
QString landing(const QString &path) {
    QFileInfo info(QFileInfo(path).absoluteFilePath());
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    const QString folder = QFileInfo(info.path()).canonicalFilePath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath())
                            : folder + QLatin1Char('/') + info.fileName();
}
} // namespace

void FileHook::setObserver(Observer o) {
    observer = std::move(o);
}

void FileHook::setCopyObserver(CopyObserver o) {
    copyObserver = std::move(o);
}

void FileHook::setFolderObserver(FolderObserver o) {
    folderObserver = std::move(o);
}

void FileHook::folderMoving(const QString &from, const QString &to) {
    if (folderObserver)
        folderObserver(from, to);
}

bool FileHook::copyObserved() {
    return bool(copyObserver);
}

bool FileHook::observed() {
    return bool(observer);
}

bool FileHook::mayChange(const QString &path, QString *error) {
    if (observer)
        observer(path, false, false);
    return confined(path, error);
}

bool FileHook::mayCreate(const QString &path, QString *error) {
    if (observer)
        observer(path, false, true);
    return confined(path, error);
}

bool FileHook::confined(const QString &path, QString *error) {
    if (isolatedRoots.isEmpty())
        return true;
    const QString target = landing(path);
    for (const QString &root : std::as_const(isolatedRoots))
        if (inside(target, root))
            return true;
    if (error)
        *error = QStringLiteral("Could not change \"%1\": a dry run changes nothing outside its "
                                "copy of the folders.")
                     .arg(QDir::toNativeSeparators(path));
    return false;
}

bool FileHook::detach(const QString &path, QString *error) {
    if (observer)
        observer(path, true, false);
    if (isolatedRoots.isEmpty())
        return true;
    if (!confined(path, error))
        return false;
    // Only a name that shares its bytes with another (a hard link of the replica, or a
    // symbolic link to a file) must get bytes of its own before they change.
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path native = nativePath(path);
    const fs::file_status status = fs::symlink_status(native, ec);
    if (ec || status.type() == fs::file_type::not_found)
        return true; // nothing there to share
    if (status.type() == fs::file_type::regular) {
        const std::uintmax_t links = fs::hard_link_count(native, ec);
        if (ec || links <= 1)
            return true;
    } else if (status.type() != fs::file_type::symlink || !QFileInfo(path).isFile()) {
        return true; // a folder, a link to a folder or to nothing: no file's bytes to protect
    }
    return breakLink(path, error);
}

FileHook::Group::Group() : outer_(innermost) {
    innermost = this;
}

FileHook::Group::~Group() {
    innermost = outer_;
    if (!committed_)
        for (const FileOperation &step : std::as_const(steps_))
            deliver(step);
}

void FileHook::Group::commit(const FileOperation &operation) {
    committed_ = true;
    innermost = outer_;
    deliver(operation);
    innermost = this; // the destructor restores the outer group again
}
