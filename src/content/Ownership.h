// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

/// Which loaded content folder or skin carries which game file. A folder carries the files
/// its load copies into the game folder (its copy rule decides which); where several loaded
/// folders carry a file of the same name (compared without regard to case), the one loaded
/// last owns it, since its load replaced the others' copies. The rest still carry it, and
/// are the ones to fall back on when the owner goes.
///
/// Verify, repair, the restore after an unload and the conflict listing all read this one
/// picture. Building it lists each folder once.
class Ownership {
public:
    using Rule = std::function<bool(const QString &)>;

    /// A loaded folder, in load order (earliest first).
    struct Carrier {
        QString name;   ///< as the loaded list names it
        QString folder; ///< its path
        Rule skip;      ///< the files its load leaves out (empty: none)
        Rule keep;      ///< the files its unload leaves in the game folder (empty: none)
    };

    /// One game file and the carriers that bring it, as indexes into `carriers()` in load
    /// order: the last is the owner.
    struct File {
        QList<int> carriers;
        QStringList names; ///< the file's name as each of `carriers` spells it
        int owner() const { return carriers.last(); }
        /// The name as the owner spells it.
        const QString &name() const { return names.last(); }
    };

    /// Lists the carriers' folders. A folder that cannot be read carries nothing and is named
    /// in `problems` (when given).
    void build(const QList<Carrier> &carriers, QStringList *problems = nullptr);

    const QList<Carrier> &carriers() const { return carriers_; }
    /// Every carried file, grouped by owner in load order, by name within an owner.
    const QList<File> &files() const { return files_; }
    /// The file named `name` (any case), or null when no carrier brings it.
    const File *find(const QString &name) const;
    /// The files `carrier` brings (spelt as its folder spells them), in name order.
    const QStringList &carried(int carrier) const { return carried_.at(carrier); }
    /// The carrier named `name`, or -1.
    int indexOf(const QString &name) const;
    /// The path of `file` in the folder of its `k`-th carrier (the owner by default).
    QString source(const File &file, qsizetype k = -1) const;

private:
    QList<Carrier> carriers_;
    QList<QStringList> carried_;
    QList<File> files_;
    QHash<QString, qsizetype> index_;
};
