// SPDX-License-Identifier: GPL-3.0-or-later
#include "MusicButtons.h"

#include "FileList.h"
#include "MusicSets.h"
#include "Reporter.h"
#include "SelectorState.h"

#include <QDir>
#include <QFileInfo>

void MusicButtons::fill() {
    s_.touch(Change::Options);
    int skipped = 0;
    Option12 = MusicSets::sets(s_.GameFolder(), &skipped);
    if (skipped > 0)
        r_.report(QStringLiteral("The game folder holds %1 music sets; only the first %2 have a "
                                 "button.")
                      .arg(Option12.size() + skipped)
                      .arg(MusicSets::Buttons));
    findPlaying(QString());
    const QString temp = MusicSets::leftoverTemp(s_.GameFolder());
    if (!temp.isEmpty())
        r_.report(QStringLiteral("The folder \"%1\" is left from an interrupted music switch. "
                                 "Rename it back to the name of the music set it holds (or to "
                                 "\"Music\" when the game folder has no Music folder); until "
                                 "then the music cannot be switched.")
                      .arg(QDir::toNativeSeparators(FileList::join(s_.GameFolder(), temp))));
}

bool MusicButtons::click(int index) {
    s_.touch(Change::Options);
    if (index < 0 || index >= Option12.size())
        return false;
    QString error;
    if (MusicSets::switchTo(s_.GameFolder(), Option12.at(index), &error)) {
        findPlaying(Option12.at(index));
        return true;
    }
    r_.report(error);
    return false;
}

void MusicButtons::findPlaying(const QString &switchedTo) {
    const QFileInfo folder(FileList::resolveFolder(s_.GameFolder(), QStringLiteral("Music")));
    const QString music = folder.fileName();
    QString line;
    if (!folder.isDir())
        Playing = QStringLiteral("The game folder has no Music folder.");
    else if (MusicSets::description(s_.GameFolder(), music, &line) && !line.trimmed().isEmpty())
        Playing = QStringLiteral("Now playing: %1").arg(line.trimmed());
    else if (!switchedTo.isEmpty())
        Playing = QStringLiteral("Now playing: the set that was %1").arg(switchedTo);
    else
        Playing = QStringLiteral("Now playing: the Music folder's set (it has no music.txt)");
}

void MusicButtons::hover(int index) {
    if (index < 0 || index >= Option12.size())
        return;
    QString line;
    if (MusicSets::description(s_.GameFolder(), Option12.at(index), &line))
        Frame12 = line;
}

bool MusicButtons::delmsn() {
    s_.touch(Change::Options);
    QString error;
    if (MusicSets::deleteDefaultMissions(s_.GameFolder(), nullptr, &error))
        return true;
    r_.report(error);
    return false;
}
