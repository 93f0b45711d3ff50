#pragma once

#include <QWidget>

class FlexGrid;
class LoadGridModel;
class PictureBox;
class QGroupBox;
class QLabel;
class QListWidget;
class Selector;

/// The page "Load Files": the group filter `List3`, the load grid `Unigrid`, and the
/// description `MyLabel` and picture `MyImage` of the row under the pointer, with what a
/// click on it would do to the game folder.
class LoadFilesPage : public QWidget {
    Q_OBJECT
public:
    explicit LoadFilesPage(Selector &selector, QWidget *parent = nullptr);
    /// Shows the engine's state; never runs a handler.
    void refresh();

    QListWidget *List3;
    FlexGrid *Unigrid;
    QGroupBox *LoadFrame;
    QLabel *MyLabel;
    /// What a click on the row under the pointer would do to the game folder.
    QLabel *ClickPreview;
    PictureBox *MyImage;
    QLabel *instruction;

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
