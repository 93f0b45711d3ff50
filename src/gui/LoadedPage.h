#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;
class Selector;

/// The page "What is loaded!": the list of loaded folders, skins and aircraft, and the check
/// of the files they put into the game folder with its repair.
class LoadedPage : public QWidget {
    Q_OBJECT
public:
    explicit LoadedPage(Selector &selector, QWidget *parent = nullptr);
    void refresh();

    QGroupBox *Frame;
    QLabel *Label8;
    QGroupBox *CheckFrame;
    QPushButton *CheckLoadedFiles;  ///< "Check loaded files"
    QPushButton *RepairLoadedFiles; ///< "Repair"
    QLabel *CheckResult;            ///< the last check's findings

Q_SIGNALS:
    void changed();

private:
    Selector &selector_;
};
