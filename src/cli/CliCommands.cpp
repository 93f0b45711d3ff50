// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliCommands.h"

#include "Autoscripts.h"
#include "CliImport.h"
#include "CompleteReset.h"
#include "History.h"
#include "IniOptions.h"
#include "KeyboardFeatures.h"
#include "LoadFiles.h"
#include "LoadOrder.h"
#include "LoadedFiles.h"
#include "LoadedList.h"
#include "MusicButtons.h"
#include "NightSwitch.h"
#include "Options.h"
#include "Planes.h"
#include "Prompt.h"
#include "RecordEditor.h"
#include "Selector.h"
#include "Skins.h"
#include "Terminal.h"
#include "WindowCommands.h"

#include <QDir>
#include <QHash>

namespace {

bool status(Selector &selector, const QStringList &, QTextStream &out) {
    // Which folders the list is of, for the player at a terminal: on stderr, so stdout stays
    // the list a script reads, and only on a terminal, as the progress bar, so a script's log
    // is as it was.
    if (Terminal::stderrIsTerminal())
        selector.prompt().message(QStringLiteral("VEK Selector"),
                                  QStringLiteral("Game folder: %1\r\nVEK folder: %2")
                                      .arg(QDir::toNativeSeparators(selector.GameFolder()),
                                           QDir::toNativeSeparators(selector.ModFolder())),
                                  Prompt::Icon::Information, Prompt::Buttons::Ok);
    for (const QString &name : selector.loadedList().loadedNames())
        out << name << '\n';
    return true;
}

bool folders(Selector &selector, const QStringList &, QTextStream &out) {
    for (const LoadGrid::Row &row : selector.Unigrid.rows)
        out << (row.loaded ? "S" : "-") << '\t' << row.name << '\n';
    return true;
}

/// The load grid row of the content folder `name`, or 0 with the player told, and offered the
/// names they may have meant: those that differ from it only in case, else those that hold it,
/// case aside (a launcher's line typed from memory).
int contentRow(Selector &selector, const QString &name) {
    if (const int row = selector.Unigrid.find(name))
        return row;
    QStringList same;
    QStringList holding;
    for (const LoadGrid::Row &row : selector.Unigrid.rows) {
        if (row.name.compare(name, Qt::CaseInsensitive) == 0)
            same << row.name;
        else if (!name.isEmpty() && row.name.contains(name, Qt::CaseInsensitive))
            holding << row.name;
    }
    const QStringList meant = (same.isEmpty() ? holding : same).mid(0, 5);
    QString message = QStringLiteral("There is no content folder named \"%1\".").arg(name);
    if (!meant.isEmpty())
        message +=
            QStringLiteral(" Did you mean \"%1\"?").arg(meant.join(QStringLiteral("\", \"")));
    selector.prompt().fail(message);
    return 0;
}

bool toggle(Selector &selector, const QStringList &args, QTextStream &) {
    const int row = contentRow(selector, args.at(0));
    return row != 0 && selector.loadFiles().click(row);
}

/// `load` and `unload`: the click only when the folder is not so already, so that a launcher's
/// line does the same on every run.
bool loadAs(Selector &selector, const QString &name, bool loaded) {
    const int row = contentRow(selector, name);
    if (row == 0)
        return false;
    if (selector.Unigrid.row(row).loaded == loaded)
        return true;
    return selector.loadFiles().click(row);
}

bool load(Selector &selector, const QStringList &args, QTextStream &) {
    return loadAs(selector, args.at(0), true);
}

bool unload(Selector &selector, const QStringList &args, QTextStream &) {
    return loadAs(selector, args.at(0), false);
}

/// "1024x768" for the button captioned "1024 x 768"; -1 when no button has that caption.
int resolutionIndex(const QString &arg) {
    QString caption = arg;
    caption.replace(QLatin1Char('x'), QStringLiteral(" x "));
    return int(IniOptions::ResolutionCaptions.indexOf(caption));
}

QString checkResolution(const QStringList &args) {
    return resolutionIndex(args.at(0)) < 0
               ? QStringLiteral("resolution takes one of 640x480, 800x600, 1024x768, 1280x1024, "
                                "1280x960, 1600x1200, 1152x864")
               : QString();
}

bool resolution(Selector &selector, const QStringList &args, QTextStream &) {
    return selector.options().clickResolution(resolutionIndex(args.at(0)));
}

QString checkSquads(const QStringList &args) {
    bool ok = false;
    const int n = args.at(0).toInt(&ok);
    return ok && n >= 0 && n <= 5 ? QString() : QStringLiteral("squads takes a number 0 to 5");
}

bool squads(Selector &selector, const QStringList &args, QTextStream &) {
    return selector.options().clickSquads(args.at(0).toInt());
}

const QStringList onlineNames = {QStringLiteral("start-on-ground"), QStringLiteral("no-ai"),
                                 QStringLiteral("respawn")};

QString checkOnOff(const QString &arg) {
    return arg == QLatin1String("on") || arg == QLatin1String("off")
               ? QString()
               : QStringLiteral("expected on or off, not \"%1\"").arg(arg);
}

QString checkOnline(const QStringList &args) {
    if (!onlineNames.contains(args.at(0)))
        return QStringLiteral("online takes start-on-ground, no-ai or respawn");
    return checkOnOff(args.at(1));
}

bool online(Selector &selector, const QStringList &args, QTextStream &) {
    const int check = int(onlineNames.indexOf(args.at(0))) + 1;
    const bool on = args.at(1) == QLatin1String("on");
    const IniState &ini = selector.ini;
    const bool now = check == 1 ? ini.startOnGround : check == 2 ? ini.noAI : ini.allowRespawn;
    return now == on || selector.options().clickOnline(check, on);
}

const QStringList syncNames = {QStringLiteral("ini"), QStringLiteral("56k"),
                               QStringLiteral("cable")};

QString checkSync(const QStringList &args) {
    return syncNames.contains(args.at(0)) ? QString()
                                          : QStringLiteral("sync takes ini, 56k or cable");
}

bool syncRate(Selector &selector, const QStringList &args, QTextStream &) {
    return selector.options().clickSync(int(syncNames.indexOf(args.at(0))));
}

bool restoreIni(Selector &selector, const QStringList &, QTextStream &) {
    return selector.options().restoreOriginal();
}

bool planes(Selector &selector, const QStringList &, QTextStream &out) {
    for (const SlotGrid::Row &row : selector.G1.rows)
        out << (row.marked ? "S" : "-") << '\t' << row.folder << '\t' << row.code << '\t'
            << row.name << '\n';
    return true;
}

bool plane(Selector &selector, const QStringList &args, QTextStream &) {
    for (int r = 1; r < selector.G1.rowCount(); ++r)
        if (selector.G1.row(r).folder == args.at(0))
            return selector.planes().click(r);
    selector.prompt().fail(
        QStringLiteral("There is no alternative aircraft \"%1\" in the aircraft grid.")
            .arg(args.at(0)));
    return false;
}

QString checkFuel(const QStringList &args) {
    bool slotOk = false, percentOk = false;
    const int slot = args.at(0).toInt(&slotOk);
    const int percent = args.at(1).toInt(&percentOk);
    if (!slotOk || slot < 0 || slot > 29)
        return QStringLiteral("fuel takes a slot 0 to 29");
    if (!percentOk || percent < 10 || percent > 100 || percent % 5 != 0)
        return QStringLiteral("fuel takes a percentage 100, 95, ... 10");
    return QString();
}

bool fuel(Selector &selector, const QStringList &args, QTextStream &) {
    if (selector.Fuel.rows.isEmpty()) {
        selector.prompt().fail(QStringLiteral("The fuel grid is empty: load a content folder "
                                              "with alternative aircraft first."));
        return false;
    }
    const int column = FuelGrid::FirstColumn + (100 - args.at(1).toInt()) / 5;
    return selector.planes().fuelClick(args.at(0).toInt() + 1, column);
}

bool features(Selector &selector, const QStringList &, QTextStream &out) {
    const KeyboardFeatures &kc = selector.features();
    for (int r = 1; r < kc.G7.rowCount(); ++r)
        out << r << '\t' << kc.G7.cell(r, 0) << '\n';
    return true;
}

QString checkFeature(const QStringList &args) {
    bool ok = false;
    const int n = args.at(0).toInt(&ok);
    return ok && n >= 1 && n <= FeatureTable::MaxFeatures
               ? QString()
               : QStringLiteral("feature takes a number 1 to 30");
}

bool feature(Selector &selector, const QStringList &args, QTextStream &) {
    const int index = args.at(0).toInt() - 1;
    if (!selector.features().optionShown(index)) {
        selector.prompt().fail(QStringLiteral("There is no keyboard-control feature %1: the "
                                              "game folder's KC lists %2.")
                                   .arg(index + 1)
                                   .arg(selector.features().G7.count()));
        return false;
    }
    return selector.features().clickOption13(index);
}

QString checkCheatCheck(const QStringList &args) {
    return checkOnOff(args.at(0));
}

bool cheatCheck(Selector &selector, const QStringList &args, QTextStream &) {
    return selector.options().setCheatCheck(args.at(0) == QLatin1String("on"));
}

bool music(Selector &selector, const QStringList &args, QTextStream &out) {
    if (args.isEmpty()) {
        out << selector.music().Playing << '\n';
        for (const QString &set : std::as_const(selector.music().Option12))
            out << set << '\n';
        return true;
    }
    const qsizetype index = selector.music().Option12.indexOf(args.at(0));
    if (index < 0) {
        selector.prompt().fail(QStringLiteral("There is no music button \"%1\".").arg(args.at(0)));
        return false;
    }
    return selector.music().click(int(index));
}

bool delmsn(Selector &selector, const QStringList &, QTextStream &) {
    return selector.music().delmsn();
}

QString checkNight(const QStringList &args) {
    if (args.isEmpty())
        return QString();
    if (args.size() != 2)
        return QStringLiteral("night takes a version and on or off, or nothing");
    if (NightSwitch::versionNamed(args.at(0)) < 0)
        return QStringLiteral("night takes a version 1.2, 1.1, 1.0 or 1.2a");
    return checkOnOff(args.at(1));
}

bool night(Selector &selector, const QStringList &args, QTextStream &out) {
    if (args.isEmpty()) {
        out << NightSwitch::state(selector.GameFolder()) << '\n';
        return true;
    }
    return selector.options().nightSwitch(NightSwitch::versionNamed(args.at(0)),
                                          args.at(1) == QLatin1String("on"));
}

bool skins(Selector &selector, const QStringList &, QTextStream &out) {
    for (const SkinGrid::Row &row : selector.SK1.rows)
        out << (row.loaded ? "S" : "-") << '\t' << row.name << '\n';
    return true;
}

bool skin(Selector &selector, const QStringList &args, QTextStream &) {
    const int row = selector.SK1.find(args.at(0));
    if (row == 0) {
        selector.prompt().fail(
            QStringLiteral("There is no skin folder named \"%1\".").arg(args.at(0)));
        return false;
    }
    return selector.skins().activate(row);
}

bool reset(Selector &selector, const QStringList &, QTextStream &) {
    return selector.completeReset().run();
}

bool scriptSave(Selector &selector, const QStringList &args, QTextStream &) {
    selector.autoscripts().Text1 = args.at(0);
    return selector.autoscripts().save();
}

bool scriptRun(Selector &selector, const QStringList &args, QTextStream &) {
    const int index = int(selector.File10.indexOf(args.at(0)));
    if (index < 0) {
        selector.prompt().fail(
            QStringLiteral("There is no autoscript named \"%1\".").arg(args.at(0)));
        return false;
    }
    return selector.autoscripts().show(index) && selector.autoscripts().run();
}

const QStringList flagGroups = {QStringLiteral("type"), QStringLiteral("nation")};

QString checkPlaneFlags(const QStringList &args) {
    bool slotOk = false, bitOk = false;
    const int slot = args.at(0).toInt(&slotOk);
    const int bit = args.at(2).toInt(&bitOk);
    if (!slotOk || slot < 0 || slot > 29)
        return QStringLiteral("plane-flags takes a slot 0 to 29");
    if (!flagGroups.contains(args.at(1)))
        return QStringLiteral("plane-flags takes type or nation");
    if (!bitOk || bit < 0 || bit > 7)
        return QStringLiteral("plane-flags takes a bit 0 to 7");
    return checkOnOff(args.at(3));
}

bool planeFlags(Selector &selector, const QStringList &args, QTextStream &) {
    RecordEditor editor(selector.GameFolder(), selector.prompt());
    if (!editor.showSlot(args.at(0).toInt()))
        return false;
    const int group = int(flagGroups.indexOf(args.at(1))) + 1;
    const int bit = args.at(2).toInt();
    const bool on = args.at(3) == QLatin1String("on");
    if (editor.checks(group)[bit] == on)
        return true;
    return editor.clickCheck(group, bit, on);
}

bool verify(Selector &selector, const QStringList &, QTextStream &out) {
    LoadedFiles &files = selector.loadedFiles();
    const bool whole = files.check();
    for (const FileCheck::Finding &f : std::as_const(files.Findings))
        out << f.line() << '\n';
    if (!files.Findings.isEmpty()) {
        out.flush();
        selector.prompt().fail(
            QStringLiteral("Not every loaded file is whole (%1 listed); repair copies them back.")
                .arg(files.Findings.size()));
    }
    return whole;
}

bool conflicts(Selector &selector, const QStringList &args, QTextStream &out) {
    QStringList lines;
    if (args.isEmpty())
        lines = selector.loadedFiles().sharedFiles();
    else if (!selector.loadedFiles().conflictsOf(args.at(0), &lines))
        return false;
    for (const QString &line : std::as_const(lines))
        out << line << '\n';
    return true;
}

QString checkOrder(const QStringList &args) {
    const QString place = args.value(1);
    if (args.size() == 2 && (place == QLatin1String("last") || place == QLatin1String("first")))
        return QString();
    if (args.size() == 3 && (place == QLatin1String("after") || place == QLatin1String("before")))
        return QString();
    return args.isEmpty() ? QString()
                          : QStringLiteral("order takes NAME last|first or NAME after|before "
                                           "OTHER, or nothing");
}

bool order(Selector &selector, const QStringList &args, QTextStream &out) {
    if (args.isEmpty()) {
        for (const LoadOrder::Row &row : selector.loadOrder().rows())
            out << (row.skin ? "skin" : "folder") << '\t' << row.name << '\n';
        return true;
    }
    static const QHash<QString, LoadOrder::Place> places = {
        {QStringLiteral("last"), LoadOrder::Place::Last},
        {QStringLiteral("first"), LoadOrder::Place::First},
        {QStringLiteral("after"), LoadOrder::Place::After},
        {QStringLiteral("before"), LoadOrder::Place::Before}};
    return selector.loadOrder().move(args.at(0), places.value(args.at(1)), args.value(2));
}

bool repair(Selector &selector, const QStringList &, QTextStream &) {
    return selector.loadedFiles().repair();
}

bool history(Selector &selector, const QStringList &, QTextStream &out) {
    for (const QString &line : selector.history().lines())
        out << line << '\n';
    return true;
}

bool undo(Selector &selector, const QStringList &, QTextStream &) {
    return selector.history().undo();
}

QString checkBack(const QStringList &args) {
    bool ok = false;
    const int n = args.at(0).toInt(&ok);
    return ok && n >= 0
               ? QString()
               : QStringLiteral("back takes the number of an entry of history (0 or more)");
}

bool back(Selector &selector, const QStringList &args, QTextStream &) {
    return selector.history().back(args.at(0).toInt());
}

bool launch(Selector &selector, const QStringList &, QTextStream &) {
    return selector.commands().LaunchEAW();
}

} // namespace

