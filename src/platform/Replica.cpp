// SPDX-License-Identifier: GPL-3.0-or-later
#include "Replica.h"

#include "InstanceGuard.h"
#include "NativePath.h"
#include "Processes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

QString qPath(const fs::path &path) {
#ifdef Q_OS_WIN
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
#endif
}

bool inside(const QString &path, const QString &root) {
    return path == root || (path.startsWith(root) && path.size() > root.size() &&
                            (root.endsWith(QLatin1Char('/')) || path.at(root.size()) == '/'));
}

bool isScratch(const fs::path &name) {
    return qPath(name).startsWith(Replica::ScratchPrefix) ||
           qPath(name).startsWith(Replica::ScratchPrefix.mid(1));
}

// Removes a tree without following links out of it; read-only folders are made writable
// first, or their entries could not go.
void removeTree(const fs::path &root) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root, ec);
}

// A hidden folder of a dry run whose process no longer runs.
bool abandoned(const QString &name, const QString &prefix) {
    if (!name.startsWith(prefix))
        return false;
    bool ok = false;
    const qint64 pid = name.mid(prefix.size()).section(QLatin1Char('-'), 0, 0).toLongLong(&ok);
    return ok && Processes::gone(pid);
}

void sweep(const QString &folder, const QString &prefix) {
    std::error_code ec;
    for (fs::directory_iterator it(nativePath(folder), ec), end; !ec && it != end; it.increment(ec))
        if (abandoned(qPath(it->path().filename()), prefix))
            removeTree(it->path());
}

// A new hidden folder in `parent`, unique to this process.
QString makeScratch(const QString &parent, const QString &prefix) {
    const QString base =
        QStringLiteral("%1/%2%3-").arg(parent, prefix).arg(QCoreApplication::applicationPid());
    // Made with a random ending, open to its owner alone; it outlives this object.
    QTemporaryDir made(base + QStringLiteral("XXXXXX"));
    if (!made.isValid())
        return QString();
    made.setAutoRemove(false);
    return made.path();
}

// Twins `from` at `to` (which does not exist yet): folders are made anew, files linked (or
// copied; copies keep their permissions and modification time), folders keep their
// permissions. A symbolic link is twinned as what it points to, so that no write in the twin
// can pass through a link to a real file or folder; a link that points nowhere is made
// again as it is, and one that leads back into a folder being twinned is left out.
bool twin(const fs::path &from, const fs::path &to, bool link, QList<fs::path> &ancestors,
          QString *error) {
    std::error_code ec;
    const auto failed = [&](const fs::path &path) {
        if (error)
            *error = QStringLiteral("Could not make the dry run's copy of \"%1\": %2.")
                         .arg(QDir::toNativeSeparators(qPath(path)),
                              QString::fromStdString(ec.message()));
        return false;
    };
    if (!fs::create_directory(to, ec))
        return failed(to);
    ancestors.append(fs::canonical(from, ec));
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path name = it->path().filename();
        if (isScratch(name))
            continue; // a dry run's own folder (a killed one's, or this one's beside a root)
        if (qPath(name) == InstanceGuard::FolderLockName)
            continue; // a running selector's lock, no content of the folder
        if (qPath(name) == QLatin1String(".vek-history"))
            continue; // the history's store: a dry run keeps no history, and reads none
        fs::path source = it->path();
        fs::file_status status = it->symlink_status(ec);
        if (ec)
            return failed(source);
        const fs::path target = to / name;
        if (fs::is_symlink(status)) {
            std::error_code broken;
            const fs::path resolved = fs::canonical(source, broken);
            if (broken) {
                fs::create_symlink(fs::read_symlink(source, ec), target, ec);
                if (ec)
                    return failed(source);
                continue;
            }
            source = resolved;
            status = fs::status(source, ec);
            if (ec)
                return failed(source);
        }
        if (fs::is_directory(status)) {
            if (ancestors.contains(fs::canonical(source, ec)))
                continue;
            if (!twin(source, target, link, ancestors, error))
                return false;
        } else if (fs::is_regular_file(status)) {
            if (link) {
                fs::create_hard_link(source, target, ec);
            } else {
                fs::copy_file(source, target, ec);
                if (!ec)
                    fs::permissions(target, status.permissions(), ec);
                if (!ec)
                    fs::last_write_time(target, fs::last_write_time(source, ec), ec);
            }
        }
        if (ec)
            return failed(source);
    }
    if (ec)
        return failed(from);
    ancestors.removeLast();
    fs::permissions(to, fs::status(from, ec).permissions(), ec);
    return true;
}

} // namespace

