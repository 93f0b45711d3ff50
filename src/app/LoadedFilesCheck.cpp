// SPDX-License-Identifier: GPL-3.0-or-later
// "Check for problems" and "Repair problems" on what is loaded.
#include "LoadedFiles.h"

#include "AltPlane.h"
#include "PickMenu.h"
#include "Reporter.h"
#include "SelectorState.h"

#include <QFileInfo>

#include <algorithm>

bool LoadedFiles::run(QStringList *problems) {
    presenceOnly_ = {QStringLiteral("planes.dat"),  QStringLiteral("pnames.str"),
                     QStringLiteral("loadout.dat"), QStringLiteral("flt.cdf"),
                     QStringLiteral("V1V1.FLT"),    QStringLiteral("eaw.ini"),
                     QStringLiteral("eaw.exe")};
    for (PickMenu::Side side :
         {PickMenu::Side::American, PickMenu::Side::British, PickMenu::Side::German})
        presenceOnly_ << PickMenu::fileName(side);
    // The flight file of an aircraft swapped in replaced the one its folder brought.
    for (int r = 1; r < s_.G1.rowCount(); ++r) {
        if (!s_.G1.row(r).marked)
            continue;
        AltPlane plane;
        plane.folder = s_.G1.folderPath(r);
        plane.findExtras();
        if (!plane.fltPath.isEmpty())
            presenceOnly_ << QFileInfo(plane.fltPath).fileName();
    }
    const Ownership o = ownership();
    Findings = FileCheck::verify(
        o, s_.GameFolder(), [this](const QString &n) { return changedBySelector(n); }, problems);
    QStringList lines;
    for (const FileCheck::Finding &f : std::as_const(Findings))
        lines << f.line();
    if (!problems->isEmpty())
        lines << QStringLiteral("Some files could not be read; the player was told which.");
    CheckResult = lines.isEmpty() ? QStringLiteral("All loaded files are whole.")
                                  : lines.join(QLatin1Char('\n'));
    return Findings.isEmpty() && problems->isEmpty();
}

bool LoadedFiles::check() {
    s_.touch(Change::Ledger);
    QStringList problems;
    const bool whole = run(&problems);
    for (const QString &p : std::as_const(problems))
        r_.report(p);
    return whole;
}

bool LoadedFiles::repair() {
    s_.touch(Change::Ledger);
    QStringList problems;
    run(&problems);
    QList<FileCheck::Finding> done;
    FileCheck::repair(Findings, &done, &problems);
    QStringList told;
    for (const FileCheck::Finding &f : std::as_const(done))
        told << QStringLiteral("%1 from \"%2\"").arg(f.file, f.carrier);
    if (!told.isEmpty())
        r_.inform(QStringLiteral("Copied back into the game folder:\r\n") +
                  told.join(QStringLiteral("\r\n")));
    else if (problems.isEmpty() && Findings.isEmpty())
        r_.inform(QStringLiteral("Nothing to repair: all loaded files are whole."));
    for (const QString &p : std::as_const(problems))
        r_.report(p);
    QStringList after;
    return run(&after) && problems.isEmpty();
}
