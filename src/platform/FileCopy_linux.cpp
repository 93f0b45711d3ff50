// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux ways of `FileCopy`: the kernel's copy into a file of the game folder that has no
// name until it is whole, a hidden temporary name where the file system has no such files,
// and the copies made ahead while the game folder is read.
#include "FileCopy.h"

#include "FileParts.h"

#include "CrashPoint.h"
#include "FileHook.h"
#include "FileIdentity_posix.h"

#include <QByteArray>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace FileParts;

namespace {

constexpr mode_t kNormal = 0644; // FileOps::setNormal's attributes, as a mode

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void release() { fd_ = -1; }
    // Closing reports late write errors (network file systems), so the caller checks it.
    int close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

private:
    int fd_;
};

// Copies everything readable from `in` to `out`. The kernel's copy keeps the bytes out of
// user space; where the two files' file systems do not support it, sendfile, and a plain
// read/write loop as the last resort. `size` is the source's size when the copy began: once
// that much has been copied the copy is done, without the call that would find the end (a
// file growing meanwhile is copied as it was then). Answers 0 or the errno of the failure.
int copyBytes(int in, int out, off_t size) {
    enum class Way { CopyRange, SendFile, ReadWrite } way = Way::CopyRange;
    constexpr size_t kChunk = size_t(1) << 30;
    constexpr size_t kBuffer = size_t(1) << 17;
    QByteArray buffer;
    bool copiedAny = false;
    off_t copied = 0;
    for (;;) {
        ssize_t n = 0;
        switch (way) {
        case Way::CopyRange:
            n = ::copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
            if (n < 0 && !copiedAny &&
                (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
                 errno == EBADF || errno == EPERM)) {
                way = Way::SendFile;
                continue;
            }
            break;
        case Way::SendFile:
            n = ::sendfile(out, in, nullptr, kChunk);
            if (n < 0 && !copiedAny && (errno == EINVAL || errno == ENOSYS)) {
                way = Way::ReadWrite;
                continue;
            }
            break;
        case Way::ReadWrite: {
            if (buffer.isEmpty())
                buffer.resize(kBuffer);
            n = ::read(in, buffer.data(), kBuffer);
            for (ssize_t done = 0; n > 0 && done < n;) {
                const ssize_t w = ::write(out, buffer.constData() + done, size_t(n - done));
                if (w < 0 && errno == EINTR)
                    continue;
                if (w < 0)
                    return errno;
                done += w;
            }
            break;
        }
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        copiedAny = true;
        copied += n;
        if (size > 0 && copied == size)
            return 0;
    }
}

// Whether a file created with mode kNormal gets less than that (the umask takes bits of it
// away), so that the mode must be set again. The umask is read once, from the process's own
// status, where reading it through umask() would change it for a moment under other threads.
bool umaskNarrowsNormal() {
    static const bool narrows = [] {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return true;
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                return !ok || (mask & kNormal) != 0;
            }
        }
        return true;
    }();
    return narrows;
}

// Refuses a target that must not be replaced; true when `to` may be written.
bool mayReplace(const QByteArray &target, const QString &to, QString *error) {
    struct stat st;
    if (::stat(target.constData(), &st) != 0)
        return true;
    if (S_ISDIR(st.st_mode))
        return fail(error, QStringLiteral("copy over"), to, kFolderInTheWay);
    if (!(st.st_mode & S_IWUSR))
        return fail(error, QStringLiteral("copy over"), to, kReadOnly);
    return true;
}

