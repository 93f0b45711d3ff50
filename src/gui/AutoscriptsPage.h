#pragma once

#include <QWidget>

class ClickableLabel;
class QListWidget;
class Selector;

/// The page "Autoscripts": the saved autoscripts and (as they arrive) their contents and
/// the save controls.
class AutoscriptsPage : public QWidget {
    Q_OBJECT
public:
    explicit AutoscriptsPage(Selector &selector, QWidget *parent = nullptr);
    void refresh();

    QListWidget *File10;
    ClickableLabel *Label5; ///< the editing hint; a click hides it

private:
    Selector &selector_;
};
