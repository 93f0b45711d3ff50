// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux deletes of `FileCopy`: one status query and one unlink per file, and an unload's
// deletes by name in the game folder held open, overlapped with its listing and shared by two
// threads.
#include "FileCopy.h"

#include "FileCopyParts.h"

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

using namespace FileCopyParts;

namespace {

// The checks and the unlink of `removeFile`, on `name` in the folder open as `dir` (or a path
// with AT_FDCWD). Answers 0, an errno, or one of these refusals; a file already gone is 0.
constexpr int kIsFolder = -1;
constexpr int kIsReadOnly = -2;

constexpr int kIsGone = -3;

// The status query before a delete: 0 when `name` may go, else why not.
int lookAt(int dir, const char *name) {
    struct stat st;
    if (::fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? kIsGone : errno;
    if (S_ISDIR(st.st_mode))
        return kIsFolder;
    if (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR))
        return kIsReadOnly;
    return 0;
}

// The delete after `lookAt` answered `looked`.
int removeLooked(int dir, const char *name, int looked) {
    if (looked == kIsGone)
        return 0;
    if (looked != 0)
        return looked;
    if (::unlinkat(dir, name, 0) != 0)
        return errno == ENOENT ? 0 : errno;
    // Neither recorded nor isolated here (see `removeNamed`): only the crash seam counts it.
    CrashPoint::passed();
    return 0;
}

bool removed(int outcome, const QString &path, QString *error) {
    if (outcome == 0)
        return true;
    return fail(error, QStringLiteral("delete"), path,
                outcome == kIsFolder     ? kSourceIsFolder
                : outcome == kIsReadOnly ? kReadOnly
                                         : reasonOf(outcome));
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

// A file `deleteInTurn` is to delete, with what an early look at it found.
struct Doomed {
    const QString *name;
    int looked; // as `lookAt` answers; kLookAgain when it was not looked at under this name
};
constexpr int kLookAgain = -4;

// Deletes `doomed` from the folder open as `dir`, in turn: `before` is asked for each file
// before it may go, in order, and a false answer ends the deletes there. Two threads delete:
// most of a delete's cost (giving the file's space back) comes after the folder has been
// changed, so two deletes in one folder overlap well. The answers to `before` run at most a
// few files ahead of the deletes, so that a cancel stops what it sees. Answers each file's
// outcome, in order; the files after a stop answer 0 and are not touched.
std::vector<int> deleteInTurn(int dir, const std::vector<Doomed> &doomed,
                              const std::function<bool(const QString &)> &before) {
    constexpr size_t kLead = 32;
    std::vector<int> outcomes(doomed.size(), 0);
    std::atomic<size_t> allowed{0}; // the files before this one may be deleted
    std::atomic<size_t> taken{0};   // the next file a thread takes to delete
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
        const Doomed &d = doomed[t];
        const NameBytes bytes(*d.name);
        const int looked = d.looked == kLookAgain ? lookAt(dir, bytes.get()) : d.looked;
        outcomes[t] = removeLooked(dir, bytes.get(), looked);
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
        for (size_t n = 0; n < doomed.size(); ++n) {
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

bool FileCopy::removeFile(const QString &path, QString *error) {
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

Removal FileCopyParts::removeInFolder(
    const QString &folder, const QStringList &names, QStringList *failures, QString *error,
    const std::function<bool(const QString &)> &before,
    const std::function<QString(const QString &, const QString &)> &variant) {
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
    for (qsizetype i = 0; i < names.size(); ++i) {
        // The early look holds for the name asked when that is the file's own, unless the
        // listing saw a file where the look saw none or a folder.
        const int look = looked[size_t(i)];
        for (const QString *file :
             filesFor(i, names, group, found, done, folder, variant, failures))
            doomed.push_back({file, *file != names.at(i) || look == kIsGone || look == kIsFolder
                                        ? kLookAgain
                                        : look});
    }
    const std::vector<int> outcomes = deleteInTurn(dir, doomed, before);
    for (size_t k = 0; k < doomed.size(); ++k) {
        // The path is built only for a message.
        if (outcomes[k] != 0 && !removed(outcomes[k], prefix + *doomed[k].name, &reason))
            failures->append(reason);
    }
    ::close(dir);
    return Removal::Done;
}