// Gives the unnamed file `fd` the name `path`; answers 0 or the errno. Naming the file by its
// descriptor alone is cheapest, but needs a privilege (or a recent kernel) the player may not
// have; the /proc path of the descriptor works for everyone. Which one works is learnt once.
int nameUnnamed(int fd, const QByteArray &path) {
    static std::atomic<bool> byDescriptor{true};
    if (byDescriptor.load(std::memory_order_relaxed)) {
        if (::linkat(fd, "", AT_FDCWD, path.constData(), AT_EMPTY_PATH) == 0)
            return 0;
        if (errno != ENOENT && errno != EPERM && errno != EINVAL)
            return errno;
        byDescriptor.store(false, std::memory_order_relaxed);
    }
    char proc[40];
    std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, proc, AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

enum class Outcome { Done, Failed, Unsupported };

// The first half of the fast way: the bytes of `in` in a new file of `folder` that has no
// name. Until it is named, a failed or abandoned copy vanishes with its descriptor, and a
// crash leaves nothing behind.
Outcome fillUnnamed(int in, off_t size, const QByteArray &folder, const QString &from,
                    const QString &to, QString *error, int *filled) {
    Fd out(::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kNormal));
    if (!out.valid()) {
        if (errno == ENOENT) {
            fail(error, QStringLiteral("write"), to, kNoFolder);
            return Outcome::Failed;
        }
        if (errno == EACCES || errno == EPERM || errno == EROFS || errno == ENOSPC ||
            errno == EDQUOT) {
            fail(error, QStringLiteral("write"), to, reasonOf(errno));
            return Outcome::Failed;
        }
        return Outcome::Unsupported; // no unnamed files on this file system or kernel
    }
    // The creation mode went through the umask; normal is normal whatever the umask.
    if (umaskNarrowsNormal() && ::fchmod(out.get(), kNormal) != 0) {
        failCopy(error, from, to, reasonOf(errno));
        return Outcome::Failed;
    }
    if (const int err = copyBytes(in, out.get(), size)) {
        failCopy(error, from, to, reasonOf(err));
        return Outcome::Failed;
    }
    CrashPoint::inside();
    *filled = out.get();
    out.release();
    return Outcome::Done;
}

// The second half: the filled file `fd` (closed here) takes the name `target`. A new file
// costs one directory entry, as the system's own copy does, where a temporary name and a
// rename cost two; a target that exists is replaced by naming the file temporarily and
// renaming it over. A new file's status once named goes to `seen` (untouched where the
// file was renamed over an old one).
Outcome nameFilled(int fd, const QByteArray &target, const QString &to, QString *error,
                   FileIdentity *seen) {
    Fd out(fd);
    const int err = nameUnnamed(out.get(), target);
    if (err == 0) {
        struct stat st;
        if (seen && ::fstat(out.get(), &st) == 0)
            *seen = identityOfStatus(st);
        if (out.close() != 0) {
            const int late = errno;
            ::unlink(target.constData());
            fail(error, QStringLiteral("write"), to, reasonOf(late));
            return Outcome::Failed;
        }
        return Outcome::Done;
    }
    if (err != EEXIST)
        return Outcome::Unsupported;

    if (!mayReplace(target, to, error))
        return Outcome::Failed;
    QByteArray temporary;
    int named = EEXIST;
    for (int attempt = 0; attempt < 100 && named == EEXIST; ++attempt) {
        temporary = QFile::encodeName(temporaryBeside(to));
        named = nameUnnamed(out.get(), temporary);
    }
    if (named != 0) {
        fail(error, QStringLiteral("write"), to, reasonOf(named));
        return Outcome::Failed;
    }
    CrashPoint::inside();
    if (out.close() != 0 || ::rename(temporary.constData(), target.constData()) != 0) {
        const int late = errno;
        ::unlink(temporary.constData());
        fail(error, QStringLiteral("write"), to, reasonOf(late));
        return Outcome::Failed;
    }
    return Outcome::Done;
}

QByteArray folderOf(const QByteArray &target) {
    const qsizetype cut = target.lastIndexOf('/');
    return cut < 0 ? QByteArray(".") : target.left(cut + 1);
}

// The fast way: the bytes go into an unnamed file of the target's folder, which gets its name
// only when it is whole.
Outcome copyUnnamed(int in, off_t size, const QByteArray &target, const QString &from,
                    const QString &to, QString *error, FileIdentity *named) {
    int filled = -1;
    const Outcome outcome = fillUnnamed(in, size, folderOf(target), from, to, error, &filled);
    return outcome == Outcome::Done ? nameFilled(filled, target, to, error, named) : outcome;
}

