// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// Listings of one folder, the way the selector sees a folder: names match without regard to
/// case, a pattern list holds alternatives separated by ";" with the wildcards "*" and "?",
/// and "*.*" matches every file, with or without an extension. Each call reads the folder
/// once, so callers that need many lookups list once and search the result.
class FileList {
public:
    /// Names of the files (not folders) of `folder` that match `patterns`, sorted by name
    /// without regard to case. A missing folder lists nothing.
    static QStringList files(const QString &folder,
                             const QString &patterns = QStringLiteral("*.*"));

    /// Full paths of the direct subfolders of `folder`, sorted by name without regard to case.
    static QStringList folders(const QString &folder);
    /// The names of those subfolders, in the same order.
    static QStringList folderNames(const QString &folder);

    /// The name under which `name` is present in `folder`, compared without regard to case;
    /// empty when absent. Where several names differ only in case, the exact one wins, then
    /// the first in list order.
    static QString find(const QString &folder, const QString &name);

    /// `find` over a listing already in hand.
    static QString findIn(const QStringList &names, const QString &name);

    /// Whether `name` matches one of the `patterns` (same rules as `files`).
    static bool matches(const QString &name, const QString &patterns);

    /// The path of `name` in `folder`: the present file under any case, else `folder` + the
    /// separator + `name` as given. Writing through it never makes a second file that
    /// differs only in case.
    static QString resolve(const QString &folder, const QString &name);

    /// The path of the subfolder `name` of `folder`, matched without regard to case (the exact
    /// name wins, then the first in list order); `folder` + the separator + `name` when absent.
    static QString resolveFolder(const QString &folder, const QString &name);

    /// `folder` + the platform separator + `name`.
    static QString join(const QString &folder, const QString &name);

    /// `name` case-folded, the key under which names equal without regard to case meet. Equal
    /// to `QString::toCaseFolded`, with a quick way for the ASCII names nearly every file has.
    static QString fold(const QString &name);

    /// Case-insensitive name order, ties broken by the exact bytes so the order is total.
    static void sortNames(QStringList &names);

    /// One listing's names, for many lookups without reading the folder again: each lookup
    /// answers what `findIn` answers on the listing, by a binary search of its order.
    class Index {
    public:
        /// `names` in `sortNames`'s order, as the listings give them.
        explicit Index(const QStringList &names) : names_(names) {}
        /// The exact name, else the first listed that differs only in case; empty when absent.
        QString find(const QString &name) const;
        /// A name made in the folder since the listing.
        void add(const QString &name) { added_.append(name); }

    private:
        QStringList names_;
        QStringList added_;
    };
};
