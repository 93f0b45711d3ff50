// SPDX-License-Identifier: GPL-3.0-or-later
#include "SaveExchange.h"

#include "FileCompare.h"
#include "FileHook.h"
#include "FileList.h"
#include "FileOps.h"
#include "FileRemoval.h"
#include "NativePath.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

const QString kPrefix = QStringLiteral(".vek-save-");

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

bool fail(QString *error, const QString &text) {
    if (error)
        *error = text;
    return false;
}

QString folderOf(const QString &path) {
    return QFileInfo(path).absolutePath();
}

// A name free in the target's folder for the copy, short whatever the save's name: a save
// with a name near the system's limit still gets its copy.
QString stagedBeside(const QString &to, int index) {
    QString name = kPrefix + QString::number(index);
    QString path = FileList::join(folderOf(to), name);
    for (int n = 1; QFileInfo::exists(path); ++n)
        path = FileList::join(folderOf(to), name + QLatin1Char('-') + QString::number(n));
    return path;
}

} // namespace

bool SaveExchange::isStaged(const QString &name) {
    return name.startsWith(kPrefix);
}

QStringList SaveExchange::saves(const QString &folder) {
    QStringList names = FileList::files(folder);
    names.removeIf([](const QString &n) { return isStaged(n); });
    return names;
}

bool SaveExchange::clearStaged(const QString &folder, QString *error) {
    for (const QString &n : FileList::files(folder))
        if (isStaged(n) && !FileOps::remove(FileList::join(folder, n), error))
            return false;
    return true;
}

bool SaveExchange::check(QString *error) const {
    for (const Step &s : std::as_const(steps_)) {
        if (s.move && FileOps::isReadOnly(s.from))
            return fail(
                error,
                QStringLiteral("Could not move \"%1\": the file is read-only.").arg(shown(s.from)));
        if (s.move && FileOps::isReadOnlyFolder(folderOf(s.from)))
            return fail(error, QStringLiteral("Could not move \"%1\": the folder \"%2\" is "
                                              "read-only.")
                                   .arg(shown(s.from), shown(folderOf(s.from))));
        if (!s.displaced.isEmpty() && FileOps::isReadOnly(s.displaced))
            return fail(error, QStringLiteral("Could not rename \"%1\" to \"%2\" to make room "
                                              "for the newer save of its name: the file is "
                                              "read-only.")
                                   .arg(shown(s.displaced), QFileInfo(s.aside).fileName()));
        if (s.displaced.isEmpty() && FileOps::isReadOnly(s.to))
            return fail(error, QStringLiteral("Could not replace \"%1\": the file is read-only.")
                                   .arg(shown(s.to)));
        if (FileOps::isReadOnlyFolder(folderOf(s.to)))
            return fail(error, QStringLiteral("Could not write \"%1\": the folder \"%2\" is "
                                              "read-only.")
                                   .arg(shown(s.to), shown(folderOf(s.to))));
    }
    for (const QString &p : std::as_const(prunes_)) {
        if (FileOps::isReadOnly(p))
            return fail(
                error,
                QStringLiteral("Could not delete \"%1\": the file is read-only.").arg(shown(p)));
        if (FileOps::isReadOnlyFolder(folderOf(p)))
            return fail(error, QStringLiteral("Could not delete \"%1\": the folder \"%2\" is "
                                              "read-only.")
                                   .arg(shown(p), shown(folderOf(p))));
    }
    // What the system itself refuses (a mark no user can override, a folder this user may not
    // change) is known too: a save that could be copied and then not deleted would be left in
    // two places, the exchange half made.
    const auto refused = [error](const QString &action, const QString &path) {
        const QString why = FileRemoval::removable(path);
        return !why.isEmpty() &&
               !fail(error,
                     QStringLiteral("Could not %1 \"%2\": %3.").arg(action, shown(path), why));
    };
    for (const Step &s : std::as_const(steps_)) {
        if ((s.move && refused(QStringLiteral("move"), s.from)) ||
            (!s.displaced.isEmpty() && refused(QStringLiteral("rename"), s.displaced)) ||
            refused(QStringLiteral("write"), s.to))
            return false;
    }
    for (const QString &p : std::as_const(prunes_))
        if (refused(QStringLiteral("delete"), p))
            return false;
    return true;
}