std::unique_ptr<Replica> Replica::make(const QStringList &folders, QString *error) {
    QStringList outer;
    for (const QString &f : folders)
        outer << QDir::cleanPath(QDir::fromNativeSeparators(f));
    outer.removeDuplicates();
    // Outer folders first, so a folder inside one already taken is dropped.
    std::sort(outer.begin(), outer.end(),
              [](const QString &a, const QString &b) { return a.size() < b.size(); });
    QStringList roots;
    for (const QString &f : std::as_const(outer))
        if (std::none_of(roots.cbegin(), roots.cend(),
                         [&](const QString &r) { return inside(f, r); }))
            roots << f;

    const bool forceCopy = !qEnvironmentVariableIsEmpty("VEK_DRY_RUN_COPY");
    const QString temp = QDir::cleanPath(QDir::tempPath());
    const QString tempPrefix = ScratchPrefix.mid(1); // not hidden in the temporary folder
    sweep(temp, tempPrefix);

    std::unique_ptr<Replica> replica(new Replica);
    for (const QString &root : std::as_const(roots)) {
        const QFileInfo info(root);
        const QString name = info.fileName().isEmpty() ? QStringLiteral("root") : info.fileName();
        Pair pair{root, QString(), QString()};
        QString why;
        QList<fs::path> ancestors;
        const QString parent = info.path();
        sweep(parent, ScratchPrefix);
        if (!forceCopy) {
            pair.scratch = makeScratch(parent, ScratchPrefix);
            if (!pair.scratch.isEmpty()) {
                pair.replica = pair.scratch + QLatin1Char('/') + name;
                if (!twin(nativePath(root), nativePath(pair.replica), true, ancestors, &why)) {
                    removeTree(nativePath(pair.scratch));
                    pair.scratch.clear();
                }
            }
        }
        if (pair.scratch.isEmpty()) {
            replica->linked_ = false;
            pair.scratch = makeScratch(temp, tempPrefix);
            if (pair.scratch.isEmpty()) {
                if (error)
                    *error =
                        QStringLiteral("Could not make the dry run's copy of \"%1\": the "
                                       "temporary folder \"%2\" cannot be written.")
                            .arg(QDir::toNativeSeparators(root), QDir::toNativeSeparators(temp));
                return nullptr;
            }
            pair.replica = pair.scratch + QLatin1Char('/') + name;
            // Registered first, so that the destructor removes what a failed copy left.
            replica->pairs_ << pair;
            ancestors.clear();
            if (!twin(nativePath(root), nativePath(pair.replica), false, ancestors, error))
                return nullptr;
            continue;
        }
        replica->pairs_ << pair;
    }
    return replica;
}

Replica::~Replica() {
    for (const Pair &p : std::as_const(pairs_))
        if (!p.scratch.isEmpty())
            removeTree(nativePath(p.scratch));
}

QString Replica::toReplica(const QString &realPath) const {
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(realPath));
    for (const Pair &p : pairs_)
        if (inside(clean, p.real))
            return p.replica + clean.mid(p.real.size());
    return realPath;
}

QString Replica::toReal(const QString &replicaPath) const {
    const QString path = QDir::fromNativeSeparators(replicaPath);
    for (const Pair &p : pairs_)
        if (inside(path, p.replica))
            return p.real + path.mid(p.replica.size());
    return replicaPath;
}

QString Replica::textToReal(const QString &text) const {
    QString out = text;
    for (const Pair &p : pairs_) {
        out.replace(p.replica, p.real);
        out.replace(QDir::toNativeSeparators(p.replica), QDir::toNativeSeparators(p.real));
    }
    return out;
}

bool Replica::standIn(const QString &real, const QString &stand, const QStringList &levels) {
    const QString cleanReal = QDir::cleanPath(QDir::fromNativeSeparators(real));
    const QString cleanStand = QDir::cleanPath(QDir::fromNativeSeparators(stand));
    if (!QDir().mkpath(cleanStand))
        return false;
    // First: the stand-in lies inside a twin, and its own paths must win.
    pairs_.prepend(Pair{cleanReal, cleanStand, QString()});
    if (!QFileInfo(cleanReal).isDir()) {
        QDir(cleanStand).removeRecursively();
        return true;
    }
    for (const QString &level : levels) {
        if (!QFileInfo(QDir(cleanReal).filePath(level)).isDir())
            break;
        QDir().mkpath(QDir(cleanStand).filePath(level));
    }
    return true;
}

QStringList Replica::roots() const {
    QStringList r;
    for (const Pair &p : pairs_)
        r << p.replica;
    return r;
}
