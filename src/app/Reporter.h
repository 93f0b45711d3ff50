// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Progress;
class Prompt;

/// How the engine speaks to the player: problems and notices through the front end's
/// `Prompt`, the window's caption, and the front end's progress listener. Problems are held
/// back while the window loads (the load tells them once, at its end) and while a sequence
/// collects them (the reset, an autoscript run).
class Reporter {
public:
    /// The caption while strays are swept out of the game folder.
    static inline const QString CleaningUp = QStringLiteral("Please wait... cleaning up");

    explicit Reporter(Prompt &prompt) : prompt_(prompt) {}

    Prompt &prompt() { return prompt_; }
    /// Tells the player of a problem (collected and told once while the window loads).
    void report(const QString &problem);
    /// Each of `problems`, as `report`.
    void tell(const QStringList &problems);
    /// Tells the player what an operation did on its own accord (files it copied back).
    void inform(const QString &text);
    /// Routine news of what an operation did besides its task (the shared files an unload
    /// copied back): for the status line when the front end has one (`newsSink` set: it gets
    /// `phrase` with the first few `details`), else told as `inform` ( `headline`, then each of
    /// `details` on a line of its own).
    void news(const QString &headline, const QString &phrase, const QStringList &details);
    /// Where `news` goes instead of a message; unset, news is told as `inform`.
    std::function<void(const QString &)> newsSink;
    /// Sends the player back to the locator, as "New VEK Directory" does, when a click finds
    /// the VEK folder gone (`VekFolderCheck`); unset where there is no locator.
    std::function<void()> newVekDirectory;
    /// Holds back what `report` is given until `takeReports`, so that an operation over many
    /// rows (the reset, an autoscript run) tells its problems once, at its end.
    void collectReports();
    /// The problems held back since `collectReports` (each once); reporting goes back to normal.
    QStringList takeReports();
    /// Whether a problem held back and not told yet already says `problem`, whole or as one of
    /// its lines (an unload names each file it could not delete in one report).
    bool alreadyReported(const QString &problem) const;
    /// The window loads from `startLoad` to `endLoad`, which tells what was held back since.
    void startLoad() { loading_ = true; }
    void endLoad();

    /// The front end's progress listener (none by default). It follows each operation that
    /// moves files while the operation's journal scope lasts, and can cancel it.
    void setProgress(Progress *progress) { progress_ = progress; }
    /// The listener while an operation runs, else null.
    Progress *progress() const { return progressOn_ ? progress_ : nullptr; }
    void setProgressOn(bool on) { progressOn_ = on; }
    /// Whether the listener has stopped the operation running now.
    bool cancelled() const;

    QString caption() const { return caption_; }
    /// Sets the caption and tells the front end (`captionChanged`).
    void setCaption(const QString &caption);
    /// The caption of the file a move is on ("Please wait- copying: :" + name): kept, not told.
    /// A move names thousands of files a second; the window shows the caption at the pace of
    /// the screen, through its `Progress`, and the caption put back after the move is told.
    void setFileCaption(const QString &caption) { caption_ = caption; }
    /// Called with the caption whenever `setCaption` changes it.
    std::function<void(const QString &)> captionChanged;

private:
    Prompt &prompt_;
    bool loading_ = false;
    int collecting_ = 0;
    QStringList pending_;
    Progress *progress_ = nullptr;
    bool progressOn_ = false;
    QString caption_;
};
