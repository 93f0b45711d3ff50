#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class Selector;

/// The page "What is loaded!": the list of loaded folders, skins and aircraft.
class LoadedPage : public QWidget {
    Q_OBJECT
public:
    explicit LoadedPage(Selector &selector, QWidget *parent = nullptr);
    void refresh();

    QGroupBox *Frame;
    QLabel *Label8;

private:
    Selector &selector_;
};
