// SPDX-License-Identifier: GPL-3.0-or-later
// `FileCopy` where the system offers no faster way than Qt's: every copy is the portable one,
// and nothing is copied ahead.
#include "FileCopy.h"

#include "FileParts.h"

struct FileCopy::Ahead::Copies {};

FileCopy::Ahead::Ahead(const QString &folder) : copies_(std::make_unique<Copies>()) {
    Q_UNUSED(folder);
}

FileCopy::Ahead::~Ahead() = default;

bool FileCopy::Ahead::room() const {
    return false;
}

bool FileCopy::Ahead::add(const QString &from) {
    Q_UNUSED(from);
    return false;
}

bool FileCopy::copySystem(const QString &from, const QString &to, QString *error, bool normalSource,
                          Way way, Ahead *ahead, Seen *seen) {
    Q_UNUSED(way);
    Q_UNUSED(ahead);
    Q_UNUSED(seen); // nothing known: the history looks itself
    return FileParts::copyPortable(from, to, error, normalSource);
}
