#include "FileCopy.h"

#include "NativePath.h"

#include "CrashPoint.h"
#include "FileHook.h"
#include "FileList.h"
#include "FileOps.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <system_error>
#include <thread>
#include <vector>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

bool fail(QString *error, const QString &action, const QString &path, const QString &reason) {
    if (error)
        *error = QStringLiteral("Could not %1 \"%2\": %3.")
                     .arg(action, QDir::toNativeSeparators(path), reason);
    return false;
}

bool failCopy(QString *error, const QString &from, const QString &to, const QString &reason) {
    if (error)
        *error = QStringLiteral("Could not copy \"%1\" to \"%2\": %3.")
                     .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to), reason);
    return false;
}

const QString kReadOnly = QStringLiteral("the file is read-only");
const QString kFolderInTheWay = QStringLiteral("a folder of that name is in the way");
const QString kSourceIsFolder = QStringLiteral("it is a folder, not a file");
const QString kNoFolder = QStringLiteral("its folder does not exist");

// The temporary name is hidden, and unique to this process and call so that two copies never
// race for it; the exclusive create guards against a stray file of a crashed run.
QString temporaryBeside(const QString &to) {
    static std::atomic<quint64> counter{0};
    static const qint64 pid = QCoreApplication::applicationPid();
    qsizetype cut = to.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    cut = qMax(cut, to.lastIndexOf(QLatin1Char('\\')));
#endif
    const QString folder = to.left(cut + 1);
    return folder + QStringLiteral(".vek-copy-%1-%2.tmp").arg(pid).arg(counter.fetch_add(1));
}

#ifdef Q_OS_LINUX

constexpr mode_t kNormal = 0644; // FileOps::setNormal's attributes, as a mode

QString reasonOf(int err) {
    if (err == ENOENT)
        return QStringLiteral("it does not exist");
    return qt_error_string(err);
}

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
    *filled = out.get();
    out.release();
    return Outcome::Done;
}

