// SPDX-License-Identifier: GPL-3.0-or-later
#include "Planes.h"

#include "AltPlane.h"
#include "FileList.h"
#include "FileOps.h"
#include "Ledgers.h"
#include "LoadedList.h"
#include "OperationJournal.h"
#include "Options.h"
#include "PickMenu.h"
#include "PlanesDat.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "Slots.h"
#include "StringFile.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

PlanesFields &Planes::own() {
    return s_.own(Key<Planes>());
}

namespace {
QString missing(const QString &gameFolder, const QString &name) {
    return QStringLiteral("The game folder \"%1\" has no %2, so the aircraft cannot be swapped in.")
        .arg(QDir::toNativeSeparators(gameFolder), name);
}

QString readOnly(const QString &path) {
    return QStringLiteral("\"%1\" is read-only, so the aircraft cannot be swapped in.")
        .arg(QDir::toNativeSeparators(path));
}
} // namespace

void Planes::GridSet(const QString &contentFolder) {
    s_.touch(Change::Slots | Change::Fuel);
    QStringList problems;
    if (!own().G1.GridSet(contentFolder, &problems)) {
        for (const QString &p : problems)
            r_.report(p);
        return;
    }
    own().G1.filter(own().List1Index < 0 ? 0 : own().List1Index);
    const QString dat = FileList::find(contentFolder, QStringLiteral("planes.dat"));
    QString error;
    if (dat.isEmpty()) {
        own().Fuel.rows.clear();
        problems << QStringLiteral("\"%1\" has no planes.dat, so the fuel grid stays empty.")
                        .arg(QDir::toNativeSeparators(contentFolder));
    } else if (!own().Fuel.fill(FileList::join(contentFolder, dat), &error)) {
        problems << error;
    }
    for (const QString &p : problems)
        r_.report(p);
}

