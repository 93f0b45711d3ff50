#include "Selector.h"

#include "Autoscripts.h"
#include "BytePatch.h"
#include "Catalogue.h"
#include "CheatCheck.h"
#include "CompleteReset.h"
#include "FileList.h"
#include "FileMover.h"
#include "FileOps.h"
#include "IniOptions.h"
#include "KeyboardFeatures.h"
#include "Ledgers.h"
#include "LoadFiles.h"
#include "LoadedFiles.h"
#include "MusicButtons.h"
#include "NightSwitch.h"
#include "OperationJournal.h"
#include "Planes.h"
#include "Progress.h"
#include "Prompt.h"
#include "Skins.h"
#include "Slots.h"
#include "StrayCleanup.h"
#include "Text8.h"
#include "TextFile.h"
#include "WindowCommands.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

#include <utility>

Selector::Selector(const Folders &folders, Prompt &prompt, QObject *parent)
    : QObject(parent), SelectorState(folders), reporter_(prompt),
      loadFiles_(std::make_unique<LoadFiles>(*this)), planes_(std::make_unique<Planes>(*this)),
      commands_(std::make_unique<WindowCommands>(*this)),
      features_(std::make_unique<KeyboardFeatures>(*this)),
      music_(std::make_unique<MusicButtons>(*this)), skins_(std::make_unique<Skins>(*this)),
      autoscripts_(std::make_unique<Autoscripts>(*this)),
      completeReset_(std::make_unique<CompleteReset>(*this)),
      loadedFiles_(std::make_unique<LoadedFiles>(*this)),
      journal_(std::make_unique<OperationJournal>(*this)) {
    reporter_.setFileCaption(Caption);
    reporter_.captionChanged = [this](const QString &caption) { Q_EMIT captionChanged(caption); };
}

Selector::~Selector() = default;

QString Selector::credits() {
    return QStringLiteral("The VEK concept: the VEK team and its many contributors\r\n"
                          "Selector programming: the VEK Selector developers\r\n"
                          "Click here for Support, Links and Downloads");
}

QStringList Selector::loadedNames() const {
    QStringList names = label8_.split(QStringLiteral("\r\n"));
    names.removeAll(QString());
    return names;
}

QList<Selector::LoadStep> Selector::loadSteps() {
    // Steps that belong to features not built yet are absent; their numbers are kept so a
    // feature slots in at its place. There is no step 13 (a standing listing of the game
    // folder): every lookup of a game file asks the folder itself, so nothing goes stale.
    return {
        {1, "clear ApplyFeature", [this] { ini.ApplyFeature = false; }},
        {3, "centre the window", [this] { Q_EMIT centreRequested(); }},
        {5, "remember the caption", [this] { rememberedCaption_ = reporter_.caption(); }},
        {6, "clean up strays after a change of VEK folder", [this] { cleanUpStrays(); }},
        {7, "remember the VEK folder in LastVEKDir", [this] { writeLastVekDir(); }},
        {8, "clear FormReady and SkinEventsOn",
         [this] {
             FormReady = false;
             SkinEventsOn = false;
         }},
        {9, "group filter from vek.ini", [this] { readGroupTable(); }},
        {10, "clear the cheat-check byte of flt.cdf", [this] { clearCheatByte(); }},
        {11, "clear FormReady and the resolution options",
         [this] {
             FormReady = false;
             if (ini.resolution >= 0 && ini.resolution <= 5)
                 ini.resolution = -1;
         }},
        {12, "game folder label", [this] { Label1 = folders().GameFolder + QDir::separator(); }},
        {14, "finish or undo an operation a crash cut short", [this] { journal_->recover(); }},
        {15, "keep the original eaw.ini and eaw.exe, read the options",
         [this] {
             QStringList problems;
             IniOptions::SaveOriginals(folders().GameFolder, folders().ModFolder, &problems);
             IniOptions::ReadIniOptions(folders().GameFolder, ini, &problems);
             reporter_.tell(problems);
         }},
        {16, "content catalogue", [this] { buildCatalogue(); }},
        // Step 17 pointed a folder list at the skin folder for step 19; the skin grid finds
        // the folder itself.
        {18, "slot filter list", [this] { List1 = Slots::filterEntries(); }},
        {19, "skin grid", [this] { skins_->fill(); }},
        {20, "re-load what FoldersLoaded.txt records",
         [this] {
             reloadLoadedList();
             // Now that the grids say who carries what, a recovered unload's shared files.
             journal_->settle();
         }},
        {21, "restore the original eaw.ini and eaw.exe", [this] { Restore(); }},
        {22, "write eaw.ini", [this] { inisave(); }},
        {23, "background picture", [this] { findBackground(); }},
        {25, "music buttons", [this] { music_->fill(); }},
        {26, "keyboard-control features from KC", [this] { features_->setUp(); }},
        {27, "write eaw.ini again", [this] { inisave(); }},
        {28, "newpic",
         [this] { NewpicPath = FileList::resolve(folders().ModFolder, QStringLiteral("newpic")); }},
        {29, "autoscript list", [this] { autoscripts_->refresh(); }},
        {30, "show the first page", [this] { CurrentPage = 0; }},
        {31, "select ALL slots", [this] { planes_->filter(0); }},
        {32, "select Show ALL", [this] { loadFiles_->filter(0); }},
        {33, "ready", [this] { FormReady = true; }},
        // After a recovery the ledger's lines may stand in another order than the grids'.
        {34, "rewrite FoldersLoaded.txt after a recovery",
         [this] {
             if (journal_->recovered())
                 RefreshLoadedList();
         }},
        {35, "finish a Reset Completely a crash cut short", [this] { completeReset_->resume(); }},
    };
}

