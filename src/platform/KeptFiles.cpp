// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeptFiles.h"

#include "NativePath.h"

#include "FileCopy.h"
#include "FileHook.h"
#include "FileList.h"
#include "FileOps.h"
#include "FolderListing.h"
#include "FolderScan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

const QString kPrefix = QStringLiteral(".vek-keep-");
const QString kGamePrefix = QStringLiteral(".vek-game-");
constexpr qsizetype kNameMax = 255; // bytes of one name on the usual file systems

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

QString reasonOf(const std::error_code &ec) {
    return QString::fromLocal8Bit(ec.message().c_str());
}

qsizetype cutOf(const QString &path) {
    qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    cut = qMax(cut, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return cut;
}

QString keptPath(const QString &path) {
    const qsizetype cut = cutOf(path);
    return path.left(cut + 1) + KeptFiles::keptName(path.mid(cut + 1));
}

QString gamePath(const QString &path) {
    const qsizetype cut = cutOf(path);
    return path.left(cut + 1) + KeptFiles::gameName(path.mid(cut + 1));
}

bool present(const QString &path) {
    std::error_code ec;
    return std::filesystem::symlink_status(nativePath(path), ec).type() !=
           std::filesystem::file_type::not_found;
}

// A rename over `to` that reports itself; false with `error` when refused or failed.
bool renameOver(const QString &from, const QString &to, QString *error) {
    if (!FileHook::mayChange(from, error) || !FileHook::mayChange(to, error))
        return false;
    std::error_code ec;
    std::filesystem::rename(nativePath(from), nativePath(to), ec);
    if (ec) {
        if (error)
            *error = QStringLiteral("Could not rename \"%1\" to \"%2\": %3.")
                         .arg(shown(from), shown(to), reasonOf(ec));
        return false;
    }
    FileHook::renamed(from, to);
    return true;
}

// Where a second name cannot be made, though the place would take a new file: the file system
// has no hard links (FAT), or refuses them to this user.
bool noLinksHere(const std::error_code &ec) {
    return ec == std::errc::operation_not_permitted || ec == std::errc::operation_not_supported ||
           ec == std::errc::function_not_supported || ec == std::errc::too_many_links ||
           ec == std::errc::cross_device_link;
}

} // namespace

QString KeptFiles::keptName(const QString &name) {
    return kPrefix + name;
}

QString KeptFiles::keptFor(const QString &fileName) {
    return fileName.startsWith(kPrefix) && fileName.size() > kPrefix.size()
               ? fileName.mid(kPrefix.size())
               : QString();
}

QString KeptFiles::gameName(const QString &name) {
    return kGamePrefix + name;
}

QString KeptFiles::gameFor(const QString &fileName) {
    return fileName.startsWith(kGamePrefix) && fileName.size() > kGamePrefix.size()
               ? fileName.mid(kGamePrefix.size())
               : QString();
}

bool KeptFiles::keep(const QString &path, QString *error) {
    if (kept_.contains(path))
        return true;
    // The game's own file is kept beyond the operation; when a kept file of its name is there
    // already, that one is the game's and this one a copy kept only while the operation lasts.
    const bool game = gameOwn && gameOwn(path.mid(cutOf(path) + 1)) && !present(gamePath(path));
    const QString kept = game ? gamePath(path) : keptPath(path);
    const auto refuse = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("Could not keep the game's \"%1\" while it is replaced: %2.")
                         .arg(shown(path), reason);
        return false;
    };
    if (QFile::encodeName(kept.mid(cutOf(kept) + 1)).size() > kNameMax)
        return refuse(QStringLiteral("its name is too long to keep it under \"%1\" beside it")
                          .arg(keptName(QStringLiteral("..."))));
    if (!FileHook::mayChange(kept, error))
        return false;
    std::error_code ec;
    std::filesystem::create_hard_link(nativePath(path), nativePath(kept), ec);
    if (!ec) {
        FileHook::linked(path, kept);
    } else if (ec == std::errc::file_exists) {
        return refuse(QStringLiteral("\"%1\" is in the way").arg(shown(kept)));
    } else if (noLinksHere(ec) && !present(kept)) {
        QString reason;
        if (!FileCopy::copyReplace(path, kept, &reason))
            return refuse(reason);
    } else {
        return refuse(reasonOf(ec));
    }
    paths_ << path;
    kept_.insert(path);
    if (game)
        game_.insert(path);
    return true;
}