bool Planes::click(int row) {
    s_.touch(Change::Slots | Change::Skins | Change::Ledger);
    if (row < 1 || row >= s_.G1.rowCount())
        return false;
    const QString game = s_.GameFolder();
    AltPlane plane;
    QString error;
    auto fail = [this](const QString &message) {
        r_.report(message);
        return false;
    };
    // The aircraft's folder is recorded by name in the ledgers, as a content folder is.
    if (const QString why = Ledgers::unrecordable(s_.G1.row(row).folder); !why.isEmpty())
        return fail(Ledgers::refusedLoad(QStringLiteral("the aircraft folder"),
                                         s_.G1.folderPath(row), why));
    if (!plane.readVek(s_.G1.folderPath(row), &error))
        return fail(error);
    plane.findExtras();

    const QString datName = FileList::find(game, QStringLiteral("planes.dat"));
    if (datName.isEmpty())
        return fail(missing(game, QStringLiteral("planes.dat")));
    const QString datPath = FileList::join(game, datName);
    if (QFileInfo(datPath).size() < PlanesDat::spanBase(plane.slot) + PlanesDat::SpanSize)
        return fail(QStringLiteral("\"%1\" is too short to hold slot %2; the aircraft cannot be "
                                   "swapped in.")
                        .arg(QDir::toNativeSeparators(datPath))
                        .arg(plane.slot));

    const QString namesName = FileList::find(game, QStringLiteral("pnames.str"));
    if (namesName.isEmpty())
        return fail(missing(game, QStringLiteral("pnames.str")));
    const QString namesPath = FileList::join(game, namesName);
    QList<QByteArray> names;
    QByteArray raw;
    if (!StringFile::ReadStringFile(namesPath, &names, &raw, &error))
        return fail(error);
    // The plane-pick menus name the fighters up to slot 24, so the names must reach that far.
    const int needed = qMax(plane.slot + 1, PickMenu::NamesNeeded);
    if (names.size() < needed)
        return fail(QStringLiteral("\"%1\" holds %2 names; %3 are needed (slots 0 to %4), so the "
                                   "aircraft cannot be swapped in.")
                        .arg(QDir::toNativeSeparators(namesPath))
                        .arg(names.size())
                        .arg(needed)
                        .arg(needed - 1));
    names[plane.slot] = plane.name();
    QByteArray namesBytes;
    if (!StringFile::buildFor(namesPath, names, &namesBytes, &error))
        return fail(error);

    QString loadoutPath;
    if (!plane.loxPath.isEmpty()) {
        const QString loadout = FileList::find(game, QStringLiteral("loadout.dat"));
        if (loadout.isEmpty())
            return fail(missing(game, QStringLiteral("loadout.dat")));
        loadoutPath = FileList::join(game, loadout);
        if (!plane.readLox(QFileInfo(loadoutPath).size(), &error))
            return fail(error);
    }
    QString fltTarget;
    if (!plane.fltPath.isEmpty())
        fltTarget = FileList::resolve(game, QFileInfo(plane.fltPath).fileName());

    // Every file the swap writes, whole, as it will be: built before anything is written, so
    // the swap writes them all or none.
    QList<FileOps::NewFile> files;
    QByteArray dat;
    if (!FileOps::readAll(datPath, &dat, &error))
        return fail(error);
    dat.replace(PlanesDat::spanBase(plane.slot), PlanesDat::SpanSize, plane.span);
    files.append({datPath, dat, {}});
    files.append({namesPath, namesBytes, {}});
    for (PickMenu::Side side :
         {PickMenu::Side::German, PickMenu::Side::British, PickMenu::Side::American})
        files.append({FileList::resolve(game, PickMenu::fileName(side)),
                      PickMenu::build(side, PickMenu::namesFor(side, names)),
                      {}});
    if (!plane.lox.isEmpty()) {
        QByteArray loadout;
        if (!FileOps::readAll(loadoutPath, &loadout, &error))
            return fail(error);
        for (const auto &b : std::as_const(plane.lox))
            loadout[b.first - 1] = char(b.second);
        files.append({loadoutPath, loadout, {}});
    }
    if (!fltTarget.isEmpty()) {
        QByteArray flt;
        if (!FileOps::readAll(plane.fltPath, &flt, &error))
            return fail(error);
        files.append({fltTarget, flt, plane.fltPath});
    }
    QStringList targets;
    qint64 bytes = 0;
    for (const FileOps::NewFile &f : std::as_const(files)) {
        if (FileOps::isReadOnly(f.path))
            return fail(readOnly(f.path));
        targets << f.path;
        bytes += f.bytes.size();
    }
    // Each new file is written beside the old one before either goes: the disk must hold them
    // all at once. (The check is cheap and spares the journal's write; the write itself still
    // stops cleanly should the space go meanwhile.)
    const qint64 free = FileOps::bytesFree(game);
    if (free >= 0 && free < bytes)
        return fail(QStringLiteral("There is not enough space on the disk of the game folder "
                                   "\"%1\" for the aircraft swap: its files (planes.dat, "
                                   "pnames.str, the menus%2) take %3 bytes, and %4 bytes are free. "
                                   "Nothing was changed.")
                        .arg(QDir::toNativeSeparators(game),
                             plane.lox.isEmpty() ? QString() : QStringLiteral(", loadout.dat"))
                        .arg(bytes)
                        .arg(free));

    // From here on the game's files are written, their old bytes kept in the journal so that a
    // failure or a crash puts every one of them back.
    if (!journal_.beginSwap(row, targets))
        return false;
    const OperationJournal::Scope journal(journal_);
    qsizetype renamed = 0;
    const bool ok = FileOps::writeSet(files, &error, &renamed);
    if (!ok) {
        // The marks and the ledger have not moved; every file is put as before the click.
        QStringList problems = {error};
        if (renamed == 0)
            problems << QStringLiteral("No game file was changed; the aircraft was not swapped "
                                       "in.");
        else if (journal_.undoSwap(&problems))
            problems << QStringLiteral("The game files the swap had written were put back as "
                                       "they were; the aircraft was not swapped in.");
        else
            problems << QStringLiteral("Not every file could be put back: VEK Selector puts them "
                                       "back from its journal at its next start.");
        r_.report(problems.join(QLatin1Char(' ')));
        return false;
    }
    if (!fltTarget.isEmpty())
        FileOps::setNormal(fltTarget);
    filter(plane.slot + 1);
    own().List1Index = plane.slot + 1;
    Label4.clear();
    SelectedSlot = plane.slot;
    const SlotGrid marks = s_.G1;
    own().G1.mark(row);
    options_.inisave();
    loadedList_.refresh();
    if (journal_.unrecorded()) {
        own().G1 = marks;
        journal_.undoUnrecorded();
        return false;
    }
    const SlotGrid::Row &swapped = s_.G1.row(row);
    s_.setStatus(QStringLiteral("Swapped %1 into slot A-%2 (%3).")
                     .arg(swapped.name.trimmed())
                     .arg(plane.slot, 2, 10, QLatin1Char('0'))
                     .arg(swapped.code));
    return true;
}

