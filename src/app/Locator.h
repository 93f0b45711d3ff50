// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Folders.h"

#include <QString>

class Prompt;

/// What the start-up window decides, without the window: which folders the selector works
/// in, whether the remembered VEK folder lets it go straight to the main window, and the
/// files OK prepares before the main window loads.
class Locator {
public:
    enum class Start { Automatic, Waiting };

    static inline const QString Caption = QStringLiteral("VEK/EAW Directory Locator");
    static inline const QString DuplicateTitle = QStringLiteral("Hang On...........");
    static inline const QString DuplicateText =
        QStringLiteral("We know you would love our software, but you really \r\n"
                       "don't have to run it more than once.\r\n"
                       "\r\n"
                       "You have probably minimised a version already running,\r\n"
                       "and it has been waiting patiently for you \r\n"
                       "at the bottom of your screen!");

    explicit Locator(Prompt &prompt) : prompt_(prompt) {}

    /// The duplicate-instance message; the caller ends the process after it.
    static void refuseDuplicate(Prompt &prompt);

    /// Start: `currentDir` becomes the game folder, "VEK Folder" is selected. When the game
    /// folder remembers a VEK folder in LastVEKDir that still holds "linkscreen", answers
    /// Automatic and the caller runs `ok` at once. A remembered folder that is not a VEK
    /// folder (or "None") is shown in `Label1` with OK disabled, and `startProblem` says why
    /// (empty for "None", which only means the last main window did not finish loading).
    Start start(const QString &currentDir);

    /// The folder list's current folder changed.
    void folderChanged(const QString &path);
    /// A game folder chosen from the recent ones: it goes to `Label3` whichever option is
    /// selected, and OK follows.
    void gameChosen(const QString &path);

    /// Which option button is selected: 0 "VEK Folder", 1 "EAW Folder".
    void selectOption(int index) { option_ = index; }
    int option() const { return option_; }

    /// OK: fixes the folders, creates the missing ledger files and LastVEKDir, reads the
    /// previous VEK folder. Failures to create a file are reported and do not stop the start.
    Folders ok();

    static bool isVekFolder(const QString &path);
    /// A game folder holds the game's program, eaw.exe in any case. Anything else (the home
    /// folder a menu start sits in, say) is refused before a file is touched.
    static bool isGameFolder(const QString &path);

    /// Why OK is not enabled, in words for the player; empty while it is.
    QString whyNotOk() const;

    QString Label1;        ///< the chosen VEK folder
    QString Label3;        ///< the chosen EAW folder
    bool Command1 = false; ///< OK enabled
    QString startProblem;

private:
    /// What is wrong with the chosen folders, or empty.
    QString folderProblem() const;

    Prompt &prompt_;
    int option_ = 0;
};
