#pragma once

#include <QWidget>

class AutoscriptsPage;
class FuelPage;
class GeneralPage;
class LoadedPage;
class LoadFilesPage;
class PlanesSkinsPage;
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

    Selector &selector() { return selector_; }

    /// Lets the next close go through without asking (the owner has decided).
    void allowClose() { closing_ = true; }

    QTabWidget *SSTab1;
    GeneralPage *general;
    LoadFilesPage *loadFiles;
    PlanesSkinsPage *planesSkins;
    LoadedPage *loaded;
    AutoscriptsPage *autoscripts;
    FuelPage *fuel;

Q_SIGNALS:
    /// "Exit" (or the window's close box): the owner runs the exit procedure.
    void exitRequested();
    void newVekDirectoryRequested();

protected:
    /// Closing the window by its frame acts as "Exit", so the program never lingers hidden.
    void closeEvent(QCloseEvent *event) override;

private:
    void centre();
    /// Shows the page `step` places on, wrapping around.
    void turnPage(int step);
    Selector &selector_;
    bool closing_ = false;
};
