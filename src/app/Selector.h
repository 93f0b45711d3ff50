#pragma once

#include "Reporter.h"
#include "SelectorState.h"

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
class Selector : public QObject, public SelectorState {
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

    Prompt &prompt() { return reporter_.prompt(); }

    /// How the engine speaks to the player: problems, notices, the caption, progress.
    Reporter &reporter() { return reporter_; }
    /// The front end's progress listener, which follows every operation that moves files.
    void setProgress(Progress *progress) { reporter_.setProgress(progress); }
    QString caption() const { return reporter_.caption(); }

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

    /// How many files the last `MoveIn` or `MoveOut` copied or deleted.
    int lastMoveCount() const { return moved_; }

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
    using MoverCall = std::function<bool(const QString &,
                                         const std::function<void(const QString &)> &, QString *)>;
    bool moveFiles(const QString &folder, const MoverCall &call);

    Reporter reporter_;
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
