// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Reporter.h"
#include "SelectorState.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class History;
class KeyboardFeatures;
class Autoscripts;
class CompleteReset;
class ContentImport;
class LoadFiles;
class LoadedFiles;
class LoadedList;
class LoadOrder;
class Mover;
class Options;
class MusicButtons;
class OperationJournal;
class Planes;
class Progress;
class Prompt;
class Skins;
class WindowCommands;

/// The main window's engine: everything the main window shows and does, without a widget.
/// It is built by the locator's OK and runs its load sequence once; the window shows its
/// state and forwards each user event to one of its operations. The command-line tool drives
/// the same object.
///
/// The selector is the state the pages share (`SelectorState`) and owns the parts that act on
/// it, each given only the parts it uses; it runs the load sequence.
class Selector : public QObject, public SelectorState {
    Q_OBJECT
public:
    static inline const QString Caption =
        QStringLiteral("VEKSelector V120B (With Nightswitch facility)");
    static inline const QString &CleaningUp = Reporter::CleaningUp;
    static inline const QStringList Pages = {
        QStringLiteral("General"),          QStringLiteral("Load Files"),
        QStringLiteral("Planes and Skins"), QStringLiteral("What is loaded!"),
        QStringLiteral("Autoscripts"),      QStringLiteral("Fuel")};

    /// One step of the load sequence, numbered as the sequence counts them.
    struct LoadStep {
        int number;
        const char *what;
        std::function<void()> run;
    };

    Selector(const Folders &folders, Prompt &prompt, QObject *parent = nullptr);
    ~Selector() override;

    /// The load sequence, in order. Later features slot their steps in at their numbers.
    QList<LoadStep> loadSteps();
    /// Runs every step of `loadSteps`.
    void load();
    /// What the load found that needs the player's answer, asked once the window is shown (the
    /// command-line tool asks right after the load): whether to take out the files of folders
    /// the ledger named that have gone from the VEK folder.
    void askAfterLoad();
    /// The VEK folder's content folders and skin folders read again, for folders added or
    /// removed since (`LoadFiles::rescan`, `Skins::rescan`); nothing while an operation is
    /// under way.
    void rescan();

    Prompt &prompt() { return reporter_.prompt(); }

    /// How the engine speaks to the player: problems, notices, the caption, progress.
    Reporter &reporter() { return reporter_; }
    /// The front end's progress listener, which follows every operation that moves files.
    void setProgress(Progress *progress) { reporter_.setProgress(progress); }
    QString caption() const { return reporter_.caption(); }
    /// Routine news (the shared files an unload copied back) goes to the end of the status
    /// line, not into a message: for a front end that shows `Status`.
    void newsOnStatusLine();
    /// A click that finds the VEK folder gone offers "New VEK Directory", and OK sends
    /// `newVekDirectoryRequested`: for a front end with a locator to go back to.
    void offerNewVekDirectory();

    /// The player turned to page `index` of `Pages`.
    void turnToPage(int index) { own_.CurrentPage = index; }

    /// The credits of `Label3`, three lines joined by CR LF.
    static QString credits();

    /// The engine's state read again from the files, as a start reads it, after the history
    /// brought an earlier state back.
    void reread();

    LoadFiles &loadFiles() { return *loadFiles_; }
    History &history() { return *history_; }
    KeyboardFeatures &features() { return *features_; }
    MusicButtons &music() { return *music_; }
    Planes &planes() { return *planes_; }
    WindowCommands &commands() { return *commands_; }
    Skins &skins() { return *skins_; }
    Autoscripts &autoscripts() { return *autoscripts_; }
    CompleteReset &completeReset() { return *completeReset_; }
    LoadedFiles &loadedFiles() { return *loadedFiles_; }
    /// The load order as the player sets it: which loaded folder or skin wins a shared file.
    LoadOrder &loadOrder() { return *loadOrder_; }
    OperationJournal &journal() { return *journal_; }
    LoadedList &loadedList() { return *loadedList_; }
    Options &options() { return *options_; }
    Mover &mover() { return *mover_; }
    ContentImport &contentImport() { return *contentImport_; }

Q_SIGNALS:
    void captionChanged(const QString &caption);
    /// An operation may have changed these pieces of what the window shows; sent as the
    /// operation starts on them, so a front end shows them again once it returns.
    void changed(Changes what);
    /// Asks the window to centre itself on the screen.
    void centreRequested();
    /// Asks the window to minimise itself.
    void minimiseRequested();
    /// Asks the window to come back from minimised, to the front (a message follows).
    void restoreRequested();
    /// Asks the window to go back to the locator, as "New VEK Directory" does.
    void newVekDirectoryRequested();

private:
    void cleanUpStrays();
    bool sameVekFolderAsLast() const;
    void writeLastVekDir();
    void removeCutWrites();
    /// Marks what FoldersLoaded.txt records while the window loads, in the steps below.
    void reloadLoadedList();
    struct Reload;
    void readLedgerToReload(Reload &reload) const;
    void findSweptFolders(Reload &reload);
    void markLedgerLines(Reload &reload);
    QString keptLedgerLines(Reload &reload) const;
    void tellReload(const Reload &reload);
    void findBackground();

    SelectorFields &own_ = own(Key<Selector>());
    Reporter reporter_;
    QString rememberedCaption_;
    /// Whether this start swept the game folder (the VEK folder is another than last time).
    bool swept_ = false;
    /// Whether the re-load left lines of FoldersLoaded.txt unmarked: the ledger is rewritten.
    bool ledgerDropped_ = false;
    /// The VEK folder's and the skin folder's `listingStamp` as the load sequence listed them.
    qint64 modListed_ = -1;
    qint64 skinsListed_ = -1;
    // In the order they are made: each part is given the parts below it that it uses.
    std::unique_ptr<History> history_;
    std::unique_ptr<LoadedFiles> loadedFiles_;
    std::unique_ptr<LoadedList> loadedList_;
    std::unique_ptr<Options> options_;
    std::unique_ptr<OperationJournal> journal_;
    std::unique_ptr<Mover> mover_;
    std::unique_ptr<LoadOrder> loadOrder_;
    std::unique_ptr<Planes> planes_;
    std::unique_ptr<Skins> skins_;
    std::unique_ptr<LoadFiles> loadFiles_;
    std::unique_ptr<KeyboardFeatures> features_;
    std::unique_ptr<MusicButtons> music_;
    std::unique_ptr<WindowCommands> commands_;
    std::unique_ptr<CompleteReset> completeReset_;
    std::unique_ptr<Autoscripts> autoscripts_;
    std::unique_ptr<ContentImport> contentImport_;
};