void Selector::load() {
    reporter_.startLoad();
    for (const LoadStep &step : loadSteps())
        step.run();
    reporter_.endLoad();
}

void Selector::cleanUpStrays() {
    // Exact comparison: the same folder spelt in another case counts as another folder.
    if (folders().ModFolder == folders().LastModFolder)
        return;
    reporter_.setCaption(CleaningUp);
    const StrayCleanup::Outcome swept =
        StrayCleanup::run(folders().GameFolder, folders().ModFolder);
    reporter_.setCaption(rememberedCaption_);
    if (!swept.problems.isEmpty())
        reporter_.report(
            QStringLiteral("Some files of the previous VEK folder could not be removed "
                           "from the game folder:\r\n") +
            swept.problems.join(QStringLiteral("\r\n")));
    // Told with the other start-up messages, in the one message the load ends with.
    if (const QString told = StrayCleanup::notice(swept); !told.isEmpty())
        reporter_.report(told);
}

void Selector::writeLastVekDir() {
    QString error;
    const QString path = FileList::resolve(folders().GameFolder, QStringLiteral("LastVEKDir"));
    if (!TextFile::writeLines(path, {Text8::fromUnicode(folders().ModFolder)}, &error))
        reporter_.report(error);
}

void Selector::readGroupTable() {
    List3 = {QStringLiteral("Show ALL"), QStringLiteral("Show Selections")};
    QString problem;
    if (!groups.read(folders().ModFolder, &problem))
        reporter_.report(problem);
    List3 += groups.descriptions;
}

void Selector::clearCheatByte() {
    QString error;
    if (!CheatCheck::clearAtLoad(folders().GameFolder, &error))
        reporter_.report(error);
    // The same file refuses the option changes' writes too: told here, not again there.
    cheatProblem_ = error;
}

void Selector::buildCatalogue() {
    QStringList problems;
    Catalogue::build(folders().ModFolder, folders().GameFolder, Unigrid,
                     Ledgers::readFoldersLoaded(folders().ModFolder), &problems);
    reporter_.tell(problems);
}

void Selector::reloadLoadedList() {
    label8_.clear();
    Text2.clear();
    // A ledger may be long (a damaged or hostile one, hundreds of thousands of lines): each
    // line finds its rows in indexes made once, never by a pass over a grid. The load grid's
    // rows stay while the window loads; the aircraft grid is new after each "F" folder.
    QHash<QString, QList<int>> rowsByName;
    for (int r = 1; r < Unigrid.rowCount(); ++r)
        rowsByName[Unigrid.row(r).name] << r;
    QHash<QString, QList<int>> slotsByFolder = G1.rowsByFolder();
    QStringList names;
    for (const QByteArray &line : Ledgers::readFoldersLoaded(folders().ModFolder)) {
        const QString name = Text8::toUnicode(line);
        names << name;
        label8_ += name + QStringLiteral("\r\n");
        if (const auto rows = rowsByName.constFind(name); rows != rowsByName.cend())
            if (loadFiles_->reloadRows(*rows))
                slotsByFolder = G1.rowsByFolder();
        if (const auto named = slotsByFolder.constFind(name); named != slotsByFolder.cend())
            G1.markRows(*named);
    }
    Text2 = label8_;
    // Nothing the load grid's clicks do while the window loads reads the skin marks.
    SK1.markLines(names);
    loadedFiles_->startUp();
}

void Selector::findBackground() {
    // A name of that spelling in any case, without extension; the last one listed wins.
    BackgroundPath.clear();
    const QStringList names = FileList::files(folders().GameFolder, QStringLiteral("BACKGROUND"));
    if (!names.isEmpty())
        BackgroundPath = FileList::join(folders().GameFolder, names.last());
}

bool Selector::MoveIn(const QString &folder) {
    if (!FormReady)
        return true;
    return moveFiles(folder, [this](const QString &f, const FileMover::Caption &c, QString *e) {
        return FileMover::MoveIn(f, folders().GameFolder, c, e, FileMover::skipped,
                                 reporter_.progress(), &journal_->kept());
    });
}

