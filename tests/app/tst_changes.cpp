// SPDX-License-Identifier: GPL-3.0-or-later
#include "Autoscripts.h"
#include "CompleteReset.h"
#include "KeyboardFeatures.h"
#include "LoadFiles.h"
#include "LoadedFiles.h"
#include "LoadedList.h"
#include "MusicButtons.h"
#include "Options.h"
#include "Planes.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "Skins.h"
#include "TestFolders.h"

#include <QDir>
#include <QTest>

#include <functional>

using Step = std::function<void(Selector &)>;
Q_DECLARE_METATYPE(Step)

namespace {
/// Everything the window shows, copied, so a test can tell which pieces an operation changed.
struct Shown {
    explicit Shown(Selector &s)
        : ini(s.ini), check4(s.Check4), featureNumber(s.FeatureNumber),
          g7Row(s.features().G7Row), features{s.features().Notice, s.features().Label14},
          music(s.music().Option12 + QStringList{s.music().Playing}),
          program(TestFolders::read(s.GameFolder(), QStringLiteral("eaw.exe"))), unigrid(s.Unigrid),
          list3(s.List3), list3Index(s.List3Index), g1(s.G1), list1(s.List1),
          list1Index(s.List1Index), frame6(s.Frame6), sk1(s.SK1), check5(s.Check5),
          fuel(s.Fuel), ledger{s.loadedList().Label8(), s.loadedFiles().CheckResult,
                               s.loadedFiles().sharedFiles(false).join('|')},
          scripts(s.File10 + s.autoscripts().List2 +
                  QStringList{QString::number(s.autoscripts().File10Index), s.autoscripts().Text1,
                              s.Text2}),
          status(s.Status) {}

    IniState ini;
    bool check4;
    int featureNumber;
    int g7Row;
    QStringList features;
    QStringList music;
    QByteArray program; ///< night or day missions
    LoadGrid unigrid;
    QStringList list3;
    int list3Index;
    SlotGrid g1;
    QStringList list1;
    int list1Index;
    bool frame6;
    SkinGrid sk1;
    bool check5;
    FuelGrid fuel;
    QStringList ledger;
    QStringList scripts;
    QString status;

    /// The pieces in which `after` differs from this.
    Changes differences(const Shown &after) const {
        Changes d;
        const auto mark = [&d](bool differs, Change c) {
            if (differs)
                d |= c;
        };
        mark(ini != after.ini || check4 != after.check4 || featureNumber != after.featureNumber ||
                 g7Row != after.g7Row || features != after.features || music != after.music ||
                 program != after.program,
             Change::Options);
        mark(unigrid != after.unigrid || list3 != after.list3 || list3Index != after.list3Index,
             Change::LoadGrid);
        mark(g1 != after.g1 || list1 != after.list1 || list1Index != after.list1Index ||
                 frame6 != after.frame6,
             Change::Slots);
        mark(sk1 != after.sk1 || check5 != after.check5, Change::Skins);
        mark(fuel != after.fuel, Change::Fuel);
        mark(ledger != after.ledger, Change::Ledger);
        mark(scripts != after.scripts, Change::Autoscripts);
        mark(status != after.status, Change::Status);
        return d;
    }
};

void click(Selector &s, const char *folder) {
    s.loadFiles().click(s.Unigrid.find(QString::fromLatin1(folder)));
}
} // namespace

