// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

/// A window's size and place: kept in the selector's own settings between runs
/// ("vekselector/vekselector.conf" under the configuration folder, group "Windows", by the
/// window's object name), and always on a screen the desktop has now.
///
/// A window larger than the screen (a large scale factor, a small monitor) is cut to the
/// screen's available area, and `scrollWhenSmall` gives it scroll bars instead of controls
/// beyond the screen's edge.
class WindowGeometry {
public:
    /// Moves the window's contents (its layout) into a scroll area that shows scroll bars only
    /// while the window is smaller than its contents need. The control with the keyboard focus
    /// (and the current tab of a tab bar) is scrolled into view.
    static void scrollWhenSmall(QWidget *window);
    /// Gives the window the size and place kept for it, brought onto a screen; with none kept,
    /// its own size cut to the screen, centred on it.
    static void place(QWidget *window);
    /// Keeps the window's size and place for the next `place`.
    static void keep(const QWidget *window);
    /// Shrinks and moves the window so that its frame lies inside the available area of the
    /// screen it is on (or the nearest): a place kept on a monitor that is gone comes back.
    static void fit(QWidget *window);
};
