// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SelectorState.h"

#include <QWidget>

class Airgrid;
class AutoscriptsPage;
class FolderLine;
class FuelPage;
class GeneralPage;
class HelpMenu;
class HistoryWindow;
class WindowHistory;
class LoadedPage;
class LoadFilesPage;
class PlanesSkinsPage;
class ProgressWindow;
class QFileSystemWatcher;
class QLabel;
class QTimer;
class QPushButton;
class SRForm;
class QLabel;
class QTabWidget;
class Selector;

/// The main window: a shell of six pages over the selector engine. It owns no behaviour;
/// each page shows engine state and forwards its controls' events to the engine.
class VEKForm : public QWidget {
    Q_OBJECT
public:
    explicit VEKForm(Selector &selector, QWidget *parent = nullptr);

    /// Runs the engine's load sequence, then shows its state.
    void load();
    /// Shows the engine's state on every page, on the engine's page (the one the player
    /// chose, or "General" after the load sequence).
    void refresh();
    /// After a player's action: shows again only what the engine said may have changed since
    /// the last look (`Selector::changed`), on the page the player is on.
    void showChanges();

    Selector &selector() { return selector_; }

    /// Lets the next close go through without asking (the owner has decided).
    void allowClose() { closing_ = true; }

    QTabWidget *SSTab1;
    GeneralPage *general;
    QLabel *StatusLine;     ///< what the last load, unload, skin, swap or reset did
    FolderLine *folderLine; ///< which game folder and VEK folder the window works on
    LoadFilesPage *loadFiles;
    PlanesSkinsPage *planesSkins;
    LoadedPage *loaded;
    AutoscriptsPage *autoscripts;
    FuelPage *fuel;
    /// Opens the string file editor; it sits beside the page tabs, since the tool belongs
    /// to no single page.
    QPushButton *EditStrings;
    /// Takes back the latest change (also Ctrl+Z from any page).
    QPushButton *UndoButton;
    /// Opens the history of changes (also Ctrl+H).
    QPushButton *HistoryButton;
    /// "?": "Help" (also F1) and "About".
    HelpMenu *HelpButton;
    /// The progress dialog of long operations (hidden until one runs).
    ProgressWindow *progress;

    /// The side windows, opened on demand and kept (hidden when closed) while this window
    /// lives; null until first opened.
    Airgrid *airgrid() const { return airgrid_; }
    SRForm *srForm() const { return srForm_; }
    HistoryWindow *historyWindow() const { return historyWindow_; }
    /// Every input of the player is an entry of the history through this.
    WindowHistory *windowHistory() const { return windowHistory_; }
    /// Opens or raises the history of changes.
    void openHistory();
    /// After a going back: every page and side window shows the files' new state.
    void showAll();
    /// "Edit Planes.dat": opens or raises the planes.dat editor.
    void openAirgrid();
    /// Folders added to or removed from the VEK folder or its skin folder since the last look:
    /// the grids are read again in place. Put off while an operation or a message is under
    /// way, so rows never change under a click.
    void rescanFolders();
    /// Opens or raises the string file editor.
    void openStringEditor();

Q_SIGNALS:
    /// "Exit" (or the window's close box): the owner runs the exit procedure.
    void exitRequested();
    void newVekDirectoryRequested();
    /// The credits label: the owner opens the links and help browser.
    void linksRequested();

protected:
    /// Closing the window by its frame acts as "Exit", so the program never lingers hidden.
    void closeEvent(QCloseEvent *event) override;
    /// Archives dropped on the window are imported as "Add content..." imports them.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void centre();
    /// The caption the engine gives (progress included), with the game folder after it.
    void showCaption(const QString &caption);
    /// Shows the page `step` places on, wrapping around.
    void turnPage(int step);
    void watchFolders();
    Selector &selector_;
    QFileSystemWatcher *watcher_;
    QTimer *rescanTimer_;
    bool closing_ = false;
    /// What the engine changed since the window last showed it.
    Changes pending_;
    Airgrid *airgrid_ = nullptr;
    SRForm *srForm_ = nullptr;
    HistoryWindow *historyWindow_ = nullptr;
    WindowHistory *windowHistory_;
};
