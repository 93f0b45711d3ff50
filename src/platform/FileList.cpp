#include "FileList.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>

#include <algorithm>

namespace {

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
    return QRegularExpression(QStringLiteral("\\A(?:") + alternatives.join(QLatin1Char('|')) +
                                  QStringLiteral(")\\z"),
                              QRegularExpression::CaseInsensitiveOption |
                                  QRegularExpression::DotMatchesEverythingOption);
}

bool lessName(const QString &a, const QString &b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

} // namespace

void FileList::sortNames(QStringList &names) { std::sort(names.begin(), names.end(), lessName); }

QStringList FileList::files(const QString &folder, const QString &patterns) {
    const QRegularExpression rx = compilePatterns(patterns);
    QStringList names;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (rx.match(name).hasMatch())
            names << name;
    }
    sortNames(names);
    return names;
}

QStringList FileList::folders(const QString &folder) {
    QStringList names;
    QDirIterator it(folder, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        names << it.fileName();
    }
    sortNames(names);
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
    QStringList names;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().compare(name, Qt::CaseInsensitive) == 0)
            names << it.fileName();
    }
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

QString FileList::join(const QString &folder, const QString &name) {
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator()))
        return folder + name;
    return folder + QDir::separator() + name;
}