// Where there are no unnamed files: a hidden temporary file beside the target, renamed over it.
bool copyNamed(int in, off_t size, const QByteArray &target, const QString &from, const QString &to,
               QString *error) {
    if (!mayReplace(target, to, error))
        return false;
    QByteArray temporary;
    int outFd = -1;
    for (int attempt = 0; attempt < 100 && outFd < 0; ++attempt) {
        temporary = QFile::encodeName(temporaryBeside(to));
        outFd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNormal);
        if (outFd < 0 && errno != EEXIST)
            return fail(error, QStringLiteral("write"), to,
                        errno == ENOENT ? kNoFolder : reasonOf(errno));
    }
    if (outFd < 0)
        return fail(error, QStringLiteral("write"), to, reasonOf(EEXIST));
    Fd out(outFd);
    const auto abandon = [&](int err) {
        out.close();
        ::unlink(temporary.constData());
        return failCopy(error, from, to, reasonOf(err));
    };
    if (umaskNarrowsNormal() && ::fchmod(out.get(), kNormal) != 0)
        return abandon(errno);
    CrashPoint::inside();
    if (const int err = copyBytes(in, out.get(), size))
        return abandon(err);
    CrashPoint::inside();
    if (out.close() != 0 || ::rename(temporary.constData(), target.constData()) != 0) {
        const int err = errno;
        ::unlink(temporary.constData());
        return fail(error, QStringLiteral("write"), to, reasonOf(err));
    }
    return true;
}

// Best effort: a VEK folder on a read-only medium must still load; the copy is normal. `in`
// is the source open, or -1. True when the source's attributes changed.
bool makeNormal(const QString &from, mode_t mode, int in) {
    if ((mode & 07777) == kNormal)
        return false;
    // A dry run's source shares its inode with the player's file: give it its own first.
    const bool changed = FileHook::isolated()
                             ? FileHook::detach(from, nullptr) &&
                                   ::chmod(QFile::encodeName(from).constData(), kNormal) == 0
                         : in >= 0 ? ::fchmod(in, kNormal) == 0
                                   : ::chmod(QFile::encodeName(from).constData(), kNormal) == 0;
    if (changed)
        FileHook::attributesChanged(from, QStringLiteral("normal"));
    return changed;
}

// The source as it is after the copy: its status at the start, looked at again only where its
// attributes were made normal.
FileIdentity sourceAfter(int in, const struct stat &before, bool normalised) {
    struct stat now;
    if (!normalised)
        return identityOfStatus(before);
    return ::fstat(in, &now) == 0 ? identityOfStatus(now) : FileIdentity();
}

bool copyLinux(const QString &from, const QString &to, QString *error, bool normalSource,
               bool unnamed, FileIdentity *sourceSeen, FileIdentity *copySeen) {
    Fd in(::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC));
    if (!in.valid())
        return fail(error, QStringLiteral("read"), from, reasonOf(errno));
    struct stat source;
    if (::fstat(in.get(), &source) != 0)
        return fail(error, QStringLiteral("read"), from, reasonOf(errno));
    if (S_ISDIR(source.st_mode))
        return fail(error, QStringLiteral("read"), from, kSourceIsFolder);
    if (!S_ISREG(source.st_mode))
        return fail(error, QStringLiteral("read"), from, QStringLiteral("it is not a plain file"));

    const QByteArray target = QFile::encodeName(to);
    const Outcome outcome =
        unnamed ? copyUnnamed(in.get(), source.st_size, target, from, to, error, copySeen)
                : Outcome::Unsupported;
    if (outcome == Outcome::Failed)
        return false;
    if (outcome == Outcome::Unsupported) {
        if (::lseek(in.get(), 0, SEEK_SET) != 0)
            return fail(error, QStringLiteral("read"), from, reasonOf(errno));
        if (!copyNamed(in.get(), source.st_size, target, from, to, error))
            return false;
    }
    const bool normalised = normalSource && makeNormal(from, source.st_mode, in.get());
    if (copySeen)
        *sourceSeen = sourceAfter(in.get(), source, normalised);
    return true;
}

} // namespace

