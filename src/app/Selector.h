#pragma once

#include "Folders.h"
#include "GroupTable.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class Prompt;

/// The main window's engine: everything the main window shows and does, without a widget.
/// It is built by the locator's OK and runs its load sequence once; the window shows its
/// state and forwards each user event to one of its operations. The command-line tool drives
/// the same object.
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

    /// The load sequence, in order. Later features slot their steps in at their numbers.
    QList<LoadStep> loadSteps();
    /// Runs every step of `loadSteps`.
    void load();

    const Folders &folders() const { return folders_; }
    const QString &GameFolder() const { return folders_.GameFolder; }
    const QString &ModFolder() const { return folders_.ModFolder; }

    QString caption() const { return caption_; }
    void setCaption(const QString &caption);

    /// The credits of `Label3`, three lines joined by CR LF.
    static QString credits();

    /// The "What is loaded!" list: names each followed by CR LF.
    const QString &Label8() const { return label8_; }
    /// The loaded names, one per entry.
    QStringList loadedNames() const;

    /// The names of the game folder as last listed (the game-folder list of the window).
    const QStringList &gameFiles() const { return gameFiles_; }
    void refreshGameFiles();

    bool FormReady = false;
    bool ApplyFeature = false;
    bool SkinEventsOn = false;

    GroupTable groups;      ///< vek.ini
    QStringList List3;      ///< group filter entries
    int List3Index = -1;    ///< selected group filter entry
    QString Label1;         ///< game folder path with a trailing separator
    QString BackgroundPath; ///< the game folder's BACKGROUND picture, or empty
    QString NewpicPath;     ///< the VEK folder's newpic picture
    QStringList File10;     ///< autoscripts
    int CurrentPage = -1;   ///< index into `Pages`

Q_SIGNALS:
    void captionChanged(const QString &caption);
    /// Asks the window to centre itself on the screen.
    void centreRequested();

private:
    void cleanUpStrays();
    void writeLastVekDir();
    void readGroupTable();
    void clearCheatByte();
    void reloadLoadedList();
    void findBackground();

    Folders folders_;
    Prompt &prompt_;
    QString caption_ = Caption;
    QString rememberedCaption_;
    QString label8_;
    QStringList gameFiles_;
};