const QList<CliCommands::Command> &CliCommands::table() {
    static const QList<Command> commands = {
        {QStringLiteral("status"), QString(),
         QStringLiteral("prints the loaded list of \"What is loaded!\", one name a line (at a "
                        "terminal, the game and VEK folders first, on stderr)"),
         0, 0, nullptr, status},
        {QStringLiteral("folders"), QString(),
         QStringLiteral("prints the load grid: S or -, a tab, the content folder's name"), 0, 0,
         nullptr, folders},
        {QStringLiteral("toggle"), QStringLiteral("NAME"),
         QStringLiteral("clicks the load grid row of the content folder NAME"), 1, 1, nullptr,
         toggle},
        {QStringLiteral("load"), QStringLiteral("NAME"),
         QStringLiteral("loads the content folder NAME; nothing when it is loaded already"), 1, 1,
         nullptr, load},
        {QStringLiteral("unload"), QStringLiteral("NAME"),
         QStringLiteral("unloads the content folder NAME; nothing when it is not loaded"), 1, 1,
         nullptr, unload},
        {QStringLiteral("skins"), QString(),
         QStringLiteral("prints the skin grid: S or -, a tab, the skin folder's name"), 0, 0,
         nullptr, skins},
        {QStringLiteral("skin"), QStringLiteral("NAME"),
         QStringLiteral("double-clicks the skin grid row NAME (loads or unloads the skin)"), 1, 1,
         nullptr, skin},
        {QStringLiteral("resolution"), QStringLiteral("WxH"),
         QStringLiteral("clicks the resolution button WxH (1024x768 for \"1024 x 768\")"), 1, 1,
         checkResolution, resolution},
        {QStringLiteral("squads"), QStringLiteral("N"),
         QStringLiteral("clicks \"Extra Squads\" N (0 to 5)"), 1, 1, checkSquads, squads},
        {QStringLiteral("online"), QStringLiteral("start-on-ground|no-ai|respawn on|off"),
         QStringLiteral("sets an online option (clicked only when it changes)"), 2, 2, checkOnline,
         online},
        {QStringLiteral("sync"), QStringLiteral("ini|56k|cable"),
         QStringLiteral("clicks a sync rate button"), 1, 1, checkSync, syncRate},
        {QStringLiteral("restore-ini"), QString(),
         QStringLiteral("\"Restore my original eaw.ini\", and forgets the options "
                        "chosen for this game folder"),
         0, 0, nullptr, restoreIni},
        {QStringLiteral("planes"), QString(),
         QStringLiteral("prints the aircraft grid: S or -, folder, slot code, aircraft name"), 0, 0,
         nullptr, planes},
        {QStringLiteral("plane"), QStringLiteral("NAME"),
         QStringLiteral("clicks the aircraft grid row of the folder NAME (swaps it in)"), 1, 1,
         nullptr, plane},
        {QStringLiteral("fuel"), QStringLiteral("SLOT PERCENT"),
         QStringLiteral("clicks the fuel cell of SLOT (0 to 29) under PERCENT (100, 95, ... 10)"),
         2, 2, checkFuel, fuel},
        {QStringLiteral("features"), QString(),
         QStringLiteral("prints the keyboard-control features: number, tab, description"), 0, 0,
         nullptr, features},
        {QStringLiteral("feature"), QStringLiteral("N"),
         QStringLiteral("clicks the feature button # N (1 to 30)"), 1, 1, checkFeature, feature},
        {QStringLiteral("cheatcheck"), QStringLiteral("on|off"),
         QStringLiteral("\"Activate the cheatcheck\" (clicked only when it changes)"), 1, 1,
         checkCheatCheck, cheatCheck},
        {QStringLiteral("music"), QStringLiteral("[NAME]"),
         QStringLiteral("with NAME: clicks the music button NAME (switches to that music set); "
                        "without: prints which music plays now, then the music buttons"),
         0, 1, nullptr, music},
        {QStringLiteral("delmsn"), QString(),
         QStringLiteral("\"Del MSN\": deletes Default*.msn from the game's savedata"), 0, 0,
         nullptr, delmsn},
        {QStringLiteral("night"), QStringLiteral("[1.2|1.1|1.0|1.2a on|off]"),
         QStringLiteral("the night switch for that version: \"Day ==> Night\" or \"Reset to "
                        "normal\"; without: prints whether eaw.exe now has night or day "
                        "missions"),
         0, 2, checkNight, night},
        {QStringLiteral("reset"), QString(), QStringLiteral("\"Reset Completely\""), 0, 0, nullptr,
         reset},
        {QStringLiteral("script-save"), QStringLiteral("NAME"),
         QStringLiteral("saves the loaded list as the autoscript NAME (\"Save current settings\")"),
         1, 1, nullptr, scriptSave},
        {QStringLiteral("script-run"), QStringLiteral("NAME"),
         QStringLiteral("runs the autoscript NAME (\"OK load this one!\")"), 1, 1, nullptr,
         scriptRun},
        {QStringLiteral("plane-flags"), QStringLiteral("SLOT type|nation BIT on|off"),
         QStringLiteral("the planes.dat editor: ticks or clears box BIT of the type or nation "
                        "byte of SLOT (clicked only when it changes)"),
         4, 4, checkPlaneFlags, planeFlags},
        {QStringLiteral("verify"), QString(),
         QStringLiteral("prints each file of a loaded folder or skin missing from the game folder "
                        "or differing from its source: missing or changed, tab, folder, tab, "
                        "file; exit status 1 when any"),
         0, 0, nullptr, verify},
        {QStringLiteral("conflicts"), QStringLiteral("[NAME]"),
         QStringLiteral("with NAME: the game files a load of NAME would replace, tab, their "
                        "present owner (a loaded folder or skin, or game); without: every file "
                        "carried by more than one loaded folder or skin, tab, the owner that wins "
                        "now, tab, the others"),
         0, 1, nullptr, conflicts},
        {QStringLiteral("order"), QStringLiteral("[NAME last|first|after OTHER|before OTHER]"),
         QStringLiteral("without: prints the load order, earliest first, a line each: folder or "
                        "skin, tab, name (the last wins every file it shares); with: moves the "
                        "loaded folder or skin NAME to the end or the start of it, or right "
                        "after or before OTHER, copying only the files whose owner changes"),
         0, 3, checkOrder, order},
        {QStringLiteral("repair"), QString(),
         QStringLiteral("copies back exactly what verify lists, and says what it copied"), 0, 0,
         nullptr, repair},
        {QStringLiteral("history"), QString(),
         QStringLiteral("prints the history of changes, oldest first: number, tab, local time, "
                        "tab, what it did; 0 is where the history begins"),
         0, 0, nullptr, history},
        {QStringLiteral("undo"), QString(),
         QStringLiteral("takes back the latest change not taken back yet (again: one further "
                        "back); exit status 1 when there is none"),
         0, 0, nullptr, undo},
        {QStringLiteral("back"), QStringLiteral("N"),
         QStringLiteral("brings the game folder, the ledgers and the options back to the state "
                        "right after entry N of history (0: where it begins), as a change of "
                        "its own"),
         1, 1, checkBack, back},
        {QStringLiteral("import"), CliImport::Args, CliImport::actsLike(), 1, 2, CliImport::check,
         CliImport::run},
        {QStringLiteral("launch"), QString(),
         QStringLiteral("\"Launch EAW\": starts the game and waits a moment to see it "
                        "run; fails, saying what to install, when Wine is missing or ends at "
                        "once with an error"),
         0, 0, nullptr, launch},
        {QStringLiteral("exit"), QString(),
         QStringLiteral("\"Exit\": asks while the cheat check is on (see --answer), clears the "
                        "cheat byte, puts the original eaw.ini and eaw.exe back and ends the run"),
         0, 0, nullptr, nullptr},
    };
    return commands;
}

