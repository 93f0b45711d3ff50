// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

/// What an operation changed between two snapshots of files (`filesOf`, `treeOf`): the names
/// whose bytes differ and those only one snapshot holds, sorted.
template <typename Files> QStringList changedFiles(const Files &before, const Files &after) {
    QStringList names;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (!before.contains(it.key()) || before.value(it.key()) != it.value())
            names << it.key();
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (!after.contains(it.key()))
            names << it.key();
    names.sort();
    return names;
}