void KeptFiles::adopt(const QString &folder, const QStringList &names) {
    for (const QString &name : names) {
        const QString path = FileList::join(folder, name);
        if (!kept_.contains(path)) {
            paths_ << path;
            kept_.insert(path);
        }
    }
}

QStringList KeptFiles::restore() {
    QStringList problems;
    for (const QString &path : std::as_const(paths_)) {
        const QString kept = game_.contains(path) ? gamePath(path) : keptPath(path);
        if (!present(kept))
            continue; // put back already, by a run that was cut short
        QString error;
        std::error_code ec;
        // A rename onto another name of the same file changes nothing: the second name goes.
        const bool same =
            present(path) && std::filesystem::equivalent(nativePath(kept), nativePath(path), ec);
        if (same ? !FileOps::remove(kept, &error) : !renameOver(kept, path, &error))
            problems << error;
    }
    paths_.clear();
    kept_.clear();
    game_.clear();
    return problems;
}

QStringList KeptFiles::drop() {
    QStringList problems;
    for (const QString &path : std::as_const(paths_)) {
        if (game_.contains(path))
            continue;
        QString error;
        if (!FileOps::remove(keptPath(path), &error))
            problems << error;
    }
    paths_.clear();
    kept_.clear();
    game_.clear();
    return problems;
}

bool KeptFiles::findGame(const QString &folder, QStringList *names, QString *error) {
    return FolderScan::withPrefix(folder, kGamePrefix, names, error);
}

QStringList KeptFiles::putBack(const QString &folder, const QStringList &names,
                               QStringList *problems) {
    QStringList back;
    if (names.isEmpty())
        return back;
    QList<QStringList> taken;
    QString error;
    if (!FolderListing::findAll(folder, names, &taken, &error)) {
        *problems << error;
        return back;
    }
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString &name = names.at(i);
        const QString kept = FileList::join(folder, gameName(name));
        const QString path = FileList::join(folder, name);
        if (taken.at(i).isEmpty()) {
            if (renameOver(kept, path, &error))
                back << name;
            else
                *problems << error;
            continue;
        }
        // Still the one file under two names (a load that never came to replace it).
        std::error_code ec;
        const QString now = FileList::join(folder, taken.at(i).first());
        if (taken.at(i).size() == 1 &&
            std::filesystem::equivalent(nativePath(kept), nativePath(now), ec) &&
            !FileOps::remove(kept, &error))
            *problems << error;
    }
    return back;
}

bool KeptFiles::find(const QString &folder, QStringList *names, QString *error) {
    return FolderScan::withPrefix(folder, kPrefix, names, error);
}

QStringList KeptFiles::settleOrphans(const QString &folder, const QStringList &names) {
    QStringList told;
    QList<QStringList> taken;
    QString error;
    if (!FolderListing::findAll(folder, names, &taken, &error))
        return {error};
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString &name = names.at(i);
        const QString kept = FileList::join(folder, keptName(name));
        if (taken.at(i).isEmpty()) {
            told << (renameOver(kept, FileList::join(folder, name), &error)
                         ? QStringLiteral("\"%1\" is back under its name.").arg(name)
                         : QStringLiteral("\"%1\" was left as it is: %2")
                               .arg(keptName(name), error));
            continue;
        }
        const QString aside = name + QStringLiteral(".kept");
        if (present(FileList::join(folder, aside))) {
            told << QStringLiteral("\"%1\" was left as it is, since \"%2\" is taken.")
                        .arg(keptName(name), aside);
            continue;
        }
        told << (renameOver(kept, FileList::join(folder, aside), &error)
                     ? QStringLiteral("\"%1\" is in the game folder as it is now; its earlier "
                                      "bytes are in \"%2\".")
                           .arg(taken.at(i).first(), aside)
                     : QStringLiteral("\"%1\" was left as it is: %2").arg(keptName(name), error));
    }
    return told;
}
