// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux deletes of `FileRemoval`: one status query and one unlink per file, and an unload's
// deletes by name in the game folder held open, overlapped with its listing and shared by two
// threads.
#include "FileRemoval.h"

#include "FileParts.h"

#include "CrashPoint.h"
#include "FileHook.h"

#include <QByteArray>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace FileParts;

namespace {

// The checks and the unlink of `removeFile`, on `name` in the folder open as `dir` (or a path
// with AT_FDCWD). Answers 0, an errno, or one of these refusals.
constexpr int kIsFolder = -1;
constexpr int kIsReadOnly = -2;
constexpr int kIsGone = -3;
constexpr int kIsImmutable = -5;
constexpr int kIsAppendOnly = -6;
constexpr int kNotTried = -7; // a delete after a stop or a failure: the file is untouched

// The system marks that no user, the administrator included, can override. statx reads them
// in the status query a delete makes anyway, where the file system keeps them.
int marks(const struct statx &sx) {
    if (sx.stx_attributes_mask & sx.stx_attributes & STATX_ATTR_IMMUTABLE)
        return kIsImmutable;
    if (sx.stx_attributes_mask & sx.stx_attributes & STATX_ATTR_APPEND)
        return kIsAppendOnly;
    return 0;
}

// The status query before a delete: 0 when `name` may go, else why not.
int lookAt(int dir, const char *name) {
    struct statx sx;
    if (::statx(dir, name, AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_MODE, &sx) != 0)
        return errno == ENOENT ? kIsGone : errno;
    if (S_ISDIR(sx.stx_mode))
        return kIsFolder;
    if (S_ISLNK(sx.stx_mode))
        return 0;
    if (!(sx.stx_mode & S_IWUSR))
        return kIsReadOnly;
    return marks(sx);
}

// The delete after `lookAt` answered `looked`: 0 when it deleted the file, kIsGone when it was
// gone already, else why it could not.
int removeLooked(int dir, const char *name, int looked) {
    if (looked != 0)
        return looked;
    if (::unlinkat(dir, name, 0) != 0)
        return errno == ENOENT ? kIsGone : errno;
    // Neither recorded nor isolated here (see `removeNamed`): only the crash seam counts it.
    CrashPoint::passed();
    return 0;
}

QString reasonFor(int outcome) {
    switch (outcome) {
    case kIsFolder:
        return kSourceIsFolder;
    case kIsReadOnly:
        return kReadOnly;
    case kIsImmutable:
        return kImmutable;
    case kIsAppendOnly:
        return kAppendOnly;
    default:
        return reasonOf(outcome);
    }
}

bool noRefusal(int outcome, const QString &path, QString *error) {
    if (outcome == 0 || outcome == kIsGone || outcome == kNotTried)
        return true;
    return fail(error, QStringLiteral("delete"), path, reasonFor(outcome));
}

// Why nothing of the folder open as `dir` can be deleted, as `folderRefusal` says it.
QString folderLook(int dir, const QString &folder) {
    const QString shown = QDir::toNativeSeparators(folder);
    struct statx sx;
    if (::statx(dir, "", AT_EMPTY_PATH, STATX_MODE, &sx) != 0)
        return QStringLiteral("its folder \"%1\" cannot be looked at: %2")
            .arg(shown, reasonOf(errno));
    if (!(sx.stx_mode & S_IWUSR))
        return QStringLiteral("the folder \"%1\" holding it is read-only").arg(shown);
    if (const int mark = marks(sx))
        return QStringLiteral("the system marks the folder \"%1\" holding it %2 (no user may "
                              "delete its files)")
            .arg(shown, mark == kIsImmutable ? QStringLiteral("immutable")
                                             : QStringLiteral("append-only"));
    if (::faccessat(dir, ".", W_OK | X_OK, AT_EACCESS) != 0)
        return QStringLiteral("the folder \"%1\" holding it does not let this user delete its "
                              "files (%2)")
            .arg(shown, reasonOf(errno));
    return QString();
}

// The file name's bytes as QFile::encodeName gives them, without a heap allocation for a
// short ASCII name, which nearly every game file name is.
class NameBytes {
public:
    explicit NameBytes(const QString &name) {
        const qsizetype n = name.size();
        bool ascii = n < qsizetype(sizeof small_);
        for (qsizetype i = 0; ascii && i < n; ++i) {
            const char16_t c = name.at(i).unicode();
            ascii = c < 0x80 && c != 0;
            small_[i] = char(c);
        }
        if (ascii) {
            small_[n] = '\0';
            data_ = small_;
        } else {
            large_ = QFile::encodeName(name);
            data_ = large_.constData();
        }
    }
    const char *get() const { return data_; }

private:
    char small_[256];
    QByteArray large_;
    const char *data_ = nullptr;
};

// A file `deleteInTurn` is to delete, as the look before the deletes found it.
struct Doomed {
    const QString *name;
    qsizetype asked; // the index of the name asked
    int looked;      // as `lookAt` answers
};

// Deletes `doomed` from the folder open as `dir`, in turn: `before` is asked for each file
// before it may go, in order, and a false answer ends the deletes there; so does a delete that
// fails (the folder changed since the look), as far as the other thread has not begun the next.
// Two threads delete: most of a delete's cost (giving the file's space back) comes after the
// folder has been changed, so two deletes in one folder overlap well. The answers to `before`
// run at most a few files ahead of the deletes, so that a cancel stops what it sees. Answers
// each file's outcome (as `removeLooked`'s), in order; untouched files answer kNotTried.
std::vector<int> deleteInTurn(int dir, const std::vector<Doomed> &doomed,
                              const std::function<bool(const QString &)> &before) {
    constexpr size_t kLead = 32;
    std::vector<int> outcomes(doomed.size(), kNotTried);
    std::atomic<size_t> allowed{0}; // the files before this one may be deleted
    std::atomic<size_t> taken{0};   // the next file a thread takes to delete
    std::atomic<bool> failed{false};
    // The helper sleeps while it has nothing to delete: `allowed` grows, or `ended` is set,
    // under `mutex`, so that it cannot miss the wake-up between its look and its wait.
    std::mutex mutex;
    std::condition_variable wake;
    bool ended = false; // `allowed` will not grow any more
    // Deletes the next allowed file not yet taken; false when there is none.
    const auto takeOne = [&]() {
        size_t t = taken.load(std::memory_order_relaxed);
        do {
            if (t >= allowed.load(std::memory_order_acquire))
                return false;
        } while (!taken.compare_exchange_weak(t, t + 1, std::memory_order_relaxed));
        if (failed.load(std::memory_order_relaxed))
            return true;
        const Doomed &d = doomed[t];
        const int outcome = removeLooked(dir, NameBytes(*d.name).get(), d.looked);
        outcomes[t] = outcome;
        if (outcome != 0 && outcome != kIsGone)
            failed.store(true, std::memory_order_relaxed);
        return true;
    };
    const auto left = [&] {
        return taken.load(std::memory_order_relaxed) < allowed.load(std::memory_order_acquire);
    };
    {
        std::jthread helper([&] {
            for (;;) {
                if (takeOne())
                    continue;
                std::unique_lock lock(mutex);
                wake.wait(lock, [&] { return ended || left(); });
                if (ended && !left())
                    return;
            }
        });
        for (size_t n = 0; n < doomed.size() && !failed.load(std::memory_order_relaxed); ++n) {
            while (n >= taken.load(std::memory_order_relaxed) + kLead)
                takeOne();
            if (before && !before(*doomed[n].name))
                break;
            {
                const std::lock_guard lock(mutex);
                allowed.store(n + 1, std::memory_order_release);
            }
            wake.notify_one();
        }
        {
            const std::lock_guard lock(mutex);
            ended = true;
        }
        wake.notify_one();
        while (takeOne()) {
        }
    }
    return outcomes;
}

} // namespace