bool CliCommands::recorded(const QString &name) {
    static const QStringList quiet = {
        QStringLiteral("status"),    QStringLiteral("folders"),  QStringLiteral("skins"),
        QStringLiteral("planes"),    QStringLiteral("features"), QStringLiteral("verify"),
        QStringLiteral("conflicts"), QStringLiteral("history"),  QStringLiteral("undo"),
        QStringLiteral("back"),      QStringLiteral("launch"),   QStringLiteral("import")};
    return !quiet.contains(name);
}

QString CliCommands::sentence(const QString &name, const QStringList &args) {
    const QString arg = args.value(0);
    if (name == QLatin1String("resolution"))
        return QStringLiteral("Set the resolution to %1.").arg(QString(arg).replace('x', " x "));
    if (name == QLatin1String("squads"))
        return QStringLiteral("Set Extra Squads to %1.").arg(arg);
    if (name == QLatin1String("online"))
        return QStringLiteral("Turned the online option %1 %2.").arg(arg, args.value(1));
    if (name == QLatin1String("sync"))
        return QStringLiteral("Set the sync rate to %1.").arg(arg);
    if (name == QLatin1String("restore-ini"))
        return QStringLiteral("Put back the original eaw.ini.");
    if (name == QLatin1String("feature"))
        return QStringLiteral("Applied the keyboard-control feature %1.").arg(arg);
    if (name == QLatin1String("cheatcheck"))
        return QStringLiteral("Turned the cheat check %1.").arg(arg);
    if (name == QLatin1String("music"))
        return QStringLiteral("Switched the music to %1.").arg(arg);
    if (name == QLatin1String("delmsn"))
        return QStringLiteral("Del MSN: deleted the missions saved as Default*.msn.");
    if (name == QLatin1String("night"))
        return QStringLiteral("Night switch %1: %2.")
            .arg(arg, args.value(1) == QLatin1String("on") ? QStringLiteral("Day ==> Night")
                                                           : QStringLiteral("Reset to normal"));
    if (name == QLatin1String("plane-flags"))
        return QStringLiteral("Turned box %1 of the %2 byte of slot %3 %4 in planes.dat.")
            .arg(args.value(2), args.value(1), arg, args.value(3));
    if (name == QLatin1String("script-run"))
        return QStringLiteral("Ran the autoscript %1.").arg(arg);
    if (name == QLatin1String("script-save"))
        return QStringLiteral("Saved the autoscript %1.").arg(arg);
    if (name == QLatin1String("repair"))
        return QStringLiteral("Repair: copied back what verify listed.");
    if (name == QLatin1String("exit"))
        return QStringLiteral("Exit: the original eaw.ini and eaw.exe put back.");
    if (name == QLatin1String("reset"))
        return QStringLiteral("Reset Completely.");
    return QStringLiteral("%1 %2.").arg(name, args.join(QLatin1Char(' '))).trimmed();
}

