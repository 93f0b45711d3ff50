#pragma once

#include <QWidget>

class QListWidget;
class Selector;

/// The page "Load Files": the group filter and, as it arrives, the load grid.
class LoadFilesPage : public QWidget {
    Q_OBJECT
public:
    explicit LoadFilesPage(Selector &selector, QWidget *parent = nullptr);
    void refresh();

    QListWidget *List3;

private:
    Selector &selector_;
};