bool FileRemoval::removeFile(const QString &path, QString *error) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0)
        return errno == ENOENT ? true
                               : fail(error, QStringLiteral("delete"), path, reasonOf(errno));
    if (S_ISDIR(st.st_mode))
        return fail(error, QStringLiteral("delete"), path, kSourceIsFolder);
    if (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR))
        return fail(error, QStringLiteral("delete"), path, kReadOnly);
    if (!FileHook::mayChange(path, error))
        return false;
    if (::unlink(name.constData()) != 0)
        return errno == ENOENT ? true
                               : fail(error, QStringLiteral("delete"), path, reasonOf(errno));
    FileHook::deleted(path);
    return true;
}

QString FileParts::fileRefusal(const QString &path) {
    const int looked = lookAt(AT_FDCWD, QFile::encodeName(path).constData());
    return looked == 0 || looked == kIsGone ? QString() : reasonFor(looked);
}

QString FileParts::folderRefusal(const QString &folder) {
    const int dir = ::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return errno == ENOENT ? QString() : reasonOf(errno);
    const QString why = folderLook(dir, folder);
    ::close(dir);
    return why;
}

Removal
FileParts::removeInFolder(const QString &folder, const QStringList &names, QStringList *failures,
                          QString *error, const std::function<bool(const QString &)> &before,
                          const std::function<QString(const QString &, const QString &)> &variant,
                          QList<FileRemoval::Removed> *removed) {
    const int dir = ::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return Removal::NotTaken; // each delete by its path tells why for its own file
    QList<qsizetype> group;
    QList<QStringList> found;
    QString reason;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    // The listing of a big game folder and the status query of each file to delete are
    // what an unload costs beyond the deletes themselves (`rm` does the queries but no
    // listing), so they overlap: a worker reads the folder while this thread looks at the
    // files by the names asked. The worker touches nothing but what it fills in.
    bool listed = false;
    std::vector<int> looked(size_t(names.size()));
    {
        std::jthread lister([&] { listed = findGroups(folder, names, &group, &found, &reason); });
        for (qsizetype i = 0; i < names.size(); ++i)
            looked[size_t(i)] = lookAt(dir, NameBytes(names.at(i)).get());
    }
    if (!listed) {
        ::close(dir);
        if (error)
            *error = reason;
        return Removal::Unreadable;
    }
    std::vector<char> done(size_t(found.size()));
    std::vector<Doomed> doomed;
    doomed.reserve(size_t(names.size()));
    const qsizetype refusedBefore = failures->size();
    for (qsizetype i = 0; i < names.size(); ++i) {
        // The early look holds for the name asked when that is the file's own, unless the
        // listing saw a file where the look saw none or a folder: then the file is looked at
        // under its own name, still before the first delete.
        const int look = looked[size_t(i)];
        for (const QString *file :
             filesFor(i, names, group, found, done, folder, variant, failures)) {
            const bool again = *file != names.at(i) || look == kIsGone || look == kIsFolder;
            doomed.push_back({file, i, again ? lookAt(dir, NameBytes(*file).get()) : look});
        }
    }
    // All or nothing: a file that cannot go keeps every other where it is. A folder that lets
    // none go is told once, for the first of them.
    const QString folderWhy = doomed.empty() ? QString() : folderLook(dir, folder);
    if (!folderWhy.isEmpty())
        failures->append(
            folderRefused(prefix + *doomed.front().name, qsizetype(doomed.size()) - 1, folderWhy));
    else
        for (const Doomed &d : doomed)
            if (d.looked != 0 && d.looked != kIsGone &&
                !noRefusal(d.looked, prefix + *d.name, &reason))
                failures->append(reason);
    if (failures->size() > refusedBefore) {
        ::close(dir);
        return Removal::Done;
    }
    // Whoever watches the changes (the history) sees each file just before it goes, in order,
    // as a delete by its path would show it.
    const bool observed = FileHook::observed();
    const auto tell = [&](const QString &name) {
        if (observed)
            FileHook::mayChange(prefix + name, nullptr);
        return !before || before(name);
    };
    const std::vector<int> outcomes =
        deleteInTurn(dir, doomed, observed ? std::function<bool(const QString &)>(tell) : before);
    for (size_t k = 0; k < doomed.size(); ++k) {
        if (outcomes[k] == 0 && removed)
            removed->append({names.at(doomed[k].asked), *doomed[k].name});
        // The path is built only for a message.
        else if (!noRefusal(outcomes[k], prefix + *doomed[k].name, &reason))
            failures->append(reason);
    }
    ::close(dir);
    return Removal::Done;
}
