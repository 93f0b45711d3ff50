#include "Selector.h"

#include "CheatCheck.h"
#include "FileList.h"
#include "Ledgers.h"
#include "Prompt.h"
#include "StrayCleanup.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>

Selector::Selector(const Folders &folders, Prompt &prompt, QObject *parent)
    : QObject(parent), folders_(folders), prompt_(prompt) {}

QString Selector::credits() {
    return QStringLiteral("The VEK concept: the VEK team and its many contributors\r\n"
                          "Selector programming: the VEK Selector developers\r\n"
                          "Click here for Support, Links and Downloads");
}

void Selector::setCaption(const QString &caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    Q_EMIT captionChanged(caption_);
}

void Selector::refreshGameFiles() {
    gameFiles_ = FileList::files(folders_.GameFolder);
}

QStringList Selector::loadedNames() const {
    QStringList names = label8_.split(QStringLiteral("\r\n"));
    names.removeAll(QString());
    return names;
}

QList<Selector::LoadStep> Selector::loadSteps() {
    // Steps that belong to features not built yet are absent; their numbers are kept so a
    // feature slots in at its place.
    return {
        {1, "clear ApplyFeature", [this] { ApplyFeature = false; }},
        {3, "centre the window", [this] { Q_EMIT centreRequested(); }},
        {5, "remember the caption", [this] { rememberedCaption_ = caption_; }},
        {6, "clean up strays after a change of VEK folder", [this] { cleanUpStrays(); }},
        {7, "remember the VEK folder in LastVEKDir", [this] { writeLastVekDir(); }},
        {8, "clear FormReady and SkinEventsOn",
         [this] {
             FormReady = false;
             SkinEventsOn = false;
         }},
        {9, "group filter from vek.ini", [this] { readGroupTable(); }},
        {10, "clear the cheat-check byte of flt.cdf", [this] { clearCheatByte(); }},
        {11, "clear FormReady", [this] { FormReady = false; }},
        {12, "game folder label", [this] { Label1 = folders_.GameFolder + QDir::separator(); }},
        {13, "list the game folder", [this] { refreshGameFiles(); }},
        {20, "re-load what FoldersLoaded.txt records", [this] { reloadLoadedList(); }},
        {23, "background picture", [this] { findBackground(); }},
        {28, "newpic",
         [this] { NewpicPath = FileList::resolve(folders_.ModFolder, QStringLiteral("newpic")); }},
        {29, "autoscript list",
         [this] {
             File10 =
                 FileList::files(FileList::join(folders_.ModFolder, QStringLiteral("Autoscripts")));
         }},
        {30, "show the first page", [this] { CurrentPage = 0; }},
        {32, "select Show ALL", [this] { List3Index = 0; }},
        {33, "ready", [this] { FormReady = true; }},
    };
}

void Selector::load() {
    for (const LoadStep &step : loadSteps())
        step.run();
}

void Selector::cleanUpStrays() {
    // Exact comparison: the same folder spelt in another case counts as another folder.
    if (folders_.ModFolder == folders_.LastModFolder)
        return;
    setCaption(CleaningUp);
    const QStringList failures = StrayCleanup::run(folders_.GameFolder);
    setCaption(rememberedCaption_);
    if (!failures.isEmpty())
        prompt_.fail(QStringLiteral("Some files of the previous VEK folder could not be removed "
                                    "from the game folder:\r\n") +
                     failures.join(QStringLiteral("\r\n")));
}

void Selector::writeLastVekDir() {
    QString error;
    const QString path = FileList::resolve(folders_.GameFolder, QStringLiteral("LastVEKDir"));
    if (!TextFile::writeLines(path, {Text8::fromUnicode(folders_.ModFolder)}, &error))
        prompt_.fail(error);
}

void Selector::readGroupTable() {
    List3 = {QStringLiteral("Show ALL"), QStringLiteral("Show Selections")};
    QString problem;
    if (!groups.read(folders_.ModFolder, &problem))
        prompt_.fail(problem);
    List3 += groups.descriptions;
}

void Selector::clearCheatByte() {
    QString error;
    if (!CheatCheck::clearAtLoad(folders_.GameFolder, &error))
        prompt_.fail(error);
}

void Selector::reloadLoadedList() {
    label8_.clear();
    for (const QByteArray &line : Ledgers::readFoldersLoaded(folders_.ModFolder))
        label8_ += Text8::toUnicode(line) + QStringLiteral("\r\n");
}

void Selector::findBackground() {
    // A name of that spelling in any case, without extension; the last one listed wins.
    BackgroundPath.clear();
    const QStringList names = FileList::files(folders_.GameFolder, QStringLiteral("BACKGROUND"));
    if (!names.isEmpty())
        BackgroundPath = FileList::join(folders_.GameFolder, names.last());
}
