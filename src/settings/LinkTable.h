// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

class Prompt;

/// The model of the links and help browser `frmBrowser`: the address table built from the VEK
/// folder's helpfile.txt and links.txt, the address list `cboAddress`, the flag
/// `DontNavigate`, the timer `timTimer` and the caption. The window owns the page component;
/// it forwards the player's choices and the component's notifications here and navigates
/// where this answers.
///
/// links.txt holds pairs of lines, a title and then an address (a web address, or a path of
/// a local file, relative paths counting from the VEK folder). Decisions:
/// - Only the first 50 pairs are listed; with more, the player is told.
/// - An odd last line is a title with an empty address; choosing it goes nowhere.
/// - A missing links.txt is no problem (the list holds only the help file); one that cannot
///   be read is named in a message.
/// - Nothing is opened unless the player chooses it, apart from the VEK folder's own start
///   page `linkscreen`. "Home" goes back to that start page and "Search" opens the address
///   list: the program knows no addresses of its own.
class LinkTable {
public:
    static inline const QString HelpTitle = QStringLiteral("Help file for this program!");
    static inline const QString ListHint =
        QStringLiteral("Click on the down arrow to display the links");
    static inline const QString Working = QStringLiteral("Working...");
    static constexpr int MaxLinks = 50;

    /// An entry of `cboAddress`: what it shows and where it goes.
    struct Item {
        QString text;
        QString address;
    };

    /// What a toolbar button asks of the page component.
    enum class Command { None, Back, Forward, Refresh, Home, Search, Stop };
    static inline const QStringList ToolbarKeys = {
        QStringLiteral("Back"), QStringLiteral("Forward"), QStringLiteral("Refresh"),
        QStringLiteral("Home"), QStringLiteral("Search"),  QStringLiteral("Stop")};

    LinkTable(const QString &modFolder, Prompt &prompt);

    /// Opening the window: reads the files again and fills the list. Answers the address of
    /// the start page.
    QString open();
    /// The VEK folder's start page `linkscreen`, also where "Home" goes.
    QString startPage() const;

    /// The player chose item `index` (a click, or Enter). Answers the address to go to, or
    /// empty when nothing is to be opened.
    QString choose(int index);

    /// The page component finished a navigation to `address`, whose title is `title`: the
    /// address becomes the first item and is selected, without navigating again.
    void navigationComplete(const QString &title, const QString &address);
    void downloadComplete(const QString &title) { Caption = title; }

    /// `timTimer` tick: `busy` and `title` are the page component's.
    void timerTick(bool busy, const QString &title);

    /// A toolbar button by its key. "Stop" ends the timer and shows `title`.
    Command toolbar(const QString &key, const QString &title);

    /// Where an address leads: a web address as it is, a path (with "\" or "/") as a local
    /// file, relative to the VEK folder. Empty for an empty address.
    QUrl url(const QString &address) const;

    QStringList addresses; ///< entry 0 the help file, entry k the k-th link
    QList<Item> items;     ///< cboAddress
    int ListIndex = -1;
    QString Text; ///< the text of cboAddress
    bool DontNavigate = false;
    bool TimerEnabled = false;
    QString Caption;

private:
    QString modFolder_;
    Prompt &prompt_;
};
