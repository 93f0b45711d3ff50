#pragma once

#include "Folders.h"
#include "FuelGrid.h"
#include "GroupTable.h"
#include "IniState.h"
#include "LoadGrid.h"
#include "SkinGrid.h"
#include "SlotGrid.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class KeyboardFeatures;
class Autoscripts;
class CompleteReset;
class LoadFiles;
class LoadedFiles;
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
/// The selector holds the state the pages share (the folders, the grids, the option
/// controls, the loaded list) and the operations every page uses (`MoveIn`, `MoveOut`,
/// `RefreshLoadedList`, `inisave`, `Restore`); the pages' own handlers live in focused parts
/// (`LoadFiles`, `WindowCommands`).
class Selector : public QObject {
    Q_OBJECT
public:
    static inline const QString Caption =
        QStringLiteral("VEKSelector V120B (With Nightswitch facility)");
    static inline const QString CleaningUp = QStringLiteral("Please wait... cleaning up");
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

    const Folders &folders() const { return folders_; }
    const QString &GameFolder() const { return folders_.GameFolder; }
    const QString &ModFolder() const { return folders_.ModFolder; }
    Prompt &prompt() { return prompt_; }
    /// Tells the player of a problem (collected and told once while the window loads).
    void report(const QString &problem);
    /// Tells the player what an operation did on its own accord (files it copied back).
    void inform(const QString &text);
    /// Holds back what `report` is given until `takeReports`, so that an operation over many
    /// rows (the reset, an autoscript run) tells its problems once, at its end.
    void collectReports();
    /// The problems held back since `collectReports` (each once); reporting goes back to normal.
    QStringList takeReports();
    /// Whether a problem held back and not told yet already says `problem`, whole or as one of
    /// its lines (an unload names each file it could not delete in one report).
    bool alreadyReported(const QString &problem) const;

    /// The front end's progress listener (none by default). It follows each operation that
    /// moves files while the operation's journal scope lasts, and can cancel it.
    void setProgress(Progress *progress) { progress_ = progress; }
    /// The listener while an operation runs, else null.
    Progress *progress() const { return progressOn_ ? progress_ : nullptr; }
    void setProgressOn(bool on) { progressOn_ = on; }
    /// Whether the listener has stopped the operation running now.
    bool cancelled() const;

    QString caption() const { return caption_; }
    /// Sets the caption and tells the window (`captionChanged`).
    void setCaption(const QString &caption);
    /// The caption of the file a move is on ("Please wait- copying: :" + name): kept, not told.
    /// A move names thousands of files a second; the window shows the caption at the pace of
    /// the screen, through its `Progress`, and the caption put back after the move is told.
    void setFileCaption(const QString &caption) { caption_ = caption; }

    /// The credits of `Label3`, three lines joined by CR LF.
    static QString credits();

    /// The "What is loaded!" list: names each followed by CR LF.
    const QString &Label8() const { return label8_; }
    /// The loaded names, one per entry.
    QStringList loadedNames() const;

    /// Copies a content folder's files into the game folder; nothing while the window loads.
    /// Answers false (the player told) when the copy failed and was undone.
    bool MoveIn(const QString &folder);
    /// Deletes a content folder's files from the game folder, then copies back those that
    /// another folder staying loaded also carries. Answers false (the player told, naming the
    /// files) when some could not be deleted.
    bool MoveOut(const QString &folder);
    /// Rebuilds the loaded list from the grids and rewrites FoldersLoaded.txt; nothing while
    /// the window loads.
    void RefreshLoadedList();
    /// Rewrites the game's eaw.ini from the original copy and the option controls, then the
    /// cheat-check byte, and leaves eaw.ini read-only; nothing while the window loads. False
    /// (the player told) when eaw.ini or the cheat byte could not be written: a command whose
    /// write failed must say so.
    bool inisave();
    /// Puts the original eaw.ini and eaw.exe back and sets the option controls from them. A
    /// game eaw.exe that differs by more than the night switch is a new program: it stays and
    /// becomes the original copy, and the player is told (once, as it is the copy from then).
    /// False (the player told) when something could not be put back.
    bool Restore();
    /// Empties the "What is loaded!" list (not its ledger).
    void clearLoadedList() { label8_.clear(); }

    /// Option handlers of the "General" page; false when the rewrite they make failed.
    bool clickResolution(int index);
    bool clickSquads(int index);
    bool clickOnline(int check, bool on); ///< 1 Start on ground, 2 No AIs, 3 Allow Respawn
    bool clickSync(int index);

