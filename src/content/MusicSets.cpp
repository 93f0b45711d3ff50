// SPDX-License-Identifier: GPL-3.0-or-later
#include "MusicSets.h"

#include "FileList.h"
#include "FileOps.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

QString nameOf(const QString &path) {
    return QFileInfo(path).fileName();
}

} // namespace

QString MusicSets::findFolder(const QString &folder, const QString &name) {
    if (QFileInfo(FileList::join(folder, name)).isDir())
        return name;
    for (const QString &path : FileList::folders(folder))
        if (nameOf(path).compare(name, Qt::CaseInsensitive) == 0)
            return nameOf(path);
    return QString();
}

QStringList MusicSets::sets(const QString &gameFolder, int *skipped) {
    QStringList names;
    int more = 0;
    for (const QString &path : FileList::folders(gameFolder)) {
        const QString name = nameOf(path);
        if (!name.toUpper().startsWith(QLatin1String("MUSIC#")))
            continue;
        if (names.size() < Buttons)
            names << name;
        else
            ++more;
    }
    if (skipped)
        *skipped = more;
    return names;
}

QString MusicSets::leftoverTemp(const QString &gameFolder) {
    return findFolder(gameFolder, Temp);
}

bool MusicSets::switchTo(const QString &gameFolder, const QString &name, QString *error) {
    auto refuse = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("Could not switch the music to \"%1\": %2 The music folders "
                                    "are as they were.")
                         .arg(name, why);
        return false;
    };
    const QString setPath = FileList::join(gameFolder, name);
    if (!QFileInfo(setPath).isDir())
        return refuse(QStringLiteral("the folder \"%1\" does not exist.").arg(native(setPath)));
    const QString active = findFolder(gameFolder, Active);
    if (active.isEmpty())
        return refuse(QStringLiteral("the game's music folder \"%1\" does not exist.")
                          .arg(native(FileList::join(gameFolder, Active))));
    const QString temp = leftoverTemp(gameFolder);
    if (!temp.isEmpty())
        return refuse(QStringLiteral("the folder \"%1\" is left from an interrupted switch; give "
                                     "it back the name of the music set it holds first.")
                          .arg(native(FileList::join(gameFolder, temp))));

    const QString activePath = FileList::join(gameFolder, active);
    const QString tempPath = FileList::join(gameFolder, Temp);
    // Each step is undone in reverse when a later one is refused.
    const QList<std::pair<QString, QString>> steps = {
        {setPath, tempPath}, {activePath, setPath}, {tempPath, activePath}};
    for (qsizetype i = 0; i < steps.size(); ++i) {
        if (FileOps::renameFolder(steps.at(i).first, steps.at(i).second))
            continue;
        for (qsizetype k = i - 1; k >= 0; --k)
            FileOps::renameFolder(steps.at(k).second, steps.at(k).first);
        return refuse(QStringLiteral("the folder \"%1\" could not be renamed to \"%2\".")
                          .arg(native(steps.at(i).first), nameOf(steps.at(i).second)));
    }
    return true;
}

bool MusicSets::description(const QString &gameFolder, const QString &name, QString *line) {
    const QString folder = FileList::join(gameFolder, name);
    const QString file = FileList::find(folder, QStringLiteral("music.txt"));
    if (file.isEmpty())
        return false;
    *line = Text8::toUnicode(TextFile::firstLine(FileList::join(folder, file), DescriptionBytes));
    return true;
}

bool MusicSets::deleteDefaultMissions(const QString &gameFolder, int *deleted, QString *error) {
    int count = 0;
    QStringList failures;
    const QString saves = findFolder(gameFolder, QStringLiteral("savedata"));
    if (!saves.isEmpty()) {
        const QString folder = FileList::join(gameFolder, saves);
        for (const QString &name : FileList::files(folder, QStringLiteral("Default*.msn"))) {
            QString why;
            if (FileOps::remove(FileList::join(folder, name), &why))
                ++count;
            else
                failures << why;
        }
    }
    if (deleted)
        *deleted = count;
    if (failures.isEmpty())
        return true;
    if (error)
        *error = QStringLiteral("Some default mission files could not be deleted:\r\n") +
                 failures.join(QStringLiteral("\r\n"));
    return false;
}