bool Planes::fuelClick(int row, int column) {
    s_.touch(Change::Fuel | Change::Status);
    if (row < 1 || row > s_.Fuel.rows.size() || column < FuelGrid::FirstColumn ||
        column > FuelGrid::LastColumn)
        return false;
    FuelGrid::Row &r = own().Fuel.rows[row - 1];
    const QString game = s_.GameFolder();
    const QString dat = FileList::find(game, QStringLiteral("planes.dat"));
    if (dat.isEmpty()) {
        r_.report(QStringLiteral("The game folder \"%1\" has no planes.dat, so the fuel load "
                                 "cannot be set.")
                      .arg(QDir::toNativeSeparators(game)));
        return false;
    }
    QString error;
    if (!PlanesDat::writeFuel(FileList::join(game, dat), row - 1, FuelGrid::value(r.full, column),
                              &error)) {
        r_.report(error);
        return false;
    }
    r.chosenColumn = column;
    s_.setStatus(QStringLiteral("Set the fuel of %1 to %2 (%3).")
                     .arg(r.name.trimmed(), FuelGrid::header(column))
                     .arg(FuelGrid::value(r.full, column)));
    return true;
}

void Planes::hover(int row) {
    if (row == LastHoverRow)
        return;
    LastHoverRow = row;
    Label4.clear();
    if (row < 0 || row >= s_.G1.rowCount() || s_.G1.base.isEmpty())
        return;
    const QString folder = row == 0 ? s_.G1.base : s_.G1.folderPath(row);
    const QStringList found = FileList::files(folder, QStringLiteral("contents.txt"));
    if (found.isEmpty())
        return;
    QList<QByteArray> lines;
    if (TextFile::readLines(FileList::join(folder, found.first()), &lines, nullptr))
        for (const QByteArray &l : lines)
            Label4 += Text8::toUnicode(l) + QStringLiteral("\r\n");
}

void Planes::filter(int entry) {
    s_.touch(Change::Slots | Change::Skins);
    if (entry < 0 || entry > 30)
        return;
    own().List1Index = entry;
    if (skinsFiltered)
        skinsFiltered(entry, entry < s_.List1.size() ? s_.List1.at(entry) : QString());
    if (s_.Frame6)
        own().G1.filter(entry);
}

void Planes::showAlternatives(const QString &contentFolder) {
    GridSet(contentFolder);
    own().Frame6 = true;
}

void Planes::hideAlternatives() {
    own().G1.clear();
    own().Frame6 = false;
}

void Planes::putBack(const SlotGrid &G1, const FuelGrid &Fuel, bool Frame6) {
    own().G1 = G1;
    own().Fuel = Fuel;
    own().Frame6 = Frame6;
}

void Planes::clearAlternatives() {
    own().G1.clear();
}

void Planes::fillFilter() {
    own().List1 = Slots::filterEntries();
}

void Planes::markRows(const QList<int> &rows) {
    own().G1.markRows(rows);
}