    /// A click on `Check4` "Activate the cheatcheck" that leaves it `checked`: rewrites eaw.ini,
    /// which writes the cheat byte. Nothing happens when the box is already in that state
    /// (setting a check box to its own value is no click).
    bool setCheatCheck(bool checked);
    /// `Command12` "V1cheksum": the cheat byte of flt.cdf as decimal text in the caption.
    /// Answers false (the player told) when flt.cdf is missing or too short.
    bool V1cheksum();
    /// Writes `value` as the cheat byte of V1V1.FLT and flt.cdf. A file that cannot take it is
    /// told once, and again only when the problem changes: the same short file would otherwise
    /// be told at every option change and again at the exit.
    bool writeCheatByte(unsigned char value);
    /// The night switch of `niteform`: "Day ==> Night" (`night`) or "Reset to normal" for
    /// `niteopt`(version). Answers false (the player told, eaw.exe untouched) when refused.
    bool nightSwitch(int version, bool night);

    LoadFiles &loadFiles() { return *loadFiles_; }
    KeyboardFeatures &features() { return *features_; }
    MusicButtons &music() { return *music_; }
    Planes &planes() { return *planes_; }
    WindowCommands &commands() { return *commands_; }
    Skins &skins() { return *skins_; }
    Autoscripts &autoscripts() { return *autoscripts_; }
    CompleteReset &completeReset() { return *completeReset_; }
    LoadedFiles &loadedFiles() { return *loadedFiles_; }
    OperationJournal &journal() { return *journal_; }

    bool FormReady = false;
    /// What the player's last load, unload, skin, swap or reset did, in one line for the
    /// window's status line: success needs no box to dismiss.
    QString Status;
    /// How many files the last `MoveIn` or `MoveOut` copied or deleted.
    int lastMoveCount() const { return moved_; }
    /// Sets `Status` after a click that loaded or unloaded `what` ("A-Eastern Front", "the skin
    /// A-05 Red Tails"): whether it worked, how many files (none told when `files` < 0), and
    /// what it took out of the names loaded `before` that `stillLoaded` no longer answers for.
    void clickStatus(bool ok, bool unloading, const QString &what, int files,
                     const QStringList &before,
                     const std::function<bool(const QString &)> &stillLoaded, const QString &kind);
    bool SkinEventsOn = false;
    bool Check4 = false;   ///< "Activate the cheatcheck"; unticked at every load
    int FeatureNumber = 0; ///< the chosen keyboard-control feature, 0 for none

    GroupTable groups;      ///< vek.ini
    QStringList List3;      ///< group filter entries
    int List3Index = -1;    ///< selected group filter entry
    LoadGrid Unigrid;       ///< the load grid
    SkinGrid SK1;           ///< the skins of the skin folder
    SlotGrid G1;            ///< the alternative aircraft of the loaded "F" folder
    FuelGrid Fuel;          ///< the fuel loads of its planes.dat
    QStringList List1;      ///< slot filter entries
    int List1Index = -1;    ///< selected slot filter entry
    IniState ini;           ///< the option controls of the "General" page
    QString Text2;          ///< the autoscript text, refreshed with the loaded list
    bool Frame6 = false;    ///< "Alternative Planes:" shown
    QString Label1;         ///< game folder path with a trailing separator
    QString BackgroundPath; ///< the game folder's BACKGROUND picture, or empty
    QString NewpicPath;     ///< the VEK folder's newpic picture
    QStringList File10;     ///< the autoscripts' file names
    int CurrentPage = -1;   ///< index into `Pages`

Q_SIGNALS:
    void captionChanged(const QString &caption);
    /// Asks the window to centre itself on the screen.
    void centreRequested();
    /// Asks the window to minimise itself.
    void minimiseRequested();

private:
    void cleanUpStrays();
    void writeLastVekDir();
    void readGroupTable();
    void clearCheatByte();
    void buildCatalogue();
    void reloadLoadedList();
    void findBackground();
    void tell(const QStringList &problems);
    using MoverCall = std::function<bool(const QString &,
                                         const std::function<void(const QString &)> &, QString *)>;
    bool moveFiles(const QString &folder, const MoverCall &call);

    bool loading_ = false;
    Progress *progress_ = nullptr;
    bool progressOn_ = false;
    int collecting_ = 0;
    QStringList pending_;

    Folders folders_;
    Prompt &prompt_;
    QString caption_ = Caption;
    int moved_ = 0;
    QString rememberedCaption_;
    QString label8_;
    std::unique_ptr<LoadFiles> loadFiles_;
    std::unique_ptr<Planes> planes_;
    std::unique_ptr<WindowCommands> commands_;
    std::unique_ptr<KeyboardFeatures> features_;
    std::unique_ptr<MusicButtons> music_;
    QString cheatProblem_; ///< last cheat-byte problem told, so a rewrite does not repeat it
    std::unique_ptr<Skins> skins_;
    std::unique_ptr<Autoscripts> autoscripts_;
    std::unique_ptr<CompleteReset> completeReset_;
    std::unique_ptr<LoadedFiles> loadedFiles_;
    std::unique_ptr<OperationJournal> journal_;
};