// The second half: the filled file `fd` (closed here) takes the name `target`. A new file
// costs one directory entry, as the system's own copy does, where a temporary name and a
// rename cost two; a target that exists is replaced by naming the file temporarily and
// renaming it over.
Outcome nameFilled(int fd, const QByteArray &target, const QString &to, QString *error) {
    Fd out(fd);
    const int err = nameUnnamed(out.get(), target);
    if (err == 0) {
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
                    const QString &to, QString *error) {
    int filled = -1;
    const Outcome outcome = fillUnnamed(in, size, folderOf(target), from, to, error, &filled);
    return outcome == Outcome::Done ? nameFilled(filled, target, to, error) : outcome;
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
    if (const int err = copyBytes(in, out.get(), size))
        return abandon(err);
    if (out.close() != 0 || ::rename(temporary.constData(), target.constData()) != 0) {
        const int err = errno;
        ::unlink(temporary.constData());
        return fail(error, QStringLiteral("write"), to, reasonOf(err));
    }
    return true;
}

// Best effort: a VEK folder on a read-only medium must still load; the copy is normal. `in`
// is the source open, or -1.
void makeNormal(const QString &from, mode_t mode, int in) {
    if ((mode & 07777) == kNormal)
        return;
    // A dry run's source shares its inode with the player's file: give it its own first.
    const bool changed = FileHook::isolated()
                             ? FileHook::detach(from, nullptr) &&
                                   ::chmod(QFile::encodeName(from).constData(), kNormal) == 0
                         : in >= 0 ? ::fchmod(in, kNormal) == 0
                                   : ::chmod(QFile::encodeName(from).constData(), kNormal) == 0;
    if (changed)
        FileHook::attributesChanged(from, QStringLiteral("normal"));
}

bool copyLinux(const QString &from, const QString &to, QString *error, bool normalSource,
               bool unnamed) {
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
    const Outcome outcome = unnamed ? copyUnnamed(in.get(), source.st_size, target, from, to, error)
                                    : Outcome::Unsupported;
    if (outcome == Outcome::Failed)
        return false;
    if (outcome == Outcome::Unsupported) {
        if (::lseek(in.get(), 0, SEEK_SET) != 0)
            return fail(error, QStringLiteral("read"), from, reasonOf(errno));
        if (!copyNamed(in.get(), source.st_size, target, from, to, error))
            return false;
    }
    if (normalSource)
        makeNormal(from, source.st_mode, in.get());
    return true;
}

#endif

bool copyPortable(const QString &from, const QString &to, QString *error, bool normalSource) {
    const QFileInfo target(to);
    if (target.isDir())
        return fail(error, QStringLiteral("copy over"), to, kFolderInTheWay);
    if (FileOps::isReadOnly(to))
        return fail(error, QStringLiteral("copy over"), to, kReadOnly);

    QFile in(from);
    if (QFileInfo(from).isDir())
        return fail(error, QStringLiteral("read"), from, kSourceIsFolder);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("read"), from,
                    in.exists() ? FileOps::reasonOf(in) : QStringLiteral("it does not exist"));

    QFile out;
    for (int attempt = 0; attempt < 100 && !out.isOpen(); ++attempt) {
        out.setFileName(temporaryBeside(to));
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly) && !out.exists())
            return fail(error, QStringLiteral("write"), to, FileOps::reasonOf(out));
    }
    if (!out.isOpen())
        return fail(error, QStringLiteral("write"), to, FileOps::reasonOf(out));
    const auto abandon = [&](const QString &reason) {
        out.close();
        out.remove();
        return failCopy(error, from, to, reason);
    };

    constexpr qint64 kBlock = 1 << 20;
    QByteArray buffer(kBlock, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(buffer.data(), kBlock);
        if (n < 0)
            return abandon(FileOps::reasonOf(in));
        if (n == 0)
            break;
        QString reason;
        if (!FileOps::writeFully(out, buffer.constData(), n, &reason))
            return abandon(reason);
    }
    // QFile buffers: a full disk shows at the flush, not at the write.
    QString reason;
    if (!FileOps::flushFully(out, &reason))
        return abandon(reason);
    out.close();
    if (out.error() != QFileDevice::NoError)
        return abandon(FileOps::reasonOf(out));
    // The temporary file is the copy's own: no change of a player's file to report.
    if (!QFile::setPermissions(out.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ReadGroup | QFileDevice::ReadOther))
        return abandon(QStringLiteral("its attributes could not be set"));

    // std::filesystem::rename replaces an existing target on every platform, which
    // QFile::rename does not.
    std::error_code ec;
    std::filesystem::rename(nativePath(out.fileName()), nativePath(to), ec);
    if (ec) {
        out.remove();
        return fail(error, QStringLiteral("write"), to, QString::fromStdString(ec.message()));
    }
    if (normalSource)
        (void)FileOps::setNormal(from);
    return true;
}

} // namespace

// Copies made ahead, in the order they were made.
struct FileCopy::Ahead::Copies {
#ifdef Q_OS_LINUX
    struct Copy {
        QString from;
        int fd;     // the copy
        int source; // the source, held open to see at the copy's turn whether it changed
        struct stat seen;
    };
    std::deque<Copy> made;
#endif
    QByteArray folder;
    bool open = true; // false once a copy could not be made ahead: the rest go the usual way
};

FileCopy::Ahead::Ahead(const QString &folder) : copies_(std::make_unique<Copies>()) {
    copies_->folder = QFile::encodeName(folder.endsWith(QLatin1Char('/')) ? folder : folder + '/');
#ifdef Q_OS_LINUX
    // A dry run or a trace records each copy as it is made, in order, at its target.
    copies_->open = !FileHook::recording() && !FileHook::isolated();
#else
    copies_->open = false;
#endif
}

FileCopy::Ahead::~Ahead() {
#ifdef Q_OS_LINUX
    for (const Copies::Copy &c : copies_->made) {
        ::close(c.fd);
        ::close(c.source);
    }
#endif
}

bool FileCopy::Ahead::room() const {
#ifdef Q_OS_LINUX
    // Each copy holds two descriptors open until it is named.
    constexpr size_t kMostAhead = 200;
    return copies_->open && copies_->made.size() < kMostAhead;
#else
    return false;
#endif
}

bool FileCopy::Ahead::add(const QString &from) {
    if (!room())
        return false;
#ifdef Q_OS_LINUX
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
#else
    Q_UNUSED(from);
    return false;
#endif
}

