// SPDX-License-Identifier: GPL-3.0-or-later
#include "Autoscripts.h"

#include "AutoscriptFile.h"
#include "CompleteReset.h"
#include "Excerpt.h"
#include "FileList.h"
#include "FileOps.h"
#include "LoadFiles.h"
#include "LoadedList.h"
#include "OperationJournal.h"
#include "Planes.h"
#include "Prompt.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "Skins.h"
#include "VekFolderCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

AutoscriptsFields &Autoscripts::own() {
    return s_.own(Key<Autoscripts>());
}

QString Autoscripts::folder() const {
    return FileList::resolveFolder(s_.ModFolder(), AutoscriptFile::Folder);
}

void Autoscripts::refresh() {
    s_.touch(Change::Autoscripts);
    own().File10 = FileList::files(folder());
}

bool Autoscripts::show(int index) {
    s_.touch(Change::Autoscripts);
    if (index < 0 || index >= s_.File10.size())
        return false;
    File10Index = index;
    List2.clear();
    QByteArray bytes;
    QString error;
    if (!FileOps::readAll(FileList::join(folder(), s_.File10.at(index)), &bytes, &error)) {
        r_.report(error);
        return false;
    }
    List2 = AutoscriptFile::entries(bytes);
    return true;
}

bool Autoscripts::run() {
    if (List2.isEmpty())
        return true;
    r_.collectReports();
    QStringList unmatched;
    bool ok = true;
    // A cancelled click has undone itself; the entries after it are not run.
    journal_.forgetCancel();
    const auto cancelled = [this] { return journal_.cancelled(); };
    QString stoppedAt;
    // A script run a second time takes its set out: its content folder goes first and takes
    // its aircraft with it, so their entries find no row then. They matched in this run all
    // the same, and only an entry that matches nothing at all is worth telling the player.
    QSet<QString> aircraftSeen;
    const auto seeAircraft = [this, &aircraftSeen] {
        for (int r = 1; r < s_.G1.rowCount(); ++r)
            aircraftSeen.insert(s_.G1.row(r).folder);
    };
    seeAircraft();
    for (const QString &e : std::as_const(List2)) {
        bool matched = false;
        for (int r = 1; r < s_.Unigrid.rowCount() && !cancelled(); ++r)
            if (s_.Unigrid.row(r).name == e) {
                matched = true;
                seeAircraft();
                ok = loadFiles_.click(r) && ok;
                seeAircraft();
            }
        for (int r = 1; r < s_.SK1.rowCount() && !cancelled(); ++r)
            if (s_.SK1.row(r).name == e) {
                matched = true;
                ok = skins_.activate(r) && ok;
            }
        // G1 is refilled by the content folders clicked above; rows are looked up afresh.
        for (int r = 1; r < s_.G1.rowCount() && !cancelled(); ++r)
            if (s_.G1.row(r).folder == e) {
                matched = true;
                ok = planes_.click(r) && ok;
            }
        if (cancelled()) {
            stoppedAt = e;
            break;
        }
        if (!matched && !e.isEmpty() && !aircraftSeen.contains(e) && !unmatched.contains(e))
            unmatched << e;
    }
    loadedList_.refresh();
    QStringList problems = r_.takeReports();
    if (!stoppedAt.isEmpty()) {
        problems.prepend(QStringLiteral("The autoscript was cancelled at \"%1\", which was undone; "
                                        "the entries after it were not run. Now loaded:\r\n")
                             .arg(Excerpt::of(stoppedAt)) +
                         (loadedList_.loadedNames().isEmpty()
                              ? QStringLiteral("nothing")
                              : loadedList_.loadedNames().join(QStringLiteral("\r\n"))));
        r_.inform(problems.join(QStringLiteral("\r\n\r\n")));
        return false;
    }
    if (!unmatched.isEmpty()) {
        // An autoscript is a file like any other: its entries are quoted short, and a damaged
        // one of thousands of entries is not listed whole.
        constexpr qsizetype kListed = 20;
        QStringList quoted;
        for (qsizetype i = 0; i < qMin(unmatched.size(), kListed); ++i)
            quoted << Excerpt::of(unmatched.at(i));
        if (unmatched.size() > kListed)
            quoted << QStringLiteral("and %1 more").arg(unmatched.size() - kListed);
        problems.prepend(QStringLiteral("These entries of the autoscript match no content folder, "
                                        "skin or alternative aircraft, and were left out:\r\n") +
                         quoted.join(QStringLiteral("\r\n")));
    }
    if (!problems.isEmpty())
        r_.prompt().fail(problems.join(QStringLiteral("\r\n\r\n")));
    return ok && unmatched.isEmpty();
}

bool Autoscripts::save() {
    const QString bad = AutoscriptFile::badName(Text1);
    if (!bad.isEmpty()) {
        r_.report(bad);
        return false;
    }
    // Making the script folder would make a VEK folder that has gone anew, empty.
    if (!VekFolderCheck::there(s_, r_))
        return false;
    const QString dir = folder();
    FileOps::EnsureFolder(dir);
    const QString path = FileList::resolve(dir, Text1);
    const bool replaced = QFileInfo::exists(path);
    QString error;
    if (!FileOps::writeAtomic(path, AutoscriptFile::bytes(s_.Text2), &error)) {
        r_.report(error);
        return false;
    }
    refresh();
    if (replaced)
        r_.prompt().message(QStringLiteral("VEK Selector"),
                            QStringLiteral("The autoscript \"%1\" was replaced by the new one.")
                                .arg(QFileInfo(path).fileName()),
                            Prompt::Icon::Information, Prompt::Buttons::Ok);
    return true;
}

QString Autoscripts::replaces() const {
    const QString dir = folder();
    const QString found = FileList::find(dir, Text1);
    return !found.isEmpty() && QFileInfo(FileList::join(dir, found)).isFile() ? found : QString();
}

bool Autoscripts::Command11() {
    return completeReset_.run();
}
