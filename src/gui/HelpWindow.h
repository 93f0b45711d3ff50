// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTextBrowser;

/// "Help": the player's guide (docs/guide.md, built into the program) in a window of its own.
/// Links to web pages open in the desktop's browser; Escape closes the window.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    /// The guide as built into the program (Markdown).
    static QString guide();

    QTextBrowser *Guide;
};
