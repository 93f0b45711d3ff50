// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

/// Caps the size of any file this process writes while it lives, so that a write past `bytes`
/// fails the way a full disk fails it: even for root, and without filling a disk. Only Linux
/// has the limit; elsewhere `active()` is false and a test that needs it skips.
class FileSizeCap {
public:
    explicit FileSizeCap(qint64 bytes) {
#ifdef Q_OS_LINUX
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit capped = old_;
        capped.rlim_cur = rlim_t(bytes);
        active_ = setrlimit(RLIMIT_FSIZE, &capped) == 0;
#else
        Q_UNUSED(bytes);
#endif
    }
    ~FileSizeCap() {
#ifdef Q_OS_LINUX
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
#endif
    }
    FileSizeCap(const FileSizeCap &) = delete;
    FileSizeCap &operator=(const FileSizeCap &) = delete;
    bool active() const {
        return active_;
    }

private:
#ifdef Q_OS_LINUX
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
#endif
    bool active_ = false;
};
