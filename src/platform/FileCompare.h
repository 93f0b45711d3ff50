// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// Whether two files hold the same bytes, at the cost of reading them once: the sizes are
/// compared first, then the bytes block by block, stopping at the first difference, so a
/// check of thousands of files never holds more than two blocks in memory.
class FileCompare {
public:
    enum class Result { Same, Differs, Failed };

    /// Compares `a` with `b`. A file that cannot be opened or read answers `Failed` with
    /// `error` naming it and the reason.
    static Result sameBytes(const QString &a, const QString &b, QString *error);
};
