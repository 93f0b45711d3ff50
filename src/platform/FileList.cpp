// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileList.h"

#include "FolderScan.h"
#include "SharedListing.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace {

/// The names of the files (or folders) of `folder`, unsorted, in one pass over the folder; a
/// folder that cannot be read lists nothing.
QStringList entries(const QString &folder, bool wantFolders) {
    QStringList names;
    FolderScan::names(folder, wantFolders ? FolderScan::Kind::Folders : FolderScan::Kind::Files,
                      &names, nullptr);
    return names;
}

bool matchesAll(const QString &patterns) {
    for (const QString &raw : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString p = raw.trimmed();
        if (p == QLatin1String("*.*") || p == QLatin1String("*"))
            return true;
    }
    return false;
}

bool isAscii(const QString &name) {
    return std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// The alternatives of a pattern list without wildcards, all ASCII, for a match that needs no
// expression; empty when the list has a wildcard or any other letter.
QStringList plainNames(const QString &patterns) {
    QStringList plain;
    for (const QString &raw : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString p = raw.trimmed();
        if (p.contains(QLatin1Char('*')) || p.contains(QLatin1Char('?')) || !isAscii(p))
            return {};
        if (!p.isEmpty())
            plain << p;
    }
    return plain;
}

QRegularExpression compilePatterns(const QString &patterns) {
    QStringList alternatives;
    for (const QString &raw : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString p = raw.trimmed();
        if (p.isEmpty())
            continue;
        if (p == QLatin1String("*.*") || p == QLatin1String("*")) {
            alternatives << QStringLiteral(".*");
            continue;
        }
        QString rx;
        for (QChar c : p) {
            if (c == QLatin1Char('*'))
                rx += QStringLiteral(".*");
            else if (c == QLatin1Char('?'))
                rx += QLatin1Char('.');
            else
                rx += QRegularExpression::escape(QString(c));
        }
        alternatives << rx;
    }
    if (alternatives.isEmpty())
        return QRegularExpression(QStringLiteral("(?!)"));
    return QRegularExpression(
        QStringLiteral("\\A(?:") + alternatives.join(QLatin1Char('|')) + QStringLiteral(")\\z"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
}

} // namespace

QString FileList::fold(const QString &name) {
    const qsizetype n = name.size();
    const QChar *c = name.constData();
    qsizetype i = 0;
    // Most names are lower-case ASCII already, and then the name is its own key.
    while (i < n && c[i].unicode() < 0x80 && !(c[i].unicode() >= 'A' && c[i].unicode() <= 'Z'))
        ++i;
    if (i == n)
        return name;
    QString out = name;
    QChar *o = out.data();
    for (; i < n; ++i) {
        const char16_t u = o[i].unicode();
        if (u >= 0x80)
            return name.toCaseFolded();
        if (u >= 'A' && u <= 'Z')
            o[i] = QChar(u + ('a' - 'A'));
    }
    return out;
}

void FileList::sortNames(QStringList &names) {
    // Fold each name once, not once per comparison.
    QList<std::pair<QString, QString>> keyed;
    keyed.reserve(names.size());
    for (const QString &n : names)
        keyed.append({fold(n), n});
    std::sort(keyed.begin(), keyed.end());
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = keyed.at(i).second;
}

QStringList FileList::files(const QString &folder, const QString &patterns) {
    const bool all = matchesAll(patterns);
    // The start asks for all of the game folder's files more than once: its shared listing
    // keeps them sorted once.
    if (const auto listing = all ? SharedListing::of(folder) : nullptr) {
        if (!listing->sorted) {
            for (const FolderScan::Entry &e : listing->entries)
                if (e.type == FolderScan::Entry::File)
                    listing->sortedFiles.append(e.name);
            sortNames(listing->sortedFiles);
            listing->sorted = true;
        }
        return listing->sortedFiles;
    }
    QStringList names = entries(folder, false);
    // Only the matches are sorted: a pattern list usually picks a few of tens of thousands.
    if (!all) {
        const QRegularExpression rx = compilePatterns(patterns);
        const QStringList plain = plainNames(patterns);
        names.removeIf([&](const QString &n) {
            if (!plain.isEmpty() && isAscii(n))
                return std::none_of(plain.cbegin(), plain.cend(), [&n](const QString &p) {
                    return n.compare(p, Qt::CaseInsensitive) == 0;
                });
            return !rx.match(n).hasMatch();
        });
    }
    sortNames(names);
    return names;
}

QStringList FileList::folderNames(const QString &folder) {
    QStringList names = entries(folder, true);
    sortNames(names);
    return names;
}

namespace {
// `fold(name)` compared with `key` (<0, 0, >0), without making the folded copy for the ASCII
// names nearly every file has: a search of a big listing folds each name it passes.
int compareFolded(const QString &name, const QString &key) {
    const qsizetype n = name.size(), k = key.size();
    const QChar *a = name.constData(), *b = key.constData();
    for (qsizetype i = 0; i < n; ++i)
        if (a[i].unicode() >= 0x80)
            return QStringView(FileList::fold(name)).compare(key);
    for (qsizetype i = 0; i < n && i < k; ++i) {
        char16_t u = a[i].unicode();
        if (u >= 'A' && u <= 'Z')
            u += 'a' - 'A';
        if (u != b[i].unicode())
            return u < b[i].unicode() ? -1 : 1;
    }
    return n == k ? 0 : n < k ? -1 : 1;
}
} // namespace

QString FileList::Index::find(const QString &name) const {
    // The listing is ordered by the folded name first, so the names equal to `name` without
    // regard to case stand together, the first of them where the search lands.
    const QString key = fold(name);
    auto it = std::lower_bound(
        names_.cbegin(), names_.cend(), key,
        [](const QString &n, const QString &k) { return compareFolded(n, k) < 0; });
    QString first;
    for (; it != names_.cend() && compareFolded(*it, key) == 0; ++it) {
        if (*it == name)
            return name;
        if (first.isEmpty())
            first = *it;
    }
    return first.isEmpty() ? findIn(added_, name) : first;
}

QStringList FileList::folders(const QString &folder) {
    const QStringList names = folderNames(folder);
    QStringList paths;
    paths.reserve(names.size());
    for (const QString &n : names)
        paths << join(folder, n);
    return paths;
}

QString FileList::findIn(const QStringList &names, const QString &name) {
    QString found;
    for (const QString &n : names) {
        if (n == name)
            return n;
        if (found.isEmpty() && n.compare(name, Qt::CaseInsensitive) == 0)
            found = n;
    }
    return found;
}

QString FileList::find(const QString &folder, const QString &name) {
    // Fast path: the exact name is by far the common case.
    const QString exact = join(folder, name);
    if (QFileInfo(exact).isFile())
        return name;
    QStringList names = entries(folder, false);
    names.removeIf([&name](const QString &n) { return n.compare(name, Qt::CaseInsensitive) != 0; });
    sortNames(names);
    return names.isEmpty() ? QString() : names.first();
}

bool FileList::matches(const QString &name, const QString &patterns) {
    return compilePatterns(patterns).match(name).hasMatch();
}

QString FileList::resolve(const QString &folder, const QString &name) {
    const QString present = find(folder, name);
    return join(folder, present.isEmpty() ? name : present);
}

QString FileList::resolveFolder(const QString &folder, const QString &name) {
    const QString exact = join(folder, name);
    if (QFileInfo(exact).isDir())
        return exact;
    QStringList names = entries(folder, true);
    names.removeIf([&name](const QString &n) { return n.compare(name, Qt::CaseInsensitive) != 0; });
    sortNames(names);
    return names.isEmpty() ? exact : join(folder, names.first());
}

QString FileList::join(const QString &folder, const QString &name) {
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator()))
        return folder + name;
    return folder + QDir::separator() + name;
}