const CliCommands::Command *CliCommands::find(const QString &name) {
    for (const Command &c : table())
        if (c.name == name)
            return &c;
    return nullptr;
}

QString CliCommands::validate(const QString &name, const QStringList &args) {
    const Command *c = find(name);
    if (!c)
        return QStringLiteral("unknown command \"%1\"").arg(name);
    if (args.size() < c->minArgs || args.size() > c->maxArgs)
        return QStringLiteral("%1 takes %2")
            .arg(name, c->args.isEmpty() ? QStringLiteral("no arguments") : c->args);
    return c->check ? c->check(args) : QString();
}

QString CliCommands::help() {
    QString text = QStringLiteral(
        "Usage: vekselector-cli [--game DIR] [--vek DIR] [--answer ok|cancel] [--dry-run]\n"
        "                       [COMMAND [ARG]...] [+ COMMAND [ARG]...]...\n"
        "\n"
        "  --game DIR            the game folder (default: the current directory)\n"
        "  --vek DIR             the VEK folder, holding \"linkscreen\" (default: the first\n"
        "                        line of LastVEKDir in the game folder)\n"
        "  --answer ok|cancel    how a question is answered (default: cancel)\n"
        "  --dry-run             change nothing; print each change the run would make, a\n"
        "                        line each: copy|replace SRC DEST, delete FILE, rewrite\n"
        "                        FILE, patch FILE POSITION OLD NEW, move FROM TO, mkdir\n"
        "                        DIR, attributes FILE STATE, launch PROGRAM, link FILE\n"
        "                        KEPT (a game file a load replaces, kept under a hidden\n"
        "                        name until the load is over) (tab-separated)\n"
        "  --help                this text\n"
        "  --version             the program's version\n"
        "\n"
        "Commands are separated by a lone \"+\"; no command means status. night and\n"
        "feature last until the next start, which puts the original eaw.exe and eaw.ini\n"
        "back: chain them with + launch. resolution, squads, online and sync are kept for\n"
        "the game folder and laid over the original at every start, until restore-ini.\n"
        "\n"
        "Commands:\n");
    // Within 80 columns, as a terminal shows it: each description is wrapped at word ends and
    // its lines start in one column; a command head too long for its column has a line of its
    // own.
    const int indent = 31;
    const int width = 80;
    for (const Command &c : table()) {
        const QString head = c.args.isEmpty() ? c.name : c.name + QLatin1Char(' ') + c.args;
        QString line = QStringLiteral("  ") + head;
        if (line.size() >= indent) {
            text += line + QLatin1Char('\n');
            line.clear();
        }
        for (const QString &word : c.actsLike.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (line.size() > indent && line.size() + 1 + word.size() > width) {
                text += line + QLatin1Char('\n');
                line.clear();
            }
            if (line.size() < indent)
                line = line.leftJustified(indent, QLatin1Char(' '));
            else
                line += QLatin1Char(' ');
            line += word;
        }
        text += line + QLatin1Char('\n');
    }
    text += QStringLiteral(
        "\nExit status: 0 every command done; 1 a command failed (message on stderr, later\n"
        "commands not run); 2 usage error; 3 another selector is running (here or in the\n"
        "game folder); 130 interrupted by Ctrl+C (while files move, the operation is\n"
        "undone first).\n");
    return text;
}