// Copies made ahead, in the order they were made.
struct FileCopy::Ahead::Copies {
    struct Copy {
        QString from;
        int fd;     // the copy
        int source; // the source, held open to see at the copy's turn whether it changed
        struct stat seen;
    };
    std::deque<Copy> made;
    QByteArray folder;
    bool open = true; // false once a copy could not be made ahead: the rest go the usual way
};

FileCopy::Ahead::Ahead(const QString &folder) : copies_(std::make_unique<Copies>()) {
    copies_->folder = QFile::encodeName(folder.endsWith(QLatin1Char('/')) ? folder : folder + '/');
    // A dry run or a trace records each copy as it is made, in order, at its target.
    copies_->open = !FileHook::recording() && !FileHook::isolated();
}

FileCopy::Ahead::~Ahead() {
    for (const Copies::Copy &c : copies_->made) {
        ::close(c.fd);
        ::close(c.source);
    }
}

bool FileCopy::Ahead::room() const {
    // Each copy holds two descriptors open until it is named.
    constexpr size_t kMostAhead = 200;
    return copies_->open && copies_->made.size() < kMostAhead;
}

bool FileCopy::Ahead::add(const QString &from) {
    if (!room())
        return false;
    Fd in(::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC));
    struct stat source;
    int filled = -1;
    // Anything out of the ordinary is left to the copy in its turn, which tells why.
    if (!in.valid() || ::fstat(in.get(), &source) != 0 || !S_ISREG(source.st_mode) ||
        fillUnnamed(in.get(), source.st_size, copies_->folder, from, from, nullptr, &filled) !=
            Outcome::Done) {
        copies_->open = false;
        return false;
    }
    copies_->made.push_back({from, filled, in.get(), source});
    in.release();
    return true;
}

bool FileCopy::copySystem(const QString &from, const QString &to, QString *error, bool normalSource,
                          Way way, Ahead *ahead, Seen *seen) {
    bool copied = false;
    std::deque<Ahead::Copies::Copy> *made = ahead ? &ahead->copies_->made : nullptr;
    if (made && !made->empty() && made->front().from == from && way == Way::Best) {
        const Ahead::Copies::Copy c = made->front();
        made->pop_front();
        const Fd source(c.source);
        // A source deleted or written to since its copy was made is copied again now, as it
        // is (or fails to be, and says why).
        struct stat now;
        const bool same = ::fstat(source.get(), &now) == 0 && now.st_nlink > 0 &&
                          now.st_size == c.seen.st_size &&
                          now.st_mtim.tv_sec == c.seen.st_mtim.tv_sec &&
                          now.st_mtim.tv_nsec == c.seen.st_mtim.tv_nsec;
        const Outcome outcome =
            same ? nameFilled(c.fd, QFile::encodeName(to), to, error, seen ? &seen->copy : nullptr)
                 : Outcome::Unsupported;
        if (!same)
            ::close(c.fd);
        if (outcome == Outcome::Failed)
            return false;
        copied = outcome == Outcome::Done;
        if (same &&
            !copied) { // the name cannot be given this way: every other copy goes the usual way
            for (const Ahead::Copies::Copy &other : *made) {
                ::close(other.fd);
                ::close(other.source);
            }
            made->clear();
            ahead->copies_->open = false;
        }
        const bool normalised =
            copied && normalSource && makeNormal(from, c.seen.st_mode, source.get());
        if (copied && seen)
            seen->source = sourceAfter(source.get(), now, normalised);
    }
    if (!copied) {
        // Only a copy observer wants to know what the copy made: without one, no look more.
        Seen none;
        Seen *into = seen ? seen : &none;
        into->copy = FileIdentity();
        copied = copyLinux(from, to, error, normalSource, way == Way::Best, &into->source,
                           seen ? &into->copy : nullptr);
    }
    return copied;
}