// Every operation tells the front ends which pieces of the window it may change, so the window
// shows again only those: a piece that changed untold would stay stale on the screen, and a
// piece told for nothing costs a refill (of a load grid of 10,000 rows for a fuel click).
class TestChanges : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyOperationTellsWhatItChanges_data() {
        QTest::addColumn<Step>("before");
        QTest::addColumn<Step>("operation");
        QTest::addColumn<Changes>("told");
        const Step nothing = [](Selector &) {};
        const Step lateWar = [](Selector &s) { click(s, "F-Late war fighters"); };
        const Changes load = Change::LoadGrid | Change::Slots | Change::Fuel | Change::Ledger |
                             Change::Autoscripts | Change::Status;
        QTest::newRow("load") << nothing << Step([](Selector &s) { click(s, "A-Eastern Front"); })
                              << load;
        QTest::newRow("load of an aircraft set") << nothing << lateWar << load;
        QTest::newRow("load that takes out its group's folder")
            << Step([](Selector &s) { click(s, "A-Desert Air Force"); })
            << Step([](Selector &s) { click(s, "A-Eastern Front"); }) << load;
        QTest::newRow("unload of an aircraft set") << lateWar << lateWar << load;
        QTest::newRow("group filter")
            << nothing << Step([](Selector &s) { s.loadFiles().filter(2); })
            << Changes(Change::LoadGrid);
        QTest::newRow("slot filter") << lateWar << Step([](Selector &s) { s.planes().filter(5); })
                                     << (Change::Slots | Change::Skins);
        QTest::newRow("swap") << lateWar << Step([](Selector &s) { s.planes().click(1); })
                              << (Change::Slots | Change::Skins | Change::Ledger |
                                  Change::Autoscripts | Change::Status);
        QTest::newRow("fuel") << lateWar << Step([](Selector &s) { s.planes().fuelClick(3, 10); })
                              << (Change::Fuel | Change::Status);
        QTest::newRow("skin") << nothing << Step([](Selector &s) {
            s.skins().activate(1);
        }) << (Change::Skins | Change::Ledger | Change::Autoscripts | Change::Status);
        const auto options = [](const char *name, const Step &step) {
            QTest::newRow(name) << Step([](Selector &) {}) << step << Changes(Change::Options);
        };
        options("resolution", [](Selector &s) { s.options().clickResolution(0); });
        options("start on the ground", [](Selector &s) { s.options().clickOnline(1, true); });
        options("cheat check", [](Selector &s) { s.options().setCheatCheck(true); });
        options("keyboard feature", [](Selector &s) { s.features().clickOption13(1); });
        options("music", [](Selector &s) { s.music().click(1); });
        options("night", [](Selector &s) { s.options().nightSwitch(0, true); });
        QTest::newRow("check loaded files")
            << lateWar << Step([](Selector &s) { s.loadedFiles().check(); })
            << Changes(Change::Ledger);
        QTest::newRow("autoscript shown")
            << nothing << Step([](Selector &s) { s.autoscripts().show(1); })
            << Changes(Change::Autoscripts);
        QTest::newRow("autoscript saved") << nothing << Step([](Selector &s) {
            s.autoscripts().Text1 = QStringLiteral("Mine");
            s.autoscripts().save();
        }) << Changes(Change::Autoscripts);
        QTest::newRow("autoscript run")
            << Step([](Selector &s) { s.autoscripts().show(1); })
            << Step([](Selector &s) { s.autoscripts().run(); }) << (load | Change::Skins);
        QTest::newRow("reset") << lateWar << Step([](Selector &s) { s.completeReset().run(); })
                               << Changes(Change::Everything);
        QTest::newRow("folder copied in, read again") << nothing << Step([](Selector &s) {
            QVERIFY(QDir(s.ModFolder()).mkdir(QStringLiteral("A-Pacific")));
            s.rescan();
        }) << Changes(Change::LoadGrid);
        QTest::newRow("nothing new to read")
            << nothing << Step([](Selector &s) { s.rescan(); }) << Changes();
    }

    void everyOperationTellsWhatItChanges() {
        QFETCH(Step, before);
        QFETCH(Step, operation);
        QFETCH(Changes, told);
        TestFolders f(TestFolders::Demo);
        ScriptedPrompt prompt;
        Selector s(Folders{f.game(), f.vek(), QStringLiteral("None")}, prompt);
        s.load();
        before(s);
        prompt.shown.clear(); // the first start's notice of what it swept
        const Shown was(s);
        Changes heard;
        connect(&s, &Selector::changed, this, [&heard](Changes c) { heard |= c; });
        operation(s);
        const Changes changed = was.differences(Shown(s));
        // Each row really changes what it is about, so a silent operation would be caught.
        QVERIFY2(told == Changes() || changed != Changes(), "the operation changed nothing");
        QCOMPARE(changed & ~heard, Changes());
        QCOMPARE(heard, told);
        QVERIFY2(prompt.shown.isEmpty(), qPrintable(prompt.shown.value(0).text));
    }
};

QTEST_GUILESS_MAIN(TestChanges)
#include "tst_changes.moc"
