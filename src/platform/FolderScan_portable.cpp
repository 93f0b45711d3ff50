#include "FolderScan.h"

#include "FileList.h"

#include <QDirIterator>
#include <QFileInfo>

namespace {

// Hidden and system files are content like any other (a game file may carry either mark).
constexpr QDir::Filters kEvery = QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

bool readable(const QString &folder, QString *error) {
    if (QFileInfo(folder).isDir())
        return true;
    if (error)
        *error = FolderScan::unreadable(folder, QStringLiteral("it does not exist"));
    return false;
}

} // namespace

bool FolderScan::names(const QString &folder, Kind kind, QStringList *names, QString *error) {
    names->clear();
    if (!readable(folder, error))
        return false;
    QDirIterator it(folder, (kind == Kind::Files ? QDir::Files : QDir::Dirs) | kEvery);
    while (it.hasNext()) {
        it.next();
        names->append(it.fileName());
    }
    return true;
}

bool FolderScan::collect(const QString &folder, const QHash<QByteArray, qsizetype> &groupOf,
                         QList<QStringList> *found, QString *error) {
    QStringList all;
    if (!names(folder, Kind::Files, &all, error))
        return false;
    for (const QString &name : std::as_const(all)) {
        const auto group = groupOf.constFind(FileList::fold(name).toUtf8());
        if (group != groupOf.cend())
            (*found)[group.value()].append(name);
    }
    return true;
}

bool FolderScan::withPrefix(const QString &folder, const QString &prefix, QStringList *rests,
                            QString *error) {
    rests->clear();
    if (!readable(folder, error))
        return false;
    QDirIterator it(folder, {prefix + QLatin1Char('*')}, QDir::Files | kEvery);
    while (it.hasNext()) {
        it.next();
        // The pattern matches without regard to case on some systems; the prefix does not.
        if (it.fileName().startsWith(prefix) && it.fileName().size() > prefix.size())
            rests->append(it.fileName().mid(prefix.size()));
    }
    return true;
}