bool FileCopy::copyReplace(const QString &from, const QString &to, QString *error,
                           bool normalSource, Way way, Ahead *ahead) {
    if (!FileHook::mayChange(to, error))
        return false;
    const bool existed = FileHook::recording() && QFileInfo::exists(to);
    bool copied = false;
#ifdef Q_OS_LINUX
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
            same ? nameFilled(c.fd, QFile::encodeName(to), to, error) : Outcome::Unsupported;
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
        if (copied && normalSource)
            makeNormal(from, c.seen.st_mode, source.get());
    }
    if (!copied)
        copied = way != Way::Portable ? copyLinux(from, to, error, normalSource, way == Way::Best)
                                      : copyPortable(from, to, error, normalSource);
#else
    Q_UNUSED(way);
    Q_UNUSED(ahead);
    copied = copyPortable(from, to, error, normalSource);
#endif
    if (copied)
        FileHook::copied(from, to, existed);
    return copied;
}

bool FileCopy::fileNames(const QString &folder, QStringList *names, QString *error) {
    names->clear();
#ifdef Q_OS_LINUX
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return fail(error, QStringLiteral("list the folder"), folder, reasonOf(errno));
    const int fd = ::dirfd(dir);
    const dirent *entry = nullptr;
    for (errno = 0; (entry = ::readdir(dir)) != nullptr; errno = 0) {
        bool isFile = entry->d_type == DT_REG;
        // A link counts by what it points to, as in every other listing of the selector.
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st;
            isFile = ::fstatat(fd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
        }
        if (isFile)
            names->append(QFile::decodeName(entry->d_name));
    }
    const int err = errno;
    ::closedir(dir);
    if (err != 0)
        return fail(error, QStringLiteral("list the folder"), folder, reasonOf(err));
    return true;
#else
    if (!QFileInfo(folder).isDir())
        return fail(error, QStringLiteral("list the folder"), folder,
                    QStringLiteral("it does not exist"));
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        names->append(it.fileName());
    }
    return true;
#endif
}

namespace {

// What `FileCopy::findAll` finds, by group: names equal without regard to case share one group
// (`group` holds each name's), and `found` holds each group's files.
bool findGroups(const QString &folder, const QStringList &names, QList<qsizetype> *groups,
                QList<QStringList> *found, QString *error) {
    // Names equal without regard to case share one group, found by their case-folded bytes.
    QHash<QByteArray, qsizetype> groupOf;
    groupOf.reserve(names.size());
    QList<qsizetype> &group = *groups;
    group.resize(names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QByteArray key = FileList::fold(names[i]).toUtf8();
        auto it = groupOf.constFind(key);
        if (it == groupOf.cend())
            it = groupOf.insert(key, groupOf.size());
        group[i] = it.value();
    }
    *found = QList<QStringList>(groupOf.size());

#ifdef Q_OS_LINUX
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return fail(error, QStringLiteral("list the folder"), folder, reasonOf(errno));
    const int fd = ::dirfd(dir);
    char folded[256];
    const dirent *entry = nullptr;
    for (errno = 0; (entry = ::readdir(dir)) != nullptr; errno = 0) {
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
        if (it == groupOf.cend())
            continue;
        bool isFile = entry->d_type == DT_REG;
        // A link counts by what it points to, as in every other listing of the selector.
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st;
            isFile = ::fstatat(fd, name, &st, 0) == 0 && S_ISREG(st.st_mode);
        }
        if (isFile)
            (*found)[it.value()].append(QFile::decodeName(name));
    }
    const int err = errno;
    ::closedir(dir);
    if (err != 0)
        return fail(error, QStringLiteral("list the folder"), folder, reasonOf(err));
#else
    if (!QFileInfo(folder).isDir())
        return fail(error, QStringLiteral("list the folder"), folder,
                    QStringLiteral("it does not exist"));
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const auto group = groupOf.constFind(FileList::fold(it.fileName()).toUtf8());
        if (group != groupOf.cend())
            (*found)[group.value()].append(it.fileName());
    }
#endif
    return true;
}

} // namespace

bool FileCopy::findAll(const QString &folder, const QStringList &names, QList<QStringList> *present,
                       QString *error) {
    QList<qsizetype> group;
    QList<QStringList> found;
    if (!findGroups(folder, names, &group, &found, error))
        return false;
    present->clear();
    present->reserve(names.size());
    for (const qsizetype g : std::as_const(group))
        present->append(found[g]);
    return true;
}