bool SaveExchange::ready(QString *error) {
    // What can be known is checked before the first copy.
    if (!check(error))
        return false;
    for (qsizetype i = 0; i < steps_.size(); ++i) {
        Step &s = steps_[i];
        s.staged = stagedBeside(s.to, int(i) + 1);
        QString reason;
        bool ok = FileOps::copyReplace(s.from, s.staged, &reason);
        if (ok) {
            // Read back: once the source is gone, this copy is all there is.
            switch (FileCompare::sameBytes(s.from, s.staged, &reason)) {
            case FileCompare::Result::Same:
                break;
            case FileCompare::Result::Differs:
                reason = QStringLiteral("Could not copy \"%1\" to \"%2\": the copy does not hold "
                                        "the same bytes.")
                             .arg(shown(s.from), shown(s.staged));
                [[fallthrough]];
            case FileCompare::Result::Failed:
                ok = false;
                break;
            }
        }
        if (!ok) {
            // The copy's own name means nothing to the player: the save's target does.
            reason.replace(shown(s.staged), shown(s.to));
            discard();
            return fail(error, reason);
        }
    }
    return true;
}

void SaveExchange::discard() {
    for (Step &s : steps_) {
        if (!s.staged.isEmpty() && QFileInfo::exists(s.staged))
            FileOps::remove(s.staged, nullptr);
        s.staged.clear();
    }
}

namespace {
// Renames a save out of the way of a newer one of its name. Nothing is replaced: the name was
// free when the exchange was planned, and a file there now is refused rather than lost.
bool setAside(const QString &displaced, const QString &aside, QString *error) {
    if (!FileHook::mayChange(displaced, error) || !FileHook::mayChange(aside, error))
        return false;
    if (QFileInfo::exists(aside))
        return fail(error, QStringLiteral("Could not rename \"%1\" to \"%2\": a file of that "
                                          "name is there.")
                               .arg(shown(displaced), shown(aside)));
    std::error_code ec;
    std::filesystem::rename(nativePath(displaced), nativePath(aside), ec);
    if (ec)
        return fail(error,
                    QStringLiteral("Could not rename \"%1\" to \"%2\": %3.")
                        .arg(shown(displaced), shown(aside), QString::fromStdString(ec.message())));
    FileHook::renamed(displaced, aside);
    return true;
}
} // namespace

bool SaveExchange::commit(QString *error) {
    for (Step &s : steps_) {
        // Its own step, reported as a rename: a crash right after it leaves the displaced save
        // under its new name and the newer one still at its source, and the exchange planned
        // again then has nothing to displace.
        if (!s.displaced.isEmpty()) {
            if (!setAside(s.displaced, s.aside, error))
                return false;
            s.displaced.clear();
        }
        // Reported as the one move or copy it stands for.
        FileHook::Group group;
        const bool existed = FileHook::recording() && QFileInfo::exists(s.to);
        if (!FileHook::mayChange(s.to, error))
            return false;
        std::error_code ec;
        std::filesystem::rename(nativePath(s.staged), nativePath(s.to), ec);
        if (ec)
            return fail(error, QStringLiteral("Could not write \"%1\": %2.")
                                   .arg(shown(s.to), QString::fromStdString(ec.message())));
        FileHook::renamed(s.staged, s.to);
        s.staged.clear();
        // The save's new name is on the disk before its old one goes: a power cut between
        // the two leaves it in both places, never in neither.
        if (s.move && (!FileOps::syncFolder(folderOf(s.to), error) ||
                       !FileRemoval::removeFile(s.from, error)))
            return false;
        group.commit(FileOperation::of(s.move    ? FileOperation::Kind::Move
                                       : existed ? FileOperation::Kind::Replace
                                                 : FileOperation::Kind::Copy,
                                       s.from, s.to));
    }
    // Likewise before a save is pruned: the saves that came are on the disk first.
    if (!prunes_.isEmpty()) {
        QStringList synced;
        for (const Step &s : std::as_const(steps_))
            if (const QString folder = folderOf(s.to); !synced.contains(folder)) {
                if (!FileOps::syncFolder(folder, error))
                    return false;
                synced << folder;
            }
    }
    for (const QString &p : std::as_const(prunes_))
        if (!FileOps::remove(p, error))
            return false;
    return true;
}
