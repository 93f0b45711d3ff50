// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SelectorState.h"

#include <QWidget>

#include <functional>

class FlexGrid;
class LoadGridModel;
class PictureBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class Selector;

/// The page "Load Files": the group filter `List3`, the load grid `Unigrid`, and the
/// description `MyLabel` and picture `MyImage` of the row under the pointer, with what a
/// click on it would do to the game folder.
class LoadFilesPage : public QWidget {
    Q_OBJECT
public:
    explicit LoadFilesPage(Selector &selector, QWidget *parent = nullptr);
    /// Shows the engine's state again, the grid and its filter only when `what` says they
    /// changed (the click preview always: what is loaded may have changed); never runs a handler.
    void refresh(Changes what = Change::Everything);

    /// "Add content..." with the archive chosen (or dropped on the window): the engine's
    /// import, and the name asked when the archive names no folder. Answers whether anything
    /// was imported.
    bool addContent(const QString &archive);
    /// How the name of an archive's folder is asked (the dialog; tests answer for the player):
    /// archive, suggestion -> name, empty for Cancel.
    std::function<QString(const QString &, const QString &)> askName;

    QListWidget *List3;
    FlexGrid *Unigrid;
    QGroupBox *LoadFrame;
    QLabel *MyLabel;
    /// What a click on the row under the pointer would do to the game folder.
    QLabel *ClickPreview;
    PictureBox *MyImage;
    QLabel *instruction;
    /// "Add content...": an archive chosen in a file dialog becomes content folders.
    QPushButton *AddContent;

Q_SIGNALS:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /// `again`: the game folder may have changed, so the click preview is worked out anew.
    void showDescription(bool again = false);
    void layOutGrid();
    Selector &selector_;
    LoadGridModel *model_;
    int previewRow_ = -1;
};
