#include "MusicButtons.h"

#include "FileList.h"
#include "MusicSets.h"
#include "Selector.h"

#include <QDir>

void MusicButtons::fill() {
    int skipped = 0;
    Option12 = MusicSets::sets(s_.GameFolder(), &skipped);
    if (skipped > 0)
        s_.report(QStringLiteral("The game folder holds %1 music sets; only the first %2 have a "
                                 "button.")
                      .arg(Option12.size() + skipped)
                      .arg(MusicSets::Buttons));
    const QString temp = MusicSets::leftoverTemp(s_.GameFolder());
    if (!temp.isEmpty())
        s_.report(QStringLiteral("The folder \"%1\" is left from an interrupted music switch. "
                                 "Rename it back to the name of the music set it holds (or to "
                                 "\"Music\" when the game folder has no Music folder); until "
                                 "then the music cannot be switched.")
                      .arg(QDir::toNativeSeparators(FileList::join(s_.GameFolder(), temp))));
}

bool MusicButtons::click(int index) {
    if (index < 0 || index >= Option12.size())
        return false;
    QString error;
    if (MusicSets::switchTo(s_.GameFolder(), Option12.at(index), &error))
        return true;
    s_.report(error);
    return false;
}

void MusicButtons::hover(int index) {
    if (index < 0 || index >= Option12.size())
        return;
    QString line;
    if (MusicSets::description(s_.GameFolder(), Option12.at(index), &line))
        Frame12 = line;
}

bool MusicButtons::delmsn() {
    QString error;
    if (MusicSets::deleteDefaultMissions(s_.GameFolder(), nullptr, &error))
        return true;
    s_.report(error);
    return false;
}