bool FileCopy::findAll(const QString &folder, const QStringList &names, QList<QStringList> *present,
                       QString *error, const std::function<bool()> &meanwhile) {
    bool listed = false;
    std::atomic<bool> done{false};
    QString reason;
    {
        std::jthread lister([&] {
            listed = findAll(folder, names, present, &reason);
            done.store(true, std::memory_order_release);
        });
        while (!done.load(std::memory_order_acquire) && meanwhile()) {
        }
    }
    if (!listed && error)
        *error = reason;
    return listed;
}

#ifdef Q_OS_LINUX
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
    std::atomic<bool> ended{false}; // `allowed` will not grow any more
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
    {
        std::jthread helper([&] {
            for (;;) {
                if (takeOne())
                    continue;
                if (ended.load(std::memory_order_acquire) &&
                    taken.load(std::memory_order_relaxed) >=
                        allowed.load(std::memory_order_relaxed))
                    return;
                std::this_thread::yield();
            }
        });
        for (size_t n = 0; n < doomed.size(); ++n) {
            while (n >= taken.load(std::memory_order_relaxed) + kLead)
                takeOne();
            if (before && !before(*doomed[n].name))
                break;
            allowed.store(n + 1, std::memory_order_release);
        }
        ended.store(true, std::memory_order_release);
        while (takeOne()) {
        }
    }
    return outcomes;
}

} // namespace
#endif

bool FileCopy::removeFile(const QString &path, QString *error) {
#ifdef Q_OS_LINUX
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
#else
    const QFileInfo fi(path);
    if (!fi.exists() && !fi.isSymLink())
        return true;
    if (fi.isDir() && !fi.isSymLink())
        return fail(error, QStringLiteral("delete"), path, kSourceIsFolder);
    if (!fi.isSymLink() && FileOps::isReadOnly(path))
        return fail(error, QStringLiteral("delete"), path, kReadOnly);
    if (!FileHook::mayChange(path, error))
        return false;
    QFile file(path);
    if (!file.remove() && file.exists())
        return fail(error, QStringLiteral("delete"), path, FileOps::reasonOf(file));
    FileHook::deleted(path);
    return true;
#endif
}

bool FileCopy::removeNamed(const QString &folder, const QStringList &names, QStringList *failures,
                           QString *error, const std::function<bool(const QString &)> &before) {
    QList<qsizetype> group;
    QList<QStringList> found;
    QString reason;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    // Which name stands for a file, and which group of names equal but for case has had its
    // file deleted already.
    const auto next = [&](qsizetype i, std::vector<char> &done) -> const QString * {
        const qsizetype g = group.at(i);
        if (done[size_t(g)] || found.at(g).size() != 1)
            return nullptr;
        done[size_t(g)] = 1;
        return &found.at(g).first();
    };
#ifdef Q_OS_LINUX
    // A dry run or a trace wants each delete by its path; every other run takes the short way.
    const bool watched = FileHook::recording() || FileHook::isolated();
    const int dir =
        watched ? -1
                : ::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        // The listing of a big game folder and the status query of each file to delete are
        // what an unload costs beyond the deletes themselves (`rm` does the queries but no
        // listing), so they overlap: a worker reads the folder while this thread looks at the
        // files by the names asked. The worker touches nothing but what it fills in.
        bool listed = false;
        std::vector<int> looked(size_t(names.size()));
        {
            std::jthread lister(
                [&] { listed = findGroups(folder, names, &group, &found, &reason); });
            for (qsizetype i = 0; i < names.size(); ++i)
                looked[size_t(i)] = lookAt(dir, NameBytes(names.at(i)).get());
        }
        if (!listed) {
            ::close(dir);
            if (error)
                *error = reason;
            return false;
        }
        std::vector<char> done(size_t(found.size()));
        std::vector<Doomed> doomed;
        doomed.reserve(size_t(names.size()));
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString *file = next(i, done);
            // The early look holds for the name asked when that is the file's own, unless the
            // listing saw a file where the look saw none or a folder.
            const int look = looked[size_t(i)];
            if (file)
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
        return true;
    }
#endif
    // Watched, or a folder that cannot be opened: each delete by path tells why for its own
    // file.
    if (!findGroups(folder, names, &group, &found, error))
        return false;
    std::vector<char> done(size_t(found.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString *file = next(i, done);
        if (!file)
            continue;
        if (before && !before(*file))
            break;
        if (!removeFile(prefix + *file, &reason))
            failures->append(reason);
    }
    return true;
}
