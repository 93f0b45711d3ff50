// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class Locator;
class FolderListBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

/// The start-up window "VEK/EAW Directory Locator": the player picks the VEK folder and the
/// game folder. It shows the locator engine's state; OK is handed to whoever owns the
/// windows, which loads the main window.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(Locator &locator, QWidget *parent = nullptr);

    /// Shows the engine's state (labels, option, OK) again.
    void refresh();

    FolderListBox *Dir1;
    /// The folder list's folder as a path that can be typed or pasted (with completion):
    /// Enter goes there.
    QLineEdit *Path;
    QComboBox *Drive1;
    QRadioButton *Option1[2];
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Reason; ///< why OK is not enabled
    /// The game folders used last, the latest first: choosing one makes it the EAW folder.
    QComboBox *RecentGames;

    /// Lists the recent game folders again (those still holding the game).
    void fillRecentGames();
    QPushButton *Command1;

Q_SIGNALS:
    void okClicked();

protected:
    /// Enter presses OK (where the focus is not on a list or the path, which take Enter for
    /// themselves); Escape closes the locator, as the close box does.
    void keyPressEvent(QKeyEvent *event) override;
    /// Shown again after "New VEK Directory", the recent folders are read again.
    void showEvent(QShowEvent *event) override;

private:
    void goToTypedPath();

    Locator &locator_;
};