bool Selector::MoveOut(const QString &folder) {
    const bool ok = moveFiles(folder, [this](const QString &f, const FileMover::Caption &c,
                                             QString *e) {
        // A folder gone since it was loaded is not unloaded by the record's names: the
        // player is told it could not be listed, as before there was a record.
        const QStringList *listed = QFileInfo(f).isDir() ? journal_->listedOut(f) : nullptr;
        return FileMover::MoveOut(f, folders().GameFolder, c, e, {}, reporter_.progress(), listed);
    });
    // A cancelled unload is undone, not finished: nothing is to be copied back for it.
    if (!reporter_.cancelled())
        loadedFiles_->restoreAfterUnload(folder);
    return ok;
}

bool Selector::moveFiles(const QString &folder, const MoverCall &call) {
    if (folder == folders().GameFolder)
        return true;
    // The caption names each file while the move runs and comes back afterwards.
    const QString remembered = reporter_.caption();
    QString error;
    moved_ = 0;
    const bool ok = call(
        folder,
        [this](const QString &c) {
            ++moved_;
            reporter_.setFileCaption(c);
        },
        &error);
    reporter_.setCaption(remembered);
    // A cancel is no failure; the operation undoes itself and tells the player.
    if (!ok && !reporter_.cancelled())
        reporter_.report(error);
    return ok;
}

void Selector::RefreshLoadedList() {
    if (!FormReady)
        return;
    label8_.clear();
    for (int r = 1; r < Unigrid.rowCount(); ++r) {
        LoadGrid::Row &row = Unigrid.row(r);
        if (row.loaded) {
            label8_ += row.name + QStringLiteral("\r\n");
            row.colour = LoadGrid::LoadedColour;
        }
    }
    for (const SkinGrid::Row &row : SK1.rows)
        if (row.loaded)
            label8_ += row.name + QStringLiteral("\r\n");
    for (const SlotGrid::Row &row : G1.rows)
        if (row.marked)
            label8_ += row.folder + QStringLiteral("\r\n");
    QString error;
    if (!Ledgers::writeFoldersLoaded(folders().ModFolder, Text8::fromUnicode(label8_), &error))
        journal_->ledgerFailed(error);
    loadedFiles_->follow();
    Text2 = label8_;
    SkinEventsOn = true;
    FormReady = true;
}

bool Selector::inisave() {
    if (!FormReady)
        return true;
    QString error;
    const bool saved = IniOptions::save(folders().GameFolder, folders().ModFolder, ini, &error);
    if (!saved)
        reporter_.report(error);
    const bool cheatWritten = writeCheatByte(CheatCheck::value(Check4, FeatureNumber));
    const QString iniPath = FileList::resolve(folders().GameFolder, QStringLiteral("eaw.ini"));
    if (QFileInfo::exists(iniPath))
        FileOps::setReadOnly(iniPath, true);
    return saved && cheatWritten;
}

bool Selector::Restore() {
    FormReady = false;
    QStringList problems;
    QString notice;
    const bool restored =
        IniOptions::Restore(folders().GameFolder, folders().ModFolder, ini, &problems, &notice);
    FormReady = true;
    reporter_.tell(problems);
    // Once only: from now on the game's program is the original copy.
    if (!notice.isEmpty())
        reporter_.inform(notice);
    return restored;
}

bool Selector::clickResolution(int index) {
    ini.resolution = index;
    return inisave();
}

bool Selector::clickSquads(int index) {
    ini.squads = index;
    return inisave();
}

bool Selector::clickOnline(int check, bool on) {
    switch (check) {
    case 1:
        ini.startOnGround = on;
        break;
    case 2:
        ini.noAI = on;
        break;
    case 3:
        ini.allowRespawn = on;
        break;
    default:
        return true;
    }
    return inisave();
}

bool Selector::clickSync(int index) {
    ini.sync = index;
    return index == 0 ? Restore() : inisave();
}

bool Selector::setCheatCheck(bool checked) {
    if (Check4 == checked)
        return true;
    Check4 = checked;
    return inisave();
}

bool Selector::V1cheksum() {
    unsigned char value = 0;
    QString error;
    const QString path = FileList::resolve(folders().GameFolder, QStringLiteral("flt.cdf"));
    if (!BytePatch::readByte(path, CheatCheck::FltCdfPosition, &value, &error)) {
        reporter_.report(error);
        return false;
    }
    reporter_.setCaption(QString::number(value));
    return true;
}

bool Selector::writeCheatByte(unsigned char value) {
    QString error;
    const bool written = CheatCheck::step(folders().GameFolder, value, &error);
    if (!written && error != cheatProblem_)
        reporter_.report(error);
    cheatProblem_ = error;
    return written;
}

bool Selector::nightSwitch(int version, bool night) {
    QString error;
    if (NightSwitch::apply(folders().GameFolder, version, night, &error))
        return true;
    reporter_.report(error);
    return false;
}
